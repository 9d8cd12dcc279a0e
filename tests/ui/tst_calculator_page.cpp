// The calculator tab: the sentence fields and the pattern table for n picked
// numbers in both games and both probability views, driven through the
// page's own controls.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "calc/purchase_calculator.h"
#include "support/dialog_guard.h"
#include "ui/calc/calculator_page.h"
#include "ui/common/session_model.h"
#include "ui/common/string_grid.h"
#include "ui/common/up_down.h"

using namespace tambor;
using namespace tambor::ui;

Q_DECLARE_METATYPE(tambor::GameMode)

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

// The page alone on its tab, over a session of its own in a game.
struct Page {
    QTemporaryDir dir;
    Session session{dir.path().toStdString()};
    SessionModel model{session};
    QWidget tab;
    tambor::ui::CalculatorPage* page;
    explicit Page(GameMode mode) {
        tab.resize(723, 268);
        page = new tambor::ui::CalculatorPage(model, &tab);
        page->setGeometry(0, 0, 723, 268);
        switchGame(mode);
        tab.show();
    }
    void switchGame(GameMode mode) {
        model.run([mode](Session& s) { return s.switchGame(mode); });
    }
    void setView(int view) {
        model.run([view](Session& s) {
            return s.changeOptions([view](Options& o) { o.probabilityView = static_cast<ProbabilityView>(view); });
        });
    }
    // Marks this many together numbers on the board (starting afresh).
    void markCandidates(int count) {
        model.run([count](Session& s) {
            Changes changes = s.clearBoard() | s.selectRole(Together);
            for (int n = 1; n <= count; ++n) changes |= s.clickNumber(n, false);
            return changes;
        });
    }
    template <typename T>
    T* find(const char* name) const {
        T* child = page->findChild<T*>(QString::fromLatin1(name));
        if (!child) qFatal("control %s not found", name);
        return child;
    }
    QString text(const char* name) const { return find<QLineEdit>(name)->text(); }
    StringGrid* grid() const { return find<StringGrid>("StringGrid"); }
    QStringList row(int r) const {
        QStringList cells;
        for (int c = 0; c < grid()->columnCount(); ++c) cells << grid()->cell(c, r);
        return cells;
    }
    void setN(int n) const { find<QLineEdit>("nMemo")->setText(QString::number(n)); }
};

QStringList cells(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* t : texts) list << u(t);
    return list;
}

}  // namespace

class CalculatorPageTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    // Every text on the page is the calculator's, for n of both games.
    void pageShowsTheCalculatorsTexts_data() {
        QTest::addColumn<GameMode>("mode");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("view");
        for (int view : {0, 1}) {
            const char* v = view == 0 ? "reciprocal" : "fraction";
            for (int n : {5, 6, 7, 31})
                QTest::addRow("mini n=%d %s", n, v) << GameMode::MiniLoto << n << view;
            for (int n : {6, 7, 43})
                QTest::addRow("loto6 n=%d %s", n, v) << GameMode::Loto6 << n << view;
        }
    }
    void pageShowsTheCalculatorsTexts() {
        QFETCH(GameMode, mode);
        QFETCH(int, n);
        QFETCH(int, view);
        Page p(mode);
        p.setView(view);
        p.setN(n);
        const tambor::CalculatorPage expected = ComputeCalculator(mode, n, static_cast<ProbabilityView>(view));
        QCOMPARE(p.text("nMemo"), QString::number(n));
        QCOMPARE(p.find<UpDown>("nUpDown")->position(), n);
        QCOMPARE(p.text("nCrMemo"), QString::fromStdString(expected.combinationCountText));
        QCOMPARE(p.text("TotalMemo"), QString::fromStdString(expected.totalCostText));
        QCOMPARE(p.grid()->rowCount(), static_cast<int>(expected.grid.size()));
        for (int r = 0; r < p.grid()->rowCount(); ++r) {
            QCOMPARE(p.grid()->columnCount(), static_cast<int>(expected.grid[static_cast<std::size_t>(r)].size()));
            for (int c = 0; c < p.grid()->columnCount(); ++c)
                QCOMPARE(p.grid()->cell(c, r), QString::fromStdString(expected.grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        }
    }

    void loto6SixAndSeven() {
        Page p(GameMode::Loto6);
        p.setN(6);
        QCOMPARE(p.text("nCrMemo"), u("1"));
        QCOMPARE(p.text("TotalMemo"), u("200"));
        QCOMPARE(p.grid()->cell(1, 1), u("ありえない"));
        QCOMPARE(p.row(2), cells({"本6個", "6096454", "1本", "0本", "0本", "0本", "0本", "約 1億3400円"}));
        QCOMPARE(p.grid()->cell(7, 6), u("1000円"));

        p.find<UpDown>("nUpDown")->stepBy(1);
        QCOMPARE(p.text("nMemo"), u("7"));
        QCOMPARE(p.row(1), cells({"本6個+ボ1個", "32224114", "1本", "6本", "0本", "0本", "0本", "約 1億9000万5200円"}));
        QCOMPARE(p.row(2).mid(2), cells({"1本", "0本", "6本", "0本", "0本", "約 1億300万3400円"}));
        QCOMPARE(p.row(7), cells({"当選確率(X)", "22.36", "870922", "148498.23", "7992.1", "267.32", "22.42", "P=1/X"}));

        p.setView(1);
        QCOMPARE(p.grid()->cell(1, 1), u("1"));
        QCOMPARE(p.grid()->cell(1, 2), u("36"));
        QCOMPARE(p.grid()->cell(1, 7), u("1441483"));
        QCOMPARE(p.grid()->cell(7, 7), u("P=X/32224114"));
    }

    void miniLotoFive() {
        Page p(GameMode::MiniLoto);
        p.setN(5);
        QCOMPARE(p.grid()->cell(1, 2), u("169911"));
        QCOMPARE(p.grid()->cell(1, 3), u("33982.2"));
        QCOMPARE(p.grid()->cell(1, 4), u("1359.29"));
        QCOMPARE(p.grid()->cell(1, 5), u("52.29"));
        QCOMPARE(p.grid()->cell(6, 2), u("約 1004万6800円"));
        QCOMPARE(p.grid()->cell(6, 3), u("約 14万4300円"));
        QCOMPARE(p.grid()->cell(6, 4), u("約 1万円"));
        QCOMPARE(p.grid()->cell(6, 5), u("約 1000円"));
    }

    void allNumbersLeaveOnlyTheFirstPattern() {
        Page p(GameMode::Loto6);
        p.setN(43);
        QCOMPARE(p.text("nCrMemo"), u("609万6454"));
        QCOMPARE(p.text("TotalMemo"), u("12億1929万800"));
        QCOMPARE(p.row(1), cells({"本6個+ボ1個", "1", "1本", "6本", "216本", "9990本", "155400本", "約 5億4831万200円"}));
        for (int r = 2; r <= 6; ++r) {
            QCOMPARE(p.grid()->cell(1, r), u("ありえない"));
            QCOMPARE(p.grid()->cell(2, r), u("--本"));
            QCOMPARE(p.grid()->cell(7, r), u("--円"));
        }
        Page mini(GameMode::MiniLoto);
        mini.setN(31);
        QCOMPARE(mini.grid()->cell(1, 1), u("1"));
        QCOMPARE(mini.grid()->cell(1, 5), u("ありえない"));
    }

    void spinnerAndFieldStayInTheGamesRange() {
        Page p(GameMode::MiniLoto);
        auto* upDown = p.find<UpDown>("nUpDown");
        QCOMPARE(upDown->minimum(), 5);
        QCOMPARE(upDown->maximum(), 31);
        p.setN(99);
        QCOMPARE(p.text("nMemo"), u("31"));
        upDown->stepBy(1);
        QCOMPARE(p.text("nMemo"), u("31"));
        p.setN(1);
        QCOMPARE(p.text("nMemo"), u("5"));
        upDown->stepBy(-1);
        QCOMPARE(p.text("nMemo"), u("5"));
        upDown->stepBy(2);
        QCOMPARE(p.text("nMemo"), u("7"));
        QCOMPARE(p.text("nCrMemo"), u("21"));
        QCOMPARE(p.text("TotalMemo"), u("4200"));
    }

    // Text that is not a number falls back to the board's candidates (at least K).
    void notANumberFallsBackToTheBoardCount() {
        Page p(GameMode::Loto6);
        p.markCandidates(9);
        QCOMPARE(p.text("nMemo"), u("9"));
        QCOMPARE(p.text("nCrMemo"), u("84"));
        p.setN(12);
        p.find<QLineEdit>("nMemo")->setText(u("abc"));
        QCOMPARE(p.text("nMemo"), u("9"));
        QCOMPARE(p.text("nCrMemo"), u("84"));
        p.markCandidates(2);
        QCOMPARE(p.text("nMemo"), u("6"));
        p.find<QLineEdit>("nMemo")->setText(QString());
        QCOMPARE(p.text("nMemo"), u("6"));
        QCOMPARE(p.text("nCrMemo"), u("1"));
    }

    void gameSwitchReshapesThePage() {
        Page p(GameMode::MiniLoto);
        QCOMPARE(p.find<QLabel>("nCrLabel1")->text(), u("個の中から5個を選ぶ組み合わせの数は"));
        QCOMPARE(p.grid()->columnCount(), 7);
        QCOMPARE(p.grid()->rowCount(), 7);
        QCOMPARE(p.grid()->cell(6, 0), u("理論上の当選金額"));
        p.switchGame(GameMode::Loto6);
        QCOMPARE(p.find<QLabel>("nCrLabel1")->text(), u("個の中から6個を選ぶ組み合わせの数は"));
        QCOMPARE(p.find<UpDown>("nUpDown")->minimum(), 6);
        QCOMPARE(p.find<UpDown>("nUpDown")->maximum(), 43);
        QCOMPARE(p.text("nMemo"), u("6"));
        QCOMPARE(p.grid()->columnCount(), 8);
        QCOMPARE(p.grid()->rowCount(), 8);
        QCOMPARE(p.grid()->cell(0, 0), u("当選パターン"));
        QCOMPARE(p.grid()->cell(2, 0), u("1等"));
        QCOMPARE(p.grid()->cell(6, 0), u("5等"));
        QCOMPARE(p.grid()->cell(0, 6), u("本3個"));
        QCOMPARE(p.grid()->cell(0, 7), u("当選確率(X)"));
        QCOMPARE(p.grid()->cell(7, 7), u("P=1/X"));
    }

    // The page fits the tab: every control inside 723 × 268, the table as
    // high as its rows, its last column reaching the right edge.
    void everythingFitsTheTabPage_data() {
        QTest::addColumn<GameMode>("mode");
        QTest::newRow("mini") << GameMode::MiniLoto;
        QTest::newRow("loto6") << GameMode::Loto6;
    }
    void everythingFitsTheTabPage() {
        QFETCH(GameMode, mode);
        Page p(mode);
        p.setN(rulesFor(mode).maxNumber);
        const QRect area(0, 0, 723, 268);
        for (QWidget* child : p.page->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(area.contains(child->geometry()), qPrintable(child->objectName()));
        StringGrid* grid = p.grid();
        QCOMPARE(grid->viewport()->height(), grid->rowsExtent());
        const int last = grid->columnCount() - 1;
        const QRect lastCell = grid->cellRect(last, grid->rowCount() - 1);
        QVERIFY(!lastCell.isEmpty());
        QCOMPARE(lastCell.right() + 1 + StringGrid::kLineWidth, grid->viewport()->width());
        // The longest amount fits its column.
        const QFontMetrics metrics(grid->font());
        QVERIFY(metrics.horizontalAdvance(grid->cell(last, 1)) + 4 <= grid->columnWidth(last));
    }

    void everyControlHasAHint() {
        Page p(GameMode::MiniLoto);
        for (const char* name : {"nMemo", "nCrMemo", "TotalMemo"})
            QVERIFY2(!p.find<QLineEdit>(name)->toolTip().isEmpty(), name);
        QCOMPARE(p.find<QLineEdit>("nMemo")->toolTip(), u("組み合わせの候補を何個にするかを入力します。"));
        QCOMPARE(p.find<UpDown>("nUpDown")->toolTip(), u("組み合わせの候補を何個にするかを入力します。"));
        QCOMPARE(p.grid()->toolTip(), u("全ての組み合わせを購入したときの確率を表示します。"));
    }
};

QTEST_MAIN(CalculatorPageTest)
#include "tst_calculator_page.moc"
