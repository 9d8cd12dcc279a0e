// cp932 and UTF-8 decoding of any bytes: what decodes is well-formed UTF-8,
// cp932 round-trips after one pass, the line-by-line reader accounts for
// every line, the detected encoding is the one decodeText used (UTF-16 with
// a byte-order mark aside), and no NUL character is ever taken for text.

#include <string>

#include "fuzz_support.h"
#include "io/cp932.h"
#include "io/text_file.h"

using namespace tambor;
using tambor::fuzz::require;

namespace {

bool hasLineEnd(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // cp932 → UTF-8 → cp932 → UTF-8: the text is stable after one pass (the
    // NEC and IBM duplicates of a character come back as one of them).
    try {
        const std::string utf8 = cp932ToUtf8(bytes, "fuzz");
        require(validUtf8Prefix(utf8) == utf8.size(), "cp932 decoded to invalid UTF-8");
        const std::string back = utf8ToCp932(utf8, "fuzz");
        require(cp932ToUtf8(back, "fuzz") == utf8, "cp932 round trip changed the text");
    } catch (const TextEncodingError& e) {
        require(e.offset() < size, "error offset outside the input");
    }

    // UTF-8 → cp932 of any bytes: an error or text that decodes back.
    try {
        const std::string cp932 = utf8ToCp932(bytes, "fuzz");
        require(validUtf8Prefix(bytes) == size, "invalid UTF-8 was encoded");
        (void)cp932ToUtf8(cp932, "fuzz");
    } catch (const TextEncodingError& e) {
        require(e.offset() <= size, "error offset outside the input");
    }

    const std::size_t valid = validUtf8Prefix(bytes);
    require(valid <= size, "valid prefix longer than the input");
    require(validUtf8Prefix(bytes.substr(0, valid)) == valid, "valid prefix is not valid");

    const TextEncoding encoding = detectTextEncoding(bytes);
    const bool bom = bytes.starts_with(kUtf8Bom);
    require(!bom || encoding == TextEncoding::Utf8, "a byte-order mark is UTF-8");
    try {
        const std::string text = decodeText(std::string(bytes), "fuzz");
        require(validUtf8Prefix(text) == text.size(), "decodeText gave invalid UTF-8");
        const bool utf16 = bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom);
        require(text.find('\0') == std::string::npos, "a NUL character was read as text");
        if (encoding == TextEncoding::Utf8 && !utf16)
            require(text == bytes.substr(bom ? 3 : 0), "UTF-8 text was changed");
    } catch (const TextEncodingError& e) {
        require(e.offset() < size, "error offset outside the input");
    }

    const DecodedLines decoded = decodeLinesSkippingBad(bytes);
    const std::size_t lineCount = splitLines(bytes.substr(bom ? 3 : 0)).size();
    require(decoded.lines.size() + decoded.skipped.size() == lineCount, "lines lost or invented");
    for (const std::string& line : decoded.lines) {
        require(validUtf8Prefix(line) == line.size(), "decoded line is invalid UTF-8");
        require(!hasLineEnd(line), "decoded line holds a line end");
    }
    for (std::size_t i = 0; i < decoded.skipped.size(); ++i) {
        require(decoded.skipped[i] >= 1 && decoded.skipped[i] <= lineCount, "skipped line number out of range");
        require(i == 0 || decoded.skipped[i] > decoded.skipped[i - 1], "skipped line numbers out of order");
    }
    return 0;
}
