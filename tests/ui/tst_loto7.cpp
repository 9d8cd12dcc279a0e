// ロト７ in the window: the switch, the board, a build, a check against a
// real draw and a save, and the card print commands that stay disabled.

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <fstream>
#include <string>

#include "history/draw_date.h"
#include "history/history_draw.h"
#include "history/history_store.h"
#include "io/cp932.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/pick/number_panel.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// The full built-in history (ロト７ 1–694 among it) as the program's history
// file, as a first start writes it.
void writeHistoryWithLoto7(const TestWindow& t) {
    QFile::remove(t.dir.filePath(QStringLiteral("lotodata.txt")));
    QVERIFY(QFile::copy(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE), t.dir.filePath(QStringLiteral("lotodata.txt"))));
}

}  // namespace

class Loto7Test : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void switchBuildCheckAndSave() {
        TestWindow t;
        writeHistoryWithLoto7(t);
        auto* radio = t.find<QRadioButton>("Loto7RadioButton");
        QCOMPARE(radio->text(), QString::fromUtf8("ロト７(&7)"));
        QVERIFY(radio->parentWidget()->rect().contains(radio->geometry()));
        QTest::mouseClick(radio, Qt::LeftButton);
        QCOMPARE(t.session().mode(), GameMode::Loto7);
        QCOMPARE(t.window->windowTitle(), QString::fromUtf8("タンボル - [ロト７]"));
        QVERIFY(t.find<NumPanel>("NumPanel37")->isVisible());
        QVERIFY(!t.find<NumPanel>("NumPanel38")->isVisible());
        QVERIFY(t.find<QLineEdit>("Grade5Memo")->isVisible());
        QVERIFY(t.find<QLineEdit>("Grade6Memo")->isVisible());
        // The newest draw, 第694回, is on the board: seven main and two bonus numbers.
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("694"));
        QCOMPARE(t.text("MainMemo"), QStringLiteral("7"));
        QCOMPARE(t.text("BonusMemo"), QStringLiteral("2"));

        // Nine together numbers build C(9, 7) = 36 combinations.
        QTest::mouseClick(t.find<QRadioButton>("TogetherRadioButton"), Qt::LeftButton);
        for (int n = 1; n <= 9; ++n) t.clickNumber(n);
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("36"));
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 36u);
        QCOMPARE(QString::fromStdString(t.session().list().lineAt(0)), QStringLiteral("  1, 2, 3, 4, 5, 6, 7"));

        // 第1回 (07,10,12,17,23,28,34 + 03,15) against two listed tickets.
        t.appendLines(" 3, 7,10,12,17,23,28\n 1, 2, 3, 7,10,12,15\n");
        t.find<QLineEdit>("PrizeMemo")->setText(QStringLiteral("1"));
        QTest::mouseClick(t.find<QPushButton>("PrizeBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("Grade2Memo"), QStringLiteral("1"));
        QCOMPARE(t.text("Grade6Memo"), QStringLiteral("1"));
        QCOMPARE(t.text("MoneyMemo"), QString::fromUtf8("約 607万8700円"));

        const QString path = t.dir.filePath(QStringLiteral("list7.csv"));
        FileDialog::setNextFileName(path);
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        QVERIFY(bytes.startsWith(QByteArray::fromStdString(utf8ToCp932("[ロト７]\r\n\r\n  1, 2, 3, 4, 5, 6, 7\r\n", ""))));
        QVERIFY(!t.session().list().changed());
    }

    void cardPrintingIsDisabledWithAHint() {
        TestWindow t;
        writeHistoryWithLoto7(t);
        QTest::mouseClick(t.find<QRadioButton>("Loto7RadioButton"), Qt::LeftButton);
        const QString hint = QString::fromUtf8("ロト７の申込カードへの印刷には、まだ対応していません。");
        for (const char* name : {"Print", "PrintPreview"}) {
            auto* action = t.find<QAction>(name);
            QVERIFY(!action->isEnabled());
            QCOMPARE(action->statusTip(), hint);
        }
        auto* button = t.find<QPushButton>("PrintBitBtn");
        QVERIFY(!button->isEnabled());
        QCOMPARE(button->statusTip(), hint);
        // Back in ロト６ the commands have their own hint again.
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QVERIFY(button->statusTip().startsWith(QString::fromUtf8("表示されている組み合わせを申込カードに印刷します。")));
        QVERIFY(t.find<QAction>("PrintPreview")->isEnabled());  // the preview needs no printer
    }
};

QTEST_MAIN(Loto7Test)
#include "tst_loto7.moc"
