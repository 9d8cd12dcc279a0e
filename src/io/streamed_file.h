#pragma once
// A file written piece by piece, for output too large to hold whole in
// memory (a PDF of every card of a list), with the safety of
// writeFileBytesAtomic.

#include <filesystem>
#include <functional>
#include <string_view>

#include "core/progress.h"

namespace tambor {

// Receives the file's bytes, piece after piece. Throws FileError when they
// cannot be written.
using FileWriter = std::function<void(std::string_view bytes)>;

// Writes the file that produce makes, under writeFileBytesAtomic's rules
// (a temporary in the target's folder renamed over it when complete, links
// followed, non-regular and read-only targets refused, owner and
// permissions kept). produce passes every piece to write in order and
// answers false to stop: the temporary is removed, the target is left as
// it was and false is returned; an exception from produce removes the
// temporary too. progress is asked once more (100) just before the rename,
// the last moment a stop can still leave the old file. Throws FileError.
bool writeFileStreamAtomic(const std::filesystem::path& path,
                           const std::function<bool(const FileWriter& write)>& produce,
                           const ProgressCallback& progress = {});

}  // namespace tambor
