#pragma once
// Brings an existing lotodata.txt up to the built-in history at start: a
// newer program knows draws the user's file does not have yet. The newer
// draws are added only when every draw the file already has agrees with the
// built-in copy; a file that differs anywhere (edited by hand, another
// source) is left exactly as it is.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"

namespace tambor {

struct BuiltinMergeResult {
    struct Added {
        GameMode mode;
        int firstRound;
        int lastRound;
    };
    struct Conflict {
        GameMode mode;
        int round;
    };
    std::vector<Added> added;         // per game, the draws written to the file
    std::optional<Conflict> conflict;  // the first draw that differs (nothing written)
    std::string error;                 // the file could not be read or written (nothing written)

    bool changed() const { return !added.empty(); }
    // "当選番号ファイルに新しい当選番号を追加しました: ロト６ 第2131回〜第2137回。" and the like;
    // empty when nothing was added.
    std::string notice() const;
    // Which round differs, and that nothing was added; empty without a conflict.
    std::string conflictMessage(const std::filesystem::path& historyPath) const;
};

// Adds to historyPath the draws of builtinBytes (the built-in history,
// cp932) that are newer than the file's newest, game by game, in one atomic
// write (the old file kept as lotodata.bak). A missing file is left to the
// first start, which writes the whole built-in copy; a file that cannot be
// read, or holds no draw at all, is left as it is without a word (the
// history load reports it).
BuiltinMergeResult mergeNewerBuiltinDraws(const std::filesystem::path& historyPath, std::string_view builtinBytes);

}  // namespace tambor
