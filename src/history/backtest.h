#pragma once
// The backtest: the whole combination list against every past draw of a
// range at once — the hits of each grade per draw, the theoretical money,
// and what buying the list for every draw would have cost.
//
// The grades are exactly those of the prize check. Two ways to count them:
// - enumeration, as the prize check does: every winning candidate of a
//   draw looked up in the list's set (3381 or 165,613 look-ups per draw,
//   whatever the size of the list);
// - masks: one 64-bit mask of numbers per listed combination, one AND and
//   one population count per combination and draw, the bonus bit aside.
// The cheaper one for the list size is chosen; the draws are shared among
// the machine's cores.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/combination_list.h"
#include "core/game.h"
#include "core/progress.h"
#include "history/prize_check.h"

namespace tambor {

class HistoryStore;

// One past draw as the backtest reads it.
struct BacktestDraw {
    int round = 0;     // 1-based position in the game's section
    std::string date;  // the text between "(" and ")" of the line; empty without them
    // The winning numbers as the prize check would take them from the
    // board; nothing when the line does not hold a complete draw (the
    // prize check then does not run).
    std::optional<WinningNumbers> winning;
};

// Every draw of the store's game, in draw order (round r at r - 1).
std::vector<BacktestDraw> readBacktestDraws(const HistoryStore& history);

enum class BacktestMethod { Automatic, Enumeration, Masks };

struct BacktestOptions {
    BacktestMethod method = BacktestMethod::Automatic;
    // Threads to count with: 0 for the machine's cores (at most
    // kMaxBacktestThreads), 1 for the calling thread alone.
    int threads = 0;
};
inline constexpr int kMaxBacktestThreads = 8;

struct BacktestRow {
    int round = 0;
    std::string date;
    // False for a draw without complete winning numbers: no hits, no money.
    bool checked = false;
    // Hits of grade g at index g - 1; prizeGradeCount(mode) are used.
    std::array<int, kMaxGrades> hits{};
    // Sum of hits × the grade's theoretical amount.
    std::int64_t money = 0;
};

struct BacktestResult {
    GameMode mode = GameMode::MiniLoto;
    std::size_t listSize = 0;
    std::vector<BacktestRow> rows;                      // one per draw, in the order given
    BacktestMethod method = BacktestMethod::Automatic;  // the method that counted
    // False when the progress callback stopped the work: rows are then
    // incomplete and must not be shown.
    bool completed = true;
};

// The cheaper method for a list of this size against this many draws.
BacktestMethod chooseBacktestMethod(GameMode mode, std::size_t listSize, std::size_t drawCount);

// Counts the grades of every listed combination against each draw.
// Precondition: the draws are of the list's game. progress gets the
// percentage of draws done on the calling thread; when it asks to stop,
// the result is incomplete (completed is false).
BacktestResult RunBacktest(const CombinationList& list, const std::vector<BacktestDraw>& draws,
                           const ProgressCallback& progress = {}, const BacktestOptions& options = {});

// ---- Range ----

struct RoundRange {
    int from = 0;
    int to = 0;
    int count() const { return to - from + 1; }
    bool operator==(const RoundRange&) const = default;
};

// Both ends clamped to 1..drawCount as the prize check's round field
// clamps; nothing when there are no draws or from > to after clamping.
std::optional<RoundRange> clampRoundRange(long long from, long long to, int drawCount);

// ---- Summary ----

struct BacktestSummary {
    int draws = 0;
    int uncheckedDraws = 0;  // of them, draws without complete winning numbers
    std::array<std::int64_t, kMaxGrades> hits{};
    std::int64_t money = 0;
    // list size × the ticket price (200 yen) × draws
    std::int64_t cost = 0;
    // Index in rows of the draw that won most (the earliest of equals);
    // nothing when nothing was won.
    std::optional<std::size_t> best;
};

// The summary of rows [first, end) of a result.
BacktestSummary SummarizeBacktest(const BacktestResult& result, std::size_t first, std::size_t end);
// money / cost × 100; nothing without cost (an empty list or range).
std::optional<double> backtestReturnPercent(const BacktestSummary& summary);
// "52.3%" (one decimal), "--" without cost.
std::string FormatReturnPercent(const BacktestSummary& summary);

// ---- Table text ----

// "回", "日付", the grade headings of the game, "当選金額".
std::vector<std::string> backtestHeader(GameMode mode);
// The round and the counts in plain decimal, the money in plain yen; a
// draw that could not be checked shows "-" for its counts and money.
std::vector<std::string> backtestRowCells(GameMode mode, const BacktestRow& row);
// The header, rows [first, end), then "合計" with the number of draws, the
// summed hits and money, and "購入金額" with the cost.
std::vector<std::vector<std::string>> backtestTable(const BacktestResult& result, std::size_t first, std::size_t end);
// Cells joined by commas; a cell holding a comma, a double quote or a line
// end is quoted with its quotes doubled.
std::string csvLine(const std::vector<std::string>& cells);
// Writes the table as CSV (cp932, CR LF), atomically. Throws FileError or
// TextEncodingError.
void saveBacktestCsv(const std::filesystem::path& path, const std::vector<std::vector<std::string>>& table);

}  // namespace tambor
