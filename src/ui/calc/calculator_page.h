#pragma once
// The calculator tab: for n picked numbers, how many tickets buying every
// combination of them takes, what that costs, how likely each prize is and
// what each way the draw can fall on them would bring. The page reads as one
// sentence ("n 個の中から K 個を選ぶ組み合わせの数は … 通りです。全て購入す
// るためには … 円必要です。") above the table of patterns. It holds nothing
// beyond n and the probability view; every text comes from the calculator.
// n follows the board's candidates and the spinner.

#include <QWidget>

#include "calc/purchase_calculator.h"
#include "core/game.h"

class QLabel;
class QLineEdit;
class QPainter;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class SessionModel;
class StringGrid;
class UpDown;

class CalculatorPage : public QWidget {
    Q_OBJECT
public:
    // The page follows the session's game, board and probability option.
    CalculatorPage(SessionModel& model, QWidget* parent);

    int n() const;
    StringGrid* grid() const { return stringGrid_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh(const tambor::Changes& changes);
    // The game switch: the spinner's range (pick count .. highest number),
    // the first label and the table's shape; then recomputes.
    void setGame(tambor::GameMode mode);
    // The board's candidate count (axis + together numbers): n becomes it,
    // or the pick count when it is smaller; then recomputes.
    void setCandidateCount(int candidates);
    void setProbabilityView(tambor::ProbabilityView view);
    // Recomputes the whole page from the text of nMemo.
    void nMemoChange();
    void nUpDownClick();
    void LayoutCalculatorGrid();
    void layoutPage();
    void StringGridDrawCell(QPainter& painter, int column, int row, const QRect& rect);

    SessionModel& model_;
    bool gameSet_ = false;
    tambor::GameMode mode_ = tambor::GameMode::MiniLoto;
    tambor::ProbabilityView view_ = tambor::ProbabilityView::Reciprocal;
    tambor::CalculatorLayout layout_;
    int candidates_ = 0;
    bool updating_ = false;

    QLineEdit* nMemo_ = nullptr;
    UpDown* nUpDown_ = nullptr;
    QLabel* nCrLabel1_ = nullptr;
    QLineEdit* nCrMemo_ = nullptr;
    QLabel* nCrLabel2_ = nullptr;
    QLabel* nCrLabel3_ = nullptr;
    QLineEdit* totalMemo_ = nullptr;
    QLabel* nCrLabel4_ = nullptr;
    StringGrid* stringGrid_ = nullptr;
};

}  // namespace tambor::ui
