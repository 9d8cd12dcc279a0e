// The list pop-up menu and its shortcuts, through the real clipboard.

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>

#include "support/test_window.h"
#include "ui/application.h"
#include "ui/wait_form.h"

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

}  // namespace

class ListMenuTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { setUpApplication(*qobject_cast<QApplication*>(QCoreApplication::instance())); }

    void copyPutsSelectedLinesInListOrder() {
        TestWindow t;
        t.window->session().list().appendText(kFive);
        t.window->ListBoxEnter(t.find<QListView>("PickListBox"));
        auto* view = t.find<QListView>("PickListBox");
        t.window->showListChanges();
        select(view, {3, 0, 1});
        t.window->CopyClick();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("  1, 2, 3, 4, 5\r\n  1, 2, 3, 4, 6\r\n  1, 2, 3, 4, 8\r\n"));
    }

    void cutAllThenPasteRestoresTheOrder() {
        TestWindow t;
        QTest::mouseClick(t.find<QWidget>("Loto6RadioButton"), Qt::LeftButton);
        t.window->session().list().appendText(" 9, 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 5, 6\r\n 7,8,9,10,11,12\r\n");
        t.window->session().list().setChanged(false);
        auto* view = t.find<QListView>("PickListBox");
        t.window->showListChanges();
        view->setFocus();
        t.window->ListBoxEnter(view);
        t.window->SelectAllClick();
        t.window->CutClick();
        QVERIFY(t.window->session().list().empty());
        QCOMPARE(t.text("PickMemo"), QStringLiteral("0"));
        QVERIFY(t.window->session().list().changed());
        t.window->PasteClick();
        QCOMPARE(t.window->session().list().size(), 3u);
        QCOMPARE(t.window->session().list().lineAt(0), std::string("  1, 2, 3, 4, 5, 9"));
        QCOMPARE(t.window->session().list().lineAt(2), std::string("  7, 8, 9,10,11,12"));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
    }

    void pasteGoesBeforeTheFocusedItemAndRepeatsToDuplicates() {
        TestWindow t;
        t.window->session().list().appendText(kFive);
        auto* view = t.find<QListView>("PickListBox");
        t.window->showListChanges();
        view->setCurrentIndex(view->model()->index(2, 0));
        t.window->ListBoxEnter(view);
        QApplication::clipboard()->setText(QStringLiteral("21,22,23,24,25   || 20,22,23,24,25\r\n 1, 2, 3, 4, 5\r\n"));
        t.window->PasteClick();
        const auto& list = t.window->session().list();
        QCOMPARE(list.size(), 7u);
        QCOMPARE(list.lineAt(2), std::string(" 21,22,23,24,25"));
        QCOMPARE(list.lineAt(3), std::string(" 20,22,23,24,25"));
        QCOMPARE(list.lineAt(4), std::string("  1, 2, 3, 4, 7"));
        QCOMPARE(list.duplicates().size(), 1u);
    }

    void cutFromDuplicatesTouchesOnlyDuplicates() {
        TestWindow t;
        t.window->session().list().appendText(" 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 5\r\n");
        t.window->session().list().setChanged(false);
        auto* dup = t.find<QListView>("DupListBox");
        t.window->showListChanges();
        t.window->ListBoxEnter(dup);
        select(dup, {0});
        t.window->CutClick();
        QVERIFY(t.window->session().list().duplicates().empty());
        QCOMPARE(t.window->session().list().size(), 1u);
        QVERIFY(!t.window->session().list().changed());
    }

    void menuItemsFollowTheListBoxAndTheBusyFlag() {
        TestWindow t;
        QMenu* menu = t.window->popupMenu();
        t.window->ListBoxEnter(t.find<QListView>("PickListBox"));
        t.window->PopupMenuPopup();
        QCOMPARE(visibleItems(menu), (QStringList{"Cut", "Copy", "Paste", "SelectAll"}));
        t.window->ListBoxEnter(t.find<QListView>("DupListBox"));
        t.window->PopupMenuPopup();
        QCOMPARE(visibleItems(menu), (QStringList{"Cut", "Copy", "SelectAll"}));
        t.window->ListBoxEnter(t.find<QListView>("SearchListBox"));
        t.window->PopupMenuPopup();
        QCOMPARE(visibleItems(menu), (QStringList{"Copy", "SelectAll"}));
        QVERIFY(!menu->findChild<QAction*>("Copy")->isEnabled());  // nothing selected
        LongOperation op(t.window->waitForm(), false);
        t.window->PopupMenuPopup();
        QVERIFY(visibleItems(menu).isEmpty());
    }

    void labelMenuCopiesTheLinkAddress() {
        TestWindow t;
        t.window->SetUserLink(2, QStringLiteral("title"), QStringLiteral("https://example.com/x"));
        t.window->setLabelPopupTarget(t.find<QLabel>("Add2LinkLabel"));
        t.window->LabelCopyClick();
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("https://example.com/x"));
    }

    void shortcutsFollowTheSameRules() {
        TestWindow t;
        t.window->session().list().appendText(" 1, 2, 3, 4, 5\r\n");
        auto* search = t.find<QListView>("SearchListBox");
        QApplication::clipboard()->setText(QStringLiteral("1,2,3,4,6"));
        search->setFocus();
        t.window->ListBoxEnter(search);
        QTest::keyClick(search, Qt::Key_V, Qt::ControlModifier);  // no paste outside the combination list
        QCOMPARE(t.window->session().list().size(), 1u);
        auto* pick = t.find<QListView>("PickListBox");
        t.window->ListBoxEnter(pick);
        QTest::keyClick(pick, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t.window->session().list().size(), 2u);
    }
};

QTEST_MAIN(ListMenuTest)
#include "tst_list_menu.moc"
