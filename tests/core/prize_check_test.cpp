#include <gtest/gtest.h>

#include "cli_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "core/combination.h"
#include "core/combination_set.h"
#include "core/number_board.h"
#include "history/prize_check.h"

using namespace tambor;

namespace {

WinningNumbers winning(GameMode mode, std::initializer_list<int> mains, int bonus) {
    const std::vector<int> v(mains);
    auto w = makeWinningNumbers(mode, v.data(), static_cast<int>(v.size()), bonus);
    EXPECT_TRUE(w.has_value());
    return *w;
}

void list(GameMode mode, CombinationSet& set, std::initializer_list<int> numbers) {
    SetAdd(mode, set, makeCombination(numbers));
}

// The grade a combination wins by counting, 0 for none.
int gradeByCounting(GameMode mode, const Combination& c, const WinningNumbers& w) {
    const int k = rulesFor(mode).pickCount;
    int m = 0;
    bool b = false;
    for (int n : c) {
        for (int i = 0; i < w.mainCount; ++i) m += w.main[static_cast<std::size_t>(i)] == n;
        for (int i = 0; i < w.bonusCount; ++i) b = b || n == w.bonus[static_cast<std::size_t>(i)];
    }
    if (m == k) return 1;
    if (m == k - 1) return b ? 2 : 3;
    if (m == k - 2) return 4;
    if (m == k - 3 && mode != GameMode::MiniLoto) return 5;
    if (m == k - 4 && b && mode == GameMode::Loto7) return 6;
    return 0;
}

// " 1, 3, 8,10,15,22" back to its numbers.
Combination parseLine(const std::string& line) {
    Combination c;
    const char* p = line.c_str();
    while (*p && c.size < kMaxPick) {
        char* end = nullptr;
        c.numbers[static_cast<std::size_t>(c.size++)] = static_cast<int>(std::strtol(p, &end, 10));
        p = *end == ',' ? end + 1 : end;
    }
    return c;
}

const WinningNumbers kLoto6 = winning(GameMode::Loto6, {3, 8, 15, 22, 30, 41}, 10);
const WinningNumbers kMini = winning(GameMode::MiniLoto, {2, 9, 14, 20, 27}, 5);

WinningNumbers winning7(std::initializer_list<int> mains, std::initializer_list<int> bonuses) {
    const std::vector<int> m(mains), b(bonuses);
    auto w = makeWinningNumbers(GameMode::Loto7, m.data(), static_cast<int>(m.size()), b.data(), static_cast<int>(b.size()));
    EXPECT_TRUE(w.has_value());
    return *w;
}

// ロト７ 第1回: 07,10,12,17,23,28,34 with the bonus numbers 03 and 15.
const WinningNumbers kLoto7 = winning7({7, 10, 12, 17, 23, 28, 34}, {15, 3});

const WinningNumbers& winningOf(GameMode mode) {
    return mode == GameMode::Loto7 ? kLoto7 : mode == GameMode::Loto6 ? kLoto6 : kMini;
}

}  // namespace

TEST(PrizeCheck, FirstGradeLoto6) {
    CombinationSet set;
    list(GameMode::Loto6, set, {3, 8, 15, 22, 30, 41});
    const auto r = RunPrizeCheck(GameMode::Loto6, kLoto6, set);
    const std::vector<std::string> expected{"一等", "  3, 8,15,22,30,41", "二等", "三等", "四等", "五等"};
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.hits, (std::array<int, kMaxGrades>{1, 0, 0, 0, 0}));
    EXPECT_EQ(r.money, 100003400);
    EXPECT_EQ(r.moneyText, "約 1億3400円");
}

TEST(PrizeCheck, FirstGradeMiniLoto) {
    CombinationSet set;
    list(GameMode::MiniLoto, set, {2, 9, 14, 20, 27});
    const auto r = RunPrizeCheck(GameMode::MiniLoto, kMini, set);
    const std::vector<std::string> expected{"一等", "  2, 9,14,20,27", "二等", "三等", "四等"};
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.moneyText, "約 1004万6800円");
}

