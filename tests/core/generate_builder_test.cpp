#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

#include "core/combination_list.h"
#include "core/number_board.h"
#include "generate/combination_builder.h"

using namespace tambor;

namespace {

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n) v.push_back(n);
    return v;
}

BuildRequest request(GameMode game, std::vector<int> axis, std::vector<int> together, bool rSystem = false,
                     ArrangeMode arrange = ArrangeMode::Ascending) {
    BuildRequest r;
    r.game = game;
    r.axis = std::move(axis);
    r.together = std::move(together);
    r.rSystem = rSystem;
    r.arrange = arrange;
    return r;
}

std::vector<std::string> lines(const std::vector<CombinationIndex>& indices, GameMode game) {
    std::vector<std::string> out;
    for (CombinationIndex i : indices) out.push_back(FormatCombinationLine(UnrankCombination(game, i)));
    return out;
}

struct Fixture {
    explicit Fixture(GameMode game) : list(game) { random.SeedRandom(1); }
    BuildResult build(const BuildRequest& r) { return RunCombinationBuilder(r, list, pastWinners, scratch, random); }
    CombinationList list;
    CombinationSet pastWinners;
    CombinationSet scratch;
    RandomGenerator random;
};

}  // namespace

TEST(GenerateBuilder, PlainBuildInPositionOrder) {
    Fixture f(GameMode::MiniLoto);
    const BuildResult result = f.build(request(GameMode::MiniLoto, {}, range(1, 6)));
    EXPECT_EQ(lines(f.list.items(), GameMode::MiniLoto),
              (std::vector<std::string>{"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6", "  1, 2, 3, 5, 6", "  1, 2, 4, 5, 6",
                                        "  1, 3, 4, 5, 6", "  2, 3, 4, 5, 6"}));
    EXPECT_EQ(result.enumerated, 6);
    EXPECT_TRUE(f.list.changed());
}

TEST(GenerateBuilder, AxisNumbersAreInEveryCombination) {
    Fixture f(GameMode::Loto6);
    f.build(request(GameMode::Loto6, {40, 2}, {7, 30, 11, 43, 20}));
    ASSERT_EQ(f.list.size(), 5u);  // C(5, 4)
    EXPECT_EQ(lines(f.list.items(), GameMode::Loto6),
              (std::vector<std::string>{"  2, 7,11,20,30,40", "  2, 7,11,20,40,43", "  2, 7,11,30,40,43",
                                        "  2, 7,20,30,40,43", "  2,11,20,30,40,43"}));
}

TEST(GenerateBuilder, AllAxisGivesExactlyOneCombination) {
    Fixture f(GameMode::MiniLoto);
    const BuildResult result = f.build(request(GameMode::MiniLoto, {3, 9, 14, 22, 30}, range(1, 2)));
    EXPECT_EQ(result.enumerated, 1);
    EXPECT_EQ(lines(f.list.items(), GameMode::MiniLoto), std::vector<std::string>{"  3, 9,14,22,30"});
}

TEST(GenerateBuilder, TooFewNumbersDoesNothing) {
    Fixture f(GameMode::Loto6);
    const BuildResult result = f.build(request(GameMode::Loto6, {1}, {2, 3, 4, 5}));
    EXPECT_FALSE(result.ran);
    EXPECT_TRUE(f.list.empty());
    EXPECT_FALSE(f.list.changed());
}

TEST(GenerateBuilder, RepeatedBuildsGoToDuplicatesOnce) {
    Fixture f(GameMode::MiniLoto);
    const BuildRequest r = request(GameMode::MiniLoto, {}, range(1, 7));
    f.build(r);
    EXPECT_EQ(f.list.size(), 21u);
    const BuildResult second = f.build(r);
    EXPECT_EQ(second.listed, 0u);
    EXPECT_EQ(second.duplicates, 21u);
    EXPECT_EQ(lines(f.list.duplicates(), GameMode::MiniLoto), lines(f.list.items(), GameMode::MiniLoto));
    const BuildResult third = f.build(r);
    EXPECT_EQ(third.listed + third.duplicates, 0u);
    EXPECT_TRUE(f.list.changed());
}

