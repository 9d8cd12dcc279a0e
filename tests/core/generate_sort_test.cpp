#include <gtest/gtest.h>

#include <algorithm>

#include "core/combination_list.h"
#include "generate/list_sort.h"

using namespace tambor;

namespace {

// A list of `lines` distinct combinations in scrambled order.
CombinationList scrambled(GameMode game, int lines, std::uint64_t seed) {
    CombinationList list(game);
    const std::int32_t total = rulesFor(game).combinationCount;
    std::uint64_t x = seed;
    while (static_cast<int>(list.size()) < lines) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        list.appendIndex(static_cast<CombinationIndex>((x >> 33) % static_cast<std::uint64_t>(total)));
    }
    list.setChanged(false);
    return list;
}

}  // namespace

struct ThresholdRow {
    const char* name;
    GameMode game;
    int lines;
    SortMethod method;
};

class SortThreshold : public ::testing::TestWithParam<ThresholdRow> {};

// Both methods give the ascending order of the combinations, the size
// picks the method, and the sets are untouched.
TEST_P(SortThreshold, MethodByListSizeSameOrderEitherWay) {
    const ThresholdRow& row = GetParam();
    EXPECT_EQ(chooseSortMethod(row.game, static_cast<std::size_t>(row.lines)), row.method);
    const CombinationList original = scrambled(row.game, row.lines, static_cast<std::uint64_t>(row.lines));
    CombinationList byText = original, byWalk = original, chosen = original;
    ASSERT_TRUE(SortCombinationList(byText, SortMethod::Text));
    ASSERT_TRUE(SortCombinationList(byWalk, SortMethod::IndexWalk));
    ASSERT_TRUE(SortCombinationList(chosen));
    std::vector<CombinationIndex> expected = original.items();
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(byText.items(), expected);
    EXPECT_EQ(byWalk.items(), expected);
    EXPECT_EQ(chosen.items(), expected);
    EXPECT_TRUE(chosen.changed());
    EXPECT_EQ(chosen.listedSet().bytes(), original.listedSet().bytes());
}

INSTANTIATE_TEST_SUITE_P(Generate, SortThreshold,
                         ::testing::Values(ThresholdRow{"mini_3000_text", GameMode::MiniLoto, 3000, SortMethod::Text},
                                           ThresholdRow{"mini_3001_walk", GameMode::MiniLoto, 3001, SortMethod::IndexWalk},
                                           ThresholdRow{"loto6_30000_text", GameMode::Loto6, 30000, SortMethod::Text},
                                           ThresholdRow{"loto6_30001_walk", GameMode::Loto6, 30001, SortMethod::IndexWalk},
                                           ThresholdRow{"loto6_single", GameMode::Loto6, 1, SortMethod::Text}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GenerateSort, NumbersCompareAsNumbersNotDigits) {
    CombinationList list(GameMode::MiniLoto);
    list.append(makeCombination({2, 3, 4, 5, 6}));
    list.append(makeCombination({1, 2, 3, 4, 31}));
    list.append(makeCombination({10, 11, 12, 13, 14}));
    for (SortMethod method : {SortMethod::Text, SortMethod::IndexWalk}) {
        CombinationList copy = list;
        SortCombinationList(copy, method);
        EXPECT_EQ(copy.lineAt(0), "  1, 2, 3, 4,31");
        EXPECT_EQ(copy.lineAt(1), "  2, 3, 4, 5, 6");
        EXPECT_EQ(copy.lineAt(2), " 10,11,12,13,14");
    }
}

TEST(GenerateSort, SortedListStaysAndIsMarkedChanged) {
    CombinationList list = scrambled(GameMode::Loto6, 500, 9);
    SortCombinationList(list);
    const auto sorted = list.items();
    list.setChanged(false);
    EXPECT_TRUE(SortCombinationList(list));
    EXPECT_EQ(list.items(), sorted);
    EXPECT_TRUE(list.changed());
}

TEST(GenerateSort, EmptyListDoesNothing) {
    CombinationList list(GameMode::Loto6);
    EXPECT_FALSE(SortCombinationList(list));
    EXPECT_FALSE(list.changed());
}

TEST(GenerateSort, StoppedSortLeavesListAsItWas) {
    for (SortMethod method : {SortMethod::Text, SortMethod::IndexWalk}) {
        CombinationList list = scrambled(GameMode::MiniLoto, 2500, 4);
        const auto before = list.items();
        int calls = 0;
        EXPECT_FALSE(SortCombinationList(list, method, [&](int) { return ++calls < 2; }));
        EXPECT_EQ(calls, 2);
        EXPECT_EQ(list.items(), before);
        EXPECT_FALSE(list.changed());
    }
}
