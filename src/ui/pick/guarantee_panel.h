#pragma once
// The guarantee on the pick page: the result line of the last R-system
// build (how many were kept and the least possible) and the check of the
// list against the marked numbers.

#include <QObject>

class QLabel;
class QPushButton;
class QWidget;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;

class GuaranteePanel : public QObject {
    Q_OBJECT
public:
    // Places its controls on page (the pick page) below the command buttons.
    GuaranteePanel(SessionModel& model, QWidget* page);

    QPushButton* button() const { return guaranteeBitBtn_; }

private:
    void GuaranteeBitBtnClick();
    void refresh(const tambor::Changes& changes);

    SessionModel& model_;
    QWidget* page_;
    QPushButton* guaranteeBitBtn_ = nullptr;
    QLabel* rSystemResultLabel_ = nullptr;
};

}  // namespace tambor::ui
