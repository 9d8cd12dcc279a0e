// The session: the whole game switch, what each operation reports as
// changed, the options through the settings file, and long operations
// stopped half-way leaving a consistent list.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>

#include "history_test_support.h"
#include "io/text_file.h"
#include "session/recent_files.h"
#include "session/session.h"

using namespace tambor;
using history_test::TempFolder;

namespace {

// Every listed line has its bit, and no bit is set without a line.
void expectListConsistent(const CombinationList& list) {
    std::size_t bits = 0;
    for (std::uint8_t byte : list.listedSet().bytes()) bits += static_cast<std::size_t>(__builtin_popcount(byte));
    EXPECT_EQ(bits, list.size());
    for (CombinationIndex index : list.items()) EXPECT_TRUE(list.listedSet().contains(index));
    std::size_t duplicateBits = 0;
    for (std::uint8_t byte : list.duplicateSet().bytes()) duplicateBits += static_cast<std::size_t>(__builtin_popcount(byte));
    EXPECT_EQ(duplicateBits, list.duplicates().size());
}

void mark(Session& session, int role, std::initializer_list<int> numbers) {
    session.selectRole(role);
    for (int n : numbers) session.clickNumber(n, false);
}

// A progress callback that lets `calls` reports through, then stops.
ProgressCallback stopAfter(int calls) {
    auto left = std::make_shared<int>(calls);
    return [left](int) { return (*left)-- > 0; };
}

}  // namespace

// ---------------------------------------------------------------- game switch

TEST(SessionGameSwitch, RunsTheWholeSwitch) {
    TempFolder folder;
    Session session(folder.path);
    session.list().appendText("1,2,3,4,5\n");
    mark(session, Together, {3, 4});
    const Changes changes = session.switchGame(GameMode::Loto6);
    for (Change c : {Change::Game, Change::List, Change::Duplicates, Change::History, Change::Prize, Change::PrizeRound,
                     Change::Board, Change::Report, Change::PrizeLines})
        EXPECT_TRUE(changes.has(c)) << static_cast<int>(c);
    EXPECT_TRUE(changes.problems().empty());
    EXPECT_EQ(session.mode(), GameMode::Loto6);
    EXPECT_TRUE(session.list().empty());
    EXPECT_FALSE(session.list().changed());
    EXPECT_EQ(session.list().mode(), GameMode::Loto6);
    // The history file was written and the newest ロト６ draw is selected:
    // draw 2137 is 04,08,10,25,28,33 with bonus 09.
    EXPECT_TRUE(std::filesystem::exists(folder.path / "lotodata.txt"));
    EXPECT_EQ(session.history().drawCount(), 2137);
    EXPECT_EQ(session.prizeRound(), 2137);
    EXPECT_TRUE(session.board().has(33, Main));
    EXPECT_TRUE(session.board().has(9, Bonus));
    EXPECT_EQ(session.board().count(Main), 6);
    EXPECT_EQ(session.board().count(Bonus), 1);
    // The role in use before the switch is in use after it.
    EXPECT_EQ(session.board().currentRole(), Together);
    EXPECT_EQ(session.board().count(Together), 2);
}

TEST(SessionGameSwitch, ToMiniLotoTrimsHighNumbers) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    mark(session, Together, {40, 3});
    session.switchGame(GameMode::MiniLoto);
    EXPECT_EQ(session.board().state(40), 0);
    EXPECT_EQ(session.board().count(Together), 1);
}

TEST(SessionGameSwitch, ToLoto6OverTheLimitClearsEveryRole) {
    TempFolder folder;
    Session session(folder.path);
    mark(session, Fix, {1});
    mark(session, Together, {});
    for (int n = 2; n <= 31; ++n) session.board().toggle(n, false);  // beyond ロト６'s 26
    session.switchGame(GameMode::Loto6);
    EXPECT_EQ(session.board().count(Together), 0);
    EXPECT_EQ(session.board().count(Fix), 0);
}

TEST(SessionGameSwitch, ToLoto7OverItsLimitsClearsEveryRole) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    mark(session, Together, {});
    for (int n = 1; n <= 24; ++n) session.board().toggle(n, false);  // beyond ロト７'s 23
    session.switchGame(GameMode::Loto7);
    EXPECT_EQ(session.board().count(Together), 0);
    // Seven fixed numbers are one too many for ロト６.
    mark(session, Fix, {1, 2, 3, 4, 5, 6, 7});
    ASSERT_EQ(session.board().count(Fix), 7);
    session.switchGame(GameMode::Loto6);
    EXPECT_EQ(session.board().count(Fix), 0);
}

