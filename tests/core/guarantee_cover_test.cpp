// The fewest-tickets R system and the guarantee check. Coverage is checked
// here by brute force over number masks, independently of the builder's
// own tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>

#include "core/combination_list.h"
#include "core/number_board.h"
#include "generate/combination_builder.h"
#include "generate/guarantee_cover.h"

using namespace tambor;

namespace {

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n) v.push_back(n);
    return v;
}

std::uint64_t maskOf(const Combination& c) {
    std::uint64_t m = 0;
    for (int n : c) m |= std::uint64_t{1} << n;
    return m;
}

std::uint64_t maskOf(GameMode game, CombinationIndex index) { return maskOf(UnrankCombination(game, index)); }

// Every combination of the game made of the axis numbers and K - A of the
// together numbers, as masks.
std::vector<std::uint64_t> combinationsOf(GameMode game, const std::vector<int>& axis,
                                          const std::vector<int>& together) {
    std::uint64_t axisMask = 0;
    for (int n : axis) axisMask |= std::uint64_t{1} << n;
    std::vector<std::uint64_t> all;
    const int free = rulesFor(game).pickCount - static_cast<int>(axis.size());
    auto pick = [&](auto& self, std::size_t from, int left, std::uint64_t mask) -> void {
        if (left == 0) {
            all.push_back(mask);
            return;
        }
        for (std::size_t i = from; i < together.size(); ++i)
            self(self, i + 1, left - 1, mask | (std::uint64_t{1} << together[i]));
    };
    pick(pick, 0, free, axisMask);
    return all;
}

// The combinations no ticket shares K - 1 numbers with.
std::vector<std::uint64_t> uncoveredBy(GameMode game, const std::vector<std::uint64_t>& all,
                                       const std::vector<CombinationIndex>& tickets) {
    const int k = rulesFor(game).pickCount;
    std::vector<std::uint64_t> masks;
    for (CombinationIndex t : tickets) masks.push_back(maskOf(game, t));
    std::vector<std::uint64_t> uncovered;
    for (std::uint64_t m : all)
        if (std::none_of(masks.begin(), masks.end(), [&](std::uint64_t t) { return std::popcount(t & m) >= k - 1; }))
            uncovered.push_back(m);
    return uncovered;
}

BuildRequest fewest(GameMode game, std::vector<int> together, std::vector<int> axis = {}) {
    BuildRequest r;
    r.game = game;
    r.axis = std::move(axis);
    r.together = std::move(together);
    r.rSystem = true;
    r.arrange = ArrangeMode::Fewest;
    return r;
}

struct Fixture {
    explicit Fixture(GameMode game, std::uint32_t seed = 1) : list(game) { random.SeedRandom(seed); }
    BuildResult build(const BuildRequest& r, const ProgressCallback& progress = {}) {
        return RunCombinationBuilder(r, list, pastWinners, scratch, random, progress);
    }
    CombinationList list;
    CombinationSet pastWinners;
    CombinationSet scratch;
    RandomGenerator random;
};

struct CountRow {
    GameMode game;
    int candidates;
};

class FewestCoverCount : public ::testing::TestWithParam<CountRow> {};

// Every combination of the candidates has a ticket within one number, and
// there are no more tickets than the ascending R system keeps.
TEST_P(FewestCoverCount, CoversEverythingWithNoMoreThanTheRSystem) {
    const CountRow& row = GetParam();
    Fixture f(row.game, static_cast<std::uint32_t>(row.candidates));
    const std::vector<int> candidates = range(1, row.candidates);
    const BuildResult result = f.build(fewest(row.game, candidates));
    EXPECT_TRUE(result.completed);
    EXPECT_LE(static_cast<std::int64_t>(f.list.size()), RSystemLineCount(row.game, row.candidates));
    EXPECT_EQ(static_cast<std::int64_t>(f.list.size()), fewestLineCount(row.game, row.candidates));
    EXPECT_GE(static_cast<std::int64_t>(f.list.size()), result.lowerBound);
    EXPECT_EQ(result.kept, f.list.size());
    auto all = combinationsOf(row.game, {}, candidates);
    EXPECT_TRUE(uncoveredBy(row.game, all, f.list.items()).empty());
    std::sort(all.begin(), all.end());
    for (CombinationIndex i : f.list.items())  // only candidate numbers
        EXPECT_TRUE(std::binary_search(all.begin(), all.end(), maskOf(row.game, i)));
}

