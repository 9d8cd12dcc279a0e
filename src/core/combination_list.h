#pragma once
// The working document: the combination list without repeats, and beside it
// the list of combinations that were produced again (each shown once).
// Lines are kept as indices and formatted only when shown, saved or copied.

#include <string>
#include <string_view>
#include <vector>

#include "core/combination_set.h"

namespace tambor {

enum class AddOutcome { Listed, Duplicate, Dropped };

// The list as it stood at one moment: both lists' indices and the changed
// flag. Their sets are not kept: they are exactly the indices, and are
// rebuilt from them when the snapshot is put back.
struct ListSnapshot {
    GameMode mode = GameMode::MiniLoto;
    std::vector<CombinationIndex> items;
    std::vector<CombinationIndex> duplicates;
    bool changed = false;
};

class CombinationList {
public:
    explicit CombinationList(GameMode mode = GameMode::MiniLoto) : mode_(mode) {}

    GameMode mode() const { return mode_; }
    // Empties both lists and their sets (the game switch calls this too).
    void reset(GameMode mode);

    const std::vector<CombinationIndex>& items() const { return items_; }
    const std::vector<CombinationIndex>& duplicates() const { return duplicates_; }
    std::vector<CombinationIndex>& mutableItems() { return items_; }
    std::size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }

    const CombinationSet& listedSet() const { return listed_; }
    const CombinationSet& duplicateSet() const { return duplicateSet_; }
    CombinationSet& listedSet() { return listed_; }

    // Lists a new combination, or records it once as a duplicate.
    AddOutcome append(const Combination& c) { return appendIndex(RankCombination(mode_, c)); }
    AddOutcome appendIndex(CombinationIndex index);
    // Shows a combination in the duplicate list (once) without listing it:
    // the random draw's past winners. Returns Duplicate or Dropped.
    AddOutcome appendDuplicateIndex(CombinationIndex index);

    // Removes the listed line at position and clears its bit.
    void removeAt(std::size_t position);
    // Removes the duplicate line at position and clears its bit.
    void removeDuplicateAt(std::size_t position);
    // Removes listed lines by position (any order, repeats ignored).
    void removeItems(std::vector<std::size_t> positions);
    void removeDuplicates(std::vector<std::size_t> positions);

    void clear();            // both lists and sets, and the changed flag
    void clearDuplicates();  // the duplicate list and its set only

    // Scans text and appends what it finds; returns how many were listed.
    // found, when given, grows by every combination the text holds (listed
    // or not).
    std::size_t appendText(std::string_view text, std::size_t* found = nullptr);

    // A copy of both lists and the changed flag, and putting one back (the
    // sets rebuilt from the lines). A snapshot of another game is ignored.
    ListSnapshot snapshot() const { return {mode_, items_, duplicates_, changed_}; }
    void restore(ListSnapshot snapshot);

    Combination combinationAt(std::size_t position) const { return UnrankCombination(mode_, items_[position]); }
    std::string lineAt(std::size_t position) const { return FormatCombinationLine(combinationAt(position)); }
    std::string duplicateLineAt(std::size_t position) const {
        return FormatCombinationLine(UnrankCombination(mode_, duplicates_[position]));
    }
    // Every line followed by CR LF (clipboard and file text).
    std::string linesText(const std::vector<std::size_t>& positions, bool fromDuplicates = false) const;

    // The list differs from what was last loaded or saved.
    bool changed() const { return changed_; }
    void setChanged(bool changed) { changed_ = changed; }

private:
    GameMode mode_;
    std::vector<CombinationIndex> items_;
    std::vector<CombinationIndex> duplicates_;
    CombinationSet listed_;
    CombinationSet duplicateSet_;
    bool changed_ = false;
};

}  // namespace tambor
