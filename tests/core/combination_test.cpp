#include <gtest/gtest.h>

#include "core/combination.h"
#include "core/combination_set.h"
#include "core/japanese_count.h"

using namespace tambor;

namespace {

struct RankRow {
    const char* name;
    GameMode mode;
    Combination combination;
    CombinationIndex index;
};

}  // namespace

class RankExamples : public ::testing::TestWithParam<RankRow> {};

TEST_P(RankExamples, RankAndUnrankAgree) {
    const RankRow& row = GetParam();
    EXPECT_EQ(RankCombination(row.mode, row.combination), row.index);
    EXPECT_EQ(UnrankCombination(row.mode, row.index), row.combination);
}

INSTANTIATE_TEST_SUITE_P(
    Index, RankExamples,
    ::testing::Values(RankRow{"mini_first", GameMode::MiniLoto, makeCombination({1, 2, 3, 4, 5}), 0},
                      RankRow{"mini_2to6", GameMode::MiniLoto, makeCombination({2, 3, 4, 5, 6}), 27405},
                      RankRow{"mini_last", GameMode::MiniLoto, makeCombination({27, 28, 29, 30, 31}), 169910},
                      RankRow{"loto6_first", GameMode::Loto6, makeCombination({1, 2, 3, 4, 5, 6}), 0},
                      RankRow{"loto6_second", GameMode::Loto6, makeCombination({1, 2, 3, 4, 5, 7}), 1},
                      RankRow{"loto6_last", GameMode::Loto6, makeCombination({38, 39, 40, 41, 42, 43}), 6096453},
                      RankRow{"loto7_first", GameMode::Loto7, makeCombination({1, 2, 3, 4, 5, 6, 7}), 0},
                      RankRow{"loto7_last_of_prefix", GameMode::Loto7, makeCombination({1, 2, 3, 4, 5, 6, 37}), 30},
                      RankRow{"loto7_2to8", GameMode::Loto7, makeCombination({2, 3, 4, 5, 6, 7, 8}), 1947792},
                      RankRow{"loto7_last", GameMode::Loto7, makeCombination({31, 32, 33, 34, 35, 36, 37}), 10295471}),
    [](const auto& row) { return std::string(row.param.name); });

class RoundTrip : public ::testing::TestWithParam<GameMode> {};

