// tambor-cli calc: the purchase calculator page for n picked numbers.

#include <ostream>

#include "calc/purchase_calculator.h"
#include "cli_args.h"

namespace tambor::cli {
namespace {

int runCalc(const std::vector<std::string>& args, std::ostream& out) {
    // "-n N" is the calculator's own short form; the shared parser knows long options only.
    std::vector<std::string> normalized;
    for (const std::string& arg : args)
        normalized.push_back(arg == "-n" ? "--n" : arg.rfind("-n=", 0) == 0 ? "-" + arg : arg);
    const ParsedArgs parsed = parseArgs(normalized, {"--game", "--n"}, {"--fraction"});
    const GameMode mode = parsed.game();
    const GameRules rules = rulesFor(mode);
    const auto nArg = parsed.value("--n");
    if (!nArg) throw UsageError{"-n で数字の個数を指定してください。"};
    const std::string range = std::to_string(rules.pickCount) + " から " + std::to_string(rules.maxNumber);
    const std::optional<std::int64_t> picked = parseWholeNumberIn(*nArg, rules.pickCount, rules.maxNumber, kDigitsOnly);
    if (!picked) throw UsageError{"-n には " + range + " までの数を指定してください: " + *nArg};
    const int n = static_cast<int>(*picked);

    const ProbabilityView view = parsed.has("--fraction") ? ProbabilityView::Fraction : ProbabilityView::Reciprocal;
    const CalculatorPage page = ComputeCalculator(mode, n, view);
    out << "nCr\t" << page.combinationCountText << '\n';
    out << "total\t" << page.totalCostText << '\n';
    writeTable(out, page.grid);
    return 0;
}

const CommandRegistrar registrar{Command{
    "calc",
    "n 個の数字を全て購入するときの組み合わせ数・金額・当選確率を表示します",
    "使い方: tambor-cli calc [--game mini|loto6|loto7] -n N [--fraction]\n"
    "金額計算ページの内容を表示します: \"nCr<TAB>組み合わせ数\"、\"total<TAB>金額\"、\n"
    "続けて当選パターンの表を 1 行に 1 行分、セルをタブで区切って表示します。\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini）\n"
    "  -n N               選ぶ数字の個数（ミニロト 5〜31、ロト６ 6〜43）\n"
    "  --fraction         当選確率を 当選数/組み合わせ数 で表示（既定は 1/X の X）\n"
    "終了コード: 0 成功、2 引数の誤り\n",
    runCalc}};

}  // namespace
}  // namespace tambor::cli
