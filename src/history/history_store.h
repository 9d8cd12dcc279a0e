#pragma once
// The winning-number history (lotodata.txt: one section per game, one line
// per draw) and the statistics of the current game derived from it.

#include <array>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"

namespace tambor {

class NumberBoard;

namespace embedded {
// The history file as it stood when the program was built, byte for byte.
std::string_view builtinHistoryBytes();
}  // namespace embedded

// The history file could not be created, read or decoded. The message is
// Japanese and names the file and the reason. When load() throws it, the
// store already holds the built-in history and its statistics, so a window
// shows the message (followed by kFallbackNote) and carries on.
class HistoryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    static constexpr const char* kFallbackNote = "内蔵の当選番号データを使用します。";
};

using HitCountTable = std::array<std::int32_t, kBoardSize>;           // [n-1]
using NumberWeightTable = std::array<std::int32_t, kBoardSize + 1>;   // [0] = sum, [n]
using PairCountTable = std::array<std::array<std::int32_t, kBoardSize>, kBoardSize>;  // [a-1][b-1]
using DeviationTable = std::array<double, kBoardSize>;                // [n-1]

class HistoryStore {
public:
    static constexpr const char* kFileName = "lotodata.txt";
    // "[ミニロト当選番号]" / "[ロト６当選番号]" / "[ロト７当選番号]"
    static std::string sectionHeader(GameMode mode);

    // Reads folder/lotodata.txt (cp932, or UTF-8 as a modern editor saves
    // it), writing it from the built-in copy first when it does not exist,
    // and computes the statistics of mode. Never rewrites an existing file.
    // Throws HistoryError after falling back to the built-in history (see
    // HistoryError). A file without any draw of mode is no error: its
    // statistics are those of no draws, and noDrawsMessage() says so.
    // Memory: the text once, plus 8 bytes per draw line of the game.
    void load(const std::filesystem::path& folder, GameMode mode);
    // Takes a history text (UTF-8) and computes the statistics of mode.
    // historyPath() is left as it was.
    void loadFromText(std::string utf8Text, GameMode mode);
    // loadFromText of the built-in copy.
    void loadBuiltin(GameMode mode);

    GameMode mode() const { return mode_; }
    // The whole history as last read (UTF-8, both sections).
    const std::string& text() const { return text_; }
    // How many lines text() has (ending at CR, LF or CR LF).
    std::size_t lineCount() const { return lineCount_; }
    // folder/lotodata.txt of the last load(); empty before one.
    const std::filesystem::path& historyPath() const { return historyPath_; }

    // When the current game's section holds no draw (no such section, or an
    // empty one): the message that names the game and the file ("the
    // built-in copy" after loadFromText); empty otherwise.
    std::string noDrawsMessage() const;

    // Data lines in the current game's section, malformed ones included.
    int drawCount() const { return drawCount_; }
    // Draws with number as a main number; 0 for numbers outside 1..43.
    std::int32_t hitCount(int number) const;
    // Draws with both a and b as main numbers (a != b); 0 outside 1..43.
    std::int32_t pairCount(int a, int b) const;
    // The deviation score (mean 50, one standard deviation 10) of number's
    // hit count; 50 for every number when the standard deviation is zero.
    double deviationValue(int number) const;

    const HitCountTable& hitCounts() const { return hitCount_; }
    const PairCountTable& pairCounts() const { return pairCount_; }
    const DeviationTable& deviationValues() const { return deviationValue_; }
    // The random draw's weights: [n] = hitCount(n) + 1 after a load, [0] =
    // their sum. The random draw owns and changes them until the next load.
    const NumberWeightTable& numberWeights() const { return numberWeight_; }
    NumberWeightTable& numberWeights() { return numberWeight_; }

    // The data lines of a game's section, in draw order (draw r at r-1):
    // the lines after the first line exactly equal to the header, up to the
    // first empty line. Empty when the header is missing. The views point
    // into text() and last until the next load.
    std::vector<std::string_view> sectionLines(GameMode mode) const;
    std::vector<std::string_view> sectionLines() const { return sectionLines(mode_); }
    // The line of draw round (1-based) of the current game; false when the
    // section has no such line.
    bool drawLine(int round, std::string& line) const;

    // The winning numbers of draw round of the current game, read from the
    // end of its line: the last B numbers are the bonus numbers, the K
    // before them the main numbers. Values outside 1..N are dropped (fewer
    // numbers given); a number repeated among the main (or the bonus)
    // numbers is given once. Both arrays receive their numbers in line
    // order. Returns false, with both counts 0, when the section has no
    // line for round.
    bool drawOnBoard(int round, int mainNumbers[kMaxPick], int& mainCount, int bonusNumbers[kMaxBonus],
                     int& bonusCount) const;
    // The same reading of one data line of a game's section.
    static void readDrawNumbers(GameMode mode, std::string_view line, int mainNumbers[kMaxPick], int& mainCount,
                                int bonusNumbers[kMaxBonus], int& bonusCount);

private:
    // One line of text_: where it starts and how long it is. 32 bits each
    // keep the index small; the text is far below 4 GB (kMaxTextFileBytes).
    struct LineSpan {
        std::uint32_t start;
        std::uint32_t length;
    };

    void index(GameMode mode);
    void computeStatistics(GameMode mode);
    std::string_view lineAt(const LineSpan& span) const { return std::string_view(text_).substr(span.start, span.length); }

    GameMode mode_ = GameMode::MiniLoto;
    std::string text_;
    std::size_t lineCount_ = 0;
    // The current game's section.
    std::vector<LineSpan> section_;
    std::filesystem::path historyPath_;
    bool fromFile_ = false;
    bool headerFound_ = false;
    int drawCount_ = 0;
    HitCountTable hitCount_{};
    NumberWeightTable numberWeight_{};
    PairCountTable pairCount_{};
    DeviationTable deviationValue_{};
};

// Marks draw round of the store's game on the board: clears the winning
// main (0x10) and bonus (0x20) bits of all 43 numbers, sets them from the
// draw and recounts the roles. A round without a line leaves the marks
// cleared. Returns whether the round had a line.
bool ShowDrawOnBoard(const HistoryStore& history, int round, NumberBoard& board);

}  // namespace tambor
