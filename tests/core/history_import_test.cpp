// The bank's result files: reading one, and taking many into lotodata.txt.
// Every file is written by the tests from the verified draw lists
// (result_file_support.h).

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "history/history_import.h"
#include "history/result_file.h"
#include "history_test_support.h"
#include "io/cp932.h"
#include "io/text_file.h"
#include "result_file_support.h"
#include "session/session.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
using result_test::resultFileBytes;
using result_test::resultFileText;
using result_test::Style;
using result_test::verifiedDraw;

namespace {

DrawDate date(const char* iso) { return *parseIsoDate(iso); }

ResultFileDraw parsed(const std::string& utf8) {
    auto result = parseResultFileText(utf8);
    if (const std::string* why = std::get_if<std::string>(&result)) ADD_FAILURE() << *why;
    return std::get<ResultFileDraw>(result);
}

std::string problemOf(const std::string& utf8) {
    auto result = parseResultFileText(utf8);
    return std::holds_alternative<std::string>(result) ? std::get<std::string>(result) : std::string("(read)");
}

TEST(ResultFile, ReadsEveryFormTheBankWrites) {
    const ResultFileDraw loto6 = parsed(resultFileText(GameMode::Loto6, verifiedDraw(GameMode::Loto6, 2130)));
    EXPECT_EQ(loto6.mode, GameMode::Loto6);
    EXPECT_EQ(loto6.draw.round, 2130);
    EXPECT_EQ(loto6.draw.date, date("2026-08-20"));
    EXPECT_EQ(loto6.draw.mainNumbers, (std::vector<int>{12, 18, 35, 40, 41, 43}));
    EXPECT_EQ(loto6.draw.bonusNumbers, std::vector<int>{3});

    // Zero-padded round, full-width digits, 平成 and 令和元年.
    const ResultFileDraw mini = parsed(
        resultFileText(GameMode::MiniLoto, verifiedDraw(GameMode::MiniLoto, 694), Style{true, true, false}));
    EXPECT_EQ(mini.mode, GameMode::MiniLoto);
    EXPECT_EQ(mini.draw.round, 694);
    EXPECT_EQ(mini.draw.mainNumbers.size(), 5u);
    const result_test::VerifiedDraw heisei = verifiedDraw(GameMode::Loto6, 1);
    EXPECT_EQ(parsed(resultFileText(GameMode::Loto6, heisei)).draw.date, date("2000-10-05"));
    EXPECT_NE(resultFileText(GameMode::Loto6, heisei).find("平成12年10月5日"), std::string::npos);
    // The first ロト６ draw of 令和 (2019-05-09): 令和元年.
    const std::string reiwa1 = resultFileText(GameMode::Loto6, verifiedDraw(GameMode::Loto6, 1376));
    ASSERT_NE(reiwa1.find("令和元年"), std::string::npos) << reiwa1;
    EXPECT_EQ(parsed(reiwa1).draw.date->year(), std::chrono::year{2019});
}

TEST(ResultFile, TextsThatAreNotResultFilesSayWhy) {
    EXPECT_EQ(problemOf(""), "「第…回」で始まる回の行がありません");
    // The bank's summary index: rounds and dates, no numbers.
    EXPECT_EQ(problemOf("A50\r\n第2130回ロト６,令和8年8月20日\r\n第2129回ロト６,令和8年8月17日\r\n"), "本数字の行がありません");
    EXPECT_EQ(problemOf("A52\r\n第12回ビンゴ５,数字選択式全国自治宝くじ,令和8年2月18日\r\n本数字,01,02\r\n"),
              "くじの名前「ビンゴ5」を知りません");
    EXPECT_EQ(problemOf("A52\r\n第12回ロト６,数字選択式全国自治宝くじ,8月20日\r\n"), "抽せん日が読めません");
    const std::string good = resultFileText(GameMode::Loto6, verifiedDraw(GameMode::Loto6, 2130));
    std::string fiveNumbers = good;
    fiveNumbers.replace(fiveNumbers.find("本数字,12,"), std::string("本数字,12,").size(), "本数字,");
    EXPECT_EQ(problemOf(fiveNumbers), "本数字を 6 個入力してください（5 個あります）");
    std::string outOfRange = good;
    outOfRange.replace(outOfRange.find(",43,"), 4, ",44,");
    EXPECT_EQ(problemOf(outOfRange), "本数字 44 は 1〜43 の範囲外です");
    std::string word = good;
    word.replace(word.find(",43,"), 4, ",四三,");
    EXPECT_EQ(problemOf(word), "本数字の行に数字でない「四三」があります");
}

// The built-in history (ミニロト to 1403, ロト６ to 2137) without the newest
// draws of each game, which the tests bring back as result files.
std::string fullWithout(int miniDraws, int loto6Draws) {
    std::vector<std::string> lines = splitLines(cp932ToUtf8(slurp(TAMBOR_BUILTIN_HISTORY_FILE), ""));
    for (const auto& [header, drop] : {std::pair{"[ミニロト当選番号]", miniDraws}, std::pair{"[ロト６当選番号]", loto6Draws}}) {
        auto end = std::find(std::find(lines.begin(), lines.end(), header), lines.end(), "");
        lines.erase(end - drop, end);
    }
    std::string bytes;
    for (const std::string& line : lines) bytes += utf8ToCp932(line, "") + "\r\n";
    return bytes;
}

struct Import : ::testing::Test {
    TempFolder folder;
    std::filesystem::path history = folder.path / "lotodata.txt";
    std::string full = fullWithout(3, 7);    // ミニロト to 1400, ロト６ to 2130
    std::string start = fullWithout(8, 12);  // ミニロト to 1395, ロト６ to 2125

