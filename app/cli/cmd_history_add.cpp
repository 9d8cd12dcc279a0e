// tambor-cli history add: the next draw of a game, typed on the command
// line, added to lotodata.txt as the window's 当選番号の追加 adds it.

#include <iostream>
#include <ostream>

#include "cli_args.h"
#include "history_command.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

// "4,8,10" -> {4, 8, 10}. Only the form is checked here: whether the
// numbers can be a draw is the session's refusal (exit code 1).
std::vector<int> numbersArgument(const std::string& option, const std::string& text) {
    std::vector<int> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const std::optional<int> value = parseWholeNumber(item, kDigitsOnly);
        if (!value) throw UsageError{option + " には数字をコンマで区切って指定してください: " + text};
        numbers.push_back(*value);
        if (comma == std::string::npos) return numbers;
        start = comma + 1;
    }
}

int runAdd(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--date", "--numbers", "--bonus", "--data"});
    for (const char* required : {"--game", "--date", "--numbers", "--bonus"})
        if (!parsed.has(required)) throw UsageError{std::string(required) + " を指定してください。"};
    const GameMode mode = parsed.game();
    const std::optional<DrawDate> date = parseIsoDate(*parsed.value("--date"));
    if (!date) throw UsageError{"--date には YYYY-MM-DD の形の日付を指定してください: " + *parsed.value("--date")};
    const DrawEntry entry{*date, numbersArgument("--numbers", *parsed.value("--numbers")),
                          numbersArgument("--bonus", *parsed.value("--bonus"))};

    Session session(parsed.dataFolder(), mode);
    const Changes loaded = session.switchGame(mode);
    for (const std::string& problem : loaded.problems()) std::cerr << problem << "\n";
    const Changes added = session.addDraw(entry);
    if (!added.refusal().empty()) {
        std::cerr << added.refusal() << "\n";
        return 1;
    }
    for (const std::string& problem : added.problems()) std::cerr << problem << "\n";
    const std::optional<HistoryDraw> newest = session.newestDraw();
    out << gameName(mode) << " " << (newest ? roundAndDateText(*newest) : std::string()) << "を追加しました。\n";
    return 0;
}

const HistorySubcommandRegistrar registrar{HistorySubcommand{
    "add",
    "tambor-cli history add --game G --date YYYY-MM-DD --numbers N,N,... --bonus B[,B] [--data DIR]\n"
    "  次の回（いまの最新の回 + 1）の当選番号を lotodata.txt に追加します（前のファイルは\n"
    "  lotodata.bak に残します）。\n"
    "  --game G          mini（ミニロト）、loto6（ロト６）または loto7（ロト７）\n"
    "  --date DATE       抽せん日。最新の回の抽せん日より後の日付\n"
    "  --numbers LIST    本数字（ミニロト 5 個、ロト６ 6 個、ロト７ 7 個）をコンマ区切りで\n"
    "  --bonus B[,B]     ボーナス数字（ロト７は 2 個をコンマ区切りで）\n"
    "  終了コード: 0 追加した、1 追加できなかった（理由を表示、ファイルは元のまま）、2 引数の誤り\n",
    runAdd}};

}  // namespace
}  // namespace tambor::cli
