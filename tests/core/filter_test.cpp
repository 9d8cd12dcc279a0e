// The filter conditions: each statistic on hand-worked combinations and at
// the edges of its range, the condition text, and the pass rates over the
// history against a plain count of the history lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>

#include "core/combination.h"
#include "generate/filter_text.h"
#include "history/filter_history.h"
#include "history/history_store.h"
#include "io/text_file.h"

using namespace tambor;

namespace {

// ---------------------------------------------------------------- statistics

struct Worked {
    const char* name;
    GameMode game;
    std::vector<int> numbers;
    std::vector<int> previous;
    FilterStatistics expected;  // sum, odd, low, consecutive, lastdigit, decade, previous, spread
};

void PrintTo(const Worked& w, std::ostream* os) { *os << w.name; }

class WorkedCombination : public ::testing::TestWithParam<Worked> {};

TEST_P(WorkedCombination, EveryStatistic) {
    const Worked& w = GetParam();
    const CombinationFilter filter(w.game, defaultFilterSettings(w.game), numberMask(w.previous));
    EXPECT_EQ(filter.statistics(numberMask(w.numbers)), w.expected);
}

// Each condition alone, with its range just on the value, just above it and
// just below it.
TEST_P(WorkedCombination, RangeEdgesAreInclusive) {
    const Worked& w = GetParam();
    const std::uint64_t mask = numberMask(w.numbers);
    for (int c = 0; c < kFilterConditionCount; ++c) {
        const int value = w.expected[static_cast<std::size_t>(c)];
        const auto passesWith = [&](int min, int max) {
            FilterSettings s = defaultFilterSettings(w.game);
            s.ranges[static_cast<std::size_t>(c)] = {true, min, max};
            return CombinationFilter(w.game, s, numberMask(w.previous)).passes(mask);
        };
        SCOPED_TRACE(filterConditionName(filterConditionAt(c)));
        EXPECT_TRUE(passesWith(value, value));
        EXPECT_FALSE(passesWith(value + 1, value + 5));
        EXPECT_FALSE(passesWith(value - 5, value - 1));
        // Switched off, a range that excludes the value does not matter.
        FilterSettings off = defaultFilterSettings(w.game);
        off.ranges[static_cast<std::size_t>(c)] = {false, value + 1, value + 1};
        EXPECT_TRUE(CombinationFilter(w.game, off, 0).passes(mask));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Filter, WorkedCombination,
    ::testing::Values(
        Worked{"Loto6Lowest", GameMode::Loto6, {1, 2, 3, 4, 5, 6}, {}, {21, 3, 6, 5, 0, 6, 0, 5}},
        Worked{"Loto6Highest", GameMode::Loto6, {38, 39, 40, 41, 42, 43}, {}, {243, 3, 0, 5, 0, 4, 0, 5}},
        Worked{"Loto6AllEndInOne", GameMode::Loto6, {1, 11, 21, 31, 41, 43}, {}, {148, 6, 3, 0, 10, 2, 0, 42}},
        Worked{"Loto6ThreeRuns", GameMode::Loto6, {9, 10, 19, 20, 22, 23}, {}, {103, 3, 5, 3, 2, 3, 0, 14}},
        // 22 is the last low number of ロト６ (43 / 2 rounded up).
        Worked{"Loto6LowEdge", GameMode::Loto6, {22, 23, 24, 25, 26, 27}, {}, {147, 3, 1, 5, 0, 6, 0, 5}},
        Worked{"Loto6PreviousThree", GameMode::Loto6, {1, 2, 3, 40, 41, 42}, {1, 2, 3, 4, 5, 6}, {129, 3, 3, 4, 2, 3, 3, 41}},
        Worked{"Loto6PreviousAll", GameMode::Loto6, {5, 12, 18, 27, 33, 40}, {5, 12, 18, 27, 33, 40}, {135, 3, 3, 0, 0, 2, 6, 35}},
        // 16 is the last low number of ミニロト.
        Worked{"MiniLowEdge", GameMode::MiniLoto, {16, 17, 18, 19, 20}, {}, {90, 2, 1, 4, 0, 4, 0, 4}},
        Worked{"MiniTensAndOnes", GameMode::MiniLoto, {1, 10, 20, 30, 31}, {20, 30, 31, 2, 3}, {92, 2, 2, 1, 4, 2, 3, 30}},
        Worked{"MiniLowest", GameMode::MiniLoto, {1, 2, 3, 4, 5}, {}, {15, 3, 5, 4, 0, 5, 0, 4}},
        Worked{"MiniHighest", GameMode::MiniLoto, {27, 28, 29, 30, 31}, {}, {145, 3, 0, 4, 0, 3, 0, 4}}));

TEST(Filter, BoundsAreWhatCombinationsReach) {
    EXPECT_EQ(lowNumberLimit(GameMode::MiniLoto), 16);
    EXPECT_EQ(lowNumberLimit(GameMode::Loto6), 22);
    // Every statistic of every ミニロト combination lies in its bounds and
    // each bound is reached.
    const GameMode game = GameMode::MiniLoto;
    const CombinationFilter filter(game, defaultFilterSettings(game), numberMask(std::vector{1, 2, 3, 4, 5}));
    FilterStatistics lowest, highest;
    lowest.fill(1000);
    highest.fill(-1);
    for (CombinationIndex i = 0; i < rulesFor(game).combinationCount; ++i) {
        const Combination c = UnrankCombination(game, i);
        const FilterStatistics s = filter.statistics(numberMask(c));
        for (int k = 0; k < kFilterConditionCount; ++k) {
            lowest[static_cast<std::size_t>(k)] = std::min(lowest[static_cast<std::size_t>(k)], s[static_cast<std::size_t>(k)]);
            highest[static_cast<std::size_t>(k)] = std::max(highest[static_cast<std::size_t>(k)], s[static_cast<std::size_t>(k)]);
        }
    }
    for (int k = 0; k < kFilterConditionCount; ++k) {
        SCOPED_TRACE(filterConditionName(filterConditionAt(k)));
        const FilterBounds b = filterBounds(game, filterConditionAt(k));
        EXPECT_EQ(lowest[static_cast<std::size_t>(k)], b.min);
        EXPECT_EQ(highest[static_cast<std::size_t>(k)], b.max);
    }
}

TEST(Filter, BoundsOfLoto6) {
    const auto bounds = [](FilterCondition c) {
        const FilterBounds b = filterBounds(GameMode::Loto6, c);
        return std::pair{b.min, b.max};
    };
    EXPECT_EQ(bounds(FilterCondition::Sum), std::pair(21, 243));
    EXPECT_EQ(bounds(FilterCondition::Consecutive), std::pair(0, 5));
    EXPECT_EQ(bounds(FilterCondition::LastDigit), std::pair(0, 10));
    EXPECT_EQ(bounds(FilterCondition::Decade), std::pair(2, 6));
    EXPECT_EQ(bounds(FilterCondition::Spread), std::pair(5, 42));
}

TEST(Filter, DefaultIsOffOverTheWholeSpan) {
    const FilterSettings s = defaultFilterSettings(GameMode::Loto6);
    EXPECT_FALSE(s.anyEnabled());
    EXPECT_EQ(s[FilterCondition::Sum], (FilterRange{false, 21, 243}));
    EXPECT_EQ(s[FilterCondition::Spread], (FilterRange{false, 5, 42}));
    EXPECT_FALSE(CombinationFilter(GameMode::Loto6, s, 0).active());
}

// ---------------------------------------------------------------- text

TEST(FilterText, ParsesEveryConditionAndFormatsBack) {
    const std::string text =
        "sum=100-160,odd=2-4,low=2-4,consecutive=0-1,lastdigit=0-1,decade=0-3,previous=0-2,spread=20-40";
    const FilterSettings s = parseFilterText(GameMode::Loto6, text);
    EXPECT_EQ(s[FilterCondition::Sum], (FilterRange{true, 100, 160}));
    EXPECT_EQ(s[FilterCondition::Decade], (FilterRange{true, 0, 3}));
    EXPECT_EQ(s[FilterCondition::Spread], (FilterRange{true, 20, 40}));
    EXPECT_EQ(formatFilterText(s), text);
}

TEST(FilterText, SubsetsBlanksAndSingleValues) {
    const FilterSettings s = parseFilterText(GameMode::MiniLoto, " odd = 3 , spread= 10 - 20 ");
    EXPECT_EQ(s[FilterCondition::Odd], (FilterRange{true, 3, 3}));
    EXPECT_EQ(s[FilterCondition::Spread], (FilterRange{true, 10, 20}));
    // The others are off at their whole span.
    EXPECT_EQ(s[FilterCondition::Sum], (FilterRange{false, 15, 145}));
    EXPECT_EQ(formatFilterText(s), "odd=3-3,spread=10-20");
    EXPECT_EQ(formatFilterText(defaultFilterSettings(GameMode::MiniLoto)), "");
}

struct BadText {
    const char* name;
    const char* text;
    const char* says;  // a part of the message
};
void PrintTo(const BadText& b, std::ostream* os) { *os << b.name; }

class FilterTextErrors : public ::testing::TestWithParam<BadText> {};

TEST_P(FilterTextErrors, RefusedWithAMessage) {
    try {
        parseFilterText(GameMode::Loto6, GetParam().text);
        FAIL() << "accepted";
    } catch (const FilterTextError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().says), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    FilterText, FilterTextErrors,
    ::testing::Values(BadText{"Empty", "  ", "空です"}, BadText{"UnknownName", "sum=100-160,even=1-2", "「even」はありません"},
                      BadText{"NotANumber", "sum=abc", "範囲が読み取れません"},
                      BadText{"OpenRange", "sum=100-", "範囲が読み取れません"},
                      BadText{"Negative", "odd=-1-2", "範囲が読み取れません"},
                      BadText{"Reversed", "sum=160-100", "下限が上限より大きく"},
                      BadText{"BeyondTheGame", "odd=7-9", "満たす組み合わせはありません（ロト６ では 0〜6）"},
                      BadText{"BelowTheGame", "sum=10-20", "（ロト６ では 21〜243）"},
                      BadText{"Twice", "odd=1-2,odd=3-4", "二度指定"},
                      BadText{"NoRange", "odd", "範囲がありません"},
                      BadText{"EmptyItem", "odd=1-2,,sum=50-60", "空の項目"},
                      BadText{"TrailingComma", "odd=1-2,", "空の項目"}));

// ---------------------------------------------------------------- pass rates

// The draws of a history file read plainly: numbers after "=", the first K.
std::vector<std::vector<int>> plainDraws(const std::string& utf8Text, GameMode game) {
    const std::string header = HistoryStore::sectionHeader(game);
    const int k = rulesFor(game).pickCount;
    std::vector<std::vector<int>> draws;
    std::istringstream in(utf8Text);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!inSection) {
            inSection = line == header;
            continue;
        }
        if (line.empty()) break;
        std::vector<int> v(7, 0);
        std::sscanf(line.c_str() + line.find('=') + 1, "%d,%d,%d,%d,%d,%d,%d", &v[0], &v[1], &v[2], &v[3], &v[4],
                    &v[5], &v[6]);
        v.resize(static_cast<std::size_t>(k));
        std::sort(v.begin(), v.end());
        draws.push_back(v);
    }
    return draws;
}

