#include <gtest/gtest.h>

#include <algorithm>

#include "generate/past_winners.h"
#include "core/text_scan.h"
#include "history/history_store.h"

using namespace tambor;

namespace {

std::vector<std::string> sortedLines(const std::vector<Combination>& combinations) {
    std::vector<std::string> out;
    for (const Combination& c : combinations) out.push_back(FormatCombinationLine(c));
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

struct LineRow {
    const char* name;
    GameMode game;
    const char* line;
    std::vector<std::string> expected;  // sorted lines
};

class PastWinnerLine : public ::testing::TestWithParam<LineRow> {};

TEST_P(PastWinnerLine, Combinations) {
    const LineRow& row = GetParam();
    EXPECT_EQ(sortedLines(pastWinnerCombinations(row.game, row.line)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Generate, PastWinnerLine,
    ::testing::Values(
        LineRow{"mini_first_draw", GameMode::MiniLoto, "第  1回(H11. 4.13)=01,03,17,20,25,26",
                {"  1, 3,17,20,25", "  1, 3,17,20,26", "  1, 3,17,25,26", "  1, 3,20,25,26", "  1,17,20,25,26",
                 "  3,17,20,25,26"}},
        LineRow{"loto6_first_draw", GameMode::Loto6, "第  1回(H12.10. 5)=02,08,10,13,27,30,39",
                {"  2, 8,10,13,27,30", "  2, 8,10,13,27,39", "  2, 8,10,13,30,39", "  2, 8,10,27,30,39",
                 "  2, 8,13,27,30,39", "  2,10,13,27,30,39", "  8,10,13,27,30,39"}},
        LineRow{"loto7_first_draw_fifteen", GameMode::Loto7, "第  1回(H25. 4. 5)=07,10,12,17,23,28,34,03,15",
                {"  3, 7,10,12,17,23,28", "  3, 7,10,12,17,23,34", "  3, 7,10,12,17,28,34", "  3, 7,10,12,23,28,34", "  3, 7,10,17,23,28,34", "  3, 7,12,17,23,28,34", "  3,10,12,17,23,28,34", "  7,10,12,15,17,23,28", "  7,10,12,15,17,23,34", "  7,10,12,15,17,28,34", "  7,10,12,15,23,28,34", "  7,10,12,17,23,28,34", "  7,10,15,17,23,28,34", "  7,12,15,17,23,28,34", " 10,12,15,17,23,28,34"}},
        LineRow{"loto7_one_bonus_missing", GameMode::Loto7, "=07,10,12,17,23,28,34,03",
                {"  3, 7,10,12,17,23,28", "  3, 7,10,12,17,23,34", "  3, 7,10,12,17,28,34", "  3, 7,10,12,23,28,34", "  3, 7,10,17,23,28,34", "  3, 7,12,17,23,28,34", "  3,10,12,17,23,28,34", "  7,10,12,17,23,28,34"}},
        LineRow{"no_bonus_keeps_first_prize", GameMode::MiniLoto, "第  2回=01,03,17,20,25", {"  1, 3,17,20,25"}},
        LineRow{"out_of_range_main_number", GameMode::MiniLoto, "=01,03,17,20,32,26", {"  1, 3,17,20,26"}},
        LineRow{"bonus_repeats_a_main_number", GameMode::MiniLoto, "=01,03,17,20,25,03", {"  1, 3,17,20,25"}},
        LineRow{"no_equals_sign", GameMode::MiniLoto, "01,03,17,20,25,26", {}},
        LineRow{"junk", GameMode::MiniLoto, "第  3回(H11. 4.27)=ab,cd", {}},
        LineRow{"leading_blanks_accepted", GameMode::MiniLoto, "= 1, 3,17,20,25,26",
                {"  1, 3,17,20,25", "  1, 3,17,20,26", "  1, 3,17,25,26", "  1, 3,20,25,26", "  1,17,20,25,26",
                 "  3,17,20,25,26"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GeneratePastWinners, BuiltinSectionAndRebuild) {
    HistoryStore store;
    store.loadBuiltin(GameMode::MiniLoto);
    const auto section = store.sectionLines(GameMode::MiniLoto);
    CombinationSet set;
    RebuildPastWinnerSet(set, true, GameMode::MiniLoto, section);
    for (const char* line : {"  1, 3,17,20,25", "  1, 3,17,20,26", "  3,17,20,25,26"}) {
        Combination c;
        scanCombinations(GameMode::MiniLoto, line, [&](const Combination& found) { c = found; });
        EXPECT_TRUE(SetContains(GameMode::MiniLoto, set, c)) << line;
    }
    // The last built-in draw: 第175回 08,12,17,19,24 with bonus 05.
    EXPECT_TRUE(SetContains(GameMode::MiniLoto, set, makeCombination({8, 12, 17, 19, 24})));
    EXPECT_TRUE(SetContains(GameMode::MiniLoto, set, makeCombination({5, 12, 17, 19, 24})));
    EXPECT_FALSE(SetContains(GameMode::MiniLoto, set, makeCombination({1, 2, 3, 4, 5})));

    const auto first = set.bytes();
    RebuildPastWinnerSet(set, false, GameMode::MiniLoto, section);
    EXPECT_TRUE(std::all_of(set.bytes().begin(), set.bytes().end(), [](std::uint8_t b) { return b == 0; }));
    RebuildPastWinnerSet(set, true, GameMode::MiniLoto, section);
    EXPECT_EQ(set.bytes(), first);

    // The game switch rebuilds for the new game: nothing of the old one stays.
    store.loadBuiltin(GameMode::Loto6);
    RebuildPastWinnerSet(set, true, GameMode::Loto6, store.sectionLines(GameMode::Loto6));
    CombinationSet loto6Only;
    addPastWinners(GameMode::Loto6, store.sectionLines(GameMode::Loto6), loto6Only);
    EXPECT_EQ(set.bytes(), loto6Only.bytes());
    EXPECT_TRUE(SetContains(GameMode::Loto6, set, makeCombination({11, 15, 21, 31, 32, 43})));
}

TEST(GeneratePastWinners, EmptyLineEndsTheSection) {
    const std::vector<std::string_view> section{"第  1回=01,02,03,04,05,06", "", "第  2回=07,08,09,10,11,12"};
    CombinationSet set;
    addPastWinners(GameMode::MiniLoto, section, set);
    EXPECT_TRUE(SetContains(GameMode::MiniLoto, set, makeCombination({1, 2, 3, 4, 5})));
    EXPECT_FALSE(SetContains(GameMode::MiniLoto, set, makeCombination({7, 8, 9, 10, 11})));
}
