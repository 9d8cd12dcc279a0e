// Bringing an older lotodata.txt up to the built-in history at start.

#include <gtest/gtest.h>

#include <algorithm>

#include "cli_test_support.h"
#include "history/builtin_merge.h"
#include "session/session.h"
#include "history/history_store.h"
#include "history_test_support.h"
#include "io/cp932.h"
#include "io/text_file.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;

namespace {

std::vector<std::string> builtinLines() {
    return splitLines(cp932ToUtf8(embedded::builtinHistoryBytes(), "built-in"));
}

std::string fileOf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += utf8ToCp932(line, "") + "\r\n";
    return bytes;
}

// The built-in history without the newest `drop` draws of a game.
void dropNewest(std::vector<std::string>& lines, GameMode mode, int drop) {
    const auto header = std::find(lines.begin(), lines.end(), HistoryStore::sectionHeader(mode));
    const auto end = std::find(header, lines.end(), "");
    lines.erase(end - drop, end);
}

// The line of a draw with its last number changed (still a valid draw line
// only as text: what matters is that it differs).
void alter(std::vector<std::string>& lines, GameMode mode, int round) {
    const auto header = std::find(lines.begin(), lines.end(), HistoryStore::sectionHeader(mode));
    std::string& line = *(header + round);
    line.back() = line.back() == '1' ? '2' : '1';
}

struct Merge : ::testing::Test {
    TempFolder folder;
    std::filesystem::path history = folder.path / "lotodata.txt";
    std::filesystem::path backup = folder.path / "lotodata.bak";
    void write(const std::vector<std::string>& lines) { writeFileBytesAtomic(history, fileOf(lines)); }
    BuiltinMergeResult merge() { return mergeNewerBuiltinDraws(history, embedded::builtinHistoryBytes()); }
};

}  // namespace

TEST_F(Merge, OlderFileGetsTheNewerDrawsAndBecomesTheBuiltInCopy) {
    std::vector<std::string> lines = builtinLines();
    dropNewest(lines, GameMode::MiniLoto, 3);
    dropNewest(lines, GameMode::Loto6, 7);
    write(lines);
    const std::string before = slurp(history);

    const BuiltinMergeResult result = merge();
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_FALSE(result.conflict);
    ASSERT_EQ(result.added.size(), 2u);
    EXPECT_EQ(result.added[0].firstRound, 1401);
    EXPECT_EQ(result.added[0].lastRound, 1403);
    EXPECT_EQ(result.added[1].firstRound, 2131);
    EXPECT_EQ(result.added[1].lastRound, 2137);
    EXPECT_EQ(result.notice(), "当選番号ファイルに新しい当選番号を追加しました: ミニロト 第1401回〜第1403回、ロト６ 第2131回〜第2137回。");
    EXPECT_EQ(slurp(history), std::string(embedded::builtinHistoryBytes()));
    EXPECT_EQ(slurp(backup), before);
}

TEST_F(Merge, FileWithoutAGamesSectionGetsTheWholeSection) {
    std::vector<std::string> lines = builtinLines();
    const auto header = std::find(lines.begin(), lines.end(), HistoryStore::sectionHeader(GameMode::Loto6));
    lines.erase(header, std::find(header, lines.end(), "") + 1);
    write(lines);

    const BuiltinMergeResult result = merge();
    ASSERT_EQ(result.added.size(), 1u);
    EXPECT_EQ(result.added[0].firstRound, 1);
    HistoryStore store;
    store.load(folder.path, GameMode::Loto6);
    EXPECT_EQ(store.drawCount(), 2137);
}

TEST_F(Merge, FilesThatNeedNothingAreNotWritten) {
    struct Row {
        const char* name;
        std::vector<std::string> lines;
    };
    std::vector<std::string> newer = builtinLines();
    // A draw entered by hand after the program was built.
    const auto end = std::find(std::find(newer.begin(), newer.end(), HistoryStore::sectionHeader(GameMode::Loto6)),
                               newer.end(), "");
    newer.insert(end, "第2138回(R08. 9.17)=01,02,03,04,05,06,07");
    // A file emptied by hand is used as it is (it reports that it has no draws).
    for (const Row& row : {Row{"equal", builtinLines()}, Row{"newer", newer}, Row{"empty", {}}}) {
        SCOPED_TRACE(row.name);
        write(row.lines);
        const std::string before = slurp(history);
        const BuiltinMergeResult result = merge();
        EXPECT_FALSE(result.changed());
        EXPECT_FALSE(result.conflict);
        EXPECT_EQ(slurp(history), before);
        EXPECT_FALSE(std::filesystem::exists(backup));
    }
}

