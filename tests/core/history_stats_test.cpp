#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "history/history_store.h"

using namespace tambor;

namespace {

const std::string kMiniHeader = "[ミニロト当選番号]";
const std::string kLoto6Header = "[ロト６当選番号]";

}  // namespace

// Small synthetic histories with hand-counted statistics.
struct HistoryStatsRow {
    const char* name;
    GameMode mode;
    std::string text;
    int draws;
    std::map<int, int> hits;  // numbers not listed: 0
    std::vector<std::pair<int, int>> pairs;  // pairs drawn once; all others 0
};

class HistoryStats : public ::testing::TestWithParam<HistoryStatsRow> {};

TEST_P(HistoryStats, HandCounted) {
    const HistoryStatsRow& row = GetParam();
    const int n = rulesFor(row.mode).maxNumber;
    HistoryStore history;
    history.loadFromText(row.text, row.mode);
    EXPECT_EQ(history.drawCount(), row.draws);
    std::int32_t weightSum = 0;
    for (int v = 1; v <= kBoardSize; ++v) {
        const auto it = row.hits.find(v);
        EXPECT_EQ(history.hitCount(v), it == row.hits.end() ? 0 : it->second) << v;
        if (v <= n) {
            EXPECT_EQ(history.numberWeights()[static_cast<std::size_t>(v)], history.hitCount(v) + 1) << v;
            weightSum += history.numberWeights()[static_cast<std::size_t>(v)];
        }
        EXPECT_TRUE(std::isfinite(history.deviationValue(v))) << v;
    }
    EXPECT_EQ(history.numberWeights()[0], weightSum);
    for (int a = 1; a <= kBoardSize; ++a) {
        for (int b = 1; b <= kBoardSize; ++b) {
            const bool listed = std::find(row.pairs.begin(), row.pairs.end(), std::make_pair(std::min(a, b), std::max(a, b))) !=
                                row.pairs.end();
            EXPECT_EQ(history.pairCount(a, b), listed ? 1 : 0) << a << "," << b;
        }
    }
}

