#include <gtest/gtest.h>

#include "core/number_board.h"

#include <string>
#include <vector>

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

// Every refused click has its reason, worded with the limit in force.
TEST(NumberBoardLimits, RefusalsSayWhy) {
    struct Row {
        const char* name;
        GameMode mode;
        int role;
        std::vector<int> marked;
        int number;
        bool right;
        bool rSystem;
        const char* reason;
    };
    const std::vector<Row> rows = {
        {"fix", GameMode::Loto6, Fix, {1, 2, 3, 4, 5, 6}, 7, false, false, "固定数字は6個までです"},
        {"fixMini", GameMode::MiniLoto, Fix, {1, 2, 3, 4, 5}, 6, false, false, "固定数字は5個までです"},
        {"bonus", GameMode::Loto6, Bonus, {9}, 10, false, false, "ボーナス数字は1個までです"},
        {"together", GameMode::Loto6, Together, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                                                 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26},
         27, false, false, "連動数字は26個までです（軸数字0個のとき）"},
        {"axisWithRSystem", GameMode::Loto6, Together, {}, 5, true, true, "Rシステムでは軸数字は使えません"},
        {"allowed", GameMode::Loto6, Main, {1}, 2, false, false, ""},
    };
    for (const Row& row : rows) {
        NumberBoard board(row.mode);
        board.setRSystem(row.rSystem);
        board.setCurrentRole(row.role);
        for (int n : row.marked) board.toggle(n, false);
        EXPECT_EQ(board.refusalReason(row.number, row.right), row.reason) << row.name;
        EXPECT_EQ(board.canToggle(row.number, row.right), std::string(row.reason).empty()) << row.name;
    }
}

TEST(NumberBoardLimits, AxisRemovalSaysTheLimitForOneAxisFewer) {
    NumberBoard board(GameMode::Loto6);
    board.setCurrentRole(Axis);
    board.toggle(42, false);
    board.toggle(43, false);
    board.setCurrentRole(Together);
    for (int n = 1; n <= 40; ++n) board.toggle(n, false);
    board.setCurrentRole(Axis);
    EXPECT_EQ(board.refusalReason(42, false), "連動数字は34個までです（軸数字1個のとき）");
}

// Every game's together limit is the largest count whose build stays at or
// under 278,256 combinations (C(together, pick - axis)).
TEST(NumberBoardLimits, TogetherLimitsFollowOneRule) {
    auto choose = [](int n, int k) {
        std::int64_t c = 1;
        for (int i = 0; i < k; ++i) c = c * (n - i) / (i + 1);
        return c;
    };
    for (const GameMode mode : kAllGames) {
        const GameRules& rules = rulesFor(mode);
        for (int axis = 0; axis < rules.pickCount; ++axis) {
            int limit = rules.pickCount - axis;
            while (limit < rules.maxNumber && choose(limit + 1, rules.pickCount - axis) <= 278256) ++limit;
            EXPECT_EQ(TogetherLimit(mode, axis), limit) << rules.name << " axis " << axis;
        }
    }
    EXPECT_EQ(TogetherLimit(GameMode::Loto7, 0), 23);
    EXPECT_EQ(TogetherLimit(GameMode::Loto7, 1), 26);
    EXPECT_EQ(TogetherLimit(GameMode::Loto7, 2), 34);
    EXPECT_EQ(TogetherLimit(GameMode::Loto7, 7), 37);
}

TEST(NumberBoardLimits, Loto7Roles) {
    NumberBoard fixed = boardWith(GameMode::Loto7, Fix, {1, 2, 3, 4, 5, 6, 7});
    EXPECT_EQ(fixed.refusalReason(8, false), "固定数字は7個までです");
    NumberBoard bonus = boardWith(GameMode::Loto7, Bonus, {9, 10});
    EXPECT_EQ(bonus.count(Bonus), 2);
    EXPECT_EQ(bonus.refusalReason(11, false), "ボーナス数字は2個までです");
    NumberBoard forbidden(GameMode::Loto7);
    forbidden.setCurrentRole(Disable);
    for (int n = 1; n <= 30; ++n) forbidden.toggle(n, false);
    EXPECT_EQ(forbidden.count(Disable), 30);
    EXPECT_FALSE(forbidden.canToggle(31, false));
    NumberBoard together = boardWith(GameMode::Loto7, Together, {});
    for (int n = 1; n <= 23; ++n) together.toggle(n, false);
    EXPECT_EQ(together.refusalReason(24, false), "連動数字は23個までです（軸数字0個のとき）");
}
