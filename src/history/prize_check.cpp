#include "history/prize_check.h"

#include <climits>

#include "core/combination.h"
#include "core/combination_rank.h"
#include "core/japanese_count.h"
#include "core/whole_number.h"
#include "history/grade_candidates.h"

namespace tambor {
namespace {

constexpr std::array<const char*, kMaxGrades> kHeadings{"一等", "二等", "三等", "四等", "五等"};
constexpr std::array<std::int64_t, kMaxGrades> kMiniAmounts{10046800, 144300, 10000, 1000, 0};
constexpr std::array<std::int64_t, kMaxGrades> kLoto6Amounts{100003400, 15000300, 500000, 9500, 1000};
constexpr std::array<std::int32_t, kMaxGrades> kMiniCandidates{1, 5, 125, 3250, 0};
constexpr std::array<std::int32_t, kMaxGrades> kLoto6Candidates{1, 6, 216, 9990, 155400};

// Every pick-subset of values, by lexicographic order of positions, each
// subset's values sorted ascending, stored flat (pick numbers per subset).
std::vector<int> sortedSubsets(const std::vector<int>& values, int pick) {
    const std::vector<std::uint8_t> positions = positionSubsets(static_cast<int>(values.size()), pick);
    std::vector<int> out;
    out.reserve(positions.size());
    for (std::size_t at = 0; at < positions.size(); at += static_cast<std::size_t>(pick)) {
        Combination sub;
        sub.size = pick;
        for (int i = 0; i < pick; ++i)
            sub.numbers[static_cast<std::size_t>(i)] = values[positions[at + static_cast<std::size_t>(i)]];
        sortCombination(sub);
        out.insert(out.end(), sub.begin(), sub.end());
    }
    return out;
}

// Runs the candidates of one grade: every subset of the main numbers (in
// order), and for each every subset of the pool (varying fastest).
struct GradeScan {
    const RankTable& rank;
    const std::uint8_t* bits;
    PercentProgress gauge;
    std::int32_t total;
    std::int32_t counter;
    std::vector<std::string>& lines;
    bool stopped = false;

    // The gauge at (counter + 1) × 100 / total; false when the check should stop.
    bool report(std::int32_t done) {
        return gauge.reportPercent(static_cast<int>(std::min<std::int64_t>((std::int64_t{done} + 1) * 100 / total, 100)));
    }

    template <int PoolPick>
    int run(const std::vector<int>& mainSubsets, int mainPick, const std::vector<int>& poolSubsets) {
        const std::size_t mainCount = mainSubsets.size() / static_cast<std::size_t>(mainPick);
        const std::size_t poolCount = PoolPick == 0 ? 1 : poolSubsets.size() / PoolPick;
        int hits = 0;
        for (std::size_t ms = 0; ms < mainCount; ++ms) {
            const int* w = mainSubsets.data() + ms * static_cast<std::size_t>(mainPick);
            // The main part's own terms, and per pool slot j and number v the
            // term v adds at its merged position plus the shift it causes
            // to the main numbers above it (each moves one position up).
            std::int32_t base = 0;
            for (int a = 0; a < mainPick; ++a) base += rank.term(a, w[a]);
            std::array<std::array<std::int32_t, kBoardSize + 1>, PoolPick == 0 ? 1 : PoolPick> slot{};
            for (int j = 0; j < PoolPick; ++j)
                for (int v = 1; v <= kBoardSize; ++v)
                    slot[static_cast<std::size_t>(j)][static_cast<std::size_t>(v)] =
                        poolNumberTerm(rank, w, mainPick, j, v);
            const std::int32_t top = rank.lastIndex() - base;
            const std::uint8_t* const set = bits;
            const int* x = poolSubsets.data();
            std::int32_t done = counter;
            for (std::size_t ps = 0; ps < poolCount; ++ps, x += PoolPick) {
                std::int32_t index = top;
                for (int j = 0; j < PoolPick; ++j) index -= slot[static_cast<std::size_t>(j)][static_cast<std::size_t>(x[j])];
                ++done;
                const auto b = static_cast<std::uint32_t>(index);
                if ((set[b >> 3] >> (b & 7)) & 1u) {
                    lines.push_back(mergedLine(w, mainPick, x, PoolPick));
                    ++hits;
                    if (!report(done)) stopped = true;
                }
            }
            counter = done;
            if (!report(counter)) stopped = true;
            if (stopped) break;
        }
        return hits;
    }

