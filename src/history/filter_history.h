#pragma once
// How the filter conditions would have treated every past draw: the eight
// statistics of each draw's main numbers are taken once per history, so
// the pass rates of any ranges are a count over small arrays (well under a
// millisecond for thousands of draws).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "generate/combination_filter.h"

namespace tambor {

class HistoryStore;

struct FilterPassRates {
    std::array<int, kFilterConditionCount> passing{};  // by condition, its range whether on or off
    int all = 0;    // draws passing every switched-on condition (every draw when none is on)
    int draws = 0;  // the draws counted
};

class FilterHistory {
public:
    FilterHistory() = default;
    // drawMasks in draw order (historyDrawMasks). Draws without a whole set
    // of main numbers are left out; a draw's previous is the draw just
    // before it, and the first draw (or one after a draw left out) has none
    // and passes every previous range.
    FilterHistory(GameMode mode, const std::vector<std::uint64_t>& drawMasks);
    // The current game's draws of a history.
    explicit FilterHistory(const HistoryStore& history);

    GameMode mode() const { return mode_; }
    int drawCount() const { return static_cast<int>(values_.size()); }

    // Draws whose statistic lies in range (its switch ignored).
    int passing(FilterCondition condition, const FilterRange& range) const;
    // Draws passing every switched-on condition of settings.
    int passingAll(const FilterSettings& settings) const;
    FilterPassRates passRates(const FilterSettings& settings) const;
    // Draws by value of the statistic: [value - filterBounds(mode, c).min].
    // The previous counts leave out the draws without a previous one.
    std::vector<int> histogram(FilterCondition condition) const;

private:
    static constexpr std::int16_t kNoPrevious = -1;
    bool inRange(const std::array<std::int16_t, kFilterConditionCount>& v, int c, const FilterRange& r) const {
        const int value = v[static_cast<std::size_t>(c)];
        return (c == static_cast<int>(FilterCondition::Previous) && value == kNoPrevious) || r.contains(value);
    }

    GameMode mode_ = GameMode::MiniLoto;
    std::vector<std::array<std::int16_t, kFilterConditionCount>> values_;
};

// "過去の当選番号の 72.4% (1547 / 全 2137 回) がこの条件を満たします"
std::string passRateLine(int passing, int draws);

}  // namespace tambor
