#pragma once
// The conventions every edit field shares: the whole text is selected on
// entry, Enter moves to the next field, numeric fields beep on other keys.

#include <QObject>

class QWidget;

namespace tambor::ui {

enum class EditKind { Numeric, Text };

// Installs the conventions on an edit (a QLineEdit or a QSpinBox).
void applyEditConventions(QWidget* edit, EditKind kind);

class EditConventionFilter : public QObject {
    Q_OBJECT
public:
    EditConventionFilter(EditKind kind, QObject* parent) : QObject(parent), kind_(kind) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EditKind kind_;
};

}  // namespace tambor::ui
