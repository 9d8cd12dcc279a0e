// The filter conditions in the generators, the session and the settings
// file: the draw and the builder never list a failing combination and count
// every one they leave out, the R system ignores the conditions, narrowing
// the list is one undo step, and the conditions survive Tambor.ini.

#include <gtest/gtest.h>

#include <bit>

#include "generate/combination_builder.h"
#include "generate/filter_text.h"
#include "generate/random_draw.h"
#include "history/history_store.h"
#include "history_test_support.h"
#include "io/text_file.h"
#include "session/refusals.h"
#include "session/session.h"
#include "session/settings_file.h"

using namespace tambor;
using history_test::TempFolder;

namespace {

std::uint64_t maskOf(GameMode game, CombinationIndex index) { return numberMask(UnrankCombination(game, index)); }

DrawHistory builtinHistory(GameMode mode) {
    HistoryStore store;
    store.loadBuiltin(mode);
    return drawHistoryOf(store);
}

TEST(FilterDraw, ListsOnlyPassingCombinationsAndCountsTheRest) {
    const GameMode game = GameMode::Loto6;
    const DrawHistory history = builtinHistory(game);
    const CombinationFilter filter(game, parseFilterText(game, "sum=100-160,odd=2-4,consecutive=0-1,previous=0-1"),
                                   numberMask(std::vector{2, 8, 10, 13, 27, 30}));
    for (PriorityMode mode : {PriorityMode::PreferPairs, PriorityMode::NoPreference, PriorityMode::AvoidPairs}) {
        DrawRequest request;
        request.count = 400;
        request.mode = mode;
        request.filter = &filter;
        DrawWeights weights = initialDrawWeights(history);
        DrawStatistics statistics;
        RandomGenerator random;
        random.SeedRandom(11);
        CombinationList list(game);
        const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
        EXPECT_EQ(result.passed, 400);
        EXPECT_GT(result.excluded, 0);
        EXPECT_EQ(result.excluded + result.passed, result.produced);
        // Each passing one is listed or (drawn again) a duplicate.
        EXPECT_EQ(static_cast<std::int64_t>(list.size() + list.duplicates().size()), result.passed);
        for (CombinationIndex index : list.items()) EXPECT_TRUE(filter.passes(maskOf(game, index)));
        for (CombinationIndex index : list.duplicates()) EXPECT_TRUE(filter.passes(maskOf(game, index)));
    }
}

TEST(FilterDraw, StopsAtTheTryLimitAndSaysHowManyItFound) {
    const GameMode game = GameMode::Loto6;
    const DrawHistory history = builtinHistory(game);
    // Six numbers in a row: 38 of 6 million combinations.
    const CombinationFilter filter(game, parseFilterText(game, "consecutive=5"), 0);
    DrawRequest request;
    request.count = 3;
    request.mode = PriorityMode::NoPreference;
    request.filter = &filter;
    DrawWeights weights = initialDrawWeights(history);
    DrawStatistics statistics;
    RandomGenerator random;
    random.SeedRandom(5);
    CombinationList list(game);
    const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
    EXPECT_EQ(result.produced, 3 * kFilterTryFactor);
    EXPECT_EQ(result.passed + result.excluded, result.produced);
    EXPECT_LT(result.passed, 3);
    EXPECT_EQ(static_cast<std::int64_t>(list.size()), result.passed);
    EXPECT_TRUE(result.completed);
}

TEST(FilterDraw, WithoutConditionsTheDrawIsUnchanged) {
    const GameMode game = GameMode::MiniLoto;
    const DrawHistory history = builtinHistory(game);
    const CombinationFilter off(game, defaultFilterSettings(game), 0);
    std::vector<CombinationIndex> lines[2];
    for (int run = 0; run < 2; ++run) {
        DrawRequest request;
        request.count = 200;
        if (run == 1) request.filter = &off;
        DrawWeights weights = initialDrawWeights(history);
        DrawStatistics statistics;
        RandomGenerator random;
        random.SeedRandom(99);
        CombinationList list(game);
        const DrawResult result = RunRandomDraw(history, request, weights, statistics, random, list, nullptr);
        EXPECT_EQ(result.produced, 200);
        EXPECT_EQ(result.excluded, 0);
        lines[run] = list.items();
    }
    EXPECT_EQ(lines[0], lines[1]);
}

TEST(FilterBuild, ListsOnlyPassingCombinationsAndCountsTheRest) {
    const GameMode game = GameMode::Loto6;
    const CombinationFilter filter(game, parseFilterText(game, "sum=60-90,lastdigit=0-1,decade=0-3"), 0);
    BuildRequest request;
    request.game = game;
    request.axis = {7};
    for (int v = 10; v <= 30; ++v) request.together.push_back(v);
    request.filter = &filter;
    CombinationList list(game);
    // One combination is listed before: it passes and becomes a duplicate.
    const Combination before = makeCombination({7, 10, 13, 15, 21, 24});
    ASSERT_TRUE(filter.passes(numberMask(before)));
    list.append(before);
    CombinationSet pastWinners, scratch;
    RandomGenerator random;
    const BuildResult result = RunCombinationBuilder(request, list, pastWinners, scratch, random);
    // The plain count of what passes.
    std::int64_t passing = 0;
    for (CombinationIndex i = 0; i < rulesFor(game).combinationCount; ++i) {
        const std::uint64_t mask = maskOf(game, i);
        if ((mask & (1ull << 6)) && (mask & ~((1ull << 6) | (((1ull << 21) - 1) << 9))) == 0 && filter.passes(mask))
            ++passing;
    }
    EXPECT_EQ(result.enumerated, exactBinomial(21, 5));
    EXPECT_EQ(static_cast<std::int64_t>(result.excluded), result.enumerated - passing);
    EXPECT_EQ(static_cast<std::int64_t>(result.listed + result.duplicates), passing);
    EXPECT_EQ(result.duplicates, 1u);
    for (CombinationIndex index : list.items()) EXPECT_TRUE(filter.passes(maskOf(game, index)));
}

TEST(FilterBuild, TheRSystemIgnoresTheConditions) {
    const GameMode game = GameMode::Loto6;
    const CombinationFilter filter(game, parseFilterText(game, "sum=21-30"), 0);
    BuildRequest request;
    request.game = game;
    request.together = {1, 2, 3, 4, 5, 6, 7, 8};
    request.rSystem = true;
    request.arrange = ArrangeMode::Ascending;
    request.filter = &filter;
    CombinationList list(game);
    CombinationSet pastWinners, scratch;
    RandomGenerator random;
    const BuildResult result = RunCombinationBuilder(request, list, pastWinners, scratch, random);
    EXPECT_EQ(result.excluded, 0u);
    EXPECT_EQ(list.size(), 4u);  // as without conditions
}

// ---------------------------------------------------------------- session

struct FilterSession : ::testing::Test {
    TempFolder folder;
    Session session{folder.path};
    FilterSession() {
        session.switchGame(GameMode::Loto6);
        session.random().SeedRandom(1);
    }
};

TEST_F(FilterSession, OffByDefaultAndKeptPerGame) {
    EXPECT_EQ(session.filterSettings(), defaultFilterSettings(GameMode::Loto6));
    EXPECT_FALSE(session.currentFilter().active());
    EXPECT_TRUE(session.setFilterSettings(parseFilterText(GameMode::Loto6, "odd=3")).has(Change::Options));
    EXPECT_FALSE(session.setFilterSettings(parseFilterText(GameMode::Loto6, "odd=3")).any());
    session.switchGame(GameMode::MiniLoto);
    EXPECT_FALSE(session.filterSettings().anyEnabled());
    session.switchGame(GameMode::Loto6);
    EXPECT_EQ(session.filterSettings()[FilterCondition::Odd], (FilterRange{true, 3, 3}));
}

TEST_F(FilterSession, PreviousIsTheNewestDraw) {
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "previous=6"));
    int mains[kMaxPick] = {};
    int bonuses[kMaxBonus] = {};
    int count = 0, bonusCount = 0;
    ASSERT_TRUE(session.history().drawOnBoard(session.history().drawCount(), mains, count, bonuses, bonusCount));
    const CombinationFilter filter = session.currentFilter();
    EXPECT_TRUE(filter.passes(numberMask(std::vector<int>(mains, mains + count))));
    EXPECT_EQ(filter.statistic(FilterCondition::Previous, numberMask(std::vector<int>(mains, mains + count))), 6);
}

