#pragma once
// The command line program's commands register themselves here, one file each.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tambor::cli {

// Thrown for bad arguments: the message goes to stderr and the exit code is 2.
struct UsageError {
    std::string message;
};

struct Command {
    std::string name;
    std::string summary;  // one line for the overview
    std::string usage;    // the full --help text
    std::function<int(const std::vector<std::string>& args, std::ostream& out)> run;
};

std::vector<Command>& commandRegistry();

struct CommandRegistrar {
    explicit CommandRegistrar(Command command) { commandRegistry().push_back(std::move(command)); }
};

}  // namespace tambor::cli
