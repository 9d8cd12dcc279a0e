#include "ui/edit/edit_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "ui/common/fonts.h"
#include "ui/common/message_box.h"
#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/edit/edit_grid.h"

namespace tambor::ui {
namespace {

const char* const kTooManyNumbers = "選択数字が多すぎます。\nどれかを消して下さい。";
const char* const kDuplicateCombination = "組み合わせが重複しています。";

// Sets up one direction of the grid: every section the same fixed size.
void fixSections(QHeaderView* header, int size) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(size);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
}

}  // namespace

TEditForm::TEditForm(SessionModel& model, QWidget* owner)
    : QDialog(owner, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                         Qt::WindowCloseButtonHint),
      model_(model) {
    setObjectName(QStringLiteral("TEditForm"));
    setWindowTitle(u8("抽選結果の編集"));
    setHint(this, "抽選結果の編集画面");
    setFont(windowFont());
    setModal(false);

    const EditCellDrawer drawer = [this](QPainter& painter, int column, int row, const QRect& rect) {
        EditStringGridDrawCell(painter, column, row, rect);
    };
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("EditStringGrid"));
    setHint(grid_, "抽選結果を表示します。数字をダブルクリックすると選択／非選択が切り替わります。");
    auto* labels = new EditGridLabels(drawer, grid_);
    grid_->setVerticalHeader(labels);
    grid_->setItemDelegate(new EditGridDelegate(drawer, grid_));
    gridModel_ = new EditGridModel(lines_, this);
    grid_->setModel(gridModel_);
    grid_->horizontalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->setShowGrid(true);

    // Column widths and row height from the grid's font.
    const QFontMetrics metrics(grid_->font());
    columnWidth_ = metrics.horizontalAdvance(QStringLiteral("43")) + 4;
    labelWidth_ = labelWidthFor(0);
    rowHeight_ = metrics.height() + 4;
    ascent_ = metrics.ascent();
    for (int n = 1; n <= kBoardSize; ++n) {
        numberTexts_[static_cast<std::size_t>(n)] = QString::number(n);
        numberWidths_[static_cast<std::size_t>(n)] = metrics.horizontalAdvance(QString::number(n));
    }
    // A section holds its cell and the grid line after it.
    fixSections(grid_->horizontalHeader(), columnWidth_ + kLineWidth);
    fixSections(labels, rowHeight_ + kLineWidth);
    labels->setFixedWidth(labelWidth_ + kLineWidth);

    // The hover cross follows the mouse over the cells and the labels, and
    // the scrolling.
    // (The window's event filter sees their mouse moves.)
    for (QWidget* surface : {grid_->viewport(), labels->viewport()}) surface->setMouseTracking(true);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TEditForm::EditStringGridTopLeftChanged);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &TEditForm::EditStringGridTopLeftChanged);
    connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        EditStringGridDblClick(EditGridModel::numberOfColumn(index.column()), index.row());
    });

    sortBitBtn_ = makeButton(this, "SortBitBtn", "並べ替え(&S)", "登録されている組み合わせの並べ替えを行います。",
                             kGridLeft, 0, 90, 25);
    okBitBtn_ = makeButton(this, "OKBitBtn", "OK", "編集結果を確定します。", 0, 0, 75, 25);
    okBitBtn_->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    cancelBitBtn_ = makeButton(this, "CancelBitBtn", "キャンセル", "編集結果を取り消します。", 0, 0, 75, 25);
    cancelBitBtn_->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    // Enter presses OK unless another button has the focus; Escape is the
    // cancel key.
    okBitBtn_->setDefault(true);
    connect(sortBitBtn_, &QPushButton::clicked, this, &TEditForm::SortBitBtnClick);
    connect(okBitBtn_, &QPushButton::clicked, this, &TEditForm::OKBitBtnClick);
    connect(cancelBitBtn_, &QPushButton::clicked, this, &TEditForm::CancelBitBtnClick);

    // Key preview: every key pressed in the window goes to the main window's
    // key handling before the control with the focus sees it. The same
    // filter follows the mouse over the grid.
    qApp->installEventFilter(this);
    resize(600, 400);
}

