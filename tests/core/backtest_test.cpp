#include "history/backtest.h"

#include <gtest/gtest.h>

#include <random>

#include "cli_test_support.h"
#include "core/combination.h"
#include "core/number_board.h"
#include "history/history_store.h"
#include "history_test_support.h"
#include "io/text_file.h"

using namespace tambor;

namespace {

std::string fullHistoryText() {
    std::string text;
    for (const std::string& line : readTextFileLines(TAMBOR_BUILTIN_HISTORY_FILE)) text += line + "\n";
    return text;
}

HistoryStore fullHistory(GameMode mode) {
    static const std::string text = fullHistoryText();
    HistoryStore history;
    history.loadFromText(text, mode);
    return history;
}

// A combination with m of the draw's main numbers, with or without
// bonus numbers (one, or for ロト７ both when bonuses is 2), the rest from
// the numbers that are neither.
Combination nearWinner(GameMode mode, const WinningNumbers& w, int m, int bonuses, std::mt19937& rng) {
    const GameRules rules = rulesFor(mode);
    std::vector<int> mains(w.main.begin(), w.main.begin() + w.mainCount);
    std::vector<int> bonus(w.bonus.begin(), w.bonus.begin() + w.bonusCount);
    std::vector<int> others;
    for (int n = 1; n <= rules.maxNumber; ++n)
        if (std::find(bonus.begin(), bonus.end(), n) == bonus.end() &&
            std::find(mains.begin(), mains.end(), n) == mains.end())
            others.push_back(n);
    std::shuffle(mains.begin(), mains.end(), rng);
    std::shuffle(bonus.begin(), bonus.end(), rng);
    std::shuffle(others.begin(), others.end(), rng);
    Combination c;
    c.size = rules.pickCount;
    int i = 0;
    for (; i < m; ++i) c.numbers[static_cast<std::size_t>(i)] = mains[static_cast<std::size_t>(i)];
    for (int b = 0; b < bonuses && b < w.bonusCount && i < c.size; ++b)
        c.numbers[static_cast<std::size_t>(i++)] = bonus[static_cast<std::size_t>(b)];
    for (int j = 0; i < c.size; ++i, ++j) c.numbers[static_cast<std::size_t>(i)] = others[static_cast<std::size_t>(j)];
    sortCombination(c);
    return c;
}

// Random combinations, and around some draws one of every grade (and of
// the near misses) so that each grade is hit many times.
CombinationList testList(GameMode mode, const std::vector<BacktestDraw>& draws, std::size_t randomCount,
                         unsigned seed) {
    std::mt19937 rng(seed);
    CombinationList list(mode);
    std::uniform_int_distribution<CombinationIndex> any(0, rulesFor(mode).combinationCount - 1);
    for (std::size_t i = 0; i < randomCount; ++i) list.appendIndex(any(rng));
    const int k = rulesFor(mode).pickCount;
    for (std::size_t d = 0; d < draws.size(); d += 3) {
        if (!draws[d].winning) continue;
        for (int m = k; m >= k - 5; --m)
            for (int bonus = 0; bonus <= rulesFor(mode).bonusCount; ++bonus)
                if (m + bonus <= k) list.append(nearWinner(mode, *draws[d].winning, m, bonus, rng));
    }
    return list;
}

// Some draws of the real history and some random winning numbers.
std::vector<BacktestDraw> testDraws(GameMode mode, unsigned seed) {
    const std::vector<BacktestDraw> all = readBacktestDraws(fullHistory(mode));
    std::mt19937 rng(seed);
    std::vector<BacktestDraw> draws;
    for (int i = 0; i < 18; ++i)
        draws.push_back(all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(rng)]);
    const GameRules rules = rulesFor(mode);
    for (int i = 0; i < 6; ++i) {
        std::vector<int> numbers(static_cast<std::size_t>(rules.maxNumber));
        for (int n = 0; n < rules.maxNumber; ++n) numbers[static_cast<std::size_t>(n)] = n + 1;
        std::shuffle(numbers.begin(), numbers.end(), rng);
        BacktestDraw d;
        d.round = 9000 + i;
        d.winning = makeWinningNumbers(mode, numbers.data(), rules.pickCount, numbers.data() + rules.pickCount,
                                       rules.bonusCount);
        draws.push_back(d);
    }
    return draws;
}