// Each statistic the slow way, from the sorted numbers.
int plainStatistic(GameMode game, FilterCondition c, const std::vector<int>& v, const std::vector<int>& previous) {
    const int n = rulesFor(game).maxNumber;
    int count = 0;
    switch (c) {
    case FilterCondition::Sum: return std::accumulate(v.begin(), v.end(), 0);
    case FilterCondition::Odd: return static_cast<int>(std::count_if(v.begin(), v.end(), [](int x) { return x % 2 == 1; }));
    case FilterCondition::Low:
        return static_cast<int>(std::count_if(v.begin(), v.end(), [&](int x) { return 2 * x <= n + 1; }));
    case FilterCondition::Consecutive:
        for (std::size_t i = 0; i + 1 < v.size(); ++i) count += v[i + 1] == v[i] + 1;
        return count;
    case FilterCondition::LastDigit:
        for (std::size_t i = 0; i < v.size(); ++i)
            for (std::size_t j = i + 1; j < v.size(); ++j) count += v[i] % 10 == v[j] % 10;
        return count;
    case FilterCondition::Decade: {
        int groups[5] = {};
        for (int x : v) ++groups[std::min(x / 10, 4)];
        return *std::max_element(groups, groups + 5);
    }
    case FilterCondition::Previous:
        for (int x : v) count += std::count(previous.begin(), previous.end(), x) > 0;
        return count;
    case FilterCondition::Spread: return v.back() - v.front();
    }
    return -1;
}

