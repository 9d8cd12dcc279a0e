#pragma once
// A spinner beside an edit: its arrows step a position within min..max and
// write it into the edit; typing in the edit moves the position (clamped),
// while the edit keeps what was typed. The arrow keys in the edit (Page Up
// and Page Down by ten) and the mouse wheel over either step it too.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tambor::ui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, int position, QWidget* parent);

    QLineEdit* associate() const { return associate_; }
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    // Like the platform's spinner, the position follows what the edit holds
    // (clamped); text that is not a number leaves the last position.
    int position() const;
    void setRange(int minimum, int maximum);
    // Moves the position (clamped) and writes it into the edit.
    void setPosition(int position);
    void stepBy(int steps);

signals:
    void positionChanged(int position);
    // An arrow was clicked: +1 up, -1 down (also at the ends of the range).
    void stepped(int steps);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void takeFromEdit();
    // A wheel turn: one step per notch, a touchpad's small turns added up.
    void wheel(QWheelEvent* event);

    QLineEdit* associate_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
    int wheelTurn_ = 0;
};

}  // namespace tambor::ui
