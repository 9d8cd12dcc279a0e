#include <gtest/gtest.h>

#include "io/clipboard_text.h"

using namespace tambor;

namespace {

CombinationList listOf(std::initializer_list<std::initializer_list<int>> combinations) {
    CombinationList list(GameMode::MiniLoto);
    for (auto numbers : combinations) list.append(makeCombination(numbers));
    return list;
}

std::vector<std::string> lines(const CombinationList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.size(); ++i) out.push_back(list.lineAt(i));
    return out;
}

}  // namespace

struct MenuRow {
    const char* name;
    ListBoxKind target;
    bool busy;
    std::size_t selected;
    bool clipboardHasText;
    ListMenuState expected;
};

class ListMenu : public ::testing::TestWithParam<MenuRow> {};

TEST_P(ListMenu, VisibleAndEnabledItems) {
    const MenuRow& row = GetParam();
    EXPECT_EQ(listMenuState(row.target, row.busy, row.selected, row.clipboardHasText), row.expected);
}

constexpr MenuItemState kOn{true, true}, kShownOff{true, false}, kHidden{false, false}, kHiddenOn{false, true};

INSTANTIATE_TEST_SUITE_P(
    Clipboard, ListMenu,
    ::testing::Values(MenuRow{"pick_selected_text", ListBoxKind::Pick, false, 3, true, {kOn, kOn, kOn, kOn, kOn, kShownOff}},
                      MenuRow{"pick_nothing_selected", ListBoxKind::Pick, false, 0, false,
                              {kShownOff, kShownOff, kShownOff, kOn, kShownOff, kShownOff}},
                      MenuRow{"duplicates_no_paste", ListBoxKind::Duplicate, false, 1, true,
                              {kOn, kOn, kHiddenOn, kOn, kOn, kShownOff}},
                      MenuRow{"search_copy_and_select_all", ListBoxKind::Search, false, 1, true,
                              {kHiddenOn, kOn, kHiddenOn, kOn, kHiddenOn, kHidden}},
                      MenuRow{"result_copy_and_select_all", ListBoxKind::Result, false, 0, false,
                              {kHidden, kShownOff, kHidden, kOn, kHidden, kHidden}},
                      MenuRow{"busy_shows_nothing", ListBoxKind::Pick, true, 3, true,
                              {kHidden, kHidden, kHidden, kHidden, kHidden, kHidden}}),
    [](const auto& row) { return std::string(row.param.name); });

// Undo is enabled by a step to undo, in the two lists it puts back.
TEST(Clipboard, UndoItem) {
    EXPECT_EQ(listMenuState(ListBoxKind::Pick, false, 0, false, true).undo, (MenuItemState{true, true}));
    EXPECT_EQ(listMenuState(ListBoxKind::Duplicate, false, 0, false, true).undo, (MenuItemState{true, true}));
    EXPECT_FALSE(listMenuState(ListBoxKind::Search, false, 1, true, true).undo.visible);
    EXPECT_EQ(listMenuState(ListBoxKind::Pick, true, 2, true, true).undo, (MenuItemState{}));
}

TEST(Clipboard, CopyIsInListOrderWithCrLf) {
    const CombinationList list = listOf({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}, {1, 2, 3, 4, 6}});
    EXPECT_EQ(copyLines(list, ListBoxKind::Pick, {3, 0, 2}),
              "  1, 2, 3, 4, 5\r\n 11,12,13,14,15\r\n  1, 2, 3, 4, 6\r\n");
    EXPECT_EQ(clipboardText({"a", "b"}), "a\r\nb\r\n");
}

TEST(Clipboard, CutAllThenPasteRestoresTheOrder) {
    CombinationList list = listOf({{9, 10, 11, 12, 13}, {1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
    const auto before = lines(list);
    const std::string text = cutLines(list, ListBoxKind::Pick, {0, 1, 2});
    EXPECT_TRUE(list.empty());
    EXPECT_TRUE(list.changed());
    list.setChanged(false);
    const PasteResult pasted = pasteText(list, std::nullopt, text);
    EXPECT_EQ(pasted.listed, 3u);
    EXPECT_EQ(lines(list), before);
    EXPECT_TRUE(list.changed());
}

TEST(Clipboard, CutFromDuplicatesTouchesOnlyDuplicates) {
    CombinationList list = listOf({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}});
    list.append(makeCombination({1, 2, 3, 4, 5}));
    list.append(makeCombination({6, 7, 8, 9, 10}));
    ASSERT_EQ(list.duplicates().size(), 2u);
    const std::string text = cutLines(list, ListBoxKind::Duplicate, {1});
    EXPECT_EQ(text, "  6, 7, 8, 9,10\r\n");
    EXPECT_EQ(list.duplicates().size(), 1u);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_FALSE(list.changed());
    // The bit went with the line: producing it again shows it again.
    list.append(makeCombination({6, 7, 8, 9, 10}));
    EXPECT_EQ(list.duplicates().size(), 2u);
}

TEST(Clipboard, PasteBeforeTheFocusedItemInClipboardOrder) {
    CombinationList list = listOf({{1, 2, 3, 4, 5}, {1, 2, 3, 4, 6}, {1, 2, 3, 4, 7}, {1, 2, 3, 4, 8}});
    const PasteResult r = pasteText(list, 2, "20,21,22,23,24\r\n10 11 12 13 14\n");
    EXPECT_EQ(r.listed, 2u);
    EXPECT_EQ(r.position, 4u);
    EXPECT_EQ(lines(list), (std::vector<std::string>{"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6", " 20,21,22,23,24",
                                                     " 10,11,12,13,14", "  1, 2, 3, 4, 7", "  1, 2, 3, 4, 8"}));
}

TEST(Clipboard, PasteTextLayoutLineAndDuplicates) {
    CombinationList list = listOf({{1, 2, 3, 4, 5}});
    list.setChanged(false);
    const std::string line = "  1, 2, 3, 4, 5   ||  6, 7, 8, 9,10   || 11,12,13,14,15   || 16,17,18,19,20   || 21,22,23,24,25\r\n";
    const PasteResult r = pasteText(list, 0, line + line);
    EXPECT_EQ(r.listed, 4u);
    EXPECT_EQ(list.size(), 5u);
    EXPECT_EQ(list.lineAt(0), "  6, 7, 8, 9,10");
    EXPECT_EQ(list.lineAt(4), "  1, 2, 3, 4, 5");
    EXPECT_EQ(list.duplicates().size(), 5u);  // each repeat once
}

TEST(Clipboard, PasteWithoutCombinationsChangesNothing) {
    CombinationList list = listOf({{1, 2, 3, 4, 5}});
    list.setChanged(false);
    EXPECT_EQ(pasteText(list, 0, "こんにちは\r\n1,2,3,\r\n4,5").listed, 0u);  // lines are scanned one by one
    EXPECT_EQ(list.size(), 1u);
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(pasteText(list, 99, "").listed, 0u);
}
