#include "history/grade_candidates.h"

#include <array>
#include <bit>

#include "core/game.h"

namespace tambor {

GradePlan planFor(GameMode mode, int grade) {
    const GradeRule& rule = rulesFor(mode).grades[static_cast<std::size_t>(grade - 1)];
    return {rule.mainPick, rule.pool, rule.poolPick};
}

std::vector<unsigned> bonusSubsets(int bonusCount, int poolPick) {
    std::vector<unsigned> subsets;
    for (unsigned s = 1; s < (1u << bonusCount); ++s)
        if (std::popcount(s) <= poolPick) subsets.push_back(s);
    return subsets;
}

std::vector<std::uint8_t> positionSubsets(int n, int pick) {
    std::vector<std::uint8_t> out;
    if (pick <= 0 || pick > n) return out;
    std::array<int, kMaxPick> pos{};
    for (int i = 0; i < pick; ++i) pos[static_cast<std::size_t>(i)] = i;
    for (;;) {
        for (int i = 0; i < pick; ++i) out.push_back(static_cast<std::uint8_t>(pos[static_cast<std::size_t>(i)]));
        int i = pick - 1;
        while (i >= 0 && pos[static_cast<std::size_t>(i)] == n - pick + i) --i;
        if (i < 0) break;
        ++pos[static_cast<std::size_t>(i)];
        for (int j = i + 1; j < pick; ++j) pos[static_cast<std::size_t>(j)] = pos[static_cast<std::size_t>(j - 1)] + 1;
    }
    return out;
}

}  // namespace tambor
