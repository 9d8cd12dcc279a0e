#pragma once
// Whole numbers typed into edits or stored in text files.

#include <optional>
#include <string_view>

namespace tambor {

// A whole number in 32-bit range: optional leading blanks, an optional sign,
// then digits to the end of the text. Anything else (empty text, trailing
// characters, a decimal point, overflow) gives nothing.
inline std::optional<int> parseWholeNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace tambor