FilterPassRates plainPassRates(GameMode game, const std::vector<std::vector<int>>& draws, const FilterSettings& s) {
    FilterPassRates rates;
    rates.draws = static_cast<int>(draws.size());
    for (std::size_t d = 0; d < draws.size(); ++d) {
        bool all = true;
        for (int c = 0; c < kFilterConditionCount; ++c) {
            const FilterCondition condition = filterConditionAt(c);
            const FilterRange& r = s[condition];
            bool in = true;
            if (condition != FilterCondition::Previous || d > 0)
                in = r.contains(plainStatistic(game, condition, draws[d], d > 0 ? draws[d - 1] : std::vector<int>{}));
            rates.passing[static_cast<std::size_t>(c)] += in;
            all = all && (in || !r.enabled);
        }
        rates.all += all;
    }
    return rates;
}

TEST(FilterHistory, PassRatesMatchAPlainCountOfTheLines) {
    const std::string text = readTextFile(TAMBOR_BUILTIN_HISTORY_FILE);
    for (GameMode game : {GameMode::MiniLoto, GameMode::Loto6}) {
        HistoryStore full;
        full.loadFromText(text, game);
        const std::vector<std::vector<int>> draws = plainDraws(full.text(), game);
        const FilterHistory history(full);
        ASSERT_EQ(history.drawCount(), static_cast<int>(draws.size()));
        ASSERT_GT(history.drawCount(), 1000);
        std::mt19937 random(7);
        for (int round = 0; round < 40; ++round) {
            FilterSettings s = defaultFilterSettings(game);
            for (int c = 0; c < kFilterConditionCount; ++c) {
                const FilterBounds b = filterBounds(game, filterConditionAt(c));
                std::uniform_int_distribution<int> value(b.min, b.max);
                int lo = value(random), hi = value(random);
                if (lo > hi) std::swap(lo, hi);
                s.ranges[static_cast<std::size_t>(c)] = {random() % 3 != 0, lo, hi};
            }
            const FilterPassRates fast = history.passRates(s);
            const FilterPassRates slow = plainPassRates(game, draws, s);
            EXPECT_EQ(fast.passing, slow.passing) << formatFilterText(s);
            EXPECT_EQ(fast.all, slow.all) << formatFilterText(s);
            EXPECT_EQ(fast.draws, slow.draws);
            EXPECT_EQ(history.passingAll(s), slow.all);
            for (int c = 0; c < kFilterConditionCount; ++c)
                EXPECT_EQ(history.passing(filterConditionAt(c), s.ranges[static_cast<std::size_t>(c)]),
                          slow.passing[static_cast<std::size_t>(c)]);
        }
        // Nothing switched on: every draw passes.
        EXPECT_EQ(history.passRates(defaultFilterSettings(game)).all, history.drawCount());
    }
}

