#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/combination_list.h"
#include "session/session.h"
#include "generate/random_draw.h"
#include "history/history_store.h"

using namespace tambor;

namespace {

DrawHistory builtinHistory(GameMode mode) {
    HistoryStore store;
    store.loadBuiltin(mode);
    return drawHistoryOf(store);
}

std::vector<std::string> listLines(const CombinationList& list) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < list.size(); ++i) lines.push_back(list.lineAt(i));
    return lines;
}

DrawRequest forbidAllBut(GameMode mode, std::initializer_list<int> allowed) {
    DrawRequest request;
    const int n = rulesFor(mode).maxNumber;
    for (int v = 1; v <= n; ++v) request.forbidden[static_cast<std::size_t>(v - 1)] = true;
    for (int v : allowed) request.forbidden[static_cast<std::size_t>(v - 1)] = false;
    return request;
}

}  // namespace

// ---- The weighting rules: the new weight of number 5 after number 1 was drawn.

struct RuleRow {
    const char* name;
    int mode;
    std::int32_t pair;      // PairCount[1][5]
    std::int32_t previous;  // weight of 5 before the draw
    std::int32_t draws;
    std::int32_t hits;      // HitCount of 5
    double deviation;       // DeviationValue of 5
    bool forbidden;
    std::int32_t expected;
};

class WeightRule : public ::testing::TestWithParam<RuleRow> {};

