#include "ui/common/list_menu.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QShortcut>
#include <algorithm>

#include "session/refusals.h"
#include "ui/common/combination_list_model.h"
#include "ui/common/session_model.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"

namespace tambor::ui {

ListMenu::ListMenu(SessionModel& model, QWidget* menuParent) : QObject(menuParent), model_(model) {
    popupMenu_ = new QMenu(menuParent);
    popupMenu_->setObjectName(QStringLiteral("PopupMenu"));
    struct Item {
        QAction** action;
        const char* name;
        const char* caption;
        QKeySequence shortcut;
        void (ListMenu::*handler)();
        const char* hint;
    };
    const Item items[] = {
        {&undo_, "Undo", "元に戻す(&U)", QKeySequence(Qt::CTRL | Qt::Key_Z), &ListMenu::UndoClick,
         "一覧を最後の変更の前に戻します。"},
        {&cut_, "Cut", "切り取り(&T)", QKeySequence(Qt::CTRL | Qt::Key_T), &ListMenu::CutClick,
         "選択範囲を切り取って、クリップボードにコピーします。"},
        {&copy_, "Copy", "コピー(&C)", QKeySequence(Qt::CTRL | Qt::Key_C), &ListMenu::CopyClick,
         "選択範囲をクリップボードにコピーします。"},
        {&paste_, "Paste", "貼り付け(&P)", QKeySequence(Qt::CTRL | Qt::Key_V), &ListMenu::PasteClick,
         "コピーしたまたは切り取った項目を、選択された位置に貼り付けます。"},
        {&delete_, "Delete", "削除(&D)", QKeySequence(Qt::Key_Delete), &ListMenu::DeleteClick,
         "選択範囲を削除します（クリップボードにはコピーしません）。"},
        {&selectAll_, "SelectAll", "すべて選択(&A)", QKeySequence(Qt::CTRL | Qt::Key_A), &ListMenu::SelectAllClick,
         "このリストボックスのすべての項目を選択します。"},
    };
    for (const Item& item : items) {
        if (item.action == &selectAll_) popupMenu_->addSeparator()->setObjectName(QStringLiteral("Sep1Popup"));
        if (item.action == &cut_) popupMenu_->addSeparator()->setObjectName(QStringLiteral("SepUndoPopup"));
        QAction* action = popupMenu_->addAction(u8(item.caption));
        action->setObjectName(QString::fromLatin1(item.name));
        // Shown in the menu; the keys themselves are handled per list box.
        action->setShortcut(item.shortcut);
        action->setShortcutContext(Qt::WidgetShortcut);
        setHint(action, item.hint);
        connect(action, &QAction::triggered, this, item.handler);
        *item.action = action;
    }
    connect(popupMenu_, &QMenu::aboutToShow, this, &ListMenu::PopupMenuPopup);
    showHintsInStatusBar(popupMenu_, menuParent);
    // Ctrl+Z anywhere in the window; an edit field with the focus keeps
    // the key for its own text.
    auto* undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), menuParent);
    undoKey->setObjectName(QStringLiteral("UndoShortcut"));
    undoKey->setContext(Qt::WindowShortcut);
    connect(undoKey, &QShortcut::activated, this, &ListMenu::UndoClick);
}

void ListMenu::attach(QListView* listBox, ListBoxKind kind) {
    kinds_[listBox] = kind;
    listBox->installEventFilter(this);
    listBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listBox, &QListView::customContextMenuRequested, this, [this, listBox](const QPoint& pos) {
        if (detached(listBox)) return;
        ListBoxEnter(listBox);
        popupMenu_->popup(listBox->viewport()->mapToGlobal(pos));
    });
}

void ListMenu::ListBoxEnter(QListView* listBox) { target_ = listBox; }

// While the grid editor is open the combination list has no menu and no
// menu keys: the list changes only through the editor.
bool ListMenu::detached(QListView* listBox) const {
    return kindOf(listBox) == ListBoxKind::Pick && model_.listEditing();
}

ListBoxKind ListMenu::kindOf(QListView* listBox) const {
    const auto it = kinds_.find(listBox);
    return it == kinds_.end() ? ListBoxKind::Result : it->second;
}

void ListMenu::PopupMenuPopup() {
    const std::size_t selected = target_ && target_->selectionModel()
                                     ? static_cast<std::size_t>(target_->selectionModel()->selection().count())
                                     : 0;
    const QMimeData* clip = QApplication::clipboard()->mimeData();
    const bool canUndo = model_.session().canUndoList() && !model_.listEditing();
    const ListMenuState state = listMenuState(kindOf(target_), model_.busy() || detached(target_), selected,
                                              clip && clip->hasText(), canUndo);
    const std::pair<QAction*, MenuItemState> items[] = {{undo_, state.undo},   {cut_, state.cut},
                                                        {copy_, state.copy},   {paste_, state.paste},
                                                        {delete_, state.remove}, {selectAll_, state.selectAll}};
    for (const auto& [action, item] : items) {
        action->setVisible(item.visible);
        action->setEnabled(item.enabled);
    }
}

bool ListMenu::available(QAction* command) {
    PopupMenuPopup();
    if (command->isVisible() && command->isEnabled()) return true;
    if (model_.busy())
        model_.refuse(refusal::kBusy);
    else if (detached(target_))
        model_.refuse(refusal::kListEditing);
    else if (!command->isVisible())
        model_.refuse(refusal::kNotInThisList);
    else if (command == paste_)
        model_.refuse(refusal::kNoClipboardText);
    else
        model_.refuse(refusal::kNothingSelected);
    return false;
}

