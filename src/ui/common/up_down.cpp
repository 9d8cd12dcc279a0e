#include "ui/common/up_down.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace tambor::ui {

UpDown::UpDown(QLineEdit* associate, int minimum, int maximum, int position, QWidget* parent)
    : QWidget(parent), associate_(associate), minimum_(minimum), maximum_(maximum), position_(position) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    up_->setArrowType(Qt::UpArrow);
    up_->setAutoRepeat(true);
    down_ = new QToolButton(this);
    down_->setArrowType(Qt::DownArrow);
    down_->setAutoRepeat(true);
    for (QToolButton* b : {up_, down_}) {
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    if (associate_) {
        associate_->setText(QString::number(position_));
        connect(associate_, &QLineEdit::textChanged, this, [this] { takeFromEdit(); });
        associate_->installEventFilter(this);
    }
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
    if (watched != associate_ || !isEnabled()) return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::Wheel) {
        wheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        switch (key->key()) {
        case Qt::Key_Up: stepBy(1); return true;
        case Qt::Key_Down: stepBy(-1); return true;
        case Qt::Key_PageUp: stepBy(10); return true;
        case Qt::Key_PageDown: stepBy(-10); return true;
        default: break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void UpDown::wheelEvent(QWheelEvent* event) { wheel(event); }

void UpDown::wheel(QWheelEvent* event) {
    wheelTurn_ += event->angleDelta().y();
    const int steps = wheelTurn_ / QWheelEvent::DefaultDeltasPerStep;
    wheelTurn_ -= steps * QWheelEvent::DefaultDeltasPerStep;
    if (steps != 0) stepBy(steps);
    event->accept();
}

int UpDown::position() const {
    if (associate_) {
        bool ok = false;
        const qlonglong typed = associate_->text().trimmed().toLongLong(&ok);
        if (ok) return static_cast<int>(std::clamp<qlonglong>(typed, minimum_, maximum_));
    }
    return position_;
}

void UpDown::setRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    position_ = std::clamp(position_, minimum_, maximum_);
}

void UpDown::setPosition(int position) {
    position_ = std::clamp(position, minimum_, maximum_);
    if (associate_) associate_->setText(QString::number(position_));
    emit positionChanged(position_);
}

void UpDown::stepBy(int steps) {
    takeFromEdit();
    setPosition(position_ + steps);
    emit stepped(steps);
}

void UpDown::takeFromEdit() {
    if (!associate_) return;
    bool ok = false;
    const qlonglong typed = associate_->text().toLongLong(&ok);
    if (ok) position_ = static_cast<int>(std::clamp<qlonglong>(typed, minimum_, maximum_));
}

}  // namespace tambor::ui
