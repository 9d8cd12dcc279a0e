// The grid editor's working lines: the select and deselect rules, the sort
// and what an applied edit leaves in the list.

#include <gtest/gtest.h>

#include "core/edit_lines.h"
#include "history_test_support.h"
#include "session/session.h"

namespace tambor {
namespace {

CombinationList listOf(GameMode mode, const char* text) {
    CombinationList list(mode);
    list.appendText(text);
    return list;
}

struct ToggleCase {
    const char* name;
    const char* list;
    std::vector<std::pair<int, int>> clicks;  // (row, number), all but the last accepted
    ToggleOutcome last;
    std::vector<std::string> lines;  // the working lines afterwards
};

class ToggleTest : public ::testing::TestWithParam<ToggleCase> {};

TEST_P(ToggleTest, FollowsTheRules) {
    const ToggleCase& c = GetParam();
    const CombinationList list = listOf(GameMode::MiniLoto, c.list);
    CombinationSet scratch;
    EditLines lines;
    ASSERT_TRUE(lines.load(list, scratch));
    for (std::size_t i = 0; i + 1 < c.clicks.size(); ++i) {
        const ToggleOutcome outcome = lines.toggle(static_cast<std::size_t>(c.clicks[i].first), c.clicks[i].second);
        ASSERT_TRUE(outcome == ToggleOutcome::Selected || outcome == ToggleOutcome::Deselected) << i;
    }
    const bool modifiedBefore = lines.modified();
    const CombinationSet before = scratch;
    const auto [row, number] = c.clicks.back();
    EXPECT_EQ(lines.toggle(static_cast<std::size_t>(row), number), c.last);
    ASSERT_EQ(lines.size(), c.lines.size());
    for (std::size_t r = 0; r < lines.size(); ++r) EXPECT_EQ(lines.lineAt(r), c.lines[r]) << r;
    // The set holds exactly the complete rows.
    CombinationSet expected;
    for (std::size_t r = 0; r < lines.size(); ++r)
        if (lines.complete(r)) expected.add(RankTable::of(GameMode::MiniLoto).rankMask(lines.mask(r)));
    EXPECT_EQ(scratch.bytes(), expected.bytes());
    if (c.last != ToggleOutcome::Selected && c.last != ToggleOutcome::Deselected) {
        EXPECT_EQ(scratch.bytes(), before.bytes());
        EXPECT_EQ(lines.modified(), modifiedBefore);
    } else {
        EXPECT_TRUE(lines.modified());
    }
}

const char* const kTwo = " 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n";

INSTANTIATE_TEST_SUITE_P(EditLines, ToggleTest,
                         ::testing::Values(ToggleCase{"DeselectMakesADeletedRow",
                                                      kTwo,
                                                      {{0, 5}},
                                                      ToggleOutcome::Deselected,
                                                      {"削除行", "  1, 2, 3, 4, 6"}},
                                           ToggleCase{"DeselectAndSelectMakesANewLine",
                                                      kTwo,
                                                      {{0, 5}, {0, 9}},
                                                      ToggleOutcome::Selected,
                                                      {"  1, 2, 3, 4, 9", "  1, 2, 3, 4, 6"}},
                                           ToggleCase{"SelectingIntoAnIncompleteRowKeepsItDeleted",
                                                      kTwo,
                                                      {{0, 5}, {0, 4}, {0, 9}},
                                                      ToggleOutcome::Selected,
                                                      {"削除行", "  1, 2, 3, 4, 6"}},
                                           ToggleCase{"ASixthNumberIsTooMany",
                                                      kTwo,
                                                      {{1, 7}},
                                                      ToggleOutcome::TooManyNumbers,
                                                      {"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6"}},
                                           ToggleCase{"CompletingIntoAnotherRowsCombination",
                                                      kTwo,
                                                      {{1, 6}, {1, 5}},
                                                      ToggleOutcome::DuplicateCombination,
                                                      {"  1, 2, 3, 4, 5", "削除行"}},
                                           ToggleCase{"AFreedCombinationMayBeTakenAgain",
                                                      kTwo,
                                                      {{0, 5}, {1, 6}, {1, 5}},
                                                      ToggleOutcome::Selected,
                                                      {"削除行", "  1, 2, 3, 4, 5"}},
                                           ToggleCase{"ANumberOutsideTheGameIsIgnored",
                                                      kTwo,
                                                      {{0, 32}},
                                                      ToggleOutcome::Ignored,
                                                      {"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6"}},
                                           ToggleCase{"ARowOutsideTheListIsIgnored",
                                                      kTwo,
                                                      {{2, 1}},
                                                      ToggleOutcome::Ignored,
                                                      {"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6"}}),
                         [](const ::testing::TestParamInfo<ToggleCase>& row) { return std::string(row.param.name); });

TEST(EditLines, SortPutsCombinationsFirstAndEmptiesTheOtherRows) {
    const CombinationList list =
        listOf(GameMode::Loto6, " 7, 8, 9,10,11,12\r\n 1, 2, 3, 4, 5, 6\r\n 2, 3, 4, 5, 6, 7\r\n 1, 2, 3, 4, 5,43\r\n");
    CombinationSet scratch;
    EditLines lines;
    ASSERT_TRUE(lines.load(list, scratch));
    // Row 2 keeps K - 2 numbers.
    lines.toggle(2, 7);
    lines.toggle(2, 6);
    lines.setModified(false);
    ASSERT_TRUE(lines.sort());
    EXPECT_TRUE(lines.modified());
    const std::vector<std::string> expected = {"  1, 2, 3, 4, 5, 6", "  1, 2, 3, 4, 5,43", "  7, 8, 9,10,11,12",
                                               "削除行"};
    for (std::size_t r = 0; r < lines.size(); ++r) EXPECT_EQ(lines.lineAt(r), expected[r]) << r;
    EXPECT_EQ(lines.mask(3), 0u);
}

TEST(EditLines, SortOrdersLikeTheListSort) {
    // The game switch writes the history file: into a folder of the test's own.
    history_test::TempFolder folder;
    Session session(folder.path);
    session.switchGame(GameMode::Loto6);
    session.list().appendText(" 1,20,30,40,41,42\r\n 2, 3, 4, 5, 6, 7\r\n 1, 2,30,31,32,33\r\n 1, 2, 3,31,32,43\r\n");
    EditLines lines;
    ASSERT_TRUE(session.beginListEdit(lines));
    ASSERT_TRUE(lines.sort());
    const std::vector<CombinationIndex> edited = lines.completeIndices();
    session.sortList();
    EXPECT_EQ(edited, session.list().items());
}

TEST(EditLines, AStoppedSortOrLoadChangesNothing) {
    std::string text;
    for (int a = 1; a <= 27; ++a)
        for (int b = a + 1; b <= 31; b += 2) text += std::to_string(b) + "," + std::to_string(a) + ",28,29,30\r\n";
    const CombinationList list = listOf(GameMode::MiniLoto, text.c_str());
    ASSERT_GT(list.size(), 100u);
    const ProgressCallback stop = [](int) { return false; };
    CombinationSet scratch;
    EditLines lines;
    EXPECT_FALSE(lines.load(list, scratch, stop));
    EXPECT_FALSE(lines.loaded());
    ASSERT_TRUE(lines.load(list, scratch));
    std::vector<EditLines::Mask> before;
    for (std::size_t r = 0; r < lines.size(); ++r) before.push_back(lines.mask(r));
    EXPECT_FALSE(lines.sort(stop));
    for (std::size_t r = 0; r < lines.size(); ++r) EXPECT_EQ(lines.mask(r), before[r]);
    EXPECT_FALSE(lines.modified());
}

TEST(SessionListEdit, AppliesOnlyModifiedLinesAndLeavesTheDuplicates) {
    Session session;
    session.list().appendText(" 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n 1, 2, 3, 4, 7\r\n 1, 2, 3, 4, 5\r\n");
    session.list().setChanged(false);
    EditLines lines;
    ASSERT_TRUE(session.beginListEdit(lines));
    EXPECT_FALSE(session.endListEdit(lines, true).has(Change::List));  // nothing was changed
    EXPECT_FALSE(session.list().changed());
    EXPECT_FALSE(lines.loaded());

    ASSERT_TRUE(session.beginListEdit(lines));
    lines.toggle(0, 5);  // row 0 dropped
    lines.toggle(2, 7);
    lines.toggle(2, 9);                                     // row 2 becomes 1,2,3,4,9
    EXPECT_FALSE(session.endListEdit(lines, false).any());  // cancelled
    EXPECT_EQ(session.list().size(), 3u);

    ASSERT_TRUE(session.beginListEdit(lines));
    lines.toggle(0, 5);
    lines.toggle(2, 7);
    lines.toggle(2, 9);
    EXPECT_TRUE(session.endListEdit(lines, true).has(Change::List));
    const CombinationList& list = session.list();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.lineAt(0), "  1, 2, 3, 4, 6");
    EXPECT_EQ(list.lineAt(1), "  1, 2, 3, 4, 9");
    EXPECT_TRUE(list.changed());
    CombinationList expected(GameMode::MiniLoto);
    expected.appendText(" 1, 2, 3, 4, 6\r\n 1, 2, 3, 4, 9\r\n");
    EXPECT_EQ(list.listedSet().bytes(), expected.listedSet().bytes());
    EXPECT_EQ(list.duplicates().size(), 1u);  // the duplicate list is the editor's to leave alone
}

}  // namespace
}  // namespace tambor
