// The calculator tab and the statistics window follow the board, the game
// and the options of the real main window.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "calc/purchase_calculator.h"
#include "history/rate_table.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/stats/rate_form.h"
#include "ui/common/string_grid.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

class WindowsFollowTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void calculatorFollowsTheBoardAndTheOption() {
        TestWindow t;
        QCOMPARE(t.text("nMemo"), QStringLiteral("5"));
        for (int n = 1; n <= 7; ++n) t.clickNumber(n);
        QCOMPARE(t.text("nMemo"), QStringLiteral("7"));
        const tambor::CalculatorPage reciprocal = ComputeCalculator(GameMode::MiniLoto, 7, ProbabilityView::Reciprocal);
        QCOMPARE(t.text("nCrMemo"), QString::fromStdString(reciprocal.combinationCountText));
        QCOMPARE(t.text("TotalMemo"), QString::fromStdString(reciprocal.totalCostText));
        auto* grid = t.find<StringGrid>("StringGrid");
        const tambor::CalculatorPage fraction = ComputeCalculator(GameMode::MiniLoto, 7, ProbabilityView::Fraction);
        QTest::mouseClick(t.find<QRadioButton>("FractionRadioButton"), Qt::LeftButton);
        QCOMPARE(grid->cell(1, 1), QString::fromStdString(fraction.grid[1][1]));
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.text("nMemo"), QStringLiteral("7"));  // the seven numbers fit ロト６ too
        QCOMPARE(t.text("nCrMemo"), QStringLiteral("7"));
    }

    void statisticsWindowOpensAndFollowsTheGame() {
        TestWindow t;
        auto& rate = *t.find<TRateForm>("TRateForm");
        QVERIFY(!rate.isVisible());
        QTest::mouseClick(t.find<QPushButton>("RateBitBtn"), Qt::LeftButton);
        QVERIFY(rate.isVisible());
        const RateTableCells mini = buildRateTable(t.session().history(), GameMode::MiniLoto);
        QCOMPARE(rate.grid()->cell(1, 1), QString::fromStdString(mini[1][1]));
        rate.close();
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        const RateTableCells loto6 = buildRateTable(t.session().history(), GameMode::Loto6);
        QCOMPARE(rate.grid()->cell(1, 1), QString::fromStdString(loto6[1][1]));
        QCOMPARE(rate.grid()->columnCount(), 44);
    }
};

QTEST_MAIN(WindowsFollowTest)
#include "tst_windows_follow.moc"
