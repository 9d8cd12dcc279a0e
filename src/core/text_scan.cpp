#include "core/text_scan.h"

#include <algorithm>

namespace tambor {
namespace {

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }
bool isDelimiter(char ch) { return ch == ',' || ch == ' '; }

}  // namespace

void scanCombinations(GameMode mode, std::string_view text,
                      const std::function<void(const Combination&)>& found) {
    const GameRules rules = rulesFor(mode);
    Combination pending;
    const std::size_t length = text.size();
    std::size_t pos = 0;
    while (pos < length) {
        if (!isDigit(text[pos])) {
            ++pos;
            continue;
        }
        // A run that overflows 32 bits counts as 0, which drops it below.
        std::int64_t value = 0;
        bool overflow = false;
        while (pos < length && isDigit(text[pos])) {
            if (!overflow) {
                value = value * 10 + (text[pos] - '0');
                if (value > 2147483647) overflow = true;
            }
            ++pos;
        }
        if (overflow) value = 0;

        if (value <= 0 || value > rules.maxNumber) {
            pending.size = 0;
        } else {
            const int n = static_cast<int>(value);
            if (std::find(pending.begin(), pending.end(), n) != pending.end()) pending.size = 0;
            pending.numbers[static_cast<std::size_t>(pending.size++)] = n;
            if (pending.size == rules.pickCount) {
                sortCombination(pending);
                found(pending);
                pending = Combination{};
            }
        }
        // A comma or blank keeps the pending numbers; a digit first drops them.
        while (pos < length) {
            if (isDigit(text[pos])) {
                pending.size = 0;
                break;
            }
            if (isDelimiter(text[pos])) break;
            ++pos;
        }
    }
}

bool isWholeCombinationText(GameMode mode, std::string_view text) {
    std::size_t numbers = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos)
        if (isDigit(text[pos]) && (pos == 0 || !isDigit(text[pos - 1]))) ++numbers;
    if (numbers == 0) return true;
    std::size_t combinations = 0;
    scanCombinations(mode, text, [&](const Combination&) { ++combinations; });
    return combinations * static_cast<std::size_t>(rulesFor(mode).pickCount) == numbers;
}

}  // namespace tambor
