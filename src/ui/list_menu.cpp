// The pop-up menu of the list boxes: cut, copy, paste and select all
// through the system clipboard, with the same rules for the shortcuts.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>

#include "core/japanese_count.h"
#include "io/clipboard_text.h"
#include "ui/combination_list_model.h"
#include "ui/main_window.h"
#include "ui/wait_form.h"
#include "ui/widget_helpers.h"

namespace tambor::ui {

void TMainForm::buildListMenu() {
    popupMenu_ = new QMenu(this);
    popupMenu_->setObjectName("PopupMenu");
    struct Item {
        QAction** action;
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        void (TMainForm::*handler)();
        const char* hint;
    };
    const Item items[] = {
        {&cut_, "Cut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_T), &TMainForm::CutClick,
         "選択範囲を切り取って、クリップボードにコピーします。"},
        {&copy_, "Copy", "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), &TMainForm::CopyClick,
         "選択範囲をクリップボードにコピーします。"},
        {&paste_, "Paste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), &TMainForm::PasteClick,
         "コピーしたまたは切り取った項目を、選択された位置に貼り付けます。"},
        {&selectAll_, "SelectAll", "すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), &TMainForm::SelectAllClick,
         "このリストボックスのすべての項目を選択します。"},
    };
    for (const Item& item : items) {
        if (item.action == &selectAll_) popupMenu_->addSeparator()->setObjectName("Sep1Popup");
        QAction* action = popupMenu_->addAction(u8(item.caption));
        action->setObjectName(item.name);
        // Shown in the menu; the keys themselves are handled per list box.
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        setHint(action, item.hint);
        connect(action, &QAction::triggered, this, item.handler);
        *item.action = action;
    }
    connect(popupMenu_, &QMenu::aboutToShow, this, &TMainForm::PopupMenuPopup);
}

void TMainForm::attachListMenu(QListView* listBox) {
    listBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listBox, &QListView::customContextMenuRequested, this, [this, listBox](const QPoint& pos) {
        ListBoxEnter(listBox);
        popupMenu_->popup(listBox->viewport()->mapToGlobal(pos));
    });
}

void TMainForm::ListBoxEnter(QListView* listBox) { popupTarget_ = listBox; }

ListBoxKind TMainForm::listBoxKind(QListView* listBox) const {
    if (listBox == pickListBox_) return ListBoxKind::Pick;
    if (listBox == dupListBox_) return ListBoxKind::Duplicate;
    if (listBox == searchListBox_) return ListBoxKind::Search;
    return ListBoxKind::Result;
}

void TMainForm::PopupMenuPopup() {
    const std::size_t selected = popupTarget_ && popupTarget_->selectionModel()
                                     ? static_cast<std::size_t>(popupTarget_->selectionModel()->selection().count())
                                     : 0;
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    const ListMenuState state =
        listMenuState(listBoxKind(popupTarget_), waitWindowBusy(), selected, clip && clip->hasText());
    const std::pair<QAction*, MenuItemState> items[] = {
        {cut_, state.cut}, {copy_, state.copy}, {paste_, state.paste}, {selectAll_, state.selectAll}};
    for (const auto& [action, item] : items) {
        action->setVisible(item.visible);
        action->setEnabled(item.enabled);
    }
}

bool TMainForm::listCommandAvailable(QAction* command) const {
    const_cast<TMainForm*>(this)->PopupMenuPopup();
    return command->isVisible() && command->isEnabled();
}

std::vector<std::size_t> TMainForm::selectedRows(QListView* listBox) const {
    std::vector<std::size_t> rows;
    if (!listBox->selectionModel()) return rows;
    // Ranges rather than single indexes: selecting a million rows stays cheap.
    for (const QItemSelectionRange& range : listBox->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(static_cast<std::size_t>(r));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TMainForm::CopyClick() {
    if (!popupTarget_ || waitWindowBusy()) return;
    LongOperation op(*waitForm_, true);
    const ListBoxKind kind = listBoxKind(popupTarget_);
    const std::vector<std::size_t> rows = selectedRows(popupTarget_);
    std::string text;
    if (kind == ListBoxKind::Pick || kind == ListBoxKind::Duplicate) {
        text = copyLines(session_.list(), kind, rows);
    } else {
        const QStringList& all = static_cast<TextLinesModel*>(popupTarget_->model())->lines();
        std::vector<std::string> lines;
        lines.reserve(rows.size());
        for (std::size_t r : rows) lines.push_back(all.at(static_cast<qsizetype>(r)).toStdString());
        text = clipboardText(lines);
    }
    op.advance(100);
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TMainForm::CutClick() {
    if (popupTarget_ != pickListBox_ && popupTarget_ != dupListBox_) return;
    if (waitWindowBusy()) return;
    LongOperation op(*waitForm_, true);
    QListView* target = popupTarget_;
    const int top = target->indexAt(QPoint(0, 0)).row();
    const std::string text = cutLines(session_.list(), listBoxKind(target), selectedRows(target));
    op.advance(100);
    showListChanges();
    if (top >= 0 && target->model()->rowCount() > 0)
        target->scrollTo(target->model()->index(std::min(top, target->model()->rowCount() - 1), 0),
                         QAbstractItemView::PositionAtTop);
    target->setFocus();
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void TMainForm::PasteClick() {
    if (popupTarget_ != pickListBox_ || waitWindowBusy()) return;
    LongOperation op(*waitForm_, true);
    const int top = pickListBox_->indexAt(QPoint(0, 0)).row();
    const QModelIndex current = pickListBox_->currentIndex();
    const std::optional<std::size_t> focused =
        current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row())) : std::nullopt;
    const QByteArray text = QApplication::clipboard()->text().toUtf8();
    pasteText(session_.list(), focused, std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
              op.progress());
    showListChanges();
    if (top >= 0) pickListBox_->scrollTo(pickModel_->index(top), QAbstractItemView::PositionAtTop);
    pickListBox_->setFocus();
}

void TMainForm::SelectAllClick() {
    if (!popupTarget_ || waitWindowBusy()) return;
    const int top = popupTarget_->indexAt(QPoint(0, 0)).row();
    popupTarget_->selectAll();
    if (top >= 0) popupTarget_->scrollTo(popupTarget_->model()->index(top, 0), QAbstractItemView::PositionAtTop);
}

bool TMainForm::handleListBoxEvent(QListView* listBox, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        ListBoxEnter(listBox);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::ControlModifier) return false;
    QAction* command = nullptr;
    switch (key->key()) {
    case Qt::Key_T: command = cut_; break;
    case Qt::Key_C: command = copy_; break;
    case Qt::Key_V: command = paste_; break;
    case Qt::Key_A: command = selectAll_; break;
    default: return false;
    }
    // The keys run a command only when the menu would offer it enabled.
    ListBoxEnter(listBox);
    if (listCommandAvailable(command)) command->trigger();
    return true;
}

}  // namespace tambor::ui
