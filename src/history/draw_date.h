#pragma once
// The dates of draws: the history file's era form ("R08. 9.14"), the
// command line's "2026-09-14", the form the windows show ("2026年9月14日(月)"),
// the era form of the bank's result files ("令和8年9月14日"), and the next
// draw day of a game.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "core/game.h"

namespace tambor {

using DrawDate = std::chrono::year_month_day;

// "2026-09-14": four digits, two, two, a real day of the calendar.
std::optional<DrawDate> parseIsoDate(std::string_view text);
std::string isoDateText(DrawDate date);

// The history file's era date: "H" (平成) or "R" (令和), the year of the era
// in two digits, then month and day each right-aligned in two characters
// ("H11. 4.13", "R08. 9.14"). Blanks where the zero or blank padding goes
// are both accepted when reading.
std::optional<DrawDate> parseHistoryEraDate(std::string_view text);
// The same form for writing; nothing for a date before 平成 (1989-01-08),
// which no draw of these games has.
std::optional<std::string> historyEraDateText(DrawDate date);

// "令和8年2月19日", "令和元年5月1日", "平成31年4月30日" (ASCII digits; the
// caller turns full-width ones into ASCII first). Blanks between the parts
// are allowed.
std::optional<DrawDate> parseJapaneseEraDate(std::string_view text);

// "2026年9月14日(月)"
std::string japaneseDateText(DrawDate date);

// The first day after `after` on one of the game's draw weekdays, leaving
// out the new-year break (12/31 to 1/3), when there are no draws.
DrawDate nextDrawDate(GameMode mode, DrawDate after);

// Today's date on this computer's clock, in local time.
DrawDate todayLocal();

}  // namespace tambor
