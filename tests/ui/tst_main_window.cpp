// Drives the real main window: the board, the game switch, the lists, the
// close question, the wait window's busy refusals and the tray.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <map>
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

    // The designed size is the smallest; made larger, the lists grow and
    // the board and the commands keep their places.
    void theWindowGrowsAndItsListsWithIt() {
        TestWindow t;
        QCOMPARE(t.window->minimumSize(), QSize(731, 365));
        QVERIFY(t.window->maximumSize().width() > 2000);
        QVERIFY(t.window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        const char* const fixed[] = {"LotBitBtn", "NumPanel1", "NumPanel31", "PrizeBitBtn", "LoadBitBtn"};
        std::map<QString, QRect> before;
        for (const char* name : fixed) before[QString::fromLatin1(name)] = t.find<QWidget>(name)->geometry();
        const char* const lists[] = {"PickListBox", "DupListBox", "SearchListBox", "ResultListBox", "ClearBitBtn",
                                     "PickMemo", "DupClearBitBtn"};
        std::map<QString, QRect> small;
        for (const char* name : lists) small[QString::fromLatin1(name)] = t.find<QWidget>(name)->geometry();
        const QSize page = t.find<QWidget>("PickTabSheet")->size();

        t.window->resize(1280, 900);
        QCoreApplication::processEvents();
        QCOMPARE(t.window->size(), QSize(1280, 900));
        const QSize grown = t.find<QWidget>("PickTabSheet")->size() - page;
        QCOMPARE(grown, QSize(1280 - 731, 900 - 365));
        for (const char* name : fixed) QCOMPARE(t.find<QWidget>(name)->geometry(), before[QString::fromLatin1(name)]);
        auto rect = [&](const char* name) { return t.find<QWidget>(name)->geometry(); };
        auto was = [&](const char* name) { return small[QString::fromLatin1(name)]; };
        QCOMPARE(rect("PickListBox"), was("PickListBox").adjusted(0, 0, 0, grown.height()));
        QCOMPARE(rect("ClearBitBtn"), was("ClearBitBtn").translated(0, grown.height()));
        QCOMPARE(rect("PickMemo"), was("PickMemo").translated(0, grown.height()));
        QCOMPARE(rect("DupListBox"), was("DupListBox").adjusted(0, 0, 0, grown.height()));
        QCOMPARE(rect("DupClearBitBtn"), was("DupClearBitBtn").translated(0, grown.height()));
        QCOMPARE(rect("ResultListBox"), was("ResultListBox").adjusted(0, 0, 0, grown.height()));
        QCOMPARE(rect("SearchListBox"), was("SearchListBox").adjusted(0, 0, grown.width(), grown.height()));
        // Back to the smallest size, everything where it was.
        t.window->resize(400, 200);
        QCoreApplication::processEvents();
        QCOMPARE(t.window->size(), QSize(731, 365));
        for (const char* name : lists) QCOMPARE(rect(name), was(name));
    }

    // The size and place are kept in Tambor.ini; a place on a screen that is
    // gone comes back on the primary screen.
    void sizeAndPlaceAreRestored() {
        QTemporaryDir dir;
        {
            TMainForm window(MainWindowOptions{dir.path().toStdString()});
            window.show();
            window.setGeometry(40, 30, 900, 500);
            QCoreApplication::processEvents();
            QVERIFY(window.close());
        }
        QFile ini(QDir(dir.path()).filePath(QStringLiteral("Tambor.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray stored = ini.readAll();
        QVERIFY(stored.contains("WindowWidth=900\r\n"));
        QVERIFY(stored.contains("WindowHeight=500\r\n"));
        ini.close();
        {
            TMainForm window(MainWindowOptions{dir.path().toStdString()});
            window.show();
            QCOMPARE(window.geometry(), QRect(40, 30, 900, 500));
            window.resize(800, 400);
            QVERIFY(window.close());
        }
        // Far off every screen: the size stays, the place is the primary screen's middle.
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QByteArray moved = ini.readAll();
        ini.close();
        moved.replace("WindowLeft=40\r\n", "WindowLeft=50000\r\n").replace("WindowTop=30\r\n", "WindowTop=50000\r\n");
        QVERIFY(moved.contains("WindowLeft=50000"));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(moved);
        ini.close();
        TMainForm window(MainWindowOptions{dir.path().toStdString()});
        window.show();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(window.size(), QSize(800, 400).boundedTo(screen.size()).expandedTo(QSize(731, 365)));
        QVERIFY(screen.contains(window.geometry().center()));
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
        // The text is selected once the focus has arrived.
        QTRY_COMPARE(lotMemo->selectedText(), lotMemo->text());
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
