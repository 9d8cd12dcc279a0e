// Saving and loading through the real window, the close question that
// saves, and the options surviving a restart in Tambor.ini.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/wait_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

}  // namespace

class FilesTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void saveWritesCsvAndClearsTheChangedFlag() {
        TestWindow t;
        t.appendLines("3,12,17,25,31\n1,2,3,4,5\n");
        const QString path = t.dir.filePath("list.csv");
        FileDialog::setNextFileName(path);
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);
        QCOMPARE(readAll(path), QByteArray("[\x83\x7e\x83\x6a\x83\x8d\x83\x67]\r\n\r\n  3,12,17,25,31\r\n  1, 2, 3, 4, 5\r\n\r\n"));
        QVERIFY(!t.session().list().changed());
    }

    void saveOfAnEmptyListRefuses() {
        TestWindow t;
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QPushButton>("SaveBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8("数字の組み合わせがないので保存できません。")});
    }

    void closeQuestionYesSavesAndCancelledSaveKeepsTheWindow() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        FileDialog::setNextFileName(QString());  // the save dialog is cancelled
        QVERIFY(!t.window->close());
        const QString path = t.dir.filePath("kept.txt");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        FileDialog::setNextFileName(path);
        QVERIFY(t.window->close());
        QVERIFY(readAll(path).contains("  1, 2, 3, 4, 5"));
    }

    void failedSaveKeepsTheOldFileAndTheWindow() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        MessageBox::setNextAnswer(QMessageBox::Yes);
        MessageBox::setNextAnswer(QMessageBox::Ok);  // the failure
        FileDialog::setNextFileName(t.dir.filePath("no-such-folder/list.csv"));
        QVERIFY(!t.window->close());
        QCOMPARE(MessageBox::shownTexts().size(), 2);
        QVERIFY(MessageBox::shownTexts().at(1).contains(QStringLiteral("list.csv")));
        QVERIFY(t.session().list().changed());
    }

    void loadSwitchesTheGameByTheHeaderAfterAsking() {
        TestWindow t;
        const QString path = t.dir.filePath("six.txt");
        // "[ロト６]" in cp932, then two combinations and a repeat.
        writeFile(path, QByteArray("[\x83\x8d\x83\x67\x82\x55]\r\n\r\n  1, 2, 3, 4, 5, 6   ||  7, 8, 9,10,11,12\r\n 1,2,3,4,5,6\r\n"));
        t.appendLines("1,2,3,4,5\n");
        MessageBox::setNextAnswer(QMessageBox::No);
        FileDialog::setNextFileName(path);
        QTest::mouseClick(t.find<QPushButton>("LoadBitBtn"), Qt::LeftButton);
        QCOMPARE(t.session().mode(), GameMode::Loto6);
        QCOMPARE(t.session().list().size(), 2u);
        QCOMPARE(t.session().list().duplicates().size(), 1u);
        QCOMPARE(t.text("PickMemo"), QStringLiteral("2"));
        QVERIFY(!t.session().list().changed());  // the list equals the file
    }

    void loadOfAMissingFileSaysSoAndChangesNothing() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        FileDialog::setNextFileName(t.dir.filePath("missing.csv"));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QPushButton>("LoadBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().first().contains(QStringLiteral("missing.csv")));
        QCOMPARE(t.session().list().size(), 1u);
        QVERIFY(!t.window->waitForm().busy());
    }

    void optionsSurviveARestart() {
        QTemporaryDir dir;
        {
            TMainForm window({dir.path().toStdString()});
            window.show();
            QVERIFY(QFile::exists(dir.filePath("Tambor.ini")));
            window.findChild<QRadioButton*>("Loto6RadioButton")->click();
            window.findChild<QRadioButton*>("TextRadioButton")->click();
            window.findChild<QCheckBox*>("ESC_Action_CheckBox")->setChecked(true);
            window.findChild<QCheckBox*>("RSystemCheckBox")->setChecked(true);
            window.findChild<QComboBox*>("ArrangeModeComboBox")->setCurrentIndex(2);
            window.findChild<QComboBox*>("LotModeComboBox")->setCurrentIndex(4);
            window.findChild<QCheckBox*>("PastRemoveCheckBox")->setChecked(true);
            window.findChild<QLineEdit*>("DefMemo")->setText(QStringLiteral("77"));
            QVERIFY(window.close());
        }
        const QByteArray ini = readAll(dir.filePath("Tambor.ini"));
        QVERIFY(ini.contains("Mini6Mode=1\r\n"));
        TMainForm window({dir.path().toStdString()});
        window.show();
        QCOMPARE(window.session().mode(), GameMode::Loto6);
        QVERIFY(window.findChild<QRadioButton*>("TextRadioButton")->isChecked());
        QVERIFY(window.findChild<QCheckBox*>("ESC_Action_CheckBox")->isChecked());
        QVERIFY(window.findChild<QCheckBox*>("RSystemCheckBox")->isChecked());
        QCOMPARE(window.findChild<QComboBox*>("ArrangeModeComboBox")->currentIndex(), 2);
        QCOMPARE(window.findChild<QComboBox*>("LotModeComboBox")->currentIndex(), 4);
        QVERIFY(window.session().options().pastRemove);
        QCOMPARE(window.findChild<QLineEdit*>("DefMemo")->text(), QStringLiteral("77"));
        QCOMPARE(window.findChild<QLineEdit*>("LotMemo")->text(), QStringLiteral("77"));
    }

    // One undecodable line is reported once; every other setting still counts.
    void undecodableSettingsLineIsReportedOnceAndTheRestKept() {
        QTemporaryDir dir;
        writeFile(dir.filePath("Tambor.ini"), QByteArray("Mini6Mode=1\r\n\xff\xff\r\nRSystem=1\r\n"));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        TMainForm window({dir.path().toStdString()});
        window.show();
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().first().contains(QStringLiteral("Tambor.ini")));
        QVERIFY(MessageBox::shownTexts().first().contains(QStringLiteral("2 行目")));
        QCOMPARE(window.session().mode(), GameMode::Loto6);
        QVERIFY(window.findChild<QCheckBox*>("RSystemCheckBox")->isChecked());
    }
};

QTEST_MAIN(FilesTest)
#include "tst_files.moc"
