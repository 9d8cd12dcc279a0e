#include "io/clipboard_text.h"

#include <algorithm>

#include "io/combination_file.h"

namespace tambor {

ListMenuState listMenuState(ListBoxKind target, bool busy, std::size_t selectedCount, bool clipboardHasText,
                            bool canUndo) {
    ListMenuState state;
    if (busy) return state;
    state.copy.visible = true;
    state.selectAll.visible = true;
    state.cut.visible = target == ListBoxKind::Pick || target == ListBoxKind::Duplicate;
    state.paste.visible = target == ListBoxKind::Pick;
    state.cut.enabled = selectedCount > 0;
    state.copy.enabled = selectedCount > 0;
    state.paste.enabled = clipboardHasText;
    state.selectAll.enabled = true;
    state.remove = state.cut;
    state.undo = {state.cut.visible, canUndo};
    return state;
}

std::string clipboardText(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string copyLines(const CombinationList& list, ListBoxKind target, std::vector<std::size_t> selected) {
    if (target != ListBoxKind::Pick && target != ListBoxKind::Duplicate) return {};
    std::sort(selected.begin(), selected.end());
    selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
    return list.linesText(selected, target == ListBoxKind::Duplicate);
}

std::string cutLines(CombinationList& list, ListBoxKind target, std::vector<std::size_t> selected) {
    std::string text = copyLines(list, target, selected);
    if (target == ListBoxKind::Pick) {
        list.removeItems(std::move(selected));
        list.setChanged(true);
    } else if (target == ListBoxKind::Duplicate) {
        list.removeDuplicates(std::move(selected));
    }
    return text;
}

PasteResult pasteText(CombinationList& list, std::optional<std::size_t> focused, std::string_view text,
                      const ProgressCallback& progress) {
    const std::size_t before = list.size();
    const std::size_t position = std::min(focused.value_or(before), before);
    std::size_t lineCount = 0;
    forEachLine(text, [&](std::string_view) { ++lineCount; });
    PasteResult result;
    PercentProgress report(progress);
    std::size_t done = 0;
    // Scan line by line, appending the new combinations at the end; then move
    // the appended block before the focused item in one rotation. The sets
    // decide listed / duplicate exactly as inserting one by one would.
    forEachLine(text, [&](std::string_view line) {
        if (!result.completed) return;
        result.listed += list.appendText(line, &result.found);
        if (!report.report(++done, lineCount)) result.completed = false;
    });
    auto& items = list.mutableItems();
    std::rotate(items.begin() + static_cast<std::ptrdiff_t>(position),
                items.begin() + static_cast<std::ptrdiff_t>(before), items.end());
    result.position = position + result.listed;
    return result;
}

}  // namespace tambor
