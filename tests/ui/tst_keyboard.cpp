// The keyboard reaches everything: the menus by their letters even where a
// page's control shares one, equal mnemonics of a page in turn, no Tab stop
// on a field nobody types in, Esc closing the tool windows, Ctrl+S and
// Ctrl+O, the number board and the up-down fields.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QFile>
#include <QRadioButton>
#include <QSet>
#include <QSignalSpy>
#include <QStatusBar>
#include <QWheelEvent>
#include <QTabWidget>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/pick/number_board_widget.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// Activates a window and waits until the application sees it active (a
// wait window shown and hidden before may still hold the activation).
void activate(QWidget* window) {
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
}

void activate(TestWindow& t) { activate(t.window.get()); }

void wheel(QWidget* target, int delta) {
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

void alt(QWidget* target, Qt::Key key) {
    QTest::keyClick(target, key, Qt::AltModifier);
    QApplication::processEvents();
}

}  // namespace

class KeyboardTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    // Alt+L drops "リンク(&L)" down although "読み込み(&L)..." is on the page;
    // Alt+L again closes it and reaches the load button.
    void menuLettersOpenTheMenusAndThenReachThePage() {
        TestWindow t;
        activate(t);
        auto* link = t.find<QMenu>("Link");
        alt(t.find<QWidget>("PickListBox"), Qt::Key_L);
        QVERIFY(link->isVisible());
        FileDialog::setNextFileName(QString());  // the load button's dialog, cancelled
        QSignalSpy clicked(t.find<QPushButton>("LoadBitBtn"), &QPushButton::clicked);
        alt(link, Qt::Key_L);
        QVERIFY(!link->isVisible());
        QTRY_VERIFY(t.find<QPushButton>("LoadBitBtn")->hasFocus());
        // The button's click follows its short press.
        QVERIFY(clicked.count() == 1 || clicked.wait(60000));
        alt(t.find<QWidget>("PickListBox"), Qt::Key_F);
        QVERIFY(t.find<QMenu>("File")->isVisible());
        t.find<QMenu>("File")->close();
        alt(t.find<QWidget>("PickListBox"), Qt::Key_H);
        QVERIFY(t.find<QMenu>("Help")->isVisible());
        t.find<QMenu>("Help")->close();
    }

    // The options tab gives "(&E)" and "(&R)" to two controls each: the
    // letter takes the focus to each of them in turn.
    void equalMnemonicsOfAPageTakeTurns() {
        TestWindow t;
        t.find<QCheckBox>("RSystemCheckBox")->setChecked(true);  // the order combo is live
        t.find<QTabWidget>("PageControl")->setCurrentIndex(3);
        activate(t);
        QWidget* page = t.find<QWidget>("OptionTabSheet");
        QWidget* text = t.find<QRadioButton>("TextRadioButton");
        QWidget* esc = t.find<QCheckBox>("ESC_Action_CheckBox");
        alt(page, Qt::Key_E);
        QVERIFY(text->hasFocus() || esc->hasFocus());
        const bool textFirst = text->hasFocus();
        alt(QApplication::focusWidget(), Qt::Key_E);
        QVERIFY(textFirst ? esc->hasFocus() : text->hasFocus());
        QWidget* reciprocal = t.find<QRadioButton>("ReciprocalRadioButton");
        QWidget* order = t.find<QComboBox>("ArrangeModeComboBox");
        alt(QApplication::focusWidget(), Qt::Key_R);
        QVERIFY(reciprocal->hasFocus() || order->hasFocus());
        const bool reciprocalFirst = reciprocal->hasFocus();
        alt(QApplication::focusWidget(), Qt::Key_R);
        QVERIFY(reciprocalFirst ? order->hasFocus() : reciprocal->hasFocus());
        QVERIFY(!esc->property("checked").toBool());  // turns take the focus, they never click
    }

    // Fields that only show a value take no Tab stop.
    void readOnlyFieldsTakeNoTabStop() {
        TestWindow t;
        QStringList found;
        // A field with an up-down is stepped by the keyboard: it keeps its stop.
        QSet<QLineEdit*> stepped;
        for (UpDown* upDown : t.window->findChildren<UpDown*>()) stepped << upDown->associate();
        for (QLineEdit* edit : t.window->findChildren<QLineEdit*>())
            if (edit->isReadOnly() && (edit->focusPolicy() & Qt::TabFocus) && !edit->objectName().isEmpty() &&
                !stepped.contains(edit))
                found << edit->objectName();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(", "))));
    }

    // Esc closes the backtest and statistics windows (the main window
    // stays); while a command runs it stops the command instead.
    void escapeClosesToolWindows() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        QTest::mouseClick(t.find<QPushButton>("BacktestBitBtn"), Qt::LeftButton);
        QWidget* backtest = t.find<QWidget>("TBacktestForm");
        activate(backtest);
        QTest::keyClick(t.find<QWidget>("BacktestGrid"), Qt::Key_Escape);
        QVERIFY(!backtest->isVisible());

        QTest::mouseClick(t.find<QPushButton>("RateBitBtn"), Qt::LeftButton);
        QWidget* rate = t.find<QWidget>("TRateForm");
        {
            LongOperation op(t.window->waitForm(), false);
            activate(rate);  // the user clicked it while the command runs
            QTest::keyClick(rate, Qt::Key_Escape);
            QVERIFY(t.window->waitForm().cancelRequested());
            QVERIFY(rate->isVisible());
        }
        activate(rate);
        QTest::keyClick(rate, Qt::Key_Escape);
        QVERIFY(!rate->isVisible());
        activate(t);
        QTest::keyClick(t.find<QWidget>("PickListBox"), Qt::Key_Escape);
        QVERIFY(t.window->isVisible() && !t.window->isMinimized());
    }

    // Ctrl+S saves and Ctrl+O opens, as the File menu shows.
    void ctrlSSavesCtrlOOpens() {
        TestWindow t;
        QCOMPARE(t.find<QAction>("Save")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
        QCOMPARE(t.find<QAction>("Load")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
        t.appendLines("3,12,17,25,31\n");
        activate(t);
        const QString path = t.dir.filePath(QStringLiteral("keys.csv"));
        FileDialog::setNextFileName(path);
        QTest::keyClick(t.find<QWidget>("PickListBox"), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(QFile::exists(path));
        QVERIFY(!t.session().list().changed());
        QTest::mouseClick(t.find<QPushButton>("ClearBitBtn"), Qt::LeftButton);
        FileDialog::setNextFileName(path);
        QTest::keyClick(t.find<QWidget>("PickListBox"), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(t.session().list().size(), 1u);
    }

    // The board is one Tab stop: the arrows move among the numbers as they
    // stand, Space gives the current role, Shift+Space the paired one, and
    // the number with the focus wears a ring.
    void numberBoardByKeyboard() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        activate(t);
        auto* together = t.find<QRadioButton>("TogetherRadioButton");
        together->setFocus();
        QTest::keyClick(together, Qt::Key_Tab);
        QWidget* one = t.find<QWidget>("NumPanel1");
        QCOMPARE(QApplication::focusWidget(), one);
        const QImage focused = one->grab().toImage();
        QTest::keyClick(one, Qt::Key_Left);  // nothing left of 1
        QCOMPARE(QApplication::focusWidget(), one);
        QTest::keyClick(one, Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QWidget* twelve = t.find<QWidget>("NumPanel12");
        QCOMPARE(QApplication::focusWidget(), twelve);
        QVERIFY(one->grab().toImage() != focused);  // the ring went with the focus
        QTest::keyClick(twelve, Qt::Key_Space);
        QVERIFY(t.session().board().has(12, Together));
        QTest::keyClick(twelve, Qt::Key_Space, Qt::ShiftModifier);
        QVERIFY(t.session().board().has(12, Axis));
        QTest::keyClick(twelve, Qt::Key_End);
        QCOMPARE(QApplication::focusWidget(), t.find<QWidget>("NumPanel43"));
        // Tab leaves the board: the numbers are a single stop.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(!QApplication::focusWidget()->objectName().startsWith(QStringLiteral("NumPanel")));
        // A refused number says why, as a click would.
        t.model().run([](Session& s) { return s.clearBoard(); });
        t.model().run([](Session& s) { return s.selectRole(Bonus); });
        t.clickNumber(1);
        t.find<QWidget>("NumPanel43")->setFocus();
        QTest::keyClick(t.find<QWidget>("NumPanel43"), Qt::Key_Space);
        QCOMPARE(t.find<QStatusBar>("StatusBar")->currentMessage(), QString::fromUtf8("ボーナス数字は1個までです"));
    }

    // The calculator's n follows the arrow keys, Page Up/Down and the wheel.
    void calculatorUpDownFollowsKeysAndWheel() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        t.find<QTabWidget>("PageControl")->setCurrentIndex(2);
        activate(t);
        auto* memo = t.find<QLineEdit>("nMemo");
        memo->setFocus();
        QVERIFY(memo->hasFocus());
        QCOMPARE(memo->text(), QStringLiteral("6"));
        QTest::keyClick(memo, Qt::Key_Up);
        QCOMPARE(memo->text(), QStringLiteral("7"));
        QTest::keyClick(memo, Qt::Key_PageUp);
        QCOMPARE(memo->text(), QStringLiteral("17"));
        QTest::keyClick(memo, Qt::Key_Down);
        QCOMPARE(memo->text(), QStringLiteral("16"));
        wheel(memo, 120);
        QCOMPARE(memo->text(), QStringLiteral("17"));
        wheel(t.find<QWidget>("nUpDown"), -240);
        QCOMPARE(memo->text(), QStringLiteral("15"));
        for (int i = 0; i < 5; ++i) QTest::keyClick(memo, Qt::Key_PageUp);
        QCOMPARE(memo->text(), QStringLiteral("43"));  // the range holds
        QCOMPARE(t.text("nCrMemo"), QString::fromUtf8("609万6454"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "tst_keyboard.moc"
