#include "generate/list_sort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace tambor {
namespace {

// A line in its fixed-width text form. Lines hold only blanks, digits and
// commas, so comparing bytes is the case-insensitive text order, and
// because the numbers are right-aligned in fixed places it is also the
// order of the combinations.
struct TextLine {
    std::array<char, 20> text;
    CombinationIndex index;
};

bool sortAsText(CombinationList& list, const ProgressCallback& progress) {
    const auto& items = list.items();
    const GameMode mode = list.mode();
    std::vector<TextLine> lines(items.size());
    ProgressTicker ticker(progress, static_cast<std::int64_t>(items.size()));
    for (std::size_t i = 0; i < items.size(); ++i) {
        TextLine& line = lines[i];
        line.text.fill('\0');
        formatCombinationLineTo(UnrankCombination(mode, items[i]), line.text.data());
        line.index = items[i];
        if (!ticker.step()) return false;
    }
    const auto less = [](const TextLine& a, const TextLine& b) {
        return std::memcmp(a.text.data(), b.text.data(), a.text.size()) < 0;
    };
    std::sort(lines.begin(), lines.end(), less);
    // A line equal to one already taken is taken once.
    const auto last = std::unique(lines.begin(), lines.end(), [](const TextLine& a, const TextLine& b) {
        return std::memcmp(a.text.data(), b.text.data(), a.text.size()) == 0;
    });
    std::vector<CombinationIndex> sorted;
    sorted.reserve(static_cast<std::size_t>(last - lines.begin()));
    for (auto it = lines.begin(); it != last; ++it) sorted.push_back(it->index);
    list.mutableItems() = std::move(sorted);
    return true;
}

bool sortByIndexWalk(CombinationList& list, const ProgressCallback& progress) {
    const std::int32_t total = rulesFor(list.mode()).combinationCount;
    const auto& bytes = list.listedSet().bytes();
    std::vector<CombinationIndex> sorted;
    sorted.reserve(list.size());
    // Whole blocks of 1,000 indices (125 bytes) between progress calls.
    constexpr std::int32_t kBlock = 1000;
    for (std::int32_t blockStart = 0; blockStart < total; blockStart += kBlock) {
        const std::int32_t blockEnd = std::min(blockStart + kBlock, total);
        for (std::int32_t byte = blockStart >> 3; byte < (blockEnd + 7) >> 3; ++byte) {
            unsigned bits = bytes[static_cast<std::size_t>(byte)];
            while (bits != 0) {
                const CombinationIndex index = byte * 8 + std::countr_zero(bits);
                bits &= bits - 1;
                if (index >= blockEnd) break;
                sorted.push_back(index);
            }
        }
        if (progress) {
            const std::int64_t percent = std::min<std::int64_t>(100, (std::int64_t{blockEnd} + 1) * 100 / total);
            if (!progress(static_cast<int>(percent))) return false;
        }
    }
    list.mutableItems() = std::move(sorted);
    return true;
}

}  // namespace

std::size_t sortThreshold(GameMode mode) { return rulesFor(mode).sortThreshold; }

SortMethod chooseSortMethod(GameMode mode, std::size_t lines) {
    return lines > sortThreshold(mode) ? SortMethod::IndexWalk : SortMethod::Text;
}

bool SortCombinationList(CombinationList& list, const ProgressCallback& progress) {
    return SortCombinationList(list, chooseSortMethod(list.mode(), list.size()), progress);
}

bool SortCombinationList(CombinationList& list, SortMethod method, const ProgressCallback& progress) {
    if (list.empty()) return false;
    const bool done = method == SortMethod::IndexWalk ? sortByIndexWalk(list, progress) : sortAsText(list, progress);
    if (done) list.setChanged(true);
    return done;
}

}  // namespace tambor
