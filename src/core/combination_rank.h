#pragma once
// The combination index as a sum of one term per number:
//   index = C(N, K) - 1 - sum over positions p (0-based, ascending) of
//           C(N - c_p, K - p).
// It is exactly the lexicographic rank, and being a sum it lets a caller
// rank a combination held as a bit mask of its numbers, or one that differs
// from a known one in a few numbers, with a handful of look-ups and no
// sorting. The ranking of single combinations, the generators and the
// prize check all use this one table.

#include <array>
#include <bit>
#include <cstdint>

#include "core/game.h"

namespace tambor {

using CombinationIndex = std::int32_t;

class RankTable {
public:
    // The table of a game, built once.
    static const RankTable& of(GameMode mode);

    GameMode mode() const { return mode_; }
    int pickCount() const { return k_; }
    int maxNumber() const { return n_; }
    // C(N, K) - 1: the index of the last combination.
    CombinationIndex lastIndex() const { return last_; }

    // The term of number v (1..43) at sorted position p (0..K); position K
    // is all zeros so that a caller may look one position past the end.
    std::int32_t term(int position, int number) const {
        return terms_[static_cast<std::size_t>(position)][static_cast<std::size_t>(number)];
    }
    CombinationIndex fromTermSum(std::int32_t sum) const { return last_ - sum; }

    // Index of the combination whose numbers are the set bits of mask (bit
    // v - 1 for number v); the mask must hold exactly K numbers of 1..N.
    CombinationIndex rankMask(std::uint64_t mask) const {
        std::int32_t sum = 0;
        int position = 0;
        while (mask != 0) {
            sum += term(position++, std::countr_zero(mask) + 1);
            mask &= mask - 1;
        }
        return last_ - sum;
    }
    // Index of ascending numbers numbers[0..count-1] (count = K).
    CombinationIndex rank(const int* numbers, int count) const {
        std::int32_t sum = 0;
        for (int p = 0; p < count; ++p) sum += term(p, numbers[p]);
        return last_ - sum;
    }

private:
    explicit RankTable(GameMode mode);

    GameMode mode_;
    int n_;
    int k_;
    CombinationIndex last_;
    // [position 0..K][number 0..43]
    std::array<std::array<std::int32_t, kBoardSize + 1>, kMaxPick + 1> terms_{};
};

}  // namespace tambor
