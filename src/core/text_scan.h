#pragma once
// Finds combinations in any text: numbers separated by commas or blanks,
// other characters skipped, a digit right after a number restarting.

#include <functional>
#include <string_view>

#include "core/combination.h"

namespace tambor {

// Calls found(c) for each complete combination, numbers sorted ascending.
// The text is UTF-8 or cp932: bytes >= 0x80 are never digits or delimiters.
void scanCombinations(GameMode mode, std::string_view text,
                      const std::function<void(const Combination&)>& found);

// Whether the scan uses every number of text: each run of ASCII digits ends
// up in a complete combination of the game. A line of whole combinations
// (one, or five in the text layout) passes, as does a line without digits;
// a ロト６ line read as ミニロト, a number out of range or a short line fails.
bool isWholeCombinationText(GameMode mode, std::string_view text);

}  // namespace tambor
