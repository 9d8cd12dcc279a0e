#include "ui/filter/bar_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

namespace tambor::ui {
namespace {

const QColor kPlainColor(70, 110, 180);
const QColor kChosenColor(220, 90, 40);
const QColor kPaleColor(200, 205, 215);
const QColor kShadeColor(255, 236, 200);

}  // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarChart::setCounts(std::vector<int> counts, int firstValue) {
    counts_ = std::move(counts);
    first_ = firstValue;
    update();
}

void BarChart::setRange(int low, int high) {
    hasRange_ = true;
    low_ = low;
    high_ = high;
    update();
}

void BarChart::clearRange() {
    hasRange_ = false;
    update();
}

void BarChart::setLabelStep(int step) {
    labelStep_ = step;
    update();
}

QRect BarChart::plotRect() const {
    const int labels = labelStep_ > 0 ? fontMetrics().height() : 0;
    return rect().adjusted(1, 2, -1, -1 - labels);
}

int BarChart::valueAt(int x) const {
    const QRect plot = plotRect();
    if (counts_.empty() || x < plot.left() || x > plot.right()) return first_ - 1;
    const int i = static_cast<int>(static_cast<long long>(x - plot.left()) * static_cast<long long>(counts_.size()) /
                                   std::max(plot.width(), 1));
    return first_ + std::clamp(i, 0, static_cast<int>(counts_.size()) - 1);
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRect plot = plotRect();
    const int n = static_cast<int>(counts_.size());
    if (n == 0) return;
    const int top = std::max(1, *std::max_element(counts_.begin(), counts_.end()));
    const auto left = [&](int i) { return plot.left() + static_cast<int>(static_cast<long long>(i) * plot.width() / n); };
    for (int i = 0; i < n; ++i) {
        const int value = first_ + i;
        const bool chosen = hasRange_ && value >= low_ && value <= high_;
        const int x0 = left(i), x1 = left(i + 1);
        if (chosen) p.fillRect(QRect(QPoint(x0, plot.top()), QPoint(x1 - 1, plot.bottom())), kShadeColor);
        const int h = static_cast<int>(static_cast<long long>(counts_[static_cast<std::size_t>(i)]) * plot.height() / top);
        const QColor colour = !hasRange_ ? kPlainColor : chosen ? kChosenColor : kPaleColor;
        const int gap = x1 - x0 > 3 ? 1 : 0;
        if (h > 0) p.fillRect(QRect(QPoint(x0, plot.bottom() - h + 1), QPoint(x1 - 1 - gap, plot.bottom())), colour);
        if (labelStep_ > 0 && value % labelStep_ == 0) {
            p.setPen(palette().text().color());
            p.drawText(QRect(x0 - 20, plot.bottom() + 1, x1 - x0 + 40, fontMetrics().height()), Qt::AlignHCenter,
                       QString::number(value));
        }
    }
    p.setPen(palette().mid().color());
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
}

void BarChart::mouseMoveEvent(QMouseEvent* event) {
    const int value = valueAt(event->position().toPoint().x());
    if (value < first_) {
        QToolTip::hideText();
        return;
    }
    QToolTip::showText(event->globalPosition().toPoint(),
                       QStringLiteral("%1: %2").arg(value).arg(counts_[static_cast<std::size_t>(value - first_)]), this);
}

void BarChart::mouseDoubleClickEvent(QMouseEvent* event) {
    const int value = valueAt(event->position().toPoint().x());
    if (value >= first_) emit valueDoubleClicked(value);
}

}  // namespace tambor::ui
