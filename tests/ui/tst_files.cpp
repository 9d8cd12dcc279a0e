// Saving and loading through the real window, the close question that
// saves, and the options surviving a restart in Tambor.ini.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "session/session.h"
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

    // The type picked in the save dialog gives a bare name its extension,
    // and the extension the layout; the save format preselects the type.
    void saveDialogTypeDecidesFormatAndExtension() {
        TestWindow t;
        t.appendLines("3,12,17,25,31\n1,2,3,4,5\n");
        const QString csvType = QStringLiteral("CSV (カンマ区切り) (*.csv)");
        const QString textType = QStringLiteral("テキストファイル(*.txt)");
        FileDialog::setNextFileName(t.dir.filePath("mylist"));
        FileDialog::setNextFilter(textType);
        QVERIFY(t.trigger("Save"));
        QCOMPARE(FileDialog::lastOffer().selectedFilter, csvType);
        QVERIFY(!QFile::exists(t.dir.filePath("mylist")));
        QVERIFY(readAll(t.dir.filePath("mylist.txt")).contains("||"));  // the text layout
        // The text format preselects its type; a name with its own extension keeps it.
        t.model().run([](Session& s) { return s.changeOptions([](Options& o) { o.saveFormat = SaveFormat::Text; }); });
        FileDialog::setNextFileName(t.dir.filePath("second"));
        QVERIFY(t.trigger("Save"));
        QCOMPARE(FileDialog::lastOffer().selectedFilter, textType);
        QVERIFY(readAll(t.dir.filePath("second.txt")).contains("||"));
        FileDialog::setNextFileName(t.dir.filePath("third.csv"));
        FileDialog::setNextFilter(textType);
        QVERIFY(t.trigger("Save"));
        QVERIFY(!readAll(t.dir.filePath("third.csv")).contains("||"));
        // 「すべてのファイル」 gives the save format's extension.
        FileDialog::setNextFileName(t.dir.filePath("fourth"));
        FileDialog::setNextFilter(QStringLiteral("すべてのファイル(*.*)"));
        QVERIFY(t.trigger("Save"));
        QVERIFY(QFile::exists(t.dir.filePath("fourth.txt")));
    }

    // The dialogs start in the folder last used, else the documents folder,
    // never in the program's data folder.
    void fileDialogsStartInTheFolderLastUsed() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString first = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        FileDialog::setNextFileName(QString());
        QVERIFY(t.trigger("Load"));
        QCOMPARE(FileDialog::lastOffer().folder, first);
        // A save in the data folder itself is no reason to start there.
        FileDialog::setNextFileName(t.dir.filePath("here.csv"));
        QVERIFY(t.trigger("Save"));
        FileDialog::setNextFileName(QString());
        QVERIFY(t.trigger("Save"));
        QCOMPARE(FileDialog::lastOffer().folder, first);
        QVERIFY(QDir().mkpath(t.dir.filePath("lists")));
        FileDialog::setNextFileName(t.dir.filePath("lists/a.csv"));
        QVERIFY(t.trigger("Save"));
        FileDialog::setNextFileName(QString());
        QVERIFY(t.trigger("Load"));
        QCOMPARE(FileDialog::lastOffer().folder, t.dir.filePath("lists"));
    }

    // Saving over the program's own files is refused with a message.
    void theProgramsOwnFilesAreRefusedAsSaveTargets() {
        TestWindow t;
        t.appendLines("1,2,3,4,5\n");
        const QByteArray history = readAll(t.dir.filePath("lotodata.txt"));
        for (const char* name : {"lotodata.txt", "lotodata.bak", "Tambor.ini"}) {
            MessageBox::clearShownTexts();
            const QString path = t.dir.filePath(QString::fromLatin1(name));
            const QByteArray before = readAll(path);
            FileDialog::setNextFileName(path);
            MessageBox::setNextAnswer(QMessageBox::Ok);
            QVERIFY(t.trigger("Save"));
            QCOMPARE(MessageBox::shownTexts().size(), 1);
            QVERIFY2(MessageBox::shownTexts().first().contains(QStringLiteral("『タンボル』が使うファイルです")),
                     qPrintable(MessageBox::shownTexts().first()));
            QCOMPARE(readAll(path), before);
        }
        QCOMPARE(readAll(t.dir.filePath("lotodata.txt")), history);
        QVERIFY(t.session().list().changed());
    }

    // The File menu lists the files last opened or saved, newest first; one
    // opens as the load command would; a missing one is said and dropped;
    // the list is kept in Tambor.ini.
    void recentFilesOpenAndAreKept() {
        QTemporaryDir dir;
        {
            TestWindow t;
            t.appendLines("1,2,3,4,5\n");
            FileDialog::setNextFileName(dir.filePath("one.csv"));
            QVERIFY(t.trigger("Save"));
            t.appendLines("6,7,8,9,10\n");
            FileDialog::setNextFileName(dir.filePath("two.csv"));
            QVERIFY(t.trigger("Save"));
            auto* menu = t.find<QMenu>("RecentMenu");
            emit menu->aboutToShow();
            QCOMPARE(t.find<QAction>("Recent1")->text(), QStringLiteral("&1 two.csv"));
            QCOMPARE(t.find<QAction>("Recent2")->text(), QStringLiteral("&2 one.csv"));
            QCOMPARE(t.find<QAction>("Recent2")->statusTip(), QStringLiteral("「%1」を読み込みます。").arg(dir.filePath("one.csv")));
            // Opening the older one: the list is replaced after the question, as Load does.
            t.model().run([](Session& s) { return s.clearList(); });
            QVERIFY(t.trigger("Recent2"));
            QCOMPARE(t.session().list().size(), 1u);
            emit menu->aboutToShow();
            QCOMPARE(t.find<QAction>("Recent1")->text(), QStringLiteral("&1 one.csv"));
            // A file gone since: said, and dropped from the list.
            QFile::remove(dir.filePath("two.csv"));
            MessageBox::setNextAnswer(QMessageBox::Ok);
            QVERIFY(t.trigger("Recent2"));
            QVERIFY(MessageBox::shownTexts().last().contains(QStringLiteral("two.csv")));
            QCOMPARE(t.session().options().recentFiles, std::vector<std::string>{dir.filePath("one.csv").toStdString()});
            t.session().writeSettings(nullptr);
            QVERIFY(readAll(t.dir.filePath("Tambor.ini")).contains(QByteArray("RecentFile1=") + dir.filePath("one.csv").toUtf8()));
        }
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
