// tambor-cli stats: the pair-rate table of the statistics window, from the
// history file exactly as the program reads it.

#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "history/history_store.h"
#include "history/rate_table.h"

namespace tambor::cli {
namespace {

int runStats(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data"});
    const GameMode mode = parsed.game();
    const std::filesystem::path folder = parsed.dataFolder();

    HistoryStore history;
    // A history error propagates: its message goes to stderr and the exit
    // code is 1, so a script never mistakes the built-in table for its file's.
    history.load(folder, mode);
    // An all-zero table would look like a result: say what is missing instead.
    if (const std::string note = history.noDrawsMessage(); !note.empty())
        throw std::runtime_error(note + "表示する統計がありません。");

    writeTable(out, buildRateTable(history, mode));
    return 0;
}

const CommandRegistrar registrar{Command{
    "stats",
    "当選番号の出目ランキングと連対率の表を表示します",
    "使い方: tambor-cli stats [--game mini|loto6|loto7] [--data DIR]\n"
    "当選番号ファイル lotodata.txt の統計から、出目ランキングと連対率の表を\n"
    "1 行に 1 行分、セルをタブで区切って表示します（先頭は見出しの行）。\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini = ミニロト）\n"
    "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）。\n"
    "                     ファイルがなければ内蔵のデータから作成します。\n"
    "終了コード: 0 成功、1 当選番号ファイルを作成・読み込みできない・このゲームの当選番号がない、\n"
    "          2 引数の誤り\n",
    runStats}};

}  // namespace
}  // namespace tambor::cli