// Every index of the game unranks to the next combination in lexicographic
// order and ranks back to itself.
TEST_P(RoundTrip, WholeGame) {
    const GameMode mode = GetParam();
    const GameRules rules = rulesFor(mode);
    Combination expected = UnrankCombination(mode, 0);
    for (CombinationIndex i = 0; i < rules.combinationCount; ++i) {
        const Combination c = UnrankCombination(mode, i);
        ASSERT_EQ(c, expected) << "index " << i;
        ASSERT_EQ(RankCombination(mode, c), i);
        // Advance expected lexicographically.
        int pos = rules.pickCount - 1;
        while (pos >= 0 && expected.numbers[pos] == rules.maxNumber - (rules.pickCount - 1 - pos)) --pos;
        if (pos < 0) break;
        ++expected.numbers[pos];
        for (int j = pos + 1; j < rules.pickCount; ++j) expected.numbers[j] = expected.numbers[j - 1] + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Games, RoundTrip, ::testing::ValuesIn(kAllGames),
                         [](const auto& row) { return std::string(rulesFor(row.param).cliName); });

TEST(CombinationLine, FixedWidthForms) {
    EXPECT_EQ(FormatCombinationLine(makeCombination({3, 12, 17, 25, 31})), "  3,12,17,25,31");
    EXPECT_EQ(FormatCombinationLine(makeCombination({1, 5, 9, 20, 33, 43})), "  1, 5, 9,20,33,43");
    EXPECT_EQ(FormatCombinationLine(makeCombination({3, 12, 17, 25, 31})).size(), 15u);
    EXPECT_EQ(FormatCombinationLine(makeCombination({1, 5, 9, 20, 33, 43})).size(), 18u);
    EXPECT_EQ(FormatCombinationLine(makeCombination({37, 1, 5, 9, 20, 33, 10})), "  1, 5, 9,10,20,33,37");
}

// The game table: what the features read for each game.
TEST(GameTable, Loto7Row) {
    const GameRules& r = rulesFor(GameMode::Loto7);
    EXPECT_EQ(r.maxNumber, 37);
    EXPECT_EQ(r.pickCount, 7);
    EXPECT_EQ(r.combinationCount, 10295472);
    EXPECT_EQ(bonusCount(GameMode::Loto7), 2);
    EXPECT_EQ(r.price, 300);
    EXPECT_EQ(drawWeekdays(GameMode::Loto7), 1u << 5);  // Fridays
    EXPECT_EQ(windowTitle(GameMode::Loto7), "タンボル - [ロト７]");
    EXPECT_EQ(fileHeader(GameMode::Loto7), "[ロト７]");
}

// Each row's counts agree with its own numbers: C(N, K), and the winning
// combinations of every grade from the grade's plan.
TEST(GameTable, CountsFollowFromTheRules) {
    auto choose = [](int n, int k) {
        std::int64_t c = 1;
        for (int i = 0; i < k; ++i) c = c * (n - i) / (i + 1);
        return k < 0 || k > n ? 0 : c;
    };
    for (const GameRules& r : kGameTable) {
        EXPECT_EQ(r.combinationCount, choose(r.maxNumber, r.pickCount)) << r.name;
        const int others = r.maxNumber - r.pickCount - r.bonusCount;
        for (int g = 0; g < r.gradeCount; ++g) {
            const GradeRule& rule = r.grades[static_cast<std::size_t>(g)];
            EXPECT_EQ(rule.mainPick + rule.poolPick, r.pickCount) << r.name << g;
            std::int64_t pool = 1;
            switch (rule.pool) {
            case Pool::None: pool = 1; break;
            case Pool::Bonus: pool = choose(r.bonusCount, rule.poolPick); break;
            case Pool::Others: pool = choose(others, rule.poolPick); break;
            case Pool::NonMain: pool = choose(others + r.bonusCount, rule.poolPick); break;
            case Pool::WithBonus: pool = choose(others + r.bonusCount, rule.poolPick) - choose(others, rule.poolPick); break;
            }
            EXPECT_EQ(rule.candidateCount, choose(r.pickCount, rule.mainPick) * pool) << r.name << g;
        }
    }
}

// The ロト７ theoretical amounts: 45 % of the sales of every combination
// shared among the grades, divided by the grade's winners, rounded down to
// 100 yen.
TEST(GameTable, Loto7AmountsFromTheShares) {
    const double shares[] = {50.364, 6.122, 7.052, 4.275, 14.413, 17.774};
    const GameRules& r = rulesFor(GameMode::Loto7);
    const double pool = 10295472.0 * 300 * 0.45;
    for (int g = 0; g < 6; ++g) {
        const GradeRule& rule = r.grades[static_cast<std::size_t>(g)];
        const auto amount = static_cast<std::int64_t>(pool * shares[g] / 100 / rule.candidateCount) / 100 * 100;
        EXPECT_EQ(rule.amount, amount) << g + 1;
    }

}

TEST(CombinationSetTest, TestAndSetAndModuloReduction) {
    CombinationSet set;
    EXPECT_FALSE(set.add(5));
    EXPECT_TRUE(set.add(5));
    EXPECT_TRUE(set.contains(5 + CombinationSet::kBits));
    EXPECT_TRUE(set.contains(5 - CombinationSet::kBits));
    set.remove(5);
    EXPECT_FALSE(set.contains(5));
    EXPECT_EQ(set.bytes().size(), 1286934u);  // every ロト７ index, the largest game
    set.add(9);
    EXPECT_EQ(set.bytes()[1], 0x02);  // bit 1 of byte 1, least significant first
}

namespace {

struct CountRow {
    const char* name;
    std::int64_t value;
    const char* text;
};

}  // namespace

class JapaneseCount : public ::testing::TestWithParam<CountRow> {};
TEST_P(JapaneseCount, Formats) { EXPECT_EQ(FormatJapaneseCount(GetParam().value), GetParam().text); }
INSTANTIATE_TEST_SUITE_P(
    Values, JapaneseCount,
    ::testing::Values(CountRow{"loto6_space", 6096454, "609万6454"}, CountRow{"mini_space", 169911, "16万9911"},
                      CountRow{"ten_thousand", 10000, "1万"}, CountRow{"oku_and_units", 100000500, "1億500"},
                      CountRow{"all_units", 1219290800, "12億1929万800"}, CountRow{"zero", 0, "0"},
                      CountRow{"below_oku", 99999999, "9999万9999"}, CountRow{"one_oku", 100000000, "1億"},
                      CountRow{"small", 18, "18"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BinomialTest, RunningProduct) {
    EXPECT_EQ(static_cast<long long>(Binomial(43, 6)), 6096454);
    EXPECT_EQ(static_cast<long long>(Binomial(31, 5)), 169911);
    EXPECT_EQ(static_cast<long long>(Binomial(26, 6)), 230230);
    EXPECT_EQ(Binomial(5, 0), 1.0L);
    EXPECT_EQ(Binomial(3, 5), 0.0L);
}
