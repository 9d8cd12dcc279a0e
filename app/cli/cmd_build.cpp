// tambor-cli build: the combination builder into an empty list, with the
// board's limits on axis and together numbers.

#include <ostream>

#include <stdexcept>

#include "cli_args.h"
#include "session/session.h"
#include "filter_args.h"
#include "generate_args.h"
#include "long_work.h"

namespace tambor::cli {
namespace {

ArrangeMode parseOrder(const std::string& text) {
    if (text == "random") return ArrangeMode::Random;
    if (text == "asc") return ArrangeMode::Ascending;
    if (text == "desc") return ArrangeMode::Descending;
    if (text == "fewest") return ArrangeMode::Fewest;
    throw UsageError{"--order は random, asc, desc, fewest のいずれかです: " + text};
}

int runBuild(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed =
        parseArgs(args, {"--game", "--data", "--together", "--axis", "--order", "--seed", "--filter"},
                  {"--rsystem", "--past-remove"});
    const GameMode mode = parsed.game();
    const bool rSystem = parsed.has("--rsystem");
    const auto together = parsed.value("--together");
    if (!together) throw UsageError{"--together で連動数字を指定してください。"};
    if (parsed.has("--order") && !rSystem) throw UsageError{"--order は --rsystem と一緒に指定してください。"};
    const ArrangeMode arrange = parseOrder(parsed.value("--order").value_or("random"));
    const std::optional<FilterSettings> filter = filterFromArgs(parsed, mode);
    if (filter && rSystem)
        throw UsageError{"Rシステムでは絞り込み条件を使いません（保証にはすべての組み合わせが要ります）。"};

    Session session(parsed.dataFolder(), mode);
    session.changeOptions([&](Options& o) {
        o.rSystem = rSystem;
        o.arrangeMode = arrange;
    });
    NumberBoard& board = session.board();
    if (const auto axis = parsed.value("--axis")) {
        if (rSystem) throw UsageError{"Rシステムでは軸数字を指定できません。"};
        markOnBoard(board, Axis, parseNumberList(*axis, mode), "--axis", "軸数字");
    }
    markOnBoard(board, Together, parseNumberList(*together, mode), "--together", "連動数字");
    const int pick = rulesFor(mode).pickCount;
    if (board.count(Axis) + board.count(Together) < pick)
        throw UsageError{"軸数字と連動数字を合わせて " + std::to_string(pick) + " 個以上指定してください。"};
    seedFromArgs(parsed, session.random());

    LongWork work;
    // Without --past-remove the build never touches the history. With it, a
    // history that cannot be used stops the build (the built-in one is not
    // used instead); one without this game's draws removes nothing.
    if (parsed.has("--past-remove") || (filter && (*filter)[FilterCondition::Previous].enabled)) {
        session.loadHistory();
        if (!session.historyError().empty())
            throw std::runtime_error(session.historyError() + "作成を中止します。");
        if (const std::string note = session.history().noDrawsMessage(); !note.empty())
            work.note("tambor-cli build: " + note + "排除する当選番号はありません。");
        if (parsed.has("--past-remove")) session.changeOptions([](Options& o) { o.pastRemove = true; });
    }
    if (filter) session.setFilterSettings(*filter);
    const Changes built = session.buildCombinations(work.progress("作成中"));
    work.throwIfStopped();
    if (!built.problems().empty()) throw std::runtime_error(built.problems().front());
    writeListLines(out, session.list(), work);
    if (!session.filterResult().empty()) work.note("tambor-cli build: " + session.filterResult());
    return 0;
}

const CommandRegistrar registrar{Command{
    "build",
    "軸数字と連動数字のすべての組み合わせ（またはRシステムで削減した組み合わせ）を作ります",
    std::string("使い方: tambor-cli build [--game mini|loto6|loto7] --together LIST [--axis LIST] [--rsystem]\n"
    "                         [--order random|asc|desc|fewest] [--seed S] [--past-remove] [--data DIR]\n"
    "                         [--filter LIST]\n"
    "空の組み合わせリストに組み合わせを追加し、追加された行を順に 1 行ずつ表示します。\n"
    "  --game mini|loto6|loto7  ゲーム（既定: mini = ミニロト）\n"
    "  --together LIST    連動数字（例: 1,5,23）\n"
    "  --axis LIST        軸数字（すべての組み合わせに入ります。Rシステムでは指定できません）\n"
    "  --rsystem          Rシステムを使用する\n"
    "  --order ORDER      Rシステムの並び順: random 乱数 / asc 小さい順 / desc 大きい順 /\n"
    "                     fewest 口数優先（同じ保証をより少ない組数で。既定: random）\n"
    "  --seed S           乱数の種 0..4294967295（既定: 現在時刻の秒）\n"
    "  --past-remove      過去の1等・2等の当選番号を排除する\n"
    "  --data DIR         --past-remove と previous で読む lotodata.txt のフォルダー\n"
    "                     （既定: プログラムのフォルダー）\n"
    ) + kFilterHelp +
    "                     条件を満たさない組み合わせは数えるだけで一覧に加えません（--rsystem とは併用不可）。\n"
    "標準エラーが端末なら進み具合を表示します。Ctrl+C で中断できます。\n"
    "終了コード: 0 成功、1 当選番号ファイルを作成・読み込みできない、2 引数の誤り、130 中断\n",
    runBuild}};

}  // namespace
}  // namespace tambor::cli
