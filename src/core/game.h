#pragma once
// The two games and the values every algorithm reads from them.

#include <array>
#include <cstdint>
#include <string>

namespace tambor {

enum class GameMode : int { MiniLoto = 0, Loto6 = 1 };

// Arrays indexed by number are always this wide (number n at index n-1),
// so switching the game never resizes anything.
inline constexpr int kBoardSize = 43;
inline constexpr int kMaxPick = 6;

struct GameRules {
    GameMode mode;
    int maxNumber;
    int pickCount;
    std::int32_t combinationCount;  // C(maxNumber, pickCount)
};

constexpr GameRules rulesFor(GameMode mode) {
    return mode == GameMode::MiniLoto ? GameRules{GameMode::MiniLoto, 31, 5, 169911}
                                      : GameRules{GameMode::Loto6, 43, 6, 6096454};
}

// Every game, in the order of the table.
inline constexpr std::array<GameMode, 2> kAllGames{GameMode::MiniLoto, GameMode::Loto6};

// How many bonus numbers a draw of the game has.
int bonusCount(GameMode mode);
// The weekdays the game is drawn on, one bit each: 1 << weekday, 0 = Sunday
// (ミニロト on Tuesdays, ロト６ on Mondays and Thursdays).
unsigned drawWeekdays(GameMode mode);

// "ミニロト" / "ロト６"
const char* gameName(GameMode mode);
// "タンボル - [ミニロト]" / "タンボル - [ロト６]"
std::string windowTitle(GameMode mode);
// "[ミニロト]" / "[ロト６]": the header line of combination files.
std::string fileHeader(GameMode mode);

}  // namespace tambor
