#pragma once
// One bit per combination index of the largest game: membership is never a
// search, and a set serves every game.

#include <cstdint>
#include <vector>

#include "core/combination.h"

namespace tambor {

class CombinationSet {
public:
    static constexpr std::int32_t kBits = 10295472;
    static constexpr std::int32_t kBytes = (kBits + 7) / 8;  // 1,286,934

    CombinationSet() : bytes_(kBytes, 0) {}

    bool contains(CombinationIndex index) const {
        const std::uint32_t b = reduce(index);
        return (bytes_[b >> 3] >> (b & 7)) & 1u;
    }
    // Test-and-set: reports whether the bit was already set, sets it anyway.
    bool add(CombinationIndex index) {
        const std::uint32_t b = reduce(index);
        std::uint8_t& byte = bytes_[b >> 3];
        const std::uint8_t mask = static_cast<std::uint8_t>(1u << (b & 7));
        const bool was = (byte & mask) != 0;
        byte = static_cast<std::uint8_t>(byte | mask);
        return was;
    }
    void remove(CombinationIndex index) {
        const std::uint32_t b = reduce(index);
        bytes_[b >> 3] = static_cast<std::uint8_t>(bytes_[b >> 3] & ~(1u << (b & 7)));
    }
    void clear();
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    static std::uint32_t reduce(CombinationIndex index) {
        std::int32_t r = index % kBits;
        if (r < 0) r += kBits;
        return static_cast<std::uint32_t>(r);
    }
    std::vector<std::uint8_t> bytes_;
};

// Every game's indices fit one set.
inline constexpr bool setFitsEveryGame() {
    for (const GameRules& rules : kGameTable)
        if (rules.combinationCount > CombinationSet::kBits) return false;
    return true;
}
static_assert(setFitsEveryGame());

// The combination-level helpers the rest of the program uses.
inline bool SetContains(GameMode mode, const CombinationSet& set, const Combination& c) {
    return set.contains(RankCombination(mode, c));
}
inline bool SetAdd(GameMode mode, CombinationSet& set, const Combination& c) {
    return set.add(RankCombination(mode, c));
}
inline void SetRemove(GameMode mode, CombinationSet& set, const Combination& c) {
    set.remove(RankCombination(mode, c));
}

}  // namespace tambor
