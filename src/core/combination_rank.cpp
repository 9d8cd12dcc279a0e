#include "core/combination_rank.h"

#include "core/binomial.h"

namespace tambor {

RankTable::RankTable(GameMode mode) : mode_(mode) {
    const GameRules rules = rulesFor(mode);
    n_ = rules.maxNumber;
    k_ = rules.pickCount;
    last_ = rules.combinationCount - 1;
    for (int p = 0; p < k_; ++p)
        for (int v = 1; v <= n_; ++v)
            terms_[static_cast<std::size_t>(p)][static_cast<std::size_t>(v)] =
                static_cast<std::int32_t>(exactBinomial(n_ - v, k_ - p));
}

const RankTable& RankTable::of(GameMode mode) {
    static const std::array<RankTable, kGameCount> tables{RankTable(kAllGames[0]), RankTable(kAllGames[1]),
                                                          RankTable(kAllGames[2])};
    return tables[static_cast<std::size_t>(mode)];
}

}  // namespace tambor
