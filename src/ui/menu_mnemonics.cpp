#include "ui/menu_mnemonics.h"

#include <QAbstractButton>
#include <algorithm>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QToolButton>

namespace tambor::ui {
namespace {

QKeySequence altKey(int key) { return QKeySequence(QKeyCombination(Qt::AltModifier, static_cast<Qt::Key>(key))); }

// The control a mnemonic reaches: a button itself, a label's buddy.
QWidget* mnemonicTarget(QWidget* w, const QKeySequence& wanted) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->buddy() && QKeySequence::mnemonic(label->text()) == wanted) return label->buddy();
        return nullptr;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        if (QKeySequence::mnemonic(button->text()) == wanted) return button;
    return nullptr;
}

}  // namespace

MenuMnemonics::MenuMnemonics(QWidget* window, std::vector<QToolButton*> buttons)
    : QObject(window), window_(window), buttons_(std::move(buttons)) {
    qApp->installEventFilter(this);
}

QToolButton* MenuMnemonics::buttonFor(int key) const {
    for (QToolButton* button : buttons_)
        if (QKeySequence::mnemonic(button->text()) == altKey(key)) return button;
    return nullptr;
}

void MenuMnemonics::passToControls(int key) {
    const QKeySequence wanted = altKey(key);
    std::vector<QWidget*> targets;
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        if (std::find(buttons_.begin(), buttons_.end(), w) != buttons_.end()) continue;
        QWidget* target = mnemonicTarget(w, wanted);
        if (target && target->isVisible() && target->isEnabled()) targets.push_back(target);
    }
    if (targets.empty()) return;
    if (targets.size() == 1) {
        QWidget* target = targets.front();
        target->setFocus(Qt::ShortcutFocusReason);
        if (auto* button = qobject_cast<QAbstractButton*>(target)) button->animateClick();
        return;
    }
    // Several: the focus moves to the next one after the focused control.
    std::size_t next = 0;
    for (std::size_t i = 0; i < targets.size(); ++i)
        if (targets[i]->hasFocus()) next = (i + 1) % targets.size();
    targets[next]->setFocus(Qt::ShortcutFocusReason);
}

bool MenuMnemonics::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress) return false;
    auto* keyEvent = static_cast<QKeyEvent*>(event);
    const int key = keyEvent->key();
    // Alt on its own would close an open menu before its letter arrives:
    // in the menus the letters stand for, it waits for the letter.
    if (key == Qt::Key_Alt && event->type() == QEvent::KeyPress) {
        QWidget* popup = QApplication::activePopupWidget();
        for (QToolButton* b : buttons_)
            if (popup && popup == b->menu()) return true;
        return false;
    }
    if (keyEvent->modifiers() != Qt::AltModifier) return false;
    QToolButton* button = buttonFor(key);
    if (!button) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    QWidget* popup = QApplication::activePopupWidget();
    if (popup && popup == button->menu()) {
        // Its menu is open: close it and go on to the page's controls.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        popup->close();
        QTimer::singleShot(0, this, [this, key] { passToControls(key); });
        return true;
    }
    if (popup || widget->window() != window_) return false;
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();  // the key is the menu's, not a shortcut's
        return true;
    }
    // Dropped down without waiting: the caller's event loop goes on.
    button->menu()->popup(button->mapToGlobal(QPoint(0, button->height())));
    return true;
}

}  // namespace tambor::ui