namespace {

std::vector<std::pair<int, int>> allPairs(std::initializer_list<int> numbers) {
    std::vector<std::pair<int, int>> out;
    const std::vector<int> v(numbers);
    for (std::size_t i = 0; i < v.size(); ++i)
        for (std::size_t j = i + 1; j < v.size(); ++j) out.emplace_back(v[i], v[j]);
    return out;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Files, HistoryStats,
    ::testing::Values(
        HistoryStatsRow{"header_with_trailing_blank_does_not_match", GameMode::MiniLoto,
                 kMiniHeader + " \r\n=01,02,03,04,05,06\r\n", 0, {}, {}},
        HistoryStatsRow{"missing_section", GameMode::Loto6, kMiniHeader + "\r\n=01,02,03,04,05,06\r\n", 0, {}, {}},
        HistoryStatsRow{"empty_line_ends_section", GameMode::MiniLoto,
                 kMiniHeader + "\r\n=01,02,03,04,05,06\r\n\r\n=07,08,09,10,11,12\r\n", 1,
                 {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, allPairs({1, 2, 3, 4, 5})},
        HistoryStatsRow{"draw_176_bonus_not_counted", GameMode::MiniLoto,
                 kMiniHeader + "\r\n第176回(H14.11.26)=01,02,03,04,05,06\r\n", 1,
                 {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, allPairs({1, 2, 3, 4, 5})},
        HistoryStatsRow{"number_32_ignored_in_mini", GameMode::MiniLoto, kMiniHeader + "\r\n=01,02,03,04,32,06\r\n", 1,
                 {{1, 1}, {2, 1}, {3, 1}, {4, 1}}, allPairs({1, 2, 3, 4})},
        HistoryStatsRow{"number_32_counts_in_loto6", GameMode::Loto6, kLoto6Header + "\r\n=01,02,03,04,32,43,06\r\n", 1,
                 {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {32, 1}, {43, 1}}, allPairs({1, 2, 3, 4, 32, 43})},
        HistoryStatsRow{"line_without_equals_counts_as_draw", GameMode::MiniLoto,
                 kMiniHeader + "\r\n01,02,03,04,05,06\r\n", 1, {}, {}},
        HistoryStatsRow{"malformed_numbers_skipped", GameMode::MiniLoto,
                 kMiniHeader + "\r\n第  1回=aa,02,, 04,05 ,06\r\n", 1, {{2, 1}, {4, 1}}, allPairs({2, 4})},
        HistoryStatsRow{"short_line", GameMode::MiniLoto, kMiniHeader + "\r\n=07,09\r\n", 1, {{7, 1}, {9, 1}},
                 allPairs({7, 9})},
        HistoryStatsRow{"repeated_number_counts_once", GameMode::MiniLoto, kMiniHeader + "\r\n=03,03,04,05,06,07\r\n", 1,
                 {{3, 1}, {4, 1}, {5, 1}, {6, 1}}, allPairs({3, 4, 5, 6})},
        HistoryStatsRow{"zero_and_negative_ignored", GameMode::MiniLoto, kMiniHeader + "\r\n=00,-1,+3,31,12,01\r\n", 1,
                 {{3, 1}, {31, 1}, {12, 1}}, allPairs({3, 12, 31})},
        HistoryStatsRow{"loto6_after_mini_lf_only", GameMode::Loto6,
                 kMiniHeader + "\n=01,02,03,04,05,06\n\n" + kLoto6Header + "\n=10,11,12,13,14,15,16\n", 1,
                 {{10, 1}, {11, 1}, {12, 1}, {13, 1}, {14, 1}, {15, 1}}, allPairs({10, 11, 12, 13, 14, 15})},
        HistoryStatsRow{"first_header_wins", GameMode::MiniLoto,
                 kMiniHeader + "\r\n=01,02,03,04,05,06\r\n\r\n" + kMiniHeader + "\r\n=07,08,09,10,11,12\r\n", 1,
                 {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}}, allPairs({1, 2, 3, 4, 5})}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HistoryDeviation, OneDrawHandComputed) {
    HistoryStore history;
    history.loadFromText(kMiniHeader + "\r\n=01,02,03,04,05,06\r\n", GameMode::MiniLoto);
    // Five numbers hit once, 26 never: mean 5/31, sd sqrt(130)/31.
    EXPECT_NEAR(history.deviationValue(1), 50 + 260 / std::sqrt(130.0), 1e-9);
    EXPECT_NEAR(history.deviationValue(6), 50 - 50 / std::sqrt(130.0), 1e-9);
}

struct HistoryZeroSpreadRow {
    const char* name;
    GameMode mode;
    std::string text;
};

class HistoryZeroSpread : public ::testing::TestWithParam<HistoryZeroSpreadRow> {};

TEST_P(HistoryZeroSpread, EveryScoreIsFifty) {
    HistoryStore history;
    history.loadFromText(GetParam().text, GetParam().mode);
    for (int v = 1; v <= rulesFor(GetParam().mode).maxNumber; ++v) EXPECT_EQ(history.deviationValue(v), 50.0) << v;
}

namespace {

// 31 draws of ミニロト in which every number is drawn exactly five times.
std::string evenMiniHistory() {
    std::string text = kMiniHeader + "\r\n";
    for (int d = 0; d < 31; ++d) {
        text += "=";
        for (int i = 0; i < 5; ++i) text += std::to_string((d + i) % 31 + 1) + ",";
        text += "01\r\n";
    }
    return text;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Cases, HistoryZeroSpread,
    ::testing::Values(HistoryZeroSpreadRow{"empty_text", GameMode::MiniLoto, ""},
                      HistoryZeroSpreadRow{"empty_section", GameMode::Loto6, kLoto6Header + "\r\n\r\n"},
                      HistoryZeroSpreadRow{"all_counts_equal", GameMode::MiniLoto, evenMiniHistory()}),
    [](const auto& row) { return std::string(row.param.name); });

// The spread is measured around the expected mean DrawCount × K / N, not
// around the counts' own mean: two unreadable draws give every number 0
// hits against a mean of 10/31, so every number is one spread below it.
TEST(HistoryDeviation, SpreadIsAroundExpectedMean) {
    HistoryStore history;
    history.loadFromText(kMiniHeader + "\r\nxx\r\nyy\r\n", GameMode::MiniLoto);
    EXPECT_EQ(history.drawCount(), 2);
    for (int v = 1; v <= 31; ++v) EXPECT_NEAR(history.deviationValue(v), 40.0, 1e-9) << v;
}

// Reading one draw from the end of its line.
struct HistoryLineDrawRow {
    const char* name;
    GameMode mode;
    std::string line;
    std::vector<int> mains;
    std::vector<int> bonus;
};

class HistoryLineDraw : public ::testing::TestWithParam<HistoryLineDrawRow> {};

TEST_P(HistoryLineDraw, ReadsRightToLeft) {
    const HistoryLineDrawRow& row = GetParam();
    HistoryStore history;
    history.loadFromText(HistoryStore::sectionHeader(row.mode) + "\r\n" + row.line + "\r\n", row.mode);
    int mains[kMaxPick] = {};
    int bonuses[kMaxBonus] = {};
    int count = -1, bonusCount = -1;
    ASSERT_TRUE(history.drawOnBoard(1, mains, count, bonuses, bonusCount));
    EXPECT_EQ(std::vector<int>(mains, mains + count), row.mains);
    EXPECT_EQ(std::vector<int>(bonuses, bonuses + bonusCount), row.bonus);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HistoryLineDraw,
    ::testing::Values(HistoryLineDrawRow{"well_formed", GameMode::MiniLoto, "第  9回(H11. 6. 8)=04,06,13,21,22,30",
                                  {4, 6, 13, 21, 22}, {30}},
                      HistoryLineDrawRow{"bonus_out_of_range", GameMode::MiniLoto, "=01,02,03,04,05,32", {1, 2, 3, 4, 5}, {}},
                      HistoryLineDrawRow{"extra_numbers_take_last_six", GameMode::MiniLoto, "=09,01,02,03,04,05,06",
                                  {1, 2, 3, 4, 5}, {6}},
                      HistoryLineDrawRow{"short_line_stops_at_equals", GameMode::MiniLoto, "第  1回=07,08", {7}, {8}},
                      HistoryLineDrawRow{"no_delimiter", GameMode::MiniLoto, "12", {}, {12}},
                      HistoryLineDrawRow{"trailing_blank_drops_bonus", GameMode::Loto6, "=01,02,03,04,05,06,07 ",
                                  {1, 2, 3, 4, 5, 6}, {}},
                      HistoryLineDrawRow{"loto7_two_bonus_numbers", GameMode::Loto7,
                                  "第  1回(H25. 4. 5)=07,10,12,17,23,28,34,03,15", {7, 10, 12, 17, 23, 28, 34}, {3, 15}},
                      HistoryLineDrawRow{"loto7_bonus_out_of_range", GameMode::Loto7, "=01,02,03,04,05,06,07,38,09",
                                  {1, 2, 3, 4, 5, 6, 7}, {9}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(HistoryLineDraw, RoundBeyondEmptyLineHasNoLine) {
    HistoryStore history;
    history.loadFromText(kMiniHeader + "\r\n=01,02,03,04,05,06\r\n\r\n=07,08,09,10,11,12\r\n", GameMode::MiniLoto);
    int mains[kMaxPick];
    int bonuses[kMaxBonus];
    int count, bonusCount;
    EXPECT_FALSE(history.drawOnBoard(2, mains, count, bonuses, bonusCount));
    EXPECT_FALSE(history.drawOnBoard(3, mains, count, bonuses, bonusCount));
    history.loadFromText("", GameMode::MiniLoto);
    EXPECT_FALSE(history.drawOnBoard(1, mains, count, bonuses, bonusCount));
}