TEST(SessionGameSwitch, Loto7KeepsWhatFitsAndTrimsAbove37) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    mark(session, Together, {3, 37, 38, 43});
    session.switchGame(GameMode::Loto7);
    EXPECT_EQ(session.mode(), GameMode::Loto7);
    EXPECT_EQ(session.list().mode(), GameMode::Loto7);
    EXPECT_EQ(session.board().count(Together), 2);
    EXPECT_EQ(session.board().state(38), 0);
}

// A hand-marked ロト７ draw: seven main numbers and two bonus numbers.
TEST(SessionPrizeCheck, Loto7HandMarkedDraw) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto7);
    session.list().appendText("7,10,12,17,23,28,3\n7,10,12,3,15,1,2\n1,2,4,5,6,8,9\n");
    mark(session, Main, {7, 10, 12, 17, 23, 28, 34});
    EXPECT_FALSE(session.prizeCheckPossible());  // no bonus numbers yet
    mark(session, Bonus, {3});
    EXPECT_FALSE(session.prizeCheckPossible());  // one of two
    mark(session, Bonus, {15});
    ASSERT_TRUE(session.prizeCheckPossible());
    ASSERT_TRUE(session.runPrizeCheck().has(Change::Prize));
    ASSERT_TRUE(session.prizeFigures().has_value());
    EXPECT_EQ(session.prizeFigures()->hits, (std::array<int, kMaxGrades>{0, 1, 0, 0, 0, 1}));
}

TEST(SessionGameSwitch, UnreadableHistoryIsReportedAndTheBuiltInCopyUsed) {
    TempFolder folder;
    std::ofstream(folder.path / "lotodata.txt", std::ios::binary) << "\x81\x20 not cp932\r\n";
    Session session(folder.path);
    const Changes changes = session.switchGame(GameMode::MiniLoto);
    ASSERT_EQ(changes.problems().size(), 1u);
    EXPECT_NE(changes.problems()[0].find("lotodata.txt"), std::string::npos);
    EXPECT_EQ(session.history().drawCount(), 1403);
    EXPECT_EQ(session.prizeRound(), 1403);
}

// ---------------------------------------------------------------- what changes

TEST(SessionChanges, EditingTheWinningNumbersForgetsTheResult) {
    TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::MiniLoto);
    session.list().appendText("8,11,14,17,19\n");
    ASSERT_TRUE(session.runPrizeCheck().has(Change::Prize));
    ASSERT_TRUE(session.prizeFigures().has_value());
    EXPECT_EQ(session.prizeFigures()->hits[0], 1);
    const Changes changes = session.clickNumber(8, false);  // the check selected the main role
    EXPECT_TRUE(changes.has(Change::Board));
    EXPECT_TRUE(changes.has(Change::Prize));
    EXPECT_TRUE(changes.has(Change::PrizeRound));
    EXPECT_FALSE(session.prizeFigures().has_value());
    EXPECT_FALSE(session.prizeRound().has_value());
    EXPECT_FALSE(session.prizeCheckPossible());  // four main numbers
}

TEST(SessionChanges, ARefusedClickChangesNothing) {
    TempFolder folder;
    Session session(folder.path);
    mark(session, Fix, {1, 2, 3, 4, 5});
    const Changes sixth = session.clickNumber(6, false);
    EXPECT_FALSE(sixth.has(Change::Board));
    EXPECT_EQ(sixth.refusal(), "固定数字は5個までです");
    EXPECT_FALSE(session.clickNumber(40, false).any());  // not a ミニロト number
    EXPECT_EQ(session.board().count(Fix), 5);
}