    Import() { writeFileBytesAtomic(history, start); }

    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder.path / name;
        writeFileBytesAtomic(path, bytes);
        return path;
    }
    std::filesystem::path loto6(int round, Style style = {}) {
        return write("loto6-" + std::to_string(round) + ".csv", resultFileBytes(GameMode::Loto6, round, style));
    }
    std::filesystem::path mini(int round, Style style = {}) {
        return write("miniloto-" + std::to_string(round) + ".csv", resultFileBytes(GameMode::MiniLoto, round, style));
    }
};

TEST_F(Import, OneFileAddsItsDraw) {
    const ImportOutcome outcome = importResultFiles(history, {loto6(2126)});
    EXPECT_TRUE(outcome.problems.empty());
    EXPECT_EQ(outcome.summary(), "ロト６ 第2126回（1 回分）を追加しました。");
    EXPECT_EQ(slurp(history), fullWithout(8, 11));
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), start);
}

TEST_F(Import, ManyFilesInAnyOrderAndFormAreAddedInOneWrite) {
    std::vector<std::filesystem::path> files;
    for (int r = 2126; r <= 2130; ++r) files.push_back(loto6(r, Style{r % 2 == 0, r % 3 == 0, r % 2 == 1}));
    for (int r = 1396; r <= 1400; ++r) files.push_back(mini(r, Style{false, r % 2 == 0, r % 3 == 0}));
    std::shuffle(files.begin(), files.end(), std::mt19937(20));
    const ImportOutcome outcome = importResultFiles(history, files);
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.addedDraws, 10);
    EXPECT_EQ(outcome.summary(), "ミニロト 第1396回〜第1400回（5 回分）を追加しました。\n"
                                 "ロト６ 第2126回〜第2130回（5 回分）を追加しました。");
    EXPECT_EQ(slurp(history), full);
    // One write: the backup is the file before the import.
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), start);
}

