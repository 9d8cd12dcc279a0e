#include "core/edit_lines.h"

#include <algorithm>
#include <bit>

namespace tambor {
namespace {

// Lexicographic order of two combinations with the same number count, as
// masks: the one holding the lowest number where they differ comes first.
bool lexicographicLess(EditLines::Mask a, EditLines::Mask b) {
    const EditLines::Mask differ = a ^ b;
    return (a & differ & (~differ + 1)) != 0;
}

}  // namespace

EditLines::Mask combinationMask(const Combination& c) {
    EditLines::Mask mask = 0;
    for (int n : c) mask |= EditLines::Mask{1} << (n - 1);
    return mask;
}

bool EditLines::load(const CombinationList& list, CombinationSet& scratch, const ProgressCallback& progress) {
    release();
    const GameRules rules = rulesFor(list.mode());
    const std::vector<CombinationIndex>& items = list.items();
    std::vector<Mask> rows(items.size());
    ProgressTicker ticker(progress, static_cast<std::int64_t>(items.size()));
    for (std::size_t r = 0; r < items.size(); ++r) {
        rows[r] = combinationMask(UnrankCombination(list.mode(), items[r]));
        if (!ticker.step()) return false;
    }
    mode_ = list.mode();
    pickCount_ = rules.pickCount;
    maxNumber_ = rules.maxNumber;
    rows_ = std::move(rows);
    scratch = list.listedSet();
    scratch_ = &scratch;
    modified_ = false;
    return true;
}

void EditLines::release() {
    rows_.clear();
    rows_.shrink_to_fit();
    scratch_ = nullptr;
    modified_ = false;
}

bool EditLines::complete(std::size_t row) const { return std::popcount(rows_[row]) == pickCount_; }

std::string EditLines::lineAt(std::size_t row) const {
    if (!complete(row)) return kDeletedRowLine;
    return FormatCombinationLine(UnrankCombination(mode_, RankTable::of(mode_).rankMask(rows_[row])));
}

ToggleOutcome EditLines::toggle(std::size_t row, int number) {
    if (!loaded() || row >= rows_.size() || number < 1 || number > maxNumber_) return ToggleOutcome::Ignored;
    Mask& mask = rows_[row];
    const Mask bit = Mask{1} << (number - 1);
    const int count = std::popcount(mask);
    const RankTable& table = RankTable::of(mode_);
    if ((mask & bit) == 0) {
        if (count >= pickCount_) return ToggleOutcome::TooManyNumbers;
        // Completing the row: its combination must not be another row's.
        if (count + 1 == pickCount_ && scratch_->add(table.rankMask(mask | bit)))
            return ToggleOutcome::DuplicateCombination;
        mask |= bit;
        modified_ = true;
        return ToggleOutcome::Selected;
    }
    if (count >= pickCount_) scratch_->remove(table.rankMask(mask));
    mask &= ~bit;
    modified_ = true;
    return ToggleOutcome::Deselected;
}

bool EditLines::sort(const ProgressCallback& progress) {
    if (rows_.empty()) return true;
    // One unit per line taken, two per row refilled.
    ProgressTicker ticker(progress, 3 * static_cast<std::int64_t>(rows_.size()));
    std::vector<Mask> sorted;
    sorted.reserve(rows_.size());
    for (const Mask mask : rows_) {
        if (std::popcount(mask) == pickCount_) sorted.push_back(mask);
        if (!ticker.step()) return false;
    }
    std::sort(sorted.begin(), sorted.end(), lexicographicLess);
    // Refilling: the combinations, then the rows that held none, empty.
    const std::size_t combinations = sorted.size();
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        if (r >= combinations) sorted.push_back(0);
        if (!ticker.step() || !ticker.step()) return false;
    }
    rows_ = std::move(sorted);
    modified_ = true;
    return true;
}

std::vector<CombinationIndex> EditLines::completeIndices(const ProgressCallback& progress) const {
    std::vector<CombinationIndex> indices;
    if (!loaded()) return indices;
    const RankTable& table = RankTable::of(mode_);
    std::size_t completeRows = 0;
    for (const Mask mask : rows_) completeRows += std::popcount(mask) == pickCount_ ? 1 : 0;
    indices.reserve(completeRows);
    // The gauge moves as lines are examined; the answer is not read, since
    // a half-applied edit would be worse than a finished one.
    ProgressCallback show;
    if (progress)
        show = [&progress](int percent) {
            progress(percent);
            return true;
        };
    ProgressTicker ticker(show, static_cast<std::int64_t>(rows_.size()));
    for (const Mask mask : rows_) {
        if (std::popcount(mask) == pickCount_) indices.push_back(table.rankMask(mask));
        ticker.step();
    }
    return indices;
}

}  // namespace tambor
