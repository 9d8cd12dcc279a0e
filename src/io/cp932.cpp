#include "io/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tambor {

namespace {

// Owns one iconv descriptor for the duration of a conversion.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("文字コード変換を準備できません (") + from + " → " + to +
                                     "): " + std::strerror(errno));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of input into output, sized first to initialSize (an
    // upper bound of the result, so a large file is not held twice over).
    // On a bad sequence returns false and sets badOffset.
    bool convert(std::string_view input, std::string& output, std::size_t initialSize, std::size_t& badOffset) {
        output.clear();
        output.resize(initialSize);
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        std::size_t written = 0;
        while (inLeft > 0) {
            char* out = output.data() + written;
            std::size_t outLeft = output.size() - written;
            const std::size_t rc = iconv(cd_, &in, &inLeft, &out, &outLeft);
            written = output.size() - outLeft;
            if (rc != static_cast<std::size_t>(-1)) continue;
            if (errno == E2BIG) {
                output.resize(output.size() + output.size() / 2 + 16);
                continue;
            }
            // EILSEQ (invalid sequence) or EINVAL (sequence cut off at the end).
            badOffset = input.size() - inLeft;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // ready for the next input
            return false;
        }
        output.resize(written);
        return true;
    }

private:
    iconv_t cd_;
};

std::string hexByte(unsigned char b) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", b);
    return buf;
}

bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// An upper bound of the UTF-8 size of cp932 bytes: ASCII stays one byte,
// every other character (one or two bytes) is at most three in UTF-8.
std::size_t utf8SizeBound(std::string_view cp932) {
    std::size_t size = 16;
    for (std::size_t i = 0; i < cp932.size(); ++i) {
        const auto c = static_cast<unsigned char>(cp932[i]);
        if (c < 0x80) {
            ++size;
            continue;
        }
        size += 3;
        if (isCp932LeadByte(c)) ++i;
    }
    return size;
}

bool hasNonAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

// Calls line(text, number) for each line ending at CR, LF or CR LF, as
// splitLines cuts them. Neither byte occurs inside a cp932 or UTF-8
// character, so the raw bytes can be cut before decoding.
template <typename Fn>
void forEachRawLine(std::string_view bytes, Fn&& line) {
    std::size_t start = 0;
    std::size_t number = 0;
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') continue;
        line(bytes.substr(start, i - start), ++number);
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) line(bytes.substr(start), ++number);
}

std::string cp932Error(const std::string& fileName, std::string_view bytes, std::size_t bad) {
    return "ファイル「" + fileName + "」を CP932 (Shift-JIS) として読み取れません（オフセット " + std::to_string(bad) +
           " のバイト " + hexByte(static_cast<unsigned char>(bytes[bad])) + "）。";
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes, const std::string& fileNameForErrors) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    std::size_t bad = 0;
    if (!converter.convert(bytes, out, utf8SizeBound(bytes), bad))
        throw TextEncodingError(cp932Error(fileNameForErrors, bytes, bad), fileNameForErrors, bad);
    return out;
}

std::string utf8ToCp932(std::string_view utf8, const std::string& fileNameForErrors) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    std::size_t bad = 0;
    // No character takes more bytes in cp932 than in UTF-8.
    if (!converter.convert(utf8, out, utf8.size() + 16, bad)) {
        throw TextEncodingError("ファイル「" + fileNameForErrors + "」に CP932 (Shift-JIS) で書けない文字があります（オフセット " +
                                    std::to_string(bad) + "）。",
                                fileNameForErrors, bad);
    }
    return out;
}

std::size_t validUtf8Prefix(std::string_view bytes) {
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        unsigned char low = 0x80;  // the range of the second byte
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0) low = 0xA0;   // no overlong forms
            if (c == 0xED) high = 0x9F;  // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;  // nothing above U+10FFFF
        } else {
            return i;
        }
        if (i + length > n) return i;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return i;
        for (std::size_t k = 2; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if (next < 0x80 || next > 0xBF) return i;
        }
        i += length;
    }
    return n;
}

