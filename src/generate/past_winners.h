#pragma once
// Past-winner removal: the first- and second-prize combinations of every
// past draw of the current game, which the generators never add to the
// combination list while the option is on.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination_set.h"

namespace tambor {

// The combinations one history data line gives ("第  1回(H11. 4.13)=
// 01,03,17,20,25,26" in ミニロト): after the first "=", K main numbers and
// the bonus separated by ","; every choice of K of those K + 1 numbers, the
// main numbers first. A choice with a number outside 1..N, missing or
// repeated is left out, so a line without a bonus still gives its first
// prize and a line without "=" gives nothing.
std::vector<Combination> pastWinnerCombinations(GameMode mode, std::string_view line);

// Adds the combinations of every line of the game's history section (the
// lines after its header, up to the first empty line) to set.
void addPastWinners(GameMode mode, std::span<const std::string_view> sectionLines, CombinationSet& set);

// The option's effect: clears set, then fills it when enabled. The session
// calls this when the option changes and after every game switch, so the
// set always holds the current game's winners.
void RebuildPastWinnerSet(CombinationSet& set, bool enabled, GameMode mode, std::span<const std::string_view> sectionLines);

}  // namespace tambor
