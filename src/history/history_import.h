#pragma once
// Taking the bank's result files (one draw each, any number, any order, both
// games mixed) into lotodata.txt:
//  - a round the history has with the same numbers and date is skipped;
//  - a round the history (or another of the files) has with other numbers
//    stops the whole import: nothing is written, the message names the file
//    and the round;
//  - the rounds that continue a game's history without a gap are added,
//    all games in one write (old file as lotodata.bak);
//  - at the first missing round the message names the missing rounds, and
//    nothing after the gap is added;
//  - a file that is not a result file gets a message naming it; the other
//    files still count.

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

#include "history/result_file.h"

namespace tambor {

struct ImportOutcome {
    // One line per game that grew: "ロト６ 第2138回〜第2140回（3 回分）を追加しました。"
    std::vector<std::string> added;
    // Every file or round that was not taken, one sentence each.
    std::vector<std::string> problems;
    int addedDraws = 0;
    // Rounds the history had already (or that two files gave alike).
    int knownDraws = 0;
    // Whether lotodata.txt was written.
    bool written = false;

    // What the user reads after the import: the added lines, or that nothing
    // new came (how many were known already).
    std::string summary() const;
};

// One file as read: its name (for messages) and its draw, or why it is not
// a result file (a whole sentence naming it).
struct ImportSource {
    std::string name;
    std::variant<ResultFileDraw, std::string> content;
};

// The import over the file's lines (changed in place when draws are added;
// untouched on a conflict).
ImportOutcome planImport(std::vector<std::string>& historyLines, const std::vector<ImportSource>& sources);

// Reads the files and the history file and writes it once when draws were
// added. A history file that cannot be read or written is one problem, and
// nothing is added.
ImportOutcome importResultFiles(const std::filesystem::path& historyPath,
                                const std::vector<std::filesystem::path>& files);

}  // namespace tambor
