#pragma once
// The combination index written as a sum of one term per number, so that
// the generators can rank a combination held as a bit mask of its numbers
// (or one that differs from a known one in a single number) with a handful
// of table look-ups and no sorting:
//   index = C(N, K) - 1 - sum over positions p (0-based, ascending) of
//           C(N - c_p, K - p).
// It gives exactly RankCombination's lexicographic index.

#include <array>
#include <bit>
#include <cstdint>

#include "core/combination.h"

namespace tambor {

class AdditiveRank {
public:
    explicit AdditiveRank(GameMode mode);

    GameMode mode() const { return mode_; }
    int pickCount() const { return k_; }
    int maxNumber() const { return n_; }

    // The term of number v (1..N) at sorted position p (0..K).
    std::int32_t term(int position, int number) const {
        return terms_[static_cast<std::size_t>(position)][static_cast<std::size_t>(number)];
    }
    CombinationIndex fromTermSum(std::int32_t sum) const { return last_ - sum; }

    // Index of the combination whose numbers are the set bits of mask
    // (bit v - 1 for number v); the mask must hold exactly K numbers.
    CombinationIndex rankMask(std::uint64_t mask) const {
        std::int32_t sum = 0;
        int position = 0;
        while (mask != 0) {
            sum += term(position++, std::countr_zero(mask) + 1);
            mask &= mask - 1;
        }
        return last_ - sum;
    }
    CombinationIndex rank(const Combination& c) const {
        std::int32_t sum = 0;
        for (int p = 0; p < c.size; ++p) sum += term(p, c[p]);
        return last_ - sum;
    }

private:
    GameMode mode_;
    int n_;
    int k_;
    CombinationIndex last_;
    // [position 0..K][number 0..43]; position K is all zeros so that a
    // caller may look one position past the end.
    std::array<std::array<std::int32_t, kBoardSize + 1>, kMaxPick + 1> terms_{};
};

}  // namespace tambor
