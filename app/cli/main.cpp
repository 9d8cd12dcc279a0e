// tambor-cli: the program's core for scripts. Each command is a thin layer
// over the same calls the windows make.

#include <algorithm>
#include <exception>
#include <iostream>

#include "cli_command.h"
#include "long_work.h"

namespace tambor::cli {

std::vector<Command>& commandRegistry() {
    static std::vector<Command> commands;
    return commands;
}

}  // namespace tambor::cli

namespace {

void printOverview(std::ostream& out) {
    auto commands = tambor::cli::commandRegistry();
    std::sort(commands.begin(), commands.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    out << "使い方: tambor-cli COMMAND [OPTIONS]\n"
           "タンボルの機能をコマンドラインから使います。\n\nコマンド:\n";
    for (const auto& c : commands) out << "  " << c.name << "\t" << c.summary << "\n";
    out << "\n'tambor-cli COMMAND --help' で各コマンドの説明を表示します。\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printOverview(std::cerr);
        return 2;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printOverview(std::cout);
        return 0;
    }
    const auto& commands = tambor::cli::commandRegistry();
    const auto it = std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.name == args[0]; });
    if (it == commands.end()) {
        std::cerr << "tambor-cli: 不明なコマンドです: " << args[0] << "\n";
        printOverview(std::cerr);
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end() ||
        std::find(rest.begin(), rest.end(), "-h") != rest.end()) {
        std::cout << it->usage;
        return 0;
    }
    try {
        return it->run(rest, std::cout);
    } catch (const tambor::cli::Interrupted&) {
        std::cerr << "tambor-cli " << it->name << ": 中断しました。\n";
        return 130;
    } catch (const tambor::cli::UsageError& e) {
        std::cerr << "tambor-cli " << it->name << ": " << e.message << "\n";
        std::cerr << it->usage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "tambor-cli " << it->name << ": " << e.what() << "\n";
        return 1;
    }
}
