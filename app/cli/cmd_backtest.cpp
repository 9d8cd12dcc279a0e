// tambor-cli backtest: a combination file against every past draw of a
// range, as the window's backtest shows it.

#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "combination_input.h"
#include "history/backtest.h"
#include "io/combination_file.h"
#include "long_work.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

// A whole number with an optional sign, saturated far beyond any round so
// that clamping still gives the first or the newest draw.
long long parseRound(const std::string& option, const std::string& text) {
    WholeNumberSyntax syntax = kDigitsOnly;
    syntax.sign = true;
    syntax.saturate = true;
    const std::optional<std::int64_t> value = parseWholeNumberIn(text, -(1LL << 40), 1LL << 40, syntax);
    if (!value) throw UsageError{option + " には回の番号を指定してください: " + text};
    return *value;
}

int runBacktest(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data", "--from", "--to"}, {}, 1);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    if (parsed.positional.empty()) throw UsageError{"組み合わせファイルを指定してください。"};
    const auto fromArg = parsed.value("--from");
    const auto toArg = parsed.value("--to");
    const long long from = fromArg ? parseRound("--from", *fromArg) : 1;
    const long long to = toArg ? parseRound("--to", *toArg) : (1LL << 40);
    if (from > to) throw UsageError{"--from の回が --to の回より後になっています。"};

    LongWork work;
    const CombinationFile file = readCombinationFile(parsed.positional[0]);
    work.throwIfStopped();
    const GameMode mode = combinationFileGame(file, givenGame);
    requireWholeCombinationLines(file, mode);
    Session session(parsed.dataFolder(), mode);
    if (const Changes switched = session.switchGame(mode); !switched.problems().empty())
        throw std::runtime_error(switched.problems().front());
    session.appendFile(file, work.progress("読み込み中"));
    work.throwIfStopped();

    const int drawCount = session.history().drawCount();
    const std::optional<RoundRange> range = clampRoundRange(from, to, drawCount);
    if (!range)
        throw std::runtime_error("当選番号ファイルに" + std::string(gameName(mode)) + "の当選結果がありません。");
    const std::vector<BacktestDraw> all = readBacktestDraws(session.history());
    const std::vector<BacktestDraw> draws(all.begin() + (range->from - 1), all.begin() + range->to);
    const BacktestResult result = RunBacktest(session.list(), draws, work.progress("照合中"));
    work.throwIfStopped();
    writeTable(out, backtestTable(result, 0, result.rows.size()));
    return 0;
}

const CommandRegistrar registrar{
    Command{"backtest", "組み合わせファイルを過去のすべての当選結果と照合します",
            "使い方: tambor-cli backtest FILE [--game mini|loto6|loto7] [--data DIR] [--from R] [--to R]\n"
            "組み合わせファイル FILE を読み込み、第 R 回から第 R 回までの当選結果と照合して、\n"
            "タブ区切りで表示します: 見出し行（回、日付、等級、当選金額）、回ごとの行（回、日付、\n"
            "等級ごとの当選本数、理論上の当選金額（円））、\"合計\" の行（回数、本数、金額）、\n"
            "\"購入金額\" の行（口数 × 200円 × 回数）。\n"
            "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
            "  --from R           最初の回（既定: 1、範囲外は最初または最新の回）\n"
            "  --to R             最後の回（既定: 最新の回、範囲外は最初または最新の回）\n" +
                std::string(kGameOptionHelp) +
                "終了コード: 0 成功、1 ファイルを読み込めない・ゲームに合わない行がある・当選結果がない、\n"
                "2 引数の誤り・ゲームが分からない\n",
            runBacktest}};

}  // namespace
}  // namespace tambor::cli
