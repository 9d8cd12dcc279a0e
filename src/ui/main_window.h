#pragma once
// The main window: five tab pages over the program's state (a Session).
// Handlers keep the names of the controls they serve and stay thin: read
// the controls, call the core, show the result.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/session.h"
#include "io/clipboard_text.h"
#include "io/settings.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QRadioButton;
class QSystemTrayIcon;
class QTabWidget;
class QToolBar;
class QToolButton;
class QUrl;
class QWidget;

namespace tambor::ui {

class CalculatorPage;
class CombinationListModel;
class TRateForm;
class NumPanel;
class TextLinesModel;
class TWaitForm;
class UpDown;

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
    TWaitForm& waitForm() { return *waitForm_; }
    bool waitWindowBusy() const;
    bool trayIconShown() const { return trayIconShown_; }

    // The first-show initialisation; runs once (showing the window runs it).
    void initialize();
    // Shows the lists and the count after the session's list changed.
    void showListChanges();

    // Handlers, named after the controls they serve (public so the window
    // tests can drive them as a click would).

    // Game, list and board.
    void LotoRadioButtonClick(int gameTag);
    void ClearBitBtnClick();
    void DupClearBitBtnClick();
    void SelRadioButtonClick(int role);
    void SelectRole(int role);
    void NumPanelClick(int number, bool rightButton);
    void AllowAllUpSpeedButtonClick();
    void RefreshRoleCounts();
    void ResetPrizeDisplay();

    // Commands that fill or reorder the list.
    void LotBitBtnClick();
    void CombiBitBtnClick();
    void SortBitBtnClick();

    // Prize check, history and statistics.
    void PrizeCheckBoxClick();
    void PrizeMemoChange();
    void PrizeBitBtnClick();
    void RecordBitBtnClick();
    void RateBitBtnClick();
    TRateForm& rateForm() { return *rateForm_; }

    // Files.
    // Saves the list through the save dialog; false when nothing was saved.
    bool SaveClick();
    void LoadClick();

    // Options and links.
    void RSystemCheckBoxClick();
    void PopupHintCheckBoxClick();
    void ProxyCheckBoxClick();
    void SaveRadioButtonClick(int tag);
    void PrizeRadioButtonClick(int tag);
    void PastRemoveCheckBoxClick();
    void SetUserLink(int slot, const QString& title, const QString& target);
    // Copies the address of the link label the label menu was opened on.
    void LabelCopyClick();
    void setLabelPopupTarget(QLabel* label) { labelPopupTarget_ = label; }

    // The list pop-up menu shared by the four list boxes.
    void ListBoxEnter(QListView* listBox);
    void PopupMenuPopup();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void SelectAllClick();
    QMenu* popupMenu() const { return popupMenu_; }

