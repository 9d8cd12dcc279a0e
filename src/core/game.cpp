#include "core/game.h"

namespace tambor {

const char* gameName(GameMode mode) {
    return mode == GameMode::MiniLoto ? "ミニロト" : "ロト６";
}

int bonusCount(GameMode) { return 1; }

unsigned drawWeekdays(GameMode mode) {
    constexpr unsigned monday = 1u << 1, tuesday = 1u << 2, thursday = 1u << 4;
    return mode == GameMode::MiniLoto ? tuesday : monday | thursday;
}

std::string windowTitle(GameMode mode) {
    return std::string("タンボル - [") + gameName(mode) + "]";
}

std::string fileHeader(GameMode mode) {
    return std::string("[") + gameName(mode) + "]";
}

}  // namespace tambor