TEditForm::~TEditForm() { qApp->removeEventFilter(this); }

void TEditForm::showEditor() {
    if (isVisible() || model_.busy() || model_.listEditing()) return;
    model_.setListEditing(true);
    if (!FormShow()) {
        model_.session().endListEdit(lines_, false);
        gridModel_->reset();
        model_.setListEditing(false);
        return;
    }
    show();
    raise();
    activateWindow();
    FillEditGrid();
    grid_->setFocus();
}

// The working lines and their set from the list, behind the wait window
// with its gauge; false when the user stopped it.
bool TEditForm::FormShow() {
    hoverColumn_ = -1;
    hoverRow_ = -1;
    LongOperation op(model_.waitForm(), true);
    if (!op.started()) return false;
    const bool loaded = model_.session().beginListEdit(lines_, op.progress());
    // The label column holds the highest row number whole.
    labelWidth_ = labelWidthFor(lines_.size());
    grid_->verticalHeader()->setFixedWidth(labelWidth_ + kLineWidth);
    gridModel_->reset();
    grid_->scrollToTop();
    return loaded && lines_.size() > 0;
}

int TEditForm::labelWidthFor(std::size_t rows) const {
    const QFontMetrics metrics(grid_->font());
    return std::max(metrics.horizontalAdvance(u8("新規追加")), metrics.horizontalAdvance(QString::number(rows))) + 4;
}

void TEditForm::FillEditGrid() {
    ComputeEditSizeLimits();
    resize(maximumTrack_.width(), minimumTrack_.height());
    // Over the main window, inside the work area.
    if (const QScreen* where = screen()) {
        const QRect area = where->availableGeometry();
        const QSize outer = frameGeometry().size();
        QPoint topLeft = (parentWidget() ? parentWidget()->frameGeometry().center() : area.center()) -
                         QPoint(outer.width() / 2, outer.height() / 2);
        topLeft.setX(std::clamp(topLeft.x(), area.left(), std::max(area.left(), area.right() + 1 - outer.width())));
        topLeft.setY(std::clamp(topLeft.y(), area.top(), std::max(area.top(), area.bottom() + 1 - outer.height())));
        move(topLeft);
    }
    LayoutEditForm();
    EditStringGridTopLeftChanged();
}

void TEditForm::ComputeEditSizeLimits() {
    const QScreen* where = screen();
    const QRect work = where ? where->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize frame = frameGeometry().size() - size();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid_);
    const int border = 2 * grid_->frameWidth();
    const int numbers = lines_.loaded() ? lines_.maxNumber() : kBoardSize;
    const qint64 rows = static_cast<qint64>(lines_.size());
    const int columnStep = columnWidth_ + kLineWidth;
    const int rowStep = rowHeight_ + kLineWidth;
    // Outer sizes for the label column and numberColumns number columns,
    // and for shownRows rows above the buttons.
    const auto outerWidth = [&](qint64 numberColumns) {
        return border + labelWidth_ + kLineWidth + numberColumns * columnStep + 2 * kGridLeft + scrollBar +
               frame.width();
    };
    const auto outerHeight = [&](qint64 shownRows) {
        return 40 + border + shownRows * rowStep + 2 * kGridTop + scrollBar + frame.height();
    };
    // Columns from the last down to the first number, rows from the last
    // down to the second, come off while the window would not fit.
    qint64 maxWidth = outerWidth(numbers);
    if (maxWidth > work.width())
        maxWidth -= std::min<qint64>(numbers, (maxWidth - work.width() + columnStep - 1) / columnStep) * columnStep;
    qint64 maxHeight = outerHeight(rows);
    if (maxHeight > work.height())
        maxHeight -=
            std::min<qint64>(std::max<qint64>(rows - 1, 0), (maxHeight - work.height() + rowStep - 1) / rowStep) *
            rowStep;
    const qint64 minWidth = std::min(outerWidth(std::min(kMinColumns - 1, numbers)), maxWidth);
    const qint64 minHeight = std::min(outerHeight(std::min<qint64>(kMinRows, rows)), maxHeight);

    maximumTrack_ = QSize(static_cast<int>(maxWidth) - frame.width(), static_cast<int>(maxHeight) - frame.height());
    minimumTrack_ = QSize(static_cast<int>(minWidth) - frame.width(), static_cast<int>(minHeight) - frame.height());
    setMinimumSize(minimumTrack_);
    setMaximumSize(maximumTrack_);
}

