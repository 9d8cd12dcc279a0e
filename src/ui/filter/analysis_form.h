#pragma once
// 「数字の分析」: one row per number of the current game with its hits in
// all draws and in the latest 10 / 50 / 100, the draws since it last came
// up and its longest absence, and a bar chart by number of the chosen
// column. A click on a heading sorts by it and charts it; a double click on
// a number (row or bar) gives it the board's current role, as a click on
// its button does; the rows copy as tab-separated text. A non-modal window
// beside the main one that follows the game and the history.

#include <QWidget>
#include <vector>

#include "history/number_analysis.h"

class QAction;
class QLabel;
class QMenu;
class QTableWidget;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class BarChart;
class SessionModel;

class TAnalysisForm : public QWidget {
    Q_OBJECT
public:
    explicit TAnalysisForm(SessionModel& model, QWidget* owner = nullptr);

    void showForm();
    QTableWidget* table() const { return table_; }
    BarChart* chart() const { return chart_; }
    AnalysisColumn chartColumn() const { return chartColumn_; }
    // The selected rows (all rows when none is selected) as the clipboard
    // gets them: headings first, cells joined by tabs, CR LF after each.
    QString copyText() const;

private:
    void refresh(const tambor::Changes& changes);
    void fill();
    void showChart();
    void HeaderClick(int column);
    void AnalysisTableDblClick(int row);
    void giveRole(int number);
    void CopyClick();

    SessionModel& model_;
    QTableWidget* table_ = nullptr;
    BarChart* chart_ = nullptr;
    QLabel* chartLabel_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* copy_ = nullptr;
    std::vector<NumberAnalysisRow> rows_;
    AnalysisColumn chartColumn_ = AnalysisColumn::Hits;
};

}  // namespace tambor::ui