std::vector<std::size_t> ListMenu::selectedRows(QListView* listBox) const {
    std::vector<std::size_t> rows;
    if (!listBox->selectionModel()) return rows;
    // Ranges rather than single indexes: selecting a million rows stays cheap.
    for (const QItemSelectionRange& range : listBox->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(static_cast<std::size_t>(r));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ListMenu::UndoClick() {
    if (model_.refuseListChange()) return;
    model_.run([](Session& s) { return s.undoList(); });
}

void ListMenu::CopyClick() {
    if (!target_ || model_.refuseWhenBusy()) return;
    LongOperation op(model_.waitForm(), true);
    const ListBoxKind kind = kindOf(target_);
    const std::vector<std::size_t> rows = selectedRows(target_);
    std::string text;
    if (kind == ListBoxKind::Pick || kind == ListBoxKind::Duplicate) {
        text = copyLines(model_.session().list(), kind, rows);
    } else if (auto* lines = qobject_cast<TextLinesModel*>(target_->model())) {
        std::vector<std::string> copied;
        copied.reserve(rows.size());
        for (std::size_t r : rows) copied.push_back(lines->lines().at(static_cast<qsizetype>(r)).toStdString());
        text = clipboardText(copied);
    }
    op.advance(100);
    QApplication::clipboard()->setText(QString::fromStdString(text));
}

void ListMenu::CutClick() {
    if (!target_ || model_.refuseWhenBusy()) return;
    if (detached(target_)) {
        model_.refuse(refusal::kListEditing);
        return;
    }
    const ListBoxKind kind = kindOf(target_);
    if (kind != ListBoxKind::Pick && kind != ListBoxKind::Duplicate) {
        model_.refuse(refusal::kNotInThisList);
        return;
    }
    QListView* target = target_;
    const int top = target->indexAt(QPoint(0, 0)).row();
    std::string text;
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.cut(kind, selectedRows(target), text); });
        op.advance(100);
    }
    // The list keeps its place rather than jumping to the end.
    if (top >= 0 && target->model()->rowCount() > 0)
        target->scrollTo(target->model()->index(std::min(top, target->model()->rowCount() - 1), 0),
                         QAbstractItemView::PositionAtTop);
    target->setFocus();
    if (!text.empty()) QApplication::clipboard()->setText(QString::fromStdString(text));
}

// As cut, but the lines do not go to the clipboard.
void ListMenu::DeleteClick() {
    if (!target_ || model_.refuseWhenBusy()) return;
    if (detached(target_)) {
        model_.refuse(refusal::kListEditing);
        return;
    }
    const ListBoxKind kind = kindOf(target_);
    QListView* target = target_;
    const int top = target->indexAt(QPoint(0, 0)).row();
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) { return s.deleteLines(kind, selectedRows(target)); });
        op.advance(100);
    }
    if (top >= 0 && target->model()->rowCount() > 0)
        target->scrollTo(target->model()->index(std::min(top, target->model()->rowCount() - 1), 0),
                         QAbstractItemView::PositionAtTop);
    target->setFocus();
}

void ListMenu::PasteClick() {
    if (!target_ || model_.refuseWhenBusy()) return;
    if (kindOf(target_) != ListBoxKind::Pick) {
        model_.refuse(refusal::kNotInThisList);
        return;
    }
    if (detached(target_)) {
        model_.refuse(refusal::kListEditing);
        return;
    }
    QListView* target = target_;
    const int top = target->indexAt(QPoint(0, 0)).row();
    const QModelIndex current = target->currentIndex();
    const std::optional<std::size_t> focused =
        current.isValid() ? std::optional<std::size_t>(static_cast<std::size_t>(current.row())) : std::nullopt;
    const QByteArray text = QApplication::clipboard()->text().toUtf8();
    {
        LongOperation op(model_.waitForm(), true);
        model_.run([&](Session& s) {
            return s.paste(focused, std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                           op.progress());
        });
    }
    if (top >= 0) target->scrollTo(target->model()->index(top, 0), QAbstractItemView::PositionAtTop);
    target->setFocus();
}

void ListMenu::SelectAllClick() {
    if (!target_ || model_.refuseWhenBusy()) return;
    const int top = target_->indexAt(QPoint(0, 0)).row();
    target_->selectAll();
    if (top >= 0) target_->scrollTo(target_->model()->index(top, 0), QAbstractItemView::PositionAtTop);
}

QAction* ListMenu::commandForKey(const QKeyEvent& key) const {
    if (key.modifiers() == Qt::NoModifier) return key.key() == Qt::Key_Delete ? delete_ : nullptr;
    if (key.modifiers() != Qt::ControlModifier) return nullptr;
    switch (key.key()) {
    case Qt::Key_T: return cut_;
    case Qt::Key_C: return copy_;
    case Qt::Key_V: return paste_;
    case Qt::Key_A: return selectAll_;
    default: return nullptr;  // Ctrl+Z is the window's
    }
}

bool ListMenu::eventFilter(QObject* watched, QEvent* event) {
    auto* listBox = qobject_cast<QListView*>(watched);
    if (!listBox || !kinds_.count(listBox)) return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        ListBoxEnter(listBox);
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    QAction* command = commandForKey(*static_cast<QKeyEvent*>(event));
    if (!command) return false;
    // The keys run a command only when the menu would offer it enabled (a
    // detached menu offers none).
    ListBoxEnter(listBox);
    if (available(command)) command->trigger();
    return true;
}

}  // namespace tambor::ui
