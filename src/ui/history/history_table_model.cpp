#include "ui/history/history_table_model.h"

#include "history/history_draw.h"
#include "history/history_store.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

HistoryTableModel::HistoryTableModel(const HistoryStore& history, QObject* parent)
    : QAbstractTableModel(parent), history_(history), drawCount_(history.drawCount()) {}

void HistoryTableModel::reload() {
    beginResetModel();
    drawCount_ = history_.drawCount();
    endResetModel();
}

int HistoryTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : drawCount_; }

int HistoryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant HistoryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() == RoundColumn ? Qt::AlignRight | Qt::AlignVCenter
                                                                 : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const int round = roundAt(index.row());
    std::string line;
    if (!history_.drawLine(round, line)) return {};
    const std::optional<HistoryDraw> draw = readHistoryDraw(history_.mode(), line, round);
    switch (index.column()) {
    case RoundColumn: return QString::number(round);
    case DateColumn:
        return draw && draw->date ? QString::fromStdString(japaneseDateText(*draw->date)) : QVariant();
    case MainColumn:
        // A line that does not read as a draw shows as it is.
        return QString::fromStdString(draw ? numbersText(draw->mainNumbers) : line).replace(QLatin1Char(','), QLatin1Char(' '));
    case BonusColumn:
        return draw ? QString::fromStdString(numbersText(draw->bonusNumbers)).replace(QLatin1Char(','), QLatin1Char(' '))
                    : QVariant();
    default: return {};
    }
}

QVariant HistoryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeadings[ColumnCount] = {"回", "抽せん日", "本数字", "ボーナス数字"};
    return section >= 0 && section < ColumnCount ? u8(kHeadings[section]) : QVariant();
}

}  // namespace tambor::ui
