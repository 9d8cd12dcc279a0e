// Dates of draws, the draw line, and adding, correcting and removing draws
// of lotodata.txt through the session.

#include <gtest/gtest.h>

#include "history/draw_date.h"
#include "history/history_draw.h"
#include "history/history_edit.h"
#include "history_test_support.h"
#include "io/cp932.h"
#include "io/text_file.h"
#include "session/session.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;

namespace {

DrawDate date(const char* iso) { return *parseIsoDate(iso); }

TEST(DrawDate, ReadsAndWritesEachForm) {
    EXPECT_EQ(isoDateText(date("2026-09-14")), "2026-09-14");
    for (const char* bad : {"2026-02-30", "2026-9-14", "20260914", "2026-13-01", "abcd-ef-gh", ""})
        EXPECT_FALSE(parseIsoDate(bad)) << bad;

    EXPECT_EQ(parseHistoryEraDate("H11. 4.13"), date("1999-04-13"));
    EXPECT_EQ(parseHistoryEraDate("R08. 9.14"), date("2026-09-14"));
    EXPECT_EQ(parseHistoryEraDate("R01. 5. 7"), date("2019-05-07"));
    EXPECT_FALSE(parseHistoryEraDate("S64. 1. 7"));
    EXPECT_FALSE(parseHistoryEraDate("H11.2.30"));
    EXPECT_EQ(historyEraDateText(date("1999-04-13")), "H11. 4.13");
    EXPECT_EQ(historyEraDateText(date("2019-04-30")), "H31. 4.30");
    EXPECT_EQ(historyEraDateText(date("2019-05-01")), "R01. 5. 1");
    EXPECT_EQ(historyEraDateText(date("2026-12-10")), "R08.12.10");
    EXPECT_FALSE(historyEraDateText(date("1989-01-07")));

    EXPECT_EQ(parseJapaneseEraDate("令和8年2月19日"), date("2026-02-19"));
    EXPECT_EQ(parseJapaneseEraDate("令和元年5月7日"), date("2019-05-07"));
    EXPECT_EQ(parseJapaneseEraDate("平成31年4月30日"), date("2019-04-30"));
    EXPECT_EQ(parseJapaneseEraDate(" 平成 12 年 10 月 5 日 "), date("2000-10-05"));
    EXPECT_FALSE(parseJapaneseEraDate("令和8年2月30日"));
    EXPECT_FALSE(parseJapaneseEraDate("2026年2月19日"));
    EXPECT_FALSE(parseJapaneseEraDate("令和8年2月19日から"));

    EXPECT_EQ(japaneseDateText(date("2026-09-14")), "2026年9月14日(月)");
    EXPECT_EQ(japaneseDateText(date("1999-04-13")), "1999年4月13日(火)");
}

TEST(DrawDate, NextDrawDayFollowsTheGameAndSkipsNewYear) {
    // ミニロト on Tuesdays.
    EXPECT_EQ(nextDrawDate(GameMode::MiniLoto, date("2026-09-08")), date("2026-09-15"));
    EXPECT_EQ(nextDrawDate(GameMode::MiniLoto, date("2026-09-10")), date("2026-09-15"));
    // ロト６ on Mondays and Thursdays.
    EXPECT_EQ(nextDrawDate(GameMode::Loto6, date("2026-09-14")), date("2026-09-17"));
    EXPECT_EQ(nextDrawDate(GameMode::Loto6, date("2026-09-17")), date("2026-09-21"));
    // 2026-12-31 is a Thursday and 2027-01-01 to 01-03 are off: the next
    // ロト６ draw after Monday 12-28 is Monday 2027-01-04.
    EXPECT_EQ(nextDrawDate(GameMode::Loto6, date("2026-12-28")), date("2027-01-04"));
    // Tuesday 2024-12-31 is off for ミニロト: the next is 2025-01-07.
    EXPECT_EQ(nextDrawDate(GameMode::MiniLoto, date("2024-12-24")), date("2025-01-07"));
}

TEST(HistoryDrawLine, ReadsAndWritesTheFileForm) {
    const auto draw = readHistoryDraw(GameMode::Loto6, "第2137回(R08. 9.14)=04,08,10,25,28,33,09", 2137);
    ASSERT_TRUE(draw);
    EXPECT_EQ(draw->date, date("2026-09-14"));
    EXPECT_EQ(draw->mainNumbers, (std::vector<int>{4, 8, 10, 25, 28, 33}));
    EXPECT_EQ(draw->bonusNumbers, std::vector<int>{9});
    EXPECT_EQ(historyDrawLine(*draw), "第2137回(R08. 9.14)=04,08,10,25,28,33,09");
    EXPECT_EQ(historyDrawLine(HistoryDraw{1, date("1999-04-13"), {25, 1, 3, 17, 20}, {26}}),
              "第  1回(H11. 4.13)=01,03,17,20,25,26");
    // Too few numbers, a word among them, no "=": not a draw.
    EXPECT_FALSE(readHistoryDraw(GameMode::Loto6, "第  1回(H12.10. 5)=02,08,10,13,27,30", 1));
    EXPECT_FALSE(readHistoryDraw(GameMode::MiniLoto, "第  1回(H11. 4.13)=01,03,xx,20,25,26", 1));
    EXPECT_FALSE(readHistoryDraw(GameMode::MiniLoto, "第  1回", 1));
    // A date that does not read leaves the numbers.
    const auto undated = readHistoryDraw(GameMode::MiniLoto, "第  1回(不明)=01,03,17,20,25,26", 1);
    ASSERT_TRUE(undated);
    EXPECT_FALSE(undated->date);
}

TEST(HistoryDrawLine, NumbersThatCannotBeADrawAreNamed) {
    EXPECT_EQ(drawNumbersProblem(GameMode::Loto6, {1, 2, 3, 4, 5, 6}, {7}), "");
    EXPECT_EQ(drawNumbersProblem(GameMode::Loto6, {1, 2, 3, 4, 5}, {7}), "本数字を 6 個入力してください（5 個あります）。");
    EXPECT_EQ(drawNumbersProblem(GameMode::Loto6, {1, 2, 3, 4, 5, 6}, {}),
              "ボーナス数字を 1 個入力してください（0 個あります）。");
    EXPECT_EQ(drawNumbersProblem(GameMode::MiniLoto, {1, 2, 3, 4, 32}, {7}), "本数字 32 は 1〜31 の範囲外です。");
    EXPECT_EQ(drawNumbersProblem(GameMode::MiniLoto, {1, 2, 3, 4, 5}, {0}), "ボーナス数字 0 は 1〜31 の範囲外です。");
    EXPECT_EQ(drawNumbersProblem(GameMode::Loto6, {1, 2, 3, 4, 5, 5}, {7}), "本数字 5 が 2 回入力されています。");
    EXPECT_EQ(drawNumbersProblem(GameMode::Loto6, {1, 2, 3, 4, 5, 6}, {6}), "ボーナス数字 6 が本数字と重なっています。");
}

TEST(HistorySections, AppendAddsToTheSectionOrMakesOne) {
    std::vector<std::string> lines{"[ミニロト当選番号]", "a", "b", "", "[ロト６当選番号]", "c", ""};
    appendSectionLines(lines, GameMode::MiniLoto, {"x"});
    EXPECT_EQ(lines, (std::vector<std::string>{"[ミニロト当選番号]", "a", "b", "x", "", "[ロト６当選番号]", "c", ""}));
    std::vector<std::string> noLoto6{"[ミニロト当選番号]", "a"};
    appendSectionLines(noLoto6, GameMode::Loto6, {"y"});
    EXPECT_EQ(noLoto6, (std::vector<std::string>{"[ミニロト当選番号]", "a", "", "[ロト６当選番号]", "y", ""}));
    // The section of a file whose last section has no closing empty line.
    std::vector<std::string> open{"[ロト６当選番号]", "c"};
    appendSectionLines(open, GameMode::Loto6, {"d"});
    EXPECT_EQ(open, (std::vector<std::string>{"[ロト６当選番号]", "c", "d"}));
}

// The built-in history with ロト６ only to 第(2130 - draws)回 (the tests add
// 第2130回 back from the verified list). ロト６ is the second section; the
// sections are separated by an empty line.
std::string withoutNewestLoto6(const std::string& full, int draws) {
    const std::size_t end = full.find("\r\n\r\n", full.find("\r\n\r\n") + 4) + 2;
    std::string head = full.substr(0, end);
    for (int i = 0; i < 7 + draws; ++i) head.resize(head.rfind("\r\n", head.size() - 3) + 2);
    return head + full.substr(end);
}

struct HistoryEdit : ::testing::Test {
    TempFolder folder;
    Session session{folder.path};
    std::filesystem::path file = folder.path / "lotodata.txt";
    std::string full = slurp(TAMBOR_BUILTIN_HISTORY_FILE);
    std::string original = withoutNewestLoto6(full, 1);
    HistoryEdit() {
        writeFileBytesAtomic(file, original);
        session.switchGame(GameMode::Loto6);
    }
    // ロト６ 第2130回 of the verified list.
    DrawEntry draw2130() { return {date("2026-08-20"), {12, 18, 35, 40, 41, 43}, {3}}; }
};

TEST_F(HistoryEdit, AddingWritesOneLineAndKeepsTheOldFile) {
    EXPECT_EQ(session.history().drawCount(), 2129);
    EXPECT_EQ(session.proposedDrawDate(), date("2026-08-20"));  // the Thursday after Monday 08-17
    const Changes changes = session.addDraw(draw2130());
    EXPECT_TRUE(changes.refusal().empty()) << changes.refusal();
    EXPECT_TRUE(changes.has(Change::History));
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), original);
    EXPECT_EQ(slurp(file), withoutNewestLoto6(full, 0));
    // The statistics, the prize check's round and the board follow it.
    EXPECT_EQ(session.history().drawCount(), 2130);
    EXPECT_EQ(session.prizeRound(), 2130);
    EXPECT_EQ(session.board().count(Main), 6);
    EXPECT_TRUE(session.board().state(3) & kRoleBit[Bonus]);
    EXPECT_EQ(session.newestDraw()->date, date("2026-08-20"));
    EXPECT_EQ(session.proposedDrawDate(), date("2026-08-24"));
}

