// The number analysis: hits, recent hits, draws since the last hit and the
// longest absence, on hand-worked draws and against the history's counts.

#include <gtest/gtest.h>

#include "generate/combination_filter.h"
#include "history/history_store.h"
#include "history/number_analysis.h"
#include "io/text_file.h"

using namespace tambor;

namespace {

TEST(NumberAnalysis, HandWorkedDraws) {
    const std::vector<std::uint64_t> draws{
        numberMask(std::vector{1, 2, 3, 4, 5}), numberMask(std::vector{1, 6, 7, 8, 9}),
        numberMask(std::vector{10, 11, 12, 13, 14}), numberMask(std::vector{1, 2, 15, 16, 17})};
    const auto rows = analyzeNumbers(GameMode::MiniLoto, draws);
    ASSERT_EQ(rows.size(), 31u);
    const auto row = [&](int v) { return rows[static_cast<std::size_t>(v - 1)]; };
    // In the newest draw, missing once.
    EXPECT_EQ(row(1).number, 1);
    EXPECT_EQ(row(1).hits, 3);
    EXPECT_EQ(row(1).sinceLast, 0);
    EXPECT_EQ(row(1).longestGap, 1);
    EXPECT_EQ(row(2).longestGap, 2);
    // Only in the first draw: the current run is the longest.
    EXPECT_EQ(row(3).hits, 1);
    EXPECT_EQ(row(3).sinceLast, 3);
    EXPECT_EQ(row(3).longestGap, 3);
    // Missing before its one draw.
    EXPECT_EQ(row(10).sinceLast, 1);
    EXPECT_EQ(row(10).longestGap, 2);
    // Never drawn: every draw.
    EXPECT_EQ(row(31).hits, 0);
    EXPECT_EQ(row(31).sinceLast, 4);
    EXPECT_EQ(row(31).longestGap, 4);
    // Fewer than ten draws: the recent columns hold every draw.
    EXPECT_EQ(row(1).last10, 3);
    EXPECT_EQ(row(1).last100, 3);
}

TEST(NumberAnalysis, RecentWindowsCountFromTheNewestDraw) {
    // Number 7 in every third draw of 150 (draws 3, 6, …, 150, counted from 1).
    std::vector<std::uint64_t> draws;
    for (int d = 1; d <= 150; ++d)
        draws.push_back(numberMask(d % 3 == 0 ? std::vector{7, 20, 21, 22, 23} : std::vector{1, 2, 3, 4, 5}));
    const auto rows = analyzeNumbers(GameMode::MiniLoto, draws);
    const NumberAnalysisRow& seven = rows[6];
    EXPECT_EQ(seven.hits, 50);
    EXPECT_EQ(seven.last10, 4);    // 150, 147, 144, 141
    EXPECT_EQ(seven.last50, 17);   // 150 down to 102
    EXPECT_EQ(seven.last100, 34);  // 150 down to 51
    EXPECT_EQ(seven.sinceLast, 0);
    EXPECT_EQ(seven.longestGap, 2);
    const NumberAnalysisRow& one = rows[0];
    EXPECT_EQ(one.sinceLast, 1);
    EXPECT_EQ(one.longestGap, 1);
    EXPECT_EQ(analyzeNumbers(GameMode::Loto6, {}).size(), 43u);
    EXPECT_EQ(analyzeNumbers(GameMode::Loto6, {})[42].sinceLast, 0);
}

TEST(NumberAnalysis, HitsAgreeWithTheHistoryStatistics) {
    const std::string text = readTextFile(TAMBOR_BUILTIN_HISTORY_FILE);
    for (GameMode game : {GameMode::MiniLoto, GameMode::Loto6}) {
        HistoryStore history;
        history.loadFromText(text, game);
        const auto rows = analyzeNumbers(history);
        ASSERT_EQ(static_cast<int>(rows.size()), rulesFor(game).maxNumber);
        int inNewest = 0;
        for (const NumberAnalysisRow& row : rows) {
            EXPECT_EQ(row.hits, history.hitCount(row.number));
            EXPECT_LE(row.last10, 10);
            EXPECT_LE(row.last10, row.last50);
            EXPECT_LE(row.last50, row.last100);
            EXPECT_LE(row.sinceLast, row.longestGap);
            inNewest += row.sinceLast == 0;
        }
        EXPECT_EQ(inNewest, rulesFor(game).pickCount);
    }
}

TEST(NumberAnalysis, TableText) {
    const auto rows = analyzeNumbers(GameMode::MiniLoto, {numberMask(std::vector{1, 2, 3, 4, 5})});
    const std::string text = analysisTableText(rows, "\n");
    EXPECT_EQ(text.substr(0, text.find('\n')), "番号\t出現回数\t直近10回\t直近50回\t直近100回\t出現間隔\t最長間隔");
    EXPECT_NE(text.find("\n1\t1\t1\t1\t1\t0\t0\n"), std::string::npos);
    EXPECT_NE(text.find("\n31\t0\t0\t0\t0\t1\t1\n"), std::string::npos);
}

}  // namespace
