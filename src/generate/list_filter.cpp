#include "generate/list_filter.h"

#include <stdexcept>
#include <vector>

namespace tambor {

NarrowResult NarrowCombinationList(CombinationList& list, const CombinationFilter& filter,
                                   const ProgressCallback& progress) {
    if (filter.mode() != list.mode()) throw std::invalid_argument("filter of another game");
    NarrowResult result;
    const std::vector<CombinationIndex>& items = list.items();
    // First decide, then change: a stop half-way must leave the list whole.
    std::vector<CombinationIndex> kept;
    kept.reserve(items.size());
    ProgressTicker ticker(progress, static_cast<std::int64_t>(items.size()), false);
    for (CombinationIndex index : items) {
        std::uint64_t mask = 0;
        for (int v : UnrankCombination(list.mode(), index)) mask |= std::uint64_t{1} << (v - 1);
        if (filter.passes(mask)) kept.push_back(index);
        if (!ticker.step()) {
            result.completed = false;
            return result;
        }
    }
    result.removed = items.size() - kept.size();
    if (result.removed == 0) return result;
    CombinationSet& listed = list.listedSet();
    // kept is a subsequence of the (repeat-free) items: what it skips goes.
    std::size_t next = 0;
    for (CombinationIndex index : items) {
        if (next < kept.size() && kept[next] == index)
            ++next;
        else
            listed.remove(index);
    }
    list.mutableItems() = std::move(kept);
    list.setChanged(true);
    return result;
}

}  // namespace tambor
