// The history on first start, the draw selector and the prize check,
// driven through the real main window.

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/shell_open.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

class PrizeCheckTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void firstStartWritesTheBuiltInHistoryAndMarksTheNewestDraw() {
        TestWindow t;
        QFile written(t.dir.filePath("lotodata.txt"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QFile builtin(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE));
        QVERIFY(builtin.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), builtin.readAll());
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("1403"));
        QVERIFY(t.find<QCheckBox>("PrizeCheckBox")->isChecked());
        // Draw 1403: 08,11,14,17,19 and bonus 24.
        QCOMPARE(t.text("MainMemo"), QStringLiteral("5"));
        QCOMPARE(t.text("BonusMemo"), QStringLiteral("1"));
        QVERIFY(t.session().board().has(8, Main));
        QVERIFY(t.session().board().has(24, Bonus));
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("2137"));
    }

    void roundFieldClampsAndEmptyMeansHandMarks() {
        TestWindow t;
        auto* memo = t.find<QLineEdit>("PrizeMemo");
        memo->setText(QStringLiteral("0"));
        QCOMPARE(memo->text(), QStringLiteral("1"));
        QVERIFY(t.session().board().has(1, Main));  // draw 1: 01,03,17,20,25 + 26
        memo->setText(QStringLiteral("9999"));
        QCOMPARE(memo->text(), QStringLiteral("1403"));
        memo->clear();
        QVERIFY(!t.find<QCheckBox>("PrizeCheckBox")->isChecked());
        QVERIFY(t.session().board().has(8, Main));  // the marks stay for editing
    }

    void checkFindsTheFirstGrade() {
        TestWindow t;
        t.appendLines("8,11,14,17,19\n1,2,3,4,5\n8,11,14,17,24\n");
        QTest::mouseClick(t.find<QPushButton>("PrizeBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("Grade1Memo"), QStringLiteral("1"));
        QCOMPARE(t.text("Grade2Memo"), QStringLiteral("1"));
        QCOMPARE(t.text("Grade3Memo"), QStringLiteral("0"));
        QCOMPARE(t.text("MoneyMemo"), QString::fromUtf8("約 1019万1100円"));
        auto* search = t.find<QListView>("SearchListBox");
        QCOMPARE(search->model()->rowCount(), 6);
        QCOMPARE(search->model()->index(1, 0).data().toString(), QStringLiteral("  8,11,14,17,19"));
        QVERIFY(!t.window->waitForm().busy());
        // Editing a main mark forgets the result and unticks the draw selector.
        t.clickNumber(8);  // the check selected the main role
        QCOMPARE(t.text("MainMemo"), QStringLiteral("4"));
        QCOMPARE(t.text("Grade1Memo"), QStringLiteral("--"));
        QVERIFY(!t.find<QCheckBox>("PrizeCheckBox")->isChecked());
    }

    void incompleteMarksDoNothing() {
        TestWindow t;
        t.appendLines("8,11,14,17,19\n");
        QTest::mouseClick(t.find<QRadioButton>("MainRadioButton"), Qt::LeftButton);
        t.clickNumber(8);
        QCOMPARE(t.text("MainMemo"), QStringLiteral("4"));
        QTest::mouseClick(t.find<QPushButton>("PrizeBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("Grade1Memo"), QStringLiteral("--"));
    }

    // The history button opens the history window; the file itself opens
    // from there.
    void historyButtonOpensTheWindowAndTheFileFromIt() {
        TestWindow t;
        QUrl opened;
        setShellOpenHook([&](const QUrl& url) { opened = url; });
        QTest::mouseClick(t.find<QPushButton>("RecordBitBtn"), Qt::LeftButton);
        QVERIFY(t.find<QWidget>("THistoryForm")->isVisible());
        QVERIFY(opened.isEmpty());
        QTest::mouseClick(t.find<QPushButton>("OpenFileBitBtn"), Qt::LeftButton);
        setShellOpenHook({});
        QCOMPARE(opened, QUrl::fromLocalFile(t.dir.filePath("lotodata.txt")));
    }

    void unreadableHistoryFallsBackToTheBuiltInCopy() {
        QTemporaryDir dir;
        QFile bad(dir.filePath("lotodata.txt"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("\x81\x20 not cp932\r\n");  // 0x81 0x20 is no cp932 character
        bad.close();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        TMainForm window({dir.path().toStdString()});
        window.show();
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().first().contains(QStringLiteral("lotodata.txt")));
        QCOMPARE(window.findChild<QLineEdit*>("PrizeMemo")->text(), QStringLiteral("1403"));
    }

    // An empty history is used as it is, and the user is told which game
    // and which file have no draws.
    void emptyHistoryIsReportedWithGameAndFile() {
        QTemporaryDir dir;
        QFile empty(dir.filePath("lotodata.txt"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        TMainForm window({dir.path().toStdString()});
        window.show();
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        const QString text = MessageBox::shownTexts().first();
        QVERIFY2(text.contains(dir.filePath("lotodata.txt")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("ミニロトの当選番号がありません")), qPrintable(text));
        QCOMPARE(window.session().history().drawCount(), 0);
        QCOMPARE(QFileInfo(dir.filePath("lotodata.txt")).size(), 0);
    }
};

QTEST_MAIN(PrizeCheckTest)
#include "tst_prize_check.moc"
