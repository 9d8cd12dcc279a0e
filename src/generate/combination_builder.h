#pragma once
// The combination builder: every combination of the axis numbers (in every
// combination) and the together numbers (filling the remaining places),
// or with the R system a reduced set in which each kept combination rules
// out every combination that differs from it in exactly one number.

#include <cstdint>
#include <vector>

#include "core/combination_list.h"
#include "core/progress.h"
#include "generate/random.h"

namespace tambor {

class NumberBoard;

// The R system's scan order; the value is the item index of the option's
// list and the code stored in the settings file.
enum class ArrangeMode : int { Random = 0, Ascending = 1, Descending = 2 };
inline constexpr int kArrangeModeCount = 3;
// "乱数で並び順を決定する", "小さい順に並べる", "大きい順に並べる" by value.
const char* arrangeModeText(ArrangeMode mode);
// The order of an item index; any other value acts as Random.
ArrangeMode arrangeModeFromIndex(int index);

struct BuildRequest {
    GameMode game = GameMode::MiniLoto;
    std::vector<int> axis;      // in every combination; at most K
    std::vector<int> together;  // fill the remaining places
    bool rSystem = false;
    ArrangeMode arrange = ArrangeMode::Random;  // only with the R system
};

// The axis and together numbers of the board, its game and R-system switch.
BuildRequest buildRequestFromBoard(const NumberBoard& board, ArrangeMode arrange);

// Combinations a build enumerates: C(T, K - A), 0 when A + T < K.
std::int64_t builderTotal(const BuildRequest& request);

struct BuildResult {
    bool ran = false;            // false when A + T < K (nothing happens)
    bool completed = true;       // false when the progress callback stopped the run
    std::int64_t enumerated = 0;
    std::size_t listed = 0;      // new lines in the list
    std::size_t duplicates = 0;  // new lines in the duplicate list
    std::size_t skipped = 0;     // past winners and, with the R system, ruled-out combinations
    // R system: neighbours of kept combinations marked as ruled out. Only
    // neighbours still to be enumerated are marked (see the builder), so
    // this is about half of K × candidates per kept combination.
    std::int64_t neighbourMarks = 0;
};

// Runs a build into list. Past winners (pastWinners) are skipped silently.
// With the R system, scratch receives a copy of pastWinners and collects the
// ruled-out combinations; pastWinners itself is never changed. The random
// order draws N numbers from random. The list is marked changed whenever
// the build runs. Throws std::invalid_argument for a number out of range
// or repeated, a number both axis and together, more than K axis numbers,
// or a list of another game.
BuildResult RunCombinationBuilder(const BuildRequest& request, CombinationList& list,
                                  const CombinationSet& pastWinners, CombinationSet& scratch,
                                  RandomGenerator& random, const ProgressCallback& progress = {});

}  // namespace tambor