TEST_F(FilterSession, DrawAndBuildReportWhatTheyLeftOut) {
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "odd=0-1"));
    const Changes drawn = session.randomDraw(30);
    EXPECT_EQ(session.list().size() + session.list().duplicates().size(), 30u);
    EXPECT_EQ(session.filterResult().rfind("条件で除外: ", 0), 0u);
    EXPECT_EQ(session.weightingReport().front(), session.filterResult());
    EXPECT_TRUE(drawn.refusal().empty());
    // Impossible within the tries: said in the status bar.
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "consecutive=5"));
    const Changes short_ = session.randomDraw(2);
    EXPECT_EQ(short_.refusal().rfind("条件を満たす組み合わせは ", 0), 0u) << short_.refusal();
    // The builder: odd 0-1 of 1..12 leaves the six even numbers and one odd.
    session.clearList();
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "odd=0-1"));
    session.selectRole(Together);
    for (int v = 1; v <= 12; ++v) session.clickNumber(v, false);
    session.buildCombinations();
    // C(6,6) + 6 × C(6,5) = 37 of C(12,6) = 924.
    EXPECT_EQ(session.list().size(), 37u);
    EXPECT_EQ(session.filterResult(), "条件で除外: 887 口");
    // With the R system the conditions are not used.
    session.clearList();
    session.changeOptions([](Options& o) { o.rSystem = true; });
    EXPECT_FALSE(session.builderFiltered());
    session.buildCombinations();
    EXPECT_EQ(session.filterResult(), "");
    EXPECT_GT(session.list().size(), 37u);
}

