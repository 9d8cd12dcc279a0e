#pragma once
// The guarantee of a reduced set of tickets: every combination of the
// candidate numbers shares at least K - 1 numbers with some ticket, so when
// the draw's main numbers are all candidates, some ticket holds at least
// K - 1 of them. This file builds a small set with that guarantee (a
// max-gain greedy followed by a pass that drops redundant tickets), checks
// the guarantee of any list, and gives the proven least number of tickets.
//
// The combinations covered are those of the candidates: every axis number
// and k = K - A of the together numbers. They are indexed 0..C(T, k) - 1 in
// lexicographic order of the together numbers, independently of the game's
// index, so a build over few candidates works on a small table.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/combination_list.h"
#include "core/progress.h"
#include "generate/random.h"

namespace tambor {

// The proven least number of tickets that give the guarantee for v
// candidates and tickets of k numbers: the larger of
// ⌈C(v,k) / (1 + k(v - k))⌉ (a ticket covers itself and its k(v - k)
// neighbours) and, for k >= 2, ⌈C(v,k) / ((k - 1)(v - k + 2))⌉ (de Caen's
// bound on Turán numbers: the (k - 1)-subsets of the tickets must meet every
// k-subset). 0 when v < k.
std::int64_t guaranteeLowerBound(int candidates, int pick);

// What BuildFewestCover keeps over this many candidates (no axis numbers)
// from an empty list without past winners: every arrangement of the numbers
// gives the same count, so the count is known in advance, e.g. 79,155 for
// all 43 ロト６ numbers.
std::int32_t fewestLineCount(GameMode mode, int candidates);

// "79,342 組（下限 31,264 組）": the kept count and the bound after a build.
std::string guaranteeResultLine(std::int64_t kept, std::int64_t lowerBound);

// The result of checking a list against the candidates.
struct GuaranteeCheck {
    int candidates = 0;             // A + T
    std::int64_t combinations = 0;  // combinations of the candidates (with every axis number)
    std::size_t lines = 0;          // tickets checked
    std::int64_t uncovered = 0;     // combinations no ticket shares K - 1 numbers with
    std::int64_t lowerBound = 0;    // guaranteeLowerBound(T, K - A)
    // The first uncovered combinations in ascending order (game indices).
    std::vector<CombinationIndex> uncoveredSample;
    bool completed = true;  // false when the progress callback stopped the check
};

inline constexpr std::size_t kUncoveredSampleSize = 10;

// Checks every combination of the candidates against the tickets (game
// indices of the game; repeats allowed). Throws std::invalid_argument for a
// number out of range or repeated, a number both axis and together, or more
// than K axis numbers. Fewer than K candidates give no combinations.
GuaranteeCheck CheckGuarantee(GameMode game, const std::vector<int>& axis, const std::vector<int>& together,
                              const std::vector<CombinationIndex>& tickets, const ProgressCallback& progress = {});

// What the fewest-tickets build found.
struct FewestCover {
    std::vector<CombinationIndex> added;  // new tickets, game indices ascending
    std::vector<CombinationIndex> held;   // listed combinations of the candidates, ascending
    std::int64_t combinations = 0;        // combinations of the candidates
    std::int64_t pastWinners = 0;         // past winners among them (never chosen)
    // Combinations no ticket can reach: past winners whose every neighbour
    // is a past winner too.
    std::int64_t unreachable = 0;
    std::int64_t lowerBound = 0;
    bool completed = true;  // false when stopped: added is then empty
};

// Chooses a small set of tickets that, together with the tickets already in
// the list, covers every combination of the candidates: repeatedly the
// combination that newly covers the most uncovered ones (ties broken by
// random), then every chosen ticket the others make redundant is dropped,
// the last chosen first. Past winners are never chosen but must be covered
// like any other combination. The list is only read. Preconditions as for
// CheckGuarantee, and A + T >= K.
FewestCover BuildFewestCover(GameMode game, const std::vector<int>& axis, const std::vector<int>& together,
                             const CombinationList& list, const CombinationSet& pastWinners, RandomGenerator& random,
                             const ProgressCallback& progress = {});

}  // namespace tambor
