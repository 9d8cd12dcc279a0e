#pragma once
// The issuing bank's result file of one draw: a small CSV (cp932, or UTF-8
// when saved again by an editor) that a player downloads with a browser:
//
//     A52
//     第2078回ロト６,数字選択式全国自治宝くじ,令和8年2月19日,東京 宝くじドリーム館
//     支払期間,令和8年2月20日から令和9年2月19日まで
//     本数字,01,10,20,24,30,35,ボーナス数字,41
//     １等,2口,...円
//     ...
//
// The round may be zero-padded ("第0694回"), digits may be full-width, the
// date is 令和 or 平成 (元年 for the first year). The game is the name after
// the round, matched against the game table's names.

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

#include "core/game.h"
#include "history/history_draw.h"

namespace tambor {

// Far above any result file (about 1 KB); a larger file is not one.
inline constexpr std::size_t kMaxResultFileBytes = 64 * 1024;

struct ResultFileDraw {
    GameMode mode;
    HistoryDraw draw;  // with its date
};

// The draw in a result file's text (UTF-8), or why the text is not a result
// file of a game the program knows (a Japanese phrase without the file's
// name: "本数字の行がありません").
std::variant<ResultFileDraw, std::string> parseResultFileText(std::string_view utf8Text);

// Reads and decodes the file, then parseResultFileText. The message names
// the file.
std::variant<ResultFileDraw, std::string> readResultFile(const std::filesystem::path& path);

// Full-width digits "０".."９" as ASCII digits; everything else unchanged.
std::string asciiDigits(std::string_view text);

}  // namespace tambor