void TEditForm::LayoutEditForm() {
    const int gridWidth = std::max(0, width() - 2 * kGridLeft);
    const int gridHeight = std::max(0, height() - 2 * kGridTop - 40);
    grid_->setGeometry(kGridLeft, kGridTop, gridWidth, gridHeight);
    const int buttonTop = kGridTop + gridHeight + 16;
    sortBitBtn_->move(sortBitBtn_->x(), buttonTop);
    okBitBtn_->move(kGridLeft + gridWidth - 192, buttonTop);
    cancelBitBtn_->move(kGridLeft + gridWidth - 88, buttonTop);
}

void TEditForm::FormResize() { LayoutEditForm(); }

void TEditForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    FormResize();
}

void TEditForm::EditStringGridDblClick(int column, int row) {
    // Not while a long command (the editor's sort among them) is running.
    if (column < 1 || row < 0 || model_.refuseWhenBusy()) return;
    switch (lines_.toggle(static_cast<std::size_t>(row), column)) {
    case ToggleOutcome::TooManyNumbers: MessageBox::warning(this, u8(kTooManyNumbers)); break;
    case ToggleOutcome::DuplicateCombination: MessageBox::warning(this, u8(kDuplicateCombination)); break;
    case ToggleOutcome::Selected:
    case ToggleOutcome::Deselected: gridModel_->cellChanged(row, EditGridModel::columnOfNumber(column)); break;
    case ToggleOutcome::Ignored: break;
    }
}

void TEditForm::EditStringGridDrawCell(QPainter& painter, int column, int row, const QRect& rect) {
    if (column == 0) {
        // The label section holds its grid line at the right and bottom.
        painter.fillRect(rect, palette().color(QPalette::Mid));
        const QRect cell = rect.adjusted(0, 0, -kLineWidth, -kLineWidth);
        painter.fillRect(cell.adjusted(0, 0, -1, -1), palette().color(QPalette::Button));
        const QString label = QString::number(row + 1);
        painter.setPen(Qt::black);
        painter.drawText(cell.left() + cell.width() - 2 - painter.fontMetrics().horizontalAdvance(label),
                         cell.top() + 2 + ascent_, label);
        return;
    }
    const bool hovered = column == hoverColumn_ || row == hoverRow_;
    const QColor background = hovered ? QColor(Qt::yellow) : grid_->palette().color(QPalette::Base);
    painter.fillRect(rect, background);
    const bool selected = static_cast<std::size_t>(row) < lines_.size() && column <= lines_.maxNumber() &&
                          lines_.selected(static_cast<std::size_t>(row), column);
    painter.setPen(Qt::black);
    painter.setBrush(selected ? QColor(Qt::red) : background);
    painter.drawEllipse(rect.adjusted(0, 0, -1, -1));
    painter.setPen(selected ? Qt::white : Qt::black);
    const auto n = static_cast<std::size_t>(std::clamp(column, 1, kBoardSize));
    painter.drawText(rect.left() + (rect.width() - numberWidths_[n]) / 2, rect.top() + 2 + ascent_, numberTexts_[n]);
}

void TEditForm::EditStringGridMouseMove(const QPoint& globalPos) {
    int column = -1, row = -1;
    if (isVisible()) {
        QWidget* cells = grid_->viewport();
        QHeaderView* labels = grid_->verticalHeader();
        const QPoint cellPos = cells->mapFromGlobal(globalPos);
        const QPoint labelPos = labels->viewport()->mapFromGlobal(globalPos);
        if (cells->rect().contains(cellPos)) {
            const QModelIndex index = grid_->indexAt(cellPos);
            if (index.isValid()) {
                column = EditGridModel::numberOfColumn(index.column());
                row = index.row();
            }
        } else if (labels->viewport()->rect().contains(labelPos)) {
            row = labels->logicalIndexAt(labelPos.y());
            column = row >= 0 ? 0 : -1;
        }
    }
    UpdateHoverHighlight(column, row);
}

