#pragma once
// "バージョン情報": the program's logo, version, description and the
// author's contact address. Created for each showing, modal.

#include <QDialog>

class QLabel;
class QMenu;
class QPushButton;

namespace tambor::ui {

class ClickLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

private:
    // Writes a mail to the author with the program's subject line.
    void mailtoLabelClick();
    void CopyClick();

    ClickLabel* mailtoLabel_ = nullptr;
    QMenu* mailtoPopupMenu_ = nullptr;
    QLabel* popupTarget_ = nullptr;
};

}  // namespace tambor::ui
