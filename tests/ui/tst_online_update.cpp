// The online update driven through the real main window against a real
// HTTP server on 127.0.0.1: the tool button, the wait window, the re-read
// history with the prize check run again, the messages and the version-up
// controls.

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QStyle>

#include "history/online_update.h"
#include "http/test_http_server.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/wait_form.h"
#include "ui/update/online_update.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::testing::ServedFile;
using tambor::testing::TestHttpServer;
using tambor::ui::testing::TestWindow;

namespace {

constexpr std::int64_t kServerTime = 1787216400;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string servedHistory() {
    return fileBytes(QStringLiteral(TAMBOR_TEST_DATA_DIR "/update/lotodata.txt")).toStdString();
}

// The built-in history as an older program left it: ミニロト only to 第1400回
// (the first section ends at the first empty line). The window reads it
// again, as it would at its next start.
void useOlderHistory(TestWindow& t) {
    const QByteArray full = fileBytes(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE));
    const qsizetype end = full.indexOf("\r\n\r\n") + 2;
    QByteArray head = full.left(end);
    for (int i = 0; i < 3; ++i) head.truncate(head.lastIndexOf("\r\n", head.size() - 3) + 2);
    writeFileBytesAtomic(t.dir.filePath(QStringLiteral("lotodata.txt")).toStdString(), (head + full.mid(end)).toStdString());
    t.model().run([](Session& s) { return s.loadHistory(); });
}

void pointAt(TestWindow& t, const TestHttpServer& server) {
    const std::string url = server.baseUrl();
    t.model().run([&](Session& s) { return s.changeOptions([&](Options& o) { o.updateUrl = url; }); });
}

// Clicks the tool button and waits until the update has said everything.
bool renewAndWait(TestWindow& t) {
    QSignalSpy done(&t.window->onlineUpdate(), &OnlineUpdate::updateFinished);
    QTest::mouseClick(t.find<QToolButton>("RenewToolButton"), Qt::LeftButton);
    return done.wait(60000);
}

}  // namespace

class OnlineUpdateTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void renewDownloadsRereadsAndChecksTheNewestDraw() {
        TestWindow t;
        TestHttpServer server;
        server.serve("/lotodata.txt", {servedHistory(), kServerTime});
        server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
        pointAt(t, server);
        useOlderHistory(t);
        const QByteArray older = fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt")));
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("1400"));
        // ミニロト 1403 (2026-09-08): 08,11,14,17,19 and bonus 24.
        t.appendLines("8,11,14,17,19\n8,11,14,17,24\n");

        QSignalSpy done(&t.window->onlineUpdate(), &OnlineUpdate::updateFinished);
        QTest::mouseClick(t.find<QToolButton>("RenewToolButton"), Qt::LeftButton);
        QVERIFY(t.window->waitForm().busy());
        QCOMPARE(t.window->waitForm().labelText(), QString::fromUtf8("インターネットに接続中です..."));
        // A second request while one runs does nothing.
        QVERIFY(t.trigger("Renew"));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(done.wait(60000));

        QCOMPARE(server.requestsFor("/lotodata.txt"), 1);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromStdString(completionMessage(kServerTime))});
        QVERIFY(!t.window->waitForm().busy());
        QCOMPARE(t.window->waitForm().labelText(), QString::fromUtf8("しばらくお待ち下さい..."));
        QCOMPARE(fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt"))),
                 fileBytes(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE)));
        QCOMPARE(fileBytes(t.dir.filePath(QStringLiteral("lotodata.bak"))), older);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("1403"));
        for (int n : {8, 11, 14, 17, 19}) QVERIFY(t.session().board().has(n, Main));
        QVERIFY(t.session().board().has(24, Bonus));
        // The prize check ran again on that draw.
        QCOMPARE(t.text("Grade1Memo"), QStringLiteral("1"));
        QCOMPARE(t.text("Grade2Memo"), QStringLiteral("1"));
        QVERIFY(!t.find<QAction>("VerUp")->isVisible());
    }

    void upToDateAndANewerVersion() {
        TestWindow t;
        TestHttpServer server;
        server.serve("/lotodata.txt", {servedHistory(), kServerTime});
        server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
        pointAt(t, server);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(renewAndWait(t));

        server.serve("/notify.txt", {"Version=Ver 1.3.0\r\n", kServerTime});
        MessageBox::clearShownTexts();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(renewAndWait(t));
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromUtf8("ファイルは最新の状態です。")});
        QVERIFY(t.find<QAction>("VerUp")->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(t.find<QToolButton>("VerUpToolButton")->isVisible(), 60000);

        MessageBox::clearShownTexts();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QToolButton>("VerUpToolButton"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{QString::fromUtf8(
                     "最新のバージョンは、Ver 1.3.0 です。\nサポートホームページよりダウンロードすることをおすすめします。")});
    }

    void withoutAServerItSaysWhereToSetOne() {
        TestWindow t;
        QVERIFY(t.session().options().updateUrl.empty());  // none by default
        const QByteArray before = fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt")));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QToolButton>("RenewToolButton"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{QString::fromUtf8("更新サーバーが設定されていません。\n「オプション」タブの「インターネット」にある"
                                               "「更新サーバー」に、更新サーバーのフォルダーの URL を入力してください。")});
        QVERIFY(!t.window->waitForm().busy());
        QVERIFY(!t.window->onlineUpdate().running());
        QCOMPARE(fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt"))), before);
    }

    void theServerTypedOnTheOptionsPageIsUsed() {
        TestWindow t;
        TestHttpServer server;
        server.serve("/lotodata.txt", {servedHistory(), kServerTime});
        server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
        auto* edit = t.find<QLineEdit>("UpdateUrlEdit");
        QCOMPARE(edit->parentWidget()->objectName(), QStringLiteral("InternetGroupBox"));
        QCOMPARE(t.find<QLabel>("UpdateUrlLabel")->buddy(), edit);
        QCOMPARE(t.find<QLabel>("UpdateUrlLabel")->text(), QString::fromUtf8("更新サーバー(&S):"));
        QTest::keyClicks(edit, QString::fromStdString(" " + server.baseUrl()));
        QCOMPARE(t.session().options().updateUrl, server.baseUrl());
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(renewAndWait(t));
        QCOMPARE(server.requestsFor("/lotodata.txt"), 1);
        QCOMPARE(MessageBox::shownTexts(), QStringList{QString::fromStdString(completionMessage(kServerTime))});
        // An address set elsewhere (the settings file) shows in the field.
        t.model().run([](Session& s) { return s.changeOptions([](Options& o) { o.updateUrl = "http://192.0.2.7/t/"; }); });
        QCOMPARE(edit->text(), QStringLiteral("http://192.0.2.7/t/"));
    }

    void aFailureSaysSoAndChangesNothing() {
        TestWindow t;
        TestHttpServer server;  // serves nothing: every file is a 404
        pointAt(t, server);
        const QByteArray before = fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt")));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(renewAndWait(t));
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().first().startsWith(QString::fromUtf8("指定された URL を開けませんでした。")));
        QCOMPARE(fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt"))), before);
        QCOMPARE(t.text("PrizeMemo"), QStringLiteral("1403"));
        QVERIFY(!t.window->waitForm().busy());
    }

    void escapeStopsAStalledDownload() {
        TestWindow t;
        TestHttpServer server;
        server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Stall});
        pointAt(t, server);
        QSignalSpy done(&t.window->onlineUpdate(), &OnlineUpdate::updateFinished);
        QTest::mouseClick(t.find<QToolButton>("RenewToolButton"), Qt::LeftButton);
        // The gauge appears once the headers are in.
        QTRY_VERIFY_WITH_TIMEOUT(t.window->waitForm().gaugeVisible(), 60000);
        QTest::keyClick(&t.window->waitForm(), Qt::Key_Escape);
        QVERIFY(done.wait(60000));
        QVERIFY(MessageBox::shownTexts().isEmpty());
        QCOMPARE(fileBytes(t.dir.filePath(QStringLiteral("lotodata.txt"))),
                 fileBytes(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE)));
        QVERIFY(!t.window->waitForm().busy());
    }

    void fourDigitRoundsShowWhole() {
        TestWindow t;
        auto* memo = t.find<QLineEdit>("PrizeMemo");
        // The frame (style's frame width) and the edit's own 2-pixel margins
        // on each side leave this much for the text.
        const int frame = memo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, memo);
        QVERIFY(memo->width() - 2 * frame - 4 - 1 >= memo->fontMetrics().horizontalAdvance(QStringLiteral("9999")));
        const QRect spinner = t.find<QWidget>("PrizeUpDown")->geometry();
        QVERIFY(spinner.left() >= memo->geometry().right());
        QVERIFY(spinner.right() < t.find<QWidget>("PrizeCheckGroupBox")->width());
    }

    void gaugeWithoutALength() {
        TWaitForm wait(nullptr);
        wait.begin(false);
        wait.setGaugeVisible(true);
        wait.setGaugeUnknown();
        QVERIFY(wait.gaugeUnknown());
        wait.setGauge(40);
        QVERIFY(!wait.gaugeUnknown());
        QCOMPARE(wait.gauge(), 40);
        wait.end();
    }
};

QTEST_MAIN(OnlineUpdateTest)
#include "tst_online_update.moc"
