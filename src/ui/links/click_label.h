#pragma once
// A label that acts on a click, as the link labels and the about box's mail
// label do: plain text (a title is never read as markup), a hand cursor,
// and clicked() on a left-button release inside the label.

#include <QLabel>

namespace tambor::ui {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(QWidget* parent = nullptr);
    // Blue and underlined, as an address is shown.
    void showAsAddress();

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace tambor::ui
