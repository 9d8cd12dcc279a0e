// tambor-cli convert: loads a file in the game its header (or --game)
// names, optionally sorts, and saves it as the save command would
// under the output name (.csv: CSV layout, anything else: text layout).

#include <ostream>

#include "cli_args.h"
#include "combination_input.h"
#include "core/japanese_count.h"
#include "generate/list_sort.h"
#include "io/combination_file.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

int runConvert(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--game", "--pages"}, {"--sort"}, 2);
    const std::optional<GameMode> givenGame = gameOption(parsed);
    if (parsed.positional.size() != 2) throw UsageError{"入力ファイルと出力ファイルを指定してください。"};
    const std::string& input = parsed.positional[0];
    const std::string& output = parsed.positional[1];
    // The page count is read as the page-count edit is: anything that is not
    // a whole number of at least 1 means one page.
    const int pages = pageCountFromText(parsed.value("--pages").value_or("1"));

    LongWork work;
    const CombinationFile file = readCombinationFile(input);
    work.throwIfStopped();
    const GameMode game = combinationFileGame(file, givenGame);
    requireWholeCombinationLines(file, game);
    CombinationList list(game);
    appendCombinationFile(list, file, work.progress("読み込み中"));
    work.throwIfStopped();
    out << "読み込み: " << input << "（" << gameName(list.mode()) << "） 登録口数 "
        << FormatJapaneseCount(static_cast<std::int64_t>(list.size())) << " 口、重複 "
        << FormatJapaneseCount(static_cast<std::int64_t>(list.duplicates().size())) << " 口\n";
    if (parsed.has("--sort")) {
        SortCombinationList(list, work.progress("並べ替え中"));
        work.throwIfStopped();
    }
    // Ctrl+C while saving leaves OUT as it was.
    work.saveList(output, list, pages);
    out << "保存: " << output << "（"
        << (layoutForFileName(output) == FileLayout::Csv ? "CSV形式" : "テキスト形式") << "、" << pages
        << " ページ分割）\n";
    return 0;
}

const CommandRegistrar registrar{
    Command{"convert", "組み合わせファイルを読み込み、CSV形式またはテキスト形式で保存し直します",
            "使い方: tambor-cli convert IN OUT [--game mini|loto6|loto7] [--pages P] [--sort]\n"
            "IN を読み込み、OUT に「保存」と同じ形式で書き出します。OUT の拡張子が .csv なら\n"
            "CSV形式、それ以外はテキスト形式（申込カードに合わせた 5 口ずつの形式）です。\n"
            "  --pages P          ページ分割数（既定: 1。整数でない値や 0 以下は 1）\n"
            "  --sort             保存する前に組み合わせを小さい順に並べ替える\n" +
                std::string(kGameOptionHelp) +
                "OUT は完全に書き終えてから置き換えます（シンボリックリンクはリンク先を置き換えます）。\n"
                "標準エラーが端末なら進み具合を表示します。Ctrl+C で中断すると OUT は元のままです。\n"
                "終了コード: 0 成功、1 ファイルを読み書きできない・ゲームに合わない行がある・\n"
                "保存する組み合わせがない、2 引数の誤り・ゲームが分からない、130 中断\n",
            runConvert}};

}  // namespace
}  // namespace tambor::cli
