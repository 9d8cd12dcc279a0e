// tambor-cli history list: the draws of a game as the verified draw lists
// (data/history-*.tsv) write them, one a line, oldest first.

#include <climits>
#include <iostream>
#include <ostream>

#include "cli_args.h"
#include "history_command.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

int roundArgument(const ParsedArgs& parsed, const std::string& option, int fallback) {
    const std::optional<std::string> text = parsed.value(option);
    if (!text) return fallback;
    const std::optional<int> value = parseWholeNumber(*text, kDigitsOnly);
    if (!value || *value < 1) throw UsageError{option + " には 1 以上の回を指定してください: " + *text};
    return *value;
}

int runList(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--from", "--to", "--data"});
    if (!parsed.has("--game")) throw UsageError{"--game を指定してください。"};
    const GameMode mode = parsed.game();
    const int from = roundArgument(parsed, "--from", 1);
    const int to = roundArgument(parsed, "--to", INT_MAX);
    if (from > to) throw UsageError{"--from には --to 以下の回を指定してください。"};

    Session session(parsed.dataFolder(), mode);
    const Changes loaded = session.switchGame(mode);
    for (const std::string& problem : loaded.problems()) std::cerr << problem << "\n";
    if (!session.historyError().empty()) return 1;

    const std::vector<std::string_view> lines = session.history().sectionLines();
    int unreadable = 0;
    for (int round = from; round <= to && round <= static_cast<int>(lines.size()); ++round) {
        const std::optional<HistoryDraw> draw =
            readHistoryDraw(mode, lines[static_cast<std::size_t>(round - 1)], round);
        if (!draw || !draw->date) {
            std::cerr << gameName(mode) << " " << roundText(round) << "の行を読み取れません: "
                      << lines[static_cast<std::size_t>(round - 1)] << "\n";
            ++unreadable;
            continue;
        }
        out << round << '\t' << isoDateText(*draw->date) << '\t' << numbersText(draw->mainNumbers) << '\t'
            << numbersText(draw->bonusNumbers) << '\n';
    }
    return unreadable == 0 ? 0 : 1;
}

const HistorySubcommandRegistrar registrar{HistorySubcommand{
    "list",
    "tambor-cli history list --game G [--from R] [--to R] [--data DIR]\n"
    "  lotodata.txt の当選番号を古い回から 1 行に 1 回ずつ表示します（回、日付 YYYY-MM-DD、\n"
    "  本数字、ボーナス数字をタブで区切り、数字は 2 桁でコンマ区切り）。\n"
    "  --game G          mini（ミニロト）または loto6（ロト６）\n"
    "  --from R, --to R  表示する最初と最後の回（既定: すべて）\n"
    "  終了コード: 0 表示した、1 読み取れない行があった（理由を表示）、2 引数の誤り\n",
    runList}};

}  // namespace
}  // namespace tambor::cli
