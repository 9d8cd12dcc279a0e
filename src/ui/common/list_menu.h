#pragma once
// The pop-up menu of the four list boxes: cut, copy, paste and select all
// through the system clipboard, with the same rules for the shortcut keys.

#include <QObject>
#include <QPointer>
#include <map>
#include <vector>

#include "io/clipboard_text.h"

class QAction;
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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListBoxEnter(QListView* listBox);
    void PopupMenuPopup();
    void CutClick();
    void CopyClick();
    void PasteClick();
    void SelectAllClick();

    bool available(QAction* command);
    ListBoxKind kindOf(QListView* listBox) const;
    bool detached(QListView* listBox) const;
    std::vector<std::size_t> selectedRows(QListView* listBox) const;

    SessionModel& model_;
    QMenu* popupMenu_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* paste_ = nullptr;
    QAction* selectAll_ = nullptr;
    std::map<QListView*, ListBoxKind> kinds_;
    QPointer<QListView> target_;
};

}  // namespace tambor::ui
