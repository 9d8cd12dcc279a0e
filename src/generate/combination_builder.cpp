#include "generate/combination_builder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <numeric>
#include <stdexcept>

#include "core/number_board.h"
#include "core/binomial.h"
#include "core/combination_rank.h"
#include "generate/guarantee_cover.h"

namespace tambor {
namespace {

// Enumerates the combinations of one build. A combination is held as a bit
// mask of its numbers (bit v - 1 for v), which is its sorted form; its index
// comes from the additive rank, so nothing is sorted or formatted here.
class Builder {
public:
    Builder(const BuildRequest& request, const std::vector<int>& together, CombinationList& list,
            const std::uint8_t* skip, std::uint8_t* ruledOut, const ProgressCallback& progress)
        : rank_(RankTable::of(request.game)), k_(rank_.pickCount()), together_(together), list_(list),
          skip_(skip), ruledOut_(ruledOut),
          filter_(!request.rSystem && request.filter != nullptr && request.filter->active() ? request.filter : nullptr),
          ticker_(progress, exactBinomial(static_cast<int>(together.size()),
                                          k_ - static_cast<int>(request.axis.size()))) {
        for (int n : request.axis) axisMask_ |= std::uint64_t{1} << (n - 1);
        // later_[v]: the together numbers after v in the scan order.
        std::uint64_t after = 0;
        for (auto it = together.rbegin(); it != together.rend(); ++it) {
            later_[static_cast<std::size_t>(*it)] = after;
            after |= std::uint64_t{1} << (*it - 1);
        }
    }

    void run(BuildResult& result) {
        result_ = &result;
        enumerate(k_ - std::popcount(axisMask_), 0, axisMask_);
        result.completed = !stopped_;
    }

private:
    // The free places are filled from the together list in lexicographic
    // order of the positions chosen, the first position varying slowest.
    void enumerate(int remaining, int start, std::uint64_t mask) {
        if (remaining == 0) {
            complete(rank_.rankMask(mask), mask);
            return;
        }
        if (remaining == 1) {
            fillLastPlace(start, mask);
            return;
        }
        const int last = static_cast<int>(together_.size()) - remaining;
        for (int k = start; k <= last && !stopped_; ++k)
            enumerate(remaining - 1, k + 1, mask | (std::uint64_t{1} << (together_[static_cast<std::size_t>(k)] - 1)));
    }

    // With K - 1 numbers chosen, each together number from start on
    // completes a combination. The chosen numbers' terms are summed once;
    // the new number only decides how many of them move one place up.
    void fillLastPlace(int start, std::uint64_t mask) {
        const int keptCount = k_ - 1;
        int kept[kMaxPick];
        int size = 0;
        for (std::uint64_t m = mask; m != 0; m &= m - 1) kept[size++] = std::countr_zero(m) + 1;
        std::int32_t before[kMaxPick + 1], after[kMaxPick + 1];
        before[0] = 0;
        for (int q = 0; q < keptCount; ++q) before[q + 1] = before[q] + rank_.term(q, kept[q]);
        after[keptCount] = 0;
        for (int q = keptCount - 1; q >= 0; --q) after[q] = after[q + 1] + rank_.term(q + 1, kept[q]);
        const int count = static_cast<int>(together_.size());
        for (int k = start; k < count && !stopped_; ++k) {
            const int x = together_[static_cast<std::size_t>(k)];
            const std::uint64_t bit = std::uint64_t{1} << (x - 1);
            const int q = std::popcount(mask & (bit - 1));
            complete(rank_.fromTermSum(before[q] + rank_.term(q, x) + after[q]), mask | bit);
        }
    }

    void complete(CombinationIndex index, std::uint64_t mask) {
        ++result_->enumerated;
        if (filter_ != nullptr && !filter_->passes(mask)) {
            ++result_->excluded;
        } else if ((skip_[index >> 3] >> (index & 7)) & 1) {
            ++result_->skipped;
        } else if (list_.appendIndex(index) == AddOutcome::Listed && ruledOut_ != nullptr) {
            ruleOutNeighbours(mask);
        }
        if (!ticker_.step()) stopped_ = true;
    }

