#pragma once
// Sorting the combination list into ascending order of the combinations
// (first number, then the second, ...), which is ascending index order.
// A small list is sorted as text; a large one is rebuilt by walking every
// index of the game and taking those in the listed set. Both give the
// same order.

#include <cstddef>

#include "core/combination_list.h"
#include "core/progress.h"

namespace tambor {

enum class SortMethod { Text, IndexWalk };

// Lists with more lines than this are sorted by the index walk: 3,000
// lines in ミニロト, 30,000 in ロト６.
std::size_t sortThreshold(GameMode mode);
SortMethod chooseSortMethod(GameMode mode, std::size_t lines);

// Sorts the list with the method its size calls for and marks it changed.
// Does nothing and returns false for an empty list, and leaves the list as
// it was when the progress callback stops the sort.
bool SortCombinationList(CombinationList& list, const ProgressCallback& progress = {});
// The same with a given method.
bool SortCombinationList(CombinationList& list, SortMethod method, const ProgressCallback& progress = {});

}  // namespace tambor
