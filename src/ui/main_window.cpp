#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/calculator_page.h"
#include "ui/message_box.h"
#include "ui/rate_form.h"
#include "ui/wait_form.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {
namespace {

QToolButton* addMenuButton(QToolBar* bar, const char* caption, QMenu* menu) {
    auto* button = new QToolButton(bar);
    button->setText(u8(caption));
    button->setMenu(menu);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setAutoRaise(true);
    bar->addWidget(button);
    return button;
}

QAction* addToolAction(QToolBar* bar, QAction* action, const char* objectName, QStyle::StandardPixmap icon) {
    action->setIcon(QApplication::style()->standardIcon(icon));
    bar->addAction(action);
    if (QWidget* button = bar->widgetForAction(action)) button->setObjectName(objectName);
    return action;
}

}  // namespace

TMainForm::TMainForm(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      options_(std::move(options)),
      session_(options_.dataFolder) {
    setObjectName("TMainForm");
    setWindowTitle(u8("タンボル"));
    setFixedSize(731, 365);
    QFont f(u8("ＭＳ Ｐゴシック"));
    f.setPixelSize(12);
    setFont(f);

    buildCoolBar();
    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName("PageControl");
    setCentralWidget(pageControl_);
    struct Page {
        const char* name;
        const char* caption;
        void (TMainForm::*build)(QWidget*);
    };
    const Page pages[] = {{"PickTabSheet", "タンボルピック", &TMainForm::buildPickTab},
                          {"DetailTabSheet", "詳細情報", &TMainForm::buildDetailTab},
                          {"CalTabSheet", "金額計算", &TMainForm::buildCalcTab},
                          {"OptionTabSheet", "オプション", &TMainForm::buildOptionTab},
                          {"LinkTabSheet", "リンク", &TMainForm::buildLinkTab}};
    for (const Page& page : pages) {
        auto* sheet = new QWidget;
        sheet->setObjectName(page.name);
        pageControl_->addTab(sheet, u8(page.caption));
        (this->*page.build)(sheet);
    }

    buildListMenu();
    for (QListView* listBox : {pickListBox_, dupListBox_, searchListBox_, resultListBox_}) attachListMenu(listBox);

    auto* status = new QStatusBar(this);
    status->setObjectName("StatusBar");
    status->setSizeGripEnabled(false);
    setStatusBar(status);

    waitForm_ = new TWaitForm(this);
    rateForm_ = new TRateForm(this);
    // The statistics window passes its keys on, so ESC acts there as here.
    connect(rateForm_, &TRateForm::keyPressed, this, [this](QKeyEvent* key) {
        if (key->key() == Qt::Key_Escape && escActionCheckBox_->isChecked()) showMinimized();
    });

    trayPopupMenu_ = new QMenu(this);
    trayPopupMenu_->setObjectName("TrayPopupMenu");
    QAction* restore = trayPopupMenu_->addAction(u8("元のサイズに戻す(&R)"), this, &TMainForm::TrayRestoreClick);
    restore->setObjectName("TrayRestore");
    trayPopupMenu_->setDefaultAction(restore);
    trayPopupMenu_->addSeparator();
    trayPopupMenu_->addAction(u8("終了(&X)"), this, &TMainForm::TrayExitClick)->setObjectName("TrayExit");
    trayIcon_ = new QSystemTrayIcon(this);
    trayIcon_->setObjectName("TrayIcon");
    trayIcon_->setIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    trayIcon_->setContextMenu(trayPopupMenu_);
    connect(trayIcon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick) restoreFromTray();
    });

    // Key preview: the window sees ESC before the focused control.
    qApp->installEventFilter(this);

    // The list starts empty, the game in force is ミニロト from the start.
    ClearBitBtnClick();
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    if (trayIconShown_) trayIcon_->hide();
    // The views and the statistics window read the session: they go before it does.
    delete rateForm_;
    delete takeCentralWidget();
}

