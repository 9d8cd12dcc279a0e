#pragma once
// A small bar chart of counts by value, painted directly: the filter
// window's histograms (the chosen range shaded) and the number analysis
// window's chart of one column by number.

#include <QString>
#include <QWidget>
#include <vector>

namespace tambor::ui {

class BarChart : public QWidget {
    Q_OBJECT
public:
    explicit BarChart(QWidget* parent = nullptr);

    // counts[i] is the bar of value firstValue + i.
    void setCounts(std::vector<int> counts, int firstValue);
    // Bars of values in low..high are drawn in the highlight colour, the
    // others pale; without a range every bar is drawn in the plain colour.
    void setRange(int low, int high);
    void clearRange();
    // A value under the bars every labelStep values (0: none).
    void setLabelStep(int step);
    const std::vector<int>& counts() const { return counts_; }
    int firstValue() const { return first_; }
    bool hasRange() const { return hasRange_; }
    int rangeLow() const { return low_; }
    int rangeHigh() const { return high_; }
    // The value of the bar under x (widget coordinates); no bar gives
    // firstValue() - 1.
    int valueAt(int x) const;

signals:
    void valueDoubleClicked(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QRect plotRect() const;

    std::vector<int> counts_;
    int first_ = 0;
    bool hasRange_ = false;
    int low_ = 0;
    int high_ = 0;
    int labelStep_ = 0;
};

}  // namespace tambor::ui
