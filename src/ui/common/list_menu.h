#pragma once
// The pop-up menu of the four list boxes: undo, cut, copy, paste, delete
// and select all, with the same rules for the shortcut keys. Undo (Ctrl+Z)
// works anywhere in the window, as a click on クリア is undone from the
// button that still has the focus.

#include <QObject>
#include <QPointer>
#include <map>
#include <vector>

#include "io/clipboard_text.h"

class QAction;
class QKeyEvent;
class QListView;
class QMenu;
class QWidget;

namespace tambor::ui {

class SessionModel;

class ListMenu : public QObject {
    Q_OBJECT
public:
    ListMenu(SessionModel& model, QWidget* menuParent);

    // Gives a list box the menu and its keys.
    void attach(QListView* listBox, ListBoxKind kind);
    QMenu* menu() const { return popupMenu_; }

    // 元に戻す: the list before its last change (the session's one step).
    void UndoClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListBoxEnter(QListView* listBox);
    void PopupMenuPopup();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void DeleteClick();
    void SelectAllClick();

    // Whether the command may run now, as the menu would offer it; when
    // not, the reason is said in the status bar.
    bool available(QAction* command);
    // The command a key runs in a list box (Ctrl+T/C/V/A, Delete), if any.
    QAction* commandForKey(const QKeyEvent& key) const;
    ListBoxKind kindOf(QListView* listBox) const;
    bool detached(QListView* listBox) const;
    std::vector<std::size_t> selectedRows(QListView* listBox) const;

    SessionModel& model_;
    QMenu* popupMenu_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* selectAll_ = nullptr;
    std::map<QListView*, ListBoxKind> kinds_;
    QPointer<QListView> target_;
};

}  // namespace tambor::ui
