// Everything that reads the history, on the full file an update brings
// (ミニロト 1–1403, ロト６ 1–2137): the statistics, the newest draw on the
// board, prize checks of recent rounds, the random draw and the past winners.

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "history/rate_table.h"
#include "history_test_support.h"
#include "io/text_file.h"
#include "session/session.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;

namespace {

struct FullHistory : ::testing::Test {
    TempFolder folder;
    Session session{folder.path};
    FullHistory() {
        writeFileBytesAtomic(folder.path / "lotodata.txt", slurp(TAMBOR_BUILTIN_HISTORY_FILE));
    }
};

TEST_F(FullHistory, StatisticsCoverEveryDraw) {
    for (const auto& [mode, draws] : {std::pair{GameMode::MiniLoto, 1403}, std::pair{GameMode::Loto6, 2137}}) {
        const Changes changes = session.switchGame(mode);
        EXPECT_TRUE(changes.problems().empty());
        const HistoryStore& h = session.history();
        const GameRules rules = rulesFor(mode);
        EXPECT_EQ(h.drawCount(), draws);
        EXPECT_EQ(std::accumulate(h.hitCounts().begin(), h.hitCounts().end(), 0), draws * rules.pickCount);
        EXPECT_EQ(h.numberWeights()[0], rules.maxNumber + draws * rules.pickCount);
        std::int64_t pairs = 0;
        for (const auto& row : h.pairCounts()) pairs += std::accumulate(row.begin(), row.end(), std::int64_t{0});
        EXPECT_EQ(pairs, std::int64_t{draws} * rules.pickCount * (rules.pickCount - 1));
        double deviations = 0;
        for (int n = 1; n <= rules.maxNumber; ++n) {
            EXPECT_TRUE(std::isfinite(h.deviationValue(n)));
            deviations += h.deviationValue(n);
        }
        EXPECT_NEAR(deviations / rules.maxNumber, 50.0, 1e-9);
        EXPECT_EQ(buildRateTable(h, mode).size(), static_cast<std::size_t>(rules.maxNumber + 1));
    }
}

TEST_F(FullHistory, TheNewestDrawIsOnTheBoardAndChecked) {
    session.switchGame(GameMode::Loto6);
    // Draw 2137 (2026-09-14): 04,08,10,25,28,33, bonus 09.
    EXPECT_EQ(session.prizeRound(), 2137);
    for (int n : {4, 8, 10, 25, 28, 33}) EXPECT_TRUE(session.board().has(n, Main)) << n;
    EXPECT_TRUE(session.board().has(9, Bonus));
    session.list().appendText("4,8,10,25,28,33\n8,9,10,25,28,33\n1,2,8,10,25,28\n");
    session.runPrizeCheck();
    ASSERT_TRUE(session.prizeFigures().has_value());
    EXPECT_EQ(session.prizeFigures()->hits[0], 1);
    EXPECT_EQ(session.prizeFigures()->hits[1], 1);
    EXPECT_EQ(session.prizeFigures()->hits[3], 1);
    EXPECT_EQ(session.prizeFigures()->moneyText, "約 1億1501万3200円");

    // A recent round by its number: ミニロト 1399 is 05,22,26,29,30 + 15.
    session.switchGame(GameMode::MiniLoto);
    EXPECT_EQ(session.prizeRound(), 1403);
    session.selectPrizeRound("1399");
    EXPECT_EQ(session.prizeRound(), 1399);
    for (int n : {5, 22, 26, 29, 30}) EXPECT_TRUE(session.board().has(n, Main)) << n;
    EXPECT_TRUE(session.board().has(15, Bonus));
    session.selectPrizeRound("99999");
    EXPECT_EQ(session.prizeRound(), 1403);
}

TEST_F(FullHistory, DrawsAndPastWinnersUseTheWholeHistory) {
    session.switchGame(GameMode::Loto6);
    session.changeOptions([](Options& o) { o.pastRemove = true; });
    Combination newest{{4, 8, 10, 25, 28, 33}, 6};
    Combination second{{8, 9, 10, 25, 28, 33}, 6};  // five of draw 2137 and its bonus
    Combination first{{2, 8, 10, 13, 27, 30}, 6};    // draw 1
    EXPECT_TRUE(SetContains(GameMode::Loto6, session.pastWinnerSet(), newest));
    EXPECT_TRUE(SetContains(GameMode::Loto6, session.pastWinnerSet(), second));
    EXPECT_TRUE(SetContains(GameMode::Loto6, session.pastWinnerSet(), first));

    session.random().SeedRandom(7);
    const Changes drawn = session.randomDraw(500);
    EXPECT_TRUE(drawn.problems().empty());
    EXPECT_GT(session.list().size(), 400u);
    for (CombinationIndex index : session.list().items())
        EXPECT_FALSE(session.pastWinnerSet().contains(index));
}

}  // namespace
