// The list pop-up menu and its shortcuts, through the real clipboard.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

const char* const kFive = " 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n 1, 2, 3, 4, 7\r\n 1, 2, 3, 4, 8\r\n 1, 2, 3, 4, 9\r\n";

void select(QListView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (int r : rows) view->selectionModel()->select(view->model()->index(r, 0), QItemSelectionModel::Select);
}

QStringList visibleItems(QMenu* menu) {
    QStringList names;
    for (QAction* a : menu->actions())
        if (a->isVisible() && !a->isSeparator()) names << a->objectName();
    return names;
}

// Opens the pop-up menu on a list box as a right click does, and closes it.
QStringList menuItemsOn(const TestWindow& t, const char* listBox) {
    auto* view = t.find<QListView>(listBox);
    emit view->customContextMenuRequested(QPoint(4, 4));
    auto* menu = t.find<QMenu>("PopupMenu");
    const QStringList items = visibleItems(menu);
    menu->close();
    return items;
}

void key(QListView* view, Qt::Key k) {
    view->setFocus();
    QTest::keyClick(view, k, Qt::ControlModifier);
}

}  // namespace

class ListMenuTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void copyPutsSelectedLinesInListOrder() {
        TestWindow t;
        t.appendLines(kFive);
        auto* view = t.find<QListView>("PickListBox");
        select(view, {3, 0, 1});
        key(view, Qt::Key_C);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("  1, 2, 3, 4, 5\r\n  1, 2, 3, 4, 6\r\n  1, 2, 3, 4, 8\r\n"));
    }

    void cutAllThenPasteRestoresTheOrder() {
        TestWindow t;
        QTest::mouseClick(t.find<QWidget>("Loto6RadioButton"), Qt::LeftButton);
        t.appendLines(" 9, 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 5, 6\r\n 7,8,9,10,11,12\r\n");
        t.session().list().setChanged(false);
        auto* view = t.find<QListView>("PickListBox");
        key(view, Qt::Key_A);
        key(view, Qt::Key_T);
        QVERIFY(t.session().list().empty());
        QCOMPARE(t.text("PickMemo"), QStringLiteral("0"));
        QVERIFY(t.session().list().changed());
        key(view, Qt::Key_V);
        QCOMPARE(t.session().list().size(), 3u);
        QCOMPARE(t.session().list().lineAt(0), std::string("  1, 2, 3, 4, 5, 9"));
        QCOMPARE(t.session().list().lineAt(2), std::string("  7, 8, 9,10,11,12"));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
    }

    void pasteGoesBeforeTheFocusedItemAndRepeatsToDuplicates() {
        TestWindow t;
        t.appendLines(kFive);
        auto* view = t.find<QListView>("PickListBox");
        view->setCurrentIndex(view->model()->index(2, 0));
        QApplication::clipboard()->setText(QStringLiteral("21,22,23,24,25   || 20,22,23,24,25\r\n 1, 2, 3, 4, 5\r\n"));
        // The menu item, as a right click and a choice would run it.
        emit view->customContextMenuRequested(QPoint(4, 4));
        t.find<QMenu>("PopupMenu")->close();
        QVERIFY(t.trigger("Paste"));
        const auto& list = t.session().list();
        QCOMPARE(list.size(), 7u);
        QCOMPARE(list.lineAt(2), std::string(" 21,22,23,24,25"));
        QCOMPARE(list.lineAt(3), std::string(" 20,22,23,24,25"));
        QCOMPARE(list.lineAt(4), std::string("  1, 2, 3, 4, 7"));
        QCOMPARE(list.duplicates().size(), 1u);
    }

    void cutFromDuplicatesTouchesOnlyDuplicates() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 5\r\n");
        t.session().list().setChanged(false);
        auto* dup = t.find<QListView>("DupListBox");
        select(dup, {0});
        key(dup, Qt::Key_T);
        QVERIFY(t.session().list().duplicates().empty());
        QCOMPARE(t.session().list().size(), 1u);
        QVERIFY(!t.session().list().changed());
    }

    void menuItemsFollowTheListBoxAndTheBusyFlag() {
        TestWindow t;
        QCOMPARE(menuItemsOn(t, "PickListBox"), (QStringList{"Undo", "Cut", "Copy", "Paste", "Delete", "SelectAll"}));
        QCOMPARE(menuItemsOn(t, "DupListBox"), (QStringList{"Undo", "Cut", "Copy", "Delete", "SelectAll"}));
        QCOMPARE(menuItemsOn(t, "SearchListBox"), (QStringList{"Copy", "SelectAll"}));
        QVERIFY(!t.find<QAction>("Copy")->isEnabled());  // nothing selected
        QVERIFY(!t.find<QAction>("Undo")->isEnabled());  // nothing done yet
        LongOperation op(t.window->waitForm(), false);
        QVERIFY(menuItemsOn(t, "PickListBox").isEmpty());
    }

    void labelMenuCopiesTheLinkAddress() {
        TestWindow t;
        t.model().run([](Session& s) {
            return s.changeOptions([](Options& o) { o.links[1] = {"title", "https://example.com/x"}; });
        });
        auto* label = t.find<QLabel>("Add2LinkLabel");
        QCOMPARE(label->text(), QStringLiteral("https://example.com/x"));
        emit label->customContextMenuRequested(QPoint(2, 2));
        t.find<QMenu>("LabelPopupMenu")->close();
        QVERIFY(t.trigger("LabelCopy"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("https://example.com/x"));
    }

    // The menu's items show their hints in the window's status bar.
    void menuItemsShowTheirHintsInTheStatusBar() {
        TestWindow t;
        auto* view = t.find<QListView>("PickListBox");
        emit view->customContextMenuRequested(QPoint(4, 4));
        auto* menu = t.find<QMenu>("PopupMenu");
        emit menu->hovered(t.find<QAction>("Paste"));
        QCOMPARE(t.find<QStatusBar>("StatusBar")->currentMessage(),
                 QString::fromUtf8("コピーしたまたは切り取った項目を、選択された位置に貼り付けます。"));
        for (QAction* item : menu->actions()) {
            if (item->isSeparator()) continue;
            emit menu->hovered(item);
            QVERIFY2(!item->statusTip().isEmpty(), qPrintable(item->objectName()));
            QCOMPARE(t.find<QStatusBar>("StatusBar")->currentMessage(), item->statusTip());
        }
        emit menu->hovered(t.find<QAction>("Undo"));
        QCOMPARE(t.find<QStatusBar>("StatusBar")->currentMessage(), QString::fromUtf8("一覧を最後の変更の前に戻します。"));
        menu->close();
        QVERIFY(t.find<QStatusBar>("StatusBar")->currentMessage().isEmpty());
    }

    void shortcutsFollowTheSameRules() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n");
        QApplication::clipboard()->setText(QStringLiteral("1,2,3,4,6"));
        key(t.find<QListView>("SearchListBox"), Qt::Key_V);  // no paste outside the combination list
        QCOMPARE(t.session().list().size(), 1u);
        key(t.find<QListView>("PickListBox"), Qt::Key_V);
        QCOMPARE(t.session().list().size(), 2u);
    }

    // ---- 元に戻す and 削除, from the menu and by their keys

    // Delete removes the selected lines as cut does, but leaves the
    // clipboard alone; Ctrl+Z in the list puts them back.
    void deleteKeyRemovesWithoutTheClipboardAndCtrlZUndoes() {
        TestWindow t;
        t.appendLines(kFive);
        t.session().list().setChanged(false);
        QApplication::clipboard()->setText(QStringLiteral("kept"));
        auto* view = t.find<QListView>("PickListBox");
        select(view, {1, 3});
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Delete);
        QCOMPARE(t.session().list().size(), 3u);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
        QVERIFY(t.session().list().changed());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("kept"));
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(t.session().list().size(), 5u);
        QCOMPARE(t.session().list().lineAt(1), std::string("  1, 2, 3, 4, 6"));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("5"));
        QVERIFY(!t.session().list().changed());
    }

    // A click on クリア is undone with Ctrl+Z from the button that keeps
    // the focus, and with the menu item; one level only.
    void clearIsUndoneFromTheButtonAndTheMenu() {
        TestWindow t;
        t.appendLines(kFive);
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        auto* clear = t.find<QWidget>("ClearBitBtn");
        clear->setFocus();
        QTest::keyClick(clear, Qt::Key_Space);
        QVERIFY(t.session().list().empty());
        QTest::keyClick(clear, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(t.session().list().size(), 5u);

        QTest::mouseClick(t.find<QWidget>("ClearBitBtn"), Qt::LeftButton);
        QVERIFY(t.session().list().empty());
        QCOMPARE(menuItemsOn(t, "DupListBox").first(), QStringLiteral("Undo"));
        QVERIFY(t.trigger("Undo"));
        QCOMPARE(t.session().list().size(), 5u);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("5"));
        menuItemsOn(t, "PickListBox");
        QVERIFY(!t.find<QAction>("Undo")->isEnabled());
    }

    // In an edit field Ctrl+Z belongs to the field's own text.
    void editFieldsKeepCtrlZ() {
        TestWindow t;
        t.appendLines(kFive);
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        QTest::mouseClick(t.find<QWidget>("ClearBitBtn"), Qt::LeftButton);
        auto* lot = t.find<QLineEdit>("LotMemo");
        lot->setFocus();
        lot->setText(QStringLiteral("50"));
        QTest::keyClick(lot, Qt::Key_7);
        QTest::keyClick(lot, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(t.session().list().empty());
    }
};

QTEST_MAIN(ListMenuTest)
#include "tst_list_menu.moc"
