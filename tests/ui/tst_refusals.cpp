// Every refusal of the program, one row each: the command does nothing, no
// dialog shows, and the status bar says why for a few seconds (the hints of
// the controls under the mouse wait meanwhile).

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QSpinBox>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/printer.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

QString statusText(const TestWindow& t) { return t.find<QStatusBar>("StatusBar")->currentMessage(); }

void click(const TestWindow& t, const char* button) { t.find<QAbstractButton>(button)->click(); }

void key(const TestWindow& t, const char* listBox, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    auto* view = t.find<QListView>(listBox);
    view->setFocus();
    QTest::keyClick(view, k, modifiers);
}

void mark(const TestWindow& t, const char* roleButton, std::initializer_list<int> numbers) {
    click(t, roleButton);
    for (int n : numbers) t.clickNumber(n);
}

// A button clicked while another command runs.
std::function<void(TestWindow&)> whileBusy(const char* button) {
    return [button](TestWindow& t) {
        t.appendLines(" 1, 2, 3, 4, 5\r\n");
        mark(t, "TogetherRadioButton", {1, 2, 3, 4, 5});
        LongOperation op(t.window->waitForm(), false);
        click(t, button);
    };
}

struct Refusal {
    const char* name;
    std::function<void(TestWindow&)> act;
    const char* reason;
    bool printer = false;  // the window starts with a printer
};