    // Frame and tray.
    void ExitClick();
    void TrayRestoreClick();
    void TrayExitClick();
    // Opens a web address, mail address or file with the desktop's default
    // application. Tests replace the opener to see what would be opened.
    void ShellOpen(const QString& target);
    void setShellOpenHook(std::function<void(const QUrl&)> hook) { shellOpenHook_ = std::move(hook); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building the window, one tab page per function.
    void buildCoolBar();
    void buildPickTab(QWidget* page);
    void buildBoard(QWidget* page);
    void buildDetailTab(QWidget* page);
    void buildCalcTab(QWidget* page);
    void buildOptionTab(QWidget* page);
    void buildLinkTab(QWidget* page);

    void buildListMenu();
    void attachListMenu(QListView* listBox);
    bool listCommandAvailable(QAction* command) const;
    bool handleListBoxEvent(QListView* listBox, QEvent* event);
    ListBoxKind listBoxKind(QListView* listBox) const;
    std::vector<std::size_t> selectedRows(QListView* listBox) const;

    // Shared steps.
    void applyGameToWindow();
    void gameRadioButtonClicked(int gameTag);
    void selectMainRoleForPrize();
    void finishListCommand(QWidget* commandButton);
    void showWeightingReport(const std::vector<std::string>& report);
    void loadHistoryForGame();
    void repaintBoard();
    bool FormCloseQuery();
    Settings currentSettings() const;
    void applySettings(const Settings& settings);
    void ReadSettings();
    void WriteSettings();
    // Asks whether to save a changed list before it is discarded; false
    // when the user cancels or the save did not happen.
    bool confirmDiscard();
    void minimizeToTray();
    void restoreFromTray();

    MainWindowOptions options_;
    Session session_;
    bool initialized_ = false;
    bool trayIconShown_ = false;
    bool updatingPrizeMemo_ = false;
    std::function<void(const QUrl&)> shellOpenHook_;

    TWaitForm* waitForm_ = nullptr;
    TRateForm* rateForm_ = nullptr;
    CalculatorPage* calcPage_ = nullptr;
    QSystemTrayIcon* trayIcon_ = nullptr;
    QMenu* trayPopupMenu_ = nullptr;

    // Frame.
    QTabWidget* pageControl_ = nullptr;
    QToolBar* menuToolBar_ = nullptr;
    QToolBar* btnToolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QMenu* linkMenu_ = nullptr;
    QMenu* helpMenu_ = nullptr;
    QAction* loadAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* renewAction_ = nullptr;
    QAction* exitAction_ = nullptr;

    // Pick tab: game, list and commands.
    QRadioButton* miniLotoRadioButton_ = nullptr;
    QRadioButton* loto6RadioButton_ = nullptr;
    QListView* pickListBox_ = nullptr;
    CombinationListModel* pickModel_ = nullptr;
    QLineEdit* pickMemo_ = nullptr;
    QPushButton* clearBitBtn_ = nullptr;
    QPushButton* lotBitBtn_ = nullptr;
    QLineEdit* lotMemo_ = nullptr;
    UpDown* lotUpDown_ = nullptr;
    QPushButton* combiBitBtn_ = nullptr;
    QLineEdit* combiMemo_ = nullptr;
    QPushButton* sortBitBtn_ = nullptr;
    QPushButton* editBitBtn_ = nullptr;
    QPushButton* saveBitBtn_ = nullptr;
    QPushButton* loadBitBtn_ = nullptr;
    QPushButton* printBitBtn_ = nullptr;

    // Pick tab: prize check.
    QCheckBox* prizeCheckBox_ = nullptr;
    QLineEdit* prizeMemo_ = nullptr;
    UpDown* prizeUpDown_ = nullptr;
    QPushButton* prizeBitBtn_ = nullptr;
    std::array<QLineEdit*, 5> gradeMemo_{};
    std::array<QLabel*, 5> gradeLabel_{};
    QLineEdit* moneyMemo_ = nullptr;
    QPushButton* recordBitBtn_ = nullptr;
    QPushButton* rateBitBtn_ = nullptr;

    // Pick tab: number board.
    std::array<NumPanel*, kBoardSize> numPanels_{};
    std::array<QRadioButton*, kRoleCount> roleRadioButtons_{};
    std::array<QLineEdit*, kRoleCount> roleMemos_{};
    QButtonGroup* roleGroup_ = nullptr;
    QToolButton* allowAllUpSpeedButton_ = nullptr;

    // Detail tab.
    QListView* dupListBox_ = nullptr;
    CombinationListModel* dupModel_ = nullptr;
    QPushButton* dupClearBitBtn_ = nullptr;
    QListView* resultListBox_ = nullptr;
    TextLinesModel* resultModel_ = nullptr;
    QListView* searchListBox_ = nullptr;
    TextLinesModel* searchModel_ = nullptr;

    // List pop-up menu.
    QMenu* popupMenu_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
    QListView* popupTarget_ = nullptr;

    // Option tab.
    QRadioButton* csvRadioButton_ = nullptr;
    QRadioButton* textRadioButton_ = nullptr;
    QLineEdit* splitMemo_ = nullptr;
    UpDown* splitUpDown_ = nullptr;
    QCheckBox* popupHintCheckBox_ = nullptr;
    QCheckBox* escActionCheckBox_ = nullptr;
    QCheckBox* proxyCheckBox_ = nullptr;
    QLabel* proxyAddressLabel_ = nullptr;
    QLineEdit* proxyAddressEdit_ = nullptr;
    QLabel* proxyPortLabel_ = nullptr;
    QLineEdit* proxyPortEdit_ = nullptr;
    QRadioButton* reciprocalRadioButton_ = nullptr;
    QRadioButton* fractionRadioButton_ = nullptr;
    QLineEdit* horzMemo_ = nullptr;
    QLineEdit* vertMemo_ = nullptr;
    QLineEdit* defMemo_ = nullptr;
    UpDown* defUpDown_ = nullptr;
    QComboBox* lotModeComboBox_ = nullptr;
    QCheckBox* pastRemoveCheckBox_ = nullptr;
    QCheckBox* rSystemCheckBox_ = nullptr;
    QLabel* arrangeModeLabel_ = nullptr;
    QComboBox* arrangeModeComboBox_ = nullptr;
    int saveFormat_ = 0;
    double horzMargin_ = 0.0;
    double vertMargin_ = 0.0;
    int prizeViewMethod_ = 0;
    bool popupHints_ = false;

    // Link tab.
    std::array<QLabel*, 3> userLinkTitles_{};
    std::array<QLabel*, 3> userLinkTargets_{};
    QMenu* labelPopupMenu_ = nullptr;
    QLabel* labelPopupTarget_ = nullptr;
};

}  // namespace tambor::ui
