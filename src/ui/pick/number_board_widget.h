#pragma once
// The number board on the pick page: the six role radio buttons with their
// counters, the 43 number buttons and the button that clears the current
// role. It shows the session's board and hands every click to it.
// By keyboard the numbers are one Tab stop: the arrow keys move among them
// as they stand (Up/Down within a column of ten, Left/Right to the next
// column), Home/End to the first and last number, Space clicks.

#include <QWidget>
#include <array>

#include "core/number_board.h"

class QButtonGroup;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class NumPanel;
class SessionModel;

class NumberBoardWidget : public QWidget {
    Q_OBJECT
public:
    // The board's size on the pick page: the role buttons, then five
    // columns of numbers and room for the clear button beside the last.
    static constexpr int kWidth = 221;
    static constexpr int kHeight = 250;

    NumberBoardWidget(SessionModel& model, QWidget* parent);

    // The number the keyboard is on (the board's Tab stop).
    int focusNumber() const { return focusNumber_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void SelRadioButtonClick(int role);
    void NumPanelClick(int number, bool rightButton);
    void AllowAllUpSpeedButtonClick();
    void refresh(const tambor::Changes& changes);
    void RefreshRoleCounts();
    void repaintBoard();
    // Makes number the board's Tab stop, and gives it the focus when asked.
    void setFocusNumber(int number, bool takeFocus);

    SessionModel& model_;
    std::array<NumPanel*, kBoardSize> numPanels_{};
    std::array<QRadioButton*, kRoleCount> roleRadioButtons_{};
    std::array<QLineEdit*, kRoleCount> roleMemos_{};
    QButtonGroup* roleGroup_ = nullptr;
    QToolButton* allowAllUpSpeedButton_ = nullptr;
    int focusNumber_ = 1;
};

}  // namespace tambor::ui
