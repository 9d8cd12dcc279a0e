#include "ui/common/combination_list_model.h"

namespace tambor::ui {

CombinationListModel::CombinationListModel(Source source, std::function<GameMode()> mode, QObject* parent)
    : QAbstractListModel(parent), source_(std::move(source)), mode_(std::move(mode)) {}

int CombinationListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(source_().size());
}

QVariant CombinationListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const auto& items = source_();
    if (static_cast<std::size_t>(index.row()) >= items.size()) return {};
    char buf[24];
    const int len = formatCombinationLineTo(UnrankCombination(mode_(), items[static_cast<std::size_t>(index.row())]), buf);
    return QString::fromLatin1(buf, len);
}

void CombinationListModel::refresh() {
    beginResetModel();
    endResetModel();
}

int TextLinesModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : static_cast<int>(lines_.size()); }

QVariant TextLinesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= lines_.size()) return {};
    return lines_.at(index.row());
}

void TextLinesModel::setLines(QStringList lines) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

}  // namespace tambor::ui
