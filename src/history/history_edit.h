#pragma once
// Changes to lotodata.txt made by the program itself: draws added at the end
// of a game's section, the newest draw corrected or removed. Each change
// reads the file as it is on disk now (so edits made by hand meanwhile are
// kept), changes its lines and writes it once: the old file becomes
// lotodata.bak, the new one replaces it atomically (cp932, CR LF).

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "core/game.h"
#include "history/history_draw.h"

namespace tambor {

// Where a game's section lies in the file's lines: the data lines are
// [first, end); found is false when no line equals the header.
struct HistorySection {
    bool found = false;
    std::size_t first = 0;
    std::size_t end = 0;
    std::size_t size() const { return end - first; }
};
HistorySection findHistorySection(const std::vector<std::string>& lines, GameMode mode);

// The draws of a game's section in draw order; a line that does not read
// as a draw is an entry without value.
std::vector<std::optional<HistoryDraw>> sectionDraws(const std::vector<std::string>& lines, GameMode mode);

// Adds lines at the end of the game's section; a file without that section
// gets one at its end (header, lines, an empty line).
void appendSectionLines(std::vector<std::string>& lines, GameMode mode, const std::vector<std::string>& drawLines);

// The file's lines (UTF-8). Throws FileError or TextEncodingError.
std::vector<std::string> readHistoryLines(const std::filesystem::path& historyPath);
// Keeps the file on disk as lotodata.bak and writes lines in its place, both
// atomically. Throws FileError or TextEncodingError (before any file is
// touched when a line has a character cp932 cannot hold).
void writeHistoryLines(const std::filesystem::path& historyPath, const std::vector<std::string>& lines);

// The numbers and date of a draw typed by the user.
struct DrawEntry {
    DrawDate date;
    std::vector<int> mainNumbers;
    std::vector<int> bonusNumbers;
};

// Each returns empty text when the file was changed, else why nothing was
// done (the file is then untouched), in Japanese.
// Adds the game's next draw (round = the section's draws + 1); its date
// must come after the newest draw's.
std::string addNextDraw(const std::filesystem::path& historyPath, GameMode mode, const DrawEntry& entry);
// Replaces the newest draw (same round); its date must come after the draw
// before it.
std::string correctNewestDraw(const std::filesystem::path& historyPath, GameMode mode, const DrawEntry& entry);
// Removes the newest draw.
std::string removeNewestDraw(const std::filesystem::path& historyPath, GameMode mode);

// "第2137回" / "第2137回（2026年9月14日(月)）"
std::string roundText(int round);
std::string roundAndDateText(const HistoryDraw& draw);

}  // namespace tambor
