#include "ui/pick/number_panel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include "ui/common/fonts.h"

namespace tambor::ui {

NumPanel::NumPanel(int number, QWidget* parent) : QWidget(parent), number_(number) {
    setObjectName(QStringLiteral("NumPanel%1").arg(number));
    setFixedSize(23, 22);
    // A two-digit number with its white halo must stay inside the disc.
    QFont f = fixedPitchFont(number >= 10 ? 11 : 12);
    f.setBold(true);
    setFont(f);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void NumPanel::setDiscColour(const QColor& colour) {
    if (disc_ == colour) return;
    disc_ = colour;
    update();
}

void NumPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().button());
    // Bevel: raised normally, lowered while pressed.
    const QColor light = palette().light().color(), dark = palette().dark().color();
    p.setPen(sunken_ ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(sunken_ ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());

    const QRect image = r.adjusted(1, 1, -1, -1);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::black);
    p.setBrush(disc_);
    p.drawEllipse(QRectF(image).adjusted(0.5, 0.5, -0.5, -0.5));
    p.setRenderHint(QPainter::Antialiasing, false);

    const QString caption = QString::number(number_);
    const QFontMetrics fm(font());
    const int x = image.left() + (image.width() - fm.horizontalAdvance(caption)) / 2;
    const int y = image.top() + (image.height() - fm.height()) / 2 + fm.ascent();
    // A one-pixel white halo around the black number keeps it readable on any disc.
    p.setPen(Qt::white);
    const int halo[8][2] = {{0, 1}, {0, 0}, {0, -1}, {1, 1}, {1, -1}, {2, -1}, {2, 0}, {2, 1}};
    for (const auto& d : halo) p.drawText(x + d[0], y + d[1], caption);
    p.setPen(Qt::black);
    p.drawText(x + 1, y, caption);

    // The focus ring: the highlight colour around the disc, over the bevel.
    if (hasFocus()) {
        p.setPen(QPen(palette().highlight().color(), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(r).adjusted(1, 1, -1, -1));
    }
}

void NumPanel::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Space && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        if (!event->isAutoRepeat()) emit clicked(number_, modifiers == Qt::ShiftModifier);
        return;
    }
    event->ignore();  // the arrow keys go to the board
}

void NumPanel::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void NumPanel::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void NumPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) return;
    sunken_ = true;
    update();
}

void NumPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) return;
    const bool wasPressed = sunken_;
    sunken_ = false;
    update();
    if (!wasPressed) return;
    if (!rect().contains(event->position().toPoint())) return;  // released outside: cancelled
    emit clicked(number_, event->button() == Qt::RightButton);
}

}  // namespace tambor::ui
