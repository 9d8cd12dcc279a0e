// The command line on long work and on a history it cannot use: progress
// on a terminal only, Ctrl+C stopping without a torn output file, and
// plain messages instead of silent or contradictory ends.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "history_test_support.h"
#include "history/history_store.h"
#include "io/combination_file.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct Finished {
    int exitCode = -1;  // -1 when ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

// Starts tambor-cli with stdout and stderr sent to the given descriptors.
pid_t startCli(const std::vector<std::string>& args, int out, int err) {
    std::vector<std::string> argv{TAMBOR_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    return pid;
}

Finished wait(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    Finished f;
    if (WIFEXITED(status)) f.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) f.signal = WTERMSIG(status);
    return f;
}

// Runs to the end with stdout and stderr in files of folder.
Finished runCli(const fs::path& folder, const std::vector<std::string>& args) {
    const fs::path outPath = folder / "stdout.txt", errPath = folder / "stderr.txt";
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Finished f = wait(startCli(args, out, err));
    ::close(out);
    ::close(err);
    f.out = slurp(outPath);
    f.err = slurp(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    return f;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// ---------------------------------------------------------------- a history the command cannot use

TEST(CliHistory, DrawWithAnUnusableHistoryStopsAndSaysOnlyThat) {
    TempFolder dir;
    std::ofstream(dir.path / "lotodata.txt", std::ios::binary) << "\x81\x20 not cp932\r\n";
    const Finished f = runCli(dir.path, {"draw", "-n", "3", "--data", dir.path.string()});
    EXPECT_EQ(f.exitCode, 1);
    EXPECT_EQ(f.out, "");
    EXPECT_TRUE(contains(f.err, "lotodata.txt")) << f.err;
    EXPECT_TRUE(contains(f.err, "抽選を中止します")) << f.err;
    EXPECT_FALSE(contains(f.err, HistoryError::kFallbackNote)) << f.err;
}

struct NoDrawsRow {
    const char* name;
    std::vector<std::string> args;  // --data is added
    int exitCode;
    std::size_t outLines;
};

class CliNoDraws : public ::testing::TestWithParam<NoDrawsRow> {};

// A history without the game's draws: each command says which game and
// which file; the statistics table and the check stop, the draw goes on
// unweighted. (Its one ミニロト draw differs from the built-in copy, so the
// start leaves the file as it is.)
TEST_P(CliNoDraws, SaysWhichGameAndFile) {
    const NoDrawsRow& row = GetParam();
    TempFolder dir;
    std::ofstream(dir.path / "lotodata.txt", std::ios::binary)
        << "[\x83\x7E\x83\x6A\x83\x8D\x83\x67\x93\x96\x91\x49\x94\xD4\x8D\x86]\r\n"
           "\x91\xE6  1\x89\xF1(H11. 4.13)=01,03,17,20,25,27\r\n\r\n";
    std::vector<std::string> args = row.args;
    args.insert(args.end(), {"--data", dir.path.string()});
    const Finished f = runCli(dir.path, args);
    EXPECT_EQ(f.exitCode, row.exitCode) << f.err;
    EXPECT_EQ(static_cast<std::size_t>(std::count(f.out.begin(), f.out.end(), '\n')), row.outLines) << f.out;
    EXPECT_TRUE(contains(f.err, (dir.path / "lotodata.txt").string())) << f.err;
    EXPECT_TRUE(contains(f.err, "ロト６の当選番号がありません")) << f.err;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, CliNoDraws,
    ::testing::Values(NoDrawsRow{"stats", {"stats", "--game", "loto6"}, 1, 0},
                      NoDrawsRow{"draw", {"draw", "--game", "loto6", "-n", "4", "--seed", "1"}, 0, 4},
                      NoDrawsRow{"build_past_remove",
                                 {"build", "--game", "loto6", "--together", "1,2,3,4,5,6,7", "--past-remove"}, 0, 7}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CliHistory, CheckWithoutDrawsNamesTheFile) {
    TempFolder dir;
    // Only a ロト６ section, whose first draw differs from the built-in copy
    // (another bonus), so the start leaves the file as it is.
    std::ofstream(dir.path / "lotodata.txt", std::ios::binary)
        << "[\x83\x8D\x83\x67\x82\x55\x93\x96\x91\x49\x94\xD4\x8D\x86]\r\n"
           "\x91\xE6  1\x89\xF1(H12.10. 5)=02,08,10,13,27,30,38\r\n\r\n";
    std::ofstream(dir.path / "list.csv", std::ios::binary) << " 1, 2, 3, 4, 5\r\n";
    const Finished f =
        runCli(dir.path, {"check", (dir.path / "list.csv").string(), "--game", "mini", "--data", dir.path.string()});
    EXPECT_EQ(f.exitCode, 1);
    EXPECT_TRUE(contains(f.err, (dir.path / "lotodata.txt").string())) << f.err;
    EXPECT_TRUE(contains(f.err, "ミニロト")) << f.err;
}

// ---------------------------------------------------------------- progress and Ctrl+C

TEST(CliLongWork, ProgressLineOnlyWhenStderrIsATerminal) {
    TempFolder dir;
    const std::vector<std::string> args{"draw", "-n", "200000", "--seed", "3", "--data", dir.path.string()};

    const Finished piped = runCli(dir.path, args);
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_EQ(piped.err, "");

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const int terminal = ::open(::ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_GE(terminal, 0);
    const fs::path outPath = dir.path / "out.txt";
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const pid_t pid = startCli(args, out, terminal);
    ::close(terminal);
    ::close(out);
    std::string shown;
    char buf[4096];
    for (ssize_t n; (n = ::read(master, buf, sizeof buf)) > 0;) shown.append(buf, static_cast<std::size_t>(n));
    ::close(master);
    const Finished f = wait(pid);
    EXPECT_EQ(f.exitCode, 0);
    EXPECT_TRUE(contains(shown, "抽選中 ")) << shown;
    EXPECT_TRUE(contains(shown, "%")) << shown;
    EXPECT_TRUE(shown.ends_with("\r\x1b[K")) << "the progress line is cleared at the end";
    EXPECT_EQ(slurp(outPath), piped.out);  // stdout is the same either way
}

// A FIFO (or anything else that is not a regular file) given as an input or
// as the history file is refused at once instead of waiting for a writer
// that never comes: every file command ends with 1 and says why, and the
// output file keeps what it held.
TEST(CliLongWork, InputThatIsNotARegularFileIsRefusedWithoutWaiting) {
    TempFolder dir;
    const fs::path fifo = dir.path / "in.fifo";
    const fs::path output = dir.path / "out.csv";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::ofstream(output, std::ios::binary) << "old";
    const std::string in = fifo.string(), out = output.string();
    const std::vector<std::vector<std::string>> commands{
        {"convert", in, out, "--game", "mini"},
        {"check", in, "--game", "mini", "--main", "1,2,3,4,5", "--bonus", "6"},
        {"filter", in, out, "--game", "mini", "--filter", "sum=15-155"},
        {"backtest", in, "--game", "mini", "--data", dir.path.string()},
        {"verify", in, "--together", "1,2,3,4,5,6,7", "--game", "mini"},
    };
    for (const auto& args : commands) {
        const Finished f = runCli(dir.path, args);
        EXPECT_EQ(f.exitCode, 1) << args[0] << ": " << f.err;
        EXPECT_TRUE(contains(f.err, "通常のファイルではありません")) << args[0] << ": " << f.err;
        EXPECT_TRUE(contains(f.err, in)) << args[0] << ": " << f.err;
        EXPECT_EQ(slurp(output), "old") << args[0];
    }
    // The history file as a FIFO: the commands that read it say so too.
    const fs::path data = dir.path / "data";
    fs::create_directory(data);
    ASSERT_EQ(::mkfifo((data / "lotodata.txt").c_str(), 0644), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"stats", "--game", "mini", "--data", data.string()},
          std::vector<std::string>{"draw", "-n", "3", "--game", "mini", "--data", data.string(), "--seed", "1"}}) {
        const Finished f = runCli(dir.path, args);
        EXPECT_TRUE(contains(f.err, "通常のファイルではありません")) << args[0] << ": " << f.err;
    }
    EXPECT_EQ(fs::symlink_status(data / "lotodata.txt").type(), fs::file_type::fifo);
}

// Ctrl+C at random moments of a long conversion: the output is the old
// file or the complete new one, and no temporary is left.
TEST(CliLongWork, CtrlCAtRandomMomentsNeverTearsTheOutput) {
    TempFolder dir;
    CombinationList list(GameMode::Loto6);
    for (std::int64_t i = 0; i < 300000; ++i) list.appendIndex(static_cast<CombinationIndex>((i * 7919 + 11) % 6096454));
    const fs::path input = dir.path / "in.csv";
    const fs::path output = dir.path / "out.txt";
    saveCombinationFile(input.string(), list, 1);
    // The finished output, made once without interruption.
    const Finished clean = runCli(dir.path, {"convert", input.string(), output.string(), "--sort"});
    ASSERT_EQ(clean.exitCode, 0) << clean.err;
    const std::string complete = slurp(output);
    std::mt19937 random(std::random_device{}());
    int stopped = 0;
    for (int round = 0; round < 5; ++round) {
        std::ofstream(output, std::ios::binary | std::ios::trunc) << "old";
        const int sink = ::open((dir.path / "log.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const pid_t pid = startCli({"convert", input.string(), output.string(), "--sort"}, sink, sink);
        ::close(sink);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::uniform_int_distribution<int>(0, 400)(random)));
        ::kill(pid, SIGINT);
        const Finished f = wait(pid);
        const std::string now = slurp(output);
        if (f.exitCode == 0) {
            EXPECT_EQ(now, complete) << "round " << round;
        } else {
            // Stopped by the command (130), or by the signal itself before the
            // command had taken over Ctrl+C.
            EXPECT_TRUE(f.exitCode == 130 || f.signal == SIGINT) << f.exitCode << " " << f.signal;
            EXPECT_EQ(now, "old") << "round " << round;
            ++stopped;
        }
        fs::remove(dir.path / "log.txt");
        EXPECT_EQ(entries(dir.path), (std::vector<std::string>{"in.csv", "out.txt"})) << "round " << round;
    }
    RecordProperty("stopped_rounds", stopped);
}
