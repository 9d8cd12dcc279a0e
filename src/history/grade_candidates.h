#pragma once

// How the winning candidates of one grade are enumerated, shared by the
// prize check (which lists them) and the backtest (which only counts the
// listed ones): a candidate is a subset of the draw's main numbers
// completed by a subset of a pool of other numbers.

#include <cstdint>
#include <vector>

#include "core/combination_rank.h"
#include "core/game.h"

namespace tambor {

// The numbers that complete a subset of the main numbers into a candidate
// are those of the grade's Pool (core/game.h).
struct GradePlan {
    int mainPick;  // how many main numbers the candidate holds
    Pool pool;
    int poolPick;  // how many numbers it takes from the pool
};

// The plan of grade 1..gradeCount of the game, from the game table.
GradePlan planFor(GameMode mode, int grade);

// Pool::WithBonus is enumerated as parts with a sorted pool each: for every
// non-empty subset S of the bonus numbers (bit i for bonus i), S joins the
// main part and poolPick - |S| numbers come from the others. The subsets in
// enumeration order.
std::vector<unsigned> bonusSubsets(int bonusCount, int poolPick);

// Every pick-subset of 0..n-1 by positions, in lexicographic order, stored
// flat (pick positions per subset). Empty when pick is 0 or above n.
std::vector<std::uint8_t> positionSubsets(int n, int pick);

// A candidate's index is a sum of one rank term per number. With the main
// part w (mainPick numbers, ascending) fixed, this is what pool number v
// adds as the j-th (0-based) pool number of the candidate: its own term at
// its merged position, plus the shift it causes to the main numbers above
// it (each moves one position up).
inline std::int32_t poolNumberTerm(const RankTable& rank, const int* w, int mainPick, int j, int v) {
    int below = 0;
    std::int32_t t = 0;
    for (int a = 0; a < mainPick; ++a) {
        if (w[a] < v) {
            ++below;
        } else {
            t += rank.term(a + j + 1, w[a]) - rank.term(a + j, w[a]);
        }
    }
    return t + rank.term(j + below, v);
}

}  // namespace tambor
