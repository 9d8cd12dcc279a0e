#include "ui/stats/rate_form.h"

#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "history/history_store.h"
#include "history/rate_table.h"
#include "ui/common/fonts.h"
#include "ui/common/session_model.h"
#include "ui/common/string_grid.h"
#include "ui/common/tool_window.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

TRateForm::TRateForm(SessionModel& model, QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("TRateForm"));
    setWindowTitle(u8("連対率表示"));
    setHint(this, "連対率表示画面");

    grid_ = new StringGrid(this);
    grid_->setObjectName(QStringLiteral("RateStringGrid"));
    grid_->setFont(fixedPitchFont(12));
    setHint(grid_, "連対率を表示します。");
    grid_->setCellDrawer([this](QPainter& painter, int column, int row, const QRect& rect) {
        RateStringGridDrawCell(painter, column, row, rect);
    });
    connect(grid_, &StringGrid::mouseMoved, this, &TRateForm::RateStringGridMouseMove);
    connect(grid_, &StringGrid::topLeftChanged, this, &TRateForm::refreshHover);
    closeWithEscape(this, model_);
    grid_->setDimensions(1, 1);
    resize(400, 300);
    connect(&model_, &SessionModel::changed, this, &TRateForm::refresh);
    fill();
}

void TRateForm::refresh(const Changes& changes) {
    if (changes.has(Change::History) || changes.has(Change::Game)) fill();
}

void TRateForm::FormShow() { fill(); }

void TRateForm::fill() {
    const GameMode mode = model_.session().mode();
    const int n = rulesFor(mode).maxNumber;
    const RateTableCells cells = buildRateTable(model_.session().history(), mode);
    grid_->setDimensions(n + 1, n + 1);
    grid_->setFixed(2, 1);
    const QFontMetrics metrics(grid_->font());
    grid_->setDefaultRowHeight(metrics.height() + 4);
    grid_->setColumnWidth(0, metrics.horizontalAdvance(u8("出目ランキング")) + 4);
    grid_->setColumnWidth(1, metrics.horizontalAdvance(u8("当選数字・回数")) + 4);
    const int partnerWidth = metrics.horizontalAdvance(u8("連対率99位")) + 4;
    for (int c = 2; c <= n; ++c) grid_->setColumnWidth(c, partnerWidth);
    for (int r = 0; r <= n && r < static_cast<int>(cells.size()); ++r) {
        const auto& row = cells[static_cast<std::size_t>(r)];
        for (int c = 0; c <= n && c < static_cast<int>(row.size()); ++c)
            grid_->setCell(c, r, QString::fromStdString(row[static_cast<std::size_t>(c)]));
    }
    updateTrackingLimits();
    resize(minimumSize());
    FormResize();
    refreshHover();
}

int TRateForm::outerExtentLimit(bool horizontal) const {
    const QScreen* where = screen();
    const QRect workArea = where ? where->availableGeometry() : QRect(0, 0, 1024, 768);
    return horizontal ? workArea.width() : workArea.height();
}

// The window's sizes as the client area sees them: the grid's border, the
// cells (with their lines), the margins and room for a scroll bar. The outer
// frame counts against the work area.
QSize TRateForm::maximumTrackSize() const {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    const int border = 2 * grid_->frameWidth();
    const QSize frame = frameGeometry().size() - size();
    const int line = grid_->lineWidth();

    int width = border + grid_->columnsExtent() + 2 * kMargin + scrollBar + frame.width();
    const int workWidth = outerExtentLimit(true);
    for (int c = grid_->columnCount() - 1; c >= 1 && width > workWidth; --c) width -= grid_->columnWidth(c) + line;

    int height = border + grid_->rowsExtent() + 2 * kMargin + scrollBar + frame.height();
    const int workHeight = outerExtentLimit(false);
    for (int r = grid_->rowCount() - 1; r >= 1 && height > workHeight; --r) height -= grid_->defaultRowHeight() + line;
    return {width - frame.width(), height - frame.height()};
}

QSize TRateForm::minimumTrackSize() const {
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    const int border = 2 * grid_->frameWidth();
    const int line = grid_->lineWidth();
    int columns = 0;
    for (int c = 0; c < std::min(kMinColumns, grid_->columnCount()); ++c) columns += grid_->columnWidth(c) + line;
    const int rows = std::min(kMinRows, grid_->rowCount()) * (grid_->defaultRowHeight() + line);
    const QSize largest = maximumTrackSize();
    return {std::min(border + columns + 2 * kMargin + scrollBar, largest.width()),
            std::min(border + rows + 2 * kMargin + scrollBar, largest.height())};
}

void TRateForm::updateTrackingLimits() {
    setMinimumSize(minimumTrackSize());
    setMaximumSize(maximumTrackSize());
}

void TRateForm::FormResize() {
    grid_->setGeometry(kMargin, kMargin, std::max(0, width() - 2 * kMargin), std::max(0, height() - 2 * kMargin));
}

void TRateForm::showEvent(QShowEvent* event) {
    FormShow();
    if (!centred_) {
        centred_ = true;
        if (const QScreen* where = screen()) {
            const QRect area = where->availableGeometry();
            const QSize outer = frameGeometry().size();
            move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
        }
    }
    QWidget::showEvent(event);
}

void TRateForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TRateForm::RateStringGridMouseMove(const QPoint& viewportPos) {
    const QPoint cell = grid_->cellAt(viewportPos);
    if (cell.x() == hoverColumn_ && cell.y() == hoverRow_) return;
    hoverColumn_ = cell.x();
    hoverRow_ = cell.y();
    grid_->viewport()->update();
}

void TRateForm::refreshHover() {
    const QPoint pos = isVisible() ? grid_->viewport()->mapFromGlobal(QCursor::pos()) : QPoint(-1, -1);
    RateStringGridMouseMove(pos);
}

void TRateForm::RateStringGridDrawCell(QPainter& painter, int column, int row, const QRect& rect) {
    if (grid_->isFixedCell(column, row)) {
        grid_->drawDefaultCell(painter, column, row, rect);
        return;
    }
    const bool hovered = column == hoverColumn_ || row == hoverRow_;
    painter.fillRect(rect, hovered ? QColor(Qt::yellow) : grid_->palette().color(QPalette::Base));
    const QString text = grid_->cell(column, row);
    const QFontMetrics metrics(painter.font());
    painter.setPen(Qt::black);
    painter.drawText(rect.left() + (rect.width() - metrics.horizontalAdvance(text)) / 2, rect.top() + 2 + metrics.ascent(),
                     text);
}

}  // namespace tambor::ui
