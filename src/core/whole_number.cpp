#include "core/whole_number.h"

namespace tambor {

std::optional<std::int64_t> parseWholeNumberIn(std::string_view text, std::int64_t min, std::int64_t max,
                                               WholeNumberSyntax syntax) {
    std::size_t i = 0;
    while (i < text.size() && ((syntax.leadingBlanks && text[i] == ' ') || (syntax.leadingTabs && text[i] == '\t'))) ++i;
    bool negative = false;
    if (syntax.sign && i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    // Digits beyond this many can only be out of any 64-bit range; they are
    // still checked to be digits.
    constexpr std::uint64_t kCap = 1'000'000'000'000'000'000ULL;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return std::nullopt;
        if (magnitude < kCap) magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
    }
    const bool tooLarge = magnitude >= kCap;
    const std::int64_t value = tooLarge ? (negative ? std::numeric_limits<std::int64_t>::min()
                                                    : std::numeric_limits<std::int64_t>::max())
                                        : (negative ? -static_cast<std::int64_t>(magnitude)
                                                    : static_cast<std::int64_t>(magnitude));
    if (value < min) return syntax.saturate ? std::optional<std::int64_t>(min) : std::nullopt;
    if (value > max) return syntax.saturate ? std::optional<std::int64_t>(max) : std::nullopt;
    return value;
}

}  // namespace tambor
