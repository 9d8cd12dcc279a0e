// The grid editor driven as a user drives it: opened from the pick page,
// numbers double-clicked in the grid, the two messages answered, the sort,
// OK, Cancel, the close box and the keys.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QSystemTrayIcon>
#include <QTest>

#include "io/combination_file.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/wait_form.h"
#include "ui/edit/edit_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

const char* const kThree = " 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n 1, 2, 3, 4, 7\r\n";
const char* const kTooMany = "選択数字が多すぎます。\nどれかを消して下さい。";
const char* const kDuplicate = "組み合わせが重複しています。";

TEditForm* editor(const TestWindow& t) { return t.find<TEditForm>("TEditForm"); }

TEditForm* openEditor(const TestWindow& t) {
    QTest::mouseClick(t.find<QPushButton>("EditBitBtn"), Qt::LeftButton);
    TEditForm* form = editor(t);
    QApplication::processEvents();
    if (!form->isVisible()) qFatal("the editor did not open");
    return form;
}

QPushButton* button(TEditForm* form, const char* name) {
    return form->findChild<QPushButton*>(QString::fromLatin1(name));
}

// A double-click on the disc of number in row, through the grid's view: the
// press and release of the first click, then the double-click event.
void doubleClick(TEditForm* form, int row, int number) {
    QTableView* grid = form->grid();
    const QModelIndex cell = grid->model()->index(row, number - 1);
    grid->scrollTo(cell);
    const QPoint centre = grid->visualRect(cell).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
}

bool cellShown(TEditForm* form, int row, int number) {
    return !form->grid()->model()->index(row, number - 1).data().toString().isEmpty();
}

// The mouse moved to pos over surface (the window system's cursor is not
// the offscreen platform's to move).
void hover(QWidget* surface, const QPoint& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, surface->mapToGlobal(pos), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
}

std::vector<std::string> listLines(const TestWindow& t) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < t.session().list().size(); ++i) lines.push_back(t.session().list().lineAt(i));
    return lines;
}

// The list's controls that the editor disables, as enabled or not.
std::vector<bool> listControlsEnabled(const TestWindow& t) {
    std::vector<bool> enabled;
    for (const char* name : {"MiniLotoRadioButton", "Loto6RadioButton", "EditBitBtn", "LotBitBtn", "CombiBitBtn",
                             "ClearBitBtn", "LoadBitBtn", "SortBitBtn"}) {
        // The pick page's controls, not the editor's button of the same name.
        QWidget* page = t.find<QWidget>("PickTabSheet");
        enabled.push_back(page->findChild<QWidget*>(QString::fromLatin1(name))->isEnabled());
    }
    enabled.push_back(t.find<QAction>("Load")->isEnabled());
    return enabled;
}

}  // namespace

class EditFormTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void anEmptyListIsRefusedAndABusyWindowIgnoresTheButton() {
        TestWindow t;
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QPushButton>("EditBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("数字の組み合わせがないので編集できません。")});
        QVERIFY(!editor(t)->isVisible());
        QVERIFY(!t.model().listEditing());
        // While a long command runs the button does nothing at all.
        t.appendLines(kThree);
        LongOperation op(t.window->waitForm(), false);
        QTest::mouseClick(t.find<QPushButton>("EditBitBtn"), Qt::LeftButton);
        QVERIFY(!editor(t)->isVisible());
        QCOMPARE(MessageBox::shownTexts().size(), 1);
    }

    void theListsCommandsAreOffWhileTheEditorIsOpen() {
        TestWindow t;
        t.appendLines(kThree);
        const std::vector<bool> allOn(9, true);
        QCOMPARE(listControlsEnabled(t), allOn);
        TEditForm* form = openEditor(t);
        QCOMPARE(listControlsEnabled(t), std::vector<bool>(9, false));
        // The list box's pop-up menu and its keys are detached.
        auto* listBox = t.find<QListView>("PickListBox");
        emit listBox->customContextMenuRequested(QPoint(4, 4));
        QVERIFY(!t.find<QMenu>("PopupMenu")->isVisible());
        listBox->setFocus();
        QTest::keyClick(listBox, Qt::Key_A, Qt::ControlModifier);
        QVERIFY(listBox->selectionModel()->selection().isEmpty());
        // The duplicate list keeps its menu.
        emit t.find<QListView>("DupListBox")->customContextMenuRequested(QPoint(4, 4));
        QVERIFY(t.find<QMenu>("PopupMenu")->isVisible());
        t.find<QMenu>("PopupMenu")->close();

        QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(listControlsEnabled(t), allOn);
        emit listBox->customContextMenuRequested(QPoint(4, 4));
        QVERIFY(t.find<QMenu>("PopupMenu")->isVisible());
        t.find<QMenu>("PopupMenu")->close();
    }

