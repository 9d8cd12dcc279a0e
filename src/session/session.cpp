#include "session/session.h"

#include <algorithm>
#include <stdexcept>

#include "core/japanese_count.h"
#include "generate/list_filter.h"
#include "generate/list_sort.h"
#include "generate/past_winners.h"
#include "history/online_update.h"
#include "io/program_files.h"
#include "io/text_file.h"
#include "session/refusals.h"

namespace tambor {
namespace {

// "条件で除外: 1234 口"
std::string filterExcludedLine(std::int64_t excluded) {
    return "条件で除外: " + FormatJapaneseCount(excluded) + " 口";
}

}  // namespace

Session::Session(std::filesystem::path dataFolder, GameMode mode)
    : mode_(mode), dataFolder_(std::move(dataFolder)), list_(mode), board_(mode) {
    board_.refreshCounts();
    random_.SeedRandom();
}

// ---------------------------------------------------------------- game, list, board

Changes Session::switchGame(GameMode mode) {
    const int role = board_.currentRole();
    mode_ = mode;
    // Numbers the new game lacks lose their roles; a board that then holds
    // more of a role than the new game allows (too many together numbers
    // for its limit, seven main numbers in ロト６) loses every role.
    board_.clearAbove(rulesFor(mode).maxNumber);
    board_.setMode(mode);
    board_.refreshCounts();
    if (!board_.withinLimits()) {
        board_.clearAll();
        board_.refreshCounts();
    }
    list_.reset(mode);
    // The remembered list belongs to the other game.
    undo_.reset();
    Changes changes = Changes(Change::Game) | resetList() | loadHistory();
    return changes | selectRole(role);
}

Changes Session::clearList() {
    rememberList();
    return resetList();
}

Changes Session::resetList() {
    list_.clear();
    drawStatistics_.clear();
    weightingReport_.clear();
    prizeLines_.clear();
    rSystemResult_.clear();
    filterResult_.clear();
    return resetPrizeDisplay() | Change::List | Change::Duplicates | Change::Report | Change::PrizeLines;
}

Changes Session::clearDuplicates() {
    rememberList();
    list_.clearDuplicates();
    return Change::Duplicates;
}

void Session::rememberList() {
    // The old copy goes first, so there is never more than one.
    undo_.reset();
    undo_ = list_.snapshot();
}

Changes Session::undoList() {
    if (!undo_) return Changes::refused(refusal::kNothingToUndo);
    list_.restore(std::move(*undo_));
    undo_.reset();
    rSystemResult_.clear();
    filterResult_.clear();
    return resetPrizeDisplay() | Change::List | Change::Duplicates;
}

Changes Session::selectRole(int role) {
    board_.setCurrentRole(role);
    return Change::Board;
}

Changes Session::clearBoard() {
    board_.clearAll();
    return Change::Board;
}

Changes Session::clickNumber(int number, bool rightButton) {
    if (number < 1 || number > rules().maxNumber) return {};
    if (std::string reason = board_.refusalReason(number, rightButton); !reason.empty())
        return Changes::refused(std::move(reason));
    Changes changes = Change::Board;
    const int role = board_.currentRole();
    if (role == Main || role == Bonus) changes |= resetPrizeDisplay() | forgetPrizeRound();
    board_.toggle(number, rightButton);
    return changes;
}

Changes Session::clearCurrentRole() {
    Changes changes = Change::Board;
    const int role = board_.currentRole();
    if (role == Main || role == Bonus) changes |= resetPrizeDisplay() | forgetPrizeRound();
    board_.clearCurrentRole();
    return changes;
}

Changes Session::resetPrizeDisplay() {
    prizeFigures_.reset();
    return Change::Prize;
}

Changes Session::setRSystem(bool on) {
    options_.rSystem = on;
    board_.setRSystem(on);  // axis numbers (and the axis role) become together
    return Change::Board | Change::Options;
}

Changes Session::setPastRemove(bool on) {
    options_.pastRemove = on;
    RebuildPastWinnerSet(pastWinnerSet_, on, mode_, history_.sectionLines());
    return Change::Options;
}

// ---------------------------------------------------------------- grid editor

bool Session::beginListEdit(EditLines& lines, const ProgressCallback& progress) {
    return lines.load(list_, scratchSet_, progress);
}

Changes Session::endListEdit(EditLines& lines, bool apply, const ProgressCallback& progress) {
    Changes changes;
    // Lines of another game (the list was switched under the edit) would
    // not fit the list: they are dropped rather than applied.
    if (apply && lines.loaded() && lines.modified() && lines.mode() == mode_) {
        rememberList();
        list_.mutableItems() = lines.completeIndices(progress);
        list_.listedSet() = lines.combinations();
        list_.setChanged(true);
        changes = Change::List;
    }
    lines.release();
    return changes;
}

// ---------------------------------------------------------------- generation

Changes Session::randomDraw(int count, const ProgressCallback& progress) {
    Changes changes;
    const int role = board_.currentRole();
    if (role != Fix && role != Disable) changes |= selectRole(Disable);
    changes |= resetPrizeDisplay();
    DrawRequest request;
    takeBoardNumbers(board_, request);
    request.count = count;
    request.mode = options_.priorityMode;
    const CombinationFilter filter = currentFilter();
    request.filter = &filter;
    rememberList();
    rSystemResult_.clear();
    filterResult_.clear();
    try {
        const DrawResult result = RunRandomDraw(drawHistoryOf(history_), request, history_.numberWeights(),
                                                drawStatistics_, random_, list_, &pastWinnerSet_, progress);
        weightingReport_ = result.report;
        if (filter.active()) {
            filterResult_ = filterExcludedLine(result.excluded);
            weightingReport_.insert(weightingReport_.begin(), filterResult_);
            if (result.completed && result.passed < std::max(count, 1))
                changes.setRefusal(refusal::filterShort(result.passed, result.produced));
        }
    } catch (const std::invalid_argument& e) {
        // The board never allows such a request; say so rather than crash.
        changes.addProblem(e.what());
        return changes;
    }
    return changes | Change::List | Change::Duplicates | Change::Report;
}

Changes Session::buildCombinations(const ProgressCallback& progress) {
    if (board_.count(Axis) + board_.count(Together) < rules().pickCount)
        return Changes::refused(refusal::tooFewToBuild(rules().pickCount));
    Changes changes;
    if (board_.currentRole() != Axis && board_.currentRole() != Together) changes |= selectRole(Together);
    changes |= resetPrizeDisplay();
    rSystemResult_.clear();
    filterResult_.clear();
    rememberList();
    try {
        BuildRequest request = buildRequestFromBoard(board_, options_.arrangeMode);
        const CombinationFilter filter = currentFilter();
        if (builderFiltered()) request.filter = &filter;
        const BuildResult result = RunCombinationBuilder(request, list_, pastWinnerSet_, scratchSet_, random_, progress);
        rSystemResult_ = rSystemResultLine(request, result);
        if (request.filter != nullptr) filterResult_ = filterExcludedLine(static_cast<std::int64_t>(result.excluded));
        if (result.completed && result.listed == 0 && result.kept > 0)
            changes.setRefusal(refusal::alreadyListed(result.kept));
    } catch (const std::invalid_argument& e) {
        changes.addProblem(e.what());
        return changes;
    }
    return changes | Change::List | Change::Duplicates;
}

std::int64_t Session::builderLineCount() const {
    if (board_.rSystem() && options_.arrangeMode == ArrangeMode::Fewest)
        return fewestLineCount(mode_, board_.count(Axis) + board_.count(Together));
    return board_.builderLineCount();
}

GuaranteeCheck Session::checkGuarantee(const ProgressCallback& progress) const {
    const BuildRequest request = buildRequestFromBoard(board_, options_.arrangeMode);
    return CheckGuarantee(mode_, request.axis, request.together, list_.items(), progress);
}

Changes Session::sortList(const ProgressCallback& progress) {
    if (list_.empty()) return Changes::refused(refusal::kNothingToSort);
    rememberList();
    if (!SortCombinationList(list_, progress)) return {};
    return Change::List;
}

// ---------------------------------------------------------------- filters

FilterSettings Session::filterSettings() const {
    const auto it = options_.filters.find(mode_);
    return it != options_.filters.end() ? it->second : defaultFilterSettings(mode_);
}

Changes Session::setFilterSettings(const FilterSettings& settings) {
    if (settings == filterSettings()) return {};
    options_.filters[mode_] = settings;
    return Change::Options;
}

CombinationFilter Session::currentFilter() const {
    std::uint64_t newest = 0;
    int mains[kMaxPick] = {};
    int bonuses[kMaxBonus] = {};
    int count = 0, bonusCount = 0;
    if (history_.drawOnBoard(history_.drawCount(), mains, count, bonuses, bonusCount))
        for (int i = 0; i < count; ++i) newest |= std::uint64_t{1} << (mains[i] - 1);
    return CombinationFilter(mode_, filterSettings(), newest);
}

Changes Session::narrowList(const ProgressCallback& progress) {
    const CombinationFilter filter = currentFilter();
    if (!filter.active()) return Changes::refused(refusal::kNoFilterConditions);
    if (list_.empty()) return Changes::refused(refusal::kNothingToNarrow);
    // A run that removes nothing (or is stopped) keeps the step before it.
    std::optional<ListSnapshot> stepBefore = std::move(undo_);
    rememberList();
    const NarrowResult result = NarrowCombinationList(list_, filter, progress);
    if (!result.completed || result.removed == 0) {
        undo_ = std::move(stepBefore);
        return result.completed ? Changes::refused(refusal::kAllPassFilter) : Changes();
    }
    rSystemResult_.clear();
    filterResult_ = filterExcludedLine(static_cast<std::int64_t>(result.removed));
    return resetPrizeDisplay() | Change::List;
}

// ---------------------------------------------------------------- history, prize check

Changes Session::loadHistory() {
    Changes changes = Change::History;
    historyError_.clear();
    // Stamped before reading: a file replaced while it is read is read again
    // at the next look. A missing file is made by the load: its stamp is taken after.
    const std::optional<FileStamp> stamp = fileStamp(historyPath());
    try {
        history_.load(dataFolder_, mode_);
        // A file without this game's draws is used as it is, but the user
        // hears why every statistic is even.
        if (const std::string note = history_.noDrawsMessage(); !note.empty())
            changes.addProblem(note + "\n統計は当選番号なし（すべて 0 回）として計算します。");
    } catch (const HistoryError& e) {
        historyError_ = e.what();
        changes.addProblem(historyError_ + "\n" + HistoryError::kFallbackNote);
    }
    historyStamp_ = stamp ? stamp : fileStamp(historyPath());
    // The past winners always belong to the game in force.
    RebuildPastWinnerSet(pastWinnerSet_, options_.pastRemove, mode_, history_.sectionLines());
    return changes | selectPrizeRound(std::to_string(std::max(history_.drawCount(), 1)));
}

bool Session::historyFileChanged() const { return fileStamp(historyPath()) != historyStamp_; }

Changes Session::mergeBuiltinHistory() {
    const BuiltinMergeResult result = mergeNewerBuiltinDraws(historyPath(), embedded::builtinHistoryBytes());
    Changes changes;
    if (!result.error.empty()) changes.addProblem(result.error);
    if (result.conflict) {
        const std::string key = std::string(gameName(result.conflict->mode)) + "," + std::to_string(result.conflict->round);
        if (options_.noticedHistoryConflict != key) {
            changes.addProblem(result.conflictMessage(historyPath()));
            options_.noticedHistoryConflict = key;
            changes |= Change::Options;
        }
    }
    if (result.changed()) changes |= loadHistory();
    return changes;
}

Changes Session::selectPrizeRole() {
    const int role = board_.currentRole();
    if (role == Main || role == Bonus) return {};
    return selectRole(Main);
}

Changes Session::forgetPrizeRound() {
    prizeRound_.reset();
    return Change::PrizeRound;
}

void Session::showDrawOnBoard(int round) { ShowDrawOnBoard(history_, round, board_); }

Changes Session::selectPrizeRound(std::string_view roundText) {
    Changes changes = resetPrizeDisplay() | selectPrizeRole();
    const std::optional<int> round = SelectedRound(roundText, history_.drawCount());
    if (!round) return changes | forgetPrizeRound();
    prizeRound_ = round;
    showDrawOnBoard(*round);
    return changes | Change::PrizeRound | Change::Board;
}

Changes Session::usePrizeRound(bool on, std::string_view roundText) {
    Changes changes = selectPrizeRole();
    if (!on) return changes | forgetPrizeRound();
    const int drawCount = history_.drawCount();
    // The round field's spinner holds 1 .. the newest round.
    const int round = std::clamp(RoundFromText(roundText, drawCount), 1, std::max(drawCount, 1));
    return changes | resetPrizeDisplay() | selectPrizeRound(std::to_string(round));
}

bool Session::prizeCheckPossible() const { return winningNumbersFromBoard(board_).has_value(); }

Changes Session::clearPrizeLines() {
    prizeLines_.clear();
    return Change::PrizeLines;
}

Changes Session::runPrizeCheck(const ProgressCallback& progress) {
    const std::optional<WinningNumbers> winning = winningNumbersFromBoard(board_);
    if (!winning) return Changes::refused(refusal::winningNumbersIncomplete(rules().pickCount));
    Changes changes = clearPrizeLines() | selectPrizeRole();
    PrizeCheckResult result = RunPrizeCheck(mode_, *winning, list_.listedSet(), progress);
    if (!result.completed) return changes | resetPrizeDisplay();
    prizeFigures_ = PrizeFigures{result.hits, std::move(result.moneyText)};
    prizeLines_ = std::move(result.lines);
    return changes | Change::Prize;
}

// ---------------------------------------------------------------- editing the history

std::optional<HistoryDraw> Session::newestDraw() const {
    const int count = history_.drawCount();
    std::string line;
    if (!history_.drawLine(count, line)) return std::nullopt;
    return readHistoryDraw(mode_, line, count);
}

DrawDate Session::proposedDrawDate() const {
    const std::optional<HistoryDraw> newest = newestDraw();
    if (newest && newest->date) return nextDrawDate(mode_, *newest->date);
    const DrawDate today = todayLocal();
    return nextDrawDate(mode_, DrawDate{std::chrono::sys_days{today} - std::chrono::days{1}});
}

Changes Session::afterHistoryEdit(const std::string& problem) {
    if (!problem.empty()) return Changes::refused(problem);
    return loadHistory();
}

Changes Session::addDraw(const DrawEntry& entry) {
    return afterHistoryEdit(tambor::addNextDraw(historyPath(), mode_, entry));
}

Changes Session::correctNewestDraw(const DrawEntry& entry) {
    return afterHistoryEdit(tambor::correctNewestDraw(historyPath(), mode_, entry));
}

Changes Session::deleteNewestDraw() { return afterHistoryEdit(tambor::removeNewestDraw(historyPath(), mode_)); }

Changes Session::importResultFiles(const std::vector<std::filesystem::path>& files, ImportOutcome& outcome) {
    outcome = tambor::importResultFiles(historyPath(), files);
    if (!outcome.written) return {};
    return loadHistory();
}

UpdateRequest Session::updateRequest() const {
    return UpdateRequest{updateBaseUrl(options_.updateUrl),
                         proxyText(options_.useProxy, options_.proxyAddress, options_.proxyPort),
                         dataFolder_ / HistoryStore::kFileName};
}

// ---------------------------------------------------------------- files, clipboard

Changes Session::appendFile(const CombinationFile& file, const ProgressCallback& progress) {
    Changes changes = resetPrizeDisplay();
    rememberList();
    const LoadResult result = appendCombinationFile(list_, file, progress);
    if (result.completed && result.found == 0)
        changes.setRefusal(refusal::nothingToLoad(file.path));
    else if (result.completed && result.listed == 0)
        changes.setRefusal(refusal::alreadyListed(result.found));
    return changes | Change::List | Change::Duplicates;
}

void Session::saveList(const std::string& path, int pages, const ProgressCallback& progress) {
    refuseProgramFile(path, dataFolder_);
    saveCombinationFile(path, list_, pages, progress);
}

Changes Session::paste(std::optional<std::size_t> focused, std::string_view text, const ProgressCallback& progress) {
    rememberList();
    const PasteResult result = pasteText(list_, focused, text, progress);
    Changes changes = Change::List | Change::Duplicates;
    if (result.completed && result.found == 0)
        changes.setRefusal(refusal::kNothingPasted);
    else if (result.completed && result.listed == 0)
        changes.setRefusal(refusal::alreadyListed(result.found));
    return changes;
}

Changes Session::cut(ListBoxKind target, std::vector<std::size_t> selected, std::string& text) {
    text.clear();
    if (target != ListBoxKind::Pick && target != ListBoxKind::Duplicate) return Changes::refused(refusal::kNotInThisList);
    if (selected.empty()) return Changes::refused(refusal::kNothingSelected);
    rememberList();
    text = cutLines(list_, target, std::move(selected));
    return target == ListBoxKind::Pick ? Change::List : Change::Duplicates;
}

Changes Session::deleteLines(ListBoxKind target, std::vector<std::size_t> selected) {
    std::string discarded;
    return cut(target, std::move(selected), discarded);
}

// ---------------------------------------------------------------- options, settings

Changes Session::changeOptions(const std::function<void(Options&)>& edit) {
    Options next = options_;
    edit(next);
    const bool rSystem = next.rSystem, pastRemove = next.pastRemove;
    next.rSystem = options_.rSystem;
    next.pastRemove = options_.pastRemove;
    options_ = next;
    Changes changes = Change::Options;
    if (rSystem != options_.rSystem) changes |= setRSystem(rSystem);
    if (pastRemove != options_.pastRemove) changes |= setPastRemove(pastRemove);
    return changes;
}

// The reading steps act on the session as the controls would: the game
// through the whole switch, the R system and past-winner removal with their
// effects (past winners are rebuilt only when the option changes).
class Session::ReadingTarget : public SettingsTarget {
public:
    explicit ReadingTarget(Session& session) : session_(session) {}
    void readGame(GameMode game) override { changes |= session_.switchGame(game); }
    Options& options() override { return session_.options_; }
    void readRSystem(bool on) override { changes |= session_.setRSystem(on); }
    void readPastRemove(bool on) override {
        if (on != session_.options_.pastRemove) changes |= session_.setPastRemove(on);
    }
    Changes changes;

private:
    Session& session_;
};

Changes Session::readSettings(const PrinterInfo* printer) {
    const std::filesystem::path path = settingsPath(dataFolder_);
    std::vector<std::string> lines;
    Changes problems;
    try {
        // What a save cut off at the last run left beside the file.
        removeStaleTemporaries(path);
        ensureSettingsFile(path, storedSettings(), printer);
        SettingsFileLines file = readSettingsFileLines(path);
        lines = std::move(file.lines);
        // Reported once; the other lines still count.
        if (!file.problem.empty()) problems.addProblem(file.problem);
    } catch (const std::exception& e) {
        // Reported once; the program goes on with the defaults.
        problems.addProblem(e.what());
    }
    ReadingTarget target(*this);
    readSettingsLines(lines, printer, target);
    settingsAsRead_ = settingsLines(storedSettings(), printer);
    return problems | target.changes | Change::Options | Change::DrawCount;
}

SettingsWrite Session::writeSettings(const PrinterInfo* printer) {
    const std::filesystem::path path = settingsPath(dataFolder_);
    std::vector<std::string> before;
    if (settingsAsRead_) {
        before = *settingsAsRead_;
    } else {
        // Never read: the values the file holds now are the ones to change.
        try {
            std::error_code ec;
            if (std::filesystem::exists(path, ec))
                before = settingsLines(parseSettings(readSettingsFileLines(path).lines, storedSettings(), printer), printer);
        } catch (const std::exception&) {
            // The merge reports a file it cannot read.
        }
    }
    std::vector<std::string> now = settingsLines(storedSettings(), printer);
    const SettingsWrite written = mergeSettingsFile(path, before, now);
    settingsAsRead_ = std::move(now);
    return written;
}

DrawHistory drawHistoryOf(const HistoryStore& history) {
    DrawHistory h;
    h.game = history.mode();
    h.drawCount = history.drawCount();
    h.hitCount = history.hitCounts();
    h.pairCount = history.pairCounts();
    h.deviationValue = history.deviationValues();
    return h;
}

}  // namespace tambor
