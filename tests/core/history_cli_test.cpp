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

struct HistoryCli : ::testing::Test {
    TempFolder folder;
    std::filesystem::path file = folder.path / "lotodata.txt";
    std::string full = slurp(TAMBOR_TEST_DATA_DIR "/lotodata-full.txt");
    // ロト６ 第2130回 ends the file: without it.
    std::string without2130 = [&] {
        std::string bytes = full.substr(0, full.size() - 2);
        bytes.resize(bytes.rfind("\r\n", bytes.size() - 3) + 2);
        return bytes + "\r\n";
    }();
    HistoryCli() { writeFileBytesAtomic(file, without2130); }
    std::string data() const { return " --data '" + folder.path.string() + "'"; }
};

TEST_F(HistoryCli, AddTakesTheNextRound) {
    const auto run = runCli("history add --game loto6 --date 2026-08-20 --numbers 43,12,18,35,40,41 --bonus 3" + data(), true);
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(run.out, "ロト６ 第2130回（2026年8月20日(木)）を追加しました。\n");
    EXPECT_EQ(slurp(file), full);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), without2130);
}

TEST_F(HistoryCli, AddRefusesAndLeavesTheFile) {
    auto run = runCli("history add --game loto6 --date 2026-08-20 --numbers 12,18,35,40,41,43 --bonus 12" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "ボーナス数字 12 が本数字と重なっています。\n");
    run = runCli("history add --game loto6 --date 2026-08-17 --numbers 12,18,35,40,41,43 --bonus 3" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "日付は第2129回（2026年8月17日(月)）より後にしてください。\n");
    EXPECT_EQ(slurp(file), without2130);
    // Bad arguments.
    EXPECT_EQ(runCli("history add --game loto6 --date 20.8.2026 --numbers 1,2,3,4,5,6 --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history add --game loto6 --date 2026-08-20 --numbers 1,2,x --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history add --game loto6 --numbers 1,2,3,4,5,6 --bonus 7" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history" + data()).exitCode, 2);
    EXPECT_EQ(runCli("history frobnicate" + data()).exitCode, 2);
    EXPECT_EQ(slurp(file), without2130);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

TEST_F(HistoryCli, ImportTakesResultFiles) {
    const std::filesystem::path good = folder.path / "2130.csv";
    writeFileBytesAtomic(good, result_test::resultFileBytes(GameMode::Loto6, 2130));
    const std::filesystem::path notOne = folder.path / "notes.txt";
    writeFileBytesAtomic(notOne, "hello\r\n");
    auto run = runCli("history import '" + notOne.string() + "' '" + good.string() + "'" + data(), true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("「notes.txt」は当選番号の結果ファイルとして読めません"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ロト６ 第2130回（1 回分）を追加しました。"), std::string::npos) << run.out;
    EXPECT_EQ(slurp(file), full);
    run = runCli("history import '" + good.string() + "'" + data(), true);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "追加する新しい当選番号はありませんでした。（1 回分は登録済みです）\n");
    EXPECT_EQ(runCli("history import" + data()).exitCode, 2);
}

}  // namespace
