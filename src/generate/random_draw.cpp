#include "generate/random_draw.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/number_board.h"
#include "core/whole_number.h"
#include "core/combination_rank.h"

namespace tambor {
namespace {

// No single weight may exceed this, so the sum of 43 weights always fits
// in 32 bits. The rules stay far below it on any real history.
constexpr std::int64_t kMaxWeight = 0x7FFFFFFF / kBoardSize;

std::int32_t clampWeight(std::int64_t w) {
    if (w < 0) return 0;
    if (w > kMaxWeight) return static_cast<std::int32_t>(kMaxWeight);
    return static_cast<std::int32_t>(w);
}

// trunc(x) as a weight; a value that is not finite counts as 0.
std::int32_t truncatedWeight(double x) {
    if (!std::isfinite(x) || x <= 0.0) return 0;
    if (x >= static_cast<double>(kMaxWeight)) return static_cast<std::int32_t>(kMaxWeight);
    return static_cast<std::int32_t>(x);
}

// A deviation score that is not a number (undefined statistics) counts as
// the mean score 50.
double deviationOf(const DrawHistory& h, int j) {
    const double d = h.deviationValue[static_cast<std::size_t>(j)];
    return std::isfinite(d) ? d : 50.0;
}

std::uint64_t allowedMask(const DrawRequest& request, int maxNumber) {
    std::uint64_t mask = 0;
    for (int j = 0; j < maxNumber; ++j)
        if (!request.forbidden[static_cast<std::size_t>(j)]) mask |= std::uint64_t{1} << j;
    return mask;
}

// The k-th (0-based) set bit of mask.
int nthBit(std::uint64_t mask, int k) {
    for (; k > 0; --k) mask &= mask - 1;
    return std::countr_zero(mask);
}

class Drawer {
public:
    Drawer(const DrawHistory& history, const DrawRequest& request, DrawWeights& weights,
           DrawStatistics& statistics, RandomGenerator& random)
        : h_(history), w_(weights), stats_(statistics), random_(random), n_(rulesFor(history.game).maxNumber),
          allowed_(allowedMask(request, n_)) {
        mode_ = request.mode;
        // Weights handed in are read as 0 when negative and capped; the
        // first draw replaces them all anyway.
        for (int j = 0; j < n_; ++j) {
            std::int32_t& w = w_[static_cast<std::size_t>(j + 1)];
            w = clampWeight(w);
            sum_ += w;
            if (w > 0) positive_ |= std::uint64_t{1} << j;
        }
    }

    // Draws one index. Numbers in taken are drawn by weight like any other
    // (the caller rejects them), but when no allowed number outside taken
    // has a positive weight the draw is made with equal chance among the
    // allowed numbers outside taken.
    int draw(std::uint64_t taken) {
        int i = 0;
        const std::uint64_t open = allowed_ & ~taken;
        if ((positive_ & open) != 0) {
            const std::int32_t r = random_.RandomBelow(static_cast<std::int32_t>(sum_));
            std::int64_t running = w_[1];
            while (r >= running) running += w_[static_cast<std::size_t>(++i + 1)];
        } else {
            i = nthBit(open, random_.RandomBelow(std::popcount(open)));
        }
        if ((allowed_ >> i) & 1) ++stats_.selectionCount[static_cast<std::size_t>(i)];
        recompute(i);
        return i;
    }

private:
    // Sets every weight to rule(j), 0 for forbidden numbers, and keeps the
    // sum and the mask of positive weights for the next draw.
    template <typename Rule>
    void apply(Rule rule) {
        std::int64_t sum = 0;
        std::uint64_t positive = 0;
        for (int j = 0; j < n_; ++j) {
            std::int32_t next = rule(static_cast<std::size_t>(j));
            if (!((allowed_ >> j) & 1)) next = 0;
            w_[static_cast<std::size_t>(j + 1)] = next;
            sum += next;
            positive |= static_cast<std::uint64_t>(next > 0) << j;
        }
        w_[0] = static_cast<std::int32_t>(sum);
        sum_ = sum;
        positive_ = positive;
    }