TEST_P(WeightRule, NewWeightOfNumberFive) {
    const RuleRow& row = GetParam();
    DrawHistory history;
    history.game = GameMode::MiniLoto;
    history.drawCount = row.draws;
    history.hitCount[4] = row.hits;
    history.pairCount[0][4] = history.pairCount[4][0] = row.pair;
    history.deviationValue.fill(50.0);
    history.deviationValue[4] = row.deviation;
    DrawRequest request;
    request.mode = priorityModeFromIndex(row.mode);
    request.forbidden[4] = row.forbidden;

    DrawWeights weights{};
    weights[1] = 40'000'000;
    for (int n = 2; n <= 31; ++n) weights[static_cast<std::size_t>(n)] = row.previous;
    std::int32_t sum = 0;
    for (int n = 1; n <= 31; ++n) sum += weights[static_cast<std::size_t>(n)];
    weights[0] = sum;
    // A seed whose first draw lands in number 1's share of the walk.
    RandomGenerator random;
    for (std::uint32_t seed = 1;; ++seed) {
        RandomGenerator probe;
        probe.SeedRandom(seed);
        if (probe.RandomBelow(sum) < weights[1]) {
            random.SeedRandom(seed);
            break;
        }
    }
    DrawStatistics statistics;
    ASSERT_EQ(DrawWeightedNumber(history, request, weights, statistics, random), 0);
    EXPECT_EQ(weights[5], row.expected);
    std::int32_t total = 0;
    for (int n = 1; n <= 31; ++n) total += weights[static_cast<std::size_t>(n)];
    EXPECT_EQ(weights[0], total);
    EXPECT_EQ(statistics.selectionCount[0], 1);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Generate, WeightRule,
    ::testing::Values(
        RuleRow{"mode0_pairs", 0, 3, 7, 0, 0, 50, false, 14},  // trunc(sqrt(3*7*10+1))
        RuleRow{"mode0_no_pair", 0, 0, 50, 0, 0, 50, false, 1},
        RuleRow{"mode0_product_beyond_32_bits", 0, 30000, 300000, 0, 0, 50, false, 300000},
        RuleRow{"mode1_deviation", 1, 0, 7, 0, 0, 63.9, false, 63},
        RuleRow{"mode1_negative_deviation", 1, 0, 7, 0, 0, -4.2, false, 0},
        RuleRow{"mode1_undefined_deviation", 1, 0, 7, 0, 0, kNaN, false, 50},
        RuleRow{"mode2_pairs", 2, 3, 7, 0, 0, 50, false, 31},
        RuleRow{"mode3_flat", 3, 3, 7, 0, 0, 50, false, 1},
        RuleRow{"mode4_rare", 4, 0, 7, 175, 30, 50, false, 1451},
        RuleRow{"mode4_hits_beyond_draws", 4, 0, 7, 0, 2, 50, false, 0},
        RuleRow{"mode5_deviation", 5, 0, 7, 0, 0, 63.9, false, 36},
        RuleRow{"mode5_deviation_over_100", 5, 0, 7, 0, 0, 120, false, 0},
        RuleRow{"mode5_undefined_deviation", 5, 0, 7, 0, 0, kNaN, false, 50},
        RuleRow{"mode6_compounds", 6, 0, 7, 175, 30, 50, false, 100},  // trunc(sqrt(1451*7))
        RuleRow{"mode6_zero_stays_zero", 6, 0, 0, 175, 30, 50, false, 0},
        RuleRow{"mode_out_of_range_acts_as_0", 9, 3, 7, 0, 0, 50, false, 14},
        RuleRow{"forbidden_is_zero", 3, 3, 7, 0, 0, 50, true, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Fixed and forbidden numbers.

TEST(GenerateDraw, AllFixedGivesOneLineOneDuplicate) {
    CombinationList list(GameMode::MiniLoto);
    DrawHistory history = builtinHistory(GameMode::MiniLoto);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.fixedNumbers = {3, 8, 12, 20, 31};
    request.count = 5;
    RandomGenerator random;
    random.SeedRandom(1);
    const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(listLines(list), std::vector<std::string>{"  3, 8,12,20,31"});
    ASSERT_EQ(list.duplicates().size(), 1u);
    EXPECT_EQ(list.duplicateLineAt(0), "  3, 8,12,20,31");
    EXPECT_EQ(result.listed, 1u);
    EXPECT_EQ(result.duplicates, 1u);
    EXPECT_EQ(result.produced, 5);
    EXPECT_TRUE(list.changed());
}

class AllButPickForbidden : public ::testing::TestWithParam<int> {};

TEST_P(AllButPickForbidden, EveryCombinationIsTheRemainingNumbers) {
    CombinationList list(GameMode::Loto6);
    DrawHistory history = builtinHistory(GameMode::Loto6);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request = forbidAllBut(GameMode::Loto6, {2, 9, 17, 28, 35, 41});
    request.mode = priorityModeFromIndex(GetParam());
    request.count = 20;
    RandomGenerator random;
    random.SeedRandom(5);
    RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(listLines(list), std::vector<std::string>{"  2, 9,17,28,35,41"});
    EXPECT_EQ(list.duplicates().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Generate, AllButPickForbidden, ::testing::Range(0, kPriorityModeCount),
                         [](const auto& row) { return "mode" + std::to_string(row.param); });

TEST(GenerateDraw, FlatModeWeighsEveryAllowedNumberOne) {
    DrawHistory history = builtinHistory(GameMode::MiniLoto);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.mode = PriorityMode::NoPreference;
    request.forbidden[6] = request.forbidden[19] = true;
    RandomGenerator random;
    random.SeedRandom(3);
    DrawWeightedNumber(history, request, weights, statistics, random);
    for (int n = 1; n <= 31; ++n) EXPECT_EQ(weights[static_cast<std::size_t>(n)], n == 7 || n == 20 ? 0 : 1) << n;
    EXPECT_EQ(weights[0], 29);
}

// A number forbidden during a draw in mode 6 keeps weight 0 afterwards.
TEST(GenerateDraw, AvoidPairsModeKeepsOnceForbiddenNumberAtZero) {
    CombinationList list(GameMode::Loto6);
    DrawHistory history = builtinHistory(GameMode::Loto6);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    RandomGenerator random;
    random.SeedRandom(11);
    DrawRequest request;
    request.mode = PriorityMode::AvoidPairs;
    request.count = 10;
    request.forbidden[6] = true;
    RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    list.clear();
    request.forbidden[6] = false;
    request.count = 300;
    RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(weights[7], 0);
    for (CombinationIndex index : list.items()) {
        const Combination c = UnrankCombination(GameMode::Loto6, index);
        ASSERT_EQ(std::count(c.begin(), c.end(), 7), 0) << FormatCombinationLine(c);
    }
}

// Mode 6 after the forbidden numbers changed: the six allowed numbers all
// carry weight 0; the draw falls back to equal chances and ends.
TEST(GenerateDraw, ZeroWeightsForEveryAllowedNumberStillFinish) {
    CombinationList list(GameMode::Loto6);
    DrawHistory history = builtinHistory(GameMode::Loto6);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    RandomGenerator random;
    random.SeedRandom(12);
    DrawRequest first = forbidAllBut(GameMode::Loto6, {38, 39, 40, 41, 42, 43});
    first.mode = PriorityMode::AvoidPairs;
    RunRandomDraw(history, first, weights, statistics, random, list, nullptr);
    DrawRequest second = forbidAllBut(GameMode::Loto6, {1, 2, 3, 4, 5, 6});
    second.mode = PriorityMode::AvoidPairs;
    second.count = 3;
    list.clear();
    RunRandomDraw(history, second, weights, statistics, random, list, nullptr);
    EXPECT_EQ(listLines(list), std::vector<std::string>{"  1, 2, 3, 4, 5, 6"});
}

TEST(GenerateDraw, NegativeWeightsAreNeverDrawn) {
    CombinationList list(GameMode::Loto6);
    DrawHistory history = builtinHistory(GameMode::Loto6);
    history.deviationValue.fill(-5.0);
    for (int n = 1; n <= 6; ++n) history.deviationValue[static_cast<std::size_t>(n - 1)] = 60.0;
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.mode = PriorityMode::PreferHighDeviation;
    request.count = 50;
    RandomGenerator random;
    random.SeedRandom(13);
    RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(listLines(list), std::vector<std::string>{"  1, 2, 3, 4, 5, 6"});
}

// ---- An empty or degenerate history: every mode ends with valid combinations.

struct DegenerateRow {
    const char* name;
    int mode;
    double deviation;
};

class DegenerateHistory : public ::testing::TestWithParam<DegenerateRow> {};

TEST_P(DegenerateHistory, DrawsFinishInRange) {
    const DegenerateRow& row = GetParam();
    DrawHistory history;  // no draws, no hits, no pairs
    history.game = GameMode::Loto6;
    history.deviationValue.fill(row.deviation);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.mode = priorityModeFromIndex(row.mode);
    request.count = 200;
    request.fixedNumbers = {43};
    request.forbidden[0] = true;
    CombinationList list(GameMode::Loto6);
    RandomGenerator random;
    random.SeedRandom(21);
    const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(result.produced, 200);
    EXPECT_GT(list.size(), 1u);
    for (CombinationIndex index : list.items()) {
        const Combination c = UnrankCombination(GameMode::Loto6, index);
        ASSERT_TRUE(isValidCombination(GameMode::Loto6, c));
        ASSERT_EQ(c[0] == 1, false);
        ASSERT_EQ(c[5], 43);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Generate, DegenerateHistory,
    ::testing::Values(DegenerateRow{"pairs_nan", 0, kNaN}, DegenerateRow{"high_dev_nan", 1, kNaN},
                      DegenerateRow{"high_dev_zero", 1, 0.0}, DegenerateRow{"high_dev_fifty", 1, 50.0},
                      DegenerateRow{"frequent", 2, kNaN}, DegenerateRow{"flat", 3, kNaN},
                      DegenerateRow{"rare", 4, kNaN}, DegenerateRow{"low_dev_nan", 5, kNaN},
                      DegenerateRow{"low_dev_hundred", 5, 100.0}, DegenerateRow{"low_dev_fifty", 5, 50.0},
                      DegenerateRow{"avoid_pairs", 6, kNaN}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- The count field, statistics, past winners, reproducibility.

struct CountRow {
    const char* name;
    const char* text;
    int expected;
};

class DrawCountText : public ::testing::TestWithParam<CountRow> {};

TEST_P(DrawCountText, Parses) { EXPECT_EQ(parseDrawCount(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Generate, DrawCountText,
                         ::testing::Values(CountRow{"zero", "0", 1}, CountRow{"not_a_number", "abc", 1},
                                           CountRow{"empty", "", 1}, CountRow{"twelve", "12", 12},
                                           CountRow{"negative", "-3", 1}, CountRow{"above_spinner", "20000", 20000},
                                           CountRow{"overflow", "99999999999", 1}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GenerateDraw, SelectionCountsCoverEveryDrawnPlace) {
    CombinationList list(GameMode::Loto6);
    DrawHistory history = builtinHistory(GameMode::Loto6);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.fixedNumbers = {5};
    request.count = 300;
    RandomGenerator random;
    random.SeedRandom(31);
    RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    std::int64_t sum = 0;
    for (std::int32_t c : statistics.selectionCount) sum += c;
    EXPECT_GE(sum, 300 * 5);
    // Every combination holds 5, so 5 stood with others 300 × 5 times.
    std::int64_t withFive = 0;
    for (std::int32_t c : statistics.drawPairCount[4]) withFive += c;
    EXPECT_EQ(withFive, 1500);
}

TEST(GenerateDraw, PastWinnerGoesToTheDuplicateList) {
    CombinationList list(GameMode::MiniLoto);
    DrawHistory history = builtinHistory(GameMode::MiniLoto);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    CombinationSet pastWinners;
    SetAdd(GameMode::MiniLoto, pastWinners, makeCombination({1, 3, 17, 20, 25}));
    DrawRequest request;
    request.fixedNumbers = {1, 3, 17, 20, 25};
    request.count = 3;
    RandomGenerator random;
    random.SeedRandom(1);
    const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, &pastWinners);
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(list.duplicates().size(), 1u);
    EXPECT_EQ(list.duplicateLineAt(0), "  1, 3,17,20,25");
    EXPECT_EQ(result.duplicates, 1u);
    EXPECT_TRUE(list.changed());
}

TEST(GenerateDraw, SameSeedSameLines) {
    const DrawHistory history = builtinHistory(GameMode::Loto6);
    auto run = [&](std::uint32_t seed) {
        CombinationList list(GameMode::Loto6);
        DrawWeights weights = initialDrawWeights(history);
        DrawStatistics statistics;
        DrawRequest request;
        request.count = 200;
        request.forbidden[9] = true;
        RandomGenerator random;
        random.SeedRandom(seed);
        RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
        return listLines(list);
    };
    const auto first = run(2024);
    EXPECT_EQ(first.size(), 200u);
    EXPECT_EQ(run(2024), first);
    EXPECT_NE(run(2025), first);
}

struct InvalidRow {
    const char* name;
    GameMode game;
    std::vector<int> fixed;
    std::vector<int> forbidden;
};

class InvalidDrawRequest : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(InvalidDrawRequest, IsRefused) {
    const InvalidRow& row = GetParam();
    DrawHistory history;
    history.game = row.game;
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    DrawRequest request;
    request.fixedNumbers = row.fixed;
    for (int n : row.forbidden) request.forbidden[static_cast<std::size_t>(n - 1)] = true;
    CombinationList list(row.game);
    RandomGenerator random;
    EXPECT_THROW(RunRandomDraw(history, request, weights, statistics, random, list, nullptr), std::invalid_argument);
    EXPECT_TRUE(list.empty());
}

std::vector<int> range(int from, int to) {
    std::vector<int> v;
    for (int n = from; n <= to; ++n) v.push_back(n);
    return v;
}

INSTANTIATE_TEST_SUITE_P(
    Generate, InvalidDrawRequest,
    ::testing::Values(InvalidRow{"six_fixed_mini", GameMode::MiniLoto, {1, 2, 3, 4, 5, 6}, {}},
                      InvalidRow{"fixed_out_of_range", GameMode::MiniLoto, {32}, {}},
                      InvalidRow{"fixed_repeated", GameMode::Loto6, {4, 4}, {}},
                      InvalidRow{"fixed_and_forbidden", GameMode::Loto6, {9}, {9}},
                      InvalidRow{"too_few_allowed_mini", GameMode::MiniLoto, {}, range(1, 27)},
                      InvalidRow{"too_few_allowed_loto6", GameMode::Loto6, {}, range(5, 42)}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(GenerateDraw, ProgressEveryThousandAndStop) {
    const DrawHistory history = builtinHistory(GameMode::MiniLoto);
    DrawRequest request;
    request.count = 2500;
    std::vector<int> seen;
    {
        CombinationList list(GameMode::MiniLoto);
        DrawWeights weights = initialDrawWeights(history);
        DrawStatistics statistics;
        RandomGenerator random;
        random.SeedRandom(1);
        RunRandomDraw(history, request, weights, statistics, random, list, nullptr, [&](int percent) {
            seen.push_back(percent);
            return true;
        });
    }
    EXPECT_EQ(seen, (std::vector<int>{40, 80, 100}));
    CombinationList list(GameMode::MiniLoto);
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    RandomGenerator random;
    random.SeedRandom(1);
    const DrawResult result =
        RunRandomDraw(history, request, weights, statistics, random, list, nullptr, [](int) { return false; });
    EXPECT_FALSE(result.completed);
    EXPECT_EQ(result.produced, 1000);
}

// ---- The weighting report.

TEST(GenerateDrawReport, OrderPartnersAndEmptySlots) {
    DrawStatistics s;
    s.selectionCount[4] = 3;  // 5
    s.selectionCount[1] = 3;  // 2
    s.selectionCount[8] = 1;  // 9
    auto pair = [&](int a, int b, int count) {
        s.drawPairCount[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)] = count;
        s.drawPairCount[static_cast<std::size_t>(b - 1)][static_cast<std::size_t>(a - 1)] = count;
    };
    pair(5, 2, 2);
    pair(5, 7, 2);
    pair(5, 31, 1);
    const auto lines = WeightingReport(GameMode::MiniLoto, s);
    ASSERT_EQ(lines.size(), 34u);  // 31 numbers and three separators
    EXPECT_EQ(lines[0], " 1位= 2(3回), 連対率1位( 5)=2回, 連対率2位( 1)=0回, 連対率3位( 1)=0回");
    EXPECT_EQ(lines[1], " 2位= 5(3回), 連対率1位( 2)=2回, 連対率2位( 7)=2回, 連対率3位(31)=1回");
    EXPECT_EQ(lines[2], " 3位= 9(1回), 連対率1位( 1)=0回, 連対率2位( 1)=0回, 連対率3位( 1)=0回");
    // Equal counts keep ascending number order: 1, 3, 4, 6, ...
    EXPECT_TRUE(lines[3].starts_with(" 4位= 1(0回)")) << lines[3];
    EXPECT_TRUE(lines[4].starts_with(" 5位= 3(0回)")) << lines[4];
    EXPECT_EQ(lines[10], std::string(81, '-'));
    EXPECT_EQ(lines[21], std::string(81, '-'));
    EXPECT_EQ(lines[32], std::string(81, '-'));
    EXPECT_TRUE(lines[33].starts_with("31位=31(0回)")) << lines[33];
}

TEST(GenerateDrawReport, LaterHigherCountDoesNotReorderTies) {
    DrawStatistics s;
    s.selectionCount[0] = 1;
    s.selectionCount[1] = 1;
    s.selectionCount[2] = 2;
    const auto lines = WeightingReport(GameMode::Loto6, s);
    ASSERT_EQ(lines.size(), 47u);
    EXPECT_TRUE(lines[0].starts_with(" 1位= 3(2回)")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with(" 2位= 1(1回)")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with(" 3位= 2(1回)")) << lines[2];
    EXPECT_TRUE(lines[46].starts_with("43位=43(0回)")) << lines[46];
}
