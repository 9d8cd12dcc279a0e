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

}  // namespace tambor
