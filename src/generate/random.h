#pragma once
// The program's one random generator: a 64-bit linear congruential generator
// seeded from the clock's seconds (or from a given seed, for reproducible
// runs). Every random choice of the program goes through RandomBelow.

#include <cstdint>

namespace tambor {

class RandomGenerator {
public:
    static constexpr std::uint64_t kMultiplier = (346ULL << 32) + 20021ULL;

    // Low word := the current time in seconds since 1970, high word := 0,
    // then the low word is advanced once.
    void SeedRandom();
    // The same with seconds in place of the clock.
    void SeedRandom(std::uint32_t seconds);

    // Advances the state and returns its upper 32 bits with the top bit
    // cleared: 0 .. 2^31 - 1.
    std::int32_t next() {
        state_ = state_ * kMultiplier + 1;
        return static_cast<std::int32_t>((state_ >> 32) & 0x7FFFFFFFu);
    }
    // 0 for n = 0, otherwise next() modulo n (remainder of signed division).
    std::int32_t RandomBelow(std::int32_t n) { return n == 0 ? 0 : next() % n; }

    std::uint64_t state() const { return state_; }
    void setState(std::uint64_t state) { state_ = state; }

private:
    std::uint64_t state_ = 0;
};

}  // namespace tambor