namespace {

[[noreturn]] void failNotText(const std::string& fileName, std::size_t offset) {
    throw TextEncodingError("ファイル「" + fileName +
                                "」はテキストとして読み取れません（オフセット " + std::to_string(offset) +
                                " のバイト 0x00）。テキストファイルでないか、BOM のない UTF-16 など読み取れない文字コードです。",
                            fileName, offset);
}

std::string utf16ToUtf8(std::string_view bytes, bool littleEndian, const std::string& fileName) {
    const std::size_t bom = kUtf16LeBom.size();
    const std::string_view units = bytes.substr(bom);
    // A NUL character is two zero bytes at an even offset.
    for (std::size_t i = 0; i + 1 < units.size(); i += 2)
        if (units[i] == '\0' && units[i + 1] == '\0') failNotText(fileName, bom + i);
    Converter converter("UTF-8", littleEndian ? "UTF-16LE" : "UTF-16BE");
    std::string out;
    std::size_t bad = 0;
    // A two-byte unit is at most three bytes in UTF-8.
    if (!converter.convert(units, out, units.size() / 2 * 3 + 16, bad))
        throw TextEncodingError("ファイル「" + fileName + "」を UTF-16 として読み取れません（オフセット " +
                                    std::to_string(bom + bad) + "）。",
                                fileName, bom + bad);
    return out;
}

}  // namespace

std::string textBytesOf(std::string bytes, const std::string& fileNameForErrors) {
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom))
        return utf16ToUtf8(bytes, bytes.starts_with(kUtf16LeBom), fileNameForErrors);
    if (const void* nul = std::memchr(bytes.data(), '\0', bytes.size()))
        failNotText(fileNameForErrors, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
    return bytes;
}

TextEncoding detectTextEncoding(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8;
    std::size_t utf8Lines = 0;
    std::size_t otherLines = 0;
    forEachRawLine(bytes, [&](std::string_view line, std::size_t) {
        if (!hasNonAscii(line)) return;
        if (validUtf8Prefix(line) == line.size())
            ++utf8Lines;
        else
            ++otherLines;
    });
    return utf8Lines > otherLines ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string decodeText(std::string bytes, const std::string& fileNameForErrors) {
    if (bytes.starts_with(kUtf16LeBom) || bytes.starts_with(kUtf16BeBom))
        return textBytesOf(std::move(bytes), fileNameForErrors);
    bytes = textBytesOf(std::move(bytes), fileNameForErrors);
    if (detectTextEncoding(bytes) == TextEncoding::Cp932) return cp932ToUtf8(bytes, fileNameForErrors);
    const std::size_t bom = bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
    const std::size_t valid = bom + validUtf8Prefix(std::string_view(bytes).substr(bom));
    if (valid != bytes.size())
        throw TextEncodingError("ファイル「" + fileNameForErrors + "」を UTF-8 として読み取れません（オフセット " +
                                    std::to_string(valid) + " のバイト " +
                                    hexByte(static_cast<unsigned char>(bytes[valid])) + "）。",
                                fileNameForErrors, valid);
    bytes.erase(0, bom);  // in place: a large file is not copied
    return bytes;
}

std::vector<RawLine> decodeLinesKeepingRaw(std::string_view bytes) {
    std::vector<RawLine> result;
    const bool utf8First = detectTextEncoding(bytes) == TextEncoding::Utf8;
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    Converter converter("UTF-8", "CP932");
    std::string decoded;
    auto asUtf8 = [&](RawLine& line) {
        if (validUtf8Prefix(line.bytes) != line.bytes.size()) return false;
        line.text.assign(line.bytes);
        return true;
    };
    auto asCp932 = [&](RawLine& line) {
        std::size_t bad = 0;
        if (!converter.convert(line.bytes, decoded, utf8SizeBound(line.bytes), bad)) return false;
        line.text = decoded;
        return true;
    };
    // A line that is not valid in the file's encoding may still be valid in
    // the other one (a line added with another editor).
    forEachRawLine(bytes, [&](std::string_view bytesOfLine, std::size_t) {
        RawLine& line = result.emplace_back(RawLine{bytesOfLine, {}, false});
        line.decoded = utf8First ? asUtf8(line) || asCp932(line) : asCp932(line) || asUtf8(line);
    });
    return result;
}

DecodedLines decodeLinesSkippingBad(std::string_view bytes) {
    DecodedLines result;
    std::size_t number = 0;
    for (RawLine& line : decodeLinesKeepingRaw(bytes)) {
        ++number;
        if (line.decoded)
            result.lines.push_back(std::move(line.text));
        else
            result.skipped.push_back(number);
    }
    return result;
}

}  // namespace tambor
