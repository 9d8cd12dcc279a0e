#pragma once
// The "ヘルプ(&H)" menu: the help window (F1: on the page of the tab in
// front) and the about box.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QTabWidget;
class QWidget;

namespace tambor::ui {

struct MainMenus;
class SessionModel;
class THelpForm;

// Where the help's start page is looked for, in order: "help/index.htm"
// beside the executable in executableFolder, then the installed copy.
QStringList helpPlaces(const QString& executableFolder);

// The help's start page for a program whose executable lies in
// executableFolder: "help/index.htm" beside it (the build tree, or a copy
// unpacked in one folder), else the installed copy under the data folder
// of the installation prefix (bin/../share/tambor/help/index.htm). When
// neither exists, the page beside the executable.
QString helpIndexPath(const QString& executableFolder);
// The same for the running program.
QString helpIndexPath();

// The help page about a tab of the main window (by its sheet's objectName).
QString helpPageForTab(const QString& tabSheetName);

class HelpCommands : public QObject {
    Q_OBJECT
public:
    // Binds the menu items (and their tool buttons) Contents (F1) and About;
    // pages: the tab control whose page in front chooses the help page.
    HelpCommands(MainMenus& menus, SessionModel& model, QTabWidget* pages, QWidget* window);
    ~HelpCommands() override;

    // Opens the help window on the page of the tab in front.
    THelpForm* ContentsClick();
    void AboutClick();

    // Tests: look for the help here instead (the window is made again).
    void setHelpPlaces(QStringList places);
    THelpForm* helpForm() const;

private:
    SessionModel& model_;
    QTabWidget* pages_;
    QWidget* window_;
    QStringList places_;
    QPointer<THelpForm> form_;  // made when first asked for
};

}  // namespace tambor::ui
