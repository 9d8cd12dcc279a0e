#pragma once
// The weighted random draw: each number is drawn with an integer weight
// that is recomputed after every drawn number from the history statistics,
// the number just drawn and the previous weights, by the chosen priority
// rule. Fixed numbers go into every combination, forbidden numbers never.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination_list.h"
#include "core/game.h"
#include "core/progress.h"
#include "generate/combination_filter.h"
#include "generate/random.h"

namespace tambor {

class NumberBoard;

// The priority rules ("優先数字"); the value is the item index of the
// option's list and the code stored in the settings file.
enum class PriorityMode : int {
    PreferPairs = 0,
    PreferHighDeviation = 1,
    PreferFrequent = 2,
    NoPreference = 3,
    PreferRare = 4,
    PreferLowDeviation = 5,
    AvoidPairs = 6,
};
inline constexpr int kPriorityModeCount = 7;
// "連対しやすい数字を優先する", "偏差値が高い数字を優先する", … by value.
const char* priorityModeText(PriorityMode mode);
// The mode of an item index; any other value acts as PreferPairs.
PriorityMode priorityModeFromIndex(int index);

// [0] = sum of the weights, [n] = weight of number n. Initialised from the
// history (appearance count + 1) and carried from draw to draw.
using DrawWeights = std::array<std::int32_t, kBoardSize + 1>;
using PairTable = std::array<std::array<std::int32_t, kBoardSize>, kBoardSize>;

// The history statistics the draw reads, for one game.
struct DrawHistory {
    GameMode game = GameMode::MiniLoto;
    std::int32_t drawCount = 0;
    std::array<std::int32_t, kBoardSize> hitCount{};      // [n-1]
    PairTable pairCount{};                                 // [a-1][b-1]
    std::array<double, kBoardSize> deviationValue{};       // [n-1]
};

// Weights as the history leaves them: hitCount + 1 per number, [0] the sum.
DrawWeights initialDrawWeights(const DrawHistory& history);

// What one click asks for.
struct DrawRequest {
    std::vector<int> fixedNumbers;              // ascending, at most K
    std::array<bool, kBoardSize> forbidden{};   // [n-1]
    int count = 1;                              // combinations to produce
    PriorityMode mode = PriorityMode::PreferPairs;
    // When given and active: only combinations that pass it are listed;
    // the draw goes on until count of them are found or kFilterTryFactor ×
    // count combinations were drawn.
    const CombinationFilter* filter = nullptr;
};
inline constexpr int kFilterTryFactor = 100;

// The fixed (ascending) and forbidden numbers of the board's game.
void takeBoardNumbers(const NumberBoard& board, DrawRequest& request);

// How the count field's text becomes the number of combinations: its
// integer value, or 1 when it is not a number or not positive.
int parseDrawCount(std::string_view text);

// The statistics of all draws since the list was last cleared.
struct DrawStatistics {
    std::array<std::int32_t, kBoardSize> selectionCount{};  // [n-1], repeats included
    PairTable drawPairCount{};                              // both [a][b] and [b][a]
    void clear() { *this = DrawStatistics{}; }
};

struct DrawResult {
    // Combinations formed: the requested count unless stopped, or with a
    // filter as many as it took (passed + excluded).
    std::int64_t produced = 0;
    std::int64_t excluded = 0;  // failed the filter: counted, never listed
    std::int64_t passed = 0;    // passed the filter (all produced without one)
    std::size_t listed = 0;     // new lines in the list
    std::size_t duplicates = 0; // new lines in the duplicate list (past winners included)
    bool completed = true;      // false when the progress callback stopped the run
    std::vector<std::string> report;  // the weighting report, UTF-8 lines
};

// Draws one number: returns its index (number - 1), counts it in
// selectionCount when it is not forbidden and recomputes every weight by
// the mode's rule. When the weights give nothing to draw (their sum is not
// positive) one allowed number is drawn with equal chance instead.
int DrawWeightedNumber(const DrawHistory& history, const DrawRequest& request, DrawWeights& weights,
                       DrawStatistics& statistics, RandomGenerator& random);

// The whole click: one discarded draw that applies the mode and the board
// to the carried weights, then request.count combinations, each sorted and
// added to the list (a combination in pastWinners, when given, goes to the
// duplicate list instead). The list is marked changed even when nothing new
// was added. Throws std::invalid_argument when the request is impossible
// (a number out of range or fixed and forbidden at once, more than K fixed
// numbers, fewer than K numbers allowed) or the list is of another game.
DrawResult RunRandomDraw(const DrawHistory& history, const DrawRequest& request, DrawWeights& weights,
                         DrawStatistics& statistics, RandomGenerator& random, CombinationList& list,
                         const CombinationSet* pastWinners, const ProgressCallback& progress = {});

// The report under "ランダム抽選の重みづけ": the numbers by selection count
// (descending, ties in ascending number order) with their three most
// frequent partners, and a line of 81 "-" after every tenth line.
std::vector<std::string> WeightingReport(GameMode game, const DrawStatistics& statistics);

}  // namespace tambor
