#pragma once
// Conditions on the shape of a combination (sum, odd numbers, low numbers,
// consecutive pairs, pairs with the same last digit, the fullest group of
// ten, numbers of the newest draw, largest minus smallest), each with an
// inclusive range and a switch, and their test on a combination held as a
// bit mask of its numbers (bit v - 1 for number v). Every statistic is a
// handful of popcounts over masks made once per game, never a string.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <string>

#include "core/game.h"

namespace tambor {

enum class FilterCondition : int {
    Sum = 0,
    Odd = 1,
    Low = 2,
    Consecutive = 3,
    LastDigit = 4,
    Decade = 5,
    Previous = 6,
    Spread = 7,
};
inline constexpr int kFilterConditionCount = 8;

inline FilterCondition filterConditionAt(int i) { return static_cast<FilterCondition>(i); }
// "sum", "odd", … : the command line's and the settings file's names.
const char* filterConditionName(FilterCondition condition);
// "合計", "奇数の個数", … : the window's labels.
const char* filterConditionLabel(FilterCondition condition);

// A number is "low" when it is at most this: half of MaxNumber rounded up.
int lowNumberLimit(GameMode mode);

// The values a condition's statistic can take in a game (inclusive).
struct FilterBounds {
    int min = 0;
    int max = 0;
};
FilterBounds filterBounds(GameMode mode, FilterCondition condition);

struct FilterRange {
    bool enabled = false;
    int min = 0;
    int max = 0;
    bool contains(int value) const { return value >= min && value <= max; }
    bool operator==(const FilterRange&) const = default;
};

// The eight ranges of one game. Off by default, each range the whole span
// of its statistic.
struct FilterSettings {
    std::array<FilterRange, kFilterConditionCount> ranges{};

    FilterRange& operator[](FilterCondition c) { return ranges[static_cast<std::size_t>(c)]; }
    const FilterRange& operator[](FilterCondition c) const { return ranges[static_cast<std::size_t>(c)]; }
    bool anyEnabled() const;
    bool operator==(const FilterSettings&) const = default;
};
FilterSettings defaultFilterSettings(GameMode mode);

using FilterStatistics = std::array<int, kFilterConditionCount>;

// The conditions of one game, compiled to small per-number tables;
// previousDraw is the mask of the newest draw's main numbers (0 when there
// is none: every combination then holds 0 of them).
class CombinationFilter {
public:
    CombinationFilter(GameMode mode, const FilterSettings& settings, std::uint64_t previousDraw);

    GameMode mode() const { return mode_; }
    const FilterSettings& settings() const { return settings_; }
    // Whether any condition is switched on; a filter without one passes
    // everything.
    bool active() const { return active_; }

    // All eight statistics of the combination whose numbers are the set
    // bits of mask (bit v - 1 for v), in one walk over its numbers.
    FilterStatistics statistics(std::uint64_t mask) const;
    int statistic(FilterCondition condition, std::uint64_t mask) const {
        return statistics(mask)[static_cast<std::size_t>(condition)];
    }
    // True when every switched-on condition holds.
    bool passes(std::uint64_t mask) const;

private:
    // What one number adds: its value, whether it is odd, low or in the
    // previous draw (packed in 16-bit fields of counts), and where its
    // counters sit in the packed words of four-bit counters by last digit
    // and by group of ten.
    struct NumberTerms {
        std::uint64_t counts = 0;
        std::uint8_t digitShift = 0;
        std::uint8_t decadeShift = 0;
    };
    static constexpr int kOddField = 16;
    static constexpr int kLowField = 32;
    static constexpr int kPreviousField = 48;

    GameMode mode_;
    FilterSettings settings_;
    bool active_ = false;
    std::array<NumberTerms, 64> terms_{};
    // Each condition's range as low and span; an unchecked one lets every
    // value through, so passes() tests all eight without a branch.
    std::array<std::uint32_t, kFilterConditionCount> low_{};
    std::array<std::uint32_t, kFilterConditionCount> span_{};
};

inline FilterStatistics CombinationFilter::statistics(std::uint64_t mask) const {
    FilterStatistics s{};
    if (mask == 0) return s;
    std::uint64_t counts = 0;
    std::uint64_t digits = 0;
    std::uint32_t decades = 0;
    int sameDigitPairs = 0;
    int consecutive = 0;
    for (std::uint64_t m = mask; m != 0; m &= m - 1) {
        const int bit = std::countr_zero(m);
        const NumberTerms& t = terms_[static_cast<std::size_t>(bit)];
        counts += t.counts;
        // Each number pairs with every earlier one of its last digit.
        sameDigitPairs += static_cast<int>((digits >> t.digitShift) & 15u);
        digits += std::uint64_t{1} << t.digitShift;
        decades += 1u << t.decadeShift;
        consecutive += static_cast<int>((mask >> bit >> 1) & 1u);
    }
    int fullestDecade = 0;
    for (int shift = 0; shift < 20; shift += 4) fullestDecade = std::max(fullestDecade, static_cast<int>((decades >> shift) & 15u));
    s[0] = static_cast<int>(counts & 0xFFFF);
    s[1] = static_cast<int>((counts >> kOddField) & 0xFFFF);
    s[2] = static_cast<int>((counts >> kLowField) & 0xFFFF);
    s[3] = consecutive;
    s[4] = sameDigitPairs;
    s[5] = fullestDecade;
    s[6] = static_cast<int>((counts >> kPreviousField) & 0xFFFF);
    s[7] = 63 - std::countl_zero(mask) - std::countr_zero(mask);
    return s;
}

inline bool CombinationFilter::passes(std::uint64_t mask) const {
    if (!active_) return true;
    const FilterStatistics s = statistics(mask);
    bool ok = true;
    for (std::size_t i = 0; i < kFilterConditionCount; ++i)
        ok &= static_cast<std::uint32_t>(s[i]) - low_[i] <= span_[i];
    return ok;
}

// Mask of numbers (bit v - 1 for v).
template <typename Numbers>
std::uint64_t numberMask(const Numbers& numbers) {
    std::uint64_t mask = 0;
    for (int v : numbers)
        if (v >= 1 && v <= 64) mask |= std::uint64_t{1} << (v - 1);
    return mask;
}

}  // namespace tambor
