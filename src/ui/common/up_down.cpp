#include "ui/common/up_down.h"

#include <QLineEdit>
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
    }
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