TEST(SessionChanges, DrawAndBuildReportTheirLists) {
    TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::MiniLoto);
    session.random().SeedRandom(3);
    const Changes drawn = session.randomDraw(20);
    EXPECT_TRUE(drawn.has(Change::List));
    EXPECT_TRUE(drawn.has(Change::Report));
    EXPECT_EQ(session.board().currentRole(), Disable);  // the draw works on fixed and forbidden numbers
    EXPECT_FALSE(session.weightingReport().empty());
    mark(session, Together, {1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(session.buildCombinations().has(Change::List));
    EXPECT_GE(session.list().size(), 6u);
    EXPECT_TRUE(session.clearList().has(Change::Report));
    EXPECT_TRUE(session.weightingReport().empty());
    EXPECT_TRUE(session.list().empty());
}

TEST(SessionChanges, RoundTextSelectsTheDrawOrTheHandMarks) {
    TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::MiniLoto);
    session.selectPrizeRound("1");
    EXPECT_EQ(session.prizeRound(), 1);
    EXPECT_TRUE(session.board().has(1, Main));  // draw 1: 01,03,17,20,25 + 26
    session.selectPrizeRound("9999");
    EXPECT_EQ(session.prizeRound(), 1403);
    session.selectPrizeRound("");
    EXPECT_FALSE(session.prizeRound().has_value());
    EXPECT_TRUE(session.board().has(8, Main));  // the marks stay for editing
    session.usePrizeRound(true, "abc");
    EXPECT_EQ(session.prizeRound(), 1403);
}

// ---------------------------------------------------------------- options

TEST(SessionOptions, RSystemAndPastWinnersTakeEffect) {
    TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::MiniLoto);
    mark(session, Axis, {1, 2});
    session.changeOptions([](Options& o) { o.rSystem = true; });
    EXPECT_TRUE(session.board().rSystem());
    EXPECT_EQ(session.board().count(Axis), 0);
    EXPECT_EQ(session.board().count(Together), 2);
    EXPECT_EQ(session.board().currentRole(), Together);
    session.changeOptions([](Options& o) { o.pastRemove = true; });
    // Draw 175's first prize is a past winner now.
    EXPECT_TRUE(SetContains(GameMode::MiniLoto, session.pastWinnerSet(), makeCombination({8, 12, 17, 19, 24})));
    session.changeOptions([](Options& o) { o.pastRemove = false; });
    EXPECT_FALSE(SetContains(GameMode::MiniLoto, session.pastWinnerSet(), makeCombination({8, 12, 17, 19, 24})));
}

TEST(SessionOptions, SurviveTheSettingsFile) {
    TempFolder folder;
    const PrinterInfo printer{"Office Laser", 210, 297};
    {
        Session session(folder.path);
        const Changes first = session.readSettings(&printer);  // writes the defaults first
        EXPECT_TRUE(first.problems().empty());
        EXPECT_TRUE(first.has(Change::Game));
        EXPECT_TRUE(first.has(Change::DrawCount));
        EXPECT_EQ(readTextFileLines(folder.path / "Tambor.ini").size(), 35u);
        session.switchGame(GameMode::Loto6);
        session.changeOptions([](Options& o) {
            o.saveFormat = SaveFormat::Text;
            o.escAction = true;
            o.priorityMode = PriorityMode::PreferRare;
            o.arrangeMode = ArrangeMode::Descending;
            o.rSystem = true;
            o.pastRemove = true;
            o.defaultDrawCount = 77;
            o.horzMargin = 4.5;
            o.links[1] = {"公式", "https://www.example.jp/"};
        });
        session.writeSettings(&printer);
    }
    Session session(folder.path);
    session.readSettings(&printer);
    EXPECT_EQ(session.mode(), GameMode::Loto6);
    const Options& o = session.options();
    EXPECT_EQ(o.saveFormat, SaveFormat::Text);
    EXPECT_TRUE(o.escAction);
    EXPECT_EQ(o.priorityMode, PriorityMode::PreferRare);
    EXPECT_EQ(o.arrangeMode, ArrangeMode::Descending);
    EXPECT_TRUE(session.board().rSystem());
    EXPECT_TRUE(o.pastRemove);
    EXPECT_FALSE(session.pastWinnerSet().bytes() == CombinationSet().bytes());
    EXPECT_EQ(o.defaultDrawCount, 77);
    EXPECT_DOUBLE_EQ(o.horzMargin, 4.5);
    EXPECT_EQ(o.links[1].target, "https://www.example.jp/");
    EXPECT_TRUE(o.updateUrl.empty());
}

TEST(SessionOptions, UpdateAddressIsWrittenOnlyWhenSet) {
    StoredSettings settings;
    EXPECT_EQ(settingsLines(settings, nullptr).size(), 32u);
    settings.options.updateUrl = "http://127.0.0.1:8080/tambor/";
    const std::vector<std::string> lines = settingsLines(settings, nullptr);
    ASSERT_EQ(lines.size(), 35u);
    EXPECT_EQ(lines[32], "[オプション]");
    EXPECT_EQ(lines[33], "UpdateUrl=http://127.0.0.1:8080/tambor/");
    EXPECT_EQ(parseSettings(lines, StoredSettings{}, nullptr).options.updateUrl, settings.options.updateUrl);
}

