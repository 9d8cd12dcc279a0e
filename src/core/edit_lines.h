#pragma once
// The grid editor's working lines: one row per line of the combination
// list, each held as the bit mask of the numbers selected in it (bit n - 1
// for number n), 8 bytes a row however long the list is. A row holding all
// of the game's numbers is a combination; any other row is a "削除行" line,
// which the edit drops when it is applied. The combinations of the complete
// rows are kept in a set the caller lends for the length of the edit (the
// session's scratch set), so no two complete rows can ever be equal.

#include <cstdint>
#include <string>
#include <vector>

#include "core/combination_list.h"
#include "core/progress.h"

namespace tambor {

// The working line of a row that holds no complete combination.
inline constexpr const char* kDeletedRowLine = "削除行";

enum class ToggleOutcome {
    Selected,              // the number was added to the row
    Deselected,            // the number was taken from the row
    TooManyNumbers,        // the row already holds a whole combination: nothing changed
    DuplicateCombination,  // another row holds the combination it would complete: nothing changed
    Ignored,               // no such row or number
};

class EditLines {
public:
    using Mask = std::uint64_t;

    // Takes the lines of list, in order, and copies its set into scratch,
    // which then belongs to the edit until release(). The modified flag is
    // cleared. A stop (progress answering false) leaves nothing loaded.
    bool load(const CombinationList& list, CombinationSet& scratch, const ProgressCallback& progress = {});
    // Frees the lines and gives the scratch set back.
    void release();
    bool loaded() const { return scratch_ != nullptr; }

    GameMode mode() const { return mode_; }
    int pickCount() const { return pickCount_; }
    int maxNumber() const { return maxNumber_; }
    std::size_t size() const { return rows_.size(); }

    Mask mask(std::size_t row) const { return rows_[row]; }
    bool selected(std::size_t row, int number) const { return (rows_[row] >> (number - 1)) & 1u; }
    bool complete(std::size_t row) const;
    // The row's working line: its combination line, or "削除行".
    std::string lineAt(std::size_t row) const;

    // A double-click on number in row: selects it or deselects it by the
    // editor's rules. A refusal changes nothing; every change sets the
    // modified flag and keeps the set of complete rows in step.
    ToggleOutcome toggle(std::size_t row, int number);

    // Puts the complete rows first in ascending order and leaves every
    // other row empty behind them (an incomplete row's numbers are lost).
    // Sets the modified flag. A stop leaves the rows as they were.
    bool sort(const ProgressCallback& progress = {});

    bool modified() const { return modified_; }
    void setModified(bool modified) { modified_ = modified; }

    // The combinations of the complete rows in row order: the list the edit
    // leaves. progress only shows how far it got; this is never stopped.
    std::vector<CombinationIndex> completeIndices(const ProgressCallback& progress = {}) const;
    // The set of the complete rows' combinations (the lent scratch set).
    const CombinationSet& combinations() const { return *scratch_; }

private:
    GameMode mode_ = GameMode::MiniLoto;
    int pickCount_ = 0;
    int maxNumber_ = 0;
    std::vector<Mask> rows_;
    CombinationSet* scratch_ = nullptr;
    bool modified_ = false;
};

// The numbers of a combination as a mask (bit n - 1 for number n).
EditLines::Mask combinationMask(const Combination& c);

}  // namespace tambor
