#include "ui/main_menus.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include "ui/common/widget_helpers.h"

namespace tambor::ui {
namespace {

QToolBar* makeToolBar(QMainWindow* window, const char* name) {
    auto* bar = new QToolBar(window);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setEnabled(false);
    window->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

// The hovered item's hint goes to the window's status bar, as the menu
// bar's menus do: a menu dropped from a tool button is a window of its own,
// so its status tips would not reach the main window by themselves.
// Disabled items (printing without a printer) show their hint too: the
// menu does not make them current, so the mouse over them is watched here.
class DisabledItemHints : public QObject {
public:
    DisabledItemHints(QMainWindow* window, QMenu* menu) : QObject(menu), window_(window), menu_(menu) {
        menu->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == menu_ && event->type() == QEvent::MouseMove) {
            QAction* action = menu_->actionAt(static_cast<QMouseEvent*>(event)->position().toPoint());
            if (action && !action->isEnabled() && !action->isSeparator()) {
                QStatusTipEvent tip(action->statusTip());
                QCoreApplication::sendEvent(window_, &tip);
            }
        }
        return false;
    }

private:
    QMainWindow* window_;
    QMenu* menu_;
};

// clearOnHide: a menu dropped from the bar clears the status bar when it
// closes; a submenu leaves it to the menu it belongs to.
void connectHints(QMainWindow* window, QMenu* menu, bool clearOnHide = true) {
    QObject::connect(menu, &QMenu::hovered, window, [window](QAction* action) {
        QStatusTipEvent tip(action->statusTip());
        QCoreApplication::sendEvent(window, &tip);
    });
    new DisabledItemHints(window, menu);
    if (!clearOnHide) return;
    QObject::connect(menu, &QMenu::aboutToHide, window, [window] {
        QStatusTipEvent tip{QString()};
        QCoreApplication::sendEvent(window, &tip);
    });
}

QMenu* makeMenu(QMainWindow* window, QToolBar* bar, const char* name, const char* caption, const char* hint,
               QToolButton*& madeButton) {
    auto* menu = new QMenu(window);
    menu->setObjectName(QString::fromLatin1(name));
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name) + QStringLiteral("MenuButton"));
    button->setText(u8(caption));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    // The caption keeps its underlined letter; the key itself opens the menu
    // through MenuMnemonics, ahead of a page's control with the same letter.
    button->setShortcut(QKeySequence());
    setHint(button, hint);
    connectHints(window, menu);
    bar->addWidget(button);
    madeButton = button;
    return menu;
}

QAction* addItem(QMenu* menu, const char* name, const char* caption, const char* hint) {
    QAction* action = menu->addAction(u8(caption));
    action->setObjectName(QString::fromLatin1(name));
    if (hint) setHint(action, hint);
    return action;
}

void addToolButton(QToolBar* bar, QAction* action, const char* objectName, const QIcon& icon) {
    action->setIcon(icon);
    bar->addAction(action);
    if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(QString::fromLatin1(objectName));
}

void addToolButton(QToolBar* bar, QAction* action, const char* objectName, QStyle::StandardPixmap icon) {
    addToolButton(bar, action, objectName, QApplication::style()->standardIcon(icon));
}

// The desktop theme's printer, or the program's own where the theme has none
// (the style's standard pictures hold no printer).
QIcon printIcon() {
    QIcon own;
    own.addFile(QStringLiteral(":/icons/actions/print-16.png"), QSize(16, 16));
    own.addFile(QStringLiteral(":/icons/actions/print-32.png"), QSize(32, 32));
    return QIcon::fromTheme(QStringLiteral("document-print"), own);
}

}  // namespace