// One byte an editor got wrong costs its line, not every setting.
TEST(SessionOptions, UndecodableLineIsSkippedAndReportedOnceTheRestIsRead) {
    TempFolder folder;
    std::ofstream(folder.path / "Tambor.ini", std::ios::binary)
        << "Mini6Mode=1\r\nProxyAddress=\xff\xff\r\nRSystem=1\r\nDefTimes=77\r\n\x81\r\n";
    Session session(folder.path);
    const Changes changes = session.readSettings(nullptr);
    ASSERT_EQ(changes.problems().size(), 1u);
    EXPECT_NE(changes.problems()[0].find("Tambor.ini"), std::string::npos) << changes.problems()[0];
    EXPECT_NE(changes.problems()[0].find("2, 5 行目"), std::string::npos) << changes.problems()[0];
    EXPECT_EQ(session.mode(), GameMode::Loto6);
    EXPECT_TRUE(session.options().rSystem);
    EXPECT_EQ(session.options().defaultDrawCount, 77);
    EXPECT_EQ(session.options().proxyAddress, "");
    EXPECT_EQ(session.history().drawCount(), 2137);
}

TEST(SessionOptions, UnreadableSettingsAreReportedAndTheDefaultsApplied) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path / "Tambor.ini");
    Session session(folder.path);
    const Changes changes = session.readSettings(nullptr);
    ASSERT_EQ(changes.problems().size(), 1u);
    EXPECT_NE(changes.problems()[0].find("Tambor.ini"), std::string::npos);
    EXPECT_EQ(session.mode(), GameMode::MiniLoto);
    EXPECT_EQ(session.history().drawCount(), 1403);  // the switch ran all the same
}

// A Tambor.ini and a lotodata.txt that are FIFOs are reported at once,
// never waited on (the window still appears): the defaults and the
// built-in draws are used, and the FIFOs stay FIFOs.
TEST(SessionOptions, SettingsAndHistoryThatAreFifosAreReportedWithoutWaiting) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder.path / "Tambor.ini").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo((folder.path / "lotodata.txt").c_str(), 0644), 0);
    Session session(folder.path);
    const Changes changes = session.readSettings(nullptr);
    std::string said;
    for (const std::string& problem : changes.problems()) said += problem + "\n";
    EXPECT_NE(said.find("Tambor.ini」を読み込めません: 通常のファイルではありません（FIFO）"), std::string::npos) << said;
    EXPECT_NE(said.find("lotodata.txt」を読み込めません: 通常のファイルではありません（FIFO）"), std::string::npos) << said;
    EXPECT_EQ(session.mode(), GameMode::MiniLoto);
    EXPECT_EQ(session.history().drawCount(), 1403);
    EXPECT_EQ(std::filesystem::status(folder.path / "Tambor.ini").type(), std::filesystem::file_type::fifo);
    EXPECT_EQ(std::filesystem::status(folder.path / "lotodata.txt").type(), std::filesystem::file_type::fifo);
}

TEST(SessionOptions, SettingsSavedAsUtf8AreRead) {
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        TempFolder folder;
        const std::string utf8 = bom + "[動作モード設定]\nMini6Mode=1\n[追加LINK]\n追加LINK(1)=ロト６の結果,http://example.jp/\n";
        std::ofstream(folder.path / "Tambor.ini", std::ios::binary) << utf8;
        Session session(folder.path);
        EXPECT_TRUE(session.readSettings(nullptr).problems().empty());
        EXPECT_EQ(session.mode(), GameMode::Loto6);
        EXPECT_EQ(session.options().links[0].title, "ロト６の結果");
        session.writeSettings(nullptr);  // nothing changed: the file stays as the user wrote it
        EXPECT_EQ(readFileBytes(folder.path / "Tambor.ini"), utf8);
        session.changeOptions([](Options& o) { o.links[0].target = "http://example.jp/new"; });
        session.writeSettings(nullptr);  // the changed line is written in the file's encoding
        EXPECT_EQ(readFileBytes(folder.path / "Tambor.ini"),
                  bom + "[動作モード設定]\r\nMini6Mode=1\r\n[追加LINK]\r\n追加LINK(1)=ロト６の結果,http://example.jp/new\r\n");
        Session again(folder.path);
        again.readSettings(nullptr);
        EXPECT_EQ(again.options().links[0].target, "http://example.jp/new");
    }
}

