#pragma once

#include <cstdint>
#include <string>

namespace tambor {

// A non-negative count with the units 億 and 万: 6,096,454 → "609万6454",
// 100,000,500 → "1億500", 0 → "0".
std::string FormatJapaneseCount(std::int64_t value);

}  // namespace tambor
