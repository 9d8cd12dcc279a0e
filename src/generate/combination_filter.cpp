#include "generate/combination_filter.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace tambor {
namespace {

struct ConditionText {
    const char* name;
    const char* label;
};
constexpr std::array<ConditionText, kFilterConditionCount> kConditionTexts{{
    {"sum", "合計"},
    {"odd", "奇数の個数"},
    {"low", "小さい数字の個数"},
    {"consecutive", "連続数字の組"},
    {"lastdigit", "末尾が同じ数字の組"},
    {"decade", "同じ10の位の最大個数"},
    {"previous", "前回の本数字"},
    {"spread", "最大と最小の差"},
}};

// The most pairs with the same last digit K numbers of 1..N can hold: the
// numbers taken from the largest classes of a last digit first.
int mostSameDigitPairs(int n, int k) {
    std::array<int, 10> sizes{};
    for (int v = 1; v <= n; ++v) ++sizes[static_cast<std::size_t>(v % 10)];
    std::sort(sizes.begin(), sizes.end(), std::greater<>());
    int pairs = 0;
    for (int size : sizes) {
        const int take = std::min(size, k);
        pairs += take * (take - 1) / 2;
        k -= take;
    }
    return pairs;
}

}  // namespace

const char* filterConditionName(FilterCondition condition) {
    return kConditionTexts[static_cast<std::size_t>(condition)].name;
}

const char* filterConditionLabel(FilterCondition condition) {
    return kConditionTexts[static_cast<std::size_t>(condition)].label;
}

int lowNumberLimit(GameMode mode) { return (rulesFor(mode).maxNumber + 1) / 2; }

FilterBounds filterBounds(GameMode mode, FilterCondition condition) {
    const GameRules rules = rulesFor(mode);
    const int n = rules.maxNumber;
    const int k = rules.pickCount;
    switch (condition) {
    case FilterCondition::Sum: return {k * (k + 1) / 2, k * (2 * n - k + 1) / 2};
    case FilterCondition::Odd:
    case FilterCondition::Low:
    case FilterCondition::Previous: return {0, k};
    case FilterCondition::Consecutive: return {0, k - 1};
    case FilterCondition::LastDigit: return {0, mostSameDigitPairs(n, k)};
    // K numbers spread as evenly as possible over the groups of ten the
    // game has (four for 1..31 and 1..37, five for 1..43).
    case FilterCondition::Decade: {
        const int groups = std::min(n / 10, 4) + 1;
        return {(k + groups - 1) / groups, std::min(k, 9)};
    }
    case FilterCondition::Spread: return {k - 1, n - 1};
    }
    return {};
}

bool FilterSettings::anyEnabled() const {
    return std::any_of(ranges.begin(), ranges.end(), [](const FilterRange& r) { return r.enabled; });
}

FilterSettings defaultFilterSettings(GameMode mode) {
    FilterSettings settings;
    for (int i = 0; i < kFilterConditionCount; ++i) {
        const FilterBounds b = filterBounds(mode, filterConditionAt(i));
        settings.ranges[static_cast<std::size_t>(i)] = {false, b.min, b.max};
    }
    return settings;
}

CombinationFilter::CombinationFilter(GameMode mode, const FilterSettings& settings, std::uint64_t previousDraw)
    : mode_(mode), settings_(settings), active_(settings.anyEnabled()) {
    const int n = rulesFor(mode).maxNumber;
    const int low = lowNumberLimit(mode);
    for (int v = 1; v <= n; ++v) {
        NumberTerms& t = terms_[static_cast<std::size_t>(v - 1)];
        const std::uint64_t bit = std::uint64_t{1} << (v - 1);
        t.counts = static_cast<std::uint64_t>(v) | (std::uint64_t{v % 2 == 1} << kOddField) |
                   (std::uint64_t{v <= low} << kLowField) | (std::uint64_t{(previousDraw & bit) != 0} << kPreviousField);
        t.digitShift = static_cast<std::uint8_t>(4 * (v % 10));
        t.decadeShift = static_cast<std::uint8_t>(4 * std::min(v / 10, 4));
    }
    for (std::size_t i = 0; i < kFilterConditionCount; ++i) {
        const FilterRange& r = settings_.ranges[i];
        // Values and bounds are small and never negative, so the unsigned
        // difference value - low exceeds the span exactly outside the range.
        if (r.enabled && r.max >= 0 && r.min <= r.max) {
            low_[i] = static_cast<std::uint32_t>(std::max(r.min, 0));
            span_[i] = static_cast<std::uint32_t>(r.max) - low_[i];
        } else if (r.enabled) {
            // An empty range: value - low is at least 1 for every value.
            low_[i] = 0xFFFFFFFFu;
            span_[i] = 0;
        } else {
            low_[i] = 0;
            span_[i] = 0xFFFFFFFFu;
        }
    }
}

}  // namespace tambor