TEST(GenerateBuilder, PastWinnersAreSkippedSilently) {
    Fixture f(GameMode::MiniLoto);
    SetAdd(GameMode::MiniLoto, f.pastWinners, makeCombination({1, 2, 3, 4, 6}));
    const BuildResult result = f.build(request(GameMode::MiniLoto, {}, range(1, 6)));
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(f.list.size(), 5u);
    EXPECT_TRUE(f.list.duplicates().empty());
    EXPECT_FALSE(SetContains(GameMode::MiniLoto, f.list.listedSet(), makeCombination({1, 2, 3, 4, 6})));
}

TEST(GenerateBuilder, RSystemSmallestCases) {
    Fixture mini(GameMode::MiniLoto);
    mini.build(request(GameMode::MiniLoto, {}, range(1, 6), true));
    EXPECT_EQ(lines(mini.list.items(), GameMode::MiniLoto), std::vector<std::string>{"  1, 2, 3, 4, 5"});
    Fixture loto6(GameMode::Loto6);
    loto6.build(request(GameMode::Loto6, {}, range(1, 8), true));
    EXPECT_EQ(loto6.list.size(), 4u);
}

// The past-winner set is the same after a build; what the R system ruled
// out is forgotten, and a listed combination rules nothing out.
TEST(GenerateBuilder, RSystemLeavesPastWinnersAlone) {
    Fixture f(GameMode::MiniLoto);
    SetAdd(GameMode::MiniLoto, f.pastWinners, makeCombination({1, 2, 3, 4, 5}));
    const auto before = f.pastWinners.bytes();
    f.list.append(makeCombination({1, 2, 3, 4, 6}));
    const BuildResult result = f.build(request(GameMode::MiniLoto, {}, range(1, 7), true));
    EXPECT_EQ(f.pastWinners.bytes(), before);
    EXPECT_EQ(lines(f.list.duplicates(), GameMode::MiniLoto), std::vector<std::string>{"  1, 2, 3, 4, 6"});
    // {1,2,3,4,5} skipped, {1,2,3,4,6} a duplicate, so {1,2,3,4,7} is kept.
    EXPECT_EQ(f.list.lineAt(1), "  1, 2, 3, 4, 7");
    EXPECT_GE(result.skipped, 1);
}

struct TableRow {
    GameMode game;
    int candidates;
    ArrangeMode arrange;
};

class RSystemTable : public ::testing::TestWithParam<TableRow> {};

// From an empty list, candidates 1..c kept in ascending order give the
// table's line count; descending order mirrors it and keeps as many.
TEST_P(RSystemTable, KeptCountMatchesTable) {
    const TableRow& row = GetParam();
    Fixture f(row.game);
    f.build(request(row.game, {}, range(1, row.candidates), true, row.arrange));
    EXPECT_EQ(static_cast<std::int64_t>(f.list.size()), RSystemLineCount(row.game, row.candidates));
}

std::vector<TableRow> tableRows() {
    std::vector<TableRow> rows;
    for (int c = 0; c <= 31; ++c) rows.push_back({GameMode::MiniLoto, c, ArrangeMode::Ascending});
    for (int c = 0; c <= 43; ++c) rows.push_back({GameMode::Loto6, c, ArrangeMode::Ascending});
    for (int c = 0; c <= 37; ++c) rows.push_back({GameMode::Loto7, c, ArrangeMode::Ascending});
    for (int c : {9, 24, 37}) rows.push_back({GameMode::Loto7, c, ArrangeMode::Descending});
    for (int c : {7, 20, 31}) rows.push_back({GameMode::MiniLoto, c, ArrangeMode::Descending});
    for (int c : {8, 25, 43}) rows.push_back({GameMode::Loto6, c, ArrangeMode::Descending});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Generate, RSystemTable, ::testing::ValuesIn(tableRows()), [](const auto& row) {
    return std::string(rulesFor(row.param.game).cliName) + "_" + std::to_string(row.param.candidates) +
           (row.param.arrange == ArrangeMode::Descending ? "_descending" : "");
});

