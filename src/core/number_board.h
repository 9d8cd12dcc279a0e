#pragma once
// The 43 numbers and the six selection roles the user gives them, with the
// limits that refuse a click and the counts the other commands read.

#include <array>
#include <cstdint>
#include <string>

#include "core/game.h"

namespace tambor {

enum Role : int { Fix = 0, Disable = 1, Axis = 2, Together = 3, Main = 4, Bonus = 5 };
inline constexpr int kRoleCount = 6;

inline constexpr std::array<int, kRoleCount> kPairedRole{1, 0, 3, 2, 5, 4};
inline constexpr std::array<std::uint8_t, kRoleCount> kRoleBit{0x01, 0x02, 0x04, 0x08, 0x10, 0x20};
inline constexpr std::array<std::uint8_t, kRoleCount> kPairMask{0x03, 0x03, 0x0C, 0x0C, 0x30, 0x30};

// Most together numbers allowed for 0..kMaxPick axis numbers.
int TogetherLimit(GameMode mode, int axisCount);
// Lines the reduced (R system) builder keeps for this many candidates.
std::int32_t RSystemLineCount(GameMode mode, int candidates);

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

class NumberBoard {
public:
    explicit NumberBoard(GameMode mode = GameMode::MiniLoto) : mode_(mode) {}

    GameMode mode() const { return mode_; }
    void setMode(GameMode mode) { mode_ = mode; }

    std::uint8_t state(int number) const { return state_[static_cast<std::size_t>(number - 1)]; }
    void setState(int number, std::uint8_t bits) { state_[static_cast<std::size_t>(number - 1)] = bits; }
    bool has(int number, int role) const { return (state(number) & kRoleBit[static_cast<std::size_t>(role)]) != 0; }

    int currentRole() const { return currentRole_; }
    void setCurrentRole(int role) { currentRole_ = role; }
    bool rSystem() const { return rSystem_; }

    // Number of numbers 1..maxNumber carrying each role, as last recounted.
    int count(int role) const { return counts_[static_cast<std::size_t>(role)]; }
    void refreshCounts();

    // Whether no role is held by more numbers than the game allows.
    bool withinLimits() const;
    // Whether a click on number (right = the paired role) is allowed.
    bool canToggle(int number, bool right) const;
    // Why such a click is refused ("本数字は6個までです"); empty when allowed.
    std::string refusalReason(int number, bool right) const;
    // Applies the click: removes the role, moves it from the paired role or sets it.
    void toggle(int number, bool right);
    // Removes the current role (only) from every number.
    void clearCurrentRole();
    void clearAll();
    // Clears every role of the numbers above maxNumber (switch to ミニロト).
    void clearAbove(int maxNumber);
    // R system on: axis numbers become together numbers.
    void setRSystem(bool on);

    // Rewrites the main and bonus bits from a draw (its main numbers and its bonus numbers).
    void markDraw(const int* mainNumbers, int mainCount, const int* bonusNumbers, int bonusCount);

    // Numbers (ascending) carrying a role.
    std::array<int, kBoardSize> numbersWith(int role, int& count) const;

    // The disc colour of a number under the current role pair.
    Rgb roleColour(int number) const;

    // The count shown beside the builder: C(together, pick - axis) or the
    // R-system line count for axis + together candidates.
    std::int64_t builderLineCount() const;

private:
    int limitFor(int role) const;

    GameMode mode_;
    std::array<std::uint8_t, kBoardSize> state_{};
    std::array<int, kRoleCount> counts_{};
    int currentRole_ = Together;
    bool rSystem_ = false;
};

}  // namespace tambor
