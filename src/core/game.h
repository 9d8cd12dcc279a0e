#pragma once
// The games and everything that differs between them: one row of the game
// table per game, read by every feature instead of asking which game it is.

#include <array>
#include <cstdint>
#include <string>

namespace tambor {

enum class GameMode : int { MiniLoto = 0, Loto6 = 1, Loto7 = 2 };

// Arrays indexed by number are always this wide (number n at index n-1),
// so switching the game never resizes anything.
inline constexpr int kBoardSize = 43;
inline constexpr int kMaxPick = 7;
inline constexpr int kMaxBonus = 2;
inline constexpr int kMaxGrades = 6;
inline constexpr int kGameCount = 3;

// How a grade's winning combinations are made from a draw: mainPick of the
// main numbers, completed by poolPick numbers of a pool of the others.
enum class Pool {
    None,      // nothing else
    Bonus,     // the bonus numbers
    Others,    // the numbers neither main nor bonus
    NonMain,   // every number that is not main
    WithBonus  // every number that is not main, at least one of them a bonus number
};

struct GradeRule {
    int mainPick;
    Pool pool;
    int poolPick;
    std::int64_t amount;          // theoretical yen per winning combination
    std::int32_t candidateCount;  // winning combinations per draw
};

struct GameRules {
    GameMode mode;
    int maxNumber;
    int pickCount;
    std::int32_t combinationCount;  // C(maxNumber, pickCount)
    int bonusCount;
    int price;            // yen per ticket
    const char* name;     // "ミニロト"
    const char* cliName;  // the value of --game
    // The weekdays the game is drawn on, one bit each: 1 << weekday, 0 = Sunday.
    unsigned drawWeekdays;
    int gradeCount;
    std::array<GradeRule, kMaxGrades> grades;  // grade g at g - 1
    // The grade whose prize is a fixed sum (0: none), so a total made of it
    // alone is exact rather than approximate.
    int fixedPrizeGrade;
    // Most together numbers for 0..kMaxPick axis numbers: the largest count
    // whose build stays at or under 278,256 combinations.
    std::array<int, kMaxPick + 1> togetherLimit;
    // Lists longer than this sort on a worker thread with a progress gauge.
    std::size_t sortThreshold;
    // Width of the hyphen rule between the cards of a text file.
    int cardRuleWidth;
};

namespace detail {
constexpr unsigned kSunday = 1u << 0, kMonday = 1u << 1, kTuesday = 1u << 2, kThursday = 1u << 4, kFriday = 1u << 5;
}  // namespace detail

inline constexpr std::array<GameRules, kGameCount> kGameTable{{
    {GameMode::MiniLoto, 31, 5, 169911, 1, 200, "ミニロト", "mini", detail::kTuesday, 4,
     {{{5, Pool::None, 0, 10046800, 1},
       {4, Pool::Bonus, 1, 144300, 5},
       {4, Pool::Others, 1, 10000, 125},
       {3, Pool::NonMain, 2, 1000, 3250},
       {0, Pool::None, 0, 0, 0},
       {0, Pool::None, 0, 0, 0}}},
     0, {31, 31, 31, 31, 31, 31, 0, 0}, 3000, 100},
    {GameMode::Loto6, 43, 6, 6096454, 1, 200, "ロト６", "loto6", detail::kMonday | detail::kThursday, 5,
     {{{6, Pool::None, 0, 100003400, 1},
       {5, Pool::Bonus, 1, 15000300, 6},
       {5, Pool::Others, 1, 500000, 216},
       {4, Pool::NonMain, 2, 9500, 9990},
       {3, Pool::NonMain, 3, 1000, 155400},
       {0, Pool::None, 0, 0, 0}}},
     5, {26, 34, 43, 43, 43, 43, 43, 0}, 30000, 115},
    {GameMode::Loto7, 37, 7, 10295472, 2, 300, "ロト７", "loto7", detail::kFriday, 6,
     {{{7, Pool::None, 0, 700003500, 1},
       {6, Pool::Bonus, 1, 6077700, 14},
       {6, Pool::Others, 1, 500000, 196},
       {5, Pool::NonMain, 2, 6500, 9135},
       {4, Pool::NonMain, 3, 1400, 142100},
       {3, Pool::WithBonus, 4, 1000, 242550}}},
     0, {23, 26, 34, 37, 37, 37, 37, 37}, 30000, 130},
}};

constexpr const GameRules& rulesFor(GameMode mode) { return kGameTable[static_cast<std::size_t>(mode)]; }

// Every game, in the order of the table.
inline constexpr std::array<GameMode, kGameCount> kAllGames{GameMode::MiniLoto, GameMode::Loto6, GameMode::Loto7};

// The game with this number (Tambor.ini's Game=, a radio button's tag); nothing out of range.
constexpr bool isGameNumber(int value) { return value >= 0 && value < kGameCount; }

// How many bonus numbers a draw of the game has.
int bonusCount(GameMode mode);
// The weekdays the game is drawn on (see GameRules::drawWeekdays).
unsigned drawWeekdays(GameMode mode);

// "ミニロト" / "ロト６" / "ロト７"
const char* gameName(GameMode mode);
// "タンボル - [ロト６]"
std::string windowTitle(GameMode mode);
// "[ロト６]": the header line of combination files.
std::string fileHeader(GameMode mode);

}  // namespace tambor
