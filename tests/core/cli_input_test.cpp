// How the commands that read a combination file decide its game: the
// header, else --game, else a refusal; and lines that do not fit the game.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "cli_test_support.h"

namespace {

namespace fs = std::filesystem;
using tambor::testing::CliRun;
using tambor::testing::runCli;

// "[ロト６]" and "[ミニロト]" in cp932.
const std::string kLoto6Header = "[\x83\x8d\x83\x67\x82\x55]\r\n\r\n";
const std::string kMiniHeader = "[\x83\x7e\x83\x6a\x83\x8d\x83\x67]\r\n\r\n";

// The seven ロト６ combinations of 1..7: every one of them is a ticket, so
// verify finds the numbers 1..7 covered.
const std::string kLoto6Lines =
    "  1, 2, 3, 4, 5, 6\r\n  1, 2, 3, 4, 5, 7\r\n  1, 2, 3, 4, 6, 7\r\n  1, 2, 3, 5, 6, 7\r\n"
    "  1, 2, 4, 5, 6, 7\r\n  1, 3, 4, 5, 6, 7\r\n  2, 3, 4, 5, 6, 7\r\n";

struct Folder {
    fs::path path;
    Folder() {
        path = fs::temp_directory_path() / ("tambor-input-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
        fs::copy_file(TAMBOR_BUILTIN_HISTORY_FILE, path / "lotodata.txt");
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path / name, std::ios::binary) << bytes;
        return quoted(name);
    }
    std::string quoted(const std::string& name) const { return "'" + (path / name).string() + "'"; }
};

// One reading command: how to run it on FILE in the folder.
struct ReaderRow {
    const char* name;
    std::string (*command)(const Folder& folder, const std::string& file);
};

class ReadingCommands : public ::testing::TestWithParam<ReaderRow> {
protected:
    CliRun run(const std::string& file, const std::string& extra) {
        return runCli(GetParam().command(folder, file) + extra, true);
    }
    Folder folder;
};

TEST_P(ReadingCommands, HeaderNamesTheGame) {
    // --game says ミニロト; the header wins, so every line has its six numbers.
    const std::string file = folder.write("l6.txt", kLoto6Header + kLoto6Lines);
    const CliRun r = run(file, " --game mini");
    EXPECT_EQ(r.exitCode, 0) << r.out;
}

TEST_P(ReadingCommands, WithoutHeaderTheGameOption) {
    const std::string file = folder.write("l6.txt", kLoto6Lines);
    const CliRun r = run(file, " --game loto6");
    EXPECT_EQ(r.exitCode, 0) << r.out;
}

TEST_P(ReadingCommands, NeitherHeaderNorGameOptionIsRefused) {
    const std::string file = folder.write("l6.txt", kLoto6Lines);
    const CliRun r = run(file, "");
    EXPECT_EQ(r.exitCode, 2) << r.out;
    EXPECT_NE(r.out.find("見出し行"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("--game"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(folder.path / "out.pdf"));
    EXPECT_FALSE(fs::exists(folder.path / "out.csv"));
}

TEST_P(ReadingCommands, LinesOfTheOtherGameNamedByNumber) {
    // Read as ミニロト, the first ロト６ line already holds one number too many.
    const CliRun wrongGame = run(folder.write("l6.txt", kLoto6Lines), " --game mini");
    EXPECT_EQ(wrongGame.exitCode, 1) << wrongGame.out;
    EXPECT_NE(wrongGame.out.find("の 1 行目はミニロトの組み合わせ"), std::string::npos) << wrongGame.out;
    // Under a ミニロト header, line 4 is a ロト６ combination.
    const CliRun mixed = run(folder.write("mixed.txt", kMiniHeader + " 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 5, 6\r\n"), "");
    EXPECT_EQ(mixed.exitCode, 1) << mixed.out;
    EXPECT_NE(mixed.out.find("の 4 行目はミニロトの組み合わせ"), std::string::npos) << mixed.out;
    EXPECT_FALSE(fs::exists(folder.path / "out.pdf"));
    EXPECT_FALSE(fs::exists(folder.path / "out.csv"));
}

INSTANTIATE_TEST_SUITE_P(
    Cli, ReadingCommands,
    ::testing::Values(
        ReaderRow{"print", [](const Folder& f,
                              const std::string& file) { return "print " + file + " --pdf " + f.quoted("out.pdf"); }},
        ReaderRow{"check", [](const Folder&,
                              const std::string& file) { return "check " + file + " --main 1,2,3,4,5,6 --bonus 9"; }},
        ReaderRow{"backtest",
                  [](const Folder& f, const std::string& file) {
                      return "backtest " + file + " --data " + f.quoted("") + " --from 1 --to 3";
                  }},
        ReaderRow{"convert", [](const Folder& f,
                                const std::string& file) { return "convert " + file + " " + f.quoted("out.csv"); }},
        ReaderRow{"verify", [](const Folder&,
                               const std::string& file) { return "verify " + file + " --together 1,2,3,4,5,6,7"; }}),
    [](const auto& row) { return std::string(row.param.name); });

// The case of the report: a ロト６ list printed and converted without --game
// stays ロト６ when it has its header, and is refused when it has none.
TEST(ReadingCommandsOutput, Loto6ListStaysLoto6) {
    Folder folder;
    const std::string file = folder.write("l6.txt", kLoto6Header + kLoto6Lines);
    const CliRun printed = runCli("print " + file + " --pdf " + folder.quoted("out.pdf"));
    EXPECT_EQ(printed.exitCode, 0);
    EXPECT_NE(printed.out.find("（ロト６、7 口、2 ページ）"), std::string::npos) << printed.out;
    const CliRun converted =
        runCli("convert " + folder.write("bare.txt", kLoto6Lines) + " " + folder.quoted("out.csv") + " --game loto6");
    ASSERT_EQ(converted.exitCode, 0);
    std::ifstream in(folder.path / "out.csv", std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(saved, kLoto6Header + kLoto6Lines + "\r\n");
}

}  // namespace

namespace {

struct OptionBeforeFileRow {
    const char* name;
    const char* arguments;  // FILE, OUT and DATA stand for a missing file, an output and the data folder
};

class OptionsBeforeFiles : public ::testing::TestWithParam<OptionBeforeFileRow> {};

// A bad option is said (exit code 2) before any file is touched, whichever
// comes first on the line: a missing input is never what the user hears.
TEST_P(OptionsBeforeFiles, BadOptionIsAUsageErrorEvenWithAMissingFile) {
    Folder folder;
    std::string arguments = GetParam().arguments;
    for (const auto& [word, name] :
         {std::pair{"FILE", "nofile.csv"}, std::pair{"OUT", "out.csv"}, std::pair{"DATA", ""}})
        for (std::size_t at; (at = arguments.find(word)) != std::string::npos;)
            arguments.replace(at, std::string(word).size(), folder.quoted(name));
    const CliRun run = runCli(arguments, true);
    EXPECT_EQ(run.exitCode, 2) << run.out;
    EXPECT_EQ(run.out.find("読み込めません"), std::string::npos) << run.out;
    EXPECT_FALSE(fs::exists(folder.path / "out.csv"));
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Rows, OptionsBeforeFiles,
    ::testing::Values(OptionBeforeFileRow{"check_round", "check FILE --data DATA --round abc"},
                      OptionBeforeFileRow{"check_main", "check FILE --main 1,2,x,4,5,6 --bonus 7"},
                      OptionBeforeFileRow{"check_main_too_large", "check FILE --main 1,2,3,4,5,99 --bonus 7"},
                      OptionBeforeFileRow{"verify_together", "verify FILE --together abc"},
                      OptionBeforeFileRow{"verify_axis", "verify FILE --together 1,2,3,4,5,6,7 --axis x"},
                      OptionBeforeFileRow{"filter_condition", "filter FILE OUT --data DATA --filter bogus=1-2"},
                      OptionBeforeFileRow{"filter_range", "filter FILE OUT --filter sum=abc"},
                      OptionBeforeFileRow{"backtest_from", "backtest FILE --data DATA --from abc"},
                      OptionBeforeFileRow{"convert_game", "convert FILE OUT --game seven"}),
    [](const auto& row) { return std::string(row.param.name); });

// A round outside the history is clamped as the window clamps it, and the
// command says on standard error which round it used (stdout and stderr
// are read together here).
TEST(CheckCommandRound, ClampedRoundIsNamed) {
    Folder folder;
    const std::string file = folder.write("l6.txt", kLoto6Header + kLoto6Lines);
    const CliRun late = runCli("check " + file + " --data " + folder.quoted("") + " --round 99999", true);
    EXPECT_EQ(late.exitCode, 0);
    EXPECT_NE(late.out.find("第99999回の当選結果はありません。最新の第"), std::string::npos) << late.out;
    const CliRun early = runCli("check " + file + " --data " + folder.quoted("") + " --round 0", true);
    EXPECT_EQ(early.exitCode, 0);
    EXPECT_NE(early.out.find("第0回の当選結果はありません。最初の第1回の当選結果で確認します。"), std::string::npos)
        << early.out;
    const CliRun exact = runCli("check " + file + " --data " + folder.quoted("") + " --round 1", true);
    EXPECT_EQ(exact.exitCode, 0);
    EXPECT_EQ(exact.out.find("当選結果はありません"), std::string::npos) << exact.out;
}
