#pragma once
// How each number of a game came up in the history: its hits in all draws
// and in the latest ones, the draws since it last came up and its longest
// absence. The window 「数字の分析」 and `tambor-cli analyze` show it.

#include <cstdint>
#include <string>
#include <vector>

#include "core/game.h"

namespace tambor {

class HistoryStore;

struct NumberAnalysisRow {
    int number = 0;
    int hits = 0;      // as a main number, all draws
    int last10 = 0;    // in the newest 10 draws (all of them when fewer)
    int last50 = 0;
    int last100 = 0;
    // Draws since it last came up: 0 when it is among the newest draw's
    // main numbers, the number of draws when it never came up.
    int sinceLast = 0;
    // The longest run of draws in a row without it, the current run included.
    int longestGap = 0;
};

// The columns in the order shown; the window sorts and charts by them.
enum class AnalysisColumn : int { Number, Hits, Last10, Last50, Last100, SinceLast, LongestGap };
inline constexpr int kAnalysisColumnCount = 7;
// "番号", "出現回数", "直近10回", "直近50回", "直近100回", "出現間隔", "最長間隔"
const char* analysisColumnTitle(AnalysisColumn column);
int analysisValue(const NumberAnalysisRow& row, AnalysisColumn column);

// One row per number 1..MaxNumber, ascending; drawMasks in draw order
// (historyDrawMasks), the newest last.
std::vector<NumberAnalysisRow> analyzeNumbers(GameMode mode, const std::vector<std::uint64_t>& drawMasks);
// The current game's draws of a history.
std::vector<NumberAnalysisRow> analyzeNumbers(const HistoryStore& history);

// The heading and the rows, tab-separated, each line ending with end.
std::string analysisTableText(const std::vector<NumberAnalysisRow>& rows, const char* end);

}  // namespace tambor
