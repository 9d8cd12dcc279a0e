// The pair-rate window: its grid filled from the history, its size limits,
// the hover cross, hiding on close and following the game.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include "history/history_store.h"
#include "history/rate_table.h"
#include "support/dialog_guard.h"
#include "ui/common/session_model.h"
#include "ui/common/string_grid.h"
#include "ui/stats/rate_form.h"

using namespace tambor;
using namespace tambor::ui;

Q_DECLARE_METATYPE(tambor::GameMode)

namespace {

QString u(const char* text) { return QString::fromUtf8(text); }

void moveMouse(StringGrid* grid, const QPoint& pos) {
    QMouseEvent move(QEvent::MouseMove, pos, grid->viewport()->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(grid->viewport(), &move);
}

// The window alone over a session of its own, in a game.
struct RateFixture {
    QTemporaryDir dir;
    Session session{dir.path().toStdString()};
    SessionModel model{session};
    TRateForm form{model};
    explicit RateFixture(GameMode mode) {
        model.run([mode](Session& s) { return s.switchGame(mode); });
    }
    const HistoryStore& history() const { return session.history(); }
};

}  // namespace

class RateFormTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void windowIdentity() {
        RateFixture f(GameMode::MiniLoto);
        TRateForm& form = f.form;
        QCOMPARE(form.objectName(), u("TRateForm"));
        QCOMPARE(form.windowTitle(), u("連対率表示"));
        QCOMPARE(form.toolTip(), u("連対率表示画面"));
        QVERIFY(form.isWindow());
        QVERIFY(!form.isVisible());
        QVERIFY(!(form.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(form.windowFlags() & Qt::WindowMaximizeButtonHint);
        auto* grid = form.findChild<StringGrid*>(u("RateStringGrid"));
        QVERIFY(grid);
        QCOMPARE(grid->toolTip(), u("連対率を表示します。"));
    }

    void gridHoldsTheRateTable_data() {
        QTest::addColumn<GameMode>("mode");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("lastHeader");
        QTest::newRow("mini") << GameMode::MiniLoto << 32 << u("連対率30位");
        QTest::newRow("loto6") << GameMode::Loto6 << 44 << u("連対率42位");
    }
    void gridHoldsTheRateTable() {
        QFETCH(GameMode, mode);
        QFETCH(int, size);
        QFETCH(QString, lastHeader);
        RateFixture f(mode);
        TRateForm& form = f.form;
        const HistoryStore& history = f.history();
        StringGrid* grid = form.grid();
        QCOMPARE(grid->columnCount(), size);
        QCOMPARE(grid->rowCount(), size);
        QCOMPARE(grid->fixedColumns(), 2);
        QCOMPARE(grid->fixedRows(), 1);
        QCOMPARE(grid->cell(0, 0), u("出目ランキング"));
        QCOMPARE(grid->cell(1, 0), u("当選数字・回数"));
        QCOMPARE(grid->cell(2, 0), u("連対率1位"));
        QCOMPARE(grid->cell(size - 1, 0), lastHeader);
        QCOMPARE(grid->cell(0, 1), u("第1位"));
        QCOMPARE(grid->cell(0, size - 1), QString(u("第%1位")).arg(size - 1));
        const RateTableCells expected = buildRateTable(history, mode);
        for (int r = 0; r < size; ++r)
            for (int c = 0; c < size; ++c)
                QCOMPARE(grid->cell(c, r), QString::fromStdString(expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
        // The top number with its count, and its best partner's rate.
        const int top = rankNumbers(history.hitCounts(), mode).front();
        QCOMPARE(grid->cell(1, 1), QString::asprintf("%2d (%3d回)", top, history.hitCount(top)));
        const int partner = partnerOrder(history.hitCounts(), history.pairCounts(), mode, top).front();
        QCOMPARE(grid->cell(2, 1),
                 QString::asprintf("%2d (%3d%%)", partner, history.pairCount(top, partner) * 100 / history.hitCount(top)));
        // Column widths and row height come from the header texts.
        const QFontMetrics metrics(grid->font());
        QCOMPARE(grid->defaultRowHeight(), metrics.height() + 4);
        QCOMPARE(grid->columnWidth(0), metrics.horizontalAdvance(u("出目ランキング")) + 4);
        QCOMPARE(grid->columnWidth(size - 1), metrics.horizontalAdvance(u("連対率99位")) + 4);
    }

    // Filled, the window takes its minimum size, which shows the first
    // 7 columns and 11 rows whole; it can't grow past the work area.
    void sizeLimits_data() { gridHoldsTheRateTable_data(); }
    void sizeLimits() {
        QFETCH(GameMode, mode);
        RateFixture f(mode);
        TRateForm& form = f.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.size(), form.minimumSize());
        StringGrid* grid = form.grid();
        QCOMPARE(grid->geometry(), QRect(16, 16, form.width() - 32, form.height() - 32));
        const QRect seventhColumnEleventhRow = grid->cellRect(6, 10);
        QVERIFY(!seventhColumnEleventhRow.isEmpty());
        QVERIFY(grid->viewport()->rect().contains(seventhColumnEleventhRow));
        const QRect work = form.screen()->availableGeometry();
        QVERIFY(form.maximumSize().width() <= work.width());
        QVERIFY(form.maximumSize().height() <= work.height());
        QVERIFY(form.maximumSize().width() >= form.minimumSize().width());
        // On this screen the full Loto 6 grid is wider than the work area.
        int full = 2 * grid->frameWidth() + grid->columnsExtent() + 32 + form.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        if (full > work.width()) QVERIFY(form.maximumSize().width() < full);
        form.resize(10, 10);
        QCOMPARE(form.size(), form.minimumSize());
        form.resize(100000, 100000);
        QCOMPARE(form.size(), form.maximumSize());
        QCOMPARE(grid->size(), form.size() - QSize(32, 32));
    }

    void closeBoxHidesAndShowingFillsAgain() {
        RateFixture f(GameMode::MiniLoto);
        TRateForm& form = f.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.resize(form.maximumSize());
        QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        // Showing fills again and takes the minimum size again.
        form.show();
        QVERIFY(form.isVisible());
        QCOMPARE(form.grid()->rowCount(), 32);
        QCOMPARE(form.size(), form.minimumSize());
    }

    void gameSwitchRefillsWhileHidden() {
        RateFixture f(GameMode::MiniLoto);
        TRateForm& form = f.form;
        QCOMPARE(form.grid()->columnCount(), 32);
        f.model.run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        QVERIFY(!form.isVisible());
        QCOMPARE(form.grid()->columnCount(), 44);
        QCOMPARE(form.grid()->cell(1, 1), QString::fromStdString(buildRateTable(f.history(), GameMode::Loto6)[1][1]));
        f.model.run([](Session& s) { return s.switchGame(GameMode::MiniLoto); });
        QCOMPARE(form.grid()->columnCount(), 32);
        QCOMPARE(form.grid()->cell(31, 0), u("連対率30位"));
    }

    // The column and the row under the cursor turn yellow; leaving clears them.
    void hoverCross() {
        RateFixture f(GameMode::MiniLoto);
        TRateForm& form = f.form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        StringGrid* grid = form.grid();
        const QRect hovered = grid->cellRect(4, 3);
        moveMouse(grid, hovered.center());
        QCOMPARE(form.hoveredCell(), QPoint(4, 3));
        const QImage image = grid->viewport()->grab().toImage();
        auto colourAt = [&](int column, int row) {
            const QRect r = grid->cellRect(column, row);
            return QColor(image.pixel(r.left() + 1, r.bottom() - 1));
        };
        QCOMPARE(colourAt(4, 8), QColor(Qt::yellow));   // same column
        QCOMPARE(colourAt(6, 3), QColor(Qt::yellow));   // same row
        QCOMPARE(colourAt(4, 3), QColor(Qt::yellow));
        QVERIFY(colourAt(5, 5) != QColor(Qt::yellow));  // elsewhere
        QVERIFY(colourAt(0, 3) != QColor(Qt::yellow));  // fixed cells keep their colour
        // Over a fixed row-header cell: the row lights up.
        moveMouse(grid, grid->cellRect(0, 5).center());
        QCOMPARE(form.hoveredCell(), QPoint(0, 5));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(grid->viewport(), &leave);
        QCOMPARE(form.hoveredCell(), QPoint(-1, -1));
        const QImage after = grid->viewport()->grab().toImage();
        const QRect r = grid->cellRect(4, 8);
        QVERIFY(QColor(after.pixel(r.left() + 1, r.bottom() - 1)) != QColor(Qt::yellow));
    }

    // Esc closes the window; the arrow keys still scroll the grid.
    void escapeClosesArrowsScroll() {
        RateFixture f(GameMode::MiniLoto);
        TRateForm& form = f.form;
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(form.grid()->topRow(), 1);
        QTest::keyClick(form.grid(), Qt::Key_Down);
        QCOMPARE(form.grid()->topRow(), 2);
        QTest::keyClick(form.grid(), Qt::Key_Escape);
        QVERIFY(!form.isVisible());
    }
};

QTEST_MAIN(RateFormTest)
#include "tst_rate_form.moc"
