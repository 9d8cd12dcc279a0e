#pragma once
// The number board on the pick page: the six role radio buttons with their
// counters, the 43 number buttons and the button that clears the current
// role. It shows the session's board and hands every click to it.

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
    // The board's place on the pick page.
    static constexpr int kLeft = 490;
    static constexpr int kWidth = 235;
    static constexpr int kHeight = 250;

    NumberBoardWidget(SessionModel& model, QWidget* parent);

private:
    void SelRadioButtonClick(int role);
    void NumPanelClick(int number, bool rightButton);
    void AllowAllUpSpeedButtonClick();
    void refresh(const tambor::Changes& changes);
    void RefreshRoleCounts();
    void repaintBoard();

    SessionModel& model_;
    std::array<NumPanel*, kBoardSize> numPanels_{};
    std::array<QRadioButton*, kRoleCount> roleRadioButtons_{};
    std::array<QLineEdit*, kRoleCount> roleMemos_{};
    QButtonGroup* roleGroup_ = nullptr;
    QToolButton* allowAllUpSpeedButton_ = nullptr;
};

}  // namespace tambor::ui
