#pragma once
// The small dialog of 当選番号の追加 and 最新の回を修正: the round (fixed), the
// date, the main numbers and the bonus, typed or taken from the board's
// 本数字/ボーナス marks with one button. A draw the session refuses keeps
// the dialog open with the reason under the fields.

#include <QDialog>
#include <vector>

#include "core/game.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tambor::ui {

class SessionModel;

class TDrawEntryDialog : public QDialog {
    Q_OBJECT
public:
    enum class Purpose { Add, Correct };

    TDrawEntryDialog(SessionModel& model, Purpose purpose, QWidget* parent);

signals:
    // The history file was changed and read again.
    void drawSaved();

private:
    void FromBoardBitBtnClick();
    void OkBitBtnClick();
    void showReason(const QString& reason);

    SessionModel& model_;
    Purpose purpose_;
    // The game and round the dialog was opened for: a history that changed
    // meanwhile (an update, another game) is not written over.
    GameMode mode_;
    int round_;
    QDateEdit* dateEdit_ = nullptr;
    std::vector<QLineEdit*> mainEdits_;
    std::vector<QLineEdit*> bonusEdits_;
    QLabel* reasonLabel_ = nullptr;
};

}  // namespace tambor::ui
