// The command line's filters and number analysis: --filter on draw and
// build, the filter and filter-stats commands, analyze, and their exit codes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli_test_support.h"
#include "generate/filter_text.h"
#include "history/filter_history.h"
#include "history/number_analysis.h"
#include "io/text_file.h"
#include "session/session.h"

using namespace tambor;
using tambor::testing::CliRun;
using tambor::testing::runCli;

namespace {

struct DataFolder {
    std::filesystem::path path;
    DataFolder() {
        path = std::filesystem::temp_directory_path() /
               ("tambor-filter-cli-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~DataFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string arg() const { return " --data '" + path.string() + "'"; }
    std::string file(const char* name) const { return "'" + (path / name).string() + "'"; }
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::uint64_t maskOfLine(const std::string& line) {
    std::uint64_t mask = 0;
    std::istringstream in(line);
    for (std::string n; std::getline(in, n, ',');) mask |= std::uint64_t{1} << (std::stoi(n) - 1);
    return mask;
}

TEST(FilterCli, DrawAndBuildListOnlyPassingLines) {
    DataFolder folder;
    const std::string conditions = "sum=100-160,odd=2-4,low=2-4,consecutive=0-1";
    const CombinationFilter filter(GameMode::Loto6, parseFilterText(GameMode::Loto6, conditions), 0);
    const CliRun drawn = runCli("draw --game loto6 -n 40 --seed 8 --filter " + conditions + folder.arg());
    ASSERT_EQ(drawn.exitCode, 0);
    const auto drawnLines = linesOf(drawn.out);
    EXPECT_GE(drawnLines.size(), 35u);  // 40 passing, a repeat or two aside
    for (const std::string& line : drawnLines) EXPECT_TRUE(filter.passes(maskOfLine(line))) << line;
    // The note on stderr says how many were left out.
    const CliRun noted = runCli("draw --game loto6 -n 40 --seed 8 --filter " + conditions + folder.arg(), true);
    EXPECT_NE(noted.out.find("条件で除外: "), std::string::npos);

    const CliRun built = runCli("build --game loto6 --together 1,2,3,4,5,6,7,8,9,10,11,12 --filter odd=0-1");
    ASSERT_EQ(built.exitCode, 0);
    EXPECT_EQ(linesOf(built.out).size(), 37u);  // all six even numbers, or five and one odd
}

TEST(FilterCli, FilterWritesThePassingLinesInTheInputsLayout) {
    DataFolder folder;
    // A file of every combination of 1..9 (84 of them), in both layouts.
    Session session(folder.path, GameMode::Loto6);
    for (CombinationIndex i = 0; i < rulesFor(GameMode::Loto6).combinationCount; ++i) {
        const Combination c = UnrankCombination(GameMode::Loto6, i);
        if (c[5] <= 9) session.list().appendIndex(i);
    }
    ASSERT_EQ(session.list().size(), 84u);
    session.saveList((folder.path / "all.csv").string(), 1);
    session.saveList((folder.path / "all.txt").string(), 1);
    const FilterSettings settings = parseFilterText(GameMode::Loto6, "odd=3,spread=5-7");
    session.setFilterSettings(settings);
    session.narrowList();
    const std::size_t expected = session.list().size();
    ASSERT_GT(expected, 0u);
    ASSERT_LT(expected, 84u);
    for (const char* ext : {"csv", "txt"}) {
        const std::string in = folder.file((std::string("all.") + ext).c_str());
        const std::string out = folder.file((std::string("out.") + ext).c_str());
        const CliRun run = runCli("filter " + in + " " + out + " --filter odd=3,spread=5-7");
        ASSERT_EQ(run.exitCode, 0) << ext;
        // The same bytes the program saves for the narrowed list.
        session.saveList((folder.path / (std::string("want.") + ext)).string(), 1);
        EXPECT_EQ(readFileBytes(folder.path / (std::string("out.") + ext)),
                  readFileBytes(folder.path / (std::string("want.") + ext)))
            << ext;
    }
    // A file without a header needs --game.
    writeFileBytesAtomic(folder.path / "plain.txt", " 1, 2, 3, 4, 5\r\n 1, 3, 5, 7, 9\r\n");
    EXPECT_EQ(runCli("filter " + folder.file("plain.txt") + " " + folder.file("odd.txt") + " --filter odd=3").exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "odd.txt"));
    EXPECT_EQ(runCli("filter " + folder.file("plain.txt") + " " + folder.file("odd.txt") + " --game mini --filter odd=3")
                  .exitCode,
              0);
    EXPECT_NE(readFileBytes(folder.path / "odd.txt").find(" 1, 2, 3, 4, 5\r\n"), std::string::npos);
    EXPECT_EQ(readFileBytes(folder.path / "odd.txt").find(" 1, 3, 5, 7, 9"), std::string::npos);
    // The --data folder's own files are no output: refused, left as they were.
    writeFileBytesAtomic(folder.path / "Tambor.ini", "[x]\r\n");
    const CliRun own = runCli("filter " + folder.file("plain.txt") + " " + folder.file("Tambor.ini") +
                                  " --game mini --filter odd=3" + folder.arg(),
                              true);
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_NE(own.out.find("『タンボル』が使うファイルです"), std::string::npos) << own.out;
    EXPECT_EQ(readFileBytes(folder.path / "Tambor.ini"), "[x]\r\n");
    // Nothing passes: exit 1 and no file.
    const CliRun none = runCli("filter " + folder.file("all.csv") + " " + folder.file("none.csv") + " --filter sum=200-243");
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.path / "none.csv"));
}

TEST(FilterCli, FilterStatsCountsTheHistorysDraws) {
    DataFolder folder;
    const CliRun run = runCli("filter-stats --game loto6 --filter spread=20-40,sum=100-160,previous=0-1" + folder.arg());
    ASSERT_EQ(run.exitCode, 0);
    Session session(folder.path, GameMode::Loto6);
    session.loadHistory();
    const FilterPassRates rates =
        session.filterHistory().passRates(parseFilterText(GameMode::Loto6, "sum=100-160,previous=0-1,spread=20-40"));
    const std::string m = std::to_string(rates.draws);
    EXPECT_EQ(run.out, "sum\t" + std::to_string(rates.passing[0]) + "\t" + m + "\nprevious\t" +
                           std::to_string(rates.passing[6]) + "\t" + m + "\nspread\t" + std::to_string(rates.passing[7]) +
                           "\t" + m + "\nall\t" + std::to_string(rates.all) + "\t" + m + "\n");
    EXPECT_EQ(rates.draws, session.history().drawCount());
}

TEST(FilterCli, AnalyzePrintsTheTable) {
    DataFolder folder;
    const CliRun run = runCli("analyze --game loto6" + folder.arg());
    ASSERT_EQ(run.exitCode, 0);
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 44u);
    EXPECT_EQ(lines[0], "番号\t出現回数\t直近10回\t直近50回\t直近100回\t出現間隔\t最長間隔");
    Session session(folder.path, GameMode::Loto6);
    session.loadHistory();
    EXPECT_EQ(run.out, analysisTableText(session.numberAnalysis(), "\n"));
    EXPECT_EQ(lines[1].rfind("1\t" + std::to_string(session.history().hitCount(1)) + "\t", 0), 0u);
}