struct MethodRow {
    const char* name;
    GameMode mode;
    BacktestMethod method;
    int threads;
    std::size_t randomCount;
};

class BacktestAgreesWithPrizeCheck : public ::testing::TestWithParam<MethodRow> {};

TEST_P(BacktestAgreesWithPrizeCheck, EveryGradeOfEveryDraw) {
    const MethodRow& p = GetParam();
    for (unsigned seed : {1u, 2u}) {
        const std::vector<BacktestDraw> draws = testDraws(p.mode, seed);
        const CombinationList list = testList(p.mode, draws, p.randomCount + seed, seed);
        const BacktestResult r = RunBacktest(list, draws, {}, {p.method, p.threads});
        ASSERT_TRUE(r.completed);
        EXPECT_EQ(r.method, p.method);
        ASSERT_EQ(r.rows.size(), draws.size());
        std::array<int, kMaxGrades> seen{};
        for (std::size_t i = 0; i < draws.size(); ++i) {
            const PrizeCheckResult check = RunPrizeCheck(p.mode, *draws[i].winning, list.listedSet());
            EXPECT_EQ(r.rows[i].hits, check.hits) << "draw " << draws[i].round;
            EXPECT_EQ(r.rows[i].money, check.money) << "draw " << draws[i].round;
            EXPECT_EQ(r.rows[i].round, draws[i].round);
            for (std::size_t g = 0; g < kMaxGrades; ++g) seen[g] += check.hits[g];
        }
        // The lists were made so that every grade of the game is won.
        for (int g = 1; g <= prizeGradeCount(p.mode); ++g) EXPECT_GT(seen[static_cast<std::size_t>(g - 1)], 0) << g;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BacktestAgreesWithPrizeCheck,
    ::testing::Values(MethodRow{"mini_masks", GameMode::MiniLoto, BacktestMethod::Masks, 1, 3000},
                      MethodRow{"mini_masks_threads", GameMode::MiniLoto, BacktestMethod::Masks, 3, 3000},
                      MethodRow{"mini_enumeration", GameMode::MiniLoto, BacktestMethod::Enumeration, 1, 3000},
                      MethodRow{"mini_enumeration_threads", GameMode::MiniLoto, BacktestMethod::Enumeration, 2, 3000},
                      MethodRow{"loto6_masks", GameMode::Loto6, BacktestMethod::Masks, 1, 20000},
                      MethodRow{"loto6_masks_threads", GameMode::Loto6, BacktestMethod::Masks, 2, 20000},
                      MethodRow{"loto6_masks_small", GameMode::Loto6, BacktestMethod::Masks, 1, 0},
                      MethodRow{"loto6_enumeration", GameMode::Loto6, BacktestMethod::Enumeration, 2, 20000},
                      MethodRow{"loto7_masks", GameMode::Loto7, BacktestMethod::Masks, 1, 20000},
                      MethodRow{"loto7_masks_threads", GameMode::Loto7, BacktestMethod::Masks, 2, 20000},
                      MethodRow{"loto7_masks_small", GameMode::Loto7, BacktestMethod::Masks, 1, 0},
                      MethodRow{"loto7_enumeration", GameMode::Loto7, BacktestMethod::Enumeration, 2, 20000}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Backtest, EmptyListAndNoDraws) {
    const std::vector<BacktestDraw> draws = readBacktestDraws(fullHistory(GameMode::Loto6));
    for (BacktestMethod method : {BacktestMethod::Masks, BacktestMethod::Enumeration}) {
        const BacktestResult r = RunBacktest(CombinationList(GameMode::Loto6), draws, {}, {method, 0});
        ASSERT_EQ(r.rows.size(), 2137u);
        const BacktestSummary s = SummarizeBacktest(r, 0, r.rows.size());
        EXPECT_EQ(s.money, 0);
        EXPECT_EQ(s.cost, 0);
        EXPECT_FALSE(s.best.has_value());
        EXPECT_EQ(FormatReturnPercent(s), "--");
    }
    EXPECT_TRUE(RunBacktest(CombinationList(GameMode::Loto6), {}).rows.empty());
}

TEST(Backtest, StopLeavesAnIncompleteResult) {
    const std::vector<BacktestDraw> draws = readBacktestDraws(fullHistory(GameMode::Loto6));
    const CombinationList list = testList(GameMode::Loto6, {}, 70000, 3);
    for (int threads : {1, 2}) {
        int calls = 0;
        const BacktestResult r =
            RunBacktest(list, draws, [&](int) { return ++calls < 3; }, {BacktestMethod::Masks, threads});
        EXPECT_FALSE(r.completed);
        EXPECT_EQ(calls, 3);
    }
}

// The draws as the prize check takes them from the board, for every round
// of the full history of both games.
TEST(BacktestDraws, AreTheDrawsThePrizeCheckMarks) {
    for (GameMode mode : {GameMode::MiniLoto, GameMode::Loto6}) {
        const HistoryStore history = fullHistory(mode);
        const std::vector<BacktestDraw> draws = readBacktestDraws(history);
        ASSERT_EQ(static_cast<int>(draws.size()), history.drawCount());
        NumberBoard board(mode);
        for (const BacktestDraw& d : draws) {
            ShowDrawOnBoard(history, d.round, board);
            ASSERT_EQ(d.winning, winningNumbersFromBoard(board)) << d.round;
        }
    }
    const std::vector<BacktestDraw> mini = readBacktestDraws(fullHistory(GameMode::MiniLoto));
    EXPECT_EQ(mini.size(), 1403u);
    EXPECT_EQ(mini[0].date, "H11. 4.13");
    EXPECT_EQ(mini[1402].date, "R08. 9. 8");
    EXPECT_EQ(mini[0].winning, makeWinningNumbers(GameMode::MiniLoto, std::array{1, 3, 17, 20, 25}.data(), 5, 26));
}

TEST(BacktestDraws, MalformedLinesAreDrawsThatAreNotChecked) {
    HistoryStore history;
    history.loadFromText(
        "[ミニロト当選番号]\n"
        "第  1回(H11. 4.13)=01,03,17,20,25,26\n"
        "第  2回(H11. 4.27)=02,11,12,21,30\n"     // no bonus: the first main is read as none
        "第  3回(H11. 5.11)=01,08,10,24,30,30\n"  // the bonus is a main number
        "第  4回 H11. 5.25 =11,12,14,20,32,29\n"  // 32 is out of range, no date
        "junk\n"
        "\n",
        GameMode::MiniLoto);
    const std::vector<BacktestDraw> draws = readBacktestDraws(history);
    ASSERT_EQ(draws.size(), 5u);
    EXPECT_TRUE(draws[0].winning.has_value());
    for (std::size_t i = 1; i < 5; ++i) EXPECT_FALSE(draws[i].winning.has_value()) << i;
    EXPECT_EQ(draws[3].date, "");
    CombinationList list(GameMode::MiniLoto);
    list.appendText("1,3,17,20,25\n2,11,12,21,30\n");
    for (BacktestMethod method : {BacktestMethod::Masks, BacktestMethod::Enumeration}) {
        const BacktestResult r = RunBacktest(list, draws, {}, {method, 1});
        EXPECT_TRUE(r.rows[0].checked);
        EXPECT_EQ(r.rows[0].hits[0], 1);
        EXPECT_FALSE(r.rows[1].checked);
        EXPECT_EQ(r.rows[1].hits, (std::array<int, kMaxGrades>{}));
        const BacktestSummary s = SummarizeBacktest(r, 0, 5);
        EXPECT_EQ(s.draws, 5);
        EXPECT_EQ(s.uncheckedDraws, 4);
        EXPECT_EQ(s.cost, 2 * 200 * 5);
        EXPECT_EQ(backtestRowCells(GameMode::MiniLoto, r.rows[1]),
                  (std::vector<std::string>{"2", "H11. 4.27", "-", "-", "-", "-", "-"}));
    }
}

struct RangeRow {
    const char* name;
    long long from, to;
    int drawCount;
    std::optional<RoundRange> expected;
};

class BacktestRange : public ::testing::TestWithParam<RangeRow> {};

TEST_P(BacktestRange, ClampsLikeTheRoundField) {
    EXPECT_EQ(clampRoundRange(GetParam().from, GetParam().to, GetParam().drawCount), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, BacktestRange,
                         ::testing::Values(RangeRow{"whole", 1, 2130, 2130, RoundRange{1, 2130}},
                                           RangeRow{"inside", 500, 600, 2130, RoundRange{500, 600}},
                                           RangeRow{"one_draw", 7, 7, 2130, RoundRange{7, 7}},
                                           RangeRow{"below_and_above", -5, 99999, 2130, RoundRange{1, 2130}},
                                           RangeRow{"zero", 0, 0, 2130, RoundRange{1, 1}},
                                           RangeRow{"both_above", 3000, 2500, 2130, RoundRange{2130, 2130}},
                                           RangeRow{"reversed", 10, 5, 2130, std::nullopt},
                                           RangeRow{"no_draws", 1, 1, 0, std::nullopt}),
                         [](const auto& row) { return std::string(row.param.name); });

// ロト６ draw 1 is 02,08,10,13,27,30 with bonus 39: one combination of
// each grade, and a loser.
CombinationList oneOfEachGrade() {
    CombinationList list(GameMode::Loto6);
    list.appendText(
        " 2, 8,10,13,27,30\n"    // 一等
        " 2, 8,10,13,27,39\n"    // 二等
        " 2, 8,10,13,27,43\n"    // 三等
        " 2, 8,10,13,39,43\n"    // 四等 (the bonus does not lift it)
        " 2, 8,10,41,42,43\n"    // 五等
        " 2, 8,39,41,42,43\n");  // nothing
    return list;
}

TEST(BacktestMoney, RowsSummaryAndTable) {
    const HistoryStore history = fullHistory(GameMode::Loto6);
    const std::vector<BacktestDraw> all = readBacktestDraws(history);
    const std::vector<BacktestDraw> draws(all.begin(), all.begin() + 3);
    const BacktestResult r = RunBacktest(oneOfEachGrade(), draws);
    ASSERT_EQ(r.rows.size(), 3u);
    EXPECT_EQ(r.rows[0].hits, (std::array<int, kMaxGrades>{1, 1, 1, 1, 1}));
    const std::int64_t first = 100003400 + 15000300 + 500000 + 9500 + 1000;
    EXPECT_EQ(r.rows[0].money, first);

    const BacktestSummary s = SummarizeBacktest(r, 0, 3);
    EXPECT_EQ(s.draws, 3);
    EXPECT_EQ(s.cost, 6 * 200 * 3);
    std::int64_t money = 0;
    std::array<std::int64_t, kMaxGrades> hits{};
    for (const BacktestRow& row : r.rows) {
        money += row.money;
        for (std::size_t g = 0; g < kMaxGrades; ++g) hits[g] += row.hits[g];
    }
    EXPECT_EQ(s.money, money);
    EXPECT_EQ(s.hits, hits);
    EXPECT_EQ(s.best, 0u);
    char expected[32];
    std::snprintf(expected, sizeof expected, "%.1f%%", static_cast<double>(money) * 100.0 / (6 * 200 * 3));
    EXPECT_EQ(FormatReturnPercent(s), expected);

    // Rows 1..2 alone: the summary of a part of the result.
    const BacktestSummary tail = SummarizeBacktest(r, 1, 3);
    EXPECT_EQ(tail.draws, 2);
    EXPECT_EQ(tail.money, money - first);
    EXPECT_EQ(tail.cost, 6 * 200 * 2);

    const auto table = backtestTable(r, 0, 1);
    ASSERT_EQ(table.size(), 4u);
    EXPECT_EQ(table[0], (std::vector<std::string>{"回", "日付", "一等", "二等", "三等", "四等", "五等", "当選金額"}));
    EXPECT_EQ(table[1], (std::vector<std::string>{"1", "H12.10. 5", "1", "1", "1", "1", "1", std::to_string(first)}));
    EXPECT_EQ(table[2], (std::vector<std::string>{"合計", "1", "1", "1", "1", "1", "1", std::to_string(first)}));
    EXPECT_EQ(table[3], (std::vector<std::string>{"購入金額", "1200"}));
    EXPECT_EQ(backtestHeader(GameMode::MiniLoto),
              (std::vector<std::string>{"回", "日付", "一等", "二等", "三等", "四等", "当選金額"}));
}

TEST(BacktestCsv, QuotesAndBytes) {
    EXPECT_EQ(csvLine({"1", "H11. 4.13", "0"}), "1,H11. 4.13,0");
    EXPECT_EQ(csvLine({"a,b", "say \"x\"", ""}), "\"a,b\",\"say \"\"x\"\"\",");
    history_test::TempFolder dir;
    const auto path = dir.path / "bt.csv";
    saveBacktestCsv(path, {{"回", "当選金額"}, {"1", "1000"}});
    // "回" and "当選金額" in cp932, every line ending CR LF.
    EXPECT_EQ(history_test::slurp(path), "\x89\xf1,\x93\x96\x91\x49\x8b\xe0\x8a\x7a\r\n1,1000\r\n");
}

// ---------------------------------------------------------------- command line

using tambor::testing::CliRun;
using tambor::testing::runCli;

struct CliFolder : history_test::TempFolder {
    CliFolder() { std::filesystem::copy_file(TAMBOR_BUILTIN_HISTORY_FILE, path / "lotodata.txt"); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return "'" + (path / name).string() + "'";
    }
    std::string data() const { return " --data '" + path.string() + "'"; }
};

// "[ロト６]" in cp932.
const std::string kLoto6Header = "[\x83\x8D\x83\x67\x82\x55]\r\n\r\n";

TEST(BacktestCommand, PrintsTheTableOfTheRange) {
    CliFolder dir;
    const std::string file = dir.write("l6.txt", kLoto6Header +
                                                     " 2, 8,10,13,27,30\r\n 2, 8,10,13,27,39\r\n 2, 8,10,13,27,43\r\n"
                                                     " 2, 8,10,13,39,43\r\n 2, 8,10,41,42,43\r\n 2, 8,39,41,42,43\r\n");
    const CliRun run = runCli("backtest " + file + dir.data() + " --to 2");
    EXPECT_EQ(run.exitCode, 0);
    // Draw 2 is 01,09,16,20,21,43 + 05: nothing.
    EXPECT_EQ(run.out,
              "回\t日付\t一等\t二等\t三等\t四等\t五等\t当選金額\n"
              "1\tH12.10. 5\t1\t1\t1\t1\t1\t115514200\n"
              "2\tH12.10.12\t0\t0\t0\t0\t0\t0\n"
              "合計\t2\t1\t1\t1\t1\t1\t115514200\n"
              "購入金額\t2400\n");
    // The whole history by default, and clamped ends.
    const CliRun all = runCli("backtest " + file + dir.data());
    EXPECT_EQ(all.exitCode, 0);
    EXPECT_NE(all.out.find("\n2137\tR08. 9.14\t"), std::string::npos);
    EXPECT_NE(all.out.find("\n合計\t2137\t"), std::string::npos);
    EXPECT_NE(all.out.find("\n購入金額\t2564400\n"), std::string::npos);
    const CliRun clamped = runCli("backtest " + file + dir.data() + " --from 0 --to 99999");
    EXPECT_EQ(clamped.out, all.out);
    const CliRun newest = runCli("backtest " + file + dir.data() + " --from 5000");
    EXPECT_EQ(newest.exitCode, 0);
    EXPECT_NE(newest.out.find("\n合計\t1\t"), std::string::npos);
}

TEST(BacktestCommand, RefusesBadArgumentsAndUnreadableFiles) {
    CliFolder dir;
    const std::string file = dir.write("l6.txt", kLoto6Header + " 1, 2, 3, 4, 5, 6\r\n");
    EXPECT_EQ(runCli("backtest " + file + dir.data() + " --from 10 --to 5").exitCode, 2);
    EXPECT_EQ(runCli("backtest " + file + dir.data() + " --from abc").exitCode, 2);
    EXPECT_EQ(runCli("backtest " + file + dir.data() + " --round 3").exitCode, 2);
    EXPECT_EQ(runCli("backtest" + dir.data()).exitCode, 2);
    EXPECT_EQ(runCli("backtest '" + (dir.path / "none.txt").string() + "'" + dir.data()).exitCode, 1);
}

}  // namespace
