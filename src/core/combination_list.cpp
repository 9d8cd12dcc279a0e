#include "core/combination_list.h"

#include <algorithm>

#include "core/text_scan.h"

namespace tambor {

void CombinationList::reset(GameMode mode) {
    mode_ = mode;
    clear();
}

AddOutcome CombinationList::appendIndex(CombinationIndex index) {
    if (!listed_.add(index)) {
        items_.push_back(index);
        return AddOutcome::Listed;
    }
    if (!duplicateSet_.add(index)) {
        duplicates_.push_back(index);
        return AddOutcome::Duplicate;
    }
    return AddOutcome::Dropped;
}

AddOutcome CombinationList::appendDuplicateIndex(CombinationIndex index) {
    if (!duplicateSet_.add(index)) {
        duplicates_.push_back(index);
        return AddOutcome::Duplicate;
    }
    return AddOutcome::Dropped;
}

void CombinationList::removeAt(std::size_t position) {
    if (position >= items_.size()) return;
    listed_.remove(items_[position]);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
}

void CombinationList::removeDuplicateAt(std::size_t position) {
    if (position >= duplicates_.size()) return;
    duplicateSet_.remove(duplicates_[position]);
    duplicates_.erase(duplicates_.begin() + static_cast<std::ptrdiff_t>(position));
}

namespace {

// Removes the given positions in one pass, clearing each removed bit.
void removePositions(std::vector<CombinationIndex>& lines, CombinationSet& set,
                     std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    std::size_t next = 0, out = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (next < positions.size() && positions[next] == i) {
            set.remove(lines[i]);
            ++next;
            continue;
        }
        lines[out++] = lines[i];
    }
    lines.resize(out);
}

}  // namespace

void CombinationList::removeItems(std::vector<std::size_t> positions) {
    removePositions(items_, listed_, std::move(positions));
}

void CombinationList::removeDuplicates(std::vector<std::size_t> positions) {
    removePositions(duplicates_, duplicateSet_, std::move(positions));
}

void CombinationList::clear() {
    items_.clear();
    items_.shrink_to_fit();
    duplicates_.clear();
    duplicates_.shrink_to_fit();
    listed_.clear();
    duplicateSet_.clear();
    changed_ = false;
}

void CombinationList::clearDuplicates() {
    duplicates_.clear();
    duplicateSet_.clear();
}

std::size_t CombinationList::appendText(std::string_view text, std::size_t* found) {
    std::size_t listed = 0;
    scanCombinations(mode_, text, [&](const Combination& c) {
        if (append(c) == AddOutcome::Listed) ++listed;
        if (found) ++*found;
    });
    if (listed > 0) changed_ = true;
    return listed;
}

void CombinationList::restore(ListSnapshot snapshot) {
    if (snapshot.mode != mode_) return;
    items_ = std::move(snapshot.items);
    duplicates_ = std::move(snapshot.duplicates);
    changed_ = snapshot.changed;
    listed_.clear();
    for (CombinationIndex index : items_) listed_.add(index);
    duplicateSet_.clear();
    for (CombinationIndex index : duplicates_) duplicateSet_.add(index);
}

std::string CombinationList::linesText(const std::vector<std::size_t>& positions, bool fromDuplicates) const {
    const auto& lines = fromDuplicates ? duplicates_ : items_;
    std::string text;
    text.reserve(positions.size() * 20);
    char buf[24];
    for (std::size_t p : positions) {
        if (p >= lines.size()) continue;
        const int len = formatCombinationLineTo(UnrankCombination(mode_, lines[p]), buf);
        text.append(buf, static_cast<std::size_t>(len));
        text += "\r\n";
    }
    return text;
}

}  // namespace tambor