const std::vector<Refusal>& refusals() {
    static const std::vector<Refusal> rows = {
        // The number board's limits.
        {"sixth_fixed_number",
         [](TestWindow& t) { mark(t, "FixRadioButton", {1, 2, 3, 4, 5, 6}); },
         "固定数字は5個までです"},
        {"second_bonus_number",
         [](TestWindow& t) {
             mark(t, "BonusRadioButton", {});
             click(t, "AllowAllUpSpeedButton");
             t.clickNumber(1);
             t.clickNumber(2);
         },
         "ボーナス数字は1個までです"},
        {"twenty_seventh_together_number",
         [](TestWindow& t) {
             t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
             mark(t, "TogetherRadioButton", {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                             15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27});
         },
         "連動数字は26個までです（軸数字0個のとき）"},
        {"axis_number_with_the_r_system",
         [](TestWindow& t) {
             click(t, "RSystemCheckBox");
             t.clickNumber(3, Qt::RightButton);  // the together role's pair
         },
         "Rシステムでは軸数字は使えません"},
        // Commands with nothing to work on.
        {"build_with_too_few_numbers",
         [](TestWindow& t) {
             mark(t, "TogetherRadioButton", {1, 2, 3});
             click(t, "CombiBitBtn");
         },
         "軸数字と連動数字を合わせて5個以上選んでください"},
        {"sort_of_an_empty_list", [](TestWindow& t) { click(t, "SortBitBtn"); }, "並べ替える組み合わせがありません"},
        // The filter conditions.
        {"narrow_without_conditions",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             click(t, "FilterBitBtn");
             click(t, "NarrowBitBtn");
         },
         "絞り込み条件が選ばれていません"},
        {"narrow_of_an_empty_list",
         [](TestWindow& t) {
             click(t, "FilterBitBtn");
             click(t, "FilterOddCheckBox");
             click(t, "NarrowBitBtn");
         },
         "絞り込む組み合わせがありません"},
        {"narrow_when_every_line_passes",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n 2, 3, 4, 5, 6\r\n");
             click(t, "FilterBitBtn");
             click(t, "FilterOddCheckBox");  // the whole span
             click(t, "NarrowBitBtn");
         },
         "すべての組み合わせが条件を満たしています"},
        {"draw_short_of_its_count_under_conditions",
         [](TestWindow& t) {
             mark(t, "FixRadioButton", {1, 2, 3, 4, 5});
             click(t, "FilterBitBtn");
             t.find<QSpinBox>("FilterConsecutiveMaxSpinBox")->setValue(3);
             t.find<QLineEdit>("LotMemo")->setText(QStringLiteral("1"));
             click(t, "LotBitBtn");
         },
         "条件を満たす組み合わせは 0 口しか見つかりませんでした（100 口を抽選）"},
        {"prize_check_without_winning_numbers",
         [](TestWindow& t) {
             mark(t, "MainRadioButton", {});
             click(t, "AllowAllUpSpeedButton");
             click(t, "PrizeBitBtn");
         },
         "当選番号（本数字5個とボーナス数字1個）がそろっていません"},
        {"undo_with_nothing_done",
         [](TestWindow& t) {
             t.window->activateWindow();  // Ctrl+Z belongs to the active window
             QTRY_VERIFY(t.window->isActiveWindow());
             key(t, "PickListBox", Qt::Key_Z);
         },
         "元に戻せる操作がありません"},
        // The clipboard and the list keys.
        {"paste_without_combinations",
         [](TestWindow& t) {
             QApplication::clipboard()->setText(QStringLiteral("no numbers"));
             key(t, "PickListBox", Qt::Key_V);
         },
         "貼り付けた文字から組み合わせが見つかりませんでした"},
        {"paste_of_listed_lines",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n");
             QApplication::clipboard()->setText(QStringLiteral(" 1, 2, 3, 4, 5\r\n 1, 2, 3, 4, 6\r\n"));
             key(t, "PickListBox", Qt::Key_V);
         },
         "同じ組み合わせはすでに一覧にあります（2 口）"},
        {"paste_without_clipboard_text",
         [](TestWindow& t) {
             QApplication::clipboard()->clear();
             key(t, "PickListBox", Qt::Key_V);
         },
         "クリップボードに文字がありません"},
        {"paste_into_the_duplicate_list",
         [](TestWindow& t) {
             QApplication::clipboard()->setText(QStringLiteral("1,2,3,4,5"));
             key(t, "DupListBox", Qt::Key_V);
         },
         "この一覧では使えない操作です"},
        {"cut_without_a_selection",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             key(t, "PickListBox", Qt::Key_T);
         },
         "行が選択されていません"},
        {"delete_without_a_selection",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             key(t, "PickListBox", Qt::Key_Delete, Qt::NoModifier);
         },
         "行が選択されていません"},
        {"copy_without_a_selection",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             key(t, "PickListBox", Qt::Key_C);
         },
         "行が選択されていません"},
        {"backtest_copy_without_a_selection",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             click(t, "BacktestBitBtn");
             auto* grid = t.find<QTableView>("BacktestGrid");
             grid->clearSelection();
             QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
         },
         "行が選択されていません"},
        // Files.
        {"load_of_a_file_without_combinations",
         [](TestWindow& t) {
             const QString path = t.dir.filePath(QStringLiteral("empty.txt"));
             QFile file(path);
             QVERIFY(file.open(QIODevice::WriteOnly));
             file.write("nothing here\r\n");
             file.close();
             FileDialog::setNextFileName(path);
             click(t, "LoadBitBtn");
         },
         "読み込める組み合わせがありませんでした（empty.txt）"},
        {"load_of_listed_lines",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             const QString path = t.dir.filePath(QStringLiteral("same.csv"));
             QFile file(path);
             QVERIFY(file.open(QIODevice::WriteOnly));
             file.write(" 1, 2, 3, 4, 5\r\n");
             file.close();
             FileDialog::setNextFileName(path);
             click(t, "LoadBitBtn");
         },
         "同じ組み合わせはすでに一覧にあります（1 口）"},
        // The grid editor holds the list.
        {"undo_while_the_editor_is_open",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             click(t, "ClearBitBtn");
             t.appendLines(" 1, 2, 3, 4, 6\r\n");
             click(t, "EditBitBtn");
             t.window->activateWindow();
             QTRY_VERIFY(t.window->isActiveWindow());
             QTest::keyClick(t.find<QWidget>("PickListBox"), Qt::Key_Z, Qt::ControlModifier);
             t.find<QWidget>("TEditForm")->close();
         },
         "編集画面を閉じるまで一覧は変更できません"},
        {"paste_while_the_editor_is_open",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             click(t, "EditBitBtn");
             QApplication::clipboard()->setText(QStringLiteral("1,2,3,4,6"));
             key(t, "PickListBox", Qt::Key_V);
             t.find<QWidget>("TEditForm")->close();
         },
         "編集画面を閉じるまで一覧は変更できません"},
        // Commands while another one runs.
        {"draw_while_busy", whileBusy("LotBitBtn"), "処理中です"},
        {"build_while_busy", whileBusy("CombiBitBtn"), "処理中です"},
        {"sort_while_busy", whileBusy("SortBitBtn"), "処理中です"},
        {"clear_while_busy", whileBusy("ClearBitBtn"), "処理中です"},
        {"duplicate_clear_while_busy", whileBusy("DupClearBitBtn"), "処理中です"},
        {"edit_while_busy", whileBusy("EditBitBtn"), "処理中です"},
        {"save_while_busy", whileBusy("SaveBitBtn"), "処理中です"},
        {"load_while_busy", whileBusy("LoadBitBtn"), "処理中です"},
        {"prize_check_while_busy", whileBusy("PrizeBitBtn"), "処理中です"},
        {"backtest_while_busy", whileBusy("BacktestBitBtn"), "処理中です"},
        {"guarantee_check_while_busy", whileBusy("GuaranteeBitBtn"), "処理中です"},
        {"narrow_while_busy",
         [](TestWindow& t) {
             click(t, "FilterBitBtn");
             whileBusy("NarrowBitBtn")(t);
         },
         "処理中です"},
        {"game_switch_while_busy", whileBusy("Loto6RadioButton"), "処理中です"},
        {"print_while_busy", whileBusy("PrintBitBtn"), "処理中です", true},
        {"print_test_while_busy", whileBusy("PrintTestBitBtn"), "処理中です", true},
        {"printer_margins_while_busy", whileBusy("GetMarginBitBtn"), "処理中です", true},
        {"board_clear_while_busy", whileBusy("AllowAllUpSpeedButton"), "処理中です"},
        {"editor_ok_while_busy",
         [](TestWindow& t) {
             t.appendLines(" 1, 2, 3, 4, 5\r\n");
             click(t, "EditBitBtn");
             auto* editor = t.find<QWidget>("TEditForm");
             {
                 LongOperation op(t.window->waitForm(), false);
                 editor->findChild<QAbstractButton*>(QStringLiteral("OKBitBtn"))->click();
                 QVERIFY(editor->isVisible());
             }
             editor->close();
         },
         "処理中です"},
        {"number_while_busy",
         [](TestWindow& t) {
             LongOperation op(t.window->waitForm(), false);
             t.clickNumber(7);
         },
         "処理中です"},
        {"update_while_busy",
         [](TestWindow& t) {
             LongOperation op(t.window->waitForm(), false);
             QVERIFY(t.trigger("Renew"));
         },
         "処理中です"},
        {"list_key_while_busy",
         [](TestWindow& t) {
             LongOperation op(t.window->waitForm(), false);
             key(t, "PickListBox", Qt::Key_A);
         },
         "処理中です"},
        {"close_while_busy",
         [](TestWindow& t) {
             LongOperation op(t.window->waitForm(), false);
             QVERIFY(!t.window->close());
         },
         "処理中です"},
    };
    return rows;
}

}  // namespace

class RefusalsTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void everyRefusalSaysWhy_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < refusals().size(); ++i)
            QTest::newRow(refusals()[i].name) << static_cast<int>(i);
    }
    void everyRefusalSaysWhy() {
        QFETCH(int, row);
        const Refusal& refusal = refusals()[static_cast<std::size_t>(row)];
        QTemporaryDir printed;
        if (refusal.printer)
            setTestPrinter(TestPrinter{QStringLiteral("Tambor Test Printer"), QPageSize(QPageSize::A4), QMarginsF(),
                                       printed.filePath(QStringLiteral("printer.pdf"))});
        TestWindow t;
        setTestPrinter(std::nullopt);
        refusal.act(t);
        // Strict dialogs: any message box would have failed the row already.
        QCOMPARE(statusText(t), QString::fromUtf8(refusal.reason));
    }

    // The reason stays while the mouse moves over controls; afterwards the
    // hint of the control under the mouse shows again.
    void reasonHoldsTheHintsForAFewSeconds() {
        TestWindow t;
        click(t, "SortBitBtn");
        QCOMPARE(statusText(t), QString::fromUtf8("並べ替える組み合わせがありません"));
        QStatusTipEvent hover(QString::fromUtf8("ヒント"));
        QApplication::sendEvent(t.window.get(), &hover);
        QCOMPARE(statusText(t), QString::fromUtf8("並べ替える組み合わせがありません"));
        auto* timer = t.find<QTimer>("RefusalTimer");
        QVERIFY(timer->isActive());
        QVERIFY(timer->interval() >= 3000);
        timer->start(0);  // the few seconds, passed at once
        QTRY_COMPARE(statusText(t), QString::fromUtf8("ヒント"));
    }
};

QTEST_MAIN(RefusalsTest)
#include "tst_refusals.moc"
