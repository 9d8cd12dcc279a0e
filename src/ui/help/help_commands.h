#pragma once
// The "ヘルプ(&H)" menu: the help contents, opened in the desktop's browser,
// and the about box.

#include <QObject>
#include <QString>

class QWidget;

namespace tambor::ui {

struct MainMenus;

// The help's start page for a program whose executable lies in
// executableFolder: "help/index.htm" beside it (the build tree, or a copy
// unpacked in one folder), else the installed copy under the data folder
// of the installation prefix (bin/../share/tambor/help/index.htm). When
// neither exists, the page beside the executable, so the desktop reports
// what is missing.
QString helpIndexPath(const QString& executableFolder);
// The same for the running program.
QString helpIndexPath();

class HelpCommands : public QObject {
    Q_OBJECT
public:
    // Binds the menu items (and their tool buttons) Contents and About;
    // the about box is owned by window while it is shown.
    HelpCommands(MainMenus& menus, QWidget* window);

    void ContentsClick();
    void AboutClick();

private:
    QWidget* window_;
};

}  // namespace tambor::ui
