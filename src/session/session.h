#pragma once
// The program's state in one place: the game in force, the combination
// list, the number board, the history, the prize check's selection and
// results, and the options. The windows show this state and call these
// operations; the command line program drives the same calls. Every
// operation returns what it changed, so a window refreshes from that.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/combination_list.h"
#include "core/edit_lines.h"
#include "core/number_board.h"
#include "core/progress.h"
#include "generate/combination_builder.h"
#include "generate/guarantee_cover.h"
#include "generate/random.h"
#include "generate/random_draw.h"
#include "history/builtin_merge.h"
#include "history/filter_history.h"
#include "history/history_edit.h"
#include "history/history_import.h"
#include "history/history_store.h"
#include "history/number_analysis.h"
#include "history/prize_check.h"
#include "io/file_stamp.h"
#include "io/clipboard_text.h"
#include "io/combination_file.h"
#include "session/changes.h"
#include "session/options.h"
#include "session/settings_file.h"
#include "session/settings_merge.h"

namespace tambor {

struct UpdateRequest;  // history/online_update.h

// The grade and money fields after a prize check.
struct PrizeFigures {
    std::array<int, kMaxGrades> hits{};
    std::string moneyText;
};

class Session {
public:
    // A session in the given game with an empty list and board; the history
    // is read by the first game switch or loadHistory().
    explicit Session(std::filesystem::path dataFolder = {}, GameMode mode = GameMode::MiniLoto);

    // ---- State ----
    GameMode mode() const { return mode_; }
    GameRules rules() const { return rulesFor(mode_); }
    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    CombinationList& list() { return list_; }
    const CombinationList& list() const { return list_; }
    NumberBoard& board() { return board_; }
    const NumberBoard& board() const { return board_; }
    const HistoryStore& history() const { return history_; }
    const Options& options() const { return options_; }
    RandomGenerator& random() { return random_; }
    const DrawStatistics& drawStatistics() const { return drawStatistics_; }
    const CombinationSet& pastWinnerSet() const { return pastWinnerSet_; }
    // A working set for whoever needs one for the length of a command.
    CombinationSet& scratchSet() { return scratchSet_; }

    // The draw the prize check uses: a round of the history, or nothing
    // when the hand-marked main and bonus numbers are used.
    std::optional<int> prizeRound() const { return prizeRound_; }
    // The figures of the last prize check; nothing once they were forgotten.
    const std::optional<PrizeFigures>& prizeFigures() const { return prizeFigures_; }
    // The winning lines the last prize check found, under grade headings.
    const std::vector<std::string>& prizeLines() const { return prizeLines_; }
    // The weighting report of the last random draw; empty after a clear.
    const std::vector<std::string>& weightingReport() const { return weightingReport_; }

    // ---- Game, list and board ----
    // The whole game switch: the board trimmed to the new game (or every
    // role cleared when the together numbers no longer fit), the list
    // cleared, the history re-read, the newest draw selected for the prize
    // check, the past winners rebuilt; the current role stays.
    Changes switchGame(GameMode mode);
    // Empties both lists, their sets, the draw statistics, the report, the
    // prize lines and the prize figures; the changed flag is cleared.
    Changes clearList();
    Changes clearDuplicates();

    // ---- Undo (元に戻す) ----
    // Remembers the list as it is now (both lists, their sets and the
    // changed flag) as the one step undoList() goes back to, in place of
    // the step remembered before; it costs one copy of the lines' indices.
    // Every operation of the session that changes the list calls it before
    // its change; a new command that changes the list calls it once, right
    // before it does, and nothing else is needed.
    void rememberList();
    bool canUndoList() const { return undo_.has_value(); }
    // Puts the remembered list back and forgets it (one level: a second
    // undo is refused). The prize figures and the R-system result line are
    // forgotten, as after any change of the list. The game switch forgets
    // the remembered list.
    Changes undoList();
    Changes selectRole(int role);
    // Zeroes every role of every number.
    Changes clearBoard();
    // A click on a number; nothing when the board refuses it. Editing the
    // winning numbers forgets the prize result and the selected round.
    Changes clickNumber(int number, bool rightButton);
    // Removes the current role from every number.
    Changes clearCurrentRole();
    // Forgets the figures of the last prize check.
    Changes resetPrizeDisplay();

    // ---- The grid editor ----
    // Loads the list into the editor's working lines, with a copy of the
    // listed set in the scratch set; false when stopped (nothing loaded).
    bool beginListEdit(EditLines& lines, const ProgressCallback& progress = {});
    // Ends the edit. With apply and modified lines: the rows without a
    // whole combination dropped, the others in their order become the list,
    // their set the listed set, and the changed flag is set; the duplicate
    // list is not touched. The lines are released in every case.
    Changes endListEdit(EditLines& lines, bool apply, const ProgressCallback& progress = {});

