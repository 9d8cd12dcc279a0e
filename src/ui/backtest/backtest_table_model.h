#pragma once
// The backtest's table: one row per draw of the range (round, date, the
// hits of each grade, the money), formatted only for the rows on screen.

#include <QAbstractTableModel>
#include <cstddef>

#include "history/backtest.h"

namespace tambor::ui {

class BacktestTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows rows [first, end) of result (which must outlive the model's use
    // of it, or be replaced first); nullptr shows nothing.
    void setRows(const BacktestResult* result, std::size_t first, std::size_t end);
    // The result row shown at table row r.
    const BacktestRow& rowAt(int r) const { return result_->rows[first_ + static_cast<std::size_t>(r)]; }
    std::size_t firstRow() const { return first_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const BacktestResult* result_ = nullptr;
    std::size_t first_ = 0;
    std::size_t end_ = 0;
};

}  // namespace tambor::ui
