#pragma once
// Whole-file reads and atomic whole-file writes of the program's text files
// (cp932, every line ending CR LF).

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tambor {

// A file that cannot be read or written. The message is Japanese and names
// the file and the system's reason.
class FileError : public std::runtime_error {
public:
    explicit FileError(const std::string& message, std::filesystem::path path = {}, std::string reason = {})
        : std::runtime_error(message), path_(std::move(path)), reason_(std::move(reason)) {}

    const std::filesystem::path& path() const { return path_; }
    // The system's reason alone (strerror text or a short Japanese phrase).
    const std::string& reason() const { return reason_; }

private:
    std::filesystem::path path_;
    std::string reason_;
};

// Largest file readFileBytes accepts by default: far above any history or
// combination file (all ロト６ combinations as text are about 128 MB).
inline constexpr std::size_t kMaxTextFileBytes = std::size_t{512} * 1024 * 1024;

// The whole file as bytes. Throws FileError when it cannot be opened or
// read, is larger than maxBytes, or does not fit in memory.
std::string readFileBytes(const std::filesystem::path& path, std::size_t maxBytes = kMaxTextFileBytes);

// Splits text into lines ending at CR, LF or CR LF. A final line without a
// line end is kept; text ending with a line end gives no extra empty line,
// so "a\r\n\r\n" is {"a", ""} and "" is {}.
std::vector<std::string> splitLines(std::string_view text);

// Reads a cp932 file as UTF-8 lines. Throws FileError, or TextEncodingError
// for a byte that is not cp932.
std::vector<std::string> readTextFileLines(const std::filesystem::path& path,
                                           std::size_t maxBytes = kMaxTextFileBytes);

// Replaces the file with bytes: writes a temporary file in the same folder
// and renames it over the target, so the target is either the old or the
// new file, never a partial one. An existing target's permissions are kept.
// Throws FileError.
void writeFileBytesAtomic(const std::filesystem::path& path, std::string_view bytes);

// Writes UTF-8 lines as cp932, every line (the last included) ending CR LF,
// atomically as writeFileBytesAtomic. Throws TextEncodingError before
// touching the file when a line has a character cp932 cannot hold.
void writeTextFileLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

}  // namespace tambor