    // ---- Generation ----
    // Adds count weighted random combinations by the priority option, with
    // the board's fixed and forbidden numbers.
    Changes randomDraw(int count, const ProgressCallback& progress = {});
    // Adds every combination of the axis and together numbers (or the
    // reduced set with the R system) in the order option; nothing when
    // fewer than a combination's numbers are marked.
    Changes buildCombinations(const ProgressCallback& progress = {});
    // Puts the list in ascending order; a stop leaves it as it was.
    Changes sortList(const ProgressCallback& progress = {});
    // After an R-system build that ran to the end: how many it kept and the
    // least number possible ("79,342 組（下限 31,264 組）"); empty after any
    // other build and once the list is cleared. Refreshed with Change::List.
    const std::string& rSystemResult() const { return rSystemResult_; }
    // The count shown beside the builder before a build: the board's count,
    // or with the R system in the fewest-tickets order the count that order
    // keeps from an empty list.
    std::int64_t builderLineCount() const;
    // Checks the list against every combination of the board's axis and
    // together numbers (no combinations when fewer are marked).
    GuaranteeCheck checkGuarantee(const ProgressCallback& progress = {}) const;

    // ---- Filters (絞り込み条件) and the number analysis ----
    // The conditions of the game in force; all off until set.
    FilterSettings filterSettings() const;
    // Stores the conditions of the game in force (an option: saved in
    // Tambor.ini). Settings of another shape than the game's are refused.
    Changes setFilterSettings(const FilterSettings& settings);
    // The conditions as the generators test them, previous against the
    // newest draw of the history.
    CombinationFilter currentFilter() const;
    // Whether a build applies the conditions: some are on and the R system
    // is off (its guarantee needs every ticket it keeps).
    bool builderFiltered() const { return filterSettings().anyEnabled() && !board_.rSystem(); }
    // Keeps only the listed combinations that pass the conditions (the
    // duplicate list stays); a stop leaves the list as it was.
    Changes narrowList(const ProgressCallback& progress = {});
    // "条件で除外: 12 口" after a draw or a build that applied the
    // conditions; empty after any other and once the list is cleared.
    const std::string& filterResult() const { return filterResult_; }
    // The eight statistics of every draw of the history, for pass rates
    // and histograms (well under a millisecond for the full history).
    FilterHistory filterHistory() const { return FilterHistory(history_); }
    // Each number's hits and gaps in the history.
    std::vector<NumberAnalysisRow> numberAnalysis() const { return analyzeNumbers(history_); }

    // ---- History and prize check ----
    // Re-reads lotodata.txt for the game in force (creating it from the
    // built-in copy when missing), recomputes the statistics and the past
    // winners and selects the newest draw. A failure is reported in the
    // changes; the built-in copy's statistics are then in use. A file
    // without a draw of the game is used as it is and reported too.
    Changes loadHistory();
    // Adds to lotodata.txt the built-in draws newer than its newest (see
    // history/builtin_merge.h) and re-reads the history when it did. A file
    // that differs from the built-in copy is reported once per differing
    // round (remembered in the options), never changed.
    Changes mergeBuiltinHistory();
    // Whether lotodata.txt is not the file the last loadHistory read (another
    // program replaced or changed it since); the caller then reloads.
    bool historyFileChanged() const;
    // Why the last loadHistory fell back to the built-in copy (without the
    // note that it did); empty when the file is in use.
    const std::string& historyError() const { return historyError_; }
    // The round field's text changed: an empty text selects the hand-marked
    // numbers, any other text a round (clamped; not a number: the newest),
    // whose draw is marked on the board.
    Changes selectPrizeRound(std::string_view roundText);
    // The round check box: off selects the hand-marked numbers, on the
    // round the field names.
    Changes usePrizeRound(bool on, std::string_view roundText);
    // Whether the board holds a complete set of winning numbers.
    bool prizeCheckPossible() const;
    // Checks the list against the winning numbers on the board; nothing
    // when they are incomplete. A stop forgets the partial result.
    Changes runPrizeCheck(const ProgressCallback& progress = {});
    // Forgets the winning lines of the last check.
    Changes clearPrizeLines();
    // ---- Editing the history ----
    // The newest draw of the game in force as its line reads; nothing when
    // the game has no draw or the line does not read as one.
    std::optional<HistoryDraw> newestDraw() const;
    // The date a new draw gets unless the user says otherwise: the game's
    // next draw day after the newest draw (after today without one).
    DrawDate proposedDrawDate() const;
    // Adds the next round, corrects or removes the newest one in
    // lotodata.txt (one write, the old file kept as lotodata.bak), then
    // re-reads the history as after an update: the statistics, the past
    // winners and the prize check's round follow the newest draw. Refused
    // with the reason when the numbers or the date cannot be a draw, or the
    // file cannot be changed; the file is then untouched.
    Changes addDraw(const DrawEntry& entry);
    Changes correctNewestDraw(const DrawEntry& entry);
    Changes deleteNewestDraw();
    // Takes the bank's result files into lotodata.txt (see importResultFiles
    // in history/history_import.h); the history is re-read when draws were
    // added. outcome says what was added and what was not.
    Changes importResultFiles(const std::vector<std::filesystem::path>& files, ImportOutcome& outcome);

