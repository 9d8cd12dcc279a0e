#pragma once
// A spinner beside an edit: its arrows step a position within min..max and
// write it into the edit; typing in the edit moves the position (clamped),
// while the edit keeps what was typed.

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace tambor::ui {

class UpDown : public QWidget {
    Q_OBJECT
public:
    UpDown(QLineEdit* associate, int minimum, int maximum, int position, QWidget* parent);

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

private:
    void takeFromEdit();

    QLineEdit* associate_;
    QToolButton* up_;
    QToolButton* down_;
    int minimum_;
    int maximum_;
    int position_;
};

}  // namespace tambor::ui