    void theGridShowsEveryLineAsDiscs() {
        TestWindow t;
        QTest::mouseClick(t.find<QWidget>("Loto6RadioButton"), Qt::LeftButton);
        t.appendLines(" 1, 5, 9,20,33,43\r\n 2, 3, 4, 5, 6, 7\r\n");
        TEditForm* form = openEditor(t);
        QTableView* grid = form->grid();
        QCOMPARE(grid->model()->rowCount(), 2);
        QCOMPARE(grid->model()->columnCount(), 43);
        QCOMPARE(grid->model()->headerData(1, Qt::Vertical).toInt(), 2);
        for (int n = 1; n <= 43; ++n) {
            const bool inRow = n == 1 || n == 5 || n == 9 || n == 20 || n == 33 || n == 43;
            QCOMPARE(cellShown(form, 0, n), inRow);
        }
        QCOMPARE(grid->model()->index(0, 42).data().toString(), QStringLiteral("43"));
        // Column widths and row height from the font; the label column stays put.
        const QFontMetrics metrics(grid->font());
        QCOMPARE(form->columnWidth(), metrics.horizontalAdvance(QStringLiteral("43")) + 4);
        QCOMPARE(form->labelWidth(), metrics.horizontalAdvance(QString::fromUtf8("新規追加")) + 4);
        QCOMPARE(form->rowHeight(), metrics.height() + 4);
        QCOMPARE(grid->columnWidth(0), form->columnWidth() + 1);
        QCOMPARE(grid->rowHeight(1), form->rowHeight() + 1);
        QCOMPARE(grid->verticalHeader()->width(), form->labelWidth() + 1);
        // Opened as wide as it may be and as low; every number column shows.
        QCOMPARE(form->size(), QSize(form->maximumTrackSize().width(), form->minimumTrackSize().height()));
        // Every number column when the work area allows, else as many as fit.
        const int work = form->screen()->availableGeometry().width();
        const int outer = form->frameGeometry().width() - form->width();
        const int full = 2 * grid->frameWidth() + form->labelWidth() + 1 + 43 * (form->columnWidth() + 1) + 32 +
                         form->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        if (full + outer <= work)
            QCOMPARE(form->width(), full);
        else
            QVERIFY(form->width() + outer <= work && form->width() + outer + form->columnWidth() + 1 > work);
        QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
    }

    void theLayoutFollowsTheWindowSize() {
        TestWindow t;
        std::string lines;
        for (int a = 1; a <= 20; ++a) lines += std::to_string(a) + ",21,22,23,24\r\n";
        t.appendLines(lines.c_str());
        TEditForm* form = openEditor(t);
        QCOMPARE(form->minimumSize(), form->minimumTrackSize());
        QCOMPARE(form->maximumSize(), form->maximumTrackSize());
        form->resize(form->maximumTrackSize().width(), form->minimumTrackSize().height() + 50);
        QApplication::processEvents();
        const QRect grid = form->grid()->geometry();
        QCOMPARE(grid, QRect(16, 16, form->width() - 32, form->height() - 72));
        QCOMPARE(button(form, "OKBitBtn")->pos(), QPoint(16 + grid.width() - 192, 16 + grid.height() + 16));
        QCOMPARE(button(form, "CancelBitBtn")->pos(), QPoint(16 + grid.width() - 88, 16 + grid.height() + 16));
        QCOMPARE(button(form, "SortBitBtn")->y(), 16 + grid.height() + 16);
        QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
    }

    void deselectAndSelectGivesANewLineInTheSamePlace() {
        TestWindow t;
        t.appendLines(kThree);
        t.session().list().setChanged(false);
        TEditForm* form = openEditor(t);
        doubleClick(form, 1, 6);
        QVERIFY(!cellShown(form, 1, 6));
        QCOMPARE(form->lines().lineAt(1), std::string("削除行"));
        doubleClick(form, 1, 9);
        QVERIFY(cellShown(form, 1, 9));
        QCOMPARE(form->lines().lineAt(1), std::string("  1, 2, 3, 4, 9"));
        QVERIFY(t.session().list().lineAt(1) == "  1, 2, 3, 4, 6");  // the list waits for OK
        QTest::mouseClick(button(form, "OKBitBtn"), Qt::LeftButton);
        QVERIFY(!form->isVisible());
        QCOMPARE(listLines(t), (std::vector<std::string>{"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 9", "  1, 2, 3, 4, 7"}));
        QVERIFY(SetContains(GameMode::MiniLoto, t.session().list().listedSet(), makeCombination({1, 2, 3, 4, 9})));
        QVERIFY(!SetContains(GameMode::MiniLoto, t.session().list().listedSet(), makeCombination({1, 2, 3, 4, 6})));
        QVERIFY(t.session().list().changed());
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
    }

