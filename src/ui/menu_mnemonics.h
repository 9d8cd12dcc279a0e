#pragma once
// Alt+F, Alt+L and Alt+H open the menus of the menu tool bar, as a menu
// bar's titles do, even where a control of the page uses the same letter
// ("読み込み(&L)..." on the pick tab). The same key pressed again while its
// menu is open closes the menu and goes on to the page's controls with that
// letter, so both stay reachable; several such controls take the focus in
// turn, as Qt does for equal mnemonics.

#include <QObject>
#include <vector>

class QToolButton;
class QWidget;

namespace tambor::ui {

class MenuMnemonics : public QObject {
    Q_OBJECT
public:
    // window: the main window; buttons: the menu tool bar's buttons, whose
    // captions carry the letters.
    MenuMnemonics(QWidget* window, std::vector<QToolButton*> buttons);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolButton* buttonFor(int key) const;
    // What the key does on the window's own controls when no menu takes it.
    void passToControls(int key);

    QWidget* window_;
    std::vector<QToolButton*> buttons_;
};

}  // namespace tambor::ui