TEST(PrizeCheck, FifthGradeOnlyIsFixedMoney) {
    CombinationSet set;
    list(GameMode::Loto6, set, {3, 8, 15, 1, 2, 4});
    list(GameMode::Loto6, set, {22, 30, 41, 10, 11, 12});  // the bonus does not lift a fifth grade
    list(GameMode::Loto6, set, {3, 22, 41, 40, 42, 43});
    list(GameMode::Loto6, set, {3, 8, 1, 2, 4, 5});  // two main numbers: nothing
    const auto r = RunPrizeCheck(GameMode::Loto6, kLoto6, set);
    EXPECT_EQ(r.hits, (std::array<int, kMaxGrades>{0, 0, 0, 0, 3}));
    EXPECT_EQ(r.moneyText, "3000円");
}

TEST(PrizeCheck, MiniLotoFourthGradeIsApproximate) {
    CombinationSet set;
    list(GameMode::MiniLoto, set, {2, 9, 14, 1, 3});
    list(GameMode::MiniLoto, set, {14, 20, 27, 5, 31});  // bonus among the other two
    const auto r = RunPrizeCheck(GameMode::MiniLoto, kMini, set);
    EXPECT_EQ(r.hits, (std::array<int, kMaxGrades>{0, 0, 0, 2, 0}));
    EXPECT_EQ(r.moneyText, "約 2000円");
}

TEST(PrizeCheck, NoHitsShowsHeadingsOnly) {
    CombinationSet set;
    list(GameMode::Loto6, set, {1, 2, 4, 5, 6, 7});
    const auto loto6 = RunPrizeCheck(GameMode::Loto6, kLoto6, set);
    EXPECT_EQ(loto6.lines, (std::vector<std::string>{"一等", "二等", "三等", "四等", "五等"}));
    EXPECT_EQ(loto6.hits, (std::array<int, kMaxGrades>{}));
    EXPECT_EQ(loto6.moneyText, "0円");
    const auto mini = RunPrizeCheck(GameMode::MiniLoto, kMini, CombinationSet{});
    EXPECT_EQ(mini.lines, (std::vector<std::string>{"一等", "二等", "三等", "四等"}));
    EXPECT_EQ(mini.moneyText, "0円");
}

TEST(PrizeCheck, FourMainPlusBonusIsFourthGrade) {
    CombinationSet set;
    list(GameMode::Loto6, set, {3, 8, 15, 22, 10, 1});
    const auto r = RunPrizeCheck(GameMode::Loto6, kLoto6, set);
    EXPECT_EQ(r.hits, (std::array<int, kMaxGrades>{0, 0, 0, 1, 0}));
    EXPECT_EQ(r.lines, (std::vector<std::string>{"一等", "二等", "三等", "四等", "  1, 3, 8,10,15,22", "五等"}));
    EXPECT_EQ(r.moneyText, "約 9500円");
}

TEST(PrizeCheck, SecondAndThirdGradeOrder) {
    // Subsets of the main numbers in lexicographic order of positions, the
    // other number varying fastest.
    CombinationSet set;
    list(GameMode::MiniLoto, set, {2, 9, 14, 20, 5});   // 2-9-14-20 + bonus
    list(GameMode::MiniLoto, set, {9, 14, 20, 27, 5});  // 9-14-20-27 + bonus
    list(GameMode::MiniLoto, set, {2, 9, 14, 20, 31});  // 2-9-14-20 + 31
    list(GameMode::MiniLoto, set, {2, 9, 14, 27, 1});   // 2-9-14-27 + 1
    list(GameMode::MiniLoto, set, {2, 9, 14, 20, 1});   // 2-9-14-20 + 1
    const auto r = RunPrizeCheck(GameMode::MiniLoto, kMini, set);
    const std::vector<std::string> expected{"一等",           "二等",           "  2, 5, 9,14,20", "  5, 9,14,20,27",
                                            "三等",           "  1, 2, 9,14,20", "  2, 9,14,20,31", "  1, 2, 9,14,27",
                                            "四等"};
    EXPECT_EQ(r.lines, expected);
    EXPECT_EQ(r.money, 2 * 144300 + 3 * 10000);
    EXPECT_EQ(r.moneyText, "約 31万8600円");
}

