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

    // Converts all of input. On a bad sequence returns false and sets badOffset.
    bool convert(std::string_view input, std::string& output, std::size_t& badOffset) {
        output.clear();
        output.resize(input.size() * 2 + 16);
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
                output.resize(output.size() * 2);
                continue;
            }
            // EILSEQ (invalid sequence) or EINVAL (sequence cut off at the end).
            badOffset = input.size() - inLeft;
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

}  // namespace

std::string cp932ToUtf8(std::string_view bytes, const std::string& fileNameForErrors) {
    Converter converter("UTF-8", "CP932");
    std::string out;
    std::size_t bad = 0;
    if (!converter.convert(bytes, out, bad)) {
        throw TextEncodingError("ファイル「" + fileNameForErrors + "」を CP932 (Shift-JIS) として読み取れません（オフセット " +
                                    std::to_string(bad) + " のバイト " +
                                    hexByte(static_cast<unsigned char>(bytes[bad])) + "）。",
                                fileNameForErrors, bad);
    }
    return out;
}

std::string utf8ToCp932(std::string_view utf8, const std::string& fileNameForErrors) {
    Converter converter("CP932", "UTF-8");
    std::string out;
    std::size_t bad = 0;
    if (!converter.convert(utf8, out, bad)) {
        throw TextEncodingError("ファイル「" + fileNameForErrors + "」に CP932 (Shift-JIS) で書けない文字があります（オフセット " +
                                    std::to_string(bad) + "）。",
                                fileNameForErrors, bad);
    }
    return out;
}

}  // namespace tambor
