#pragma once
// The backtest's chart: the winnings of every draw of the range as bars on
// a logarithmic money scale (a first prize and a 1,000-yen fifth both stay
// visible), with the cost of one draw's tickets as a line across. Draws
// that won at least their cost stand out in another colour. Painted
// directly: thousands of bars binned per pixel column cost well under a
// millisecond, and the scale and labels follow the program's money texts.

#include <QWidget>
#include <cstdint>
#include <vector>

namespace tambor::ui {

class BacktestChart : public QWidget {
    Q_OBJECT
public:
    explicit BacktestChart(QWidget* parent = nullptr);

    struct Point {
        int round = 0;
        std::int64_t money = 0;
    };
    // The draws in order, and the cost of one draw (0: no line).
    void setData(std::vector<Point> points, std::int64_t costPerDraw);
    const std::vector<Point>& points() const { return points_; }
    std::int64_t costPerDraw() const { return cost_; }

    // The index of the draw under x (widget coordinates); -1 off the bars.
    int pointAt(int x) const;

    QSize sizeHint() const override { return {640, 220}; }
    QSize minimumSizeHint() const override { return {320, 140}; }

signals:
    // The draw at points()[index] was clicked.
    void pointClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect plotRect() const;
    // 10^k yen from the lowest to the highest grid line.
    int lowExponent() const { return 2; }
    int highExponent() const;

    std::vector<Point> points_;
    std::int64_t cost_ = 0;
    std::int64_t maxMoney_ = 0;
};

}  // namespace tambor::ui
