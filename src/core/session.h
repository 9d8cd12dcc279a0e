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
#include "generate/combination_builder.h"
#include "generate/random.h"
#include "generate/random_draw.h"
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

    RandomGenerator& random() { return random_; }
    const DrawStatistics& drawStatistics() const { return drawStatistics_; }
    // Adds count weighted random combinations under the priority rule
    // (mode 0..6), with the board's fixed and forbidden numbers.
    DrawResult randomDraw(int count, int mode, const ProgressCallback& progress = {});
    // The weighting report of every draw since the list was last cleared.
    std::vector<std::string> weightingReport() const { return WeightingReport(mode_, drawStatistics_); }
    // Adds every combination of the board's axis and together numbers (or
    // the reduced set with the R system) in the given order.
    BuildResult buildCombinations(ArrangeMode arrange, const ProgressCallback& progress = {});

    // Past first and second prizes of the current game kept out of the list.
    bool pastRemove() const { return pastRemove_; }
    void setPastRemove(bool on);
    const CombinationSet& pastWinnerSet() const { return pastWinnerSet_; }

private:
    GameMode mode_ = GameMode::MiniLoto;
    std::filesystem::path dataFolder_;
    CombinationList list_;
    NumberBoard board_;
    HistoryStore history_;
    RandomGenerator random_;
    DrawStatistics drawStatistics_;
    bool pastRemove_ = false;
    CombinationSet pastWinnerSet_;
    CombinationSet scratchSet_;
};

// The statistics the random draw reads, taken from the history.
DrawHistory drawHistoryOf(const HistoryStore& history);

}  // namespace tambor
