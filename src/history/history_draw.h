#pragma once
// One draw as the history file writes it: "第2137回(R08. 9.14)=04,08,10,25,28,33,09"
// (round, era date, the main numbers ascending, then the bonus), read from
// and written to its line, and the checks a new draw must pass.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"
#include "history/draw_date.h"

namespace tambor {

struct HistoryDraw {
    int round = 0;
    std::optional<DrawDate> date;   // nothing when the line's date cannot be read
    std::vector<int> mainNumbers;   // ascending
    std::vector<int> bonusNumbers;  // as the line gives them

    // Same numbers and, when both are known, the same date.
    bool sameResult(const HistoryDraw& other) const;
};

// Reads a data line of the game's section. round is the line's position
// (the history file identifies a draw by it); the date is taken from
// between "(" and ")"; the numbers after "=" must be the game's main
// numbers and bonus numbers (a line that does not read as a draw gives
// nothing).
std::optional<HistoryDraw> readHistoryDraw(GameMode mode, std::string_view line, int round);

// The line of a draw: "第%3d回(R08. 9.14)=NN,...,NN", numbers in two digits.
// The draw must have a date from 平成 on.
std::string historyDrawLine(const HistoryDraw& draw);

// "04,08,10,25,28,33" — numbers in two digits joined by ",".
std::string numbersText(const std::vector<int>& numbers);

// Why the numbers cannot be a draw of the game (count, range, a repeated
// number, a bonus among the main numbers), in one Japanese sentence; empty
// when they can. The main numbers need not be sorted.
std::string drawNumbersProblem(GameMode mode, const std::vector<int>& mainNumbers,
                               const std::vector<int>& bonusNumbers);

}  // namespace tambor