struct UsageRow {
    const char* name;
    const char* arguments;
    int exitCode;
};

class FilterCliUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(FilterCliUsage, ExitCode) {
    DataFolder folder;
    const CliRun run = runCli(std::string(GetParam().arguments) + folder.arg());
    EXPECT_EQ(run.exitCode, GetParam().exitCode);
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Filter, FilterCliUsage,
    ::testing::Values(UsageRow{"draw_unknown_name", "draw --filter even=1-2", 2},
                      UsageRow{"draw_reversed_range", "draw --filter sum=100-50", 2},
                      UsageRow{"draw_impossible_range", "draw --game loto6 --filter odd=7-9", 2},
                      UsageRow{"build_bad_range", "build --together 1,2,3,4,5,6 --filter odd=x", 2},
                      UsageRow{"build_with_rsystem", "build --rsystem --together 1,2,3,4,5,6 --filter odd=1-2", 2},
                      UsageRow{"filter_without_conditions", "filter in.csv out.csv", 2},
                      UsageRow{"filter_missing_input", "filter no-such-file.csv out.csv --filter odd=1", 1},
                      UsageRow{"filter_missing_output", "filter in.csv --filter odd=1", 2},
                      UsageRow{"stats_without_conditions", "filter-stats --game loto6", 2},
                      UsageRow{"stats_bad_name", "filter-stats --filter low=1,high=2", 2},
                      UsageRow{"analyze_extra_argument", "analyze extra", 2},
                      UsageRow{"analyze_bad_game", "analyze --game loto9", 2}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