MainMenus::MainMenus(QMainWindow* window) {
    menuToolBar = makeToolBar(window, "MenuToolBar");
    window->addToolBarBreak();
    btnToolBar = makeToolBar(window, "BtnToolBar");
    btnToolBar->setIconSize(QSize(16, 16));

    fileMenu = makeMenu(window, menuToolBar, "File", "ファイル(&F)", "ファイルの読み込み・保存・印刷・統計情報の更新・終了を行います。",
                        menuButtons[0]);
    load = addItem(fileMenu, "Load", "読み込み(&L)...", "ファイルから組み合わせを読み込みます。");
    save = addItem(fileMenu, "Save", "保存(&S)...", "表示されている組み合わせをファイルに保存します。");
    load->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    fileMenu->addSeparator();
    print = addItem(fileMenu, "Print", "カード印刷(&P)...", "表示されている組み合わせを申込カードに印刷します。");
    printPreview = addItem(fileMenu, "PrintPreview", "印刷プレビュー(&W)...", "申込カードに印刷される内容を画面で確かめます。");
    savePdf = addItem(fileMenu, "SavePdf", "PDF に保存(&D)...",
                      "表示されている組み合わせを申込カードの形で PDF ファイルに保存します（選択があれば選択した組み合わせ）。");
    fileMenu->addSeparator();
    renew = addItem(fileMenu, "Renew", "統計情報の更新(&R)", "インターネットに接続し、最新の統計情報に更新します。");
    importHistory = addItem(fileMenu, "ImportHistory", "当選番号の取り込み(&I)...",
                            "公式サイトの抽せん結果ファイル（CSV）から当選番号を取り込みます。");
    fileMenu->addSeparator();
    recentMenu = new QMenu(u8("最近使ったファイル(&F)"), fileMenu);
    recentMenu->setObjectName(QStringLiteral("RecentMenu"));
    recentFiles = fileMenu->addMenu(recentMenu);
    recentFiles->setObjectName(QStringLiteral("RecentFiles"));
    setHint(recentFiles, "最近読み込んだファイルと保存したファイル（5つまで）から選んで読み込みます。");
    connectHints(window, recentMenu, false);
    fileMenu->addSeparator();
    exit = addItem(fileMenu, "Exit", "終了(&X)", "『タンボル』を終了します。");

    linkMenu = makeMenu(window, menuToolBar, "Link", "リンク(&L)", "サポートホームページと追加したリンクを開きます。",
                        menuButtons[1]);
    homePage = addItem(linkMenu, "HomePage", "サポートホームページ(&H)", nullptr);
    for (int i = 0; i < 3; ++i) {
        userLinks[i] = linkMenu->addAction(u8("リンク%1").arg(i + 1));
        userLinks[i]->setObjectName(QStringLiteral("Add%1").arg(i + 1));
    }

    helpMenu = makeMenu(window, menuToolBar, "Help", "ヘルプ(&H)", "ヘルプとバージョン情報を表示します。",
                        menuButtons[2]);
    contents = addItem(helpMenu, "Contents", "ヘルプの目次(&C)...", "ヘルプの目次を表示します。");
    about = addItem(helpMenu, "About", "バージョン情報(&A)...", "『タンボル』のバージョン情報を表示します。");
    verUp = addItem(helpMenu, "VerUp", "バージョンアップ通知(&N)...", "『タンボル』の最新バージョン番号を表示します。");
    verUp->setVisible(false);

    addToolButton(btnToolBar, exit, "ExitToolButton", QStyle::SP_DialogCloseButton);
    addToolButton(btnToolBar, load, "LoadToolButton", QStyle::SP_DialogOpenButton);
    addToolButton(btnToolBar, save, "SaveToolButton", QStyle::SP_DialogSaveButton);
    addToolButton(btnToolBar, print, "PrintToolButton", printIcon());
    addToolButton(btnToolBar, renew, "RenewToolButton", QStyle::SP_BrowserReload);
    btnToolBar->addSeparator();
    addToolButton(btnToolBar, homePage, "HomePageToolButton", QStyle::SP_DirHomeIcon);
    for (int i = 0; i < 3; ++i)
        addToolButton(btnToolBar, userLinks[i], QStringLiteral("Add%1SToolButton").arg(i + 1).toLatin1().constData(),
                      QStyle::SP_FileLinkIcon);
    btnToolBar->addSeparator();
    addToolButton(btnToolBar, contents, "ContentsToolButton", QStyle::SP_DialogHelpButton);
    addToolButton(btnToolBar, about, "AboutToolButton", QStyle::SP_MessageBoxInformation);
    addToolButton(btnToolBar, verUp, "VerUpToolButton", QStyle::SP_ArrowUp);
}

}  // namespace tambor::ui
