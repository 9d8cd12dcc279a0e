#include "history/backtest.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdio>
#include <thread>

#include "calc/purchase_calculator.h"
#include "core/combination.h"
#include "core/combination_rank.h"
#include "history/grade_candidates.h"
#include "history/history_store.h"
#include "io/text_file.h"

namespace tambor {
namespace {

// ---------------------------------------------------------------- draws

std::string dateOfLine(std::string_view line) {
    const std::size_t open = line.find('(');
    if (open == std::string_view::npos) return {};
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) return {};
    return std::string(line.substr(open + 1, close - open - 1));
}

// ---------------------------------------------------------------- grades

// The listed combinations of a draw by how many main numbers they hold,
// counted down from K: slot 0 holds all K, slot s holds K - s. Of slots 1
// and 4, withBonus counts those that hold a bonus number too.
struct MatchCounts {
    std::array<int, 5> bySlot{};
    std::array<int, 5> withBonus{};
};

// The hits of each grade, by the game's plan of the grades: a grade with
// mainPick main numbers reads slot K - mainPick, split by the bonus where
// its pool says so.
std::array<int, kMaxGrades> gradeHits(GameMode mode, const MatchCounts& c) {
    const GameRules& rules = rulesFor(mode);
    std::array<int, kMaxGrades> hits{};
    for (int g = 1; g <= rules.gradeCount; ++g) {
        const GradePlan plan = planFor(mode, g);
        const auto slot = static_cast<std::size_t>(rules.pickCount - plan.mainPick);
        int& h = hits[static_cast<std::size_t>(g - 1)];
        switch (plan.pool) {
        case Pool::Bonus:
        case Pool::WithBonus: h = c.withBonus[slot]; break;
        case Pool::Others: h = c.bySlot[slot] - c.withBonus[slot]; break;
        default: h = c.bySlot[slot]; break;
        }
    }
    return hits;
}

// ---------------------------------------------------------------- masks

// The list's masks stored transposed: for each number, one bit per listed
// combination (combination i at bit i % 64 of word i / 64). A draw then
// counts the matching main numbers of 64 combinations at once: the K words
// of its main numbers go through a small adder, three bits of count per
// combination, and the combinations with K down to K - 4 matches are
// counted with one population count each; the bonus words (OR-ed) split
// K - 1 and, for ロト７, give K - 4 with a bonus number.
struct ListBits {
    std::size_t words = 0;
    std::vector<std::uint64_t> bits;  // [number * words + word], number 0 all zeros

