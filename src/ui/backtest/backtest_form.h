#pragma once
// The backtest window "過去の当選結果との照合": the current list against
// every past draw of a range of rounds — a table with one row per draw,
// the summary of the range (hits, winnings, cost, return, best draw) and a
// chart of the winnings per draw. Double-clicking a row runs the prize
// check of that round on the main window. A separate, resizable, non-modal
// window; its close box and Esc only hide it. It counts again when the
// list, the game or the history changes while it shows.

#include <QWidget>
#include <array>
#include <optional>

#include "history/backtest.h"

class QAction;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPushButton;
class QTableView;
class QTimer;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class BacktestChart;
class BacktestTableModel;
class SessionModel;
class UpDown;

class TBacktestForm : public QWidget {
    Q_OBJECT
public:
    // The window belongs to owner (it stays above it and closes with it).
    explicit TBacktestForm(SessionModel& model, QWidget* owner = nullptr);
    ~TBacktestForm() override;

    // Counts the current list against the whole history (unless nothing
    // changed since the last count) and shows the window. Nothing while
    // another command runs; a count stopped with Esc leaves it hidden.
    void showForList();

    // The last complete count, and the range shown of it.
    const std::optional<BacktestResult>& result() const { return result_; }
    std::optional<RoundRange> range() const { return range_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FromMemoChange();
    void ToMemoChange();
    void AllBitBtnClick();
    void BacktestGridDblClick(const QModelIndex& index);
    void BacktestChartClick(int index);
    void PopupMenuPopup();
    void CopyClick();
    void SelectAllClick();
    void SaveBitBtnClick();
    void refresh(const tambor::Changes& changes);

    // Runs the count in the long-operation frame; false when it could not
    // run (busy) or was stopped.
    bool recount();
    // A count asked for while another command ran: tried again shortly.
    void recountLater();
    // Both range fields set to the whole history.
    void showWholeHistory();
    // Reads the range fields, clamps them like the round field of the
    // prize check and shows the table, the summary and the chart.
    void applyRange();
    void showSummary();
    // Rows of the table selected, as result rows, ascending.
    std::vector<std::size_t> selectedRows() const;

    SessionModel& model_;
    std::optional<BacktestResult> result_;
    std::optional<RoundRange> range_;
    bool stale_ = true;
    bool resetRange_ = false;
    bool updatingFields_ = false;
    QTimer* recountTimer_ = nullptr;

    QLabel* listLabel_ = nullptr;
    void addRoundField(QHBoxLayout* row, QLineEdit*& memo, UpDown*& upDown, const char* memoName,
                       const char* upDownName, const char* hint);

    QLineEdit* fromMemo_ = nullptr;
    UpDown* fromUpDown_ = nullptr;
    QLineEdit* toMemo_ = nullptr;
    UpDown* toUpDown_ = nullptr;
    QPushButton* allBitBtn_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
    QLineEdit* drawsMemo_ = nullptr;
    std::array<QLabel*, kMaxGrades> gradeLabel_{};
    std::array<QLineEdit*, kMaxGrades> gradeMemo_{};
    QLineEdit* moneyMemo_ = nullptr;
    QLineEdit* costMemo_ = nullptr;
    QLineEdit* returnMemo_ = nullptr;
    QLineEdit* bestMemo_ = nullptr;
    QTableView* grid_ = nullptr;
    BacktestTableModel* table_ = nullptr;
    BacktestChart* chart_ = nullptr;
    QPushButton* saveBitBtn_ = nullptr;
    QPushButton* closeBitBtn_ = nullptr;
    QMenu* popupMenu_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* selectAll_ = nullptr;
    QAction* save_ = nullptr;
};

}  // namespace tambor::ui