    // Rules that do not depend on the drawn number or the previous weights
    // (modes 1, 3, 4 and 5) are the same table on every draw of a run.
    void prepareConstantRule() {
        const std::int64_t draws = h_.drawCount;
        for (int j = 0; j < n_; ++j) {
            const std::size_t sj = static_cast<std::size_t>(j);
            std::int32_t v = 0;
            switch (mode_) {
            case PriorityMode::PreferHighDeviation: v = truncatedWeight(deviationOf(h_, j)); break;
            case PriorityMode::NoPreference: v = 1; break;
            case PriorityMode::PreferRare: v = clampWeight((draws - h_.hitCount[sj]) * 10 + 1); break;
            case PriorityMode::PreferLowDeviation: v = truncatedWeight(100.0 - deviationOf(h_, j)); break;
            default: break;
            }
            constant_[sj] = v;
            // Mode 6's first factor, (DrawCount - HitCount) × 10 + 1.
            rare_[sj] = std::max<std::int64_t>((draws - h_.hitCount[sj]) * 10 + 1, 0);
        }
        constantPrepared_ = true;
    }

    // arguments_[j] := the square root of argument(j) for every number. The
    // rules take roots of values that are never negative, so packed and
    // scalar roots agree to the bit. Pairs of values go into one register
    // as they are computed, so no load has to wait for two separate stores.
    template <typename Argument>
    void rootsOf(Argument argument) {
        double* out = arguments_.data();
        int j = 0;
#if defined(__SSE2__)
        for (; j + 2 <= n_; j += 2)
            _mm_storeu_pd(out + j, _mm_sqrt_pd(_mm_set_pd(argument(static_cast<std::size_t>(j + 1)),
                                                          argument(static_cast<std::size_t>(j)))));
#endif
        for (; j < n_; ++j) out[j] = std::sqrt(argument(static_cast<std::size_t>(j)));
    }

    void recompute(int i) {
        if (!constantPrepared_) prepareConstantRule();
        const auto& pair = h_.pairCount[static_cast<std::size_t>(i)];
        DrawWeights& w = w_;
        switch (mode_) {
        case PriorityMode::PreferHighDeviation:
        case PriorityMode::NoPreference:
        case PriorityMode::PreferRare:
        case PriorityMode::PreferLowDeviation:
            apply([&](std::size_t j) { return constant_[j]; });
            break;
        case PriorityMode::PreferFrequent:
            apply([&](std::size_t j) { return clampWeight(std::int64_t{pair[j]} * 10 + 1); });
            break;
        case PriorityMode::AvoidPairs:
            rootsOf([&](std::size_t j) { return static_cast<double>(rare_[j] * w[j + 1]); });
            apply([&](std::size_t j) { return truncatedWeight(arguments_[j]); });
            break;
        default:
            rootsOf([&](std::size_t j) {
                const std::int64_t p = std::max<std::int32_t>(pair[j], 0);
                return static_cast<double>(p * w[j + 1] * 10 + 1);
            });
            apply([&](std::size_t j) { return truncatedWeight(arguments_[j]); });
            break;
        }
    }

