#include "ui/backtest/backtest_table_model.h"

#include "history/prize_check.h"

namespace tambor::ui {

void BacktestTableModel::setRows(const BacktestResult* result, std::size_t first, std::size_t end) {
    beginResetModel();
    result_ = result;
    first_ = result ? std::min(first, result->rows.size()) : 0;
    end_ = result ? std::clamp(end, first_, result->rows.size()) : 0;
    endResetModel();
}

int BacktestTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(end_ - first_);
}

int BacktestTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || !result_) return 0;
    return prizeGradeCount(result_->mode) + 3;
}

QVariant BacktestTableModel::data(const QModelIndex& index, int role) const {
    if (!result_ || !index.isValid()) return {};
    const int grades = prizeGradeCount(result_->mode);
    const int column = index.column();
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column == 1 ? Qt::AlignCenter : Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const BacktestRow& row = rowAt(index.row());
    if (column == 0) return QString::number(row.round);
    if (column == 1) return QString::fromStdString(row.date);
    if (!row.checked) return QStringLiteral("--");
    if (column <= grades + 1) return QString::number(row.hits[static_cast<std::size_t>(column - 2)]);
    return QString::fromStdString(FormatPrizeMoney(result_->mode, row.money, fixedGradeHits(result_->mode, row.hits)));
}

QVariant BacktestTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !result_) return {};
    const std::vector<std::string> header = backtestHeader(result_->mode);
    if (section < 0 || section >= static_cast<int>(header.size())) return {};
    return QString::fromStdString(header[static_cast<std::size_t>(section)]);
}

}  // namespace tambor::ui
