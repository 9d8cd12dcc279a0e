#pragma once
// Shows a list of combination indices as their text lines; formatting
// happens only for the rows on screen, so millions of lines stay fast.

#include <QAbstractListModel>
#include <functional>
#include <vector>

#include "core/combination.h"

namespace tambor::ui {

class CombinationListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using Source = std::function<const std::vector<CombinationIndex>&()>;
    CombinationListModel(Source source, std::function<GameMode()> mode, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Call after the underlying list changed in bulk.
    void refresh();

private:
    Source source_;
    std::function<GameMode()> mode_;
};

// A model of plain text lines (weighting report, prize-check results).
class TextLinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void setLines(QStringList lines);
    const QStringList& lines() const { return lines_; }

private:
    QStringList lines_;
};

}  // namespace tambor::ui
