#pragma once
// The one boundary between the program's UTF-8 text and the bytes of the
// text files it reads or writes: cp932 (Windows Shift-JIS) always when
// writing; cp932 or UTF-8 (what a modern Linux editor saves) when reading.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// The UTF-8 byte-order mark some editors put at the start of a file.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Length of the longest prefix of bytes that is well-formed UTF-8 (no
// overlong forms, no surrogates, nothing above U+10FFFF, no sequence cut
// off); bytes.size() when all of it is.
std::size_t validUtf8Prefix(std::string_view bytes);

// The byte-order marks of UTF-16, little-endian (what a Windows editor or a
// spreadsheet writes when saving as "Unicode") and big-endian.
inline constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// The bytes of a text file as the readers take them: a file that starts
// with a UTF-16 byte-order mark converted to UTF-8 (the mark removed), any
// other file unchanged. Throws TextEncodingError naming the file for UTF-16
// that is not well formed, and for a file that holds a NUL character, which
// no cp932 or UTF-8 text does: binary data, or UTF-16 or UTF-32 without a
// mark, which would otherwise be read as something else without a word.
std::string textBytesOf(std::string bytes, const std::string& fileNameForErrors);

enum class TextEncoding { Cp932, Utf8 };

// How a text file read from disk is encoded: UTF-8 when it starts with the
// byte-order mark, or when more of its lines holding non-ASCII bytes are
// well-formed UTF-8 than not; otherwise cp932. Japanese text in cp932 is
// practically never well-formed UTF-8 (its lead bytes are followed by bytes
// UTF-8 does not allow there), so a cp932 file stays cp932, and a UTF-8 file
// with one damaged line is still recognised. Pure ASCII reads the same
// either way and counts as cp932.
TextEncoding detectTextEncoding(std::string_view bytes);

// The text of a file as UTF-8: UTF-16 with a byte-order mark, otherwise the
// encoding detectTextEncoding finds (a byte-order mark removed). Throws
// TextEncodingError (offset into bytes) for a sequence that is not valid in
// that encoding, and for the input textBytesOf refuses.
std::string decodeText(std::string bytes, const std::string& fileNameForErrors);

// A file's lines decoded one by one, so that a damaged line costs only
// itself: lines as splitLines cuts them, each in the file's encoding or,
// failing that, in the other one; a line valid in neither is left out and
// its number (from 1) recorded.
struct DecodedLines {
    std::vector<std::string> lines;
    std::vector<std::size_t> skipped;
};
DecodedLines decodeLinesSkippingBad(std::string_view bytes);

// The same lines with their bytes as they are in the file (without the line
// end; a UTF-8 byte-order mark is not part of the first line): for rewriting
// some lines of a file while keeping every other one byte for byte. text is
// empty and decoded false for a line valid in neither encoding.
struct RawLine {
    std::string_view bytes;
    std::string text;
    bool decoded = false;
};
std::vector<RawLine> decodeLinesKeepingRaw(std::string_view bytes);

}  // namespace tambor