    // Rules out every combination that keeps K - 1 numbers of the kept one
    // and takes another candidate in place of the dropped number. Only those
    // still to come are marked: replacing a together number by one earlier
    // in the scan order gives a combination already enumerated, and
    // replacing an axis number gives one that is never enumerated, so marks
    // on those could not change the outcome. The index of a neighbour is
    // the kept numbers' terms at their new positions plus the new number's.
    void ruleOutNeighbours(std::uint64_t mask) {
        // Locals only in the loop: the byte stores below may alias anything
        // the compiler would otherwise have to reload from memory.
        std::uint8_t* const ruledOut = ruledOut_;
        const RankTable& rank = rank_;
        const int k = k_;
        const int keptCount = k - 1;
        int c[kMaxPick];
        int size = 0;
        for (std::uint64_t m = mask; m != 0; m &= m - 1) c[size++] = std::countr_zero(m) + 1;
        std::int64_t marks = 0;
        for (int drop = 0; drop < k; ++drop) {
            if ((axisMask_ >> (c[drop] - 1)) & 1) continue;
            std::uint64_t replacements = later_[static_cast<std::size_t>(c[drop])] & ~mask;
            if (replacements == 0) continue;
            int kept[kMaxPick + 1];
            for (int t = 0, u = 0; t < k; ++t)
                if (t != drop) kept[u++] = c[t];
            kept[keptCount] = kBoardSize + 1;  // stops the position search
            // before[q]: kept numbers below position q stay where they are;
            // after[q]: those from q on move one place up.
            std::int32_t before[kMaxPick + 1], after[kMaxPick + 1];
            before[0] = 0;
            for (int q = 0; q < keptCount; ++q) before[q + 1] = before[q] + rank.term(q, kept[q]);
            after[keptCount] = 0;
            for (int q = keptCount - 1; q >= 0; --q) after[q] = after[q + 1] + rank.term(q + 1, kept[q]);
            int q = 0;
            for (; replacements != 0; replacements &= replacements - 1) {
                const int x = std::countr_zero(replacements) + 1;
                while (kept[q] < x) ++q;
                const CombinationIndex index = rank.fromTermSum(before[q] + rank.term(q, x) + after[q]);
                ruledOut[index >> 3] = static_cast<std::uint8_t>(ruledOut[index >> 3] | (1u << (index & 7)));
                ++marks;
            }
        }
        result_->neighbourMarks += marks;
    }