    void aDeselectedRowLeavesTheListOnOk() {
        TestWindow t;
        t.appendLines(kThree);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
        TEditForm* form = openEditor(t);
        doubleClick(form, 0, 3);
        QTest::mouseClick(button(form, "OKBitBtn"), Qt::LeftButton);
        QCOMPARE(listLines(t), (std::vector<std::string>{"  1, 2, 3, 4, 6", "  1, 2, 3, 4, 7"}));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("2"));
        QCOMPARE(t.find<QListView>("PickListBox")->model()->rowCount(), 2);
    }

    void completingIntoAnotherRowsCombinationIsRefused() {
        TestWindow t;
        t.appendLines(kThree);
        TEditForm* form = openEditor(t);
        doubleClick(form, 1, 6);
        const CombinationSet before = t.session().scratchSet();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        doubleClick(form, 1, 5);  // would make row 0's 1,2,3,4,5
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8(kDuplicate)});
        QVERIFY(!cellShown(form, 1, 5));
        QCOMPARE(form->lines().lineAt(1), std::string("削除行"));
        QVERIFY(t.session().scratchSet().bytes() == before.bytes());
        QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
    }

    void aSixthNumberIsTooMany() {
        TestWindow t;
        t.appendLines(kThree);
        TEditForm* form = openEditor(t);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        doubleClick(form, 2, 20);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8(kTooMany)});
        QVERIFY(!cellShown(form, 2, 20));
        QVERIFY(!form->lines().modified());
        // Closing without a change leaves the changed flag as it was.
        t.session().list().setChanged(false);
        form->close();
        QVERIFY(!t.session().list().changed());
    }

    void cancelAfterManyChangesLeavesTheListAlone() {
        for (const bool byKey : {false, true}) {
            TestWindow t;
            t.appendLines(kThree);
            t.session().list().setChanged(false);
            const std::vector<std::string> before = listLines(t);
            const std::vector<std::uint8_t> setBefore = t.session().list().listedSet().bytes();
            TEditForm* form = openEditor(t);
            doubleClick(form, 0, 1);
            doubleClick(form, 0, 30);
            doubleClick(form, 2, 7);
            doubleClick(form, 1, 2);
            doubleClick(form, 1, 2);
            QTest::mouseClick(button(form, "SortBitBtn"), Qt::LeftButton);
            QVERIFY(form->lines().modified());
            if (byKey)
                QTest::keyClick(form->grid(), Qt::Key_Escape);
            else
                QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
            QVERIFY(!form->isVisible());
            QVERIFY(listLines(t) == before);
            QVERIFY(t.session().list().listedSet().bytes() == setBefore);
            QVERIFY(!t.session().list().changed());
            QVERIFY(!t.model().listEditing());
        }
    }

    void theCloseBoxAndEnterApply() {
        for (const bool byKey : {false, true}) {
            TestWindow t;
            t.appendLines(kThree);
            t.session().list().setChanged(false);
            TEditForm* form = openEditor(t);
            doubleClick(form, 2, 7);
            doubleClick(form, 2, 8);
            if (byKey)
                QTest::keyClick(form->grid(), Qt::Key_Return);
            else
                QVERIFY(form->close());
            QVERIFY(!form->isVisible());
            QCOMPARE(listLines(t), (std::vector<std::string>{"  1, 2, 3, 4, 5", "  1, 2, 3, 4, 6", "  1, 2, 3, 4, 8"}));
            QVERIFY(t.session().list().changed());
            QCOMPARE(listControlsEnabled(t), std::vector<bool>(9, true));
        }
    }

    void sortPutsAnIncompleteRowBehindTheCombinations() {
        TestWindow t;
        QTest::mouseClick(t.find<QWidget>("Loto6RadioButton"), Qt::LeftButton);
        t.appendLines(" 7, 8, 9,10,11,12\r\n 1, 2, 3, 4, 5, 6\r\n 2, 3, 4, 5, 6, 7\r\n 1, 2, 3, 4, 5,43\r\n");
        TEditForm* form = openEditor(t);
        doubleClick(form, 2, 2);
        doubleClick(form, 2, 3);  // four of six numbers left
        QTest::mouseClick(button(form, "SortBitBtn"), Qt::LeftButton);
        const std::vector<std::string> sorted = {"  1, 2, 3, 4, 5, 6", "  1, 2, 3, 4, 5,43", "  7, 8, 9,10,11,12",
                                                 "削除行"};
        for (std::size_t r = 0; r < sorted.size(); ++r) QCOMPARE(form->lines().lineAt(r), sorted[r]);
        for (int n = 1; n <= 43; ++n) QVERIFY(!cellShown(form, 3, n));
        QVERIFY(cellShown(form, 1, 43));
        QCOMPARE(form->grid()->model()->headerData(3, Qt::Vertical).toInt(), 4);  // labels stay
        QTest::mouseClick(button(form, "OKBitBtn"), Qt::LeftButton);
        QCOMPARE(listLines(t), (std::vector<std::string>{sorted[0], sorted[1], sorted[2]}));
        QCOMPARE(t.text("PickMemo"), QStringLiteral("3"));
    }

    void aSaveRightAfterOkWritesTheEditedList() {
        TestWindow t;
        t.appendLines(kThree);
        TEditForm* form = openEditor(t);
        doubleClick(form, 0, 5);
        doubleClick(form, 0, 31);
        doubleClick(form, 1, 6);  // row 1 dropped
        QTest::mouseClick(button(form, "OKBitBtn"), Qt::LeftButton);
        const QString path = t.dir.filePath(QStringLiteral("edited.csv"));
        FileDialog::setNextFileName(path);
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        CombinationList expected(GameMode::MiniLoto);
        expected.appendText(" 1, 2, 3, 4,31\r\n 1, 2, 3, 4, 7\r\n");
        const std::string bytes = formatCombinationFile(expected, FileLayout::Csv, 1);
        QCOMPARE(file.readAll(), QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        QVERIFY(!t.session().list().changed());
    }

    void escapeGoesToTheTrayWhenTheOptionIsOnAndTheEditorFollows() {
        TestWindow t;
        t.appendLines(kThree);
        t.find<QCheckBox>("ESC_Action_CheckBox")->setChecked(true);
        TEditForm* form = openEditor(t);
        doubleClick(form, 0, 5);
        QTest::keyClick(form->grid(), Qt::Key_Escape);
        QApplication::processEvents();
        // Without a notification area the window minimises normally instead.
        QCOMPARE(t.window->trayIconShown(), QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(form->lines().modified());  // the key did not cancel the edit
        QVERIFY(t.trigger("TrayRestore"));
        QVERIFY(form->isVisible());
        // Hidden with the main window (in the tray), shown again with it.
        t.window->hide();
        QVERIFY(!form->isVisible());
        t.window->show();
        QVERIFY(form->isVisible());
        QVERIFY(form->lines().modified());
        QTest::mouseClick(button(form, "OKBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 2u);
    }

    void theHoverCrossFollowsTheMouse() {
        TestWindow t;
        t.appendLines(kThree);
        TEditForm* form = openEditor(t);
        QTableView* grid = form->grid();
        hover(grid->viewport(), grid->visualRect(grid->model()->index(2, 9)).center());
        QCOMPARE(form->hoveredCell(), QPoint(10, 2));
        QHeaderView* labels = grid->verticalHeader();
        hover(labels->viewport(), QPoint(4, labels->sectionViewportPosition(1) + 3));
        QCOMPARE(form->hoveredCell(), QPoint(0, 1));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(labels->viewport(), &leave);
        QCOMPARE(form->hoveredCell(), QPoint(-1, -1));
        QTest::mouseClick(button(form, "CancelBitBtn"), Qt::LeftButton);
    }

    void closingTheMainWindowAppliesTheEditFirst() {
        TestWindow t;
        t.appendLines(kThree);
        t.session().list().setChanged(false);
        TEditForm* form = openEditor(t);
        doubleClick(form, 0, 5);
        MessageBox::setNextAnswer(QMessageBox::Cancel);  // the close question: stay
        QVERIFY(!t.window->close());
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8("データが変更されています。保存しますか？")});
        QVERIFY(!form->isVisible());
        QCOMPARE(t.session().list().size(), 2u);
    }
};

QTEST_MAIN(EditFormTest)
#include "tst_edit_form.moc"
