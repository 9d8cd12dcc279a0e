#include <gtest/gtest.h>

#include "core/number_board.h"

using namespace tambor;

namespace {

NumberBoard boardWith(GameMode mode, int role, std::initializer_list<int> numbers) {
    NumberBoard board(mode);
    board.setCurrentRole(role);
    for (int n : numbers) board.toggle(n, false);
    return board;
}

}  // namespace

TEST(NumberBoardLimits, FixedNumbersUpToPickCount) {
    NumberBoard loto6 = boardWith(GameMode::Loto6, Fix, {1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(loto6.canToggle(7, false));
    EXPECT_TRUE(loto6.canToggle(6, false));  // removing is allowed
    NumberBoard mini = boardWith(GameMode::MiniLoto, Fix, {1, 2, 3, 4, 5});
    EXPECT_FALSE(mini.canToggle(6, false));
}

TEST(NumberBoardLimits, OneBonusNumber) {
    NumberBoard board = boardWith(GameMode::Loto6, Bonus, {9});
    EXPECT_FALSE(board.canToggle(10, false));
    board.setCurrentRole(Main);
    EXPECT_FALSE(board.canToggle(10, true));  // right button = the bonus role
    EXPECT_TRUE(board.canToggle(10, false));
}

TEST(NumberBoardLimits, ForbiddenUpToMaxMinusPick) {
    NumberBoard board(GameMode::MiniLoto);
    board.setCurrentRole(Disable);
    for (int n = 1; n <= 26; ++n) board.toggle(n, false);
    EXPECT_EQ(board.count(Disable), 26);
    EXPECT_FALSE(board.canToggle(27, false));
}

TEST(NumberBoardLimits, TogetherLimitFollowsAxisCount) {
    NumberBoard board(GameMode::Loto6);
    board.setCurrentRole(Together);
    for (int n = 1; n <= 26; ++n) board.toggle(n, false);
    EXPECT_FALSE(board.canToggle(27, false));
    board.setCurrentRole(Axis);
    board.toggle(43, false);
    board.setCurrentRole(Together);
    EXPECT_TRUE(board.canToggle(27, false));
}

TEST(NumberBoardLimits, AxisRemovalRefusedWhenTogetherWouldOverflow) {
    NumberBoard board(GameMode::Loto6);
    board.setCurrentRole(Axis);
    board.toggle(42, false);
    board.toggle(43, false);
    board.setCurrentRole(Together);
    for (int n = 1; n <= 40; ++n) board.toggle(n, false);
    EXPECT_EQ(board.count(Together), 40);
    board.setCurrentRole(Axis);
    EXPECT_FALSE(board.canToggle(42, false));
    EXPECT_FALSE(board.canToggle(43, true));  // turning it into a together number
    board.setCurrentRole(Fix);
    EXPECT_FALSE(board.canToggle(42, false) && (board.state(42) & 0x01));
}

TEST(NumberBoardRoles, ClickMovesWithinThePair) {
    NumberBoard board(GameMode::MiniLoto);
    board.setCurrentRole(Fix);
    board.toggle(5, true);
    EXPECT_TRUE(board.has(5, Disable));
    board.toggle(5, false);
    EXPECT_TRUE(board.has(5, Fix));
    EXPECT_FALSE(board.has(5, Disable));
    board.setCurrentRole(Together);
    board.toggle(5, false);
    EXPECT_EQ(board.state(5), 0x01 | 0x08);  // roles of other pairs combine
}

TEST(NumberBoardRoles, ClearCurrentRoleLeavesThePairedRole) {
    NumberBoard board(GameMode::MiniLoto);
    board.setCurrentRole(Axis);
    board.toggle(1, false);
    board.setCurrentRole(Together);
    board.toggle(2, false);
    board.setCurrentRole(Axis);
    board.clearCurrentRole();
    EXPECT_EQ(board.count(Axis), 0);
    EXPECT_EQ(board.count(Together), 1);
}

TEST(NumberBoardRoles, RSystemConvertsAxisAndCountsTheTable) {
    NumberBoard board(GameMode::Loto6);
    board.setCurrentRole(Axis);
    board.toggle(1, false);
    board.toggle(2, false);
    board.setCurrentRole(Together);
    for (int n = 3; n <= 10; ++n) board.toggle(n, false);
    board.setCurrentRole(Axis);
    board.setRSystem(true);
    EXPECT_EQ(board.currentRole(), Together);
    EXPECT_EQ(board.count(Axis), 0);
    EXPECT_EQ(board.count(Together), 10);
    EXPECT_EQ(board.builderLineCount(), 18);
    board.setCurrentRole(Axis);
    EXPECT_FALSE(board.canToggle(20, false));
}

TEST(NumberBoardRoles, ColoursFollowTheCurrentPair) {
    NumberBoard board(GameMode::MiniLoto);
    board.setCurrentRole(Main);
    board.toggle(4, false);
    EXPECT_EQ(board.roleColour(4), (Rgb{255, 0, 0}));
    board.setCurrentRole(Fix);
    EXPECT_EQ(board.roleColour(4), (Rgb{192, 192, 192}));
}
