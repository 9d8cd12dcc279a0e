// The draw, builder and sort buttons of the real main window.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "core/japanese_count.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

bool ascending(const CombinationList& list) {
    for (std::size_t i = 1; i < list.size(); ++i)
        if (list.items()[i - 1] >= list.items()[i]) return false;
    return true;
}

}  // namespace

class GenerateTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void drawAddsTheRequestedCombinations() {
        TestWindow t;
        t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("200"));
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        const auto& list = t.session().list();
        QCOMPARE(list.size() + list.duplicates().size() <= 200u, true);
        QVERIFY(list.size() > 150);
        QCOMPARE(t.text("PickMemo"), QString::number(list.size()));
        QCOMPARE(t.find<QListView>("PickListBox")->model()->rowCount(), static_cast<int>(list.size()));
        QVERIFY(list.changed());
        QVERIFY(t.find<QRadioButton>("DisableRadioButton")->isChecked());
        auto* report = t.find<QListView>("ResultListBox");
        QCOMPARE(report->model()->rowCount(), 31 + 3);  // a separator after every tenth line
        QCOMPARE(report->model()->index(10, 0).data().toString(), QString(81, QLatin1Char('-')));
    }

    void zeroCountDrawsOne() {
        TestWindow t;
        t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("0"));
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("LotMemo"), QStringLiteral("1"));
        QCOMPARE(t.session().list().size(), 1u);
    }

    void fixedNumbersFillEveryCombination() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("FixRadioButton"), Qt::LeftButton);
        for (int n : {2, 4, 6, 8, 10}) t.clickNumber(n);
        t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("3"));
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 1u);
        QCOMPARE(t.session().list().lineAt(0), std::string("  2, 4, 6, 8,10"));
        QCOMPARE(t.session().list().duplicates().size(), 1u);
    }

    void builderAddsEveryCombinationAndSortOrdersThem() {
        TestWindow t;
        for (int n = 1; n <= 7; ++n) t.clickNumber(n);
        t.appendLines("30,29,28,27,26\n");
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 22u);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("22"));
        QVERIFY(!ascending(t.session().list()));
        QTest::mouseClick(t.find<QPushButton>("SortBitBtn"), Qt::LeftButton);
        QVERIFY(ascending(t.session().list()));
        QCOMPARE(t.session().list().lineAt(21), std::string(" 26,27,28,29,30"));
    }

    void rSystemBuildKeepsTheTableCount() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        t.find<QCheckBox>("RSystemCheckBox")->click();
        t.find<QComboBox>("ArrangeModeComboBox")->setCurrentIndex(1);
        for (int n = 1; n <= 12; ++n) t.clickNumber(n);
        QCOMPARE(t.text("CombiMemo"), QStringLiteral("68"));
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 68u);
    }

    void pastWinnersAreKeptOut() {
        TestWindow t;
        t.find<QCheckBox>("PastRemoveCheckBox")->click();
        // Draw 175 (08,12,17,19,24 + 05): its first prize and the second
        // prizes with the bonus are past winners.
        QTest::mouseClick(t.find<QRadioButton>("TogetherRadioButton"), Qt::LeftButton);
        for (int n : {5, 8, 12, 17, 19, 24}) t.clickNumber(n);
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 0u);  // all six are past winners
        QCOMPARE(t.session().list().duplicates().size(), 0u);
    }

    // Esc while the wait window shows stops the build between combinations;
    // the list keeps exactly what was added.
    void escStopsABuild() {
        TestWindow t;
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        for (int n = 1; n <= 26; ++n) t.clickNumber(n);  // C(26, 6) = 230,230 combinations
        TWaitForm* wait = &t.window->waitForm();
        QTimer::singleShot(0, wait, [wait] { QTest::keyClick(wait, Qt::Key_Escape); });
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        const auto& list = t.session().list();
        QVERIFY(list.size() > 0);
        QVERIFY(list.size() < 230230u);
        QCOMPARE(t.text("PickMemo"), QString::fromStdString(FormatJapaneseCount(static_cast<std::int64_t>(list.size()))));
        QCOMPARE(t.find<QListView>("PickListBox")->model()->rowCount(), static_cast<int>(list.size()));
        QVERIFY(list.changed());
        QVERIFY(!wait->busy());
    }

    // Coming back from the tray while a draw runs stops it.
    void trayRestoreStopsADraw() {
        TestWindow t;
        t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("10000"));
        QTimer::singleShot(0, t.window.get(), [&t] { t.trigger("TrayRestore"); });
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        const auto& list = t.session().list();
        QVERIFY(list.size() > 0);
        QVERIFY(list.size() + list.duplicates().size() < 10000u);
        QVERIFY(!t.window->waitForm().busy());
    }

    void secondLongCommandIsRefusedWhileBusy() {
        TestWindow t;
        LongOperation running(t.window->waitForm(), false);
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        for (int n = 1; n <= 7; ++n) t.clickNumber(n);  // the board is refused too
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QVERIFY(t.session().list().empty());
        QVERIFY(!t.session().list().changed());
    }
};

QTEST_MAIN(GenerateTest)
#include "tst_generate.moc"
