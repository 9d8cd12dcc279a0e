#include "core/game.h"

namespace tambor {

const char* gameName(GameMode mode) {
    return mode == GameMode::MiniLoto ? "ミニロト" : "ロト６";
}

std::string windowTitle(GameMode mode) {
    return std::string("タンボル - [") + gameName(mode) + "]";
}

std::string fileHeader(GameMode mode) {
    return std::string("[") + gameName(mode) + "]";
}

}  // namespace tambor