class PrizeCheckAllCandidates : public ::testing::TestWithParam<GameMode> {};

// With every combination of the game listed, each grade finds exactly its
// winning combinations, each once, and every line wins the grade it is under.
TEST_P(PrizeCheckAllCandidates, EveryWinnerFoundOnceUnderItsGrade) {
    const GameMode mode = GetParam();
    const WinningNumbers& w = winningOf(mode);
    CombinationSet all;
    for (CombinationIndex i = 0; i < rulesFor(mode).combinationCount; ++i) all.add(i);
    const auto r = RunPrizeCheck(mode, w, all);

    const int grades = prizeGradeCount(mode);
    std::set<std::string> seen;
    int grade = 0;
    std::array<int, kMaxGrades> perGrade{};
    for (const std::string& line : r.lines) {
        if (line[0] != ' ') {
            ++grade;
            ASSERT_EQ(line, prizeGradeHeading(grade));
            continue;
        }
        ASSERT_TRUE(seen.insert(line).second) << line;
        const Combination c = parseLine(line);
        ASSERT_TRUE(isValidCombination(mode, c)) << line;
        ASSERT_EQ(FormatCombinationLine(c), line);
        ASSERT_EQ(gradeByCounting(mode, c, w), grade) << line;
        ++perGrade[static_cast<std::size_t>(grade - 1)];
    }
    EXPECT_EQ(grade, grades);
    std::int64_t money = 0;
    for (int g = 1; g <= grades; ++g) {
        EXPECT_EQ(r.hits[static_cast<std::size_t>(g - 1)], prizeGradeCandidateCount(mode, g));
        EXPECT_EQ(perGrade[static_cast<std::size_t>(g - 1)], prizeGradeCandidateCount(mode, g));
        money += prizeGradeCandidateCount(mode, g) * prizeGradeAmount(mode, g);
    }
    EXPECT_EQ(static_cast<std::int32_t>(seen.size()), prizeCandidateCount(mode));
    EXPECT_EQ(r.money, money);
    const char* const expected[] = {"約 1526万8300円", "約 5億4831万200円", "約 13億8395万8800円"};
    EXPECT_EQ(r.moneyText, expected[static_cast<int>(mode)]);
}

// Listing only the winners of one grade (found by counting over the whole
// game) gives exactly that grade's full count and nothing else: every
// candidate is looked up at its own index.
TEST_P(PrizeCheckAllCandidates, EachGradeAloneByCounting) {
    const GameMode mode = GetParam();
    const GameRules rules = rulesFor(mode);
    const WinningNumbers& w = winningOf(mode);
    std::vector<CombinationSet> byGrade(kMaxGrades);
    Combination c = UnrankCombination(mode, 0);
    for (CombinationIndex i = 0; i < rules.combinationCount; ++i) {
        const int g = gradeByCounting(mode, c, w);
        if (g > 0) byGrade[static_cast<std::size_t>(g - 1)].add(i);
        int pos = rules.pickCount - 1;
        while (pos >= 0 && c.numbers[pos] == rules.maxNumber - (rules.pickCount - 1 - pos)) --pos;
        if (pos < 0) break;
        ++c.numbers[pos];
        for (int j = pos + 1; j < rules.pickCount; ++j) c.numbers[j] = c.numbers[j - 1] + 1;
    }
    for (int g = 1; g <= prizeGradeCount(mode); ++g) {
        const auto r = RunPrizeCheck(mode, w, byGrade[static_cast<std::size_t>(g - 1)]);
        for (int h = 1; h <= prizeGradeCount(mode); ++h)
            EXPECT_EQ(r.hits[static_cast<std::size_t>(h - 1)], h == g ? prizeGradeCandidateCount(mode, g) : 0)
                << "listed grade " << g << ", counted grade " << h;
    }
}

