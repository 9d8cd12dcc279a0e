#pragma once
// What every tool window of the program (the statistics, the backtest and
// the other windows beside the main one) shares: Esc closes it, as a
// desktop user expects of such a window. One call in its constructor.

class QWidget;

namespace tambor::ui {

class SessionModel;

// Esc closes window. While a long command runs, Esc asks that command to
// stop instead (as it does in every window of the program), and the window
// stays. An edit field or pop-up that uses Esc itself keeps it.
void closeWithEscape(QWidget* window, SessionModel& model);

}  // namespace tambor::ui
