#include "generate/additive_rank.h"

namespace tambor {
namespace {

std::int32_t exactBinomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) return 0;
    std::int64_t r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - i + 1) / i;
    return static_cast<std::int32_t>(r);
}

}  // namespace

AdditiveRank::AdditiveRank(GameMode mode) : mode_(mode) {
    const GameRules rules = rulesFor(mode);
    n_ = rules.maxNumber;
    k_ = rules.pickCount;
    last_ = rules.combinationCount - 1;
    for (int p = 0; p < k_; ++p)
        for (int v = 1; v <= n_; ++v)
            terms_[static_cast<std::size_t>(p)][static_cast<std::size_t>(v)] = exactBinomial(n_ - v, k_ - p);
}

}  // namespace tambor
