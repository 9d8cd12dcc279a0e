#include "core/number_board.h"

#include <span>

#include "core/combination.h"

namespace tambor {
namespace {

// Indexed by candidate count 0..maxNumber: what the ascending build keeps
// from an empty list over candidates 1..c.
constexpr std::array<std::int32_t, 32> kMiniRSystem{
    0, 0, 0, 0, 0, 1, 1, 3, 7, 14, 22, 34, 54, 87, 127, 189, 273, 308, 364, 444,
    552, 693, 873, 1099, 1379, 1722, 2098, 2550, 3090, 3731, 4459, 5313};
constexpr std::array<std::int32_t, 44> kLoto6RSystem{
    0, 0, 0, 0, 0, 0, 1, 1, 4, 8, 18, 34, 68, 116, 203, 315, 504, 588, 756, 988, 1336, 1800,
    2437, 3249, 4316, 5632, 7318, 9350, 11900, 14924, 18655, 23023, 28336, 29316, 31256,
    34000, 37776, 42496, 48377, 55381, 63732, 73428, 84714, 97610};
constexpr std::array<std::int32_t, 38> kLoto7RSystem{
    0, 0, 0, 0, 0, 0, 0, 1, 1, 4, 10, 26, 54, 116, 232, 435, 715, 904, 1242, 1796, 2608, 3800, 5488,
    7813, 10949, 15148, 20690, 27918, 37202, 49036, 63960, 82615, 105183, 110496, 120394, 135256,
    155460, 181648};
constexpr std::array<std::span<const std::int32_t>, kGameCount> kRSystem{kMiniRSystem, kLoto6RSystem, kLoto7RSystem};

}  // namespace

int TogetherLimit(GameMode mode, int axisCount) {
    if (axisCount < 0) axisCount = 0;
    if (axisCount > kMaxPick) axisCount = kMaxPick;
    return rulesFor(mode).togetherLimit[static_cast<std::size_t>(axisCount)];
}

std::int32_t RSystemLineCount(GameMode mode, int candidates) {
    if (candidates < 0) return 0;
    const std::span<const std::int32_t> table = kRSystem[static_cast<std::size_t>(mode)];
    return candidates < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(candidates)] : table.back();
}

void NumberBoard::refreshCounts() {
    counts_.fill(0);
    const int maxNumber = rulesFor(mode_).maxNumber;
    for (int n = 1; n <= maxNumber; ++n)
        for (int r = 0; r < kRoleCount; ++r)
            if (has(n, r)) ++counts_[static_cast<std::size_t>(r)];
}

int NumberBoard::limitFor(int role) const {
    const GameRules rules = rulesFor(mode_);
    switch (role) {
    case Fix: return rules.pickCount;
    case Disable: return rules.maxNumber - rules.pickCount;
    case Axis: return rSystem_ ? 0 : rules.pickCount;
    case Together: return rSystem_ ? rules.maxNumber : TogetherLimit(mode_, count(Axis));
    case Main: return rules.pickCount;
    case Bonus: return rules.bonusCount;
    default: return 1;
    }
}

bool NumberBoard::withinLimits() const {
    for (int role = 0; role < kRoleCount; ++role)
        if (count(role) > limitFor(role)) return false;
    return true;
}

bool NumberBoard::canToggle(int number, bool right) const { return refusalReason(number, right).empty(); }

namespace {

const char* const kRoleNames[kRoleCount] = {"固定数字", "禁止数字", "軸数字", "連動数字", "本数字", "ボーナス数字"};

std::string togetherLimitReason(GameMode mode, int axisCount) {
    return "連動数字は" + std::to_string(TogetherLimit(mode, axisCount)) + "個までです（軸数字" +
           std::to_string(axisCount) + "個のとき）";
}

}  // namespace

