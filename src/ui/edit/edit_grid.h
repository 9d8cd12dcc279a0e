#pragma once
// The pieces of the editor's grid: a table model over the working lines
// (one row per line, one column per number of the game), a delegate that
// paints the number cells and a header that paints the row labels. Nothing
// is stored per cell: every cell is painted from the row's mask when it
// shows, so a list of millions of lines costs its masks and nothing more.

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QHeaderView>
#include <functional>

#include "core/edit_lines.h"

namespace tambor::ui {

// Paints cell (column, row) inside rect; column 0 is the row label, column
// c (1..N) the disc of number c.
using EditCellDrawer = std::function<void(QPainter& painter, int column, int row, const QRect& rect)>;

class EditGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EditGridModel(const EditLines& lines, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The number's text in a selected cell, empty otherwise; the row
    // number as the vertical header.
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The number of model column column (0-based): column + 1.
    static int numberOfColumn(int column) { return column + 1; }
    static int columnOfNumber(int number) { return number - 1; }

    // The lines were loaded, released or reordered.
    void reset();
    // One cell (model column) changed; every row changed.
    void cellChanged(int row, int column);
    void allRowsChanged();

private:
    const EditLines& lines_;
};

class EditGridDelegate : public QAbstractItemDelegate {
    Q_OBJECT
public:
    EditGridDelegate(EditCellDrawer drawer, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    EditCellDrawer drawer_;
};

// The label column: the vertical header, so it stays put while the numbers
// scroll sideways.
class EditGridLabels : public QHeaderView {
    Q_OBJECT
public:
    EditGridLabels(EditCellDrawer drawer, QWidget* parent);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    EditCellDrawer drawer_;
};

}  // namespace tambor::ui
