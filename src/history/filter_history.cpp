#include "history/filter_history.h"

#include <bit>
#include <cstdio>

#include "core/japanese_count.h"
#include "history/draw_masks.h"
#include "history/history_store.h"

namespace tambor {

FilterHistory::FilterHistory(GameMode mode, const std::vector<std::uint64_t>& drawMasks) : mode_(mode) {
    const int k = rulesFor(mode).pickCount;
    const CombinationFilter filter(mode, defaultFilterSettings(mode), 0);
    values_.reserve(drawMasks.size());
    for (std::size_t i = 0; i < drawMasks.size(); ++i) {
        const std::uint64_t mask = drawMasks[i];
        if (std::popcount(mask) != k) continue;
        const FilterStatistics s = filter.statistics(mask);
        std::array<std::int16_t, kFilterConditionCount> v{};
        for (std::size_t c = 0; c < v.size(); ++c) v[c] = static_cast<std::int16_t>(s[c]);
        const bool hasPrevious = i > 0 && std::popcount(drawMasks[i - 1]) == k;
        v[static_cast<std::size_t>(FilterCondition::Previous)] =
            hasPrevious ? static_cast<std::int16_t>(std::popcount(mask & drawMasks[i - 1])) : kNoPrevious;
        values_.push_back(v);
    }
}

FilterHistory::FilterHistory(const HistoryStore& history) : FilterHistory(history.mode(), historyDrawMasks(history)) {}

int FilterHistory::passing(FilterCondition condition, const FilterRange& range) const {
    const int c = static_cast<int>(condition);
    int count = 0;
    for (const auto& v : values_) count += inRange(v, c, range) ? 1 : 0;
    return count;
}

int FilterHistory::passingAll(const FilterSettings& settings) const { return passRates(settings).all; }

FilterPassRates FilterHistory::passRates(const FilterSettings& settings) const {
    FilterPassRates rates;
    rates.draws = drawCount();
    for (const auto& v : values_) {
        bool all = true;
        for (int c = 0; c < kFilterConditionCount; ++c) {
            const FilterRange& r = settings.ranges[static_cast<std::size_t>(c)];
            const bool in = inRange(v, c, r);
            rates.passing[static_cast<std::size_t>(c)] += in ? 1 : 0;
            all = all && (in || !r.enabled);
        }
        rates.all += all ? 1 : 0;
    }
    return rates;
}

std::vector<int> FilterHistory::histogram(FilterCondition condition) const {
    const FilterBounds bounds = filterBounds(mode_, condition);
    std::vector<int> counts(static_cast<std::size_t>(bounds.max - bounds.min + 1), 0);
    const auto c = static_cast<std::size_t>(condition);
    for (const auto& v : values_) {
        const int value = v[c];
        if (value >= bounds.min && value <= bounds.max) ++counts[static_cast<std::size_t>(value - bounds.min)];
    }
    return counts;
}

std::string passRateLine(int passing, int draws) {
    char percent[32];
    std::snprintf(percent, sizeof percent, "%.1f", draws > 0 ? 100.0 * passing / draws : 0.0);
    return std::string("過去の当選番号の ") + percent + "% (" + FormatJapaneseCount(passing) + " / 全 " + FormatJapaneseCount(draws) +
           " 回) がこの条件を満たします";
}

}  // namespace tambor
