#include "core/session.h"

namespace tambor {

Session::Session(std::filesystem::path dataFolder) : dataFolder_(std::move(dataFolder)) {
    board_.refreshCounts();
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

void Session::clearList() { list_.clear(); }

std::string Session::loadHistory() {
    try {
        history_.load(dataFolder_, mode_);
    } catch (const HistoryError& e) {
        return std::string(e.what()) + "\n" + HistoryError::kFallbackNote;
    }
    return {};
}

bool Session::showDrawOnBoard(int round) { return ShowDrawOnBoard(history_, round, board_); }

}  // namespace tambor
