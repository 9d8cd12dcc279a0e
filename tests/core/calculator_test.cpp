#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include "calc/purchase_calculator.h"

using namespace tambor;

namespace {

constexpr GameMode kMini = GameMode::MiniLoto;
constexpr GameMode kLoto6 = GameMode::Loto6;
constexpr ProbabilityView kRec = ProbabilityView::Reciprocal;
constexpr ProbabilityView kFrac = ProbabilityView::Fraction;

// Where a value appears: a grid cell, or one of the two fields above it.
enum Field { Cell, CountField, CostField };

struct PageRow {
    std::string name;
    GameMode mode;
    int n;
    ProbabilityView view;
    Field field;
    int row;
    int column;
    std::string text;
};

std::vector<PageRow> rows() {
    std::vector<PageRow> out;
    // Values that do not depend on the display option: one row per option.
    auto both = [&](const std::string& name, GameMode mode, int n, Field field, int row, int column, std::string text) {
        out.push_back({name + "_rec", mode, n, kRec, field, row, column, text});
        out.push_back({name + "_frac", mode, n, kFrac, field, row, column, text});
    };
    auto one = [&](const std::string& name, GameMode mode, int n, ProbabilityView view, int row, int column,
                   std::string text) { out.push_back({name, mode, n, view, Cell, row, column, std::move(text)}); };

    // ロト６, n = 6.
    both("loto6_n6_count", kLoto6, 6, CountField, 0, 0, "1");
    both("loto6_n6_cost", kLoto6, 6, CostField, 0, 0, "200");
    both("loto6_n6_p1_impossible", kLoto6, 6, Cell, 1, 1, "ありえない");
    for (int c = 2; c <= 6; ++c) both("loto6_n6_p1_grade" + std::to_string(c - 1), kLoto6, 6, Cell, 1, c, "--本");
    both("loto6_n6_p1_amount", kLoto6, 6, Cell, 1, 7, "--円");
    one("loto6_n6_p2_probability_rec", kLoto6, 6, kRec, 2, 1, "6096454");
    one("loto6_n6_p2_probability_frac", kLoto6, 6, kFrac, 2, 1, "1");
    const char* n6p2[] = {"1本", "0本", "0本", "0本", "0本"};
    for (int g = 0; g < 5; ++g) both("loto6_n6_p2_grade" + std::to_string(g + 1), kLoto6, 6, Cell, 2, g + 2, n6p2[g]);
    both("loto6_n6_p2_amount", kLoto6, 6, Cell, 2, 7, "約 1億3400円");
    both("loto6_n6_p6_amount_fixed", kLoto6, 6, Cell, 6, 7, "1000円");

    // ロト６, n = 7.
    one("loto6_n7_p1_probability_rec", kLoto6, 7, kRec, 1, 1, "32224114");
    one("loto6_n7_p1_probability_frac", kLoto6, 7, kFrac, 1, 1, "1");
    const char* n7p1[] = {"1本", "6本", "0本", "0本", "0本"};
    const char* n7p2[] = {"1本", "0本", "6本", "0本", "0本"};
    for (int g = 0; g < 5; ++g) {
        both("loto6_n7_p1_grade" + std::to_string(g + 1), kLoto6, 7, Cell, 1, g + 2, n7p1[g]);
        both("loto6_n7_p2_grade" + std::to_string(g + 1), kLoto6, 7, Cell, 2, g + 2, n7p2[g]);
    }
    both("loto6_n7_p1_amount", kLoto6, 7, Cell, 1, 7, "約 1億9000万5200円");
    both("loto6_n7_p2_amount", kLoto6, 7, Cell, 2, 7, "約 1億300万3400円");
    one("loto6_n7_p2_probability_frac", kLoto6, 7, kFrac, 2, 1, "36");
    const char* n7last[] = {"22.36", "870922", "148498.23", "7992.1", "267.32", "22.42", "P=1/X"};
    for (int c = 1; c <= 7; ++c) one("loto6_n7_totals_col" + std::to_string(c) + "_rec", kLoto6, 7, kRec, 7, c, n7last[c - 1]);
    one("loto6_n7_totals_any_frac", kLoto6, 7, kFrac, 7, 1, "1441483");
    one("loto6_n7_totals_denominator_frac", kLoto6, 7, kFrac, 7, 7, "P=X/32224114");

    // ミニロト, n = 5.
    const char* m5rec[] = {"169911", "33982.2", "1359.29", "52.29"};
    const char* m5frac[] = {"1", "5", "125", "3250"};
    const char* m5amount[] = {"約 1004万6800円", "約 14万4300円", "約 1万円", "約 1000円"};
    for (int p = 0; p < 4; ++p) {
        const std::string pat = "mini_n5_p" + std::to_string(p + 2);
        one(pat + "_probability_rec", kMini, 5, kRec, p + 2, 1, m5rec[p]);
        one(pat + "_probability_frac", kMini, 5, kFrac, p + 2, 1, m5frac[p]);
        both(pat + "_amount", kMini, 5, Cell, p + 2, 6, m5amount[p]);
    }
    both("mini_n5_p1_impossible", kMini, 5, Cell, 1, 1, "ありえない");
    both("mini_n5_count", kMini, 5, CountField, 0, 0, "1");
    both("mini_n5_cost", kMini, 5, CostField, 0, 0, "200");
    one("mini_n5_totals_denominator_frac", kMini, 5, kFrac, 6, 6, "P=X/169911");

    // n = N: only the first pattern can occur.
    both("loto6_n43_count", kLoto6, 43, CountField, 0, 0, "609万6454");
    both("loto6_n43_cost", kLoto6, 43, CostField, 0, 0, "12億1929万800");
    both("loto6_n43_p1_probability", kLoto6, 43, Cell, 1, 1, "1");
    const char* n43p1[] = {"1本", "6本", "216本", "9990本", "155400本"};
    for (int g = 0; g < 5; ++g) both("loto6_n43_p1_grade" + std::to_string(g + 1), kLoto6, 43, Cell, 1, g + 2, n43p1[g]);
    both("loto6_n43_p1_amount", kLoto6, 43, Cell, 1, 7, "約 5億4831万200円");
    for (int r = 2; r <= 6; ++r) {
        both("loto6_n43_p" + std::to_string(r) + "_impossible", kLoto6, 43, Cell, r, 1, "ありえない");
        both("loto6_n43_p" + std::to_string(r) + "_no_amount", kLoto6, 43, Cell, r, 7, "--円");
    }
    both("mini_n31_count", kMini, 31, CountField, 0, 0, "16万9911");
    both("mini_n31_cost", kMini, 31, CostField, 0, 0, "3398万2200");
    both("mini_n31_p1_probability", kMini, 31, Cell, 1, 1, "1");
    const char* n31p1[] = {"1本", "5本", "125本", "3250本"};
    for (int g = 0; g < 4; ++g) both("mini_n31_p1_grade" + std::to_string(g + 1), kMini, 31, Cell, 1, g + 2, n31p1[g]);
    both("mini_n31_p1_amount", kMini, 31, Cell, 1, 6, "約 1526万8300円");
    for (int r = 2; r <= 5; ++r) {
        both("mini_n31_p" + std::to_string(r) + "_impossible", kMini, 31, Cell, r, 1, "ありえない");
        both("mini_n31_p" + std::to_string(r) + "_no_count", kMini, 31, Cell, r, 2, "--本");
    }
    one("mini_n31_totals_denominator_frac", kMini, 31, kFrac, 6, 6, "P=X/1");
    return out;
}

}  // namespace

