#pragma once
// The combination builder: every combination of the axis numbers (in every
// combination) and the together numbers (filling the remaining places),
// or with the R system a reduced set in which each kept combination rules
// out every combination that differs from it in exactly one number.

#include <cstdint>
#include <string>
#include <vector>

#include "core/combination_list.h"
#include "core/progress.h"
#include "generate/combination_filter.h"
#include "generate/random.h"

namespace tambor {

class NumberBoard;

// How the R system chooses what it keeps; the value is the item index of
// the option's list. The three scan orders keep, in that order, every
// combination no kept one is within one number of; Fewest keeps a small
// set with the same guarantee (generate/guarantee_cover.h).
enum class ArrangeMode : int { Random = 0, Ascending = 1, Descending = 2, Fewest = 3 };
inline constexpr int kArrangeModeCount = 4;
// "乱数で並び順を決定する", "小さい順に並べる", "大きい順に並べる",
// "口数優先（少ない組数）" by value.
const char* arrangeModeText(ArrangeMode mode);
// The order of an item index; any other value acts as Random.
ArrangeMode arrangeModeFromIndex(int index);

struct BuildRequest {
    GameMode game = GameMode::MiniLoto;
    std::vector<int> axis;      // in every combination; at most K
    std::vector<int> together;  // fill the remaining places
    bool rSystem = false;
    ArrangeMode arrange = ArrangeMode::Random;  // only with the R system
    // Without the R system, when given and active: only combinations that
    // pass it are listed, the others counted in BuildResult::excluded. The
    // R system ignores it (its guarantee needs every ticket it keeps).
    const CombinationFilter* filter = nullptr;
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
    std::size_t excluded = 0;    // failed the filter (enumerated, never listed)
    std::size_t kept = 0;        // listed now or found listed already
    // R system: neighbours of kept combinations marked as ruled out. Only
    // neighbours still to be enumerated are marked (see the builder), so
    // this is about half of K × candidates per kept combination.
    std::int64_t neighbourMarks = 0;
    // R system: the proven least number of tickets for the candidates
    // (guaranteeLowerBound), and for the fewest-tickets order the
    // combinations no ticket can reach (past winners among past winners).
    std::int64_t lowerBound = 0;
    std::int64_t unreachable = 0;
};

// "79,342 組（下限 31,264 組）" after an R-system build: the combinations it
// kept (new lines and lines it found already listed) and the bound; empty
// for a build without the R system or one that did not run to the end.
std::string rSystemResultLine(const BuildRequest& request, const BuildResult& result);

// Runs a build into list. Past winners (pastWinners) are skipped silently.
// With the fewest-tickets order the list's tickets count as held: only what
// they leave uncovered is added, the listed combinations of the candidates
// go to the duplicate list once, past winners are covered but never added,
// the new lines come in ascending order, and a stop adds nothing.
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
