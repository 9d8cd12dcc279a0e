#pragma once
// "tambor-cli history SUBCOMMAND": the subcommands register themselves here,
// one file each, and the history command runs the one named first. Each
// subcommand's help text is added to the command's --help text.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tambor::cli {

struct HistorySubcommand {
    std::string name;
    std::string usage;  // its part of "tambor-cli history --help"
    std::function<int(const std::vector<std::string>& args, std::ostream& out)> run;
};

struct HistorySubcommandRegistrar {
    explicit HistorySubcommandRegistrar(HistorySubcommand subcommand);
};

}  // namespace tambor::cli
