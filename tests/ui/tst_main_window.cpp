// Drives the real main window: the board, the game switch, the lists, the
// close question, the wait window's busy refusals and the tray.

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QCheckBox>
#include <QSystemTrayIcon>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/pick/number_panel.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

class MainWindowTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void startsInMiniLotoWithEmptyList() {
        TestWindow t;
        QCOMPARE(t.window->windowTitle(), QString::fromUtf8("タンボル - [ミニロト]"));
        QCOMPARE(t.window->size(), QSize(731, 365));
        QVERIFY(t.find<QRadioButton>("MiniLotoRadioButton")->isChecked());
        QVERIFY(t.find<QRadioButton>("TogetherRadioButton")->isChecked());
        QVERIFY(t.find<NumPanel>("NumPanel31")->isVisible());
        QVERIFY(!t.find<NumPanel>("NumPanel32")->isVisible());
        QVERIFY(!t.find<QLineEdit>("Grade5Memo")->isVisible());
        QCOMPARE(t.text("PickMemo"), QStringLiteral("0"));
        QCOMPARE(t.text("Grade1Memo"), QStringLiteral("--"));
        QCOMPARE(t.text("MoneyMemo"), QString::fromUtf8("-- 円"));
    }

    void togetherNumbersCountAndPredictCombinations() {
        TestWindow t;
        for (int n = 1; n <= 7; ++n) t.clickNumber(n);
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("7"));
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("21"));  // C(7,5)
        t.clickNumber(7);  // a second click removes the role
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("6"));
    }

    void rightClickGivesThePairedRole() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("FixRadioButton"), Qt::LeftButton);
        t.clickNumber(3, Qt::RightButton);
        QCOMPARE(t.text("DisableMemo"), QStringLiteral("1"));
        t.clickNumber(3);  // left click on a forbidden number makes it fixed
        QCOMPARE(t.text("DisableMemo"), QStringLiteral("0"));
        QCOMPARE(t.text("FixMemo"), QStringLiteral("1"));
        QCOMPARE(t.find<NumPanel>("NumPanel3")->discColour(), QColor(0, 255, 255));
    }

    void releaseOutsideCancels() {
        TestWindow t;
        auto* panel = t.find<NumPanel>("NumPanel4");
        QTest::mousePress(panel, Qt::LeftButton);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(40, 40));
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("0"));
    }

    void loto6LimitsFollowTheAxisCount() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.window->windowTitle(), QString::fromUtf8("タンボル - [ロト６]"));
        QVERIFY(t.find<NumPanel>("NumPanel43")->isVisible());
        QVERIFY(t.find<QLineEdit>("Grade5Memo")->isVisible());
        for (int n = 1; n <= 27; ++n) t.clickNumber(n);
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("26"));  // the 27th is refused
        QCOMPARE(t.text("CombiMemo"), QString::fromUtf8("23万230"));
        QTest::mouseClick(t.find<QRadioButton>("AxisRadioButton"), Qt::LeftButton);
        t.clickNumber(40);
        QCOMPARE(t.text("AxisMemo"), QStringLiteral("1"));
        QTest::mouseClick(t.find<QRadioButton>("TogetherRadioButton"), Qt::LeftButton);
        for (int n = 27; n <= 36; ++n) t.clickNumber(n);
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("34"));
    }

    void switchingToLoto6WithTooManyTogetherNumbersClearsTheBoard() {
        TestWindow t;
        for (int n = 1; n <= 31; ++n) t.clickNumber(n);
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("31"));
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("0"));
    }

    void rSystemTurnsAxisIntoTogether() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QTest::mouseClick(t.find<QRadioButton>("AxisRadioButton"), Qt::LeftButton);
        t.clickNumber(1);
        t.clickNumber(2);
        QTest::mouseClick(t.find<QRadioButton>("TogetherRadioButton"), Qt::LeftButton);
        for (int n = 3; n <= 10; ++n) t.clickNumber(n);
        auto* rsystem = t.find<QCheckBox>("RSystemCheckBox");
        rsystem->click();
        QCOMPARE(t.text("AxisMemo"), QStringLiteral("0"));
        QCOMPARE(t.text("TogetherMemo"), QStringLiteral("10"));
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("18"));
        QVERIFY(!t.find<QRadioButton>("AxisRadioButton")->isEnabled());
    }

    void gameSwitchAsksBeforeDiscardingUnsavedWork() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n 2, 3, 4, 5, 6\r\n");
        QVERIFY(t.session().list().changed());
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.session().mode(), GameMode::MiniLoto);
        QVERIFY(t.find<QRadioButton>("MiniLotoRadioButton")->isChecked());
        QCOMPARE(t.session().list().size(), 2u);
        MessageBox::setNextAnswer(QMessageBox::No);
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.session().mode(), GameMode::Loto6);
        QVERIFY(t.session().list().empty());
        QVERIFY(!t.session().list().changed());
        MessageBox::clearShownTexts();
        QVERIFY(t.window->close());  // nothing left to ask about
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void closeQuestionCancelKeepsTheWindowOpen() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n");
        MessageBox::setNextAnswer(QMessageBox::Cancel);
        QVERIFY(!t.window->close());
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8("データが変更されています。保存しますか？")});
        MessageBox::setNextAnswer(QMessageBox::No);
        QVERIFY(t.window->close());
    }

    void clearedListClosesWithoutQuestion() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n");
        QTest::mouseClick(t.find<QPushButton>("ClearBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("0"));
        QVERIFY(t.window->close());
        QVERIFY(MessageBox::shownTexts().isEmpty());
    }

    void busyWindowRefusesListChanges() {
        TestWindow t;
        t.appendLines(" 1, 2, 3, 4, 5\r\n");
        {
            LongOperation op(t.window->waitForm(), true);
            QVERIFY(op.started());
            QVERIFY(t.window->waitForm().busy());
            LongOperation second(t.window->waitForm(), true);
            QVERIFY(!second.started());
            QTest::mouseClick(t.find<QPushButton>("ClearBitBtn"), Qt::LeftButton);
            QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
            t.clickNumber(9);
            QCOMPARE(t.session().list().size(), 1u);
            QCOMPARE(t.session().mode(), GameMode::MiniLoto);
            QVERIFY(t.find<QRadioButton>("MiniLotoRadioButton")->isChecked());
            QCOMPARE(t.text("TogetherMemo"), QStringLiteral("0"));
            op.advance(250);
        }
        QVERIFY(!t.window->waitForm().busy());
    }

    void waitWindowClosesWhenTheWorkThrows() {
        TestWindow t;
        try {
            LongOperation op(t.window->waitForm(), true);
            throw std::runtime_error("failure");
        } catch (const std::runtime_error&) {
        }
        QVERIFY(!t.window->waitForm().busy());
    }

    void numericEditsBeepAndMoveOnEnter() {
        TestWindow t;
        auto* lotMemo = t.find<QLineEdit>("LotMemo");
        t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(t.window.get()));
        lotMemo->setFocus();
        QTest::qWait(10);
        QCOMPARE(lotMemo->selectedText(), lotMemo->text());
        QTest::keyClicks(lotMemo, "1a2");
        QCOMPARE(lotMemo->text(), QStringLiteral("12"));
        QTest::keyClick(lotMemo, Qt::Key_Return);
        QVERIFY(!lotMemo->hasFocus());
    }

    void escMinimisesToTheTrayWhenTheOptionIsOn() {
        TestWindow t;
        QTest::keyClick(t.window.get(), Qt::Key_Escape);
        QVERIFY(!t.window->trayIconShown());
        t.find<QCheckBox>("ESC_Action_CheckBox")->setChecked(true);
        QTest::keyClick(t.window.get(), Qt::Key_Escape);
        QApplication::processEvents();
        if (!QSystemTrayIcon::isSystemTrayAvailable()) {
            // No notification area: an ordinary minimised window, never a hidden one.
            QVERIFY(!t.window->trayIconShown());
            QVERIFY(t.window->isVisible());
            QVERIFY(t.window->isMinimized());
            return;
        }
        QVERIFY(t.window->trayIconShown());
        QVERIFY(t.trigger("TrayRestore"));
        QVERIFY(!t.window->trayIconShown());
        QVERIFY(t.window->isVisible());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_main_window.moc"