// A file without any draw of the game is used as it is, and said so with
// the game and the file.
TEST(SessionHistory, NoDrawsOfTheGameIsReported) {
    struct Row {
        const char* name;
        std::string bytes;
        const char* says;
    };
    for (const Row& row : {Row{"empty_file", "", "がありません）"},
                           Row{"other_game_only", "[\x83\x7E\x83\x6A\x83\x8D\x83\x67\x93\x96\x91\x49\x94\xD4\x8D\x86]\r\n"
                                                  "=01,02,03,04,05,06\r\n",
                               "がありません）"},
                           Row{"empty_section", "[\x83\x8D\x83\x67\x82\x55\x93\x96\x91\x49\x94\xD4\x8D\x86]\r\n\r\n",
                               "の次に当選番号の行がありません"}}) {
        TempFolder folder;
        std::ofstream(folder.path / "lotodata.txt", std::ios::binary) << row.bytes;
        Session session(folder.path);
        const Changes changes = session.switchGame(GameMode::Loto6);
        ASSERT_EQ(changes.problems().size(), 1u) << row.name;
        const std::string& message = changes.problems()[0];
        EXPECT_NE(message.find((folder.path / "lotodata.txt").string()), std::string::npos) << message;
        EXPECT_NE(message.find("ロト６"), std::string::npos) << message;
        EXPECT_NE(message.find(row.says), std::string::npos) << row.name << ": " << message;
        EXPECT_TRUE(session.historyError().empty());
        EXPECT_EQ(session.history().drawCount(), 0);
        // The draw still works, every number weighing the same.
        EXPECT_TRUE(session.randomDraw(5).problems().empty());
        EXPECT_EQ(session.list().size() + session.list().duplicates().size(), 5u);
        EXPECT_EQ(readFileBytes(folder.path / "lotodata.txt"), row.bytes);  // never rewritten
    }
}

// ---------------------------------------------------------------- stopping long work

TEST(SessionStop, StoppedBuildKeepsWhatItAdded) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    mark(session, Together, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    session.buildCombinations(stopAfter(3));
    const std::size_t kept = session.list().size();
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 38760u);  // C(20, 6)
    expectListConsistent(session.list());
    EXPECT_TRUE(session.list().changed());
}

TEST(SessionStop, StoppedRSystemBuildKeepsWhatItAdded) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    session.changeOptions([](Options& o) {
        o.rSystem = true;
        o.arrangeMode = ArrangeMode::Ascending;
    });
    mark(session, Together, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20});
    session.buildCombinations(stopAfter(2));
    EXPECT_GT(session.list().size(), 0u);
    EXPECT_LT(session.list().size(), 1336u);
    expectListConsistent(session.list());
}

TEST(SessionStop, StoppedDrawKeepsWhatItAdded) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    session.loadHistory();
    session.random().SeedRandom(11);
    const Changes changes = session.randomDraw(10000, stopAfter(2));
    EXPECT_TRUE(changes.has(Change::List));
    EXPECT_GT(session.list().size(), 0u);
    EXPECT_LE(session.list().size() + session.list().duplicates().size(), 3000u);
    expectListConsistent(session.list());
    EXPECT_TRUE(session.list().changed());
}

TEST(SessionStop, StoppedLoadIntoAnEmptyListIsAChange) {
    TempFolder folder;
    Session session(folder.path);
    CombinationFile file;
    for (int a = 1; a <= 20; ++a)
        for (int b = a + 1; b <= 26; ++b) file.bytes += std::to_string(a) + "," + std::to_string(b) + ",27,28,29\r\n";
    session.appendFile(file, stopAfter(5));
    EXPECT_GT(session.list().size(), 0u);
    EXPECT_LT(session.list().size(), 310u);
    expectListConsistent(session.list());
    // Only part of the file is in the list: it does not equal the file.
    EXPECT_TRUE(session.list().changed());
}

