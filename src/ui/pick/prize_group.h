#pragma once
// The prize-check group on the pick page: which draw to check against (a
// past round, or the hand-marked numbers when the round field is empty),
// the check button, and the hits per grade with the theoretical money.

#include <QGroupBox>
#include <array>

#include "history/prize_check.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;
class UpDown;

class PrizeGroup : public QGroupBox {
    Q_OBJECT
public:
    PrizeGroup(SessionModel& model, QWidget* parent);

    // The button beside the check (the backtest takes its place below it).
    QPushButton* prizeButton() const { return prizeBitBtn_; }

signals:
    // The backtest window was asked for (BacktestBitBtn).
    void backtestWanted();

private:
    void PrizeCheckBoxClick();
    void PrizeMemoChange();
    void PrizeBitBtnClick();
    void refresh(const tambor::Changes& changes);
    void fitRoundField(int lastRound);

    SessionModel& model_;
    bool updatingPrizeMemo_ = false;
    QCheckBox* prizeCheckBox_ = nullptr;
    QLineEdit* prizeMemo_ = nullptr;
    UpDown* prizeUpDown_ = nullptr;
    QPushButton* prizeBitBtn_ = nullptr;
    QPushButton* backtestBitBtn_ = nullptr;
    std::array<QLineEdit*, kMaxGrades> gradeMemo_{};
    std::array<QLabel*, kMaxGrades> gradeLabel_{};
    QLineEdit* moneyMemo_ = nullptr;
};

}  // namespace tambor::ui
