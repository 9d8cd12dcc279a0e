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

AddOutcome CombinationList::insertAt(std::size_t& position, const Combination& c) {
    const CombinationIndex index = RankCombination(mode_, c);
    if (!listed_.add(index)) {
        position = std::min(position, items_.size());
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), index);
        ++position;
        return AddOutcome::Listed;
    }
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

std::size_t CombinationList::appendText(std::string_view text) {
    std::size_t listed = 0;
    scanCombinations(mode_, text, [&](const Combination& c) {
        if (append(c) == AddOutcome::Listed) ++listed;
    });
    if (listed > 0) changed_ = true;
    return listed;
}

namespace {

// Calls scan(line) for each line of text ending at CR, LF or CR LF.
template <typename Scan>
void forEachLine(std::string_view text, Scan scan) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        scan(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ++end;
        start = end + 1;
    }
}

}  // namespace

std::size_t CombinationList::insertText(std::size_t& position, std::string_view text) {
    return insertScanned(position, [&](const auto& visit) { scanCombinations(mode_, text, visit); });
}

std::size_t CombinationList::insertLines(std::size_t& position, std::string_view text) {
    return insertScanned(position, [&](const auto& visit) {
        forEachLine(text, [&](std::string_view line) { scanCombinations(mode_, line, visit); });
    });
}

template <typename Scanner>
std::size_t CombinationList::insertScanned(std::size_t& position, Scanner scanner) {
    // Collect the new lines first and splice them in once, so pasting many
    // lines into the middle of a long list stays linear.
    std::vector<CombinationIndex> added;
    const std::function<void(const Combination&)> visit = [&](const Combination& c) {
        const CombinationIndex index = RankCombination(mode_, c);
        if (!listed_.add(index)) {
            added.push_back(index);
        } else if (!duplicateSet_.add(index)) {
            duplicates_.push_back(index);
        }
    };
    scanner(visit);
    position = std::min(position, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), added.begin(), added.end());
    position += added.size();
    if (!added.empty()) changed_ = true;
    return added.size();
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
