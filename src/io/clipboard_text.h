#pragma once
// Cut, copy and paste of list lines as clipboard text, and the rules of the
// list pop-up menu, without any widget: the window passes in what it shows
// and puts the returned text on the clipboard.
//
// Clipboard text is UTF-8 inside the program: every line followed by CR LF.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination_list.h"
#include "core/progress.h"

namespace tambor {

// The four list boxes sharing the pop-up menu.
enum class ListBoxKind {
    Pick,       // the combination list
    Duplicate,  // the duplicate list
    Search,     // winning combinations found by the prize check
    Result,     // the random draw's weighting report
};

struct MenuItemState {
    bool visible = false;
    bool enabled = false;
    bool operator==(const MenuItemState&) const = default;
};

struct ListMenuState {
    MenuItemState cut, copy, paste, selectAll;
    MenuItemState remove;  // delete: as cut, without the clipboard
    MenuItemState undo;
    bool operator==(const ListMenuState&) const = default;
};

// Which items the pop-up menu shows and enables for the target list box.
// While busy (the wait window is visible) nothing is shown. Otherwise copy
// and select all are shown everywhere, cut for the combination and duplicate
// lists, paste for the combination list only; cut and copy are enabled with
// a selection, paste when the clipboard holds text, select all always.
// Delete goes with cut. Undo shows with the two lists it puts back (the
// combination and duplicate lists), enabled when there is a step to undo.
// The shortcut keys run a command only when it is visible and enabled here.
ListMenuState listMenuState(ListBoxKind target, bool busy, std::size_t selectedCount, bool clipboardHasText,
                            bool canUndo = false);

// Lines joined for the clipboard, each followed by CR LF (for the lists that
// hold other text than combinations).
std::string clipboardText(const std::vector<std::string>& lines);

// The selected lines of the combination list (or of the duplicate list), in
// list order whatever the order of selection, each followed by CR LF.
std::string copyLines(const CombinationList& list, ListBoxKind target, std::vector<std::size_t> selected);

// Removes the selected lines and returns their text as copyLines does.
// From the combination list: the changed flag is set. From the duplicate
// list: only the duplicates and their set change. Other targets: nothing
// is removed and the text is empty.
std::string cutLines(CombinationList& list, ListBoxKind target, std::vector<std::size_t> selected);

struct PasteResult {
    std::size_t listed = 0;     // combinations inserted into the list
    std::size_t found = 0;      // combinations the text holds, listed already or not
    std::size_t position = 0;   // the position after the last inserted line
    bool completed = true;      // false when the progress callback stopped the paste
};

// Inserts the combinations found in text before `focused` (the end of the
// list when there is no focused item or it lies beyond the end), keeping
// their order. Each line (ending at CR, LF or CR LF) is scanned on its own;
// combinations already listed go once to the duplicate list. The changed
// flag is set when something was inserted. progress gets 0..100 when the
// value changes; a stop keeps the lines inserted so far, in their place.
PasteResult pasteText(CombinationList& list, std::optional<std::size_t> focused, std::string_view text,
                      const ProgressCallback& progress = {});

}  // namespace tambor
