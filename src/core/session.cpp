#include "core/session.h"

#include "generate/past_winners.h"

namespace tambor {

Session::Session(std::filesystem::path dataFolder) : dataFolder_(std::move(dataFolder)) {
    board_.refreshCounts();
    random_.SeedRandom();
}

void Session::switchGame(GameMode mode) {
    mode_ = mode;
    const GameRules rules = rulesFor(mode);
    if (mode == GameMode::MiniLoto) {
        board_.clearAbove(rules.maxNumber);
    } else if (!board_.rSystem() && TogetherLimit(mode, board_.count(Axis)) < board_.count(Together)) {
        // The counts are those of the previous game: too many together
        // numbers for ロト６'s limit clears every role.
        board_.clearAll();
    }
    board_.setMode(mode);
    board_.refreshCounts();
    list_.reset(mode);
}

void Session::clearList() {
    list_.clear();
    drawStatistics_.clear();
}

std::string Session::loadHistory() {
    try {
        history_.load(dataFolder_, mode_);
    } catch (const HistoryError& e) {
        RebuildPastWinnerSet(pastWinnerSet_, pastRemove_, mode_, history_.sectionLines());
        return std::string(e.what()) + "\n" + HistoryError::kFallbackNote;
    }
    // The past winners always belong to the game in force.
    RebuildPastWinnerSet(pastWinnerSet_, pastRemove_, mode_, history_.sectionLines());
    return {};
}

bool Session::showDrawOnBoard(int round) { return ShowDrawOnBoard(history_, round, board_); }

DrawResult Session::randomDraw(int count, int mode, const ProgressCallback& progress) {
    DrawRequest request;
    takeBoardNumbers(board_, request);
    request.count = count;
    request.mode = mode;
    return RunRandomDraw(drawHistoryOf(history_), request, history_.numberWeights(), drawStatistics_, random_, list_,
                         &pastWinnerSet_, progress);
}

BuildResult Session::buildCombinations(ArrangeMode arrange, const ProgressCallback& progress) {
    return RunCombinationBuilder(buildRequestFromBoard(board_, arrange), list_, pastWinnerSet_, scratchSet_, random_,
                                 progress);
}

void Session::setPastRemove(bool on) {
    pastRemove_ = on;
    RebuildPastWinnerSet(pastWinnerSet_, on, mode_, history_.sectionLines());
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
