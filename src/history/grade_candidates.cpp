#include "history/grade_candidates.h"

#include <array>

#include "core/game.h"

namespace tambor {

GradePlan planFor(int pickCount, int grade) {
    switch (grade) {
    case 1: return {pickCount, Pool::None, 0};
    case 2: return {pickCount - 1, Pool::Bonus, 1};
    case 3: return {pickCount - 1, Pool::Others, 1};
    case 4: return {pickCount - 2, Pool::NonMain, 2};
    default: return {pickCount - 3, Pool::NonMain, 3};
    }
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