std::vector<CountRow> countRows() {
    std::vector<CountRow> rows;
    for (GameMode game : kAllGames)
        for (int v = rulesFor(game).pickCount; v <= 20; ++v) rows.push_back({game, v});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Guarantee, FewestCoverCount, ::testing::ValuesIn(countRows()), [](const auto& row) {
    return std::string(rulesFor(row.param.game).cliName) + "_" + std::to_string(row.param.candidates);
});

struct BoundRow {
    const char* name;
    int candidates;
    int pick;
    std::int64_t bound;
};

class LowerBound : public ::testing::TestWithParam<BoundRow> {};

// Worked by hand: the larger of ⌈C(v,k) / (1 + k(v-k))⌉ and ⌈C(v,k) / ((k-1)(v-k+2))⌉.
TEST_P(LowerBound, MatchesHandWorkedValue) {
    const BoundRow& row = GetParam();
    EXPECT_EQ(guaranteeLowerBound(row.candidates, row.pick), row.bound);
}

INSTANTIATE_TEST_SUITE_P(
    Guarantee, LowerBound,
    ::testing::Values(BoundRow{"loto6_43", 43, 6, 31264},  // 6,096,454 / 195 = 31,263.9 beats / 223 = 27,338.4
                      BoundRow{"mini_31", 31, 5, 1518},    // 169,911 / 112 = 1,517.1 beats / 131 = 1,297.0
                      BoundRow{"loto6_20", 20, 6, 485},    // 38,760 / 80 = 484.5 beats / 85 = 456 exactly
                      BoundRow{"loto6_10", 10, 6, 9},      // 210 / 25 = 8.4 beats / 30 = 7
                      BoundRow{"loto6_8", 8, 6, 3},        // 28 / 13 = 2.2 beats / 20 = 1.4
                      BoundRow{"mini_7", 7, 5, 2},         // 21 / 11 and 21 / 16
                      BoundRow{"exactly_k", 6, 6, 1}, BoundRow{"fewer_than_k", 5, 6, 0}, BoundRow{"pick_one", 10, 1, 1},
                      BoundRow{"pick_zero", 4, 0, 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Guarantee, ResultLineGroupsDigits) {
    EXPECT_EQ(guaranteeResultLine(79155, 31264), "79,155 組（下限 31,264 組）");
    EXPECT_EQ(guaranteeResultLine(15, 9), "15 組（下限 9 組）");
    EXPECT_EQ(guaranteeResultLine(1000000, 0), "1,000,000 組（下限 0 組）");
}

// The line after a build: both kinds of R system, nothing without it.
TEST(Guarantee, ResultLineAfterEveryKindOfBuild) {
    for (ArrangeMode arrange : {ArrangeMode::Ascending, ArrangeMode::Fewest}) {
        Fixture f(GameMode::Loto6);
        BuildRequest r = fewest(GameMode::Loto6, range(1, 10));
        r.arrange = arrange;
        const BuildResult result = f.build(r);
        EXPECT_EQ(rSystemResultLine(r, result), guaranteeResultLine(static_cast<std::int64_t>(f.list.size()), 9));
    }
    Fixture plain(GameMode::Loto6);
    BuildRequest r = fewest(GameMode::Loto6, range(1, 10));
    r.rSystem = false;
    EXPECT_EQ(rSystemResultLine(r, plain.build(r)), "");
}

// A list with one ticket removed: exactly the combinations only that ticket
// reached are reported, the first of them in ascending order.
TEST(Guarantee, CheckReportsWhatARemovedTicketLeaves) {
    Fixture f(GameMode::Loto6);
    const std::vector<int> candidates{3, 7, 11, 15, 19, 23, 27, 31, 35, 39, 43, 2};
    f.build(fewest(GameMode::Loto6, candidates));
    std::vector<CombinationIndex> tickets = f.list.items();
    EXPECT_EQ(CheckGuarantee(GameMode::Loto6, {}, candidates, tickets).uncovered, 0);

    for (std::size_t removed : {std::size_t{0}, tickets.size() / 2, tickets.size() - 1}) {
        std::vector<CombinationIndex> fewer = tickets;
        fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(removed));
        const auto expected = uncoveredBy(GameMode::Loto6, combinationsOf(GameMode::Loto6, {}, candidates), fewer);
        const GuaranteeCheck check = CheckGuarantee(GameMode::Loto6, {}, candidates, fewer);
        ASSERT_GT(expected.size(), 0u);  // no ticket of the kept set is redundant
        EXPECT_EQ(check.uncovered, static_cast<std::int64_t>(expected.size()));
        EXPECT_EQ(check.candidates, 12);
        EXPECT_EQ(check.combinations, 924);
        EXPECT_EQ(check.lines, fewer.size());
        EXPECT_EQ(check.lowerBound, guaranteeLowerBound(12, 6));
        ASSERT_EQ(check.uncoveredSample.size(), std::min<std::size_t>(expected.size(), kUncoveredSampleSize));
        EXPECT_TRUE(std::is_sorted(check.uncoveredSample.begin(), check.uncoveredSample.end()));
        for (CombinationIndex i : check.uncoveredSample)
            EXPECT_EQ(std::count(expected.begin(), expected.end(), maskOf(GameMode::Loto6, i)), 1);
    }
}

struct CheckRow {
    const char* name;
    GameMode game;
    std::vector<int> axis;
    std::vector<int> together;
    std::vector<std::vector<int>> tickets;
    std::int64_t combinations;
    std::int64_t uncovered;
};

class GuaranteeCheckCase : public ::testing::TestWithParam<CheckRow> {};

// Tickets may hold numbers outside the candidates and miss axis numbers:
// what counts is sharing K - 1 numbers with a combination.
TEST_P(GuaranteeCheckCase, CountsCombinationsOutOfReach) {
    const CheckRow& row = GetParam();
    std::vector<CombinationIndex> tickets;
    for (const auto& t : row.tickets) {
        Combination c;
        for (int n : t) c.numbers[static_cast<std::size_t>(c.size++)] = n;
        sortCombination(c);
        tickets.push_back(RankCombination(row.game, c));
    }
    const GuaranteeCheck check = CheckGuarantee(row.game, row.axis, row.together, tickets);
    EXPECT_EQ(check.combinations, row.combinations);
    EXPECT_EQ(check.uncovered, row.uncovered);
    EXPECT_EQ(check.uncovered,
              static_cast<std::int64_t>(
                  uncoveredBy(row.game, combinationsOf(row.game, row.axis, row.together), tickets).size()));
}

INSTANTIATE_TEST_SUITE_P(
    Guarantee, GuaranteeCheckCase,
    ::testing::Values(
        CheckRow{"empty_list", GameMode::MiniLoto, {}, {1, 2, 3, 4, 5, 6, 7}, {}, 21, 21},
        CheckRow{"one_inside_ticket_covers_six", GameMode::MiniLoto, {}, {1, 2, 3, 4, 5, 6}, {{1, 2, 3, 4, 5}}, 6, 0},
        CheckRow{"outside_number", GameMode::MiniLoto, {}, {1, 2, 3, 4, 5, 6}, {{1, 2, 3, 4, 30}}, 6, 4},
        CheckRow{"two_outside_numbers", GameMode::MiniLoto, {}, {1, 2, 3, 4, 5, 6}, {{1, 2, 3, 29, 30}}, 6, 6},
        CheckRow{"axis_in_ticket", GameMode::Loto6, {1}, {2, 3, 4, 5, 6, 7}, {{1, 2, 3, 4, 5, 6}}, 6, 0},
        CheckRow{"axis_missing_from_ticket", GameMode::Loto6, {1}, {2, 3, 4, 5, 6, 7, 8}, {{2, 3, 4, 5, 6, 7}}, 21, 15},
        CheckRow{
            "axis_and_outside_missing", GameMode::Loto6, {1}, {2, 3, 4, 5, 6, 7, 8}, {{2, 3, 4, 5, 6, 40}}, 21, 20},
        CheckRow{"too_few_candidates", GameMode::Loto6, {}, {1, 2, 3, 4, 5}, {{1, 2, 3, 4, 5, 6}}, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Guarantee, CheckRefusesBadNumbers) {
    EXPECT_THROW(CheckGuarantee(GameMode::MiniLoto, {}, {1, 2, 3, 4, 32}, {}), std::invalid_argument);
    EXPECT_THROW(CheckGuarantee(GameMode::Loto6, {3}, {3, 4, 5, 6, 7, 8}, {}), std::invalid_argument);
    EXPECT_THROW(CheckGuarantee(GameMode::MiniLoto, range(1, 6), {}, {}), std::invalid_argument);
}

// With axis numbers the set covers the combinations that hold all of them.
TEST(Guarantee, FewestWithAxisNumbers) {
    Fixture f(GameMode::Loto6);
    const std::vector<int> axis{5, 40}, together = range(10, 22);
    f.build(fewest(GameMode::Loto6, together, axis));
    ASSERT_FALSE(f.list.empty());
    EXPECT_TRUE(uncoveredBy(GameMode::Loto6, combinationsOf(GameMode::Loto6, axis, together), f.list.items()).empty());
    for (CombinationIndex i : f.list.items())
        EXPECT_EQ(maskOf(GameMode::Loto6, i) & 0x10000000020ull, 0x10000000020ull);
}

// Listed tickets count as held: only what they leave is added, the listed
// combinations of the candidates show once as duplicates, and a second
// build adds nothing. Past winners are covered but never added.
TEST(Guarantee, ListedTicketsAndPastWinnersAreHonoured) {
    Fixture f(GameMode::MiniLoto);
    const std::vector<int> candidates = range(1, 12);
    const Combination held = makeCombination({1, 2, 3, 4, 5});
    const Combination outside = makeCombination({6, 7, 8, 9, 30});  // one number outside
    const Combination winner = makeCombination({2, 4, 6, 8, 10});
    f.list.append(held);
    f.list.append(outside);
    SetAdd(GameMode::MiniLoto, f.pastWinners, winner);

    const BuildResult first = f.build(fewest(GameMode::MiniLoto, candidates));
    EXPECT_EQ(first.duplicates, 1u);
    EXPECT_EQ(f.list.duplicates(), std::vector<CombinationIndex>{RankCombination(GameMode::MiniLoto, held)});
    EXPECT_FALSE(SetContains(GameMode::MiniLoto, f.list.listedSet(), winner));
    EXPECT_EQ(first.skipped, 1u);
    EXPECT_EQ(first.kept, first.listed + 1);
    EXPECT_TRUE(
        uncoveredBy(GameMode::MiniLoto, combinationsOf(GameMode::MiniLoto, {}, candidates), f.list.items()).empty());
    // The new lines alone, without the held ones, leave some uncovered.
    std::vector<CombinationIndex> added(f.list.items().begin() + 2, f.list.items().end());
    EXPECT_TRUE(std::is_sorted(added.begin(), added.end()));
    EXPECT_FALSE(uncoveredBy(GameMode::MiniLoto, combinationsOf(GameMode::MiniLoto, {}, candidates), added).empty());

    const std::size_t size = f.list.size();
    const BuildResult second = f.build(fewest(GameMode::MiniLoto, candidates));
    EXPECT_EQ(second.listed, 0u);
    EXPECT_EQ(f.list.size(), size);
    EXPECT_EQ(f.list.duplicates().size(), size - 1);  // every line of the candidates once
}

// A past winner whose every neighbour is a past winner is out of reach.
TEST(Guarantee, UnreachablePastWinnerIsCounted) {
    Fixture f(GameMode::MiniLoto);
    const std::vector<int> candidates = range(1, 6);
    for (const auto& c : combinationsOf(GameMode::MiniLoto, {}, candidates)) {
        Combination combination;
        for (int n = 1; n <= 31; ++n)
            if ((c >> n) & 1) combination.numbers[static_cast<std::size_t>(combination.size++)] = n;
        SetAdd(GameMode::MiniLoto, f.pastWinners, combination);
    }
    const BuildResult result = f.build(fewest(GameMode::MiniLoto, candidates));
    EXPECT_TRUE(f.list.empty());
    EXPECT_EQ(result.unreachable, 6);
    EXPECT_EQ(result.skipped, 6u);
}

TEST(Guarantee, SeedReproducesTheSet) {
    auto run = [](std::uint32_t seed) {
        Fixture f(GameMode::MiniLoto, seed);
        f.build(fewest(GameMode::MiniLoto, range(3, 17)));
        return f.list.items();
    };
    EXPECT_EQ(run(5), run(5));
    EXPECT_NE(run(5), run(6));
    EXPECT_EQ(run(5).size(), run(6).size());  // every arrangement of the numbers is alike
}

TEST(Guarantee, StopAddsNothing) {
    Fixture f(GameMode::Loto6);
    int calls = 0;
    const BuildResult result = f.build(fewest(GameMode::Loto6, range(1, 20)), [&](int) { return ++calls < 3; });
    EXPECT_FALSE(result.completed);
    EXPECT_TRUE(f.list.empty());
    EXPECT_TRUE(f.list.duplicates().empty());
    EXPECT_TRUE(f.list.changed());
    EXPECT_EQ(rSystemResultLine(fewest(GameMode::Loto6, range(1, 20)), result), "");
}

}  // namespace
