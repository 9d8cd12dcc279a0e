#include "ui/edit/edit_grid.h"

#include <QPainter>

namespace tambor::ui {

EditGridModel::EditGridModel(const EditLines& lines, QObject* parent) : QAbstractTableModel(parent), lines_(lines) {}

int EditGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int EditGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !lines_.loaded() ? 0 : lines_.maxNumber();
}

QVariant EditGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || static_cast<std::size_t>(index.row()) >= lines_.size())
        return {};
    const int number = numberOfColumn(index.column());
    return lines_.selected(static_cast<std::size_t>(index.row()), number) ? QString::number(number) : QString();
}

QVariant EditGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    return orientation == Qt::Vertical ? section + 1 : numberOfColumn(section);
}

Qt::ItemFlags EditGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

void EditGridModel::reset() {
    beginResetModel();
    endResetModel();
}

void EditGridModel::cellChanged(int row, int column) {
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
}

void EditGridModel::allRowsChanged() {
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

EditGridDelegate::EditGridDelegate(EditCellDrawer drawer, QObject* parent)
    : QAbstractItemDelegate(parent), drawer_(std::move(drawer)) {}

void EditGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    drawer_(*painter, EditGridModel::numberOfColumn(index.column()), index.row(), option.rect);
}

QSize EditGridDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return option.rect.size();
}

EditGridLabels::EditGridLabels(EditCellDrawer drawer, QWidget* parent)
    : QHeaderView(Qt::Vertical, parent), drawer_(std::move(drawer)) {}

void EditGridLabels::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    drawer_(*painter, 0, logicalIndex, rect);
    painter->restore();
}

}  // namespace tambor::ui