    const std::uint64_t* of(int number) const { return bits.data() + static_cast<std::size_t>(number) * words; }
};

ListBits listBits(const CombinationList& list) {
    ListBits lb;
    const GameMode mode = list.mode();
    const auto& items = list.items();
    lb.words = (items.size() + 63) / 64;
    lb.bits.assign(static_cast<std::size_t>(rulesFor(mode).maxNumber + 1) * lb.words, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Combination c = UnrankCombination(mode, items[i]);
        const std::uint64_t bit = std::uint64_t{1} << (i % 64);
        for (int n : c) lb.bits[static_cast<std::size_t>(n) * lb.words + i / 64] |= bit;
    }
    return lb;
}

// A draw as the numbers whose words it reads; number 0 (all zeros) pads
// the main numbers to seven and the bonus numbers to two.
struct DrawWords {
    std::array<int, kMaxPick> main{};
    std::array<int, kMaxBonus> bonus{};
};

// How many words of each number one pass reads: 4 KB per number, so the
// words of a block stay in cache while every draw of a unit reads them.
constexpr std::size_t kWordBlock = 512;

// Counts words [first, end) for each of the draws.
template <int K>
[[gnu::always_inline]] inline void countWords(const ListBits& lb, std::size_t first, std::size_t end,
                                              const DrawWords* draws, std::size_t drawCount, MatchCounts* out) {
    static_assert(K <= 7 && kMaxPick == 7 && kMaxBonus == 2);
    for (std::size_t d = 0; d < drawCount; ++d) {
        const DrawWords& dw = draws[d];
        const std::uint64_t* a1 = lb.of(dw.main[0]);
        const std::uint64_t* a2 = lb.of(dw.main[1]);
        const std::uint64_t* a3 = lb.of(dw.main[2]);
        const std::uint64_t* a4 = lb.of(dw.main[3]);
        const std::uint64_t* a5 = lb.of(dw.main[4]);
        const std::uint64_t* a6 = lb.of(dw.main[5]);
        const std::uint64_t* a7 = lb.of(dw.main[6]);
        const std::uint64_t* bw1 = lb.of(dw.bonus[0]);
        const std::uint64_t* bw2 = lb.of(dw.bonus[1]);
        int c0 = 0, c1 = 0, c2 = 0, c3 = 0, cb1 = 0, cb4 = 0;
        for (std::size_t j = first; j < end; ++j) {
            // Two full adders, then the sum bits added with the seventh word:
            // count = ones + 2 twos + 4 fours.
            const std::uint64_t x1 = a1[j], x2 = a2[j], x3 = a3[j], x4 = a4[j], x5 = a5[j], x6 = a6[j];
            const std::uint64_t s1 = x1 ^ x2 ^ x3;
            const std::uint64_t k1 = (x1 & x2) | (x3 & (x1 ^ x2));
            const std::uint64_t s2 = x4 ^ x5 ^ x6;
            const std::uint64_t k2 = (x4 & x5) | (x6 & (x4 ^ x5));
            std::uint64_t ones = s1 ^ s2;
            std::uint64_t k3 = s1 & s2;
            if constexpr (K == 7) {
                const std::uint64_t x7 = a7[j];
                k3 = (s1 & s2) | (x7 & ones);
                ones ^= x7;
            }
            const std::uint64_t twos = k1 ^ k2 ^ k3;
            const std::uint64_t fours = (k1 & k2) | (k3 & (k1 ^ k2));
            // The combinations with exactly v matches, v = 0..7.
            auto exactly = [&](int v) {
                return ((v & 1) ? ones : ~ones) & ((v & 2) ? twos : ~twos) & ((v & 4) ? fours : ~fours);
            };
            const std::uint64_t bonusWord = K == 7 ? bw1[j] | bw2[j] : bw1[j];
            const std::uint64_t oneShort = exactly(K - 1);
            c0 += std::popcount(exactly(K));
            c1 += std::popcount(oneShort);
            cb1 += std::popcount(oneShort & bonusWord);
            c2 += std::popcount(exactly(K - 2));
            if constexpr (K >= 6) c3 += std::popcount(exactly(K - 3));
            if constexpr (K == 7) cb4 += std::popcount(exactly(K - 4) & bonusWord);
        }
        MatchCounts& c = out[d];
        c.bySlot[0] += c0;
        c.bySlot[1] += c1;
        c.bySlot[2] += c2;
        c.bySlot[3] += c3;
        c.withBonus[1] += cb1;
        c.withBonus[4] += cb4;
    }
}

using CountWords = void (*)(const ListBits&, std::size_t, std::size_t, const DrawWords*, std::size_t, MatchCounts*);

// One counter per pick count (5, 6 or 7 main numbers).
template <int K>
void countWordsPlain(const ListBits& lb, std::size_t first, std::size_t end, const DrawWords* draws,
                   std::size_t drawCount, MatchCounts* out) {
    countWords<K>(lb, first, end, draws, drawCount, out);
}

// The same with the processor's population count instruction, chosen at
// run time when the processor has one. (A run-time test rather than an
// ifunc: resolvers run before the sanitizers are set up.)
#if defined(__x86_64__) && defined(__GNUC__)
#define TAMBOR_POPCNT_VARIANTS 1
template <int K>
__attribute__((target("popcnt"))) void countWordsPopcnt(const ListBits& lb, std::size_t first, std::size_t end,
                                                        const DrawWords* draws, std::size_t drawCount,
                                                        MatchCounts* out) {
    countWords<K>(lb, first, end, draws, drawCount, out);
}
#endif

CountWords wordCounter(GameMode mode) {
    const int k = rulesFor(mode).pickCount;
#ifdef TAMBOR_POPCNT_VARIANTS
    static const bool popcnt = __builtin_cpu_supports("popcnt");
    if (popcnt) return k == 5 ? countWordsPopcnt<5> : k == 6 ? countWordsPopcnt<6> : countWordsPopcnt<7>;
#endif
    return k == 5 ? countWordsPlain<5> : k == 6 ? countWordsPlain<6> : countWordsPlain<7>;
}

// ---------------------------------------------------------------- enumeration

// How many numbers a grade's pool holds.
int poolSize(const GameRules& rules, Pool pool) {
    switch (pool) {
    case Pool::None: return 0;
    case Pool::Bonus: return rules.bonusCount;
    case Pool::Others: return rules.maxNumber - rules.pickCount - rules.bonusCount;
    default: return rules.maxNumber - rules.pickCount;
    }
}

// The subsets by position for every grade of a game, made once per run.
// A grade of Pool::WithBonus takes, for each subset S of the bonus numbers,
// poolPick - |S| of the others: othersSubsets[grade][|S|].
struct EnumerationPlan {
    GameMode mode;
    int gradeCount;
    std::array<GradePlan, kMaxGrades> grades{};
    std::array<std::vector<std::uint8_t>, kMaxGrades> mainSubsets;  // positions in W
    std::array<std::vector<std::uint8_t>, kMaxGrades> poolSubsets;  // positions in the pool
    std::array<std::array<std::vector<std::uint8_t>, kMaxBonus + 1>, kMaxGrades> othersSubsets;
    std::vector<unsigned> bonusParts;

