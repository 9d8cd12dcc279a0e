#pragma once
// One round number button of the board: a coloured disc with the number in
// black with a white halo. Press shows it sunken; releasing outside cancels.
// With the keyboard focus it shows a ring; Space clicks it (Shift+Space as
// the right button), the arrow keys go to the board.

#include <QColor>
#include <QWidget>

namespace tambor::ui {

class NumPanel : public QWidget {
    Q_OBJECT
public:
    NumPanel(int number, QWidget* parent);

    int number() const { return number_; }
    void setDiscColour(const QColor& colour);
    QColor discColour() const { return disc_; }

signals:
    // Emitted on a release inside the button after a press on it, and on
    // Space (Shift+Space: the right button).
    void clicked(int number, bool rightButton);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int number_;
    QColor disc_{192, 192, 192};
    bool sunken_ = false;
};

}  // namespace tambor::ui
