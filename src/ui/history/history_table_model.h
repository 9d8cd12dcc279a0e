#pragma once
// The draws of the current game for the history window: one row per draw,
// newest first (round, date with weekday, main numbers, bonus). Rows are
// read from the history's lines when shown, so 2,000 draws cost nothing
// until they scroll into view.

#include <QAbstractTableModel>

namespace tambor {
class HistoryStore;
}

namespace tambor::ui {

class HistoryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { RoundColumn, DateColumn, MainColumn, BonusColumn, ColumnCount };

    explicit HistoryTableModel(const HistoryStore& history, QObject* parent = nullptr);

    // The history was read again: every row afresh.
    void reload();
    // The round a row shows (row 0 is the newest draw).
    int roundAt(int row) const { return drawCount_ - row; }
    int rowOf(int round) const { return drawCount_ - round; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const HistoryStore& history_;
    int drawCount_ = 0;
};

}  // namespace tambor::ui
