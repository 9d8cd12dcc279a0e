#pragma once
// The link tab: the support homepage and the three user links, each a
// title and a target opened with the desktop's default application. A link
// is shown here (large button, title and target labels), in the "リンク(&L)"
// menu and as a tool button; "追加・変更(&A)" switches the tab into an edit
// mode in which the titles and targets are typed or taken from a chosen
// file, and "登録(&A)" stores them in the options.

#include <QIcon>
#include <QWidget>
#include <array>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

namespace tambor {
class Changes;
}

namespace tambor::ui {

class ClickLabel;
class SessionModel;
struct MainMenus;

class LinksPage : public QWidget {
    Q_OBJECT
public:
    explicit LinksPage(SessionModel& model, QWidget* parent = nullptr);

    // Binds the homepage and link items of the menus (and so their tool
    // buttons) to this page: they open what the page shows and carry the
    // links' titles, icons and hints. The load command's picture is the
    // large buttons' picture in edit mode.
    void attachMenus(MainMenus& menus);

    bool editMode() const;

private:
    struct Slot {
        ClickLabel* titleLabel = nullptr;
        ClickLabel* linkLabel = nullptr;
        QLineEdit* titleEdit = nullptr;
        QLineEdit* linkEdit = nullptr;
        QToolButton* speedButton = nullptr;
        QAction* action = nullptr;  // the menu item and its tool button
    };

    // Shows link slot (1..3) with its title and target: the icons of its
    // kind, the hint "クリックすると『title』を開きます。" on every control.
    void SetUserLink(int slot, const QString& title, const QString& target);
    void AddClick(int slot);
    void AddSpeedButtonClick(int slot);
    void AddBitBtnClick();
    void HomePageClick();
    void LabelCopyClick();
    void enterEditMode();
    // Stores the edits' titles and targets; false (still editing) when one
    // cannot be kept in the settings file.
    bool registerEdits();
    void refresh(const tambor::Changes& changes);
    void attachLabelMenu(QLabel* label);
    Slot& slotAt(int slot) { return slots_[static_cast<std::size_t>(slot - 1)]; }

    SessionModel& model_;
    std::array<Slot, 3> slots_{};
    ClickLabel* homePageUrlLabel_ = nullptr;
    ClickLabel* homePageTitleLabel_ = nullptr;
    QToolButton* homePageSpeedButton_ = nullptr;
    QPushButton* addBitBtn_ = nullptr;
    QMenu* labelPopupMenu_ = nullptr;
    QLabel* labelPopupTarget_ = nullptr;
    QIcon chooseFileIcon_;
};

}  // namespace tambor::ui
