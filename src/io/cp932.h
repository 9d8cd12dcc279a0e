#pragma once
// The one boundary between the program's UTF-8 text and the cp932 (Windows
// Shift-JIS) bytes of every text file it reads or writes.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tambor {

// A byte sequence that cannot be converted. The message is Japanese and
// names the file and the byte offset (0-based) of the first bad byte.
class TextEncodingError : public std::runtime_error {
public:
    TextEncodingError(const std::string& message, std::string fileName, std::size_t offset)
        : std::runtime_error(message), fileName_(std::move(fileName)), offset_(offset) {}

    const std::string& fileName() const { return fileName_; }
    // Offset into the input of the conversion that failed (the cp932 bytes
    // when reading, the UTF-8 text when writing).
    std::size_t offset() const { return offset_; }

private:
    std::string fileName_;
    std::size_t offset_;
};

// cp932 bytes -> UTF-8. "\" (0x5C) and "~" (0x7E) stay themselves.
// Throws TextEncodingError for an invalid or truncated byte sequence.
std::string cp932ToUtf8(std::string_view bytes, const std::string& fileNameForErrors);

// UTF-8 -> cp932. Throws TextEncodingError for invalid UTF-8 or a character
// that cp932 cannot hold.
std::string utf8ToCp932(std::string_view utf8, const std::string& fileNameForErrors);

}  // namespace tambor