// Whatever the order, every combination of the candidates is kept or
// differs from a kept one in one number, and no two kept ones are that close.
TEST(GenerateBuilder, RandomOrderCoversEveryCombinationWithinOneNumber) {
    Fixture f(GameMode::Loto6);
    f.random.SeedRandom(77);
    const std::vector<int> candidates{2, 5, 8, 13, 17, 21, 26, 30, 33, 38, 41, 43};
    f.build(request(GameMode::Loto6, {}, candidates, true, ArrangeMode::Random));
    std::vector<std::uint64_t> kept;
    for (CombinationIndex i : f.list.items()) {
        std::uint64_t m = 0;
        for (int n : UnrankCombination(GameMode::Loto6, i)) m |= std::uint64_t{1} << n;
        kept.push_back(m);
    }
    for (std::size_t a = 0; a < kept.size(); ++a)
        for (std::size_t b = a + 1; b < kept.size(); ++b) ASSERT_LT(std::popcount(kept[a] & kept[b]), 5);
    Fixture all(GameMode::Loto6);
    all.build(request(GameMode::Loto6, {}, candidates));
    for (CombinationIndex i : all.list.items()) {
        std::uint64_t m = 0;
        for (int n : UnrankCombination(GameMode::Loto6, i)) m |= std::uint64_t{1} << n;
        const bool covered = std::any_of(kept.begin(), kept.end(), [&](std::uint64_t k) { return std::popcount(k & m) >= 5; });
        ASSERT_TRUE(covered) << FormatCombinationLine(UnrankCombination(GameMode::Loto6, i));
    }
}

TEST(GenerateBuilder, RandomOrderIsReproducibleFromTheSeed) {
    auto run = [](std::uint32_t seed) {
        Fixture f(GameMode::MiniLoto);
        f.random.SeedRandom(seed);
        f.build(request(GameMode::MiniLoto, {}, range(1, 15), true, ArrangeMode::Random));
        return lines(f.list.items(), GameMode::MiniLoto);
    };
    EXPECT_EQ(run(5), run(5));
    EXPECT_NE(run(5), run(6));
}

TEST(GenerateBuilder, LargestPlainBuild) {
    Fixture f(GameMode::Loto6);
    const BuildRequest r = request(GameMode::Loto6, {1}, range(2, 35));
    EXPECT_EQ(builderTotal(r), 278256);
    const BuildResult result = f.build(r);
    EXPECT_EQ(result.enumerated, 278256);
    EXPECT_EQ(f.list.size(), 278256u);
}

TEST(GenerateBuilder, RequestFromBoard) {
    NumberBoard board(GameMode::Loto6);
    board.setCurrentRole(Axis);
    board.toggle(9, false);
    board.setCurrentRole(Together);
    for (int n : {3, 20, 41, 7, 12}) board.toggle(n, false);
    BuildRequest r = buildRequestFromBoard(board, ArrangeMode::Descending);
    EXPECT_EQ(r.axis, std::vector<int>{9});
    EXPECT_EQ(r.together, (std::vector<int>{3, 7, 12, 20, 41}));
    EXPECT_FALSE(r.rSystem);
    EXPECT_EQ(arrangeModeFromIndex(1), ArrangeMode::Ascending);
    EXPECT_EQ(arrangeModeFromIndex(2), ArrangeMode::Descending);
    EXPECT_EQ(arrangeModeFromIndex(7), ArrangeMode::Random);
}

struct BadBuildRow {
    const char* name;
    GameMode game;
    std::vector<int> axis;
    std::vector<int> together;
};

class BadBuildRequest : public ::testing::TestWithParam<BadBuildRow> {};

TEST_P(BadBuildRequest, IsRefused) {
    const BadBuildRow& row = GetParam();
    Fixture f(row.game);
    EXPECT_THROW(f.build(request(row.game, row.axis, row.together)), std::invalid_argument);
    EXPECT_TRUE(f.list.empty());
}

INSTANTIATE_TEST_SUITE_P(Generate, BadBuildRequest,
                         ::testing::Values(BadBuildRow{"out_of_range", GameMode::MiniLoto, {}, {1, 2, 3, 4, 32}},
                                           BadBuildRow{"zero", GameMode::Loto6, {0}, range(1, 6)},
                                           BadBuildRow{"repeated", GameMode::Loto6, {}, {1, 2, 3, 4, 5, 5, 6}},
                                           BadBuildRow{"axis_and_together", GameMode::Loto6, {4}, range(1, 6)},
                                           BadBuildRow{"too_many_axis", GameMode::MiniLoto, range(1, 6), {}}),
                         [](const auto& row) { return std::string(row.param.name); });