class CalculatorValues : public ::testing::TestWithParam<PageRow> {};

TEST_P(CalculatorValues, ShowsListedValue) {
    const PageRow& row = GetParam();
    const CalculatorPage page = ComputeCalculator(row.mode, row.n, row.view);
    switch (row.field) {
    case CountField: EXPECT_EQ(page.combinationCountText, row.text); break;
    case CostField: EXPECT_EQ(page.totalCostText, row.text); break;
    case Cell:
        ASSERT_LT(row.row, static_cast<int>(page.grid.size()));
        ASSERT_LT(row.column, static_cast<int>(page.grid[static_cast<std::size_t>(row.row)].size()));
        EXPECT_EQ(page.grid[static_cast<std::size_t>(row.row)][static_cast<std::size_t>(row.column)], row.text);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(Listed, CalculatorValues, ::testing::ValuesIn(rows()),
                         [](const auto& row) { return row.param.name; });

TEST(CalculatorLayoutTest, ShapeAndCaptions) {
    const CalculatorLayout mini = LayoutCalculatorGrid(kMini);
    EXPECT_EQ(mini.rows, 7);
    EXPECT_EQ(mini.columns, 7);
    EXPECT_EQ(mini.columnCaptions.back(), "理論上の当選金額");
    EXPECT_EQ(mini.columnCaptions[2], "     1等     ");
    EXPECT_EQ(mini.rowCaptions.back(), " 当選確率(X) ");
    const CalculatorLayout loto6 = LayoutCalculatorGrid(kLoto6);
    EXPECT_EQ(loto6.rows, 8);
    EXPECT_EQ(loto6.columns, 8);
    EXPECT_EQ(loto6.columnCaptions[6], "     5等     ");
    EXPECT_EQ(loto6.rowCaptions[6], "本3個");

    const CalculatorPage page = ComputeCalculator(kLoto6, 10, kRec);
    const std::vector<std::string> header{"当選パターン", "当選確率(X)", "1等", "2等", "3等", "4等", "5等", "理論上の当選金額"};
    EXPECT_EQ(page.grid[0], header);
    EXPECT_EQ(page.grid[1][0], "本6個+ボ1個");
    EXPECT_EQ(page.grid[7][0], "当選確率(X)");

    EXPECT_TRUE(calculatorCellRightAligned(loto6, 6, 2));
    EXPECT_TRUE(calculatorCellRightAligned(loto6, 1, 7));
    EXPECT_FALSE(calculatorCellRightAligned(loto6, 7, 2));  // totals row
    EXPECT_FALSE(calculatorCellRightAligned(loto6, 3, 1));  // probability column
    EXPECT_FALSE(calculatorCellRightAligned(mini, 6, 3));
    EXPECT_EQ(calculatorPickLabel(kLoto6), "個の中から6個を選ぶ組み合わせの数は");
}

// ロト７: fifteen rows (the bonus numbers count for every row, since the
// sixth grade needs one), six grades, ¥300 a ticket. With seven numbers
// picked the totals row in the fraction view is each grade's winning
// combinations per draw.
TEST(CalculatorLayoutTest, Loto7SixGradesAndTheirCounts) {
    const CalculatorLayout layout = LayoutCalculatorGrid(GameMode::Loto7);
    EXPECT_EQ(layout.rows, 17);
    EXPECT_EQ(layout.columns, 9);
    EXPECT_EQ(layout.columnCaptions[7], "     6等     ");
    EXPECT_EQ(layout.rowCaptions[1], "本7個+ボ2個");
    EXPECT_EQ(layout.rowCaptions[3], "本7個");
    EXPECT_EQ(layout.rowCaptions[15], "本3個");
    const CalculatorPage seven = ComputeCalculator(GameMode::Loto7, 7, kFrac);
    EXPECT_EQ(seven.combinationCountText, "1");
    EXPECT_EQ(seven.totalCostText, "300");
    const std::vector<std::string> totals{"1", "14", "196", "9135", "142100", "242550"};
    EXPECT_EQ(std::vector<std::string>(seven.grid[16].begin() + 2, seven.grid[16].end() - 1), totals);
    EXPECT_EQ(seven.grid[1][1], "ありえない");  // seven picked cannot hold 7 main and 2 bonus numbers
    // 本3個+ボ2個 with nine picked: the tickets hold the three main numbers
    // and four of the other six, C(6,4) = 15, all but the one without a
    // bonus number (C(4,4) = 1) winning the sixth grade.
    const CalculatorPage nine = ComputeCalculator(GameMode::Loto7, 9, kFrac);
    EXPECT_EQ(nine.totalCostText, "1万800");
    EXPECT_EQ(nine.grid[13][7], "14本");
    EXPECT_EQ(nine.grid[13][8], "約 1万4000円");
}

// Every n of every game and both options: no division by zero shows up,
// and every amount stays a plain count of yen.
TEST(CalculatorRange, EveryPickCountIsWellFormed) {
    for (GameMode mode : kAllGames)
        for (ProbabilityView view : {kRec, kFrac})
            for (int n = rulesFor(mode).pickCount; n <= rulesFor(mode).maxNumber; ++n) {
                const CalculatorPage page = ComputeCalculator(mode, n, view);
                for (const auto& r : page.grid)
                    for (const std::string& cell : r) {
                        EXPECT_EQ(cell.find("inf"), std::string::npos) << n << " " << cell;
                        EXPECT_EQ(cell.find("nan"), std::string::npos) << n << " " << cell;
                        if (!cell.empty() && cell[0] == '-') {
                            EXPECT_TRUE(cell == "--本" || cell == "--円") << cell;
                        }
                    }
            }
}

struct FormatRow {
    const char* name;
    long double total;
    long double favourable;
    ProbabilityView view;
    const char* text;
};

class ProbabilityText : public ::testing::TestWithParam<FormatRow> {};

TEST_P(ProbabilityText, Formats) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(FormatProbability(row.total, row.favourable, row.view), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ProbabilityText,
    ::testing::Values(FormatRow{"exact_quotient_not_raised", 32224114, 37, kRec, "870922"},
                      FormatRow{"raised_to_next_hundredth", 169911, 3250, kRec, "52.29"},
                      FormatRow{"one", 1, 1, kRec, "1"},
                      FormatRow{"eight_digits_then_rounded", 1052049481860.0L, 7, kRec, "1.5029278e+11"},
                      FormatRow{"fraction_plain", 32224114, 1441483, kFrac, "1441483"},
                      FormatRow{"fraction_thirteen_digits", 2e12L, 1234567890123.0L, kFrac, "1.23456789012e+12"}),
    [](const auto& row) { return std::string(row.param.name); });

struct TicketRow {
    const char* name;
    double value;
    const char* text;
};

class TicketText : public ::testing::TestWithParam<TicketRow> {};

TEST_P(TicketText, FormatsLikePrintfG) { EXPECT_EQ(FormatTicketCount(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(Rows, TicketText,
                         ::testing::Values(TicketRow{"zero", 0, "0本"}, TicketRow{"six_digits", 155400, "155400本"},
                                           TicketRow{"seven_digits_exponent", 1234567, "1.23457e+06本"},
                                           TicketRow{"million", 1000000, "1e+06本"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct PickRow {
    const char* name;
    GameMode mode;
    const char* text;
    int board;
    int n;
};

class PickFromText : public ::testing::TestWithParam<PickRow> {};

TEST_P(PickFromText, ParsesAndLimits) {
    const PickRow& row = GetParam();
    EXPECT_EQ(CalculatorPickFromText(row.text, row.mode, row.board), row.n);
}

INSTANTIATE_TEST_SUITE_P(Rows, PickFromText,
                         ::testing::Values(PickRow{"plain", kLoto6, "10", 0, 10},
                                           PickRow{"above_max", kMini, "40", 0, 31},
                                           PickRow{"below_min", kLoto6, "2", 0, 6},
                                           PickRow{"text_uses_board", kLoto6, "abc", 12, 12},
                                           PickRow{"text_board_too_few", kLoto6, "abc", 3, 6},
                                           PickRow{"empty_uses_board", kMini, "", 9, 9},
                                           PickRow{"overflow_uses_board", kMini, "99999999999", 8, 8}),
                         [](const auto& row) { return std::string(row.param.name); });

// The command line prints the two fields and the table, tab-separated.
namespace {

int runCalc(const std::string& arguments, std::string& out) {
    const std::string command = std::string("'") + TAMBOR_CLI_PATH + "' calc " + arguments + " 2>/dev/null";
    out.clear();
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) out.append(buf, got);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

TEST(CalcCommand, PrintsPage) {
    std::string out;
    ASSERT_EQ(runCalc("--game loto6 -n 7", out), 0);
    EXPECT_EQ(out.substr(0, out.find("本6個+ボ1個")),
              "nCr\t7\ntotal\t1400\n当選パターン\t当選確率(X)\t1等\t2等\t3等\t4等\t5等\t理論上の当選金額\n");
    EXPECT_NE(out.find("\n本6個+ボ1個\t32224114\t1本\t6本\t0本\t0本\t0本\t約 1億9000万5200円\n"), std::string::npos);
    EXPECT_NE(out.find("\n当選確率(X)\t22.36\t870922\t148498.23\t7992.1\t267.32\t22.42\tP=1/X\n"), std::string::npos);
    ASSERT_EQ(runCalc("--game loto6 -n=7 --fraction", out), 0);
    EXPECT_NE(out.find("\n当選確率(X)\t1441483\t"), std::string::npos);
    EXPECT_NE(out.find("\tP=X/32224114\n"), std::string::npos);
    ASSERT_EQ(runCalc("-n 31", out), 0);
    EXPECT_EQ(out.substr(0, out.find('\n', out.find('\n') + 1) + 1), "nCr\t16万9911\ntotal\t3398万2200\n");
}

struct BadCalcRow {
    const char* name;
    const char* arguments;
};

class CalcCommandRefuses : public ::testing::TestWithParam<BadCalcRow> {};

TEST_P(CalcCommandRefuses, WithUsageError) {
    std::string out;
    EXPECT_EQ(runCalc(GetParam().arguments, out), 2);
    EXPECT_TRUE(out.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, CalcCommandRefuses,
                         ::testing::Values(BadCalcRow{"missing_n", "--game loto6"},
                                           BadCalcRow{"below_pick_count", "--game loto6 -n 5"},
                                           BadCalcRow{"above_max", "-n 32"},
                                           BadCalcRow{"not_a_number", "-n seven"},
                                           BadCalcRow{"bad_game", "--game bingo -n 7"}),
                         [](const auto& row) { return std::string(row.param.name); });