    explicit EnumerationPlan(GameMode m) : mode(m), gradeCount(prizeGradeCount(m)) {
        const GameRules& rules = rulesFor(m);
        const int k = rules.pickCount;
        for (int g = 1; g <= gradeCount; ++g) {
            const auto gi = static_cast<std::size_t>(g - 1);
            grades[gi] = planFor(m, g);
            mainSubsets[gi] = positionSubsets(k, grades[gi].mainPick);
            if (grades[gi].pool == Pool::WithBonus) {
                for (int extra = 1; extra <= rules.bonusCount && extra <= grades[gi].poolPick; ++extra)
                    othersSubsets[gi][static_cast<std::size_t>(extra)] =
                        positionSubsets(poolSize(rules, Pool::Others), grades[gi].poolPick - extra);
                bonusParts = bonusSubsets(rules.bonusCount, grades[gi].poolPick);
            } else {
                poolSubsets[gi] = positionSubsets(poolSize(rules, grades[gi].pool), grades[gi].poolPick);
            }
        }
    }
};

// Counts the listed candidates of every grade for one draw: the prize
// check's enumeration, without the lines. Each candidate's index is the
// sum of one term per number; the terms of the main part are fixed per
// main subset, and each pool number adds a term that depends only on its
// value and its slot among the pool numbers (see the prize check).
template <int PoolPick>
int countGrade(const RankTable& rank, const std::uint8_t* set, const int* w, int mainPick,
               const std::vector<std::uint8_t>& poolSubsets, const int* poolValues, int poolSize) {
    int hits = 0;
    std::int32_t base = 0;
    for (int a = 0; a < mainPick; ++a) base += rank.term(a, w[a]);
    const std::int32_t top = rank.lastIndex() - base;
    if constexpr (PoolPick == 0) {
        const auto b = static_cast<std::uint32_t>(top);
        return (set[b >> 3] >> (b & 7)) & 1;
    } else {
        // slot[j][p]: what the pool number at pool position p adds as the
        // j-th (0-based) pool number of the candidate.
        std::array<std::array<std::int32_t, kBoardSize>, PoolPick> slot{};
        for (int j = 0; j < PoolPick; ++j)
            for (int p = 0; p < poolSize; ++p)
                slot[static_cast<std::size_t>(j)][static_cast<std::size_t>(p)] =
                    poolNumberTerm(rank, w, mainPick, j, poolValues[p]);
        const std::size_t count = poolSubsets.size() / PoolPick;
        const std::uint8_t* x = poolSubsets.data();
        for (std::size_t s = 0; s < count; ++s, x += PoolPick) {
            std::int32_t index = top;
            for (int j = 0; j < PoolPick; ++j) index -= slot[static_cast<std::size_t>(j)][x[j]];
            const auto b = static_cast<std::uint32_t>(index);
            hits += (set[b >> 3] >> (b & 7)) & 1;
        }
        return hits;
    }
}

int countGradeOf(int poolPick, const RankTable& rank, const std::uint8_t* set, const int* w, int mainPick,
                 const std::vector<std::uint8_t>& poolSubsets, const int* poolValues, int poolSize) {
    switch (poolPick) {
    case 0: return countGrade<0>(rank, set, w, mainPick, poolSubsets, poolValues, poolSize);
    case 1: return countGrade<1>(rank, set, w, mainPick, poolSubsets, poolValues, poolSize);
    case 2: return countGrade<2>(rank, set, w, mainPick, poolSubsets, poolValues, poolSize);
    case 3: return countGrade<3>(rank, set, w, mainPick, poolSubsets, poolValues, poolSize);
    default: return countGrade<4>(rank, set, w, mainPick, poolSubsets, poolValues, poolSize);
    }
}

std::array<int, kMaxGrades> enumerateDraw(const EnumerationPlan& plan, const RankTable& rank, const std::uint8_t* set,
                                          const WinningNumbers& winning) {
    const GameRules& rules = rulesFor(plan.mode);
    const int k = rules.pickCount;
    // W: the main numbers; the pools ascending (positions in them are
    // ascending values, so every subset comes out sorted).
    const int* mains = winning.main.data();
    const int* bonuses = winning.bonus.data();
    std::array<int, kBoardSize> others{};
    std::array<int, kBoardSize> nonMain{};
    int otherCount = 0;
    int nonMainCount = 0;
    for (int n = 1, mi = 0, bi = 0; n <= rules.maxNumber; ++n) {
        if (mi < k && mains[mi] == n) {
            ++mi;
            continue;
        }
        nonMain[static_cast<std::size_t>(nonMainCount++)] = n;
        if (bi < winning.bonusCount && bonuses[bi] == n)
            ++bi;
        else
            others[static_cast<std::size_t>(otherCount++)] = n;
    }

    std::array<int, kMaxGrades> hits{};
    for (int g = 1; g <= plan.gradeCount; ++g) {
        const auto gi = static_cast<std::size_t>(g - 1);
        const GradePlan& gp = plan.grades[gi];
        const std::vector<std::uint8_t>& mainSubsets = plan.mainSubsets[gi];
        const std::size_t mainCount = mainSubsets.size() / static_cast<std::size_t>(gp.mainPick);
        int gradeHits = 0;
        for (std::size_t ms = 0; ms < mainCount; ++ms) {
            int w[kMaxPick];
            for (int a = 0; a < gp.mainPick; ++a)
                w[a] = mains[mainSubsets[ms * static_cast<std::size_t>(gp.mainPick) + static_cast<std::size_t>(a)]];
            if (gp.pool != Pool::WithBonus) {
                const int* poolValues = gp.pool == Pool::Bonus    ? bonuses
                                        : gp.pool == Pool::Others ? others.data()
                                                                  : nonMain.data();
                const int size = gp.pool == Pool::None     ? 0
                                 : gp.pool == Pool::Bonus  ? winning.bonusCount
                                 : gp.pool == Pool::Others ? otherCount
                                                           : nonMainCount;
                gradeHits += countGradeOf(gp.poolPick, rank, set, w, gp.mainPick, plan.poolSubsets[gi], poolValues, size);
                continue;
            }
            // The bonus numbers of S join the main part, kept sorted.
            for (const unsigned part : plan.bonusParts) {
                Combination fixed;
                fixed.size = gp.mainPick;
                for (int a = 0; a < gp.mainPick; ++a) fixed.numbers[static_cast<std::size_t>(a)] = w[a];
                for (int i = 0; i < winning.bonusCount; ++i)
                    if ((part >> i) & 1u) fixed.numbers[static_cast<std::size_t>(fixed.size++)] = bonuses[i];
                sortCombination(fixed);
                const int extra = std::popcount(part);
                gradeHits += countGradeOf(gp.poolPick - extra, rank, set, fixed.numbers.data(), fixed.size,
                                          plan.othersSubsets[gi][static_cast<std::size_t>(extra)], others.data(),
                                          otherCount);
            }
        }
        hits[gi] = gradeHits;
    }
    return hits;
}

// ---------------------------------------------------------------- cost model

// Measured costs (bench_backtest, one thread) in nanoseconds: reading one
// combination into the number words, counting one word (64 combinations)
// for one draw, and one candidate look-up of the enumeration.
constexpr double kWordBuildNs = 25.0;
constexpr double kWordCountNs = 5.0;
constexpr double kLookupNs = 2.1;

double maskWork(std::size_t listSize, std::size_t draws) {
    const auto words = static_cast<double>((listSize + 63) / 64);
    return static_cast<double>(listSize) * kWordBuildNs + words * kWordCountNs * static_cast<double>(draws);
}

double enumerationWork(GameMode mode, std::size_t draws) {
    return static_cast<double>(prizeCandidateCount(mode)) * kLookupNs * static_cast<double>(draws);
}

// Below this much work (in nanoseconds) one thread is quicker than
// starting another.
constexpr double kThreadWorthwhile = 2.0e6;

}  // namespace

