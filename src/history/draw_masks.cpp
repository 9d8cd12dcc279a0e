#include "history/draw_masks.h"

#include <array>

#include "history/history_store.h"

namespace tambor {

std::vector<std::uint64_t> historyDrawMasks(const HistoryStore& history) {
    const std::vector<std::string_view> lines = history.sectionLines();
    std::vector<std::uint64_t> masks;
    masks.reserve(lines.size());
    std::array<int, kMaxPick> mains{};
    for (std::string_view line : lines) {
        int count = 0;
        int bonuses[kMaxBonus];
        int bonusCount = 0;
        HistoryStore::readDrawNumbers(history.mode(), line, mains.data(), count, bonuses, bonusCount);
        std::uint64_t mask = 0;
        for (int i = 0; i < count; ++i) mask |= std::uint64_t{1} << (mains[static_cast<std::size_t>(i)] - 1);
        masks.push_back(mask);
    }
    return masks;
}

}  // namespace tambor
