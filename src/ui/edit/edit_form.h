#pragma once
// The grid editor "抽選結果の編集": every combination of the list as one row
// of discs, one per number of the game, the row's numbers in red. A
// double-click selects or deselects a number; OK (Enter) or the close box
// hands the rows back to the list, Cancel (Escape) forgets them. The window
// is created once and shown without blocking the main window; while it is
// open the list's commands are disabled (SessionModel::listEditing), so
// the list changes only through it.

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "core/edit_lines.h"
#include "core/game.h"

class QKeyEvent;
class QPushButton;
class QTableView;

namespace tambor::ui {

class EditGridModel;
class SessionModel;

class TEditForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditForm(SessionModel& model, QWidget* owner = nullptr);
    ~TEditForm() override;

    // The main window's key handling; true when it took the key.
    using KeyHandler = std::function<bool(QKeyEvent* event)>;
    void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }

    // Opens the editor over the list (nothing while a long command runs or
    // the editor is open already). The list's commands stay disabled until
    // it closes; a stop while the rows are read leaves it closed.
    void showEditor();

    QTableView* grid() const { return grid_; }
    const EditLines& lines() const { return lines_; }
    // The hovered cell as (column, row): column 0 is the label column,
    // (-1, -1) when the cursor is off the cells.
    QPoint hoveredCell() const { return {hoverColumn_, hoverRow_}; }
    // The window's smallest and largest client sizes for the rows and the
    // work area.
    QSize minimumTrackSize() const { return minimumTrack_; }
    QSize maximumTrackSize() const { return maximumTrack_; }

    // The column widths and the row height, grid line excluded.
    int labelWidth() const { return labelWidth_; }
    int columnWidth() const { return columnWidth_; }
    int rowHeight() const { return rowHeight_; }

    static constexpr int kGridLeft = 16;
    static constexpr int kGridTop = 16;
    static constexpr int kLineWidth = 1;
    static constexpr int kMinColumns = 27;  // the minimum width shows these (label included)
    static constexpr int kMinRows = 11;

public slots:
    // Escape: as the Cancel button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FormShow();
    void FormClose();
    bool FormKeyPress(QKeyEvent* event);
    void FormResize();
    void EditStringGridDblClick(int column, int row);
    void EditStringGridDrawCell(QPainter& painter, int column, int row, const QRect& rect);
    void EditStringGridMouseMove(const QPoint& globalPos);
    void EditStringGridTopLeftChanged();
    void SortBitBtnClick();
    void OKBitBtnClick();
    void CancelBitBtnClick();
    // Sizes the window to the rows: the widest and the lowest it may be.
    void FillEditGrid();
    // The label column's width: "新規追加", or the highest row number when
    // it is wider (a list of millions of lines), and the margins.
    int labelWidthFor(std::size_t rows) const;
    void ComputeEditSizeLimits();
    void LayoutEditForm();
    void UpdateHoverHighlight(int column, int row);
    // Repaints the visible cells of one column (1..N) or one row.
    void repaintColumn(int column);
    void repaintRow(int row);

    SessionModel& model_;
    EditLines lines_;
    KeyHandler keyHandler_;
    QTableView* grid_ = nullptr;
    EditGridModel* gridModel_ = nullptr;
    QPushButton* sortBitBtn_ = nullptr;
    QPushButton* okBitBtn_ = nullptr;
    QPushButton* cancelBitBtn_ = nullptr;
    bool hiddenWithOwner_ = false;
    int hoverColumn_ = -1;
    int hoverRow_ = -1;
    int labelWidth_ = 0;
    int columnWidth_ = 0;
    int rowHeight_ = 0;
    int ascent_ = 0;
    std::array<QString, kBoardSize + 1> numberTexts_;
    std::array<int, kBoardSize + 1> numberWidths_{};
    QSize minimumTrack_;
    QSize maximumTrack_;
};

}  // namespace tambor::ui