void TEditForm::EditStringGridTopLeftChanged() { EditStringGridMouseMove(QCursor::pos()); }

void TEditForm::UpdateHoverHighlight(int column, int row) {
    if (column == hoverColumn_ && row == hoverRow_) return;
    const int oldColumn = hoverColumn_, oldRow = hoverRow_;
    hoverColumn_ = column;
    hoverRow_ = row;
    if (oldColumn != column) {
        repaintColumn(oldColumn);
        repaintColumn(column);
    }
    if (oldRow != row) {
        repaintRow(oldRow);
        repaintRow(row);
    }
}

void TEditForm::repaintColumn(int column) {
    if (column < 1) return;
    QWidget* cells = grid_->viewport();
    const int x = grid_->columnViewportPosition(EditGridModel::columnOfNumber(column));
    if (x + columnWidth_ + kLineWidth < 0 || x >= cells->width()) return;
    cells->update(x, 0, columnWidth_ + kLineWidth, cells->height());
}

void TEditForm::repaintRow(int row) {
    if (row < 0 || row >= gridModel_->rowCount()) return;
    QWidget* cells = grid_->viewport();
    const int y = grid_->rowViewportPosition(row);
    if (y + rowHeight_ + kLineWidth < 0 || y >= cells->height()) return;
    cells->update(0, y, cells->width(), rowHeight_ + kLineWidth);
}

void TEditForm::SortBitBtnClick() {
    if (model_.refuseWhenBusy() || lines_.size() == 0) return;
    bool sorted = false;
    {
        LongOperation op(model_.waitForm(), true);
        sorted = lines_.sort(op.progress());
    }
    if (sorted) gridModel_->allRowsChanged();
}

void TEditForm::OKBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    close();
}

void TEditForm::CancelBitBtnClick() {
    if (model_.refuseWhenBusy()) return;
    lines_.setModified(false);
    close();
}

void TEditForm::reject() { CancelBitBtnClick(); }

void TEditForm::closeEvent(QCloseEvent* event) {
    // Not in the middle of a long step: the rows are being read or sorted.
    if (model_.refuseWhenBusy()) {
        event->ignore();
        return;
    }
    FormClose();
    QWidget::closeEvent(event);
}

// Applies the rows when they were changed (the list, its set, the count
// and the changed flag), then gives the list's commands back.
void TEditForm::FormClose() {
    if (lines_.loaded() && lines_.modified()) {
        LongOperation op(model_.waitForm(), true);
        const Changes changes = model_.session().endListEdit(lines_, true, op.progress());
        gridModel_->reset();
        model_.apply(changes);
    } else {
        model_.session().endListEdit(lines_, false);
        gridModel_->reset();
    }
    hoverColumn_ = -1;
    hoverRow_ = -1;
    model_.setListEditing(false);
}

bool TEditForm::FormKeyPress(QKeyEvent* event) { return keyHandler_ && keyHandler_(event); }

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && isVisible() && FormKeyPress(static_cast<QKeyEvent*>(event)))
            return true;
        break;
    }
    case QEvent::MouseMove:
        if (watched == grid_->viewport() || watched == grid_->verticalHeader()->viewport())
            EditStringGridMouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        break;
    // The editor goes to the tray and comes back with the main window.
    case QEvent::Hide:
        if (watched == parentWidget() && isVisible()) {
            hiddenWithOwner_ = true;
            hide();
        }
        break;
    case QEvent::Show:
        if (watched == parentWidget() && hiddenWithOwner_) {
            hiddenWithOwner_ = false;
            show();
        }
        break;
    case QEvent::Leave:
        if (watched == grid_->viewport() || watched == grid_->verticalHeader()->viewport())
            UpdateHoverHighlight(-1, -1);
        break;
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tambor::ui