TEST(SessionStop, StoppedPasteKeepsItsLinesInPlace) {
    TempFolder folder;
    Session session(folder.path);
    session.list().appendText("1,2,3,4,5\n1,2,3,4,6\n");
    std::string text;
    for (int n = 7; n <= 31; ++n) text += "1,2,3,4," + std::to_string(n) + "\r\n";
    session.paste(std::size_t{1}, text, stopAfter(3));
    const CombinationList& list = session.list();
    ASSERT_GT(list.size(), 2u);
    EXPECT_LT(list.size(), 27u);
    EXPECT_EQ(list.lineAt(0), "  1, 2, 3, 4, 5");
    EXPECT_EQ(list.lineAt(1), "  1, 2, 3, 4, 7");  // the pasted lines went before the focused one
    EXPECT_EQ(list.lineAt(list.size() - 1), "  1, 2, 3, 4, 6");
    expectListConsistent(list);
}

TEST(SessionStop, StoppedPrizeCheckShowsNoResult) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    session.loadHistory();
    session.list().appendText("11,15,21,31,32,43\n");
    session.runPrizeCheck(stopAfter(1));
    EXPECT_FALSE(session.prizeFigures().has_value());
    EXPECT_TRUE(session.prizeLines().empty());
}

TEST(SessionStop, StoppedSortLeavesTheOrder) {
    TempFolder folder;
    Session session(folder.path);
    session.list().appendText("30,29,28,27,26\n1,2,3,4,5\n");
    EXPECT_FALSE(session.sortList([](int) { return false; }).any());
    EXPECT_EQ(session.list().lineAt(0), " 26,27,28,29,30");
}

// ---------------------------------------------------------------- undo

namespace {

struct ListState {
    std::vector<CombinationIndex> items, duplicates;
    bool changed = false;
    bool operator==(const ListState&) const = default;
};

ListState stateOf(const CombinationList& list) { return {list.items(), list.duplicates(), list.changed()}; }

// A ロト６ session with three listed lines (one of them also a duplicate),
// saved (not changed), the board marked for a build.
void prepare(Session& session) {
    session.loadHistory();
    session.list().appendText("1,2,3,4,5,6\n7,8,9,10,11,12\n1,2,3,4,5,6\n40,41,42,43,1,2\n");
    session.list().setChanged(false);
    mark(session, Together, {1, 2, 3, 4, 5, 6, 7, 8});
}

struct UndoRow {
    const char* name;
    std::function<Changes(Session&)> command;
};

class UndoTest : public ::testing::TestWithParam<UndoRow> {};

}  // namespace

// Every command that changes the list is undone by one undo: both lists,
// their sets and the changed flag as they were; a second undo is refused.
TEST_P(UndoTest, PutsTheListBackAsItWas) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    prepare(session);
    session.random().SeedRandom(3);
    const ListState before = stateOf(session.list());
    EXPECT_FALSE(session.canUndoList());
    const Changes done = GetParam().command(session);
    EXPECT_TRUE(done.has(Change::List) || done.has(Change::Duplicates));
    EXPECT_NE(stateOf(session.list()), before) << "the command changed nothing";
    ASSERT_TRUE(session.canUndoList());
    const Changes undone = session.undoList();
    EXPECT_TRUE(undone.has(Change::List));
    EXPECT_TRUE(undone.has(Change::Duplicates));
    EXPECT_TRUE(undone.refusal().empty());
    EXPECT_EQ(stateOf(session.list()), before);
    expectListConsistent(session.list());
    EXPECT_FALSE(session.canUndoList());
    EXPECT_EQ(session.undoList().refusal(), "元に戻せる操作がありません");
    EXPECT_EQ(stateOf(session.list()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Session, UndoTest,
    ::testing::Values(
        UndoRow{"clear", [](Session& s) { return s.clearList(); }},
        UndoRow{"clearDuplicates", [](Session& s) { return s.clearDuplicates(); }},
        UndoRow{"cut", [](Session& s) {
                    std::string text;
                    return s.cut(ListBoxKind::Pick, {0, 2}, text);
                }},
        UndoRow{"cutDuplicate", [](Session& s) {
                    std::string text;
                    return s.cut(ListBoxKind::Duplicate, {0}, text);
                }},
        UndoRow{"delete", [](Session& s) { return s.deleteLines(ListBoxKind::Pick, {1}); }},
        UndoRow{"draw", [](Session& s) { return s.randomDraw(20); }},
        UndoRow{"build", [](Session& s) { return s.buildCombinations(); }},
        UndoRow{"sort", [](Session& s) { return s.sortList(); }},
        UndoRow{"paste", [](Session& s) { return s.paste(std::size_t{1}, "20,21,22,23,24,25\r\n 1, 2, 3, 4, 5, 6\r\n"); }},
        UndoRow{"load", [](Session& s) {
                    CombinationFile file;
                    file.bytes = "[ロト６]\r\n 30,31,32,33,34,35\r\n";
                    return s.appendFile(file);
                }},
        UndoRow{"editor", [](Session& s) {
                    EditLines lines;
                    s.beginListEdit(lines);
                    lines.toggle(0, 1);  // the row loses a number: dropped on OK
                    return s.endListEdit(lines, true);
                }}),
    [](const ::testing::TestParamInfo<UndoRow>& row) { return std::string(row.param.name); });

// Undo is one level: the newest command is undone, the one before stays.
// The game switch forgets it; a refused command leaves it alone.
TEST(SessionUndo, OneLevelForgottenByTheGameSwitch) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    prepare(session);
    session.sortList();
    const ListState sorted = stateOf(session.list());
    session.clearList();
    EXPECT_TRUE(session.sortList().refusal() == "並べ替える組み合わせがありません");  // refused: the clear stays undoable
    session.undoList();
    EXPECT_EQ(stateOf(session.list()), sorted);
    EXPECT_FALSE(session.canUndoList());

    session.clearList();
    EXPECT_TRUE(session.canUndoList());
    session.switchGame(GameMode::MiniLoto);
    EXPECT_FALSE(session.canUndoList());
    EXPECT_TRUE(session.list().empty());
}

