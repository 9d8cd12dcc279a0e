#include "combination_input.h"

#include <optional>
#include <stdexcept>

#include "core/text_scan.h"
#include "io/text_file.h"

namespace tambor::cli {

const char* const kGameOptionHelp =
    "  --game mini|loto6|loto7  見出し行 [ミニロト] / [ロト６] のないファイルを読むゲーム。見出し行が\n"
    "                     あればそのゲームで読みます。どちらもなければエラーです。\n";

std::optional<GameMode> gameOption(const ParsedArgs& parsed) {
    const auto value = parsed.value("--game");
    if (!value) return std::nullopt;
    return parseGame(*value);
}

GameMode combinationFileGame(const CombinationFile& file, std::optional<GameMode> given) {
    if (file.headerGame) return *file.headerGame;
    if (given) return *given;
    throw UsageError{
        "ファイル「" + file.path +
        "」には見出し行 [ミニロト] / [ロト６] がありません。どのゲームとして読むかを --game で指定してください。"};
}

void requireWholeCombinationLines(const CombinationFile& file, GameMode game) {
    std::size_t lineNumber = 0;
    std::size_t misfit = 0;
    forEachLine(file.bytes, [&](std::string_view line) {
        ++lineNumber;
        if (misfit == 0 && !isWholeCombinationText(game, line)) misfit = lineNumber;
    });
    if (misfit == 0) return;
    const GameRules rules = rulesFor(game);
    throw std::runtime_error("ファイル「" + file.path + "」の " + std::to_string(misfit) + " 行目は" + gameName(game) +
                             "の組み合わせ（1〜" + std::to_string(rules.maxNumber) + " の異なる数字 " +
                             std::to_string(rules.pickCount) + " 個ずつ）として読めません。");
}

CombinationInput readCombinationInput(const std::string& path, std::optional<GameMode> given) {
    CombinationInput input;
    input.file = readCombinationFile(path);
    input.game = combinationFileGame(input.file, given);
    requireWholeCombinationLines(input.file, input.game);
    return input;
}

}  // namespace tambor::cli
