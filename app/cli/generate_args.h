#pragma once
// Argument helpers of the draw and build commands: the random seed, whole
// numbers in a range, and the board that refuses what the window's board
// refuses.

#include <cstdint>
#include <optional>
#include <string>

#include "cli_args.h"
#include "core/number_board.h"
#include "core/whole_number.h"
#include "generate/random.h"

namespace tambor::cli {

// A decimal whole number in min..max (digits only), or a UsageError naming
// the option.
inline std::int64_t parseOptionNumber(const std::string& option, const std::string& text, std::int64_t min,
                                      std::int64_t max) {
    const std::optional<std::int64_t> value = parseWholeNumberIn(text, min, max, kDigitsOnly);
    if (!value)
        throw UsageError{option + " には " + std::to_string(min) + " から " + std::to_string(max) +
                         " までの整数を指定してください: " + text};
    return *value;
}

// Seeds the generator from --seed S (0..4294967295) or, without it, from
// the clock's seconds as the program does at start-up.
inline void seedFromArgs(const ParsedArgs& parsed, RandomGenerator& random) {
    if (const auto seed = parsed.value("--seed"))
        random.SeedRandom(static_cast<std::uint32_t>(parseOptionNumber("--seed", *seed, 0, 4294967295LL)));
    else
        random.SeedRandom();
}

// Marks numbers with a role on the board as clicks would, refusing what a
// click would not be allowed to do.
inline void markOnBoard(NumberBoard& board, int role, const std::vector<int>& numbers, const std::string& option,
                        const std::string& roleName) {
    board.setCurrentRole(role);
    for (int n : numbers) {
        if (board.state(n) & kPairMask[static_cast<std::size_t>(role)])
            throw UsageError{std::to_string(n) + " は別の役割で指定済みです (" + option + ")。"};
        if (!board.canToggle(n, false))
            throw UsageError{roleName + "をこれ以上指定できません (" + option + " の " + std::to_string(n) + ")。"};
        board.toggle(n, false);
    }
}

}  // namespace tambor::cli
