#include "ui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QPushButton>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "ui/backtest/backtest_form.h"
#include "ui/filter/analysis_form.h"
#include "ui/filter/filter_form.h"
#include "ui/calc/calculator_page.h"
#include "ui/common/fonts.h"
#include "ui/common/list_menu.h"
#include "ui/common/message_box.h"
#include "ui/common/printer.h"
#include "ui/common/session_model.h"
#include "ui/common/tray_icon.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/detail/detail_page.h"
#include "ui/edit/edit_form.h"
#include "ui/help/help_commands.h"
#include "ui/history/history_file_watcher.h"
#include "ui/history/history_form.h"
#include "ui/history/history_importer.h"
#include "ui/links/link_icons.h"
#include "ui/links/links_page.h"
#include "ui/main_menus.h"
#include "ui/menu_mnemonics.h"
#include "ui/options/options_page.h"
#include "ui/pick/file_commands.h"
#include "ui/pick/newest_draw_label.h"
#include "ui/pick/pick_page.h"
#include "ui/pick/prize_group.h"
#include "ui/print/card_printing.h"
#include "ui/stats/rate_form.h"
#include "ui/update/online_update.h"

namespace tambor::ui {
namespace {
// How long a refusal's reason stays in the status bar.
constexpr int kRefusalShownMs = 4000;
constexpr QSize kSmallestSize(731, 365);

// A stored place is used when a screen of today still shows the middle of
// it; otherwise only its size, in the middle of the primary screen.
QRect placeOnScreen(const WindowPlace& place) {
    QRect rect(place.left, place.top, place.width, place.height);
    rect.setSize(rect.size().expandedTo(kSmallestSize));
    if (QGuiApplication::screenAt(rect.center())) return rect;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        rect.setSize(rect.size().boundedTo(available.size()).expandedTo(kSmallestSize));
        rect.moveCenter(available.center());
    }
    return rect;
}
}  // namespace

