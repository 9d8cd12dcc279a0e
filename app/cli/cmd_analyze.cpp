// tambor-cli analyze: the number analysis window's table, from the history
// file exactly as the program reads it.

#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "history/number_analysis.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

int runAnalyze(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data"});
    Session session(parsed.dataFolder(), parsed.game());
    session.loadHistory();
    // A script never gets the built-in history's figures for its file's.
    if (!session.historyError().empty()) throw std::runtime_error(session.historyError());
    if (const std::string note = session.history().noDrawsMessage(); !note.empty())
        throw std::runtime_error(note + "分析する当選番号がありません。");
    out << analysisTableText(session.numberAnalysis(), "\n");
    return 0;
}

const CommandRegistrar registrar{Command{
    "analyze",
    "数字ごとの出現回数・直近の出現回数・出現間隔を表示します",
    "使い方: tambor-cli analyze [--game mini|loto6|loto7] [--data DIR]\n"
    "当選番号ファイル lotodata.txt から、「数字の分析」画面の表をタブ区切りで表示します。\n"
    "見出しの行「番号	出現回数	直近10回	直近50回	直近100回	出現間隔	最長間隔」のあと、\n"
    "数字ごとに 1 行（小さい順）:\n"
    "  出現回数   本数字として出た回数（全回）\n"
    "  直近N回    最新の N 回のうち本数字として出た回数\n"
    "  出現間隔   最後に出てから何回たったか（最新回に出ていれば 0、一度も出ていなければ全回数）\n"
    "  最長間隔   続けて出なかった回数の最長（いま続いている分も含む）\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini = ミニロト）\n"
    "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）。\n"
    "                     ファイルがなければ内蔵のデータから作成します。\n"
    "終了コード: 0 成功、1 当選番号ファイルを作成・読み込みできない・このゲームの当選番号がない、\n"
    "          2 引数の誤り\n",
    runAnalyze}};

}  // namespace
}  // namespace tambor::cli
