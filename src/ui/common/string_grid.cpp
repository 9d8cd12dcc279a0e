#include "ui/common/string_grid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace tambor::ui {
namespace {

const QColor kLineColour(0xc0, 0xc0, 0xc0);

}  // namespace

StringGrid::StringGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    // Thumb tracking: the cells follow the thumb while it is dragged.
    horizontalScrollBar()->setTracking(true);
    verticalScrollBar()->setTracking(true);
}

void StringGrid::setDimensions(int columns, int rows) {
    columns = std::max(columns, 0);
    rows = std::max(rows, 0);
    std::vector<QString> cells(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
    for (int r = 0; r < std::min(rows, rows_); ++r)
        for (int c = 0; c < std::min(columns, columns_); ++c)
            cells[static_cast<std::size_t>(r * columns + c)] = cells_[static_cast<std::size_t>(r * columns_ + c)];
    cells_ = std::move(cells);
    widths_.resize(static_cast<std::size_t>(columns), 64);
    columns_ = columns;
    rows_ = rows;
    fixedColumns_ = std::min(fixedColumns_, columns_);
    fixedRows_ = std::min(fixedRows_, rows_);
    setTopLeft(leftColumn_, topRow_);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setFixed(int fixedColumns, int fixedRows) {
    fixedColumns_ = std::clamp(fixedColumns, 0, columns_);
    fixedRows_ = std::clamp(fixedRows, 0, rows_);
    setTopLeft(leftColumn_, topRow_);
    updateScrollBars();
    viewport()->update();
}

QString StringGrid::cell(int column, int row) const {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return {};
    return cells_[static_cast<std::size_t>(row * columns_ + column)];
}

void StringGrid::setCell(int column, int row, const QString& text) {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
    cells_[static_cast<std::size_t>(row * columns_ + column)] = text;
    viewport()->update();
}

int StringGrid::columnWidth(int column) const {
    if (column < 0 || column >= columns_) return 0;
    return widths_[static_cast<std::size_t>(column)];
}

void StringGrid::setColumnWidth(int column, int width) {
    if (column < 0 || column >= columns_) return;
    widths_[static_cast<std::size_t>(column)] = std::max(width, 0);
    updateScrollBars();
    viewport()->update();
}

void StringGrid::setDefaultRowHeight(int height) {
    rowHeight_ = std::max(height, 1);
    updateScrollBars();
    viewport()->update();
}

int StringGrid::columnsExtent() const {
    int sum = 0;
    for (int c = 0; c < columns_; ++c) sum += columnWidth(c) + kLineWidth;
    return sum;
}

int StringGrid::rowsExtent() const { return rows_ * (rowHeight_ + kLineWidth); }

int StringGrid::fixedWidth() const {
    int sum = 0;
    for (int c = 0; c < fixedColumns_; ++c) sum += columnWidth(c) + kLineWidth;
    return sum;
}

int StringGrid::fixedHeight() const { return fixedRows_ * (rowHeight_ + kLineWidth); }

int StringGrid::maxLeftColumn() const {
    const int room = viewport()->width() - fixedWidth();
    int first = columns_;
    int used = 0;
    while (first > fixedColumns_ && used + columnWidth(first - 1) + kLineWidth <= room) {
        used += columnWidth(first - 1) + kLineWidth;
        --first;
    }
    return std::max(fixedColumns_, std::min(first, columns_ - 1));
}

int StringGrid::maxTopRow() const {
    const int room = viewport()->height() - fixedHeight();
    int first = rows_;
    int used = 0;
    while (first > fixedRows_ && used + rowHeight_ + kLineWidth <= room) {
        used += rowHeight_ + kLineWidth;
        --first;
    }
    return std::max(fixedRows_, std::min(first, rows_ - 1));
}

void StringGrid::setTopLeft(int column, int row) {
    const int left = std::clamp(column, fixedColumns_, std::max(fixedColumns_, maxLeftColumn()));
    const int top = std::clamp(row, fixedRows_, std::max(fixedRows_, maxTopRow()));
    if (left == leftColumn_ && top == topRow_) return;
    leftColumn_ = left;
    topRow_ = top;
    updateScrollBars();
    viewport()->update();
    emit topLeftChanged();
}

void StringGrid::updateScrollBars() {
    syncingScrollBars_ = true;
    const int maxLeft = maxLeftColumn();
    const int maxTop = maxTopRow();
    horizontalScrollBar()->setRange(0, std::max(0, maxLeft - fixedColumns_));
    verticalScrollBar()->setRange(0, std::max(0, maxTop - fixedRows_));
    int visibleColumns = 0;
    for (int c = leftColumn_, x = fixedWidth(); c < columns_ && x < viewport()->width(); ++c, ++visibleColumns)
        x += columnWidth(c) + kLineWidth;
    horizontalScrollBar()->setPageStep(std::max(1, visibleColumns - 1));
    const int visibleRows = std::max(1, (viewport()->height() - fixedHeight()) / (rowHeight_ + kLineWidth));
    verticalScrollBar()->setPageStep(visibleRows);
    horizontalScrollBar()->setValue(leftColumn_ - fixedColumns_);
    verticalScrollBar()->setValue(topRow_ - fixedRows_);
    syncingScrollBars_ = false;
    // A shrunk range may have moved the values: follow them.
    const int left = fixedColumns_ + horizontalScrollBar()->value();
    const int top = fixedRows_ + verticalScrollBar()->value();
    if (left != leftColumn_ || top != topRow_) {
        leftColumn_ = left;
        topRow_ = top;
        viewport()->update();
        emit topLeftChanged();
    }
}

void StringGrid::scrollContentsBy(int, int) {
    if (syncingScrollBars_) return;
    const int left = fixedColumns_ + horizontalScrollBar()->value();
    const int top = fixedRows_ + verticalScrollBar()->value();
    if (left == leftColumn_ && top == topRow_) return;
    leftColumn_ = left;
    topRow_ = top;
    viewport()->update();
    emit topLeftChanged();
}

int StringGrid::columnLeft(int column) const {
    if (column < 0 || column >= columns_) return -1;
    int x = 0;
    if (column < fixedColumns_) {
        for (int c = 0; c < column; ++c) x += columnWidth(c) + kLineWidth;
        return x;
    }
    if (column < leftColumn_) return -1;
    x = fixedWidth();
    for (int c = leftColumn_; c < column; ++c) x += columnWidth(c) + kLineWidth;
    return x;
}

int StringGrid::rowTop(int row) const {
    if (row < 0 || row >= rows_) return -1;
    if (row < fixedRows_) return row * (rowHeight_ + kLineWidth);
    if (row < topRow_) return -1;
    return fixedHeight() + (row - topRow_) * (rowHeight_ + kLineWidth);
}

QRect StringGrid::cellRect(int column, int row) const {
    const int x = columnLeft(column);
    const int y = rowTop(row);
    if (x < 0 || y < 0) return {};
    return QRect(x, y, columnWidth(column), rowHeight_);
}

QPoint StringGrid::cellAt(const QPoint& pos) const {
    if (!viewport()->rect().contains(pos)) return {-1, -1};
    int column = -1;
    for (int c = 0, x = 0; c < columns_; ++c) {
        if (c == fixedColumns_) c = std::max(c, leftColumn_);
        if (c >= columns_) break;
        x += columnWidth(c) + kLineWidth;
        if (pos.x() < x) {
            column = c;
            break;
        }
    }
    int row = -1;
    for (int r = 0, y = 0; r < rows_; ++r) {
        if (r == fixedRows_) r = std::max(r, topRow_);
        if (r >= rows_) break;
        y += rowHeight_ + kLineWidth;
        if (pos.y() < y) {
            row = r;
            break;
        }
    }
    return {column, row};
}

void StringGrid::drawDefaultCell(QPainter& painter, int column, int row, const QRect& rect) const {
    if (isFixedCell(column, row)) {
        painter.fillRect(rect, palette().color(QPalette::Mid));
        painter.fillRect(rect.adjusted(0, 0, -1, -1), palette().color(QPalette::Button));
    } else {
        painter.fillRect(rect, palette().color(QPalette::Base));
    }
    const QString text = cell(column, row);
    const QFontMetrics metrics(painter.font());
    const int x = rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2;
    painter.setPen(Qt::black);
    painter.drawText(x, rect.top() + 2 + metrics.ascent(), text);
}

void StringGrid::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QRect area = viewport()->rect();
    painter.fillRect(area, palette().color(QPalette::Base));
    // Grid lines: the line colour shows between the cells.
    const int right = std::min(area.width(), [this] {
        int x = fixedWidth();
        for (int c = leftColumn_; c < columns_; ++c) x += columnWidth(c) + kLineWidth;
        return x;
    }());
    const int bottom = std::min(area.height(), fixedHeight() + (rows_ - topRow_) * (rowHeight_ + kLineWidth));
    painter.fillRect(QRect(0, 0, right, bottom), kLineColour);

    auto visibleRows = [this, &area] {
        std::vector<int> list;
        for (int r = 0; r < fixedRows_; ++r) list.push_back(r);
        for (int r = topRow_, y = fixedHeight(); r < rows_ && y < area.height(); ++r, y += rowHeight_ + kLineWidth)
            list.push_back(r);
        return list;
    }();
    std::vector<int> visibleColumns;
    for (int c = 0; c < fixedColumns_; ++c) visibleColumns.push_back(c);
    for (int c = leftColumn_, x = fixedWidth(); c < columns_ && x < area.width(); ++c) {
        visibleColumns.push_back(c);
        x += columnWidth(c) + kLineWidth;
    }
    for (int r : visibleRows) {
        for (int c : visibleColumns) {
            const QRect rect = cellRect(c, r);
            if (rect.isEmpty()) continue;
            painter.save();
            painter.setClipRect(rect);
            if (drawer_)
                drawer_(painter, c, r, rect);
            else
                drawDefaultCell(painter, c, r, rect);
            painter.restore();
        }
    }
}

void StringGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

bool StringGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseMove:
        emit mouseMoved(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        emit mouseMoved(QPoint(-1, -1));
        break;
    default:
        break;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

}  // namespace tambor::ui