TMainForm::TMainForm(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      session_(std::move(options.dataFolder)) {
    setObjectName(QStringLiteral("TMainForm"));
    setWindowTitle(u8("タンボル"));
    // The designed size is the smallest; a larger window gives the lists more room.
    setMinimumSize(kSmallestSize);
    resize(kSmallestSize);
    setFont(windowFont());

    model_ = new SessionModel(session_, this);
    waitForm_ = new TWaitForm(this);
    model_->setWaitForm(waitForm_);
    files_ = new FileCommands(*model_, this);
    menus_ = std::make_unique<MainMenus>(this);
    new MenuMnemonics(this, {menus_->menuButtons[0], menus_->menuButtons[1], menus_->menuButtons[2]});

    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName(QStringLiteral("PageControl"));
    setCentralWidget(pageControl_);
    pickPage_ = new PickPage(*model_, *files_);
    detailPage_ = new DetailPage(*model_);
    calcPage_ = new CalculatorPage(*model_, nullptr);
    optionsPage_ = new OptionsPage(*model_);
    linksPage_ = new LinksPage(*model_);
    const std::pair<QWidget*, const char*> pages[] = {{pickPage_, "タンボルピック"},
                                                      {detailPage_, "詳細情報"},
                                                      {calcPage_, "金額計算"},
                                                      {optionsPage_, "オプション"},
                                                      {linksPage_, "リンク"}};
    const char* const sheetNames[] = {"PickTabSheet", "DetailTabSheet", "CalTabSheet", "OptionTabSheet", "LinkTabSheet"};
    for (std::size_t i = 0; i < std::size(pages); ++i) {
        pageControl_->addTab(pages[i].first, u8(pages[i].second));
        pages[i].first->setObjectName(QString::fromLatin1(sheetNames[i]));
    }
    files_->setPageCountField(optionsPage_->splitMemo(), optionsPage_->splitUpDown());
    linksPage_->attachMenus(*menus_);
    help_ = new HelpCommands(*menus_, *model_, pageControl_, this);
    setWindowIcon(programIcon());

    printing_ = new CardPrinting(*model_, this, pickPage_->listBox());

    listMenu_ = new ListMenu(*model_, this);
    listMenu_->attach(pickPage_->listBox(), ListBoxKind::Pick);
    listMenu_->attach(detailPage_->dupListBox(), ListBoxKind::Duplicate);
    listMenu_->attach(detailPage_->searchListBox(), ListBoxKind::Search);
    listMenu_->attach(detailPage_->resultListBox(), ListBoxKind::Result);

    auto* status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("StatusBar"));
    // The window's frame resizes it; a grip would take height from the pages.
    status->setSizeGripEnabled(false);
    setStatusBar(status);
    status->addPermanentWidget(new NewestDrawLabel(*model_, status));
    refusalTimer_ = new QTimer(this);
    refusalTimer_->setObjectName(QStringLiteral("RefusalTimer"));
    refusalTimer_->setSingleShot(true);
    refusalTimer_->setInterval(kRefusalShownMs);
    connect(refusalTimer_, &QTimer::timeout, this, [this] { statusBar()->showMessage(heldHint_); });

    rateForm_ = new TRateForm(*model_, this);
    editForm_ = new TEditForm(*model_, this);
    editForm_->setKeyHandler([this](QKeyEvent* event) { return handleKey(event); });
    connect(pickPage_, &PickPage::editFormWanted, editForm_, &TEditForm::showEditor);
    connect(model_, &SessionModel::listEditingChanged, menus_->load,
            [this](bool editing) { menus_->load->setEnabled(!editing); });
    tray_ = new TrayIcon(this);
    connect(tray_, &TrayIcon::restoreRequested, this, &TMainForm::TrayRestoreClick);
    connect(tray_, &TrayIcon::exitRequested, this, &TMainForm::TrayExitClick);

    connect(menus_->load, &QAction::triggered, files_, &FileCommands::LoadClick);
    connect(menus_->save, &QAction::triggered, files_, &FileCommands::SaveClick);
    files_->setRecentMenu(menus_->recentMenu);
    connect(menus_->exit, &QAction::triggered, this, &TMainForm::ExitClick);
    update_ = new OnlineUpdate(*model_, this, menus_->renew, menus_->verUp);
    // After new draws arrive the prize check runs again, as its button does.
    connect(update_, &OnlineUpdate::recheckWanted, pickPage_->prizeGroup()->prizeButton(), &QPushButton::click);
    connect(pickPage_, &PickPage::rateFormWanted, this, &TMainForm::RateBitBtnClick);
    connect(pickPage_, &PickPage::filterFormWanted, this, &TMainForm::FilterBitBtnClick);
    connect(pickPage_, &PickPage::analysisFormWanted, this, &TMainForm::AnalysisBitBtnClick);
    connect(pickPage_, &PickPage::historyFormWanted, this, &TMainForm::RecordBitBtnClick);
    historyImporter_ = new HistoryImporter(*model_, this);
    connect(menus_->importHistory, &QAction::triggered, historyImporter_, [this] { historyImporter_->ImportClick(); });
    // New draws, like those of an update, are checked at once.
    connect(historyImporter_, &HistoryImporter::historyImported, pickPage_->prizeGroup()->prizeButton(),
            &QPushButton::click);
    setAcceptDrops(true);
    connect(pickPage_->prizeGroup(), &PrizeGroup::backtestWanted, this, &TMainForm::BacktestBitBtnClick);
    connect(model_, &SessionModel::changed, this, &TMainForm::refresh);
    connect(model_, &SessionModel::problemsReported, this, &TMainForm::showProblems);
    connect(model_, &SessionModel::refused, this, &TMainForm::showRefusal);
    // Another program's change of lotodata.txt shows here as an update would.
    auto* historyWatcher = new HistoryFileWatcher(*model_, this);
    historyWatcher->setObjectName(QStringLiteral("HistoryFileWatcher"));
    connect(historyWatcher, &HistoryFileWatcher::reloaded, this, &TMainForm::showRefusal);

    // Key preview: the window sees ESC before the focused control.
    qApp->installEventFilter(this);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    tray_->hide();
    // A running update is stopped and its thread joined first.
    delete update_;
    // The windows read the session: they go before it does.
    delete rateForm_;
    delete backtestForm_;
    delete filterForm_;
    delete analysisForm_;
    delete historyForm_;
    delete editForm_;
    delete help_;
    delete takeCentralWidget();
}

bool TMainForm::trayIconShown() const { return tray_->shown(); }

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_) return;
    shownOnce_ = true;
    FormShow();
}

void TMainForm::FormShow() {
    model_->run([](Session& s) { return s.clearBoard(); });
    // The printer chosen last is set up first, so that its metrics and
    // offsets are taken and its stored margins found.
    const std::string chosen = storedPrinterName(settingsPath(session_.dataFolder()));
    model_->run([&](Session& s) { return s.changeOptions([&](Options& o) { o.printerName = chosen; }); });
    printing_->FetchPrinterMargins();  // the stored margins may replace them
    const std::optional<PrinterInfo> printer = currentPrinter(printing_->chosenPrinter());
    model_->run([&](Session& s) { return s.readSettings(printer ? &*printer : nullptr); });
    // A newer program brings the draws it knows into the user's history.
    model_->run([](Session& s) { return s.mergeBuiltinHistory(); });
    model_->run([](Session& s) { return s.selectRole(Together); });
    if (!printing_->printerReady()) printing_->DisablePrinting();
    restorePlace();
}

