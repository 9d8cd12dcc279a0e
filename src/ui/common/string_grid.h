#pragma once
// An owner-drawn grid of text cells: fixed columns at the left and fixed rows
// at the top that stay put while the rest scrolls cell by cell, one-pixel
// grid lines, per-column widths and one row height. The owner draws the
// cells (or leaves the default drawing: fixed colour and centred text).

#include <QAbstractScrollArea>
#include <QPoint>
#include <QString>
#include <functional>
#include <vector>

class QPainter;

namespace tambor::ui {

class StringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Draws the cell (column, row) inside rect (viewport coordinates, grid
    // line excluded); the painter has the grid's font.
    using CellDrawer = std::function<void(QPainter& painter, int column, int row, const QRect& rect)>;

    explicit StringGrid(QWidget* parent = nullptr);

    static constexpr int kLineWidth = 1;

    int columnCount() const { return columns_; }
    int rowCount() const { return rows_; }
    // Keeps the texts of the cells that stay inside the new size.
    void setDimensions(int columns, int rows);
    void setFixed(int fixedColumns, int fixedRows);
    int fixedColumns() const { return fixedColumns_; }
    int fixedRows() const { return fixedRows_; }

    QString cell(int column, int row) const;
    void setCell(int column, int row, const QString& text);

    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    int defaultRowHeight() const { return rowHeight_; }
    void setDefaultRowHeight(int height);
    int lineWidth() const { return kLineWidth; }

    // The first scrolled column and row shown after the fixed ones.
    int leftColumn() const { return leftColumn_; }
    int topRow() const { return topRow_; }
    void setTopLeft(int column, int row);

    // The cell's rectangle in viewport coordinates; empty when scrolled out.
    QRect cellRect(int column, int row) const;
    // The column and row under a viewport point, each -1 when there is none.
    QPoint cellAt(const QPoint& viewportPos) const;
    // Sum of (width + line) over the columns, or (height + line) over the rows.
    int columnsExtent() const;
    int rowsExtent() const;

    void setCellDrawer(CellDrawer drawer) { drawer_ = std::move(drawer); }
    // The default drawing: fixed cells in the button colour one pixel
    // smaller on the right and bottom, others in the base colour; black text
    // 2 pixels below the top, centred.
    void drawDefaultCell(QPainter& painter, int column, int row, const QRect& rect) const;
    bool isFixedCell(int column, int row) const { return column < fixedColumns_ || row < fixedRows_; }

signals:
    void topLeftChanged();
    // The cursor moved over the viewport, or left it (pos outside the viewport).
    void mouseMoved(const QPoint& viewportPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;

private:
    void updateScrollBars();
    int maxLeftColumn() const;
    int maxTopRow() const;
    int fixedWidth() const;
    int fixedHeight() const;
    int columnLeft(int column) const;  // viewport x, or -1 when scrolled out
    int rowTop(int row) const;

    int columns_ = 0;
    int rows_ = 0;
    int fixedColumns_ = 0;
    int fixedRows_ = 0;
    int leftColumn_ = 0;
    int topRow_ = 0;
    int rowHeight_ = 18;
    std::vector<int> widths_;
    std::vector<QString> cells_;  // rows first
    CellDrawer drawer_;
    bool syncingScrollBars_ = false;
};

}  // namespace tambor::ui
