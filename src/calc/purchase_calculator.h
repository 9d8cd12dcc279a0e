#pragma once
// The purchase calculator: for n picked numbers, how many tickets buying
// every combination of them takes, what it costs, how likely each prize is
// and what each way the draw can fall on the n numbers would bring.
// Everything is recomputed from n, the game and the display option.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"

namespace tambor {

// How probabilities are shown (the stored option value is the enum value).
enum class ProbabilityView : int { Reciprocal = 0, Fraction = 1 };

// The shape of the table for one game. Row 0 and column 0 are the fixed
// header row and column; rows 1..patternRows are the ways the draw can fall
// on the picked numbers; the last row holds the totals. Columns 2 ..
// gradeCount + 1 are the grades, the last column the amount.
struct CalculatorLayout {
    int rows = 0;          // 7 (ミニロト) / 8 (ロト６) / 17 (ロト７)
    int columns = 0;       // 7 / 8 / 9
    int patternRows = 0;   // 5 / 6 / 15
    int gradeCount = 0;    // 4 / 5 / 6
    int amountColumn = 0;  // columns - 1
    int totalsRow = 0;     // rows - 1
    // Captions as stored, blanks included: the blanks set the column widths
    // (text width of the stored caption + 4 pixels; the last column takes
    // the rest). The cells show them trimmed.
    std::vector<std::string> columnCaptions;
    std::vector<std::string> rowCaptions;
};

CalculatorLayout LayoutCalculatorGrid(GameMode mode);

// Grade and amount cells of the pattern rows are right-aligned; every other
// cell (captions, probability column, totals row) is centred.
bool calculatorCellRightAligned(const CalculatorLayout& layout, int row, int column);

// Leading and trailing blanks removed.
std::string trimCaption(std::string_view caption);

// "個の中から%d個を選ぶ組み合わせの数は" filled with the game's pick count.
std::string calculatorPickLabel(GameMode mode);

// n from the text of the n field: its integer value, or the board's
// axis + together count when the text is not an integer; then limited to
// the game's pickCount..maxNumber.
int CalculatorPickFromText(std::string_view text, GameMode mode, int boardCandidates);

struct CalculatorPage {
    int n = 0;
    std::string combinationCountText;  // "609万6454"
    std::string totalCostText;         // "12億1929万800"
    // rows × columns cell texts, captions trimmed, as the table shows them.
    std::vector<std::vector<std::string>> grid;
};

// Recomputes the whole page. n outside pickCount..maxNumber is limited to it.
CalculatorPage ComputeCalculator(GameMode mode, int n, ProbabilityView view);

// Reciprocal: total / favourable raised to the next multiple of 0.01, as
// "%0.8g". Fraction: favourable as "%0.12g".
std::string FormatProbability(long double total, long double favourable, ProbabilityView view);

// C printf's "%g" of value followed by "本".
std::string FormatTicketCount(double value);

}  // namespace tambor
