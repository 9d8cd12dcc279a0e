#pragma once
// Whole numbers typed into edits, stored in text files or given on the
// command line. One parser; the places that read numbers differ only in
// the syntax options below.

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace tambor {

struct WholeNumberSyntax {
    bool leadingBlanks = true;  // blanks before the number
    bool leadingTabs = false;   // tabs too (the fields of the history file)
    bool sign = true;           // an optional "+" or "-" before the digits
    bool saturate = false;      // beyond the range: the nearest end instead of nothing
};

// The whole text as a decimal integer in min..max: what the syntax allows
// before it, then digits to the end of the text. Anything else (empty text,
// trailing characters, a decimal point, a value outside the range unless
// saturating) gives nothing.
std::optional<std::int64_t> parseWholeNumberIn(std::string_view text, std::int64_t min, std::int64_t max,
                                               WholeNumberSyntax syntax = {});

// The same in 32-bit range: the edits and the settings file.
inline std::optional<int> parseWholeNumber(std::string_view text, WholeNumberSyntax syntax = {}) {
    const auto value = parseWholeNumberIn(text, std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), syntax);
    if (!value) return std::nullopt;
    return static_cast<int>(*value);
}

// A field of the history file: blanks or tabs, an optional sign and digits;
// anything else counts as 0.
inline int historyNumberOrZero(std::string_view text) {
    WholeNumberSyntax syntax;
    syntax.leadingTabs = true;
    return parseWholeNumber(text, syntax).value_or(0);
}

}  // namespace tambor
