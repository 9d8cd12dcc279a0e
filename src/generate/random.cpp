#include "generate/random.h"

#include <ctime>

namespace tambor {

void RandomGenerator::SeedRandom() {
    SeedRandom(static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::time(nullptr))));
}

void RandomGenerator::SeedRandom(std::uint32_t seconds) {
    const std::uint32_t low = seconds * 22695477u + 1u;
    state_ = low;
}

}  // namespace tambor