TEST_F(FilterSession, NarrowingIsOneUndoStep) {
    EXPECT_EQ(session.narrowList().refusal(), refusal::kNoFilterConditions);
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "sum=21-35"));
    EXPECT_EQ(session.narrowList().refusal(), refusal::kNothingToNarrow);
    // Built without conditions, narrowed with them.
    session.setFilterSettings(defaultFilterSettings(GameMode::Loto6));
    session.selectRole(Together);
    for (int v = 1; v <= 10; ++v) session.clickNumber(v, false);
    session.buildCombinations();
    session.list().setChanged(false);
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "sum=21-35"));
    const std::vector<CombinationIndex> all = session.list().items();
    const Changes narrowed = session.narrowList();
    EXPECT_TRUE(narrowed.has(Change::List));
    EXPECT_TRUE(session.list().changed());
    const CombinationFilter filter = session.currentFilter();
    std::size_t passing = 0;
    for (CombinationIndex index : all) passing += filter.passes(maskOf(GameMode::Loto6, index));
    EXPECT_EQ(session.list().size(), passing);
    EXPECT_LT(passing, all.size());
    for (CombinationIndex index : all)
        EXPECT_EQ(session.list().listedSet().contains(index), filter.passes(maskOf(GameMode::Loto6, index)));
    // Everything passes now: refused, and the undo step is still the narrowing.
    EXPECT_EQ(session.narrowList().refusal(), refusal::kAllPassFilter);
    session.undoList();
    EXPECT_EQ(session.list().items(), all);
    EXPECT_FALSE(session.list().changed());
}

TEST_F(FilterSession, AStoppedNarrowingLeavesTheList) {
    session.setFilterSettings(parseFilterText(GameMode::Loto6, "sum=21-100"));
    for (CombinationIndex i = 0; i < 5000; ++i) session.list().appendIndex(i);
    const std::vector<CombinationIndex> all = session.list().items();
    session.narrowList([](int) { return false; });
    EXPECT_EQ(session.list().items(), all);
    EXPECT_FALSE(session.canUndoList());
}

// ---------------------------------------------------------------- settings file

TEST(FilterSettingsFile, RoundTripPerGame) {
    TempFolder folder;
    const auto path = settingsPath(folder.path);
    StoredSettings s;
    s.options.filters[GameMode::Loto6] = parseFilterText(GameMode::Loto6, "sum=100-160,previous=0-2");
    // A range kept while its condition is off.
    FilterSettings mini = defaultFilterSettings(GameMode::MiniLoto);
    mini[FilterCondition::Spread] = {false, 10, 20};
    s.options.filters[GameMode::MiniLoto] = mini;
    writeSettingsFile(path, s, nullptr);
    const auto lines = readTextFileLines(path);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "[絞り込み条件 ロト６]"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ロト６.sum=1,100,160"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "ミニロト.spread=0,10,20"), lines.end());
    EXPECT_EQ(readSettingsFile(path, StoredSettings{}, nullptr), s);
}

TEST(FilterSettingsFile, DefaultsWriteNothingAndBadLinesFallBack) {
    StoredSettings s;
    s.options.filters[GameMode::Loto6] = defaultFilterSettings(GameMode::Loto6);
    EXPECT_EQ(settingsLines(s, nullptr), settingsLines(StoredSettings{}, nullptr));
    const StoredSettings read = parseSettings({"[絞り込み条件 ロト６]", "ロト６.odd=1,2,4", "ロト６.sum=1,160,100",
                                               "ロト６.low=yes", "ロト６.spread=1,-3,5"},
                                              StoredSettings{}, nullptr);
    ASSERT_EQ(read.options.filters.count(GameMode::Loto6), 1u);
    const FilterSettings& f = read.options.filters.at(GameMode::Loto6);
    EXPECT_EQ(f[FilterCondition::Odd], (FilterRange{true, 2, 4}));
    const FilterSettings d = defaultFilterSettings(GameMode::Loto6);
    EXPECT_EQ(f[FilterCondition::Sum], d[FilterCondition::Sum]);
    EXPECT_EQ(f[FilterCondition::Low], d[FilterCondition::Low]);
    EXPECT_EQ(f[FilterCondition::Spread], d[FilterCondition::Spread]);
    EXPECT_EQ(read.options.filters.count(GameMode::MiniLoto), 0u);
    // Lines that say what the start says are no entry (so a write and a
    // read give the same settings).
    EXPECT_TRUE(parseSettings({"ロト６.sum=0,21,243"}, StoredSettings{}, nullptr).options.filters.empty());
}

}  // namespace
