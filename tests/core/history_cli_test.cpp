// tambor-cli history add and history import: the session's refusals as exit
// code 1 with the files unchanged, bad arguments as 2.

#include <gtest/gtest.h>

#include "cli_test_support.h"
#include "history_test_support.h"
#include "io/cp932.h"
#include "io/text_file.h"
#include "result_file_support.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
using tambor::testing::runCli;

namespace {

// The built-in history with one ミニロト draw that differs (第1回's bonus), so
// that the start leaves the file as it is and says so once on standard
// error; the tests then change it by hand.
std::string differingHistory() {
    std::string bytes = slurp(TAMBOR_BUILTIN_HISTORY_FILE);
    const std::string first = "(H11. 4.13)=01,03,17,20,25,26\r\n";
    bytes.replace(bytes.find(first), first.size(), "(H11. 4.13)=01,03,17,20,25,27\r\n");
    return bytes;
}

struct HistoryCli : ::testing::Test {
    TempFolder folder;
    std::filesystem::path file = folder.path / "lotodata.txt";
    std::string full = differingHistory();
    // Without ロト６ 第2137回, the newest draw of the second section.
    std::string without2137 = [&] {
        const std::string line = utf8ToCp932("第2137回(R08. 9.14)=04,08,10,25,28,33,09\r\n", "");
        std::string bytes = full;
        bytes.erase(bytes.find(line), line.size());
        return bytes;
    }();
    HistoryCli() { writeFileBytesAtomic(file, without2137); }
    std::string data() const { return " --data '" + folder.path.string() + "'"; }
    // What the start says of the differing draw.
    std::string startNotice() const {
        return "当選番号ファイル「" + file.string() +
               "」のミニロト 第1回が、このプログラムに内蔵の当選番号と違います。ファイルはそのままにし、新しい回は追加しませんでした。\n";
    }
};

TEST_F(HistoryCli, AddTakesTheNextRound) {
    const auto run = runCli("history add --game loto6 --date 2026-09-14 --numbers 33,4,8,10,25,28 --bonus 9" + data(), true);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, startNotice() + "ロト６ 第2137回（2026年9月14日(月)）を追加しました。\n");
    EXPECT_EQ(slurp(file), full);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), without2137);
}

TEST_F(HistoryCli, AddRefusesAndLeavesTheFile) {
    auto run = runCli("history add --game loto6 --date 2026-09-14 --numbers 4,8,10,25,28,33 --bonus 4" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, startNotice() + "ボーナス数字 4 が本数字と重なっています。\n");
    run = runCli("history add --game loto6 --date 2026-09-10 --numbers 4,8,10,25,28,33 --bonus 9" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, startNotice() + "日付は第2136回（2026年9月10日(木)）より後にしてください。\n");
    EXPECT_EQ(slurp(file), without2137);
    // Bad arguments.
    EXPECT_EQ(runCli("history add --game loto6 --date 20.8.2026 --numbers 1,2,3,4,5,6 --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history add --game loto6 --date 2026-08-20 --numbers 1,2,x --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history add --game loto6 --numbers 1,2,3,4,5,6 --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history frobnicate" + data()).exitCode, 2);
    EXPECT_EQ(slurp(file), without2137);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

TEST_F(HistoryCli, ImportTakesResultFiles) {
    const std::filesystem::path good = folder.path / "2137.csv";
    writeFileBytesAtomic(good, result_test::resultFileBytes(GameMode::Loto6, 2137));
    const std::filesystem::path notOne = folder.path / "notes.txt";
    writeFileBytesAtomic(notOne, "hello\r\n");
    auto run = runCli("history import '" + notOne.string() + "' '" + good.string() + "'" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("「notes.txt」は当選番号の結果ファイルとして読めません"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ロト６ 第2137回（1 回分）を追加しました。"), std::string::npos) << run.out;
    EXPECT_EQ(slurp(file), full);
    run = runCli("history import '" + good.string() + "'" + data(), true);
    EXPECT_EQ(run.exitCode, 0);
    // The file is now as new as the built-in copy: the start says nothing.
    EXPECT_EQ(run.out, "追加する新しい当選番号はありませんでした。（1 回分は登録済みです）\n");
    EXPECT_EQ(runCli("history import" + data()).exitCode, 2);
}

}  // namespace
