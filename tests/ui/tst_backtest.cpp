// The backtest window over the full verified history: opening it from the
// prize-check group, the range of rounds, the double-click that runs the
// prize check of a round on the main window, copying and saving the table.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTest>
#include <string>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/backtest/backtest_chart.h"
#include "ui/backtest/backtest_form.h"
#include "ui/common/message_box.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "io/cp932.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// ロト６ draw 1 is 02,08,10,13,27,30 with bonus 39: one combination of
// each grade, and one that wins nothing.
const char* const kOneOfEachGrade =
    " 2, 8,10,13,27,30\n 2, 8,10,13,27,39\n 2, 8,10,13,27,43\n 2, 8,10,13,39,43\n 2, 8,10,41,42,43\n 2, "
    "8,39,41,42,43\n";

// The window over the full history in ロト６, with the list given.
void openOnFullHistory(TestWindow& t, const char* lines) {
    QFile::remove(t.dir.filePath(QStringLiteral("lotodata.txt")));
    QVERIFY(QFile::copy(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE),
                        t.dir.filePath(QStringLiteral("lotodata.txt"))));
    QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
    QCOMPARE(t.text("PrizeMemo"), QStringLiteral("2137"));
    t.appendLines(lines);
    QTest::mouseClick(t.find<QPushButton>("BacktestBitBtn"), Qt::LeftButton);
}

TBacktestForm* form(const TestWindow& t) { return t.find<TBacktestForm>("TBacktestForm"); }
QTableView* grid(const TestWindow& t) { return t.find<QTableView>("BacktestGrid"); }
QString cell(const TestWindow& t, int row, int column) {
    return grid(t)->model()->index(row, column).data().toString();
}

void doubleClickRow(const TestWindow& t, int row) {
    QTableView* view = grid(t);
    view->scrollTo(view->model()->index(row, 0));
    const QRect rect = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

// Whether the field's text fits where a QLineEdit draws it (inside its
// frame, text margins and the two pixels it keeps free on each side).
bool showsWhole(QLineEdit* edit) {
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const QMargins margins = edit->textMargins();
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const int room = contents.width() - margins.left() - margins.right() - 4;
    return edit->fontMetrics().horizontalAdvance(edit->text()) <= room;
}

void typeInto(QLineEdit* memo, const char* text) {
    memo->selectAll();
    QTest::keyClicks(memo, QString::fromLatin1(text));
}

}  // namespace

class BacktestTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void opensOnTheWholeHistory() {
        TestWindow t;
        openOnFullHistory(t, kOneOfEachGrade);
        QVERIFY(form(t)->isVisible());
        QVERIFY(!t.window->waitForm().busy());
        QCOMPARE(form(t)->windowTitle(), QString::fromUtf8("過去の当選結果との照合"));
        QCOMPARE(grid(t)->model()->rowCount(), 2137);
        QCOMPARE(grid(t)->model()->columnCount(), 8);
        QCOMPARE(t.text("BacktestFromMemo"), QStringLiteral("1"));
        QCOMPARE(t.text("BacktestToMemo"), QStringLiteral("2137"));
        QCOMPARE(t.text("BacktestDrawsMemo"), QString::fromUtf8("2137回"));
        QCOMPARE(t.text("BacktestCostMemo"), QString::fromUtf8("256万4400円"));  // 6 × 200 × 2137
        QCOMPARE(cell(t, 0, 1), QStringLiteral("H12.10. 5"));
        for (int column = 2; column <= 6; ++column) QCOMPARE(cell(t, 0, column), QStringLiteral("1"));
        QCOMPARE(cell(t, 0, 7), QString::fromUtf8("約 1億1551万4200円"));
        QCOMPARE(t.find<BacktestChart>("BacktestChart")->points().size(), std::size_t{2137});
        QCOMPARE(t.find<BacktestChart>("BacktestChart")->costPerDraw(), std::int64_t{1200});
        QVERIFY(t.text("BacktestBestMemo").startsWith(QString::fromUtf8("第1回（H12.10. 5）")));
        // Every control carries a hint.
        QCOMPARE(t.find<QPushButton>("BacktestBitBtn")->toolTip(),
                 QString::fromUtf8("一覧の組み合わせを過去のすべての当選結果と照合します。"));
        QCOMPARE(t.find<QPushButton>("BacktestBitBtn")->text(), QString::fromUtf8("全期間で照合(&B)..."));
        for (QWidget* w : form(t)->findChildren<QWidget*>()) {
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPushButton*>(w) || qobject_cast<UpDown*>(w) ||
                qobject_cast<QTableView*>(w) || qobject_cast<BacktestChart*>(w))
                QVERIFY2(!w->toolTip().isEmpty(), qPrintable(w->objectName()));
        }
    }

    void rangeClampsAndDoubleClickChecksTheRound() {
        TestWindow t;
        openOnFullHistory(t, kOneOfEachGrade);
        auto* from = t.find<QLineEdit>("BacktestFromMemo");
        auto* to = t.find<QLineEdit>("BacktestToMemo");
        typeInto(from, "1000");
        typeInto(to, "1010");
        QCOMPARE(grid(t)->model()->rowCount(), 11);
        QCOMPARE(cell(t, 0, 0), QStringLiteral("1000"));
        QCOMPARE(t.text("BacktestDrawsMemo"), QString::fromUtf8("11回"));
        QCOMPARE(t.text("BacktestCostMemo"), QString::fromUtf8("1万3200円"));
        QCOMPARE(t.find<BacktestChart>("BacktestChart")->points().front().round, 1000);

        // A round beyond the history is the newest, 0 is the first; a first
        // round after the last shows nothing and says why.
        typeInto(to, "9999");
        QCOMPARE(to->text(), QStringLiteral("2137"));
        typeInto(from, "0");
        QCOMPARE(from->text(), QStringLiteral("1"));
        QCOMPARE(grid(t)->model()->rowCount(), 2137);
        typeInto(from, "2000");
        typeInto(to, "1500");
        QCOMPARE(grid(t)->model()->rowCount(), 0);
        QVERIFY(!t.find<QLabel>("BacktestRangeLabel")->text().isEmpty());
        QCOMPARE(t.text("BacktestDrawsMemo"), QStringLiteral("--"));
        typeInto(to, "2010");
        QCOMPARE(grid(t)->model()->rowCount(), 11);
        QVERIFY(t.find<QLabel>("BacktestRangeLabel")->text().isEmpty());

        // The double-click selects the round on the main window and checks it.
        doubleClickRow(t, 3);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("2003"));
        for (int g = 1; g <= 5; ++g)
            QCOMPARE(t.text(QStringLiteral("Grade%1Memo").arg(g).toLatin1().constData()), cell(t, 3, g + 1));
        QVERIFY(!t.window->waitForm().busy());

        // The first draw wins every grade: the fields and the winning lines.
        QTest::mouseClick(t.find<QPushButton>("BacktestAllBitBtn"), Qt::LeftButton);
        QCOMPARE(grid(t)->model()->rowCount(), 2137);
        doubleClickRow(t, 0);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("1"));
        for (int g = 1; g <= 5; ++g)
            QCOMPARE(t.text(QStringLiteral("Grade%1Memo").arg(g).toLatin1().constData()), QStringLiteral("1"));
        QCOMPARE(t.text("MoneyMemo"), cell(t, 0, 7));
        QCOMPARE(t.find<QListView>("SearchListBox")->model()->rowCount(), 10);  // 5 headings, 5 lines
    }

    void copiesAndSavesTheTable() {
        TestWindow t;
        openOnFullHistory(t, kOneOfEachGrade);
        grid(t)->selectRow(1);
        grid(t)->selectionModel()->select(grid(t)->model()->index(0, 0),
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QTest::keyClick(grid(t), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(),
                 QString::fromUtf8("回\t日付\t一等\t二等\t三等\t四等\t五等\t当選金額\r\n"
                                   "1\tH12.10. 5\t1\t1\t1\t1\t1\t115514200\r\n"
                                   "2\tH12.10.12\t0\t0\t0\t0\t0\t0\r\n"));

        typeInto(t.find<QLineEdit>("BacktestToMemo"), "2");
        const QString path = t.dir.filePath(QStringLiteral("bt.csv"));
        FileDialog::setNextFileName(path);
        QTest::mouseClick(t.find<QPushButton>("BacktestSaveBitBtn"), Qt::LeftButton);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        // "回,日付,一等" in cp932 first; the totals and the cost last.
        QVERIFY(bytes.startsWith("\x89\xf1,\x93\xfa\x95\x74,\x88\xea\x93\x99,"));
        QVERIFY(bytes.contains("\r\n1,H12.10. 5,1,1,1,1,1,115514200\r\n2,H12.10.12,0,0,0,0,0,0\r\n"));
        QVERIFY(bytes.endsWith(",2400\r\n"));
    }

    void countsAgainWhenTheListChanges() {
        TestWindow t;
        openOnFullHistory(t, " 2, 8,10,13,27,30\n");
        QCOMPARE(cell(t, 0, 2), QStringLiteral("1"));
        t.appendLines(" 2, 8,10,13,27,39\n");
        QTRY_COMPARE_WITH_TIMEOUT(cell(t, 0, 3), QStringLiteral("1"), 60000);
        QCOMPARE(t.text("BacktestCostMemo"), QString::fromUtf8("85万4800円"));  // 2 × 200 × 2137
        // Another game empties the list and brings the whole ミニロト history.
        MessageBox::setNextAnswer(QMessageBox::No);  // the list is not saved
        QTest::mouseClick(t.find<QRadioButton>("MiniLotoRadioButton"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(grid(t)->model()->rowCount(), 1403, 60000);
        QCOMPARE(grid(t)->model()->columnCount(), 7);
        QCOMPARE(t.text("BacktestToMemo"), QStringLiteral("1403"));
        QCOMPARE(t.text("BacktestMoneyMemo"), QString::fromUtf8("0円"));
        QCOMPARE(t.text("BacktestReturnMemo"), QStringLiteral("--"));
    }

    // A history of 100,000 ロト６ draws: the round fields of the main window
    // and of the backtest show the whole newest round, not the "00000" a
    // narrower field scrolls to.
    void roundFieldsShowTheLargestRoundWhole() {
        TestWindow t;
        std::string text = "[ロト６当選番号]\r\n";
        for (int round = 1; round <= 100000; ++round)
            text += "第" + std::to_string(round) + "回(R08. 8.20)=12,18,35,40,41,43,03\r\n";
        QFile file(t.dir.filePath(QStringLiteral("lotodata.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const std::string bytes = utf8ToCp932(text, "lotodata.txt");
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("100000"));
        QVERIFY(showsWhole(t.find<QLineEdit>("PrizeMemo")));
        t.appendLines(" 2, 8,10,13,27,30\n");
        QTest::mouseClick(t.find<QPushButton>("BacktestBitBtn"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(t.text("BacktestToMemo"), QStringLiteral("100000"), 60000);
        QVERIFY(showsWhole(t.find<QLineEdit>("BacktestToMemo")));
        QVERIFY(showsWhole(t.find<QLineEdit>("BacktestFromMemo")));
    }
};

QTEST_MAIN(BacktestTest)
#include "tst_backtest.moc"
