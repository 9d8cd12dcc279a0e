#include "ui/backtest/backtest_chart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "core/japanese_count.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

const QColor kLossColor(70, 110, 180);
const QColor kGainColor(220, 90, 40);
const QColor kCostColor(180, 0, 0);
const QColor kGridColor(220, 220, 220);

QString yen(std::int64_t value) { return QString::fromStdString(FormatJapaneseCount(value)) + u8("円"); }

std::int64_t powerOfTen(int exponent) {
    std::int64_t v = 1;
    for (int i = 0; i < exponent; ++i) v *= 10;
    return v;
}

// A step of 1, 2 or 5 × 10^k rounds between labelled ticks, at least
// minRounds wide.
int roundStep(double minRounds) {
    for (int scale = 1;; scale *= 10)
        for (int f : {1, 2, 5})
            if (f * scale >= minRounds) return f * scale;
}

}  // namespace

BacktestChart::BacktestChart(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BacktestChart::setData(std::vector<Point> points, std::int64_t costPerDraw) {
    points_ = std::move(points);
    cost_ = costPerDraw;
    maxMoney_ = 0;
    for (const Point& p : points_) maxMoney_ = std::max(maxMoney_, p.money);
    update();
}

int BacktestChart::highExponent() const {
    const std::int64_t top = std::max<std::int64_t>({maxMoney_, cost_, 10000});
    int e = lowExponent() + 1;
    while (e < 18 && powerOfTen(e) < top) ++e;
    return e;
}

QRect BacktestChart::plotRect() const {
    const QFontMetrics fm(font());
    const int left = fm.horizontalAdvance(u8("1000万円")) + 10;
    const int top = fm.height() + 8;
    const int bottom = fm.height() + 8;
    return QRect(left, top, std::max(10, width() - left - 12), std::max(10, height() - top - bottom));
}

int BacktestChart::pointAt(int x) const {
    const QRect plot = plotRect();
    if (points_.empty() || x < plot.left() || x > plot.right()) return -1;
    const double perPoint = static_cast<double>(plot.width()) / static_cast<double>(points_.size());
    const auto i = static_cast<int>((x - plot.left()) / perPoint);
    return std::clamp(i, 0, static_cast<int>(points_.size()) - 1);
}

void BacktestChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QRect plot = plotRect();
    const QFontMetrics fm(font());
    if (points_.empty()) {
        p.setPen(Qt::darkGray);
        p.drawText(plot, Qt::AlignCenter, u8("照合する回がありません"));
        return;
    }

    // The money scale: one grid line per power of ten.
    const int lo = lowExponent();
    const int hi = highExponent();
    const double span = hi - lo;
    auto yOf = [&](std::int64_t money) {
        const double t = (std::log10(static_cast<double>(money)) - lo) / span;
        return plot.bottom() - t * plot.height();
    };
    for (int e = lo; e <= hi; ++e) {
        const int y = static_cast<int>(std::lround(yOf(powerOfTen(e))));
        p.setPen(kGridColor);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(Qt::black);
        p.drawText(QRect(0, y - fm.height() / 2, plot.left() - 6, fm.height()), Qt::AlignRight | Qt::AlignVCenter,
                   yen(powerOfTen(e)));
    }

    // The bars: with more draws than pixel columns, each column shows the
    // largest win among its draws (and the gain colour if any of them
    // recovered its cost).
    const auto n = static_cast<int>(points_.size());
    const double perPoint = static_cast<double>(plot.width()) / n;
    const std::int64_t floor = powerOfTen(lo);
    if (perPoint >= 1.0) {
        for (int i = 0; i < n; ++i) {
            const std::int64_t money = points_[static_cast<std::size_t>(i)].money;
            if (money < floor) continue;
            const double x0 = plot.left() + i * perPoint;
            const double w = std::max(1.0, perPoint - (perPoint >= 4.0 ? 1.0 : 0.0));
            const double y = yOf(money);
            p.fillRect(QRectF(x0, y, w, plot.bottom() - y + 1), cost_ > 0 && money >= cost_ ? kGainColor : kLossColor);
        }
    } else {
        for (int column = 0; column < plot.width(); ++column) {
            const int first = static_cast<int>(column / perPoint);
            const int last = std::min(n, static_cast<int>((column + 1) / perPoint));
            std::int64_t money = 0;
            for (int i = first; i < std::max(last, first + 1) && i < n; ++i)
                money = std::max(money, points_[static_cast<std::size_t>(i)].money);
            if (money < floor) continue;
            const double y = yOf(money);
            p.fillRect(QRectF(plot.left() + column, y, 1.0, plot.bottom() - y + 1),
                       cost_ > 0 && money >= cost_ ? kGainColor : kLossColor);
        }
    }

    // The cost of one draw's tickets.
    if (cost_ >= floor) {
        const int y = static_cast<int>(std::lround(yOf(cost_)));
        p.setPen(QPen(kCostColor, 2));
        p.drawLine(plot.left(), y, plot.right(), y);
    }

    // The rounds along the bottom.
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("00000")) + 8;
    const int step = roundStep(labelWidth / perPoint);
    for (int i = 0; i < n; ++i) {
        const int round = points_[static_cast<std::size_t>(i)].round;
        if (round % step != 0) continue;
        const int x = static_cast<int>(plot.left() + (i + 0.5) * perPoint);
        if (x + labelWidth / 2 > width()) break;
        p.drawLine(x, plot.bottom(), x, plot.bottom() + 3);
        p.drawText(QRect(x - labelWidth / 2, plot.bottom() + 4, labelWidth, fm.height()), Qt::AlignCenter,
                   QString::number(round));
    }

    // The legend above the plot.
    int x = plot.left();
    const int ly = 4;
    const int box = fm.height() - 4;
    auto legend = [&](const QColor& colour, bool line, const QString& text) {
        if (line) {
            p.setPen(QPen(colour, 2));
            p.drawLine(x, ly + fm.height() / 2, x + 14, ly + fm.height() / 2);
        } else {
            p.fillRect(QRect(x + 2, ly + 2, box, box), colour);
        }
        p.setPen(Qt::black);
        p.drawText(QPoint(x + 18, ly + fm.ascent()), text);
        x += 18 + fm.horizontalAdvance(text) + 16;
    };
    legend(kLossColor, false, u8("当選金額"));
    legend(kGainColor, false, u8("購入金額以上の当選"));
    if (cost_ > 0) legend(kCostColor, true, u8("1回の購入金額 ") + yen(cost_));
}

void BacktestChart::mouseMoveEvent(QMouseEvent* event) {
    const int i = pointAt(event->position().toPoint().x());
    if (i < 0) {
        QToolTip::hideText();
        return;
    }
    const Point& point = points_[static_cast<std::size_t>(i)];
    QToolTip::showText(event->globalPosition().toPoint(), u8("第%1回  %2").arg(point.round).arg(yen(point.money)),
                       this);
}

void BacktestChart::mousePressEvent(QMouseEvent* event) {
    const int i = pointAt(event->position().toPoint().x());
    if (event->button() == Qt::LeftButton && i >= 0) emit pointClicked(i);
}

}  // namespace tambor::ui
