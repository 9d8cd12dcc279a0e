#include "core/game.h"

namespace tambor {

const char* gameName(GameMode mode) { return rulesFor(mode).name; }

int bonusCount(GameMode mode) { return rulesFor(mode).bonusCount; }

unsigned drawWeekdays(GameMode mode) { return rulesFor(mode).drawWeekdays; }

std::string windowTitle(GameMode mode) {
    return std::string("タンボル - [") + gameName(mode) + "]";
}

std::string fileHeader(GameMode mode) {
    return std::string("[") + gameName(mode) + "]";
}

}  // namespace tambor