// A random list: the hits per grade equal a plain count over the list.
TEST_P(PrizeCheckAllCandidates, RandomListMatchesCounting) {
    const GameMode mode = GetParam();
    const WinningNumbers& w = winningOf(mode);
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<CombinationIndex> pick(0, rulesFor(mode).combinationCount - 1);
    CombinationSet set;
    std::array<int, kMaxGrades> expected{};
    for (int i = 0; i < 40000; ++i) {
        const CombinationIndex index = pick(rng);
        if (set.add(index)) continue;
        const int g = gradeByCounting(mode, UnrankCombination(mode, index), w);
        if (g > 0) ++expected[static_cast<std::size_t>(g - 1)];
    }
    // The winning numbers themselves, so the first grade has a hit too.
    Combination first;
    first.size = w.mainCount;
    first.numbers = w.main;
    if (!SetAdd(mode, set, first)) ++expected[0];
    const auto r = RunPrizeCheck(mode, w, set);
    EXPECT_EQ(r.hits, expected);
}

INSTANTIATE_TEST_SUITE_P(Games, PrizeCheckAllCandidates, ::testing::ValuesIn(kAllGames),
                         [](const auto& row) { return std::string(rulesFor(row.param).cliName); });

// The ロト７ bonus rules at their edges: the second grade needs a bonus
// number as the seventh; the sixth needs one among the four that are not
// main, and a ticket holding both bonus numbers still wins one grade once.
TEST(PrizeCheck, Loto7BonusEdges) {
    CombinationSet set;
    list(GameMode::Loto7, set, {7, 10, 12, 17, 23, 28, 3});   // 6 main + bonus 3: second
    list(GameMode::Loto7, set, {7, 10, 12, 17, 23, 28, 1});   // 6 main + other: third
    list(GameMode::Loto7, set, {7, 10, 12, 17, 23, 3, 15});   // 5 main + both bonus: fourth
    list(GameMode::Loto7, set, {7, 10, 12, 17, 3, 15, 1});    // 4 main + both bonus: fifth
    list(GameMode::Loto7, set, {7, 10, 12, 3, 15, 1, 2});     // 3 main + both bonus: sixth
    list(GameMode::Loto7, set, {7, 10, 12, 15, 1, 2, 4});     // 3 main + bonus 15: sixth
    list(GameMode::Loto7, set, {7, 10, 12, 1, 2, 4, 5});      // 3 main, no bonus: nothing
    list(GameMode::Loto7, set, {7, 10, 3, 15, 1, 2, 4});      // 2 main + both bonus: nothing
    const auto r = RunPrizeCheck(GameMode::Loto7, kLoto7, set);
    EXPECT_EQ(r.hits, (std::array<int, kMaxGrades>{0, 1, 1, 1, 1, 2}));
    EXPECT_EQ(r.money, 6077700 + 500000 + 6500 + 1400 + 2 * 1000);
    EXPECT_EQ(r.moneyText, "約 658万7600円");
    const std::vector<std::string> expected{"一等", "二等", "  3, 7,10,12,17,23,28", "三等", "  1, 7,10,12,17,23,28",
                                            "四等", "  3, 7,10,12,15,17,23", "五等", "  1, 3, 7,10,12,15,17", "六等",
                                            "  1, 2, 4, 7,10,12,15", "  1, 2, 3, 7,10,12,15"};
    EXPECT_EQ(r.lines, expected);
}

TEST(PrizeCheck, Loto7WinningNumbersNeedTwoDistinctBonusNumbers) {
    const int mains[] = {1, 2, 3, 4, 5, 6, 7};
    const int one[] = {9}, same[] = {9, 9}, mainBonus[] = {7, 9}, outside[] = {9, 38}, good[] = {30, 9};
    EXPECT_FALSE(makeWinningNumbers(GameMode::Loto7, mains, 7, one, 1));
    EXPECT_FALSE(makeWinningNumbers(GameMode::Loto7, mains, 7, same, 2));
    EXPECT_FALSE(makeWinningNumbers(GameMode::Loto7, mains, 7, mainBonus, 2));
    EXPECT_FALSE(makeWinningNumbers(GameMode::Loto7, mains, 7, outside, 2));
    EXPECT_FALSE(makeWinningNumbers(GameMode::Loto6, mains, 6, good, 2));
    const auto w = makeWinningNumbers(GameMode::Loto7, mains, 7, good, 2);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->bonus, (std::array<int, kMaxBonus>{9, 30}));
}

