// tambor-cli verify: whether a list of tickets guarantees K - 1 hits, that
// is, whether every combination of the candidate numbers shares at least
// K - 1 numbers with some ticket of the list.

#include <algorithm>
#include <ostream>

#include "cli_args.h"
#include "combination_input.h"
#include "core/combination_list.h"
#include "generate/guarantee_cover.h"
#include "io/combination_file.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

// Loads the file in the game its header (or --game) names.
GameMode loadTickets(const std::string& path, std::optional<GameMode> givenGame, CombinationList& list) {
    const CombinationInput input = readCombinationInput(path, givenGame);
    list.reset(input.game);
    appendCombinationFile(list, input.file);
    return input.game;
}

struct Candidates {
    std::vector<int> together;
    std::vector<int> axis;
};

// The numbers --together and --axis give for the game.
Candidates candidatesFromArgs(GameMode mode, const std::string& togetherText, const std::optional<std::string>& axisText) {
    const GameRules rules = rulesFor(mode);
    Candidates c{parseNumberList(togetherText, mode), {}};
    if (axisText) c.axis = parseNumberList(*axisText, mode);
    for (int n : c.axis)
        if (std::find(c.together.begin(), c.together.end(), n) != c.together.end())
            throw UsageError{std::to_string(n) + " は --axis と --together の両方にあります。"};
    if (static_cast<int>(c.axis.size()) > rules.pickCount)
        throw UsageError{"軸数字は " + std::to_string(rules.pickCount) + " 個までです。"};
    if (static_cast<int>(c.axis.size() + c.together.size()) < rules.pickCount)
        throw UsageError{"軸数字と候補の数字を合わせて " + std::to_string(rules.pickCount) +
                         " 個以上指定してください。"};
    return c;
}

int runVerify(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--together", "--axis"}, {}, 1);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    if (parsed.positional.empty()) throw UsageError{"組み合わせファイルを指定してください。"};
    const auto togetherArg = parsed.value("--together");
    if (!togetherArg) throw UsageError{"--together で候補の数字を指定してください。"};
    const auto axisArg = parsed.value("--axis");
    // Every option is checked before the file is read, and again for its game.
    checkForSomeGame([&](GameMode game) { (void)candidatesFromArgs(game, *togetherArg, axisArg); });

    CombinationList list(GameMode::MiniLoto);
    const GameMode mode = loadTickets(parsed.positional[0], givenGame, list);
    const auto [together, axis] = candidatesFromArgs(mode, *togetherArg, axisArg);

    LongWork work;
    const GuaranteeCheck check = CheckGuarantee(mode, axis, together, list.items(), work.progress("検証中"));
    work.throwIfStopped();
    writeTable(out, {{"候補", std::to_string(check.candidates)},
                     {"組数", std::to_string(check.lines)},
                     {"未保証", std::to_string(check.uncovered)},
                     {"下限", std::to_string(check.lowerBound)}});
    return check.uncovered == 0 ? 0 : 1;
}

const CommandRegistrar registrar{
    Command{"verify", "組み合わせファイルが候補の数字の組み合わせを 1 つ違いまで保証するか調べます",
            "使い方: tambor-cli verify FILE --together LIST [--axis LIST] [--game mini|loto6|loto7]\n"
            "組み合わせファイル FILE の組み合わせが、候補の数字（軸数字をすべて含み、残りを\n"
            "連動数字から選ぶ組み合わせ）のどれとも 1 つの数字違いまでに入っているかを調べ、\n"
            "\"候補<TAB>v\"、\"組数<TAB>n\"、\"未保証<TAB>u\"、\"下限<TAB>b\" を 1 行ずつ表示します。\n"
            "u はどの組み合わせとも 2 つ以上違う組み合わせの数、b はこの候補数で保証に\n"
            "最低限必要な組数です。\n"
            "  --together LIST    候補の数字（連動数字。例: 1,5,23）\n"
            "  --axis LIST        軸数字（すべての組み合わせに入る数字）\n" +
                std::string(kGameOptionHelp) +
                "終了コード: 0 保証あり（u = 0）、1 保証なし、またはファイルを読み込めない・\n"
                "ゲームに合わない行がある、2 引数の誤り・ゲームが分からない\n",
            runVerify}};

}  // namespace
}  // namespace tambor::cli
