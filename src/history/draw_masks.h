#pragma once
// The draws of the history's current game as bit masks of their main
// numbers (bit v - 1 for v), in draw order: the form the filters and the
// number analysis count with.

#include <cstdint>
#include <vector>

namespace tambor {

class HistoryStore;

// One mask per data line of the current game's section, read as the prize
// check reads a draw (a line that holds fewer main numbers gives fewer
// bits; one without any gives 0).
std::vector<std::uint64_t> historyDrawMasks(const HistoryStore& history);

}  // namespace tambor
