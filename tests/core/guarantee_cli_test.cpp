// The fewest-tickets order of the build command and the verify command.
#include <gtest/gtest.h>

#include "cli_test_support.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using tambor::testing::CliRun;
using tambor::testing::runCli;

namespace {

struct Folder {
    std::filesystem::path path;
    Folder() {
        path =
            std::filesystem::temp_directory_path() / ("tambor-verify-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    // Writes lines as a text file (ASCII, so no conversion is needed).
    std::string write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path / name;
        std::ofstream(file, std::ios::binary) << text;
        return "'" + file.string() + "'";
    }
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(GuaranteeCli, FewestBuildVerifiesAndOneTicketLessDoesNot) {
    const std::string candidates = "2,4,6,8,10,12,14,16,18,20";
    const CliRun built = runCli("build --game loto6 --rsystem --order fewest --seed 7 --together " + candidates);
    ASSERT_EQ(built.exitCode, 0);
    const std::vector<std::string> lines = linesOf(built.out);
    EXPECT_EQ(lines.size(), 15u);
    EXPECT_EQ(runCli("build --game loto6 --rsystem --order fewest --seed 7 --together " + candidates).out, built.out);
    EXPECT_LT(lines.size(),
              linesOf(runCli("build --game loto6 --rsystem --order asc --together " + candidates).out).size());

    Folder folder;
    const std::string all = folder.write("all.txt", built.out);
    const CliRun ok = runCli("verify " + all + " --game loto6 --together " + candidates);
    EXPECT_EQ(ok.exitCode, 0);
    EXPECT_EQ(ok.out, "候補\t10\n組数\t15\n未保証\t0\n下限\t9\n");

    std::string fewer;
    for (std::size_t i = 1; i < lines.size(); ++i) fewer += lines[i] + "\n";
    const CliRun missing =
        runCli("verify " + folder.write("fewer.txt", fewer) + " --game loto6 --together " + candidates);
    EXPECT_EQ(missing.exitCode, 1);
    const std::vector<std::string> report = linesOf(missing.out);
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[1], "組数\t14");
    EXPECT_NE(report[2], "未保証\t0");
}

TEST(GuaranteeCli, VerifyWithAxisNumbers) {
    Folder folder;
    // Every combination of 1 and five of 2..7 is within one number of this ticket.
    const std::string file = folder.write("one.txt", "1,2,3,4,5,6\n");
    EXPECT_EQ(runCli("verify " + file + " --game loto6 --axis 1 --together 2,3,4,5,6,7").out,
              "候補\t7\n組数\t1\n未保証\t0\n下限\t1\n");
    EXPECT_EQ(runCli("verify " + file + " --game loto6 --axis 1 --together 2,3,4,5,6,7,8").exitCode, 1);
}

struct UsageRow {
    const char* name;
    const char* args;
};

class GuaranteeCliUsage : public ::testing::TestWithParam<UsageRow> {};

TEST_P(GuaranteeCliUsage, ExitsWithTwo) {
    Folder folder;
    const std::string file = folder.write("one.txt", "1,2,3,4,5\n");
    std::string args = GetParam().args;
    if (const auto at = args.find("FILE"); at != std::string::npos) args.replace(at, 4, file);
    EXPECT_EQ(runCli(args).exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Guarantee, GuaranteeCliUsage,
                         ::testing::Values(UsageRow{"no_file", "verify --together 1,2,3,4,5"},
                                           UsageRow{"no_together", "verify FILE"},
                                           UsageRow{"too_few", "verify FILE --together 1,2,3,4"},
                                           UsageRow{"axis_and_together", "verify FILE --axis 1 --together 1,2,3,4,5"},
                                           UsageRow{"out_of_range", "verify FILE --together 1,2,3,4,32"},
                                           UsageRow{"bad_order", "build --rsystem --order least --together 1,2,3,4,5"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(GuaranteeCli, MissingFileExitsWithOne) {
    EXPECT_EQ(runCli("verify /nonexistent-tambor-dir/none.txt --together 1,2,3,4,5").exitCode, 1);
}