TEST_F(HistoryEdit, RefusalsLeaveTheFileAlone) {
    const auto refusedWith = [&](const DrawEntry& entry) {
        const Changes changes = session.addDraw(entry);
        EXPECT_EQ(slurp(file), original);
        EXPECT_FALSE(changes.has(Change::History));
        return changes.refusal();
    };
    DrawEntry entry = draw2130();
    entry.mainNumbers[5] = 44;
    EXPECT_EQ(refusedWith(entry), "本数字 44 は 1〜43 の範囲外です。");
    entry = draw2130();
    entry.mainNumbers[5] = 12;
    EXPECT_EQ(refusedWith(entry), "本数字 12 が 2 回入力されています。");
    entry = draw2130();
    entry.bonusNumbers = {18};
    EXPECT_EQ(refusedWith(entry), "ボーナス数字 18 が本数字と重なっています。");
    entry = draw2130();
    entry.date = date("2026-08-17");
    EXPECT_EQ(refusedWith(entry), "日付は第2129回（2026年8月17日(月)）より後にしてください。");
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

TEST_F(HistoryEdit, CorrectingAndRemovingTheNewest) {
    // A typo in the bonus, corrected.
    DrawEntry typo = draw2130();
    typo.bonusNumbers = {4};
    ASSERT_TRUE(session.addDraw(typo).refusal().empty());
    const std::string withTypo = slurp(file);
    ASSERT_TRUE(session.correctNewestDraw(draw2130()).refusal().empty());
    EXPECT_EQ(slurp(file), withoutNewestLoto6(full, 0));
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), withTypo);
    EXPECT_EQ(session.history().drawCount(), 2130);
    EXPECT_EQ(session.newestDraw()->bonusNumbers, std::vector<int>{3});
    // The corrected date must still follow the draw before it.
    DrawEntry early = draw2130();
    early.date = date("2026-08-17");
    EXPECT_EQ(session.correctNewestDraw(early).refusal(), "日付は第2129回（2026年8月17日(月)）より後にしてください。");

    ASSERT_TRUE(session.deleteNewestDraw().refusal().empty());
    EXPECT_EQ(slurp(file), original);
    EXPECT_EQ(session.history().drawCount(), 2129);
    EXPECT_EQ(session.prizeRound(), 2129);
    // ミニロト's section stays as it was through all of it.
    session.switchGame(GameMode::MiniLoto);
    EXPECT_EQ(session.history().drawCount(), 1403);
}