    const DrawHistory& h_;
    DrawWeights& w_;
    DrawStatistics& stats_;
    RandomGenerator& random_;
    int n_;
    PriorityMode mode_;
    std::uint64_t allowed_;
    std::int64_t sum_ = 0;
    std::uint64_t positive_ = 0;
    bool constantPrepared_ = false;
    std::array<std::int32_t, kBoardSize> constant_{};
    std::array<std::int64_t, kBoardSize> rare_{};
    std::array<double, kBoardSize> arguments_{};
};

void validate(const DrawHistory& history, const DrawRequest& request) {
    const GameRules rules = rulesFor(history.game);
    if (static_cast<int>(request.fixedNumbers.size()) > rules.pickCount)
        throw std::invalid_argument("too many fixed numbers");
    std::uint64_t fixedMask = 0;
    for (int n : request.fixedNumbers) {
        if (n < 1 || n > rules.maxNumber) throw std::invalid_argument("fixed number out of range");
        const std::uint64_t bit = std::uint64_t{1} << (n - 1);
        if (fixedMask & bit) throw std::invalid_argument("fixed number repeated");
        if (request.forbidden[static_cast<std::size_t>(n - 1)])
            throw std::invalid_argument("number both fixed and forbidden");
        fixedMask |= bit;
    }
    if (std::popcount(allowedMask(request, rules.maxNumber)) < rules.pickCount)
        throw std::invalid_argument("fewer allowed numbers than a combination holds");
}

}  // namespace

const char* priorityModeText(PriorityMode mode) {
    static constexpr std::array<const char*, kPriorityModeCount> kTexts{
        "連対しやすい数字を優先する", "偏差値が高い数字を優先する", "出やすい数字を優先する",
        "優先数字を指定しない",       "出にくい数字を優先する",     "偏差値が低い数字を優先する",
        "連対しにくい数字を優先する"};
    return kTexts[static_cast<std::size_t>(priorityModeFromIndex(static_cast<int>(mode)))];
}

PriorityMode priorityModeFromIndex(int index) {
    return index >= 0 && index < kPriorityModeCount ? static_cast<PriorityMode>(index) : PriorityMode::PreferPairs;
}

DrawWeights initialDrawWeights(const DrawHistory& history) {
    DrawWeights w{};
    const int n = rulesFor(history.game).maxNumber;
    std::int64_t sum = 0;
    for (int j = 0; j < n; ++j) {
        w[static_cast<std::size_t>(j + 1)] = clampWeight(std::int64_t{history.hitCount[static_cast<std::size_t>(j)]} + 1);
        sum += w[static_cast<std::size_t>(j + 1)];
    }
    w[0] = static_cast<std::int32_t>(sum);
    return w;
}

void takeBoardNumbers(const NumberBoard& board, DrawRequest& request) {
    int count = 0;
    const auto fixed = board.numbersWith(Fix, count);
    request.fixedNumbers.assign(fixed.begin(), fixed.begin() + count);
    request.forbidden.fill(false);
    const int maxNumber = rulesFor(board.mode()).maxNumber;
    for (int n = 1; n <= maxNumber; ++n) request.forbidden[static_cast<std::size_t>(n - 1)] = board.has(n, Disable);
}

int parseDrawCount(std::string_view text) { return std::max(parseWholeNumber(text).value_or(1), 1); }

int DrawWeightedNumber(const DrawHistory& history, const DrawRequest& request, DrawWeights& weights,
                       DrawStatistics& statistics, RandomGenerator& random) {
    Drawer drawer(history, request, weights, statistics, random);
    return drawer.draw(0);
}

DrawResult RunRandomDraw(const DrawHistory& history, const DrawRequest& request, DrawWeights& weights,
                         DrawStatistics& statistics, RandomGenerator& random, CombinationList& list,
                         const CombinationSet* pastWinners, const ProgressCallback& progress) {
    if (list.mode() != history.game) throw std::invalid_argument("list of another game");
    validate(history, request);
    const GameRules rules = rulesFor(history.game);
    const RankTable& ranker = RankTable::of(history.game);

    std::uint64_t fixedMask = 0;
    for (int n : request.fixedNumbers) fixedMask |= std::uint64_t{1} << (n - 1);

    Drawer drawer(history, request, weights, statistics, random);
    // Applies the mode and the board to the weights the last run left.
    drawer.draw(0);

    DrawResult result;
    const int count = std::max(request.count, 1);
    const CombinationFilter* filter = request.filter != nullptr && request.filter->active() ? request.filter : nullptr;
    if (filter != nullptr && filter->mode() != history.game) throw std::invalid_argument("filter of another game");
    // With a filter the run may take many draws per listed combination; the
    // gauge shows the larger of the share found and the share of tries used.
    const std::int64_t tryLimit = filter != nullptr ? std::int64_t{kFilterTryFactor} * count : count;
    ProgressTicker ticker(progress, count, false);
    PercentProgress percent(progress);
    const std::size_t listedBefore = list.size();
    const std::size_t duplicatesBefore = list.duplicates().size();
    while (result.passed < count && result.produced < tryLimit) {
        std::uint64_t mask = fixedMask;
        int size = static_cast<int>(request.fixedNumbers.size());
        while (size < rules.pickCount) {
            const int i = drawer.draw(mask);
            const std::uint64_t bit = std::uint64_t{1} << i;
            if (mask & bit) continue;
            mask |= bit;
            ++size;
        }
        ++result.produced;
        if (filter != nullptr && !filter->passes(mask)) {
            ++result.excluded;
        } else {
            ++result.passed;
            // The numbers ascending are the set bits of the mask.
            int numbers[kMaxPick];
            int p = 0;
            for (std::uint64_t m = mask; m != 0; m &= m - 1) numbers[p++] = std::countr_zero(m);
            for (int a = 0; a < p; ++a)
                for (int b = a + 1; b < p; ++b) {
                    ++statistics.drawPairCount[static_cast<std::size_t>(numbers[a])][static_cast<std::size_t>(numbers[b])];
                    ++statistics.drawPairCount[static_cast<std::size_t>(numbers[b])][static_cast<std::size_t>(numbers[a])];
                }
            const CombinationIndex index = ranker.rankMask(mask);
            if (pastWinners != nullptr && pastWinners->contains(index))
                list.appendDuplicateIndex(index);
            else
                list.appendIndex(index);
        }
        const bool goOn =
            filter == nullptr
                ? ticker.step()
                : percent.report(static_cast<std::uint64_t>(std::max(result.passed * kFilterTryFactor, result.produced)),
                                 static_cast<std::uint64_t>(tryLimit));
        if (!goOn) {
            result.completed = false;
            break;
        }
    }
    result.listed = list.size() - listedBefore;
    result.duplicates = list.duplicates().size() - duplicatesBefore;
    list.setChanged(true);
    result.report = WeightingReport(history.game, statistics);
    return result;
}

std::vector<std::string> WeightingReport(GameMode game, const DrawStatistics& statistics) {
    const int n = rulesFor(game).maxNumber;
    std::vector<int> order(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) order[static_cast<std::size_t>(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return statistics.selectionCount[static_cast<std::size_t>(a)] > statistics.selectionCount[static_cast<std::size_t>(b)];
    });

    std::vector<std::string> lines;
    const std::string separator(81, '-');
    char buf[256];
    for (int place = 1; place <= n; ++place) {
        const int x = order[static_cast<std::size_t>(place - 1)];
        const auto& row = statistics.drawPairCount[static_cast<std::size_t>(x)];
        // Three (count, partner) slots; ties keep the smaller partner and
        // unfilled slots show partner 1 with 0.
        std::int32_t count[3] = {0, 0, 0};
        int partner[3] = {1, 1, 1};
        for (int j = 0; j < n; ++j) {
            const std::int32_t c = row[static_cast<std::size_t>(j)];
            if (c > count[0]) {
                count[2] = count[1], partner[2] = partner[1];
                count[1] = count[0], partner[1] = partner[0];
                count[0] = c, partner[0] = j + 1;
            } else if (c > count[1]) {
                count[2] = count[1], partner[2] = partner[1];
                count[1] = c, partner[1] = j + 1;
            } else if (c > count[2]) {
                count[2] = c, partner[2] = j + 1;
            }
        }
        std::snprintf(buf, sizeof buf,
                      "%2d位=%2d(%d回), 連対率1位(%2d)=%d回, 連対率2位(%2d)=%d回, 連対率3位(%2d)=%d回", place, x + 1,
                      static_cast<int>(statistics.selectionCount[static_cast<std::size_t>(x)]), partner[0],
                      static_cast<int>(count[0]), partner[1], static_cast<int>(count[1]), partner[2],
                      static_cast<int>(count[2]));
        lines.emplace_back(buf);
        if (place % 10 == 0) lines.push_back(separator);
    }
    return lines;
}

}  // namespace tambor