    // Both parts are ascending: merge them into the sorted candidate's line.
    static std::string mergedLine(const int* w, int mainPick, const int* x, int poolPick) {
        Combination c;
        c.size = mainPick + poolPick;
        int a = 0, b = 0;
        for (int i = 0; i < c.size; ++i) {
            const bool takeMain = b == poolPick || (a < mainPick && w[a] < x[b]);
            c.numbers[static_cast<std::size_t>(i)] = takeMain ? w[a++] : x[b++];
        }
        char buf[24];
        const int len = formatCombinationLineTo(c, buf);
        return std::string(buf, static_cast<std::size_t>(len));
    }
};

}  // namespace

int prizeGradeCount(GameMode mode) { return mode == GameMode::MiniLoto ? 4 : 5; }

const char* prizeGradeHeading(int grade) { return kHeadings[static_cast<std::size_t>(grade - 1)]; }

std::int64_t prizeGradeAmount(GameMode mode, int grade) {
    const auto& amounts = mode == GameMode::MiniLoto ? kMiniAmounts : kLoto6Amounts;
    return amounts[static_cast<std::size_t>(grade - 1)];
}

std::int32_t prizeGradeCandidateCount(GameMode mode, int grade) {
    const auto& counts = mode == GameMode::MiniLoto ? kMiniCandidates : kLoto6Candidates;
    return counts[static_cast<std::size_t>(grade - 1)];
}

std::int32_t prizeCandidateCount(GameMode mode) { return mode == GameMode::MiniLoto ? 3381 : 165613; }

std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount, int bonus) {
    const GameRules rules = rulesFor(mode);
    if (mainCount != rules.pickCount || bonus < 1 || bonus > rules.maxNumber) return std::nullopt;
    Combination c;
    c.size = mainCount;
    for (int i = 0; i < mainCount; ++i) c.numbers[static_cast<std::size_t>(i)] = mainNumbers[i];
    sortCombination(c);
    if (!isValidCombination(mode, c)) return std::nullopt;
    for (int n : c)
        if (n == bonus) return std::nullopt;
    WinningNumbers w;
    w.main = c.numbers;
    w.mainCount = c.size;
    w.bonus = bonus;
    return w;
}

std::optional<WinningNumbers> winningNumbersFromBoard(const NumberBoard& board) {
    int mainCount = 0;
    int bonusCount = 0;
    const auto mains = board.numbersWith(Main, mainCount);
    const auto bonuses = board.numbersWith(Bonus, bonusCount);
    if (bonusCount != 1) return std::nullopt;
    return makeWinningNumbers(board.mode(), mains.data(), mainCount, bonuses[0]);
}

PrizeCheckResult RunPrizeCheck(GameMode mode, const WinningNumbers& winning, const CombinationSet& listed,
                               const ProgressCallback& progress) {
    const GameRules rules = rulesFor(mode);
    const int k = rules.pickCount;

    // W: the main numbers; B: the bonus; O: the others, ascending; X: B then O.
    std::vector<int> mains(winning.main.begin(), winning.main.begin() + k);
    std::vector<int> others;
    for (int n = 1; n <= rules.maxNumber; ++n) {
        bool isMain = false;
        for (int m : mains) isMain = isMain || m == n;
        if (!isMain && n != winning.bonus) others.push_back(n);
    }
    std::vector<int> nonMain{winning.bonus};
    nonMain.insert(nonMain.end(), others.begin(), others.end());
    const std::vector<int> bonusOnly{winning.bonus};

    PrizeCheckResult result;
    result.mode = mode;
    GradeScan scan{RankTable::of(mode), listed.bytes().data(), PercentProgress(progress), prizeCandidateCount(mode), 0,
                   result.lines};

    for (int grade = 1; grade <= prizeGradeCount(mode); ++grade) {
        const GradePlan plan = planFor(k, grade);
        result.lines.emplace_back(prizeGradeHeading(grade));
        const std::vector<int>& pool = plan.pool == Pool::Bonus    ? bonusOnly
                                       : plan.pool == Pool::Others ? others
                                                                   : nonMain;
        const std::vector<int> mainSubsets = sortedSubsets(mains, plan.mainPick);
        const std::vector<int> poolSubsets = sortedSubsets(pool, plan.poolPick);
        int hits = 0;
        switch (plan.poolPick) {
        case 0: hits = scan.run<0>(mainSubsets, plan.mainPick, poolSubsets); break;
        case 1: hits = scan.run<1>(mainSubsets, plan.mainPick, poolSubsets); break;
        case 2: hits = scan.run<2>(mainSubsets, plan.mainPick, poolSubsets); break;
        default: hits = scan.run<3>(mainSubsets, plan.mainPick, poolSubsets); break;
        }
        result.hits[static_cast<std::size_t>(grade - 1)] = hits;
        result.money += static_cast<std::int64_t>(hits) * prizeGradeAmount(mode, grade);
        if (!scan.report(scan.counter)) scan.stopped = true;
        if (scan.stopped) {
            result.completed = false;
            return result;
        }
    }

    result.moneyText = FormatPrizeMoney(mode, result.money, mode == GameMode::Loto6 ? result.hits[4] : 0);
    return result;
}

std::string FormatPrizeMoney(GameMode mode, std::int64_t total, int fifthGradeHits) {
    const bool approximate = mode == GameMode::Loto6 ? total != static_cast<std::int64_t>(fifthGradeHits) * 1000
                                                     : total != 0;
    return (approximate ? "約 " : "") + FormatJapaneseCount(total) + "円";
}

int ClampRound(long long round, int drawCount) {
    if (drawCount < 1) return 0;
    if (round > drawCount) return drawCount;
    if (round < 1) return 1;
    return static_cast<int>(round);
}

int RoundFromText(std::string_view text, int drawCount) {
    const std::optional<int> value = parseWholeNumber(text);
    return ClampRound(value ? *value : drawCount, drawCount);
}

std::optional<int> SelectedRound(std::string_view text, int drawCount) {
    if (text.empty()) return std::nullopt;
    return RoundFromText(text, drawCount);
}

}  // namespace tambor