TEST_F(HistoryEdit, AHandEditMadeMeanwhileIsKept) {
    // The session read the file without 2129 and 2130; 2129 is put back by
    // hand before the program adds 2130.
    writeFileBytesAtomic(file, withoutNewestLoto6(full, 2));
    session.loadHistory();
    writeFileBytesAtomic(file, original);
    ASSERT_TRUE(session.addDraw(draw2130()).refusal().empty());
    EXPECT_EQ(slurp(file), withoutNewestLoto6(full, 0));
    EXPECT_EQ(session.history().drawCount(), 2130);
}

TEST_F(HistoryEdit, AFileThatCannotBeWrittenIsReported) {
    std::filesystem::permissions(file, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    const Changes changes = session.addDraw(draw2130());
    EXPECT_NE(changes.refusal().find("書き換えられません"), std::string::npos) << changes.refusal();
    EXPECT_EQ(slurp(file), original);
    EXPECT_EQ(session.history().drawCount(), 2129);
}

TEST(HistoryEditEmpty, TheFirstDrawOfAGameWithoutSection) {
    TempFolder folder;
    writeFileBytesAtomic(folder.path / "lotodata.txt", utf8ToCp932("[ミニロト当選番号]\r\n\r\n", ""));
    Session session(folder.path);
    session.switchGame(GameMode::Loto6);
    EXPECT_EQ(session.deleteNewestDraw().refusal(), "ロト６の当選番号がないため削除できません。");
    ASSERT_TRUE(session.addDraw({date("2000-10-05"), {2, 8, 10, 13, 27, 30}, {39}}).refusal().empty());
    EXPECT_EQ(slurp(folder.path / "lotodata.txt"),
              utf8ToCp932("[ミニロト当選番号]\r\n\r\n[ロト６当選番号]\r\n第  1回(H12.10. 5)=02,08,10,13,27,30,39\r\n\r\n", ""));
    EXPECT_EQ(session.history().drawCount(), 1);
}

}  // namespace