TEST_F(Merge, FileThatDiffersIsLeftAsItIsAndTheRoundNamed) {
    std::vector<std::string> lines = builtinLines();
    dropNewest(lines, GameMode::Loto6, 2);
    alter(lines, GameMode::Loto6, 2078);
    write(lines);
    const std::string before = slurp(history);

    const BuiltinMergeResult result = merge();
    EXPECT_FALSE(result.changed());
    ASSERT_TRUE(result.conflict);
    EXPECT_EQ(result.conflict->mode, GameMode::Loto6);
    EXPECT_EQ(result.conflict->round, 2078);
    EXPECT_NE(result.conflictMessage(history).find("ロト６ 第2078回が、このプログラムに内蔵の当選番号と違います"),
              std::string::npos);
    EXPECT_EQ(slurp(history), before);
    EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(Merge, MissingFileIsLeftToTheFirstStart) {
    const BuiltinMergeResult result = merge();
    EXPECT_FALSE(result.changed());
    EXPECT_TRUE(result.error.empty());
    EXPECT_FALSE(std::filesystem::exists(history));
}

// The command line brings the history up to date before any command reads
// it, says so on standard error only, and lists draws in the layout of the
// verified draw lists.
TEST_F(Merge, CommandLineMergesOnceAndListsDraws) {
    std::vector<std::string> lines = builtinLines();
    dropNewest(lines, GameMode::Loto6, 7);
    write(lines);
    const std::string data = " --data '" + folder.path.string() + "'";

    const tambor::testing::CliRun list = tambor::testing::runCli("history list --game loto6 --from 2136" + data);
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.out, "2136\t2026-09-10\t06,07,33,37,41,43\t42\n2137\t2026-09-14\t04,08,10,25,28,33\t09\n");
    EXPECT_EQ(slurp(history), std::string(embedded::builtinHistoryBytes()));

    dropNewest(lines, GameMode::MiniLoto, 1);
    write(lines);
    const tambor::testing::CliRun noisy = tambor::testing::runCli("history list --game mini --from 1403" + data, true);
    EXPECT_EQ(noisy.exitCode, 0);
    EXPECT_NE(noisy.out.find("ミニロト 第1403回、"), std::string::npos) << noisy.out;
    EXPECT_NE(noisy.out.find("1403\t2026-09-08\t08,11,14,17,19\t24\n"), std::string::npos) << noisy.out;

    for (const char* bad : {"history list --from 3", "history list --game loto6 --from 0",
                            "history list --game loto6 --from 9 --to 3"})
        EXPECT_EQ(tambor::testing::runCli(std::string(bad) + data).exitCode, 2) << bad;
}

// The window's start: a differing draw is reported once, not at every start
// (the round told about is kept in the options, hence in Tambor.ini).
TEST_F(Merge, TheSessionReportsADifferingDrawOnce) {
    std::vector<std::string> lines = builtinLines();
    dropNewest(lines, GameMode::MiniLoto, 1);
    alter(lines, GameMode::MiniLoto, 500);
    write(lines);
    Session session(folder.path, GameMode::MiniLoto);
    session.switchGame(GameMode::MiniLoto);
    const Changes first = session.mergeBuiltinHistory();
    ASSERT_EQ(first.problems().size(), 1u);
    EXPECT_NE(first.problems()[0].find("ミニロト 第500回"), std::string::npos) << first.problems()[0];
    EXPECT_EQ(session.options().noticedHistoryConflict, "ミニロト,500");
    EXPECT_TRUE(session.mergeBuiltinHistory().problems().empty());
    EXPECT_EQ(session.history().drawCount(), 1402);
}
