// tambor-cli filter and filter-stats: the conditions of 「絞り込み条件」 on
// a combination file, and how the history's draws would have fared.

#include <ostream>
#include <stdexcept>

#include "cli_args.h"
#include "combination_input.h"
#include "core/japanese_count.h"
#include "filter_args.h"
#include "long_work.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

FilterSettings requiredFilter(const ParsedArgs& parsed, GameMode mode) {
    const auto filter = filterFromArgs(parsed, mode);
    if (!filter) throw UsageError{"--filter で絞り込み条件を指定してください（例: --filter sum=100-160,odd=2-4）。"};
    return *filter;
}

// The history the conditions read (the newest draw for previous, every draw
// for the pass rates); one that cannot be used stops the command.
void loadHistoryOrThrow(Session& session) {
    session.loadHistory();
    if (!session.historyError().empty())
        throw std::runtime_error(session.historyError() + "絞り込みを中止します。");
}

int runFilter(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data", "--filter"}, {}, 2);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    if (parsed.positional.size() != 2) throw UsageError{"入力ファイルと出力ファイルを指定してください。"};
    // The conditions are read for the file's game, but a missing or unusable
    // option is said before any file is read.
    checkForSomeGame([&](GameMode game) { (void)requiredFilter(parsed, game); });
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[1];

    LongWork work;
    work.protectFolder(parsed.dataFolder());
    const CombinationFile file = readCombinationFile(input);
    work.throwIfStopped();
    const GameMode mode = combinationFileGame(file, givenGame);
    requireWholeCombinationLines(file, mode);
    const FilterSettings settings = requiredFilter(parsed, mode);
    Session session(parsed.dataFolder(), mode);
    if (settings[FilterCondition::Previous].enabled) loadHistoryOrThrow(session);
    session.appendFile(file, work.progress("読み込み中"));
    work.throwIfStopped();
    const std::size_t before = session.list().size();
    session.setFilterSettings(settings);
    session.narrowList(work.progress("絞り込み中"));
    work.throwIfStopped();
    const CombinationList& list = session.list();
    if (list.empty()) throw std::runtime_error("条件を満たす組み合わせがありません。" + output + " は作成しません。");
    work.saveFile(output, formatCombinationFile(list, layoutForFileName(input), 1));
    out << "絞り込み: " << input << "（" << gameName(mode) << "） " << FormatJapaneseCount(static_cast<std::int64_t>(before))
        << " 口のうち " << FormatJapaneseCount(static_cast<std::int64_t>(list.size())) << " 口が条件を満たします\n";
    out << "保存: " << output << "\n";
    return 0;
}

int runFilterStats(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--data", "--filter"});
    const GameMode mode = parsed.game();
    const FilterSettings settings = requiredFilter(parsed, mode);
    Session session(parsed.dataFolder(), mode);
    loadHistoryOrThrow(session);
    if (const std::string note = session.history().noDrawsMessage(); !note.empty())
        throw std::runtime_error(note + "数える当選番号がありません。");
    const FilterPassRates rates = session.filterHistory().passRates(settings);
    for (int c = 0; c < kFilterConditionCount; ++c) {
        if (!settings.ranges[static_cast<std::size_t>(c)].enabled) continue;
        out << filterConditionName(filterConditionAt(c)) << '\t' << rates.passing[static_cast<std::size_t>(c)] << '\t'
            << rates.draws << '\n';
    }
    out << "all\t" << rates.all << '\t' << rates.draws << '\n';
    return 0;
}

const CommandRegistrar filterRegistrar{Command{
    "filter",
    "組み合わせファイルから絞り込み条件を満たす行だけを書き出します",
    std::string("使い方: tambor-cli filter IN OUT --filter LIST [--game mini|loto6|loto7] [--data DIR]\n"
    "IN を読み込み、条件をすべて満たす組み合わせだけを IN と同じ形式（.csv なら CSV形式、\n"
    "それ以外はテキスト形式）で OUT に書き出します。\n"
    "  --data DIR         previous に使う lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
    ) + kGameOptionHelp + kFilterHelp +
    "条件を満たす組み合わせがなければ OUT は作りません。OUT は完全に書き終えてから置き換えます。\n"
    "標準エラーが端末なら進み具合を表示します。Ctrl+C で中断すると OUT は元のままです。\n"
    "終了コード: 0 成功、1 ファイルを読み書きできない・ゲームに合わない行がある・条件を満たす組み合わせがない、\n"
    "          2 引数の誤り（見出し行も --game もないときを含む）、130 中断\n",
    runFilter}};

const CommandRegistrar filterStatsRegistrar{Command{
    "filter-stats",
    "過去の当選番号のうち絞り込み条件を満たす回数を表示します",
    std::string("使い方: tambor-cli filter-stats --filter LIST [--game mini|loto6|loto7] [--data DIR]\n"
    "当選番号ファイル lotodata.txt の各回の本数字について、指定した条件ごとに\n"
    "「名前	満たす回数	全回数」をタブ区切りで 1 行ずつ（sum, odd, low, consecutive, lastdigit,\n"
    "decade, previous, spread の順）、最後に「all	すべてを満たす回数	全回数」を表示します。\n"
    "previous は各回の 1 回前の本数字と比べます（第 1 回は前の回がないので満たすとします）。\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini = ミニロト）\n"
    "  --data DIR         lotodata.txt のあるフォルダー（既定: プログラムのフォルダー）\n"
    ) + kFilterHelp +
    "終了コード: 0 成功、1 当選番号ファイルを作成・読み込みできない・このゲームの当選番号がない、\n"
    "          2 引数の誤り\n",
    runFilterStats}};

}  // namespace
}  // namespace tambor::cli
