#pragma once
// A combination, its one text form and its lexicographic index.

#include <array>
#include <cstdint>
#include <string>

#include "core/binomial.h"
#include "core/combination_rank.h"
#include "core/game.h"

namespace tambor {

// pickCount ascending numbers of 1..maxNumber; unused slots stay 0.
struct Combination {
    std::array<int, kMaxPick> numbers{};
    int size = 0;

    const int* begin() const { return numbers.data(); }
    const int* end() const { return numbers.data() + size; }
    int operator[](int i) const { return numbers[static_cast<std::size_t>(i)]; }
    bool operator==(const Combination&) const = default;
};

// Sorts the first size numbers ascending (insertion sort: at most seven).
inline void sortCombination(Combination& c) {
    for (int i = 1; i < c.size; ++i) {
        const int v = c.numbers[static_cast<std::size_t>(i)];
        int j = i;
        for (; j > 0 && c.numbers[static_cast<std::size_t>(j - 1)] > v; --j)
            c.numbers[static_cast<std::size_t>(j)] = c.numbers[static_cast<std::size_t>(j - 1)];
        c.numbers[static_cast<std::size_t>(j)] = v;
    }
}

// Builds a combination from numbers in any order (sorted here).
Combination makeCombination(std::initializer_list<int> numbers);

// True when c has pickCount strictly ascending numbers in 1..maxNumber.
bool isValidCombination(GameMode mode, const Combination& c);

// Lexicographic rank among all ascending combinations of the game:
// (1,2,3,4,5) is 0 and (38,39,40,41,42,43) is 6,096,453.
// Precondition: isValidCombination(mode, c).
CombinationIndex RankCombination(GameMode mode, const Combination& c);
// The exact inverse; index must be in 0..combinationCount-1.
Combination UnrankCombination(GameMode mode, CombinationIndex index);

// " %2d,%2d,%2d,%2d,%2d": one field per number (five, six or seven).
std::string FormatCombinationLine(const Combination& c);
// Writes the line into buf (at least 22 bytes); returns its length.
int formatCombinationLineTo(const Combination& c, char* buf);

}  // namespace tambor
