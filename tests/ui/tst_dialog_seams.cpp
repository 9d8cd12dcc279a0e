// The dialog seams are strict: a dialog a test did not answer is reported
// (and never shows or blocks), and answers never outlive their test.

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// Records unanswered dialogs instead of failing, for the length of a test.
struct RecordUnanswered {
    QStringList dialogs;
    RecordUnanswered() {
        setDialogTestMode([this](const QString& what) { dialogs << what; });
    }
    ~RecordUnanswered() { tambor::ui::testing::installStrictDialogs(); }
};

}  // namespace

class DialogSeamsTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void unansweredMessageBoxIsCaught() {
        TestWindow t;
        RecordUnanswered record;
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);  // empty list: a refusal
        QCOMPARE(record.dialogs.size(), 1);
        QVERIFY(record.dialogs.first().contains(QString::fromUtf8("数字の組み合わせがないので保存できません。")));
    }

    void unansweredFileDialogIsCaughtAndNothingSaved() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        RecordUnanswered record;
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);
        QCOMPARE(record.dialogs.size(), 1);
        QVERIFY(record.dialogs.first().startsWith(QStringLiteral("save dialog")));
        QVERIFY(t.session().list().changed());
        // Only the program's own files are in the folder.
        QCOMPARE(QDir(t.dir.path()).entryList(QDir::Files, QDir::Name),
                 (QStringList{QStringLiteral("Tambor.ini"), QStringLiteral("lotodata.txt")}));
    }

    // The answers this test queues and leaves unused ...
    void answersLeftOver() {
        MessageBox::setNextAnswer(QMessageBox::Yes);
        FileDialog::setNextFileName(QStringLiteral("left-over.csv"));
    }

    // ... never answer the next test's dialogs.
    void leftOverAnswersDoNotReachTheNextTest() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        RecordUnanswered record;
        QVERIFY(!t.window->close());  // the close question, unanswered: cancelled
        QCOMPARE(record.dialogs.size(), 1);
        QVERIFY(record.dialogs.first().startsWith(QStringLiteral("message box")));
        MessageBox::setNextAnswer(QMessageBox::No);
        QVERIFY(t.window->close());
    }
};

QTEST_MAIN(DialogSeamsTest)
#include "tst_dialog_seams.moc"
