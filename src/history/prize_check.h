#pragma once
// The prize check: which listed combinations win each grade against one set
// of winning numbers, and what they would have earned.
//
// Rather than testing every list entry, the check enumerates every
// combination that wins each grade and looks it up in the list's set, so
// the work is fixed by the game (3381 or 165,613 look-ups) whatever the
// size of the list.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination_set.h"
#include "core/game.h"
#include "core/number_board.h"
#include "core/progress.h"

namespace tambor {

inline constexpr int kMaxGrades = 5;

// 4 (ミニロト) or 5 (ロト６).
int prizeGradeCount(GameMode mode);
// "一等" … "五等" for grade 1..5.
const char* prizeGradeHeading(int grade);
// Theoretical amount in yen per winning combination of grade 1..5
// (ミニロト 10046800, 144300, 10000, 1000; ロト６ 100003400, 15000300,
// 500000, 9500, 1000).
std::int64_t prizeGradeAmount(GameMode mode, int grade);
// How many combinations win grade 1..5 (ミニロト 1, 5, 125, 3250;
// ロト６ 1, 6, 216, 9990, 155400).
std::int32_t prizeGradeCandidateCount(GameMode mode, int grade);
// All winning combinations of the game: 3381 / 165613.
std::int32_t prizeCandidateCount(GameMode mode);

// The winning numbers of one draw: pickCount main numbers (ascending) and
// the bonus number, which is never one of them.
struct WinningNumbers {
    std::array<int, kMaxPick> main{};
    int mainCount = 0;
    int bonus = 0;
    bool operator==(const WinningNumbers&) const = default;
};

// Checks and sorts the numbers: exactly pickCount distinct main numbers in
// 1..maxNumber and a bonus in that range that is not a main number.
// Anything else gives nothing (the check is then not run).
std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount, int bonus);
// The numbers marked main and bonus on the board; nothing unless exactly
// pickCount numbers carry the main mark and exactly one the bonus mark.
std::optional<WinningNumbers> winningNumbersFromBoard(const NumberBoard& board);

struct PrizeCheckResult {
    GameMode mode = GameMode::MiniLoto;
    // Hits of grade g at index g - 1; only prizeGradeCount(mode) are used.
    std::array<int, kMaxGrades> hits{};
    // The lines of the result list: each grade heading followed by the
    // winning lines of that grade, in enumeration order.
    std::vector<std::string> lines;
    // Sum of hits × amount over the grades.
    std::int64_t money = 0;
    // The money field: "約 1億3400円", "3000円", "0円".
    std::string moneyText;
    // False when the progress callback stopped the check early.
    bool completed = true;
};

// Runs the check of the listed combinations against the winning numbers.
// Precondition: winning came from makeWinningNumbers or
// winningNumbersFromBoard for the same game. progress gets the gauge's
// percentage only when it has moved (at most about a hundred calls); when
// it asks to stop, the result is incomplete (completed is false).
PrizeCheckResult RunPrizeCheck(GameMode mode, const WinningNumbers& winning, const CombinationSet& listed,
                               const ProgressCallback& progress = {});

// The money text: FormatJapaneseCount of the total + "円", with "約 " in
// front when the total holds a prize that is not fixed (ロト６: the total
// is not exactly the fifth-grade hits × 1000; ミニロト: any total above 0).
std::string FormatPrizeMoney(GameMode mode, std::int64_t total, int fifthGradeHits);

// The texts of the grade fields and the money field before a check.
inline constexpr const char* kPrizeGradeResetText = "--";
inline constexpr const char* kPrizeMoneyResetText = "-- 円";

// ---- Draw selector ----

// A round clamped to 1..drawCount; 0 when there are no draws at all.
int ClampRound(long long round, int drawCount);
// The round a text of the round field selects: its integer value (leading
// blanks and a sign allowed) clamped to 1..drawCount; a text that is not a
// number (empty included) selects the newest draw.
int RoundFromText(std::string_view text, int drawCount);
// What the round field selects when its text changes: nothing for an empty
// text (the hand-marked numbers are used), else RoundFromText.
std::optional<int> SelectedRound(std::string_view text, int drawCount);

}  // namespace tambor
