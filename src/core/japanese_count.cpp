#include "core/japanese_count.h"

namespace tambor {

std::string FormatJapaneseCount(std::int64_t value) {
    std::string text;
    if (value >= 100000000) {
        text += std::to_string(value / 100000000) + "億";
        value %= 100000000;
    }
    if (value >= 10000) {
        text += std::to_string(value / 10000) + "万";
        value %= 10000;
    }
    if (value > 0 || text.empty()) text += std::to_string(value);
    return text;
}

}  // namespace tambor
