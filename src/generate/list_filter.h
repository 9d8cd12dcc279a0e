#pragma once
// "一覧を絞り込む": keeps the listed combinations that pass the filter.

#include <cstddef>

#include "core/combination_list.h"
#include "core/progress.h"
#include "generate/combination_filter.h"

namespace tambor {

struct NarrowResult {
    bool completed = true;  // false when the progress callback stopped it
    std::size_t removed = 0;
};

// Removes from the list (not the duplicate list) every combination that
// fails the filter, keeping the order of the rest; their bits leave the
// listed set. A stop leaves the list as it was. Marks the list changed
// when a line was removed. Throws std::invalid_argument for a filter of
// another game.
NarrowResult NarrowCombinationList(CombinationList& list, const CombinationFilter& filter,
                                   const ProgressCallback& progress = {});

}  // namespace tambor
