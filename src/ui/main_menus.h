#pragma once
// The main window's menus ("ファイル(&F)", "リンク(&L)", "ヘルプ(&H)") on the
// menu tool bar, and the image tool bar whose buttons share their actions.

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QToolButton;

namespace tambor::ui {

struct MainMenus {
    // Builds both tool bars on window.
    explicit MainMenus(QMainWindow* window);

    QToolBar* menuToolBar = nullptr;
    // The buttons that drop the menus down; their mnemonics are handled by
    // MenuMnemonics, not by Qt's shortcuts.
    QToolButton* menuButtons[3] = {};
    QToolBar* btnToolBar = nullptr;
    QMenu* fileMenu = nullptr;
    QMenu* linkMenu = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* load = nullptr;
    QAction* save = nullptr;
    QAction* print = nullptr;
    QAction* printPreview = nullptr;
    QAction* savePdf = nullptr;
    QAction* renew = nullptr;
    QAction* importHistory = nullptr;
    QMenu* recentMenu = nullptr;     // 最近使ったファイル, filled by FileCommands
    QAction* recentFiles = nullptr;  // the File menu's item that opens it
    QAction* exit = nullptr;
    QAction* homePage = nullptr;
    QAction* userLinks[3] = {};
    QAction* contents = nullptr;
    QAction* about = nullptr;
    QAction* verUp = nullptr;
};

}  // namespace tambor::ui