std::string NumberBoard::refusalReason(int number, bool right) const {
    const int role = right ? kPairedRole[static_cast<std::size_t>(currentRole_)] : currentRole_;
    const std::uint8_t bit = kRoleBit[static_cast<std::size_t>(role)];
    const std::uint8_t s = state(number);
    const bool isAxis = (s & kRoleBit[Axis]) != 0;
    // An axis number that loses a role, or becomes a together number: the
    // together numbers must fit the limit for one axis number fewer.
    const bool leavesAxis = (s & bit) || (isAxis && role == Together);
    if (leavesAxis) {
        if (!isAxis) return {};
        const int limit = TogetherLimit(mode_, count(Axis) - 1);
        const bool fits = (s & bit) ? limit >= count(Together) : limit > count(Together);
        return fits ? std::string() : togetherLimitReason(mode_, count(Axis) - 1);
    }
    if (count(role) < limitFor(role)) return {};
    if (role == Axis && rSystem_) return "Rシステムでは軸数字は使えません";
    if (role == Together && !rSystem_) return togetherLimitReason(mode_, count(Axis));
    return std::string(kRoleNames[role]) + "は" + std::to_string(limitFor(role)) + "個までです";
}

void NumberBoard::toggle(int number, bool right) {
    const int role = right ? kPairedRole[static_cast<std::size_t>(currentRole_)] : currentRole_;
    const std::uint8_t bit = kRoleBit[static_cast<std::size_t>(role)];
    const std::uint8_t mask = kPairMask[static_cast<std::size_t>(currentRole_)];
    const std::uint8_t old = state(number);
    std::uint8_t next = static_cast<std::uint8_t>(old & ~mask);
    if (!(old & bit)) next = static_cast<std::uint8_t>(next | bit);
    setState(number, next);
    refreshCounts();
}

void NumberBoard::clearCurrentRole() {
    const std::uint8_t bit = kRoleBit[static_cast<std::size_t>(currentRole_)];
    for (auto& s : state_) s = static_cast<std::uint8_t>(s & ~bit);
    refreshCounts();
}

void NumberBoard::clearAll() {
    state_.fill(0);
    refreshCounts();
}

void NumberBoard::clearAbove(int maxNumber) {
    for (int n = maxNumber + 1; n <= kBoardSize; ++n) setState(n, 0);
    refreshCounts();
}

void NumberBoard::setRSystem(bool on) {
    rSystem_ = on;
    if (on) {
        for (auto& s : state_)
            if (s & kRoleBit[Axis]) s = static_cast<std::uint8_t>((s & ~kRoleBit[Axis]) | kRoleBit[Together]);
        if (currentRole_ == Axis) currentRole_ = Together;
    }
    refreshCounts();
}

void NumberBoard::markDraw(const int* mainNumbers, int mainCount, const int* bonusNumbers, int bonusCount) {
    for (auto& s : state_) s = static_cast<std::uint8_t>(s & ~kPairMask[Main]);
    for (int i = 0; i < mainCount; ++i) {
        const int n = mainNumbers[i];
        if (n >= 1 && n <= kBoardSize) setState(n, static_cast<std::uint8_t>(state(n) | kRoleBit[Main]));
    }
    for (int i = 0; i < bonusCount; ++i) {
        const int bonus = bonusNumbers[i];
        // A bonus equal to a main number (a corrupt line) keeps the main role.
        if (bonus >= 1 && bonus <= kBoardSize && !(state(bonus) & kRoleBit[Main]))
            setState(bonus, static_cast<std::uint8_t>(state(bonus) | kRoleBit[Bonus]));
    }
    refreshCounts();
}

std::array<int, kBoardSize> NumberBoard::numbersWith(int role, int& count) const {
    std::array<int, kBoardSize> numbers{};
    count = 0;
    const int maxNumber = rulesFor(mode_).maxNumber;
    for (int n = 1; n <= maxNumber; ++n)
        if (has(n, role)) numbers[static_cast<std::size_t>(count++)] = n;
    return numbers;
}

Rgb NumberBoard::roleColour(int number) const {
    const Rgb silver{192, 192, 192};
    switch (currentRole_) {
    case Fix:
    case Disable:
        if (has(number, Fix)) return {0, 255, 255};
        if (has(number, Disable)) return {0, 0, 0};
        return silver;
    case Axis:
    case Together:
        if (has(number, Axis)) return {0, 255, 0};
        if (has(number, Together)) return {128, 0, 128};
        return silver;
    default:
        if (has(number, Main)) return {255, 0, 0};
        if (has(number, Bonus)) return {255, 255, 0};
        return silver;
    }
}

std::int64_t NumberBoard::builderLineCount() const {
    const GameRules rules = rulesFor(mode_);
    if (rSystem_) return RSystemLineCount(mode_, count(Axis) + count(Together));
    return static_cast<std::int64_t>(Binomial(count(Together), rules.pickCount - count(Axis)));
}

}  // namespace tambor
