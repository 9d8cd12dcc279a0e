// The draw and build commands: the same lines as the core calls the window
// makes, and the board's refusals as usage errors.
#include <gtest/gtest.h>

#include "cli_test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "core/number_board.h"
#include "generate/combination_builder.h"
#include "generate/random_draw.h"
#include "history/history_store.h"

using namespace tambor;

namespace {

using tambor::testing::CliRun;
using tambor::testing::runCli;

// A data folder without lotodata.txt: the command writes the built-in copy.
struct DataFolder {
    std::filesystem::path path;
    DataFolder() {
        path = std::filesystem::temp_directory_path() /
               ("tambor-generate-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~DataFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string arg() const { return " --data '" + path.string() + "'"; }
};

}  // namespace

TEST(GenerateCli, DrawGivesTheCoreLinesForTheSeed) {
    DataFolder folder;
    const CliRun first = runCli("draw --game loto6 -n 30 --mode 6 --fix 7 --forbid 1,2,3 --seed 987" + folder.arg());
    ASSERT_EQ(first.exitCode, 0);
    EXPECT_EQ(runCli("draw --game loto6 -n 30 --mode 6 --fix 7 --forbid 1,2,3 --seed 987" + folder.arg()).out, first.out);

    HistoryStore history;
    history.loadBuiltin(GameMode::Loto6);
    DrawHistory h;
    h.game = GameMode::Loto6;
    h.drawCount = history.drawCount();
    h.hitCount = history.hitCounts();
    h.pairCount = history.pairCounts();
    h.deviationValue = history.deviationValues();
    DrawRequest request;
    request.count = 30;
    request.mode = PriorityMode::AvoidPairs;
    request.fixedNumbers = {7};
    request.forbidden[0] = request.forbidden[1] = request.forbidden[2] = true;
    RandomGenerator random;
    random.SeedRandom(987);
    DrawWeights weights = initialDrawWeights(h);
    DrawStatistics statistics;
    CombinationList list(GameMode::Loto6);
    RunRandomDraw(h, request, weights, statistics, random, list, nullptr);
    std::string expected;
    for (std::size_t i = 0; i < list.size(); ++i) expected += list.lineAt(i) + "\n";
    EXPECT_EQ(first.out, expected);
}

TEST(GenerateCli, PastRemoveKeepsWinnersOut) {
    DataFolder folder;
    // The first ミニロト draw 01,03,17,20,25 with bonus 26, fixed.
    EXPECT_EQ(runCli("draw -n 3 --fix 1,3,17,20,25 --seed 1" + folder.arg()).out, "  1, 3,17,20,25\n");
    const CliRun removed = runCli("draw -n 3 --fix 1,3,17,20,25 --seed 1 --past-remove" + folder.arg());
    EXPECT_EQ(removed.exitCode, 0);
    EXPECT_EQ(removed.out, "");
    const CliRun built = runCli("build --together 1,3,17,20,25,26 --past-remove" + folder.arg());
    EXPECT_EQ(built.out, "");
}

TEST(GenerateCli, BuildOrdersAndCounts) {
    EXPECT_EQ(runCli("build --together 1,2,3,4,5,6").out,
              "  1, 2, 3, 4, 5\n  1, 2, 3, 4, 6\n  1, 2, 3, 5, 6\n  1, 2, 4, 5, 6\n  1, 3, 4, 5, 6\n  2, 3, 4, 5, 6\n");
    EXPECT_EQ(runCli("build --rsystem --order asc --together 1,2,3,4,5,6").out, "  1, 2, 3, 4, 5\n");
    const CliRun r = runCli("build --game loto6 --rsystem --order asc --together 1,2,3,4,5,6,7,8,9,10");
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 18);
    EXPECT_EQ(runCli("build --rsystem --together 1,2,3,4,5,6,7,8,9,10,11,12 --seed 4").out,
              runCli("build --rsystem --together 1,2,3,4,5,6,7,8,9,10,11,12 --order random --seed 4").out);
}

struct UsageRow {
    const char* name;
    const char* arguments;
};

class GenerateCliUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(GenerateCliUsage, ExitsWithTwo) {
    DataFolder folder;
    const CliRun run = runCli(std::string(GetParam().arguments) + folder.arg());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Generate, GenerateCliUsage,
    ::testing::Values(UsageRow{"draw_six_fixed_mini", "draw --fix 1,2,3,4,5,6"},
                      UsageRow{"draw_fixed_out_of_range", "draw --fix 32"},
                      UsageRow{"draw_fixed_and_forbidden", "draw --fix 4 --forbid 4"},
                      UsageRow{"draw_27_forbidden_mini", "draw --forbid 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27"},
                      UsageRow{"draw_mode_7", "draw --mode 7"},
                      UsageRow{"draw_zero_count", "draw -n 0"},
                      UsageRow{"draw_bad_seed", "draw --seed x"},
                      UsageRow{"build_no_together", "build --axis 1"},
                      UsageRow{"build_too_few", "build --together 1,2,3,4"},
                      UsageRow{"build_axis_with_rsystem", "build --rsystem --axis 1 --together 2,3,4,5,6"},
                      UsageRow{"build_27_together_loto6",
                               "build --game loto6 --together 1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27"},
                      UsageRow{"build_seven_axis_loto6", "build --game loto6 --axis 1,2,3,4,5,6,7 --together 8"},
                      UsageRow{"build_axis_and_together", "build --axis 3 --together 3,4,5,6,7"},
                      UsageRow{"build_order_without_rsystem", "build --order asc --together 1,2,3,4,5"},
                      UsageRow{"build_bad_order", "build --rsystem --order up --together 1,2,3,4,5"}),
    [](const auto& row) { return std::string(row.param.name); });
