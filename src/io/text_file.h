#pragma once
// Whole-file reads and atomic whole-file writes of the program's text files
// (written as cp932 with every line ending CR LF; read as cp932 or UTF-8).

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/progress.h"

namespace tambor {

// A file that cannot be read or written. The message is Japanese and names
// the file and the reason (the system's in systemErrorText's wording).
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message, std::filesystem::path path = {}, std::string reason = {})
        : std::runtime_error(message), path_(std::move(path)), reason_(std::move(reason)) {}

    const std::filesystem::path& path() const { return path_; }
    // The reason alone, a short Japanese phrase (systemErrorText for a
    // system error).
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

// Largest file readFileBytes accepts by default: far above any history or
// combination file (all ロト６ combinations as text are about 128 MB).
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{512} * 1024 * 1024;

// The whole file as bytes. Throws FileError when it cannot be opened or
// read, is larger than maxBytes, or does not fit in memory, and when it is
// not a regular file (a folder, FIFO, device or socket): the file is opened
// without blocking and checked before anything is read, so a FIFO with no
// writer never holds the program.
std::string readFileBytes(const std::filesystem::path& path, std::size_t maxBytes = kMaxTextFileBytes);

// Splits text into lines ending at CR, LF or CR LF. A final line without a
// line end is kept; text ending with a line end gives no extra empty line,
// so "a\r\n\r\n" is {"a", ""} and "" is {}.
std::vector<std::string> splitLines(std::string_view text);

// Calls line() for each line of text as splitLines() cuts them (ending at
// CR, LF or CR LF, no extra empty line after a final line end), but without
// copying: memory stays flat however many lines a file holds.
void forEachLine(std::string_view text, const std::function<void(std::string_view line)>& line);

// Reads a text file as UTF-8: cp932, or UTF-8 with or without a byte-order
// mark (decodeText). Throws FileError, or TextEncodingError for a byte
// sequence that is not valid in the file's encoding.
std::string readTextFile(const std::filesystem::path& path, std::size_t maxBytes = kMaxTextFileBytes);

// readTextFile cut into lines as splitLines does.
std::vector<std::string> readTextFileLines(const std::filesystem::path& path,
                                           std::size_t maxBytes = kMaxTextFileBytes);

// Replaces the file with bytes without ever harming what is at the path:
//  - the bytes go to a temporary file in the target's folder, which is
//    renamed over the target only when complete, so the target is always
//    either the old or the new file;
//  - a symbolic link is followed: the file it points to is replaced (in its
//    own folder) and the link stays a link;
//  - a target that is not a regular file (a folder, FIFO, device or socket)
//    and a read-only one (no write permission for its owner, or none for
//    this process) is refused with a FileError that says so;
//  - an existing target's permissions and owner are kept (a save that could
//    not keep the owner is refused rather than done);
//  - the temporary has no name while it is written (O_TMPFILE): no other
//    process can see or remove it, and a save that is killed leaves
//    nothing. It is named (and locked) only once complete, for the moment
//    before the rename. Where the file system has no unnamed files it is a
//    locked hidden file from the start;
//  - the temporary's name is short whatever the target's (a long valid
//    name stays valid), and what a save killed while it had a name left is
//    removed by the next save of that file (see removeStaleTemporaries).
// progress gets 0..100 as the bytes are written; when it answers false the
// temporary is removed, the target is left alone and false is returned.
// Returns true when the file was replaced. Throws FileError.
bool writeFileBytesAtomic(const std::filesystem::path& path, std::string_view bytes,
                          const ProgressCallback& progress = {});

// Whether saves may use unnamed temporaries where the file system has them
// (the default); turned off, they always use named ones, as on a file
// system without them. For tests of that way.
void allowUnnamedTemporaries(bool allowed);

// Removes the temporaries that interrupted saves of path left in its
// folder (those of saves still running are locked and kept). Best effort:
// never throws. writeFileBytesAtomic runs it before every save; the program
// runs it for its own files at start-up.
void removeStaleTemporaries(const std::filesystem::path& path);

// Writes UTF-8 lines as cp932, every line (the last included) ending CR LF,
// through writeFileBytesAtomic. Throws TextEncodingError before
// touching the file when a line has a character cp932 cannot hold.
void writeTextFileLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace tambor
