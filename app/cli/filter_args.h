#pragma once
// The --filter option of the commands that generate or filter combinations.

#include <optional>
#include <string>

#include "cli_args.h"
#include "generate/filter_text.h"

namespace tambor::cli {

// The conditions of --filter for the game, or nothing without the option;
// a text that cannot be used is a UsageError with the parser's message.
inline std::optional<FilterSettings> filterFromArgs(const ParsedArgs& parsed, GameMode mode) {
    const auto text = parsed.value("--filter");
    if (!text) return std::nullopt;
    try {
        return parseFilterText(mode, *text);
    } catch (const FilterTextError& e) {
        throw UsageError{std::string(e.what()) + " (--filter)"};
    }
}

// The lines of --help that describe --filter.
inline constexpr const char* kFilterHelp =
    "  --filter LIST      絞り込み条件（例: sum=100-160,odd=2-4）。名前=下限-上限 をコンマで区切り、\n"
    "                     どれを省いてもかまいません。sum 合計、odd 奇数の個数、\n"
    "                     low 小さい数字（最大の数字の半分以下）の個数、consecutive 連続数字の組、\n"
    "                     lastdigit 末尾が同じ数字の組、decade 同じ10の位の最大個数、\n"
    "                     previous 前回（最新回）の本数字の個数、spread 最大と最小の差\n";

}  // namespace tambor::cli