void TMainForm::buildCalcTab(QWidget* page) {
    calcPage_ = new CalculatorPage(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(calcPage_);
}

void TMainForm::RateBitBtnClick() {
    rateForm_->show();
    rateForm_->raise();
    rateForm_->activateWindow();
}

bool TMainForm::waitWindowBusy() const { return waitForm_ && waitForm_->busy(); }

void TMainForm::buildCoolBar() {
    menuToolBar_ = new QToolBar(this);
    menuToolBar_->setObjectName("MenuToolBar");
    menuToolBar_->setMovable(false);
    menuToolBar_->setFloatable(false);
    menuToolBar_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, menuToolBar_);
    addToolBarBreak();
    btnToolBar_ = new QToolBar(this);
    btnToolBar_->setObjectName("BtnToolBar");
    btnToolBar_->setMovable(false);
    btnToolBar_->setFloatable(false);
    btnToolBar_->setIconSize(QSize(16, 16));
    btnToolBar_->toggleViewAction()->setEnabled(false);
    addToolBar(Qt::TopToolBarArea, btnToolBar_);

    fileMenu_ = new QMenu(this);
    fileMenu_->setObjectName("File");
    loadAction_ = fileMenu_->addAction(u8("読み込み(&L)..."));
    loadAction_->setObjectName("Load");
    setHint(loadAction_, "ファイルから組み合わせを読み込みます。");
    saveAction_ = fileMenu_->addAction(u8("保存(&S)..."));
    saveAction_->setObjectName("Save");
    setHint(saveAction_, "表示されている組み合わせをファイルに保存します。");
    fileMenu_->addSeparator();
    printAction_ = fileMenu_->addAction(u8("カード印刷(&P)..."));
    printAction_->setObjectName("Print");
    setHint(printAction_, "表示されている組み合わせを申込カードに印刷します。");
    fileMenu_->addSeparator();
    renewAction_ = fileMenu_->addAction(u8("統計情報の更新(&R)"));
    renewAction_->setObjectName("Renew");
    setHint(renewAction_, "インターネットに接続し、最新の統計情報に更新します。");
    fileMenu_->addSeparator();
    exitAction_ = fileMenu_->addAction(u8("終了(&X)"), this, &TMainForm::ExitClick);
    exitAction_->setObjectName("Exit");
    setHint(exitAction_, "『タンボル』を終了します。");

    linkMenu_ = new QMenu(this);
    linkMenu_->setObjectName("Link");
    QAction* homePage = linkMenu_->addAction(u8("サポートホームページ(&H)"));
    homePage->setObjectName("HomePage");
    homePage->setEnabled(false);
    for (int i = 1; i <= 3; ++i) {
        QAction* add = linkMenu_->addAction(u8("リンク%1").arg(i));
        add->setObjectName(QStringLiteral("Add%1").arg(i));
        add->setEnabled(false);
    }

    helpMenu_ = new QMenu(this);
    helpMenu_->setObjectName("Help");
    QAction* contents = helpMenu_->addAction(u8("ヘルプの目次(&C)..."));
    contents->setObjectName("Contents");
    contents->setEnabled(false);
    QAction* about = helpMenu_->addAction(u8("バージョン情報(&A)..."));
    about->setObjectName("About");
    about->setEnabled(false);
    QAction* verUp = helpMenu_->addAction(u8("バージョンアップ通知(&N)..."));
    verUp->setObjectName("VerUp");
    verUp->setVisible(false);

    addMenuButton(menuToolBar_, "ファイル(&F)", fileMenu_);
    addMenuButton(menuToolBar_, "リンク(&L)", linkMenu_);
    addMenuButton(menuToolBar_, "ヘルプ(&H)", helpMenu_);

    addToolAction(btnToolBar_, exitAction_, "ExitToolButton", QStyle::SP_DialogCloseButton);
    addToolAction(btnToolBar_, loadAction_, "LoadToolButton", QStyle::SP_DialogOpenButton);
    addToolAction(btnToolBar_, saveAction_, "SaveToolButton", QStyle::SP_DialogSaveButton);
    addToolAction(btnToolBar_, printAction_, "PrintToolButton", QStyle::SP_FileIcon);
    addToolAction(btnToolBar_, renewAction_, "RenewToolButton", QStyle::SP_BrowserReload);
    btnToolBar_->addSeparator();
    addToolAction(btnToolBar_, homePage, "HomePageToolButton", QStyle::SP_DirHomeIcon);
    btnToolBar_->addSeparator();
    addToolAction(btnToolBar_, contents, "ContentsToolButton", QStyle::SP_DialogHelpButton);
    addToolAction(btnToolBar_, about, "AboutToolButton", QStyle::SP_MessageBoxInformation);
    addToolAction(btnToolBar_, verUp, "VerUpToolButton", QStyle::SP_ArrowUp);

    connect(loadAction_, &QAction::triggered, this, &TMainForm::LoadClick);
    connect(saveAction_, &QAction::triggered, this, &TMainForm::SaveClick);
    // Printing and the online update are not part of this version.
    for (QAction* a : {printAction_, renewAction_}) a->setEnabled(false);
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    initialize();
}

void TMainForm::initialize() {
    if (initialized_) return;
    initialized_ = true;
    session_.board().clearAll();
    RefreshRoleCounts();
    ReadSettings();  // applies the stored game through the full game switch
    SelectRole(Together);
    pageControl_->setCurrentIndex(2);
    pageControl_->setCurrentIndex(0);
}

bool TMainForm::FormCloseQuery() { return confirmDiscard(); }

void TMainForm::closeEvent(QCloseEvent* event) {
    if (waitWindowBusy() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    WriteSettings();
    event->accept();
}

void TMainForm::ExitClick() { close(); }

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (auto* listBox = qobject_cast<QListView*>(watched);
        listBox && (listBox == pickListBox_ || listBox == dupListBox_ || listBox == searchListBox_ || listBox == resultListBox_))
        if (handleListBoxEvent(listBox, event)) return true;
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape &&
        escActionCheckBox_ && escActionCheckBox_->isChecked()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            showMinimized();
            return true;
        }
    }
    if (event->type() == QEvent::ToolTip && !popupHints_) return true;
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized() && escActionCheckBox_ && escActionCheckBox_->isChecked()) minimizeToTray();
}

void TMainForm::minimizeToTray() {
    hide();
    trayIcon_->setToolTip(windowTitle());
    trayIcon_->show();
    trayIconShown_ = true;
}

void TMainForm::restoreFromTray() {
    showNormal();
    raise();
    activateWindow();
    if (trayIconShown_) {
        trayIcon_->hide();
        trayIconShown_ = false;
    }
}

void TMainForm::TrayRestoreClick() { restoreFromTray(); }

// Quitting from the tray runs the same close as the window's own close box,
// so unsaved work is still asked about.
void TMainForm::TrayExitClick() {
    restoreFromTray();
    close();
}

}  // namespace tambor::ui
