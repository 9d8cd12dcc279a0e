// tambor-cli history import: the bank's per-draw result files taken into
// lotodata.txt, as the window's 当選番号の取り込み takes them.

#include <cstdint>
#include <iostream>
#include <ostream>

#include "cli_args.h"
#include "history_command.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

int runImport(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--data"}, {}, SIZE_MAX);
    if (parsed.positional.empty()) throw UsageError{"取り込む結果ファイルを指定してください。"};
    const std::vector<std::filesystem::path> files(parsed.positional.begin(), parsed.positional.end());

    Session session(parsed.dataFolder());
    // Reading the history first creates lotodata.txt from the built-in copy
    // when it is missing, as the window does.
    const Changes loaded = session.loadHistory();
    for (const std::string& problem : loaded.problems()) std::cerr << problem << "\n";
    ImportOutcome outcome;
    const Changes imported = session.importResultFiles(files, outcome);
    for (const std::string& problem : outcome.problems) std::cerr << problem << "\n";
    for (const std::string& problem : imported.problems()) std::cerr << problem << "\n";
    out << outcome.summary() << "\n";
    return outcome.problems.empty() ? 0 : 1;
}

const HistorySubcommandRegistrar registrar{HistorySubcommand{
    "import",
    "tambor-cli history import FILE... [--data DIR]\n"
    "  公式サイトの抽せん結果ファイル（1 回分ずつの CSV、cp932 または UTF-8）を何個でも、\n"
    "  どの順でも取り込みます。登録済みの回で同じ結果のものは読み飛ばし、続きの回を\n"
    "  1 回の書き込みで追加します（前のファイルは lotodata.bak に残します）。\n"
    "  登録済みの回と結果が違うファイルがあるときは何も書き込まず、途中の回が抜けて\n"
    "  いるときは抜けた回より前だけを追加します。\n"
    "  終了コード: 0 すべて取り込んだ（または登録済み）、1 取り込めないファイルや回があった\n"
    "  （理由を表示）、2 引数の誤り\n",
    runImport}};

}  // namespace
}  // namespace tambor::cli
