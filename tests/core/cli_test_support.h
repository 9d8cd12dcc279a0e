#pragma once
// Runs the built command line program for the tests of its commands.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace tambor::testing {

struct CliRun {
    int exitCode = -1;
    std::string out;
};

// Runs tambor-cli with the arguments (shell words) and collects stdout (and
// stderr after it, in the order written, when withErrors).
inline CliRun runCli(const std::string& arguments, bool withErrors = false) {
    const std::string command =
        std::string("'") + TAMBOR_CLI_PATH + "' " + arguments + (withErrors ? " 2>&1" : " 2>/dev/null");
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, pipe)) > 0) run.out.append(buf, got);
    const int status = ::pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace tambor::testing
