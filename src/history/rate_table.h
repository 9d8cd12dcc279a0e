#pragma once
// The pair-rate table: every number ranked by its hit count and, for each,
// its partners ranked by how often they were drawn together with it, as the
// texts of the statistics window's grid.

#include <string>
#include <vector>

#include "core/game.h"
#include "history/history_store.h"

namespace tambor {

// Numbers 1..N ordered by hit count descending, equal counts smaller number first.
std::vector<int> rankNumbers(const HitCountTable& hits, GameMode mode);

// The N - 1 other numbers of 1..N ordered as number's partners: pair count
// with number descending, then hit count descending, then smaller first.
std::vector<int> partnerOrder(const HitCountTable& hits, const PairCountTable& pairs, GameMode mode, int number);

// Pair count of number and partner × 100 / hit count of number, truncated;
// 0 when number was never drawn.
int pairRate(const HitCountTable& hits, const PairCountTable& pairs, int number, int partner);

// The (N + 1) × (N + 1) cell texts, rows first:
//   row 0:    "出目ランキング", "当選数字・回数", "連対率1位" .. "連対率{N-1}位"
//   row r:    "第{r}位", "%2d (%3d回)" number and hit count,
//             then "%2d (%3d%)" partner and pair rate for partner ranks 1..N-1.
using RateTableCells = std::vector<std::vector<std::string>>;
RateTableCells buildRateTable(const HitCountTable& hits, const PairCountTable& pairs, GameMode mode);
// The same from the store's statistics (which must be of mode).
RateTableCells buildRateTable(const HistoryStore& history, GameMode mode);

}  // namespace tambor
