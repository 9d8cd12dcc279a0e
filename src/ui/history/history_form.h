#pragma once
// 「当選番号の履歴」: the draws of the current game, newest first, beside the
// main window. A double-click (or Enter) on a draw makes it the prize
// check's round and runs the check; the buttons add the next draw, correct
// or remove the newest, take the bank's result files, and open lotodata.txt
// for those who edit it by hand.

#include <QWidget>

class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class HistoryImporter;
class HistoryTableModel;
class SessionModel;

class THistoryForm : public QWidget {
    Q_OBJECT
public:
    THistoryForm(SessionModel& model, HistoryImporter& importer, QWidget* owner);

    // Shows the window (in front) with the newest draw selected.
    void showHistory();

signals:
    // The prize check should run against the round now selected (after a
    // double-click, or after the history changed).
    void prizeCheckWanted();

private:
    void HistoryTableViewActivated(const QModelIndex& index);
    void AddDrawBitBtnClick();
    void CorrectDrawBitBtnClick();
    void DeleteDrawBitBtnClick();
    void ImportBitBtnClick();
    void OpenFileBitBtnClick();
    void refresh(const tambor::Changes& changes);
    void openEntryDialog(bool adding);
    void selectNewest();

    SessionModel& model_;
    HistoryImporter& importer_;
    QLabel* countLabel_ = nullptr;
    QTableView* historyTableView_ = nullptr;
    HistoryTableModel* tableModel_ = nullptr;
    QPushButton* correctDrawBitBtn_ = nullptr;
    QPushButton* deleteDrawBitBtn_ = nullptr;
};

}  // namespace tambor::ui