std::vector<BacktestDraw> readBacktestDraws(const HistoryStore& history) {
    const GameMode mode = history.mode();
    const std::vector<std::string_view> lines = history.sectionLines(mode);
    std::vector<BacktestDraw> draws;
    draws.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        BacktestDraw d;
        d.round = static_cast<int>(i + 1);
        d.date = dateOfLine(lines[i]);
        int mains[kMaxPick];
        int mainCount = 0;
        int bonuses[kMaxBonus];
        int bonusCount = 0;
        HistoryStore::readDrawNumbers(mode, lines[i], mains, mainCount, bonuses, bonusCount);
        d.winning = makeWinningNumbers(mode, mains, mainCount, bonuses, bonusCount);
        draws.push_back(std::move(d));
    }
    return draws;
}

BacktestMethod chooseBacktestMethod(GameMode mode, std::size_t listSize, std::size_t drawCount) {
    return maskWork(listSize, drawCount) <= enumerationWork(mode, drawCount) ? BacktestMethod::Masks
                                                                             : BacktestMethod::Enumeration;
}

BacktestResult RunBacktest(const CombinationList& list, const std::vector<BacktestDraw>& draws,
                           const ProgressCallback& progress, const BacktestOptions& options) {
    const GameMode mode = list.mode();
    BacktestResult result;
    result.mode = mode;
    result.listSize = list.size();
    result.method = options.method == BacktestMethod::Automatic ? chooseBacktestMethod(mode, list.size(), draws.size())
                                                                : options.method;
    result.rows.resize(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        BacktestRow& row = result.rows[i];
        row.round = draws[i].round;
        row.date = draws[i].date;
        row.checked = draws[i].winning.has_value();
    }
    PercentProgress gauge(progress);
    if (draws.empty()) {
        gauge.reportPercent(100);
        return result;
    }

    const bool masks = result.method == BacktestMethod::Masks;
    const std::size_t n = list.size();
    // The draws as the words they read (a draw without winning numbers is
    // not counted at all).
    std::vector<DrawWords> drawWords(draws.size());
    for (std::size_t i = 0; i < draws.size(); ++i) {
        if (!draws[i].winning) continue;
        const WinningNumbers& w = *draws[i].winning;
        for (int a = 0; a < w.mainCount; ++a)
            drawWords[i].main[static_cast<std::size_t>(a)] = w.main[static_cast<std::size_t>(a)];
        for (int b = 0; b < w.bonusCount; ++b)
            drawWords[i].bonus[static_cast<std::size_t>(b)] = w.bonus[static_cast<std::size_t>(b)];
    }
    const ListBits lb = masks ? listBits(list) : ListBits{};
    const CountWords countWordsFor = wordCounter(mode);
    const EnumerationPlan plan(mode);
    const RankTable& rank = RankTable::of(mode);
    const std::uint8_t* set = list.listedSet().bytes().data();

    // The draws go in units of about a millisecond of work, taken in turn
    // by the threads; only the calling thread reports progress.
    const double work = masks ? maskWork(n, draws.size()) : enumerationWork(mode, draws.size());
    const double workPerDraw = std::max(1.0, work / static_cast<double>(draws.size()));
    const std::size_t unitDraws = std::clamp<std::size_t>(static_cast<std::size_t>(1.0e6 / workPerDraw), 1, 64);
    const std::size_t units = (draws.size() + unitDraws - 1) / unitDraws;
    int threads = options.threads > 0 ? options.threads
                                      : static_cast<int>(std::min<unsigned>(
                                            std::max(1u, std::thread::hardware_concurrency()), kMaxBacktestThreads));
    if (options.threads <= 0 && work < kThreadWorthwhile) threads = 1;
    threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), units));

    std::atomic<std::size_t> nextUnit{0};
    std::atomic<std::size_t> unitsDone{0};
    std::atomic<bool> stop{false};
    auto runUnit = [&](std::size_t unit) {
        const std::size_t first = unit * unitDraws;
        const std::size_t end = std::min(first + unitDraws, draws.size());
        if (masks) {
            std::array<MatchCounts, 64> counts{};
            for (std::size_t b = 0; b < lb.words; b += kWordBlock)
                countWordsFor(lb, b, std::min(lb.words, b + kWordBlock), drawWords.data() + first, end - first,
                              counts.data());
            for (std::size_t d = first; d < end; ++d)
                if (draws[d].winning) result.rows[d].hits = gradeHits(mode, counts[d - first]);
        } else {
            for (std::size_t d = first; d < end; ++d)
                if (draws[d].winning) result.rows[d].hits = enumerateDraw(plan, rank, set, *draws[d].winning);
        }
    };
    auto worker = [&](bool reports) {
        for (;;) {
            if (stop.load(std::memory_order_relaxed)) return;
            const std::size_t unit = nextUnit.fetch_add(1);
            if (unit >= units) return;
            runUnit(unit);
            const std::size_t done = unitsDone.fetch_add(1) + 1;
            if (reports && !gauge.report(done, units)) stop = true;
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(static_cast<std::size_t>(threads - 1));
    for (int t = 1; t < threads; ++t) helpers.emplace_back(worker, false);
    worker(true);
    for (std::thread& t : helpers) t.join();
    if (stop || !gauge.report(units, units)) {
        result.completed = false;
        return result;
    }

    for (BacktestRow& row : result.rows) {
        row.money = 0;
        for (int g = 1; g <= prizeGradeCount(mode); ++g)
            row.money +=
                static_cast<std::int64_t>(row.hits[static_cast<std::size_t>(g - 1)]) * prizeGradeAmount(mode, g);
    }
    return result;
}

// ---------------------------------------------------------------- range, summary

std::optional<RoundRange> clampRoundRange(long long from, long long to, int drawCount) {
    if (drawCount < 1) return std::nullopt;
    const RoundRange range{ClampRound(from, drawCount), ClampRound(to, drawCount)};
    if (range.from > range.to) return std::nullopt;
    return range;
}

BacktestSummary SummarizeBacktest(const BacktestResult& result, std::size_t first, std::size_t end) {
    BacktestSummary s;
    end = std::min(end, result.rows.size());
    for (std::size_t i = first; i < end; ++i) {
        const BacktestRow& row = result.rows[i];
        ++s.draws;
        if (!row.checked) ++s.uncheckedDraws;
        for (std::size_t g = 0; g < kMaxGrades; ++g) s.hits[g] += row.hits[g];
        s.money += row.money;
        if (row.money > 0 && (!s.best || row.money > result.rows[*s.best].money)) s.best = i;
    }
    s.cost = static_cast<std::int64_t>(result.listSize) * rulesFor(result.mode).price * s.draws;
    return s;
}

std::optional<double> backtestReturnPercent(const BacktestSummary& summary) {
    if (summary.cost <= 0) return std::nullopt;
    return static_cast<double>(summary.money) * 100.0 / static_cast<double>(summary.cost);
}

std::string FormatReturnPercent(const BacktestSummary& summary) {
    const std::optional<double> percent = backtestReturnPercent(summary);
    if (!percent) return "--";
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.1f%%", *percent);
    return buf;
}

// ---------------------------------------------------------------- table text

std::vector<std::string> backtestHeader(GameMode mode) {
    std::vector<std::string> cells{"回", "日付"};
    for (int g = 1; g <= prizeGradeCount(mode); ++g) cells.emplace_back(prizeGradeHeading(g));
    cells.emplace_back("当選金額");
    return cells;
}

std::vector<std::string> backtestRowCells(GameMode mode, const BacktestRow& row) {
    std::vector<std::string> cells{std::to_string(row.round), row.date};
    for (int g = 1; g <= prizeGradeCount(mode); ++g)
        cells.push_back(row.checked ? std::to_string(row.hits[static_cast<std::size_t>(g - 1)]) : "-");
    cells.push_back(row.checked ? std::to_string(row.money) : "-");
    return cells;
}

std::vector<std::vector<std::string>> backtestTable(const BacktestResult& result, std::size_t first, std::size_t end) {
    end = std::min(end, result.rows.size());
    std::vector<std::vector<std::string>> table;
    table.reserve(end > first ? end - first + 3 : 3);
    table.push_back(backtestHeader(result.mode));
    for (std::size_t i = first; i < end; ++i) table.push_back(backtestRowCells(result.mode, result.rows[i]));
    const BacktestSummary s = SummarizeBacktest(result, first, end);
    std::vector<std::string> total{"合計", std::to_string(s.draws)};
    for (int g = 1; g <= prizeGradeCount(result.mode); ++g)
        total.push_back(std::to_string(s.hits[static_cast<std::size_t>(g - 1)]));
    total.push_back(std::to_string(s.money));
    table.push_back(std::move(total));
    table.push_back({"購入金額", std::to_string(s.cost)});
    return table;
}

std::string csvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (char ch : cell) {
            if (ch == '"') line += '"';
            line += ch;
        }
        line += '"';
    }
    return line;
}

void saveBacktestCsv(const std::filesystem::path& path, const std::vector<std::vector<std::string>>& table) {
    std::vector<std::string> lines;
    lines.reserve(table.size());
    for (const auto& row : table) lines.push_back(csvLine(row));
    writeTextFileLines(path, lines);
}

}  // namespace tambor
