#pragma once
// The pair-rate window: every number of the current game ranked by how often
// it was drawn, and for each its partners ranked by how often they were
// drawn together with it, with the pair rate in percent. A separate,
// resizable, non-modal window that lives for the whole run; its close box
// and Esc only hide it.

#include <QPoint>
#include <QSize>
#include <QWidget>

#include "core/game.h"


namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;
class StringGrid;

class TRateForm : public QWidget {
    Q_OBJECT
public:
    // The window belongs to owner (it stays above it and closes with it).
    // It follows the session's game and history, also while hidden.
    explicit TRateForm(SessionModel& model, QWidget* owner = nullptr);

    StringGrid* grid() const { return grid_; }
    // The hovered cell, (-1, -1) when the cursor is off the grid.
    QPoint hoveredCell() const { return {hoverColumn_, hoverRow_}; }
    // The smallest and largest window sizes for the current grid and work area.
    QSize minimumTrackSize() const;
    QSize maximumTrackSize() const;

    static constexpr int kMargin = 16;       // grid to window edge
    static constexpr int kMinColumns = 7;    // the minimum size shows these
    static constexpr int kMinRows = 11;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FormShow();
    void FormResize();
    void refresh(const tambor::Changes& changes);
    // Fills the grid from the session's statistics, sizes the window to its
    // minimum size and refreshes the hover highlight.
    void fill();
    void updateTrackingLimits();
    void refreshHover();
    void RateStringGridMouseMove(const QPoint& viewportPos);
    void RateStringGridDrawCell(class QPainter& painter, int column, int row, const QRect& rect);
    int outerExtentLimit(bool horizontal) const;

    SessionModel& model_;
    StringGrid* grid_ = nullptr;
    int hoverColumn_ = -1;
    int hoverRow_ = -1;
    bool centred_ = false;
};

}  // namespace tambor::ui
