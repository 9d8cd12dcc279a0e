#include "history_command.h"

#include <algorithm>

#include "cli_command.h"

namespace tambor::cli {
namespace {

std::vector<HistorySubcommand>& subcommands() {
    static std::vector<HistorySubcommand> list;
    return list;
}

int runHistory(const std::vector<std::string>& args, std::ostream& out) {
    const std::vector<HistorySubcommand>& list = subcommands();
    std::string names;
    for (const HistorySubcommand& sub : list) names += (names.empty() ? "" : ", ") + sub.name;
    if (args.empty()) throw UsageError{"サブコマンド（" + names + "）を指定してください。"};
    const auto it = std::find_if(list.begin(), list.end(), [&](const auto& sub) { return sub.name == args[0]; });
    if (it == list.end()) throw UsageError{"不明なサブコマンドです: " + args[0] + "（" + names + "）"};
    return it->run(std::vector<std::string>(args.begin() + 1, args.end()), out);
}

// The history command in the command registry, made by the first
// subcommand that registers (the order of registration is not fixed).
Command& historyCommand() {
    std::vector<Command>& commands = commandRegistry();
    const auto it = std::find_if(commands.begin(), commands.end(), [](const Command& c) { return c.name == "history"; });
    if (it != commands.end()) return *it;
    commands.push_back(Command{"history", "当選番号の履歴（lotodata.txt）を表示・追加します",
                               "使い方: tambor-cli history SUBCOMMAND [OPTIONS]\n"
                               "当選番号ファイル lotodata.txt を扱います。どのサブコマンドも\n"
                               "  --data DIR  lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
                               "を受け付けます。\n",
                               runHistory});
    return commands.back();
}

}  // namespace

HistorySubcommandRegistrar::HistorySubcommandRegistrar(HistorySubcommand subcommand) {
    historyCommand().usage += "\n" + subcommand.usage;
    subcommands().push_back(std::move(subcommand));
}

}  // namespace tambor::cli
