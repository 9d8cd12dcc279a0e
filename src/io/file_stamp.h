#pragma once
// What tells one version of a file from another without reading it: which
// file it is (device and inode: a save that renames a new file over the
// old one makes another), its size and its modification time (a write in
// place). Used to notice that another program replaced a file this one
// has read.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace tambor {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path (symbolic links followed); nothing when
// there is no file there or its state cannot be read.
std::optional<FileStamp> fileStamp(const std::filesystem::path& path);

}  // namespace tambor
