#include "history/prize_check.h"

#include <bit>
#include <climits>

#include "core/combination.h"
#include "core/combination_rank.h"
#include "core/japanese_count.h"
#include "core/whole_number.h"
#include "history/grade_candidates.h"

namespace tambor {
namespace {

constexpr std::array<const char*, kMaxGrades> kHeadings{"一等", "二等", "三等", "四等", "五等", "六等"};

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

int prizeGradeCount(GameMode mode) { return rulesFor(mode).gradeCount; }

const char* prizeGradeHeading(int grade) { return kHeadings[static_cast<std::size_t>(grade - 1)]; }

std::int64_t prizeGradeAmount(GameMode mode, int grade) {
    return rulesFor(mode).grades[static_cast<std::size_t>(grade - 1)].amount;
}

std::int32_t prizeGradeCandidateCount(GameMode mode, int grade) {
    return rulesFor(mode).grades[static_cast<std::size_t>(grade - 1)].candidateCount;
}

std::int32_t prizeCandidateCount(GameMode mode) {
    std::int32_t total = 0;
    for (int grade = 1; grade <= prizeGradeCount(mode); ++grade) total += prizeGradeCandidateCount(mode, grade);
    return total;
}

std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount,
                                                 const int* bonusNumbers, int bonusCount) {
    const GameRules& rules = rulesFor(mode);
    if (mainCount != rules.pickCount || bonusCount != rules.bonusCount) return std::nullopt;
    Combination c;
    c.size = mainCount;
    for (int i = 0; i < mainCount; ++i) c.numbers[static_cast<std::size_t>(i)] = mainNumbers[i];
    sortCombination(c);
    if (!isValidCombination(mode, c)) return std::nullopt;
    Combination b;
    b.size = bonusCount;
    for (int i = 0; i < bonusCount; ++i) b.numbers[static_cast<std::size_t>(i)] = bonusNumbers[i];
    sortCombination(b);
    for (int i = 0; i < bonusCount; ++i) {
        const int bonus = b[i];
        if (bonus < 1 || bonus > rules.maxNumber || (i > 0 && bonus == b[i - 1])) return std::nullopt;
        for (int n : c)
            if (n == bonus) return std::nullopt;
    }
    WinningNumbers w;
    w.main = c.numbers;
    w.mainCount = c.size;
    for (int i = 0; i < bonusCount; ++i) w.bonus[static_cast<std::size_t>(i)] = b[i];
    w.bonusCount = bonusCount;
    return w;
}

std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount, int bonus) {
    return makeWinningNumbers(mode, mainNumbers, mainCount, &bonus, 1);
}

std::optional<WinningNumbers> winningNumbersFromBoard(const NumberBoard& board) {
    int mainCount = 0;
    int bonusCount = 0;
    const auto mains = board.numbersWith(Main, mainCount);
    const auto bonuses = board.numbersWith(Bonus, bonusCount);
    return makeWinningNumbers(board.mode(), mains.data(), mainCount, bonuses.data(), bonusCount);
}

PrizeCheckResult RunPrizeCheck(GameMode mode, const WinningNumbers& winning, const CombinationSet& listed,
                               const ProgressCallback& progress) {
    const GameRules& rules = rulesFor(mode);
    const int k = rules.pickCount;

    // W: the main numbers; B: the bonus numbers; O: the others, ascending; X: B then O.
    const std::vector<int> mains(winning.main.begin(), winning.main.begin() + k);
    const std::vector<int> bonuses(winning.bonus.begin(), winning.bonus.begin() + winning.bonusCount);
    std::vector<int> others;
    for (int n = 1; n <= rules.maxNumber; ++n) {
        bool taken = false;
        for (int m : mains) taken = taken || m == n;
        for (int b : bonuses) taken = taken || b == n;
        if (!taken) others.push_back(n);
    }
    std::vector<int> nonMain = bonuses;
    nonMain.insert(nonMain.end(), others.begin(), others.end());

    PrizeCheckResult result;
    result.mode = mode;
    GradeScan scan{RankTable::of(mode), listed.bytes().data(), PercentProgress(progress), prizeCandidateCount(mode), 0,
                   result.lines};
    auto runPart = [&](const std::vector<int>& fixedParts, int fixedPick, const std::vector<int>& pool, int poolPick) {
        const std::vector<int> poolSubsets = sortedSubsets(pool, poolPick);
        switch (poolPick) {
        case 0: return scan.run<0>(fixedParts, fixedPick, poolSubsets);
        case 1: return scan.run<1>(fixedParts, fixedPick, poolSubsets);
        case 2: return scan.run<2>(fixedParts, fixedPick, poolSubsets);
        case 3: return scan.run<3>(fixedParts, fixedPick, poolSubsets);
        default: return scan.run<4>(fixedParts, fixedPick, poolSubsets);
        }
    };

    for (int grade = 1; grade <= prizeGradeCount(mode); ++grade) {
        const GradePlan plan = planFor(mode, grade);
        result.lines.emplace_back(prizeGradeHeading(grade));
        const std::vector<int> mainSubsets = sortedSubsets(mains, plan.mainPick);
        int hits = 0;
        if (plan.pool == Pool::WithBonus) {
            // Each non-empty subset S of the bonus numbers joins the main
            // part; the rest of the candidate comes from the others.
            for (const unsigned s : bonusSubsets(winning.bonusCount, plan.poolPick)) {
                const int extra = std::popcount(s);
                const int fixedPick = plan.mainPick + extra;
                std::vector<int> fixedParts;
                for (std::size_t at = 0; at < mainSubsets.size(); at += static_cast<std::size_t>(plan.mainPick)) {
                    Combination part;
                    part.size = fixedPick;
                    for (int i = 0; i < plan.mainPick; ++i)
                        part.numbers[static_cast<std::size_t>(i)] = mainSubsets[at + static_cast<std::size_t>(i)];
                    for (int i = 0, j = plan.mainPick; i < winning.bonusCount; ++i)
                        if ((s >> i) & 1u) part.numbers[static_cast<std::size_t>(j++)] = bonuses[static_cast<std::size_t>(i)];
                    sortCombination(part);
                    fixedParts.insert(fixedParts.end(), part.begin(), part.end());
                }
                hits += runPart(fixedParts, fixedPick, others, plan.poolPick - extra);
                if (scan.stopped) break;
            }
        } else {
            const std::vector<int>& pool = plan.pool == Pool::Bonus    ? bonuses
                                           : plan.pool == Pool::Others ? others
                                                                       : nonMain;
            hits = runPart(mainSubsets, plan.mainPick, pool, plan.poolPick);
        }
        result.hits[static_cast<std::size_t>(grade - 1)] = hits;
        result.money += static_cast<std::int64_t>(hits) * prizeGradeAmount(mode, grade);
        if (!scan.report(scan.counter)) scan.stopped = true;
        if (scan.stopped) {
            result.completed = false;
            return result;
        }
    }

    result.moneyText = FormatPrizeMoney(mode, result.money, fixedGradeHits(mode, result.hits));
    return result;
}

std::string FormatPrizeMoney(GameMode mode, std::int64_t total, int fixedGradeHits) {
    // Only a total made of the fixed prize alone is exact.
    const int fixedGrade = rulesFor(mode).fixedPrizeGrade;
    const std::int64_t exact = fixedGrade > 0 ? static_cast<std::int64_t>(fixedGradeHits) * prizeGradeAmount(mode, fixedGrade) : 0;
    const bool approximate = total != exact;
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
