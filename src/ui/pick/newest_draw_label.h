#pragma once
// The status bar's note of the newest draw the history holds, with its date,
// so nobody checks a ticket against an old draw without seeing how old it is.

#include <QLabel>

#include "session/changes.h"

namespace tambor::ui {

class SessionModel;

class NewestDrawLabel : public QLabel {
    Q_OBJECT
public:
    NewestDrawLabel(SessionModel& model, QWidget* parent);

private:
    void refresh(const tambor::Changes& changes);

    SessionModel& model_;
};

}  // namespace tambor::ui
