#pragma once
// 「絞り込み条件」: each filter condition with its switch and range, beside
// it a histogram of that statistic over every past draw of the game with
// the range shaded and how many past draws the range keeps; at the bottom
// the same for all switched-on conditions together. Every change goes to
// the session at once (the random draw and the builder use it from the
// next click) and the figures follow it. A non-modal window beside the main
// one; "一覧を絞り込む" applies the conditions to the list.

#include <QWidget>
#include <array>

#include "generate/combination_filter.h"
#include "history/filter_history.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class BarChart;
class SessionModel;

class TFilterForm : public QWidget {
    Q_OBJECT
public:
    explicit TFilterForm(SessionModel& model, QWidget* owner = nullptr);

    // Shows the window in front with the session's conditions.
    void showForm();

private:
    struct Row {
        QCheckBox* check = nullptr;
        QSpinBox* min = nullptr;
        QSpinBox* max = nullptr;
        BarChart* histogram = nullptr;
        QLabel* rate = nullptr;
    };

    void refresh(const tambor::Changes& changes);
    // The history's figures for the game in force, and the spin boxes'
    // limits.
    void rebuildHistory();
    // The controls from the session's conditions (without echoing them back).
    void showSettings();
    // The shaded ranges and every pass rate.
    void showRates();
    // A control of condition changed (its check box: None): the conditions
    // go to the session.
    enum class RangeEnd { None, Min, Max };
    void ConditionChange(int condition, RangeEnd changed);
    void NarrowBitBtnClick();

    SessionModel& model_;
    std::array<Row, kFilterConditionCount> rows_{};
    QLabel* allRateLabel_ = nullptr;
    QLabel* rSystemLabel_ = nullptr;
    QPushButton* narrowBitBtn_ = nullptr;
    QPushButton* closeBitBtn_ = nullptr;
    FilterHistory history_;
};

}  // namespace tambor::ui