TEST(SessionUndo, KeepsOneCopyOfTheLines) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    prepare(session);
    session.clearList();
    session.undoList();
    // Undo handed the copy back: the lines own their memory once.
    EXPECT_EQ(session.list().size(), 3u);
    session.rememberList();
    session.rememberList();
    EXPECT_TRUE(session.canUndoList());
}

// ---------------------------------------------------------------- refusals

// What a command declines to do, it says in one line for the status bar.
TEST(SessionRefusals, SayWhyNothingHappened) {
    TempFolder folder;
    Session session(folder.path, GameMode::Loto6);
    session.loadHistory();
    session.list().appendText("1,2,3,4,5,6\n");
    EXPECT_EQ(session.paste(std::nullopt, "no numbers here").refusal(), "貼り付けた文字から組み合わせが見つかりませんでした");
    EXPECT_EQ(session.paste(std::nullopt, "1,2,3,4,5,6\r\n").refusal(), "同じ組み合わせはすでに一覧にあります（1 口）");
    EXPECT_TRUE(session.paste(std::nullopt, "1,2,3,4,5,6\r\n1,2,3,4,5,7\r\n").refusal().empty());

    CombinationFile file;
    file.path = (folder.path / "empty.csv").string();
    file.bytes = "[ロト６]\r\n";
    EXPECT_EQ(session.appendFile(file).refusal(), "読み込める組み合わせがありませんでした（empty.csv）");
    file.bytes = "1,2,3,4,5,6\r\n1,2,3,4,5,7\r\n";
    EXPECT_EQ(session.appendFile(file).refusal(), "同じ組み合わせはすでに一覧にあります（2 口）");

    mark(session, Together, {1, 2, 3, 4, 5});
    EXPECT_EQ(session.buildCombinations().refusal(), "軸数字と連動数字を合わせて6個以上選んでください");
    session.clickNumber(6, false);
    EXPECT_EQ(session.buildCombinations().refusal(), "同じ組み合わせはすでに一覧にあります（1 口）");

    session.selectRole(Main);
    session.clearCurrentRole();  // the newest draw's main numbers
    session.clickNumber(1, false);
    EXPECT_EQ(session.runPrizeCheck().refusal(), "当選番号（本数字6個とボーナス数字1個）がそろっていません");

    std::string text;
    EXPECT_EQ(session.cut(ListBoxKind::Pick, {}, text).refusal(), "行が選択されていません");
    EXPECT_EQ(session.cut(ListBoxKind::Search, {0}, text).refusal(), "この一覧では使えない操作です");
    session.clearList();
    EXPECT_EQ(session.sortList().refusal(), "並べ替える組み合わせがありません");
}