void TMainForm::restorePlace() {
    const WindowPlace& place = session_.options().window;
    if (place.width <= 0 || place.height <= 0) return;
    setGeometry(placeOnScreen(place));
    if (place.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TMainForm::storePlace() {
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (!normal.isValid()) return;
    const WindowPlace place{normal.left(), normal.top(), normal.width(), normal.height(), isMaximized()};
    model_->run([&](Session& s) { return s.changeOptions([&](Options& o) { o.window = place; }); });
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!pickPage_ || !detailPage_) return;  // the pages are not made yet
    const QSize delta = size() - kSmallestSize;
    pickPage_->growBy(delta);
    detailPage_->growBy(delta);
}

bool TMainForm::FormCloseQuery() {
    if (model_->refuseWhenBusy()) return false;
    // An open editor is closed as its close box would close it, so its
    // changes are in the list the close question asks about.
    if (editForm_->isVisible() && !editForm_->close()) return false;
    return files_->confirmDiscard();
}

void TMainForm::FormClose() {
    storePlace();
    const std::optional<PrinterInfo> printer = currentPrinter(printing_->chosenPrinter());
    if (printer) optionsPage_->commitMargins(*printer);
    try {
        session_.writeSettings(printer ? &*printer : nullptr);
    } catch (const std::exception& e) {
        MessageBox::error(this, QString::fromStdString(e.what()));
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TMainForm::ExitClick() { close(); }

void TMainForm::RateBitBtnClick() {
    rateForm_->show();
    rateForm_->raise();
    rateForm_->activateWindow();
}

void TMainForm::FilterBitBtnClick() {
    if (!filterForm_) filterForm_ = new TFilterForm(*model_, this);
    filterForm_->showForm();
}

void TMainForm::AnalysisBitBtnClick() {
    if (!analysisForm_) analysisForm_ = new TAnalysisForm(*model_, this);
    analysisForm_->showForm();
}

void TMainForm::BacktestBitBtnClick() {
    if (model_->refuseWhenBusy()) return;
    if (!backtestForm_) backtestForm_ = new TBacktestForm(*model_, this);
    backtestForm_->showForList();
}

void TMainForm::RecordBitBtnClick() {
    if (!historyForm_) {
        historyForm_ = new THistoryForm(*model_, *historyImporter_, this);
        connect(historyForm_, &THistoryForm::prizeCheckWanted, pickPage_->prizeGroup()->prizeButton(),
                &QPushButton::click);
    }
    historyForm_->showHistory();
}

namespace {
QStringList localFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    return files;
}
}  // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const QStringList files = localFiles(event->mimeData());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    // After the drop has ended: the drag source is not kept waiting while
    // the result message shows.
    QTimer::singleShot(0, historyImporter_, [this, files] { historyImporter_->importFiles(files); });
}

void TMainForm::refresh(const Changes& changes) {
    if (!changes.has(Change::Game)) return;
    const QString title = QString::fromStdString(tambor::windowTitle(session_.mode()));
    setWindowTitle(title);
    tray_->setTip(title);
}

void TMainForm::showProblems(const QStringList& messages) {
    for (const QString& message : messages) MessageBox::error(this, message);
}

void TMainForm::showRefusal(const QString& reason) {
    if (!refusalTimer_->isActive()) heldHint_ = statusBar()->currentMessage();
    statusBar()->showMessage(reason);
    refusalTimer_->start();
}

bool TMainForm::event(QEvent* event) {
    // While a reason shows, the hint of the control under the mouse is
    // kept for afterwards instead of replacing it.
    if (event->type() == QEvent::StatusTip && refusalTimer_ && refusalTimer_->isActive()) {
        heldHint_ = static_cast<QStatusTipEvent*>(event)->tip();
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::handleKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Escape) return false;
    if (waitForm_->busy()) {
        waitForm_->requestCancel();
        return true;
    }
    if (!session_.options().escAction) return false;
    showMinimized();
    return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget->window() == this || widget->window() == waitForm_) &&
            handleKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    // Pop-up hints only when the option is on; the status bar shows them always.
    if (event->type() == QEvent::ToolTip && !session_.options().popupHint) return true;
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    // Without a notification area there would be no way back: the window
    // then stays an ordinary minimised window.
    // Hidden after the state change has run its course: showMinimized()
    // shows the window again once the change is reported.
    if (isMinimized() && session_.options().escAction && QSystemTrayIcon::isSystemTrayAvailable())
        QTimer::singleShot(0, this, [this] {
            if (isMinimized()) minimizeToTray();
        });
}

void TMainForm::minimizeToTray() {
    hide();
    tray_->show(windowTitle());
}

void TMainForm::restoreFromTray() {
    showNormal();
    raise();
    activateWindow();
    tray_->hide();
}

// Coming back from the tray while a command runs stops it: the user wants
// the program back, not to wait for work done out of sight.
void TMainForm::TrayRestoreClick() {
    if (waitForm_->busy()) waitForm_->requestCancel();
    restoreFromTray();
}

// Quitting from the tray runs the same close as the window's own close box,
// so unsaved work is still asked about.
void TMainForm::TrayExitClick() {
    restoreFromTray();
    close();
}

}  // namespace tambor::ui
