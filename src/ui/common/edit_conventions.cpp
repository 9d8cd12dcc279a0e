#include "ui/common/edit_conventions.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace tambor::ui {
namespace {

QLineEdit* lineEditOf(QObject* watched) {
    if (auto* edit = qobject_cast<QLineEdit*>(watched)) return edit;
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(watched)) return spin->findChild<QLineEdit*>();
    return nullptr;
}

}  // namespace

void applyEditConventions(QWidget* edit, EditKind kind) {
    auto* filter = new EditConventionFilter(kind, edit);
    edit->installEventFilter(filter);
    if (auto* spin = qobject_cast<QAbstractSpinBox*>(edit))
        if (auto* inner = spin->findChild<QLineEdit*>()) inner->installEventFilter(filter);
}

bool EditConventionFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        // Deferred: a mouse click that gave the focus would undo the selection.
        if (QLineEdit* edit = lineEditOf(watched)) QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            QWidget* owner = qobject_cast<QAbstractSpinBox*>(widget->parentWidget()) ? widget->parentWidget() : widget;
            QWidget* next = owner->nextInFocusChain();
            while (next && next != owner && (!(next->focusPolicy() & Qt::TabFocus) || !next->isEnabled() || !next->isVisible() || next->focusProxy()))
                next = next->nextInFocusChain();
            if (next) next->setFocus(Qt::TabFocusReason);
        }
        return true;
    }
    if (kind_ != EditKind::Numeric) return false;
    const QString text = key->text();
    if (text.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QChar ch = text.at(0);
    if (ch.isDigit() && ch.unicode() < 128) return false;
    if (ch == QLatin1Char('.') || ch == QChar(0x08) || key->key() == Qt::Key_Backspace) return false;
    if (ch.unicode() < 0x20 || ch == QChar(0x7f)) return false;  // other control keys pass
    QApplication::beep();
    return true;
}

}  // namespace tambor::ui
