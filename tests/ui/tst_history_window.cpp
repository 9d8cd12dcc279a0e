// The history window: the draws newest first, a double-click checking a
// round, adding, correcting and removing draws, and the bank's result files
// taken from the window, the File menu and a drop on the main window.

#include <QCoreApplication>
#include <QDateEdit>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "../core/result_file_support.h"
#include "io/text_file.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/history/draw_entry_dialog.h"
#include "ui/history/history_file_watcher.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The built-in history with ロト６ only to 第(2130 - draws)回 (the second
// section; the sections are separated by an empty line). The window reads it
// after its start, so it stays as written.
QByteArray fullWithoutNewestLoto6(int draws) {
    const QByteArray bytes = fileBytes(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE));
    const qsizetype end = bytes.indexOf("\r\n\r\n", bytes.indexOf("\r\n\r\n") + 4) + 2;
    QByteArray head = bytes.left(end);
    for (int i = 0; i < 7 + draws; ++i) head.truncate(head.lastIndexOf("\r\n", head.size() - 3) + 2);
    return head + bytes.mid(end);
}

// The window over a history file, in ロト６, with the history window open.
struct HistoryWindow {
    TestWindow t;
    QWidget* form = nullptr;
    QTableView* table = nullptr;

    explicit HistoryWindow(const QByteArray& history) {
        writeFileBytesAtomic(t.dir.filePath(QStringLiteral("lotodata.txt")).toStdString(), history.toStdString());
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        QTest::mouseClick(t.find<QPushButton>("RecordBitBtn"), Qt::LeftButton);
        form = t.find<QWidget>("THistoryForm");
        table = t.find<QTableView>("HistoryTableView");
    }
    QString cell(int row, int column) const { return table->model()->index(row, column).data().toString(); }
    QString historyFile() const { return t.dir.filePath(QStringLiteral("lotodata.txt")); }
    TDrawEntryDialog* openDialog(const char* button) const {
        QTest::mouseClick(t.find<QPushButton>(button), Qt::LeftButton);
        return form->findChild<TDrawEntryDialog*>();
    }
    void type(QDialog* dialog, const QStringList& mains, const QString& bonus) const {
        for (int i = 0; i < mains.size(); ++i) {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("MainNumber%1Edit").arg(i + 1));
            edit->clear();
            QTest::keyClicks(edit, mains[i]);
        }
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("BonusNumber1Edit"));
        edit->clear();
        QTest::keyClicks(edit, bonus);
    }
    QString writeResultFile(int round) const {
        const QString path = t.dir.filePath(QStringLiteral("loto6-%1.csv").arg(round));
        writeFileBytesAtomic(path.toStdString(), result_test::resultFileBytes(GameMode::Loto6, round));
        return path;
    }
};

}  // namespace

class HistoryWindowTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void listsTheDrawsNewestFirst() {
        HistoryWindow w(fullWithoutNewestLoto6(0));
        QVERIFY(w.form->isVisible());
        QCOMPARE(w.form->windowTitle(), QString::fromUtf8("当選番号の履歴"));
        QCOMPARE(w.table->model()->rowCount(), 2130);
        QCOMPARE(w.cell(0, 0), QStringLiteral("2130"));
        QCOMPARE(w.cell(0, 1), QString::fromUtf8("2026年8月20日(木)"));
        QCOMPARE(w.cell(0, 2), QStringLiteral("12 18 35 40 41 43"));
        QCOMPARE(w.cell(0, 3), QStringLiteral("03"));
        QCOMPARE(w.cell(2129, 0), QStringLiteral("1"));
        QCOMPARE(w.cell(2129, 1), QString::fromUtf8("2000年10月5日(木)"));
        QCOMPARE(w.t.find<QLabel>("HistoryCountLabel")->text(),
                 QString::fromUtf8("ロト６  全 2130 回　最新: 第2130回（2026年8月20日(木)）"));
        // The game switch shows the other game's draws.
        QTest::mouseClick(w.t.find<QRadioButton>("MiniLotoRadioButton"), Qt::LeftButton);
        QCOMPARE(w.table->model()->rowCount(), 1403);
        QCOMPARE(w.cell(0, 2), QStringLiteral("08 11 14 17 19"));
        // Esc closes it.
        w.form->activateWindow();
        QTRY_VERIFY(w.form->isActiveWindow());
        QTest::keyClick(w.table, Qt::Key_Escape);
        QVERIFY(!w.form->isVisible());
    }

    void doubleClickChecksThatRound() {
        HistoryWindow w(fullWithoutNewestLoto6(0));
        // 第2000回's numbers in the list: its first grade.
        w.t.appendLines("1,2,3,4,5,6\n");
        const int row = 130;  // 第2000回
        QCOMPARE(w.cell(row, 0), QStringLiteral("2000"));
        const QString numbers = w.cell(row, 2);
        w.t.appendLines(numbers.toLatin1().replace(' ', ',').constData());
        const QModelIndex index = w.table->model()->index(row, 0);
        w.table->scrollTo(index);
        const QPoint at = w.table->visualRect(index).center();
        QTest::mouseClick(w.table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(w.table->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2000"));
        QCOMPARE(w.t.text("Grade1Memo"), QStringLiteral("1"));
    }

    void addingADrawMovesTheBoardAndThePrizeRound() {
        HistoryWindow w(fullWithoutNewestLoto6(1));
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2129"));
        TDrawEntryDialog* dialog = w.openDialog("AddDrawBitBtn");
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("RoundLabel"))->text(), QString::fromUtf8("ロト６ 第2130回"));
        // The next ロト６ day after Monday 2026-08-17.
        QCOMPARE(dialog->findChild<QDateEdit*>(QStringLiteral("DateEdit"))->date(), QDate(2026, 8, 20));
        // The board holds 第2129回's marks: one button takes them.
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("FromBoardBitBtn")), Qt::LeftButton);
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("MainNumber1Edit"))->text(), QStringLiteral("2"));
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("BonusNumber1Edit"))->text(), QStringLiteral("40"));

        // A refusal keeps the dialog open with its reason.
        w.type(dialog, {"12", "18", "35", "40", "41", "43"}, "12");
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OkBitBtn")), Qt::LeftButton);
        auto* reason = dialog->findChild<QLabel*>(QStringLiteral("ReasonLabel"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(reason->text(), QString::fromUtf8("ボーナス数字 12 が本数字と重なっています。"));
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(1));

        // 第2130回 of the verified list.
        w.t.appendLines("12,18,35,40,41,43\n");
        w.type(dialog, {"12", "18", "35", "40", "41", "43"}, "3");
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OkBitBtn")), Qt::LeftButton);
        QTRY_VERIFY(!w.form->findChild<TDrawEntryDialog*>());
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(0));
        QCOMPARE(fileBytes(w.t.dir.filePath(QStringLiteral("lotodata.bak"))), fullWithoutNewestLoto6(1));
        QCOMPARE(w.cell(0, 0), QStringLiteral("2130"));
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2130"));
        QVERIFY(w.t.session().board().has(12, Main));
        QVERIFY(w.t.session().board().has(3, Bonus));
        // The check ran against the new draw.
        QTRY_COMPARE_WITH_TIMEOUT(w.t.text("Grade1Memo"), QStringLiteral("1"), 60000);
    }

    void correctingAndRemovingTheNewest() {
        HistoryWindow w(fullWithoutNewestLoto6(0));
        TDrawEntryDialog* dialog = w.openDialog("CorrectDrawBitBtn");
        QCOMPARE(dialog->findChild<QLabel*>(QStringLiteral("RoundLabel"))->text(), QString::fromUtf8("ロト６ 第2130回"));
        QCOMPARE(dialog->findChild<QLineEdit*>(QStringLiteral("MainNumber6Edit"))->text(), QStringLiteral("43"));
        QCOMPARE(dialog->findChild<QDateEdit*>(QStringLiteral("DateEdit"))->date(), QDate(2026, 8, 20));
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("CancelBitBtn")), Qt::LeftButton);
        QTRY_VERIFY(!w.form->findChild<TDrawEntryDialog*>());

        // No: nothing happens. Yes: the newest draw goes.
        MessageBox::setNextAnswer(QMessageBox::No);
        QTest::mouseClick(w.t.find<QPushButton>("DeleteDrawBitBtn"), Qt::LeftButton);
        QCOMPARE(w.table->model()->rowCount(), 2130);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(w.t.find<QPushButton>("DeleteDrawBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts().last(),
                 QString::fromUtf8("ロト６ 第2130回（2026年8月20日(木)）の当選番号を削除しますか？\n（削除前のファイルは "
                                   "lotodata.bak に残ります）"));
        QCOMPARE(w.table->model()->rowCount(), 2129);
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2129"));
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(1));
    }

    void aDropOfTwoFilesImportsThem() {
        HistoryWindow w(fullWithoutNewestLoto6(2));
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(w.writeResultFile(2130)), QUrl::fromLocalFile(w.writeResultFile(2129))});
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w.t.window.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(20, 20), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QCoreApplication::sendEvent(w.t.window.get(), &drop);
        QTRY_COMPARE_WITH_TIMEOUT(w.t.text("PrizeMemo"), QStringLiteral("2130"), 60000);
        delete data;
        QCOMPARE(MessageBox::shownTexts().last(), QString::fromUtf8("ロト６ 第2129回〜第2130回（2 回分）を追加しました。"));
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(0));
        QCOMPARE(w.cell(0, 0), QStringLiteral("2130"));
    }

    void importFromTheMenuAndTheWindowNamesWhatWasNotTaken() {
        HistoryWindow w(fullWithoutNewestLoto6(2));
        // A gap: 第2129回 is missing, so 第2130回 waits.
        FileDialog::setNextFileNames({w.writeResultFile(2130)});
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(w.t.trigger("ImportHistory"));
        QCOMPARE(MessageBox::shownTexts().last(),
                 QString::fromUtf8("ロト６ 第2129回の結果がないため、第2130回以降は追加しませんでした。"));
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(2));
        // From the window's button, both files: added.
        FileDialog::setNextFileNames({w.writeResultFile(2130), w.writeResultFile(2129)});
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(w.t.find<QPushButton>("ImportBitBtn"), Qt::LeftButton);
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2130"));
        // A cancelled dialog does nothing.
        FileDialog::setNextFileNames({});
        QTest::mouseClick(w.t.find<QPushButton>("ImportBitBtn"), Qt::LeftButton);
        QCOMPARE(fileBytes(w.historyFile()), fullWithoutNewestLoto6(0));
    }

    // tambor-cli or another window replacing lotodata.txt: the window reads
    // it again and says so; its own changes are no news.
    void aHistoryChangedByAnotherProgramIsReadAgain() {
        HistoryWindow w(fullWithoutNewestLoto6(3));
        QCOMPARE(w.cell(0, 0), QStringLiteral("2127"));
        QSignalSpy reloaded(w.t.find<HistoryFileWatcher>("HistoryFileWatcher"), &HistoryFileWatcher::reloaded);
        // A temporary renamed over the file, as every save of the program does.
        writeFileBytesAtomic(w.historyFile().toStdString(), fullWithoutNewestLoto6(1).toStdString());
        QVERIFY(reloaded.wait(60000));
        QCOMPARE(w.cell(0, 0), QStringLiteral("2129"));
        QCOMPARE(w.t.text("PrizeMemo"), QStringLiteral("2129"));
        QCOMPARE(w.t.window->statusBar()->currentMessage(), QString::fromUtf8("当選番号ファイルが更新されました"));
        // Written in place, as an editor may.
        {
            QFile file(w.historyFile());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(fullWithoutNewestLoto6(0));
        }
        QVERIFY(reloaded.wait(60000));
        QCOMPARE(w.cell(0, 0), QStringLiteral("2130"));
        // The window's own change re-reads the file itself: nothing left to notice.
        MessageBox::setNextAnswer(QMessageBox::Yes);
        QTest::mouseClick(w.t.find<QPushButton>("DeleteDrawBitBtn"), Qt::LeftButton);
        QCOMPARE(w.cell(0, 0), QStringLiteral("2129"));
        QVERIFY(!w.t.session().historyFileChanged());
    }
};

QTEST_MAIN(HistoryWindowTest)
#include "tst_history_window.moc"
