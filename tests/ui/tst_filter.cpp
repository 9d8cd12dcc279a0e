// The filter conditions' window and the number analysis window of the real
// main window: a range set in the window changes the pass rates at once and
// the next draw lists only what passes; narrowing the list is one undo step;
// the analysis sorts, charts, gives a number its role and copies.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include "generate/filter_text.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/filter/analysis_form.h"
#include "ui/filter/bar_chart.h"
#include "ui/filter/filter_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

TFilterForm* openFilterForm(TestWindow& t) {
    QTest::mouseClick(t.find<QPushButton>("FilterBitBtn"), Qt::LeftButton);
    return t.window->findChild<TFilterForm*>(u("TFilterForm"));
}

TAnalysisForm* openAnalysisForm(TestWindow& t) {
    QTest::mouseClick(t.find<QPushButton>("AnalysisBitBtn"), Qt::LeftButton);
    return t.window->findChild<TAnalysisForm*>(u("TAnalysisForm"));
}

std::uint64_t maskOf(GameMode game, CombinationIndex index) { return numberMask(UnrankCombination(game, index)); }

// Esc belongs to the active window.
void pressEscape(QWidget* window, QWidget* focus) {
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
    QTest::keyClick(focus, Qt::Key_Escape);
}

QString rateLine(int passing, int draws) { return QString::fromStdString(passRateLine(passing, draws)); }

}  // namespace

class FilterTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void aRangeChangesThePercentagesAndTheDraw() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        TFilterForm* form = openFilterForm(t);
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), u("絞り込み条件"));
        auto* check = form->findChild<QCheckBox*>(u("FilterSumCheckBox"));
        auto* min = form->findChild<QSpinBox*>(u("FilterSumMinSpinBox"));
        auto* max = form->findChild<QSpinBox*>(u("FilterSumMaxSpinBox"));
        auto* rate = form->findChild<QLabel*>(u("FilterSumRateLabel"));
        auto* all = form->findChild<QLabel*>(u("FilterAllRateLabel"));
        auto* histogram = form->findChild<BarChart*>(u("FilterSumHistogram"));
        QVERIFY(check && min && max && rate && all && histogram);
        // Off at the whole span: every draw passes.
        const FilterHistory history = t.session().filterHistory();
        const int draws = history.drawCount();
        QVERIFY(draws > 100);
        QVERIFY(!check->isChecked());
        QCOMPARE(min->value(), 21);
        QCOMPARE(max->value(), 243);
        QCOMPARE(rate->text(), rateLine(draws, draws));
        QCOMPARE(all->text(), u("（条件が選ばれていません）"));
        QCOMPARE(histogram->counts().size(), 243u - 21u + 1u);

        // Moving the minimum switches the condition on and the figures follow.
        min->setValue(100);
        max->setValue(160);
        QVERIFY(check->isChecked());
        const FilterSettings settings = t.session().filterSettings();
        QCOMPARE(settings[FilterCondition::Sum], (FilterRange{true, 100, 160}));
        const int passing = history.passing(FilterCondition::Sum, {true, 100, 160});
        QVERIFY(passing < draws);
        QCOMPARE(rate->text(), rateLine(passing, draws));
        QCOMPARE(all->text(), rateLine(passing, draws));
        QCOMPARE(histogram->rangeLow(), 100);
        QCOMPARE(histogram->rangeHigh(), 160);
        // A second condition: the bottom line counts both.
        form->findChild<QSpinBox*>(u("FilterOddMaxSpinBox"))->setValue(2);
        const int both = history.passRates(t.session().filterSettings()).all;
        QVERIFY(both < passing);
        QCOMPARE(all->text(), rateLine(both, draws));
        // A minimum above the maximum takes the maximum with it.
        min->setValue(200);
        QCOMPARE(max->value(), 200);
        min->setValue(100);
        max->setValue(160);

        // The draw lists only passing combinations and says what it left out.
        t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("50"));
        QTest::mouseClick(t.find<QPushButton>("LotBitBtn"), Qt::LeftButton);
        const CombinationFilter filter = t.session().currentFilter();
        QVERIFY(t.session().list().size() > 40);
        for (CombinationIndex index : t.session().list().items()) QVERIFY(filter.passes(maskOf(GameMode::Loto6, index)));
        QVERIFY(t.find<QLabel>("RSystemResultLabel")->text().startsWith(u("条件で除外: ")));
        QVERIFY(t.find<QPushButton>("FilterBitBtn")->font().bold());

        // Unchecked, the condition keeps its range but lets everything through.
        check->setChecked(false);
        QCOMPARE(t.session().filterSettings()[FilterCondition::Sum], (FilterRange{false, 100, 160}));
        QVERIFY(!rate->isEnabled());

        // Esc closes the window.
        pressEscape(form, check);
        QVERIFY(!form->isVisible());
    }

    void narrowingIsOneUndoStep() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        t.model().run([](Session& s) { return s.selectRole(Together); });
        for (int n = 1; n <= 12; ++n) t.clickNumber(n);
        QTest::mouseClick(t.find<QPushButton>("CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 924u);
        TFilterForm* form = openFilterForm(t);
        form->findChild<QSpinBox*>(u("FilterOddMaxSpinBox"))->setValue(1);
        QTest::mouseClick(form->findChild<QPushButton*>(u("NarrowBitBtn")), Qt::LeftButton);
        QCOMPARE(t.session().list().size(), 37u);
        QCOMPARE(t.text("PickMemo"), u("37"));
        QVERIFY(t.session().list().changed());
        QVERIFY(t.session().canUndoList());
        t.model().run([](Session& s) { return s.undoList(); });
        QCOMPARE(t.session().list().size(), 924u);
    }

    void theRSystemShowsItDoesNotUseTheConditions() {
        TestWindow t;
        TFilterForm* form = openFilterForm(t);
        auto* note = form->findChild<QLabel*>(u("FilterRSystemLabel"));
        form->findChild<QCheckBox*>(u("FilterOddCheckBox"))->setChecked(true);
        QVERIFY(note->text().isEmpty());
        QVERIFY(!t.find<QPushButton>("FilterBitBtn")->font().strikeOut());
        t.find<QCheckBox>("RSystemCheckBox")->click();
        QVERIFY(!note->text().isEmpty());
        QVERIFY(t.find<QPushButton>("FilterBitBtn")->font().strikeOut());
    }

    void theWindowFollowsTheGame() {
        TestWindow t;
        TFilterForm* form = openFilterForm(t);
        auto* max = form->findChild<QSpinBox*>(u("FilterSpreadMaxSpinBox"));
        QCOMPARE(max->maximum(), 30);
        form->findChild<QSpinBox*>(u("FilterSpreadMinSpinBox"))->setValue(12);
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        QCOMPARE(max->maximum(), 42);
        // ロト６ has conditions of its own, all off.
        QVERIFY(!form->findChild<QCheckBox*>(u("FilterSpreadCheckBox"))->isChecked());
        t.model().run([](Session& s) { return s.switchGame(GameMode::MiniLoto); });
        QVERIFY(form->findChild<QCheckBox*>(u("FilterSpreadCheckBox"))->isChecked());
        QCOMPARE(form->findChild<QSpinBox*>(u("FilterSpreadMinSpinBox"))->value(), 12);
    }

    void analysisSortsChartsAndGivesRoles() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        TAnalysisForm* form = openAnalysisForm(t);
        QVERIFY(form);
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), u("数字の分析"));
        QTableWidget* table = form->table();
        QCOMPARE(table->rowCount(), 43);
        QCOMPARE(table->horizontalHeaderItem(5)->text(), u("出現間隔"));
        const auto rows = t.session().numberAnalysis();
        QCOMPARE(table->item(0, 1)->text(), QString::number(rows[0].hits));
        // The heading sorts and charts its column.
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(table->horizontalHeader()->sectionViewportPosition(5) + 5, 5));
        QCOMPARE(form->chartColumn(), AnalysisColumn::SinceLast);
        QCOMPARE(form->chart()->counts()[6], rows[6].sinceLast);
        for (int r = 1; r < table->rowCount(); ++r) {
            const int a = table->item(r - 1, 5)->data(Qt::DisplayRole).toInt();
            const int b = table->item(r, 5)->data(Qt::DisplayRole).toInt();
            QVERIFY(table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder ? a <= b : a >= b);
        }
        // A double click gives the number the current role, as its button.
        t.model().run([](Session& s) { return s.selectRole(Together); });
        const int number = table->item(0, 0)->data(Qt::DisplayRole).toInt();
        emit table->cellDoubleClicked(0, 0);
        QVERIFY(t.session().board().has(number, Together));
        // Copy: the headings and every row when none is selected.
        table->clearSelection();
        const QStringList lines = form->copyText().split(u("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 44);
        QCOMPARE(lines[0], u("番号\t出現回数\t直近10回\t直近50回\t直近100回\t出現間隔\t最長間隔"));
        table->selectRow(2);
        QCOMPARE(form->copyText().count(u("\r\n")), 2);
        pressEscape(form, table);
        QVERIFY(!form->isVisible());
    }
};

QTEST_MAIN(FilterTest)
#include "tst_filter.moc"
