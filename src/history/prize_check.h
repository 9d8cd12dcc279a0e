#pragma once
// The prize check: which listed combinations win each grade against one set
// of winning numbers, and what they would have earned.
//
// Rather than testing every list entry, the check enumerates every
// combination that wins each grade and looks it up in the list's set, so
// the work is fixed by the game (3381, 165,613 or 393,996 look-ups)
// whatever the size of the list.

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

// 4 (ミニロト), 5 (ロト６) or 6 (ロト７).
int prizeGradeCount(GameMode mode);
// "一等" … "六等" for grade 1..6.
const char* prizeGradeHeading(int grade);
// Theoretical amount in yen per winning combination of grade 1..gradeCount
// (the game table's amounts).
std::int64_t prizeGradeAmount(GameMode mode, int grade);
// How many combinations win the grade (ロト７ 1, 14, 196, 9135, 142100, 242550).
std::int32_t prizeGradeCandidateCount(GameMode mode, int grade);
// All winning combinations of the game: 3381 / 165,613 / 393,996.
std::int32_t prizeCandidateCount(GameMode mode);

// The winning numbers of one draw: pickCount main numbers (ascending) and
// the game's bonus numbers (ascending), never among them.
struct WinningNumbers {
    std::array<int, kMaxPick> main{};
    int mainCount = 0;
    std::array<int, kMaxBonus> bonus{};
    int bonusCount = 0;
    bool operator==(const WinningNumbers&) const = default;
};

// Checks and sorts the numbers: exactly pickCount distinct main numbers in
// 1..maxNumber and exactly bonusCount distinct bonus numbers in that range,
// none of them a main number. Anything else gives nothing (the check is
// then not run).
std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount,
                                                 const int* bonusNumbers, int bonusCount);
// The same for a game with one bonus number.
std::optional<WinningNumbers> makeWinningNumbers(GameMode mode, const int* mainNumbers, int mainCount, int bonus);
// The numbers marked main and bonus on the board; nothing unless exactly
// pickCount numbers carry the main mark and bonusCount the bonus mark.
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
// front when the total holds a prize that is not fixed: anything but the
// hits of the game's fixed-prize grade (ロト６ 五等, 1000 yen each) × its
// amount; in a game without one (ミニロト, ロト７) any total above 0.
std::string FormatPrizeMoney(GameMode mode, std::int64_t total, int fixedGradeHits);

// The hits of the game's fixed-prize grade among hits by grade (grade g at
// g - 1); 0 in a game without one.
template <typename Hits>
int fixedGradeHits(GameMode mode, const Hits& hits) {
    const int grade = rulesFor(mode).fixedPrizeGrade;
    return grade > 0 ? static_cast<int>(hits[static_cast<std::size_t>(grade - 1)]) : 0;
}

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