TEST(PrizeCheck, ProgressIsSparseAndEndsAtHundred) {
    CombinationSet all;
    for (CombinationIndex i = 0; i < rulesFor(GameMode::Loto6).combinationCount; i += 3) all.add(i);
    std::vector<int> seen;
    RunPrizeCheck(GameMode::Loto6, kLoto6, all, [&](int percent) {
        seen.push_back(percent);
        return true;
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_LE(seen.size(), 101u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    EXPECT_EQ(seen.back(), 100);
}

struct MoneyRow {
    const char* name;
    GameMode mode;
    std::int64_t total;
    int fifthHits;
    const char* text;
};

class PrizeMoneyText : public ::testing::TestWithParam<MoneyRow> {};

TEST_P(PrizeMoneyText, Formats) {
    const MoneyRow& row = GetParam();
    EXPECT_EQ(FormatPrizeMoney(row.mode, row.total, row.fifthHits), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PrizeMoneyText,
    ::testing::Values(MoneyRow{"loto6_first", GameMode::Loto6, 100003400, 0, "約 1億3400円"},
                      MoneyRow{"loto6_second", GameMode::Loto6, 15000300, 0, "約 1500万300円"},
                      MoneyRow{"loto6_fifth_only", GameMode::Loto6, 3000, 3, "3000円"},
                      MoneyRow{"loto6_fifth_and_fourth", GameMode::Loto6, 10500, 1, "約 1万500円"},
                      MoneyRow{"loto6_zero", GameMode::Loto6, 0, 0, "0円"},
                      MoneyRow{"mini_fourth", GameMode::MiniLoto, 2000, 0, "約 2000円"},
                      MoneyRow{"mini_zero", GameMode::MiniLoto, 0, 0, "0円"},
                      MoneyRow{"mini_ten_thousand", GameMode::MiniLoto, 10000, 0, "約 1万円"}),
    [](const auto& row) { return std::string(row.param.name); });

struct WinningRow {
    const char* name;
    GameMode mode;
    std::vector<int> mains;
    int bonus;
    bool valid;
};

class WinningNumbersCheck : public ::testing::TestWithParam<WinningRow> {};

TEST_P(WinningNumbersCheck, AcceptsOnlyCompleteDraws) {
    const WinningRow& row = GetParam();
    const auto w = makeWinningNumbers(row.mode, row.mains.data(), static_cast<int>(row.mains.size()), row.bonus);
    EXPECT_EQ(w.has_value(), row.valid);
    if (w) {
        EXPECT_TRUE(std::is_sorted(w->main.begin(), w->main.begin() + w->mainCount));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WinningNumbersCheck,
    ::testing::Values(WinningRow{"loto6_ok_unsorted", GameMode::Loto6, {41, 3, 8, 30, 15, 22}, 10, true},
                      WinningRow{"mini_ok", GameMode::MiniLoto, {1, 2, 3, 4, 31}, 30, true},
                      WinningRow{"too_few_mains", GameMode::Loto6, {1, 2, 3, 4, 5}, 10, false},
                      WinningRow{"too_many_mains", GameMode::MiniLoto, {1, 2, 3, 4, 5, 6}, 10, false},
                      WinningRow{"repeated_main", GameMode::MiniLoto, {1, 2, 2, 4, 5}, 10, false},
                      WinningRow{"main_out_of_range", GameMode::MiniLoto, {1, 2, 3, 4, 32}, 10, false},
                      WinningRow{"main_zero", GameMode::Loto6, {0, 2, 3, 4, 5, 6}, 10, false},
                      WinningRow{"bonus_is_main", GameMode::Loto6, {1, 2, 3, 4, 5, 6}, 6, false},
                      WinningRow{"bonus_zero", GameMode::Loto6, {1, 2, 3, 4, 5, 6}, 0, false},
                      WinningRow{"bonus_out_of_range", GameMode::MiniLoto, {1, 2, 3, 4, 5}, 32, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(PrizeCheck, BoardMarksMustBeComplete) {
    NumberBoard board(GameMode::MiniLoto);
    const int five[] = {2, 9, 14, 20, 27};
    const int bonus[] = {5};
    board.markDraw(five, 4, bonus, 1);  // only four main numbers
    EXPECT_FALSE(winningNumbersFromBoard(board).has_value());
    board.markDraw(five, 5, bonus, 0);  // no bonus
    EXPECT_FALSE(winningNumbersFromBoard(board).has_value());
    board.markDraw(five, 5, bonus, 1);
    const auto w = winningNumbersFromBoard(board);
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(*w, kMini);
}

struct RoundRow {
    const char* name;
    const char* text;
    int drawCount;
    int round;
};

class RoundSelector : public ::testing::TestWithParam<RoundRow> {};

TEST_P(RoundSelector, ClampsAndFallsBackToNewest) {
    const RoundRow& row = GetParam();
    EXPECT_EQ(RoundFromText(row.text, row.drawCount), row.round);
}

INSTANTIATE_TEST_SUITE_P(Rows, RoundSelector,
                         ::testing::Values(RoundRow{"plain", "12", 111, 12}, RoundRow{"newest", "111", 111, 111},
                                           RoundRow{"zero_gives_one", "0", 111, 1},
                                           RoundRow{"negative_gives_one", "-4", 111, 1},
                                           RoundRow{"above_gives_newest", "9999", 175, 175},
                                           RoundRow{"overflow_is_not_a_number", "99999999999", 175, 175},
                                           RoundRow{"leading_blanks", "  7", 175, 7},
                                           RoundRow{"letters_give_newest", "abc", 175, 175},
                                           RoundRow{"trailing_garbage_gives_newest", "12a", 175, 175},
                                           RoundRow{"empty_gives_newest", "", 175, 175},
                                           RoundRow{"no_draws", "5", 0, 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(RoundSelectorText, EmptyTextMeansHandMarks) {
    EXPECT_FALSE(SelectedRound("", 111).has_value());
    EXPECT_EQ(SelectedRound("0", 111), 1);
    EXPECT_EQ(SelectedRound("x", 111), 111);
}

// The command line: a combination file checked against the built-in history.
namespace {

using tambor::testing::CliRun;
using tambor::testing::runCli;

struct CheckFolder {
    std::filesystem::path path;
    CheckFolder() {
        path = std::filesystem::temp_directory_path() / ("tambor-check-" + std::to_string(::getpid()) + "-" +
                                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~CheckFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return "'" + (path / name).string() + "'";
    }
    std::string data() const { return " --data '" + path.string() + "'"; }
};

// "[ロト６]" and "[ミニロト]" in cp932.
const std::string kLoto6Header = "[\x83\x8D\x83\x67\x82\x55]\r\n\r\n";
const std::string kMiniHeader = "[\x83\x7E\x83\x6A\x83\x8D\x83\x67]\r\n\r\n";

}  // namespace

TEST(CheckCommand, NewestDrawByDefaultAndClampedRounds) {
    CheckFolder dir;
    // The newest built-in ロト６ draw is 04,08,10,25,28,33 with bonus 09.
    const std::string file = dir.write("l6.txt", kLoto6Header + " 4, 8,10,25,28,33\r\n 1, 4, 8,10,25, 9\r\n");
    const std::string expected =
        "一等\n  4, 8,10,25,28,33\n二等\n三等\n四等\n  1, 4, 8, 9,10,25\n五等\n"
        "一等\t1\n二等\t0\n三等\t0\n四等\t1\n五等\t0\n約 1億1万2900円\n";
    const CliRun newest = runCli("check " + file + dir.data());
    EXPECT_EQ(newest.exitCode, 0);
    EXPECT_EQ(newest.out, expected);
    EXPECT_EQ(runCli("check " + file + dir.data() + " --round 9999").out, expected);
    EXPECT_EQ(runCli("check " + file + dir.data() + " --round 2137").out, expected);
    const CliRun first = runCli("check " + file + dir.data() + " --round 0");  // draw 1: no hits
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_NE(first.out.find("\n0円\n"), std::string::npos);
}

TEST(CheckCommand, HandMarkedNumbersAndHeaderGame) {
    CheckFolder dir;
    // The header switches to ミニロト whatever --game says.
    const std::string file = dir.write("mini.txt", kMiniHeader + " 1, 2, 3, 4, 5\r\n 1, 2, 3,30,31\r\n");
    const CliRun run = runCli("check " + file + " --game loto6 --main 5,4,3,2,1 --bonus 6");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "一等\n  1, 2, 3, 4, 5\n二等\n三等\n四等\n  1, 2, 3,30,31\n"
              "一等\t1\n二等\t0\n三等\t0\n四等\t1\n約 1004万7800円\n");
}

// ロト７ takes both bonus numbers: --bonus a,b.
TEST(CheckCommand, Loto7TwoBonusNumbers) {
    CheckFolder dir;
    const std::string header = "[\x83\x8D\x83\x67\x82\x56]\r\n\r\n";  // "[ロト７]"
    const std::string file = dir.write("l7.txt", header + " 3, 7,10,12,17,23,28\r\n 1, 2, 3, 7,10,12,15\r\n");
    const CliRun run = runCli("check " + file + " --main 7,10,12,17,23,28,34 --bonus 15,3");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
              "一等\n二等\n  3, 7,10,12,17,23,28\n三等\n四等\n五等\n六等\n  1, 2, 3, 7,10,12,15\n"
              "一等\t0\n二等\t1\n三等\t0\n四等\t0\n五等\t0\n六等\t1\n約 607万8700円\n");
    for (const char* bad : {"--bonus 3", "--bonus 3,3", "--bonus 3,7", "--bonus 3,15,20", "--bonus 3,38"})
        EXPECT_EQ(runCli("check " + file + " --main 7,10,12,17,23,28,34 " + bad).exitCode, 2) << bad;
}

struct BadCheckRow {
    const char* name;
    const char* arguments;
};

class CheckCommandRefuses : public ::testing::TestWithParam<BadCheckRow> {};

TEST_P(CheckCommandRefuses, WithUsageError) {
    CheckFolder dir;
    const std::string file = dir.write("l6.txt", kLoto6Header + " 1, 2, 3, 4, 5, 6\r\n");
    EXPECT_EQ(runCli("check " + file + dir.data() + " " + GetParam().arguments).exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Rows, CheckCommandRefuses,
                         ::testing::Values(BadCheckRow{"five_mains", "--main 1,2,3,4,5 --bonus 7"},
                                           BadCheckRow{"main_without_bonus", "--main 1,2,3,4,5,6"},
                                           BadCheckRow{"bonus_without_main", "--bonus 7"},
                                           BadCheckRow{"bonus_is_main", "--main 1,2,3,4,5,6 --bonus 6"},
                                           BadCheckRow{"two_bonus", "--main 1,2,3,4,5,6 --bonus 7,8"},
                                           BadCheckRow{"main_out_of_range", "--main 1,2,3,4,5,44 --bonus 7"},
                                           BadCheckRow{"round_and_main", "--round 3 --main 1,2,3,4,5,6 --bonus 7"},
                                           BadCheckRow{"round_not_a_number", "--round abc"},
                                           BadCheckRow{"unknown_option", "--grade 1"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CheckCommand, MissingFileIsAFailure) {
    CheckFolder dir;
    EXPECT_EQ(runCli("check '" + (dir.path / "none.txt").string() + "'" + dir.data()).exitCode, 1);
    EXPECT_EQ(runCli("check" + dir.data()).exitCode, 2);
}