// A list saved over the program's own files would wipe the history or the
// settings: refused with a message naming the file, the file untouched.
TEST(SessionSave, TheProgramsOwnFilesAreRefused) {
    namespace fs = std::filesystem;
    TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::MiniLoto);
    session.random().SeedRandom(3);
    session.randomDraw(5);
    fs::create_directories(folder.path / "sub");
    fs::create_symlink(folder.path / "lotodata.txt", folder.path / "sub" / "link.txt");
    for (const fs::path& target :
         {folder.path / "lotodata.txt", folder.path / "lotodata.bak", folder.path / "Tambor.ini",
          folder.path / "LOTODATA.TXT", folder.path / "sub" / ".." / "Tambor.ini", folder.path / "sub" / "link.txt"}) {
        writeFileBytesAtomic(folder.path / "lotodata.txt", "kept");
        const bool existed = fs::exists(target);
        try {
            session.saveList(target.string(), 1);
            ADD_FAILURE() << target;
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("『タンボル』が使うファイルです"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("別の名前か別のフォルダー"), std::string::npos) << e.what();
        }
        EXPECT_EQ(fs::exists(target), existed) << target;
        EXPECT_EQ(readFileBytes(folder.path / "lotodata.txt"), "kept");
    }
    // The same names elsewhere, and other names here, are ordinary files.
    session.saveList((folder.path / "sub" / "lotodata.txt").string(), 1);
    session.saveList((folder.path / "lotodata2.txt").string(), 1);
    EXPECT_TRUE(fs::exists(folder.path / "sub" / "lotodata.txt"));
    EXPECT_TRUE(fs::exists(folder.path / "lotodata2.txt"));
}

// The recent files (newest first, five at most, no name twice, names cp932
// cannot hold left out) and the window's place come back from Tambor.ini.
TEST(SessionOptions, RecentFilesAndWindowPlaceSurviveTheSettingsFile) {
    std::vector<std::string> recent;
    for (const char* name : {"/a/1.csv", "/a/2.txt", "/a/1.csv", "/b/予想.csv", "/a/3.csv", "/a/4.csv", "/a/5.csv"})
        addRecentFile(recent, name);
    EXPECT_EQ(recent, (std::vector<std::string>{"/a/5.csv", "/a/4.csv", "/a/3.csv", "/b/予想.csv", "/a/1.csv"}));
    addRecentFile(recent, "/a/3.csv");
    EXPECT_EQ(recent.front(), "/a/3.csv");
    EXPECT_EQ(recent.size(), 5u);

    TempFolder folder;
    {
        Session session(folder.path);
        session.readSettings(nullptr);
        session.changeOptions([&](Options& o) {
            o.recentFiles = {"/home/u/한국.csv", "/home/u/ロト.csv", "/home/u/a.txt"};
            o.window = {120, -8, 1280, 900, true};
        });
        session.writeSettings(nullptr);
    }
    Session session(folder.path);
    session.readSettings(nullptr);
    EXPECT_EQ(session.options().recentFiles, (std::vector<std::string>{"/home/u/ロト.csv", "/home/u/a.txt"}));
    EXPECT_EQ(session.options().window, (WindowPlace{120, -8, 1280, 900, true}));
    // A file without them, or with a size out of reason, gives none.
    const std::vector<std::string> odd = {"WindowWidth=0", "WindowHeight=300", "RecentFile2=/x.csv"};
    const StoredSettings read = parseSettings(odd, StoredSettings{}, nullptr);
    EXPECT_EQ(read.options.window, WindowPlace{});
    EXPECT_EQ(read.options.recentFiles, std::vector<std::string>{"/x.csv"});
}

// Whether lotodata.txt is still the file the history was read from: another
// program's save (a file renamed over it) or a write in place is noticed,
// the session's own edits and reloads are not.
TEST(SessionHistory, AReplacedHistoryFileIsNoticed) {
    TempFolder folder;
    Session session(folder.path);
    session.loadHistory();  // writes the built-in copy and reads it
    EXPECT_FALSE(session.historyFileChanged());
    const std::filesystem::path file = folder.path / "lotodata.txt";
    const std::string bytes = readFileBytes(file);
    writeFileBytesAtomic(file, bytes);
    EXPECT_TRUE(session.historyFileChanged());
    session.loadHistory();
    EXPECT_FALSE(session.historyFileChanged());
    std::ofstream(file, std::ios::binary | std::ios::app) << "\r\n";
    EXPECT_TRUE(session.historyFileChanged());
    session.loadHistory();
    EXPECT_TRUE(session.deleteNewestDraw().refusal().empty());
    EXPECT_FALSE(session.historyFileChanged());
    std::filesystem::remove(file);
    EXPECT_TRUE(session.historyFileChanged());
}

