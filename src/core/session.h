#pragma once
// The program's state in one place: the game in force, the combination
// list, the number board, the history and the options the commands read.
// The windows show this state and call these operations; the command line
// program drives the same calls.

#include <filesystem>
#include <string>
#include <vector>

#include "core/combination_list.h"
#include "core/number_board.h"
#include "history/history_store.h"

namespace tambor {

class Session {
public:
    explicit Session(std::filesystem::path dataFolder = {});

    GameMode mode() const { return mode_; }
    GameRules rules() const { return rulesFor(mode_); }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }
    void setDataFolder(std::filesystem::path folder) { dataFolder_ = std::move(folder); }

    CombinationList& list() { return list_; }
    const CombinationList& list() const { return list_; }
    NumberBoard& board() { return board_; }
    const NumberBoard& board() const { return board_; }

    // Switches the game: trims the board to the new range (or clears every
    // role that no longer fits the together limit), empties the list and
    // recounts. The history reload follows in the caller's order.
    void switchGame(GameMode mode);

    // Empties both lists, their sets and the changed flag.
    void clearList();

    HistoryStore& history() { return history_; }
    const HistoryStore& history() const { return history_; }
    // Re-reads lotodata.txt for the game in force (creating it from the
    // built-in copy when missing) and recomputes the statistics. Returns an
    // empty text, or the message of a failure after which the built-in
    // copy's statistics are in use.
    std::string loadHistory();
    // Marks draw round of the current game on the board (main and bonus).
    bool showDrawOnBoard(int round);

private:
    GameMode mode_ = GameMode::MiniLoto;
    std::filesystem::path dataFolder_;
    CombinationList list_;
    NumberBoard board_;
    HistoryStore history_;
};

}  // namespace tambor
