// tambor-cli check: the prize check of a combination file against a past
// draw or hand-given winning numbers, as the main window runs it.

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "combination_input.h"
#include "core/combination_list.h"
#include "core/number_board.h"
#include "history/history_store.h"
#include "history/prize_check.h"
#include "io/combination_file.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

// Loads the file into the list in the game its header names, or the one
// --game gives.
GameMode loadCombinations(const std::string& path, std::optional<GameMode> givenGame, CombinationList& list,
                          LongWork& work) {
    const CombinationFile file = readCombinationFile(path);
    work.throwIfStopped();
    const GameMode mode = combinationFileGame(file, givenGame);
    requireWholeCombinationLines(file, mode);
    list.reset(mode);
    appendCombinationFile(list, file, work.progress("読み込み中"));
    work.throwIfStopped();
    return mode;
}

// A whole number with an optional sign, saturated far beyond any round so
// that clamping still gives the first or the newest draw.
long long parseRoundArgument(const std::string& text) {
    WholeNumberSyntax syntax = kDigitsOnly;
    syntax.sign = true;
    syntax.saturate = true;
    const std::optional<std::int64_t> value = parseWholeNumberIn(text, -(1LL << 40), 1LL << 40, syntax);
    if (!value) throw UsageError{"--round には回の番号を指定してください: " + text};
    return *value;
}

// The winning numbers --main and --bonus give for the game.
WinningNumbers winningFromArgs(GameMode mode, const std::string& mainText, const std::string& bonusText) {
    const GameRules rules = rulesFor(mode);
    const std::vector<int> mains = parseNumberList(mainText, mode);
    const std::vector<int> bonus = parseNumberList(bonusText, mode);
    if (static_cast<int>(mains.size()) != rules.pickCount)
        throw UsageError{"本数字は " + std::to_string(rules.pickCount) + " 個指定してください。"};
    if (static_cast<int>(bonus.size()) != rules.bonusCount)
        throw UsageError{"ボーナス数字は " + std::to_string(rules.bonusCount) + " 個指定してください。"};
    const std::optional<WinningNumbers> winning = makeWinningNumbers(
        mode, mains.data(), static_cast<int>(mains.size()), bonus.data(), static_cast<int>(bonus.size()));
    if (!winning) throw UsageError{"ボーナス数字が本数字と重複しています。"};
    return *winning;
}

int runCheck(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data", "--round", "--main", "--bonus"}, {}, 1);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    if (parsed.positional.empty()) throw UsageError{"組み合わせファイルを指定してください。"};
    const auto roundArg = parsed.value("--round");
    const auto mainArg = parsed.value("--main");
    const auto bonusArg = parsed.value("--bonus");
    if (roundArg && (mainArg || bonusArg)) throw UsageError{"--round と --main/--bonus は同時に指定できません。"};
    if (mainArg.has_value() != bonusArg.has_value())
        throw UsageError{"当選数字は --main と --bonus の両方で指定してください。"};
    // Every option is checked before the file is read.
    const long long requestedRound = roundArg ? parseRoundArgument(*roundArg) : 0;
    if (mainArg) checkForSomeGame([&](GameMode game) { winningFromArgs(game, *mainArg, *bonusArg); });

    LongWork work;
    CombinationList list;
    const GameMode mode = loadCombinations(parsed.positional[0], givenGame, list, work);

    std::optional<WinningNumbers> winning;
    if (mainArg) {
        winning = winningFromArgs(mode, *mainArg, *bonusArg);
    } else {
        HistoryStore history;
        history.load(parsed.dataFolder(), mode);
        const int round = roundArg ? ClampRound(requestedRound, history.drawCount()) : history.drawCount();
        if (round < 1) throw std::runtime_error(history.noDrawsMessage() + "当選確認できません。");
        if (roundArg && requestedRound != round)
            work.note("第" + std::to_string(requestedRound) + "回の当選結果はありません。" +
                      (round == history.drawCount() ? "最新の" : "最初の") + "第" + std::to_string(round) +
                      "回の当選結果で確認します。");
        NumberBoard board(mode);
        ShowDrawOnBoard(history, round, board);
        winning = winningNumbersFromBoard(board);
        if (!winning)
            throw std::runtime_error("第" + std::to_string(round) + "回の当選番号が揃っていないため、当選確認できません。");
    }

    const PrizeCheckResult result = RunPrizeCheck(mode, *winning, list.listedSet(), work.progress("当選確認中"));
    work.throwIfStopped();
    for (const std::string& line : result.lines) out << line << '\n';
    for (int grade = 1; grade <= prizeGradeCount(mode); ++grade)
        out << prizeGradeHeading(grade) << '\t' << result.hits[static_cast<std::size_t>(grade - 1)] << '\n';
    out << result.moneyText << '\n';
    return 0;
}

const CommandRegistrar registrar{
    Command{"check", "組み合わせファイルの当選確認をします",
            "使い方: tambor-cli check FILE [--game mini|loto6|loto7] [--data DIR]\n"
            "                         [--round R | --main LIST --bonus B[,B]]\n"
            "組み合わせファイル FILE を読み込み、過去の当選結果または指定した当選数字で\n"
            "当選確認をします。当選確認結果の行（等級の見出しと当選した組み合わせ）、\n"
            "等級ごとの当選本数（\"一等<TAB>1\" …）、当選金額の順に表示します。\n"
            "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
            "  --round R          第 R 回の当選結果で確認（範囲外は最初または最新の回。標準エラーに\n"
            "                     その回を表示します）\n"
            "  --main LIST        本数字（例: 3,8,15,22,30,41）。--bonus と組で指定します\n"
            "  --bonus B[,B]      ボーナス数字（ロト７は 2 個: 例 3,17）\n"
            "--round も --main もなければ最新の回の当選結果で確認します。\n" +
                std::string(kGameOptionHelp) +
                "標準エラーが端末なら進み具合を表示します。Ctrl+C で中断できます。\n"
                "終了コード: 0 成功、1 ファイルを読み込めない・ゲームに合わない行がある・当選結果がない、\n"
                "2 引数の誤り・ゲームが分からない、130 中断\n",
            runCheck}};

}  // namespace
}  // namespace tambor::cli