    // What an online update of this session's lotodata.txt asks for: the
    // server folder (UpdateUrl; empty when none is set) and the proxy
    // options. The caller includes history/online_update.h.
    UpdateRequest updateRequest() const;

    // ---- Files and clipboard ----
    // Appends a file read with readCombinationFile (after any game switch
    // its header asked for).
    Changes appendFile(const CombinationFile& file, const ProgressCallback& progress = {});
    // Saves the list (layout by the file name). Throws FileError, also for
    // the program's own files in the data folder (lotodata.txt, …).
    void saveList(const std::string& path, int pages, const ProgressCallback& progress = {});
    Changes paste(std::optional<std::size_t> focused, std::string_view text, const ProgressCallback& progress = {});
    // Removes the selected lines of the list or the duplicate list and
    // returns their text in text. Nothing selected: a refusal.
    Changes cut(ListBoxKind target, std::vector<std::size_t> selected, std::string& text);
    // The same without the text (the Delete key).
    Changes deleteLines(ListBoxKind target, std::vector<std::size_t> selected);

    // ---- Options and settings ----
    // Applies an edit of the options; the R system and past-winner removal
    // take effect on the board and the past winners.
    Changes changeOptions(const std::function<void(Options&)>& edit);
    // Writes Tambor.ini from the current state when it is missing, then
    // runs the reading steps over it. A file that cannot be read is
    // reported in the changes and the steps run over nothing (defaults);
    // lines that cannot be decoded are left out and reported once.
    Changes readSettings(const PrinterInfo* printer);
    // Writes into Tambor.ini the values changed since readSettings (or,
    // when it never ran, those that differ from what the file holds),
    // keeping every other line of the file as it is now: another window's
    // changes, user comments, lines that could not be decoded. Throws
    // FileError (also for a file that exists but cannot be read) or
    // TextEncodingError.
    SettingsWrite writeSettings(const PrinterInfo* printer);
    StoredSettings storedSettings() const { return {mode_, options_}; }

private:
    class ReadingTarget;

    // Empties the lists and what describes them; clearList() and the game
    // switch share it.
    Changes resetList();
    Changes setRSystem(bool on);
    Changes setPastRemove(bool on);
    Changes forgetPrizeRound();
    // The prize controls work on the winning numbers: their role pair.
    Changes selectPrizeRole();
    void showDrawOnBoard(int round);
    // After a change of lotodata.txt by the program: why it failed, or the
    // history re-read.
    Changes afterHistoryEdit(const std::string& problem);
    std::filesystem::path historyPath() const { return dataFolder_ / HistoryStore::kFileName; }

    GameMode mode_ = GameMode::MiniLoto;
    std::filesystem::path dataFolder_;
    CombinationList list_;
    NumberBoard board_;
    HistoryStore history_;
    Options options_;
    RandomGenerator random_;
    DrawStatistics drawStatistics_;
    CombinationSet pastWinnerSet_;
    CombinationSet scratchSet_;
    std::optional<int> prizeRound_;
    std::optional<PrizeFigures> prizeFigures_;
    std::vector<std::string> prizeLines_;
    std::vector<std::string> weightingReport_;
    std::string rSystemResult_;
    std::string filterResult_;
    std::string historyError_;
    // The lotodata.txt the history was last read from.
    std::optional<FileStamp> historyStamp_;
    std::optional<ListSnapshot> undo_;
    // The settings' lines as last read or written: what writeSettings
    // compares with to find this session's changes.
    std::optional<std::vector<std::string>> settingsAsRead_;
};

// The statistics the random draw reads, taken from the history.
DrawHistory drawHistoryOf(const HistoryStore& history);

}  // namespace tambor