TEST_F(Import, KnownAndRepeatedDrawsAreSkipped) {
    const std::filesystem::path again = write("copy.csv", resultFileBytes(GameMode::Loto6, 2126, Style{false, false, true}));
    const ImportOutcome outcome = importResultFiles(history, {loto6(2125), loto6(2126), again, loto6(1)});
    EXPECT_TRUE(outcome.problems.empty());
    EXPECT_EQ(outcome.addedDraws, 1);
    EXPECT_EQ(outcome.knownDraws, 3);
    EXPECT_EQ(slurp(history), fullWithout(8, 11));
    // Nothing new at all: nothing written, and the user hears so.
    writeFileBytesAtomic(history, start);
    std::filesystem::remove(folder.path / "lotodata.bak");
    const ImportOutcome nothing = importResultFiles(history, {loto6(2125)});
    EXPECT_FALSE(nothing.written);
    EXPECT_EQ(nothing.summary(), "追加する新しい当選番号はありませんでした。（1 回分は登録済みです）");
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

TEST_F(Import, AConflictWritesNothingAndNamesFileAndRound) {
    // A damaged copy of 2125's file: another bonus.
    std::string text = resultFileText(GameMode::Loto6, verifiedDraw(GameMode::Loto6, 2125));
    text.replace(text.find("ボーナス数字,39"), std::string("ボーナス数字,39").size(), "ボーナス数字,01");
    const std::filesystem::path damaged = write("damaged.csv", utf8ToCp932(text, ""));
    const ImportOutcome outcome = importResultFiles(history, {loto6(2126), damaged});
    ASSERT_EQ(outcome.problems.size(), 2u);
    EXPECT_EQ(outcome.problems[0],
              "「damaged.csv」のロト６ 第2125回（2026年8月3日(月) 03,22,25,28,30,43 + 01）は、当選番号ファイルの"
              "第2125回（2026年8月3日(月) 03,22,25,28,30,43 + 39）と違います。");
    EXPECT_EQ(outcome.problems[1], "当選番号ファイルは変更していません。");
    EXPECT_EQ(slurp(history), start);

    // Two new files that disagree on one round.
    std::string other = resultFileText(GameMode::Loto6, verifiedDraw(GameMode::Loto6, 2126));
    other.replace(other.find("ボーナス数字,24"), std::string("ボーナス数字,24").size(), "ボーナス数字,01");
    const ImportOutcome twice = importResultFiles(history, {loto6(2126), write("other.csv", utf8ToCp932(other, ""))});
    ASSERT_FALSE(twice.problems.empty());
    EXPECT_EQ(twice.problems[0], "「other.csv」と「loto6-2126.csv」でロト６ 第2126回の当選番号が違います。");
    EXPECT_EQ(slurp(history), start);
}

TEST_F(Import, AGapStopsAtTheMissingRounds) {
    const ImportOutcome outcome = importResultFiles(history, {loto6(2130), loto6(2126), loto6(2129)});
    ASSERT_EQ(outcome.problems.size(), 1u);
    EXPECT_EQ(outcome.problems[0], "ロト６ 第2127回〜第2128回の結果がないため、第2129回以降は追加しませんでした。");
    EXPECT_EQ(outcome.addedDraws, 1);
    EXPECT_EQ(slurp(history), fullWithout(8, 11));
    // The missing file later brings the rest.
    const ImportOutcome rest = importResultFiles(history, {loto6(2130), loto6(2128), loto6(2129), loto6(2127)});
    EXPECT_TRUE(rest.problems.empty());
    EXPECT_EQ(slurp(history), fullWithout(8, 7));
}

// ロト７ files ("第0694回ロト７", two bonus numbers on the 本数字 line) go to
// the ロト７ section like the others.
TEST(ImportLoto7, TwoBonusNumbersAndAZeroPaddedRound) {
    TempFolder folder;
    const std::filesystem::path history = folder.path / "lotodata.txt";
    const std::string full = slurp(TAMBOR_BUILTIN_HISTORY_FILE);
    const std::string newest = utf8ToCp932("第694回(R08. 9.11)=03,13,24,26,30,31,36,23,34\r\n", "");
    std::string older = full;
    older.erase(older.find(newest), newest.size());
    writeFileBytesAtomic(history, older);
    const std::filesystem::path file = folder.path / "loto7-694.csv";
    writeFileBytesAtomic(file, resultFileBytes(GameMode::Loto7, 694, Style{true, false, false}));
    const ImportOutcome outcome = importResultFiles(history, {file});
    EXPECT_TRUE(outcome.problems.empty()) << outcome.problems.front();
    EXPECT_EQ(outcome.summary(), "ロト７ 第694回（1 回分）を追加しました。");
    EXPECT_EQ(slurp(history), full);
}

TEST_F(Import, FilesThatAreNotResultFilesAreNamedAndTheOthersStillCount) {
    const std::filesystem::path index = write("index.csv", utf8ToCp932("A50\r\n第2126回ロト６,令和8年8月6日\r\n", ""));
    const std::filesystem::path binary = write("picture.png", std::string("\x89PNG\r\n\x1a\n\xff\xfe\x00", 11));
    const std::filesystem::path empty = write("empty.csv", "");
    const ImportOutcome outcome =
        importResultFiles(history, {index, loto6(2126), binary, empty, folder.path / "missing.csv"});
    ASSERT_EQ(outcome.problems.size(), 4u);
    EXPECT_EQ(outcome.problems[0], "「index.csv」は当選番号の結果ファイルとして読めません（本数字の行がありません）。");
    EXPECT_EQ(outcome.problems[1].rfind("「picture.png」は当選番号の結果ファイルとして読めません", 0), 0u);
    EXPECT_EQ(outcome.problems[2], "「empty.csv」は当選番号の結果ファイルとして読めません（「第…回」で始まる回の行がありません）。");
    EXPECT_EQ(outcome.problems[3].rfind("「missing.csv」を読み込めません", 0), 0u);
    EXPECT_EQ(outcome.addedDraws, 1);
    EXPECT_EQ(slurp(history), fullWithout(8, 11));
}

TEST_F(Import, TheSessionReadsTheHistoryAgain) {
    Session session(folder.path);
    session.switchGame(GameMode::Loto6);
    ImportOutcome outcome;
    const Changes changes = session.importResultFiles({loto6(2127), loto6(2126)}, outcome);
    EXPECT_TRUE(changes.has(Change::History));
    EXPECT_EQ(session.history().drawCount(), 2127);
    EXPECT_EQ(session.prizeRound(), 2127);
    // Nothing new: the history is left as it is.
    EXPECT_FALSE(session.importResultFiles({loto6(2127)}, outcome).has(Change::History));
}

}  // namespace