    const RankTable& rank_;
    int k_;
    const std::vector<int>& together_;
    CombinationList& list_;
    const std::uint8_t* skip_;
    std::uint8_t* ruledOut_;
    const CombinationFilter* filter_;
    ProgressTicker ticker_;
    std::uint64_t axisMask_ = 0;
    std::array<std::uint64_t, kBoardSize + 1> later_{};
    BuildResult* result_ = nullptr;
    bool stopped_ = false;
};

void validate(const BuildRequest& request) {
    const GameRules rules = rulesFor(request.game);
    if (static_cast<int>(request.axis.size()) > rules.pickCount) throw std::invalid_argument("too many axis numbers");
    std::uint64_t seen = 0;
    for (const auto* numbers : {&request.axis, &request.together})
        for (int n : *numbers) {
            if (n < 1 || n > rules.maxNumber) throw std::invalid_argument("number out of range");
            const std::uint64_t bit = std::uint64_t{1} << (n - 1);
            if (seen & bit) throw std::invalid_argument("number given twice");
            seen |= bit;
        }
}

// The fewest-tickets order: the chosen set goes into the list in one step
// at the end, so a stop leaves the list as it was.
BuildResult buildFewest(const BuildRequest& request, CombinationList& list, const CombinationSet& pastWinners,
                        RandomGenerator& random, const ProgressCallback& progress) {
    const FewestCover cover =
        BuildFewestCover(request.game, request.axis, request.together, list, pastWinners, random, progress);
    BuildResult result;
    result.ran = true;
    result.completed = cover.completed;
    result.enumerated = cover.combinations;
    result.skipped = static_cast<std::size_t>(cover.pastWinners);
    result.lowerBound = cover.lowerBound;
    result.unreachable = cover.unreachable;
    if (cover.completed) {
        const std::size_t listedBefore = list.size();
        const std::size_t duplicatesBefore = list.duplicates().size();
        for (CombinationIndex index : cover.held) list.appendIndex(index);
        for (CombinationIndex index : cover.added) list.appendIndex(index);
        result.listed = list.size() - listedBefore;
        result.duplicates = list.duplicates().size() - duplicatesBefore;
        result.kept = cover.held.size() + cover.added.size();
    }
    list.setChanged(true);
    return result;
}

}  // namespace

ArrangeMode arrangeModeFromIndex(int index) {
    return index >= 0 && index < kArrangeModeCount ? static_cast<ArrangeMode>(index) : ArrangeMode::Random;
}

const char* arrangeModeText(ArrangeMode mode) {
    static constexpr std::array<const char*, kArrangeModeCount> kTexts{"乱数で並び順を決定する", "小さい順に並べる",
                                                                       "大きい順に並べる", "口数優先（少ない組数）"};
    return kTexts[static_cast<std::size_t>(arrangeModeFromIndex(static_cast<int>(mode)))];
}

BuildRequest buildRequestFromBoard(const NumberBoard& board, ArrangeMode arrange) {
    BuildRequest request;
    request.game = board.mode();
    int count = 0;
    const auto axis = board.numbersWith(Axis, count);
    request.axis.assign(axis.begin(), axis.begin() + count);
    const auto together = board.numbersWith(Together, count);
    request.together.assign(together.begin(), together.begin() + count);
    request.rSystem = board.rSystem();
    request.arrange = arrange;
    return request;
}

std::int64_t builderTotal(const BuildRequest& request) {
    const int k = rulesFor(request.game).pickCount;
    const int a = static_cast<int>(request.axis.size());
    const int t = static_cast<int>(request.together.size());
    if (a + t < k) return 0;
    return exactBinomial(t, k - a);
}

BuildResult RunCombinationBuilder(const BuildRequest& request, CombinationList& list,
                                  const CombinationSet& pastWinners, CombinationSet& scratch,
                                  RandomGenerator& random, const ProgressCallback& progress) {
    if (list.mode() != request.game) throw std::invalid_argument("list of another game");
    if (request.filter != nullptr && request.filter->mode() != request.game)
        throw std::invalid_argument("filter of another game");
    validate(request);
    BuildResult result;
    const GameRules rules = rulesFor(request.game);
    if (static_cast<int>(request.axis.size() + request.together.size()) < rules.pickCount) return result;
    const int pick = rules.pickCount - static_cast<int>(request.axis.size());
    if (request.rSystem && request.arrange == ArrangeMode::Fewest)
        return buildFewest(request, list, pastWinners, random, progress);
    if (request.rSystem && &scratch == &pastWinners) throw std::invalid_argument("scratch set is the past-winner set");

    // The scan order of 1..N decides the order of the together list.
    std::vector<int> order(static_cast<std::size_t>(rules.maxNumber));
    std::iota(order.begin(), order.end(), 1);
    if (request.rSystem) {
        if (request.arrange == ArrangeMode::Descending) {
            std::reverse(order.begin(), order.end());
        } else if (request.arrange != ArrangeMode::Ascending) {
            for (std::size_t i = 0; i < order.size(); ++i)
                std::swap(order[i], order[static_cast<std::size_t>(random.RandomBelow(rules.maxNumber))]);
        }
    }
    std::uint64_t togetherMask = 0;
    for (int n : request.together) togetherMask |= std::uint64_t{1} << (n - 1);
    std::vector<int> together;
    together.reserve(request.together.size());
    for (int n : order)
        if ((togetherMask >> (n - 1)) & 1) together.push_back(n);

    const std::uint8_t* skip = pastWinners.bytes().data();
    std::uint8_t* ruledOut = nullptr;
    if (request.rSystem) {
        // What the R system rules out is collected in a copy of the past
        // winners, so the past-winner set is the same after the build.
        scratch.bytes() = pastWinners.bytes();
        skip = ruledOut = scratch.bytes().data();
    }

    result.ran = true;
    const std::size_t listedBefore = list.size();
    const std::size_t duplicatesBefore = list.duplicates().size();
    Builder builder(request, together, list, skip, ruledOut, progress);
    builder.run(result);
    result.listed = list.size() - listedBefore;
    result.duplicates = list.duplicates().size() - duplicatesBefore;
    result.kept = static_cast<std::size_t>(result.enumerated) - result.skipped - result.excluded;
    if (request.rSystem) result.lowerBound = guaranteeLowerBound(static_cast<int>(request.together.size()), pick);
    list.setChanged(true);
    return result;
}

std::string rSystemResultLine(const BuildRequest& request, const BuildResult& result) {
    if (!request.rSystem || !result.ran || !result.completed) return {};
    return guaranteeResultLine(static_cast<std::int64_t>(result.kept), result.lowerBound);
}

}  // namespace tambor
