// Ctrl+C at each named moment of a command's save (and just after its input
// was read), sent while the command is held at that moment (no guessed
// delays): before the new file is renamed
// over the old one the command stops with 130 and the old file stays; after
// it, the save has happened and the command ends with 0.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "history_test_support.h"
#include "io/combination_file.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
namespace fs = std::filesystem;

namespace {

struct Ended {
    int exitCode = -1;
    int signal = 0;
    std::string err;
};

// Runs tambor-cli held at `point`; once it reports being there, calls
// whileHeld, sends `signal` (0: none) and lets it go on (SIGKILL: reaps it).
Ended runHeldAt(const fs::path& folder, const std::vector<std::string>& args, const std::string& point, int signal,
                const std::function<void()>& whileHeld = {}) {
    int report[2], resume[2];
    if (::pipe(report) != 0 || ::pipe(resume) != 0) return {};
    const fs::path errPath = folder / "stderr.txt";
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        const int out = ::open((folder / "stdout.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, STDOUT_FILENO);
        ::close(report[0]);
        ::close(resume[1]);
        ::setenv("TAMBOR_PAUSE_AT", point.c_str(), 1);
        ::setenv("TAMBOR_PAUSE_REPORT_FD", std::to_string(report[1]).c_str(), 1);
        ::setenv("TAMBOR_PAUSE_RESUME_FD", std::to_string(resume[0]).c_str(), 1);
        std::vector<std::string> argv{TAMBOR_CLI_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    ::close(report[1]);
    ::close(resume[0]);
    // Waits for the command to reach the point (or to end without reaching it).
    std::string reached;
    char c = 0;
    while (::read(report[0], &c, 1) == 1 && c != '\n') reached += c;
    EXPECT_EQ(reached, point) << "the command never reached " << point;
    if (reached == point && whileHeld) whileHeld();
    if (reached == point && signal != 0) ::kill(pid, signal);
    const char go = 1;
    if (signal != SIGKILL) (void)!::write(resume[1], &go, 1);
    ::close(resume[1]);
    ::close(report[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    Ended ended;
    if (WIFEXITED(status)) ended.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) ended.signal = WTERMSIG(status);
    ended.err = slurp(errPath);
    fs::remove(errPath);
    fs::remove(folder / "stdout.txt");
    return ended;
}

std::vector<std::string> entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct StopRow {
    const char* name;
    std::vector<std::string> args;  // IN and OUT are replaced by the files
};

class CliStopMoment : public ::testing::TestWithParam<StopRow> {};

std::vector<std::string> withFiles(std::vector<std::string> args, const fs::path& in, const fs::path& out) {
    for (std::string& a : args) {
        if (a == "IN") a = in.string();
        if (a == "OUT") a = out.string();
    }
    return args;
}

// A ロト６ list of 20,000 lines as dir/in.csv: long enough that a save has a
// middle to be held in.
fs::path writeInput(const fs::path& dir) {
    CombinationList list(GameMode::Loto6);
    for (std::int64_t i = 0; i < 20000; ++i) list.appendIndex(static_cast<CombinationIndex>((i * 7919 + 11) % 6096454));
    const fs::path input = dir / "in.csv";
    saveCombinationFile(input.string(), list, 1);
    return input;
}

}  // namespace

TEST_P(CliStopMoment, BeforeTheRenameStopsAfterItIsDone) {
    TempFolder dir;
    const fs::path input = writeInput(dir.path);
    const fs::path output = dir.path / "out.txt";
    const std::vector<std::string> args = withFiles(GetParam().args, input, output);

    const Ended clean = runHeldAt(dir.path, args, "before-write", 0);
    ASSERT_EQ(clean.exitCode, 0) << clean.err;
    const std::string complete = slurp(output);

    for (const char* point : {"after-read", "before-write", "mid-write", "after-fsync"}) {
        for (const int signal : {SIGINT, SIGTERM}) {
            std::ofstream(output, std::ios::binary | std::ios::trunc) << "old";
            const Ended stopped = runHeldAt(dir.path, args, point, signal);
            EXPECT_EQ(stopped.exitCode, 130) << point << " " << signal << ": " << stopped.err;
            EXPECT_EQ(slurp(output), "old") << point;
            EXPECT_EQ(entries(dir.path), (std::vector<std::string>{"in.csv", "out.txt"})) << point;
        }
    }
    for (const int signal : {SIGINT, SIGTERM}) {
        std::ofstream(output, std::ios::binary | std::ios::trunc) << "old";
        const Ended done = runHeldAt(dir.path, args, "after-rename", signal);
        EXPECT_EQ(done.exitCode, 0) << done.err;
        EXPECT_NE(done.err.find("保存はすでに完了"), std::string::npos) << done.err;
        EXPECT_EQ(slurp(output), complete);
        EXPECT_EQ(entries(dir.path), (std::vector<std::string>{"in.csv", "out.txt"}));
    }
}

// kill -9 at each moment of a save: the file is the old or the complete new
// one and nothing else is left in the folder, not even for the next save to
// remove; while the save is held its temporary cannot be seen at all.
TEST_P(CliStopMoment, KilledAtEachMomentLeavesNothingBehind) {
    TempFolder dir;
    const fs::path input = writeInput(dir.path);
    const fs::path output = dir.path / "out.txt";
    const std::vector<std::string> args = withFiles(GetParam().args, input, output);
    ASSERT_EQ(runHeldAt(dir.path, args, "before-write", 0).exitCode, 0);
    const std::string complete = slurp(output);
    const std::vector<std::string> onlyTheFiles{"in.csv", "out.txt", "stderr.txt", "stdout.txt"};

    for (const char* point : {"before-write", "mid-write", "after-fsync", "after-rename"}) {
        std::ofstream(output, std::ios::binary | std::ios::trunc) << "old";
        const Ended killed = runHeldAt(dir.path, args, point, SIGKILL,
                                       [&] { EXPECT_EQ(entries(dir.path), onlyTheFiles) << point; });
        EXPECT_EQ(killed.signal, SIGKILL) << point;
        EXPECT_EQ(slurp(output), std::string(point) == "after-rename" ? complete : "old") << point;
        EXPECT_EQ(entries(dir.path), (std::vector<std::string>{"in.csv", "out.txt"})) << point;
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, CliStopMoment,
                         ::testing::Values(StopRow{"convert", {"convert", "IN", "OUT", "--sort"}},
                                           StopRow{"filter", {"filter", "IN", "OUT", "--filter", "sum=60-200"}}),
                         [](const auto& row) { return std::string(row.param.name); });
