#pragma once
// The main window: the tab pages over the program's state, the menus and
// tool bars, the status bar and the tray. The pages do the work; the window
// arranges them, starts and closes the program's session, and handles the
// keys that act on the whole program.

#include <QMainWindow>
#include <filesystem>
#include <memory>

#include "session/session.h"

class QTabWidget;
class QTimer;

namespace tambor::ui {

class CalculatorPage;
class CardPrinting;
class TAnalysisForm;
class TBacktestForm;
class TFilterForm;
class DetailPage;
class FileCommands;
class HelpCommands;
class HistoryImporter;
class LinksPage;
class ListMenu;
class OnlineUpdate;
class OptionsPage;
class PickPage;
class SessionModel;
class TEditForm;
class THistoryForm;
class TrayIcon;
class TRateForm;
class TWaitForm;
struct MainMenus;

struct MainWindowOptions {
    // Where lotodata.txt and Tambor.ini live (the program's folder, or the
    // per-user data folder when that isn't writable).
    std::filesystem::path dataFolder;
};

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(MainWindowOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    Session& session() { return session_; }
    SessionModel& sessionModel() { return *model_; }
    TWaitForm& waitForm() { return *waitForm_; }
    OnlineUpdate& onlineUpdate() { return *update_; }
    HelpCommands& helpCommands() { return *help_; }
    bool trayIconShown() const;

    // The key handling every window of the program passes its keys to: ESC
    // stops a running command, or minimises to the tray when the option is on.
    bool handleKey(QKeyEvent* event);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The lists of the pages grow with the window.
    void resizeEvent(QResizeEvent* event) override;
    // Files dropped on the window are the bank's result files to import.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The first-show steps: the board zeroed, the settings read (which
    // applies the stored game through the whole switch), the together role.
    void FormShow();
    bool FormCloseQuery();
    // The size and place of the last run (Tambor.ini), on a screen that
    // still exists; and storing them for the next.
    void restorePlace();
    void storePlace();
    void FormClose();
    void ExitClick();
    void RateBitBtnClick();
    void BacktestBitBtnClick();
    void FilterBitBtnClick();
    void AnalysisBitBtnClick();
    void RecordBitBtnClick();
    void TrayRestoreClick();
    void TrayExitClick();
    void refresh(const tambor::Changes& changes);
    void showProblems(const QStringList& messages);
    // A command's reason for doing nothing (or news such as the history
    // file read again), in the status bar for a few seconds: the hints of
    // the controls under the mouse wait meanwhile.
    void showRefusal(const QString& reason);
    void minimizeToTray();
    void restoreFromTray();

    Session session_;
    SessionModel* model_ = nullptr;
    bool shownOnce_ = false;
    TWaitForm* waitForm_ = nullptr;
    TRateForm* rateForm_ = nullptr;
    TEditForm* editForm_ = nullptr;
    TBacktestForm* backtestForm_ = nullptr;  // made when first asked for
    TFilterForm* filterForm_ = nullptr;      // made when first asked for
    TAnalysisForm* analysisForm_ = nullptr;  // made when first asked for
    THistoryForm* historyForm_ = nullptr;    // made when first asked for
    HistoryImporter* historyImporter_ = nullptr;
    TrayIcon* tray_ = nullptr;
    FileCommands* files_ = nullptr;
    ListMenu* listMenu_ = nullptr;
    OnlineUpdate* update_ = nullptr;
    HelpCommands* help_ = nullptr;
    std::unique_ptr<MainMenus> menus_;
    QTabWidget* pageControl_ = nullptr;
    PickPage* pickPage_ = nullptr;
    DetailPage* detailPage_ = nullptr;
    CalculatorPage* calcPage_ = nullptr;
    OptionsPage* optionsPage_ = nullptr;
    LinksPage* linksPage_ = nullptr;
    CardPrinting* printing_ = nullptr;
    QTimer* refusalTimer_ = nullptr;
    QString heldHint_;
};

}  // namespace tambor::ui
