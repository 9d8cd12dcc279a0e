#include <gtest/gtest.h>

#include "core/combination_list.h"
#include "core/text_scan.h"

using namespace tambor;

namespace {

struct ScanRow {
    const char* name;
    GameMode mode;
    const char* text;
    std::vector<std::string> found;
};

}  // namespace

class TextScan : public ::testing::TestWithParam<ScanRow> {};

TEST_P(TextScan, FindsCombinations) {
    const ScanRow& row = GetParam();
    std::vector<std::string> found;
    scanCombinations(row.mode, row.text, [&](const Combination& c) { found.push_back(FormatCombinationLine(c)); });
    EXPECT_EQ(found, row.found);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextScan,
    ::testing::Values(
        ScanRow{"own_line_mini", GameMode::MiniLoto, "  1, 2, 3, 4, 5", {"  1, 2, 3, 4, 5"}},
        ScanRow{"mini_line_in_loto6", GameMode::Loto6, "  1, 2, 3, 4, 5", {}},
        ScanRow{"repeat_restarts", GameMode::MiniLoto, "1,2,2,3,4,5", {}},
        ScanRow{"out_of_range_resets", GameMode::MiniLoto, "1,2,3,4,32,5,6,7,8,9", {"  5, 6, 7, 8, 9"}},
        ScanRow{"hyphens_are_not_delimiters", GameMode::MiniLoto, "1-2-3-4-5", {}},
        ScanRow{"blanks", GameMode::MiniLoto, "1 2 3 4 5", {"  1, 2, 3, 4, 5"}},
        ScanRow{"mixed_delimiters", GameMode::MiniLoto, "5, 4 ,3,, 2 1", {"  1, 2, 3, 4, 5"}},
        ScanRow{"over_two_lines", GameMode::MiniLoto, "1,2,3,\r\n4,5", {"  1, 2, 3, 4, 5"}},
        ScanRow{"history_line", GameMode::MiniLoto, "第  1回(H11. 4.13)=01,03,17,20,25,26", {"  1, 3,17,20,25"}},
        ScanRow{"history_line_loto6", GameMode::Loto6, "第  1回(H12.10. 5)=02,08,10,13,27,30,39", {"  2, 8,10,13,27,30"}},
        ScanRow{"overflow_counts_as_zero", GameMode::MiniLoto, "99999999999,1,2,3,4,5", {"  1, 2, 3, 4, 5"}},
        ScanRow{"full_width_digits_skipped", GameMode::MiniLoto, "１,1,2,3,4,5", {"  1, 2, 3, 4, 5"}},
        ScanRow{"digit_after_other_drops", GameMode::MiniLoto, "1,2,3)4,5,6,7,8", {"  4, 5, 6, 7, 8"}},
        ScanRow{"zero_resets", GameMode::MiniLoto, "1,2,0,3,4,5,6,7", {"  3, 4, 5, 6, 7"}},
        ScanRow{"empty", GameMode::Loto6, "", {}}),
    [](const auto& row) { return std::string(row.param.name); });

// The command line's test of a line: every number used by a combination.
TEST(WholeCombinationText, EveryNumberInACombination) {
    EXPECT_TRUE(isWholeCombinationText(GameMode::Loto6, " 1, 2, 3, 4, 5, 6"));
    EXPECT_TRUE(isWholeCombinationText(GameMode::MiniLoto, " 1, 2, 3, 4, 5   ||  6, 7, 8, 9,10"));
    EXPECT_TRUE(isWholeCombinationText(GameMode::Loto6, "[\x83\x8d\x83\x67\x82\x55]"));  // no ASCII digits
    EXPECT_TRUE(isWholeCombinationText(GameMode::MiniLoto, std::string(100, '-') + "\f"));
    EXPECT_TRUE(isWholeCombinationText(GameMode::MiniLoto, ""));
    // A ロト６ line read as ミニロト: five make a combination, the sixth is left.
    EXPECT_FALSE(isWholeCombinationText(GameMode::MiniLoto, " 3, 5, 6,17,21,31"));
    EXPECT_FALSE(isWholeCombinationText(GameMode::Loto6, " 1, 2, 3, 4, 5"));
    EXPECT_FALSE(isWholeCombinationText(GameMode::Loto6, " 1, 2, 3, 4, 5,44"));  // out of range
    EXPECT_FALSE(isWholeCombinationText(GameMode::MiniLoto, "1,2,2,3,4"));       // a repeat
    EXPECT_FALSE(isWholeCombinationText(GameMode::MiniLoto, "1,2,3,4,5,0"));
}

TEST(ListFromText, RepeatsGoToDuplicatesOnce) {
    CombinationList list(GameMode::MiniLoto);
    EXPECT_EQ(list.appendText("1,2,3,4,5\n5,4,3,2,1\n1 2 3 4 5\n"), 1u);
    EXPECT_EQ(list.size(), 1u);
    ASSERT_EQ(list.duplicates().size(), 1u);
    EXPECT_EQ(list.duplicateLineAt(0), "  1, 2, 3, 4, 5");
    EXPECT_TRUE(list.changed());
}

TEST(ListFromText, ClearingDuplicatesShowsThemAgain) {
    CombinationList list(GameMode::MiniLoto);
    list.appendText("1,2,3,4,5\n1,2,3,4,5\n");
    list.clearDuplicates();
    EXPECT_TRUE(list.duplicates().empty());
    list.appendText("1,2,3,4,5\n");
    EXPECT_EQ(list.duplicates().size(), 1u);
    EXPECT_EQ(list.size(), 1u);
}

TEST(ListFromText, LinesTextEndsEveryLineWithCrLf) {
    CombinationList list(GameMode::MiniLoto);
    list.appendText("1,2,3,4,5\n1,2,3,4,9\n");
    EXPECT_EQ(list.linesText({1, 0}), "  1, 2, 3, 4, 9\r\n  1, 2, 3, 4, 5\r\n");
}

TEST(ListFromText, RemovingPositionsClearsTheirBits) {
    CombinationList list(GameMode::Loto6);
    list.appendText("1,2,3,4,5,6\n1,2,3,4,5,7\n1,2,3,4,5,8\n");
    list.removeItems({2, 0, 2});
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.lineAt(0), "  1, 2, 3, 4, 5, 7");
    list.appendText("1,2,3,4,5,6\n");
    EXPECT_EQ(list.size(), 2u);  // listed again, not a duplicate
    EXPECT_TRUE(list.duplicates().empty());
}

TEST(ListFromText, ClearResetsEverything) {
    CombinationList list(GameMode::MiniLoto);
    list.appendText("1,2,3,4,5\n1,2,3,4,5\n");
    list.clear();
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.duplicates().empty());
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(list.appendText("1,2,3,4,5\n"), 1u);
}
