// tambor-cli draw: the random draw into an empty list, weighted by the
// history as the window's draw button does.

#include <ostream>

#include <stdexcept>

#include "cli_args.h"
#include "session/session.h"
#include "filter_args.h"
#include "generate_args.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

int runDraw(const std::vector<std::string>& rawArgs, std::ostream& out) {
    std::vector<std::string> args = rawArgs;
    for (auto& a : args)
        if (a == "-n") a = "--count";
    const ParsedArgs parsed =
        parseArgs(args, {"--game", "--data", "--count", "--mode", "--fix", "--forbid", "--seed", "--filter"},
                  {"--past-remove"});
    const GameMode mode = parsed.game();

    int count = 50;
    if (const auto v = parsed.value("--count")) count = static_cast<int>(parseOptionNumber("-n", *v, 1, 2147483647));
    PriorityMode priority = PriorityMode::PreferPairs;
    if (const auto v = parsed.value("--mode"))
        priority = priorityModeFromIndex(static_cast<int>(parseOptionNumber("--mode", *v, 0, 6)));

    const std::optional<FilterSettings> filter = filterFromArgs(parsed, mode);

    // The same session the window keeps: game, board, history, options.
    Session session(parsed.dataFolder(), mode);
    NumberBoard& board = session.board();
    if (const auto v = parsed.value("--fix")) markOnBoard(board, Fix, parseNumberList(*v, mode), "--fix", "固定数字");
    if (const auto v = parsed.value("--forbid"))
        markOnBoard(board, Disable, parseNumberList(*v, mode), "--forbid", "禁止数字");
    seedFromArgs(parsed, session.random());

    LongWork work;
    // A history that cannot be used stops here (exit code 1): a script never
    // gets lines weighted by the built-in history instead of its file's. A
    // history without this game's draws is used as it is (every number
    // weighs the same), and said so.
    session.loadHistory();
    if (!session.historyError().empty())
        throw std::runtime_error(session.historyError() + "抽選を中止します。");
    if (const std::string note = session.history().noDrawsMessage(); !note.empty())
        work.note("tambor-cli draw: " + note + "重みづけなしで抽選します。");
    session.changeOptions([&](Options& o) {
        o.pastRemove = parsed.has("--past-remove");
        o.priorityMode = priority;
    });
    if (filter) session.setFilterSettings(*filter);
    const Changes drawn = session.randomDraw(count, work.progress("抽選中"));
    work.throwIfStopped();
    if (!drawn.problems().empty()) throw std::runtime_error(drawn.problems().front());
    writeListLines(out, session.list(), work);
    if (!session.filterResult().empty()) work.note("tambor-cli draw: " + session.filterResult());
    if (!drawn.refusal().empty()) work.note("tambor-cli draw: " + drawn.refusal());
    return 0;
}

const CommandRegistrar registrar{Command{
    "draw",
    "当選番号の統計で重みづけしたランダム抽選を行います",
    std::string("使い方: tambor-cli draw [--game mini|loto6|loto7] [--data DIR] [-n N] [--mode 0-6]\n"
    "                        [--fix LIST] [--forbid LIST] [--past-remove] [--seed S] [--filter LIST]\n"
    "空の組み合わせリストに抽選した組み合わせを追加し、追加された行を順に 1 行ずつ表示します。\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini = ミニロト）\n"
    "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
    "  -n N               抽選回数（既定: 50）\n"
    "  --mode 0-6         優先数字: 0 連対しやすい数字 1 偏差値が高い数字 2 出やすい数字\n"
    "                     3 指定しない 4 出にくい数字 5 偏差値が低い数字 6 連対しにくい数字（既定: 0）\n"
    "  --fix LIST         固定数字（例: 1,5,23）\n"
    "  --forbid LIST      禁止数字\n"
    "  --past-remove      過去の1等・2等の当選番号を排除する（重複リストに回ります）\n"
    "  --seed S           乱数の種 0..4294967295（既定: 現在時刻の秒）\n"
    ) + kFilterHelp +
    "                     条件を満たさない組み合わせは数えるだけで一覧に加えず、N 口見つかるまで\n"
    "                     （最大 N の 100 倍まで）抽選を続けます。除外した数は標準エラーに表示します。\n"
    "同じ種・オプション・当選番号ファイルなら、画面の抽選と同じ行が得られます。\n"
    "当選番号ファイルを読めないときは抽選しません（内蔵のデータは使いません）。\n"
    "標準エラーが端末なら進み具合を表示します。Ctrl+C で中断できます。\n"
    "終了コード: 0 成功、1 当選番号ファイルを作成・読み込みできない、2 引数の誤り、130 中断\n",
    runDraw}};

}  // namespace
}  // namespace tambor::cli