TEST(FilterHistory, FirstDrawPassesPreviousAndHistogramsCountEachDraw) {
    // Three draws of ロト６; the second shares two numbers with the first,
    // the third shares none with the second.
    const std::vector<std::uint64_t> masks{numberMask(std::vector{1, 2, 3, 4, 5, 6}),
                                           numberMask(std::vector{1, 2, 10, 20, 30, 40}),
                                           numberMask(std::vector{7, 8, 9, 11, 12, 13})};
    const FilterHistory history(GameMode::Loto6, masks);
    EXPECT_EQ(history.drawCount(), 3);
    EXPECT_EQ(history.passing(FilterCondition::Previous, {true, 2, 2}), 2);  // draw 1 (none) and draw 2
    EXPECT_EQ(history.passing(FilterCondition::Previous, {true, 0, 0}), 2);  // draw 1 and draw 3
    EXPECT_EQ(history.passing(FilterCondition::Previous, {true, 3, 6}), 1);  // draw 1 only
    const std::vector<int> previous = history.histogram(FilterCondition::Previous);
    EXPECT_EQ(previous, (std::vector<int>{1, 0, 1, 0, 0, 0, 0}));
    const std::vector<int> spread = history.histogram(FilterCondition::Spread);
    ASSERT_EQ(spread.size(), 38u);  // 5..42
    EXPECT_EQ(spread[0], 1);        // 1..6
    EXPECT_EQ(spread[1], 1);        // 7..13 is 6
    EXPECT_EQ(spread[39 - 5], 1);   // 1..40
    EXPECT_EQ(std::accumulate(spread.begin(), spread.end(), 0), 3);
}

TEST(FilterHistory, DrawsWithoutAWholeSetAreLeftOut) {
    const std::vector<std::uint64_t> masks{numberMask(std::vector{1, 2, 3, 4, 5}), 0,
                                           numberMask(std::vector{1, 2, 3, 4, 5, 6}),
                                           numberMask(std::vector{1, 2, 3, 4, 5, 7})};
    const FilterHistory history(GameMode::Loto6, masks);
    EXPECT_EQ(history.drawCount(), 2);
    // The first whole draw follows a broken one: it has no previous draw.
    EXPECT_EQ(history.passing(FilterCondition::Previous, {true, 5, 5}), 2);
    EXPECT_EQ(history.passing(FilterCondition::Previous, {true, 6, 6}), 1);
}

TEST(FilterHistory, PassRateLine) {
    EXPECT_EQ(passRateLine(1547, 2137), "過去の当選番号の 72.4% (1547 / 全 2137 回) がこの条件を満たします");
    EXPECT_EQ(passRateLine(0, 0), "過去の当選番号の 0.0% (0 / 全 0 回) がこの条件を満たします");
}

}  // namespace
