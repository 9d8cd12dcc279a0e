// The link tab, the homepage, the help contents and the about box, driven
// through the real main window. What would be opened is caught at the
// ShellOpen seam; the desktop's default browser and mail program are a
// made-up desktop in a temporary folder (XDG variables).

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileIconProvider>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

#include "core/program_info.h"
#include "io/cp932.h"
#include "session/settings_file.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/shell_open.h"
#include "ui/help/about_box.h"
#include "ui/help/help_commands.h"
#include "ui/help/help_form.h"
#include "ui/links/link_icons.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// Everything ShellOpen was asked to open while this lives.
struct OpenedUrls {
    QList<QUrl> urls;
    OpenedUrls() {
        setShellOpenHook([this](const QUrl& url) { urls << url; });
    }
    ~OpenedUrls() { setShellOpenHook({}); }
};

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void writeSolidPng(const QString& path, QColor colour) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path));
}

// A desktop whose default browser has a red icon and whose mail program a
// green one.
struct FakeDesktop {
    QTemporaryDir dir;
    QList<QPair<QByteArray, QByteArray>> saved;
    FakeDesktop() {
        const QString data = dir.filePath(QStringLiteral("data"));
        writeSolidPng(dir.filePath(QStringLiteral("red.png")), Qt::red);
        writeSolidPng(dir.filePath(QStringLiteral("green.png")), Qt::green);
        writeFile(dir.filePath(QStringLiteral("config/mimeapps.list")),
                  "[Default Applications]\nx-scheme-handler/http=missing.desktop;browser.desktop;\n"
                  "x-scheme-handler/mailto=mail.desktop\n");
        writeFile(data + QStringLiteral("/applications/browser.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Browser\nExec=browser %u\nIcon=" +
                      dir.filePath(QStringLiteral("red.png")).toUtf8() + "\n");
        writeFile(data + QStringLiteral("/applications/mail.desktop"),
                  "[Desktop Entry]\nType=Application\nName=Mail\nExec=mail %u\nIcon=" +
                      dir.filePath(QStringLiteral("green.png")).toUtf8() + "\n");
        set("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")));
        set("XDG_CONFIG_DIRS", dir.filePath(QStringLiteral("none")));
        set("XDG_DATA_HOME", data);
        set("XDG_DATA_DIRS", dir.filePath(QStringLiteral("none")));
        set("XDG_CURRENT_DESKTOP", QString());
    }
    ~FakeDesktop() {
        for (const auto& [name, value] : saved) {
            if (value.isNull()) qunsetenv(name.constData());
            else qputenv(name.constData(), value);
        }
    }
    void set(const char* name, const QString& value) {
        saved << qMakePair(QByteArray(name), qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        qputenv(name, value.toUtf8());
    }
};

QColor centreColour(const QIcon& icon, int size) {
    return icon.pixmap(size, size).toImage().pixelColor(size / 2, size / 2);
}

QImage image(const QIcon& icon, int size) {
    return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

QString openHint(const QString& title) { return QStringLiteral("クリックすると『%1』を開きます。").arg(title); }

void setLink(TestWindow& t, int slot, const char* title, const std::string& target) {
    t.model().run([&](Session& s) {
        return s.changeOptions([&](Options& o) { o.links[static_cast<std::size_t>(slot - 1)] = {title, target}; });
    });
}

// The link tab in front, as a user clicks its tab.
void showLinkTab(TestWindow& t) {
    t.find<QTabWidget>("PageControl")->setCurrentWidget(t.find<QWidget>("LinkTabSheet"));
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class LinksHelpTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    void designStateShowsTheWebIconOnAllLinks() {
        FakeDesktop desktop;
        TestWindow t;
        for (int i = 1; i <= 3; ++i) {
            const QByteArray name = QByteArray("Add") + QByteArray::number(i);
            QCOMPARE(t.find<QLabel>(name + "LinkLabel")->text(), QStringLiteral("about:blank"));
            QCOMPARE(centreColour(t.find<QToolButton>(name + "SpeedButton")->icon(), 32), QColor(Qt::red));
            QCOMPARE(centreColour(t.find<QAction>(name)->icon(), 16), QColor(Qt::red));
            QVERIFY(t.find<QToolButton>(name + "SToolButton")->isEnabled());
        }
    }

    void setUserLinkShowsTheTargetsKind_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("kind");
        QTest::newRow("http") << QStringLiteral("http://www.example.jp/") << QStringLiteral("web");
        QTest::newRow("https") << QStringLiteral("https://www.example.jp/loto6") << QStringLiteral("web");
        QTest::newRow("about:blank") << QStringLiteral("about:blank") << QStringLiteral("web");
        QTest::newRow("mailto") << QStringLiteral("mailto:someone@example.jp") << QStringLiteral("mail");
        QTest::newRow("file") << QStringLiteral("FILE") << QStringLiteral("file");
        QTest::newRow("file URL") << QStringLiteral("FILEURL") << QStringLiteral("file");
        // Only the start counts, and case-sensitively: "HTTP…" is not a web target.
        QTest::newRow("HTTP upper case") << QStringLiteral("HTTP://www.example.jp/") << QStringLiteral("file");
    }
    void setUserLinkShowsTheTargetsKind() {
        QFETCH(QString, target);
        QFETCH(QString, kind);
        FakeDesktop desktop;
        TestWindow t;
        const QString file = t.dir.filePath(QStringLiteral("当選番号.txt"));
        writeFile(file, "1,2,3,4,5\r\n");
        if (target == QLatin1String("FILE")) target = file;
        if (target == QLatin1String("FILEURL")) target = QUrl::fromLocalFile(file).toString();
        setLink(t, 2, "ロト情報 & 結果", target.toStdString());

        auto* button = t.find<QToolButton>("Add2SpeedButton");
        auto* action = t.find<QAction>("Add2");
        if (kind == QLatin1String("web") || kind == QLatin1String("mail")) {
            const QColor colour = kind == QLatin1String("web") ? QColor(Qt::red) : QColor(Qt::green);
            QCOMPARE(centreColour(button->icon(), 32), colour);
            QCOMPARE(centreColour(action->icon(), 16), colour);
        } else {
            const QIcon own = QFileIconProvider().icon(QFileInfo(QUrl(target).isLocalFile() ? file : target));
            if (own.pixmap(16).isNull()) {
                // No icon of its own (a missing file): the generic one of its kind.
                QVERIFY(!button->icon().pixmap(32).isNull());
                QVERIFY(!action->icon().pixmap(16).isNull());
            } else {
                QCOMPARE(image(button->icon(), 32), image(own, 32));
                QCOMPARE(image(action->icon(), 16), image(own, 16));
            }
        }
        const QString hint = openHint(QStringLiteral("ロト情報 & 結果"));
        QCOMPARE(t.find<QLabel>("Add2TitleLabel")->text(), QStringLiteral("ロト情報 & 結果"));
        QCOMPARE(t.find<QLabel>("Add2LinkLabel")->text(), target);
        for (QWidget* w : std::initializer_list<QWidget*>{button, t.find<QLabel>("Add2TitleLabel"),
                                                          t.find<QLabel>("Add2LinkLabel"),
                                                          t.find<QToolButton>("Add2SToolButton")})
            QCOMPARE(w->toolTip(), hint);
        QCOMPARE(action->statusTip(), hint);
        QCOMPARE(action->text(), QStringLiteral("ロト情報 && 結果"));  // "&" shown, not a mnemonic
    }

    void everyLinkControlOpensItsTarget_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QUrl>("opened");
        const QUrl home(QString::fromUtf8(kHomePageUrl));
        const QUrl web(QStringLiteral("https://www.example.jp/"));
        const QUrl mail(QStringLiteral("mailto:someone@example.jp"));
        const QUrl file(QStringLiteral("file:FILE"));  // the memo in the test's folder
        QTest::newRow("link 1 title label") << QStringLiteral("Add1TitleLabel") << web;
        QTest::newRow("link 1 target label") << QStringLiteral("Add1LinkLabel") << web;
        QTest::newRow("link 1 large button") << QStringLiteral("Add1SpeedButton") << web;
        QTest::newRow("link 1 tool button") << QStringLiteral("Add1SToolButton") << web;
        QTest::newRow("link 1 menu item") << QStringLiteral("Add1") << web;
        QTest::newRow("link 2 menu item") << QStringLiteral("Add2") << mail;
        QTest::newRow("link 3 large button") << QStringLiteral("Add3SpeedButton") << file;
        QTest::newRow("homepage title") << QStringLiteral("HomePageTitleLabel") << home;
        QTest::newRow("homepage address") << QStringLiteral("HomePageUrlLabel") << home;
        QTest::newRow("homepage button") << QStringLiteral("HomePageSpeedButton") << home;
        QTest::newRow("homepage tool button") << QStringLiteral("HomePageToolButton") << home;
        QTest::newRow("homepage menu item") << QStringLiteral("HomePage") << home;
    }
    void everyLinkControlOpensItsTarget() {
        QFETCH(QString, control);
        QFETCH(QUrl, opened);
        TestWindow t;
        showLinkTab(t);
        setLink(t, 1, "例", "https://www.example.jp/");
        setLink(t, 2, "メール", "mailto:someone@example.jp");
        const QString memo = t.dir.filePath(QStringLiteral("予想 メモ.txt"));
        writeFile(memo, "1,2,3\r\n");
        setLink(t, 3, "メモ", memo.toStdString());
        if (opened == QUrl(QStringLiteral("file:FILE"))) opened = QUrl::fromLocalFile(memo);
        OpenedUrls urls;
        const QByteArray name = control.toLatin1();
        if (t.window->findChild<QAction*>(control)) {
            QVERIFY(t.trigger(name.constData()));
        } else {
            auto* widget = t.find<QWidget>(name.constData());
            QVERIFY(widget->isVisibleTo(t.window.get()));
            QTest::mouseClick(widget, Qt::LeftButton);
        }
        QCOMPARE(urls.urls, QList<QUrl>{opened});
    }

    void editModeSwitchesTheControls() {
        TestWindow t;
        showLinkTab(t);
        auto* add = t.find<QPushButton>("AddBitBtn");
        QCOMPARE(add->text(), QStringLiteral("追加・変更(&A)"));
        QCOMPARE(add->toolTip(), QStringLiteral("リンクの追加・変更を行うモードにします。"));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(add->text(), QStringLiteral("登録(&A)"));
        QCOMPARE(add->toolTip(), QStringLiteral("リンクを登録します。"));
        for (int i = 1; i <= 3; ++i) {
            const QByteArray name = QByteArray("Add") + QByteArray::number(i);
            QVERIFY(!t.find<QLabel>(name + "TitleLabel")->isVisible());
            QVERIFY(!t.find<QLabel>(name + "LinkLabel")->isVisible());
            auto* title = t.find<QLineEdit>(name + "TitleEdit");
            QVERIFY(title->isVisible());
            QCOMPARE(title->text(), QStringLiteral("追加%1").arg(QChar(0xFF10 + i)));  // "追加１"…
            QCOMPARE(title->toolTip(), QStringLiteral("タイトルを入力して下さい。"));
            QCOMPARE(t.find<QLineEdit>(name + "LinkEdit")->text(), QStringLiteral("about:blank"));
            QCOMPARE(t.find<QLineEdit>(name + "LinkEdit")->toolTip(), QStringLiteral("リンク先を入力して下さい。"));
            QCOMPARE(t.find<QToolButton>(name + "SpeedButton")->toolTip(), QStringLiteral("ファイルを選択して下さい。"));
        }
        // Typed edits are registered on the way back.
        t.find<QLineEdit>("Add1TitleEdit")->setText(QStringLiteral("公式"));
        t.find<QLineEdit>("Add1LinkEdit")->setText(QStringLiteral("https://www.example.jp/"));
        QTest::mouseClick(add, Qt::LeftButton);
        QCOMPARE(add->text(), QStringLiteral("追加・変更(&A)"));
        QVERIFY(t.find<QLabel>("Add1TitleLabel")->isVisible());
        QVERIFY(!t.find<QLineEdit>("Add1TitleEdit")->isVisible());
        QCOMPARE(t.find<QLabel>("Add1TitleLabel")->text(), QStringLiteral("公式"));
        QCOMPARE(t.session().options().links[0], (UserLink{"公式", "https://www.example.jp/"}));
        QCOMPARE(t.find<QToolButton>("Add1SpeedButton")->toolTip(), openHint(QStringLiteral("公式")));
        QCOMPARE(t.find<QAction>("Add1")->text(), QStringLiteral("公式"));
    }

    void chosenFilesFillTheEditsAndAreStored() {
        TestWindow t;
        showLinkTab(t);
        const QString url = t.dir.filePath(QStringLiteral("宝くじ情報.url"));
        writeFile(url, QByteArray::fromStdString(utf8ToCp932(
                           "[InternetShortcut]\r\nIDList=\r\nurl=https://www.example.jp/宝くじ\r\nURL=https://other/\r\n", "")));
        const QString desktopLink = t.dir.filePath(QStringLiteral("lotolink.desktop"));
        writeFile(desktopLink, "[Desktop Entry]\nType=Link\nName=Loto\nName[ja]=ロト情報\nURL=https://loto.example.jp/\n");
        const QString plain = t.dir.filePath(QStringLiteral("予想.2024.csv"));
        writeFile(plain, "[ロト６]\r\n");
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);

        OpenedUrls urls;
        FileDialog::setNextFileName(url);
        QTest::mouseClick(t.find<QToolButton>("Add2SpeedButton"), Qt::LeftButton);
        QCOMPARE(t.text("Add2TitleEdit"), QStringLiteral("宝くじ情報"));
        QCOMPARE(t.text("Add2LinkEdit"), QStringLiteral("https://www.example.jp/宝くじ"));  // the first URL line
        FileDialog::setNextFileName(plain);
        QTest::mouseClick(t.find<QToolButton>("Add3SpeedButton"), Qt::LeftButton);
        QCOMPARE(t.text("Add3TitleEdit"), QStringLiteral("予想.2024"));
        QCOMPARE(t.text("Add3LinkEdit"), plain);
        FileDialog::setNextFileName(desktopLink);
        QTest::mouseClick(t.find<QToolButton>("Add1SpeedButton"), Qt::LeftButton);
        QCOMPARE(t.text("Add1TitleEdit"), QStringLiteral("ロト情報"));
        QCOMPARE(t.text("Add1LinkEdit"), QStringLiteral("https://loto.example.jp/"));
        // A cancelled dialog changes nothing.
        FileDialog::setNextFileName(QString());
        QTest::mouseClick(t.find<QToolButton>("Add1SpeedButton"), Qt::LeftButton);
        QCOMPARE(t.text("Add1TitleEdit"), QStringLiteral("ロト情報"));
        QVERIFY(urls.urls.isEmpty());  // in edit mode the large buttons open nothing

        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        QCOMPARE(t.find<QLabel>("Add2LinkLabel")->text(), QStringLiteral("https://www.example.jp/宝くじ"));
        t.session().writeSettings(nullptr);
        const QByteArray ini = fileBytes(t.dir.filePath(QStringLiteral("Tambor.ini")));
        for (const std::string& line : std::vector<std::string>{"追加LINK(1)=ロト情報,https://loto.example.jp/\r\n",
                                       "追加LINK(2)=宝くじ情報,https://www.example.jp/宝くじ\r\n",
                                       "追加LINK(3)=予想.2024," + plain.toStdString() + "\r\n"})
            QVERIFY2(ini.contains(QByteArray::fromStdString(utf8ToCp932(line, ""))), line.c_str());
        QTest::mouseClick(t.find<QToolButton>("Add3SpeedButton"), Qt::LeftButton);
        QCOMPARE(urls.urls, QList<QUrl>{QUrl::fromLocalFile(plain)});
    }

    void badChoicesAreRefused() {
        TestWindow t;
        showLinkTab(t);
        const QString empty = t.dir.filePath(QStringLiteral("空.url"));
        writeFile(empty, "[InternetShortcut]\r\n");
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        FileDialog::setNextFileName(empty);
        QTest::mouseClick(t.find<QToolButton>("Add1SpeedButton"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().first().contains(QStringLiteral("空.url")));
        QCOMPARE(t.text("Add1LinkEdit"), QStringLiteral("about:blank"));

        // cp932 has no "한": such a title cannot be stored, so it is not registered.
        t.find<QLineEdit>("Add2TitleEdit")->setText(QStringLiteral("한국"));
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts().size(), 2);
        QVERIFY(t.find<QLineEdit>("Add2TitleEdit")->isVisible());  // still editing
        QCOMPARE(t.session().options().links[1].title, std::string("追加２"));
    }

    // The settings file splits a link at its last comma: a target with a
    // comma (or a character cp932 lacks) is kept as an address that opens
    // the same thing, and it reads back whole.
    void targetsTheSettingsFileCannotHoldAreStoredAsAddresses_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QUrl>("opened");
        auto row = [](const char* name, const char* typed, const char* stored, const QUrl& opened) {
            QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(stored) << opened;
        };
        row("path with a comma", "/home/someone/a,b.txt", "file:///home/someone/a%2Cb.txt",
            QUrl::fromLocalFile(QStringLiteral("/home/someone/a,b.txt")));
        row("address with a comma", "https://example.jp/?n=1,2", "https://example.jp/?n=1%2C2",
            QUrl(QStringLiteral("https://example.jp/?n=1%2C2")));
        row("path outside cp932", "/home/someone/한.txt", "file:///home/someone/%ED%95%9C.txt",
            QUrl::fromLocalFile(QStringLiteral("/home/someone/한.txt")));
        row("plain path unchanged", "/home/someone/予想.txt", "/home/someone/予想.txt",
            QUrl::fromLocalFile(QStringLiteral("/home/someone/予想.txt")));
    }
    void targetsTheSettingsFileCannotHoldAreStoredAsAddresses() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QUrl, opened);
        TestWindow t;
        // The files exist, in the test's folder: ShellOpen opens only files that do.
        const QString home = t.dir.path();
        typed.replace(QStringLiteral("/home/someone"), home);
        stored.replace(QStringLiteral("/home/someone"), home);
        if (opened.isLocalFile()) {
            opened = QUrl::fromLocalFile(opened.toLocalFile().replace(QStringLiteral("/home/someone"), home));
            writeFile(opened.toLocalFile(), "memo\r\n");
        }
        showLinkTab(t);
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        t.find<QLineEdit>("Add1TitleEdit")->setText(QStringLiteral("題, 名"));
        t.find<QLineEdit>("Add1LinkEdit")->setText(typed);
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        QCOMPARE(t.find<QLabel>("Add1LinkLabel")->text(), stored);
        const StoredSettings reread =
            parseSettings(settingsLines(t.session().storedSettings(), nullptr), StoredSettings{}, nullptr);
        QCOMPARE(reread.options.links[0], (UserLink{"題, 名", stored.toStdString()}));
        OpenedUrls urls;
        QTest::mouseClick(t.find<QToolButton>("Add1SpeedButton"), Qt::LeftButton);
        QCOMPARE(urls.urls.size(), 1);
        QCOMPARE(urls.urls.first().isLocalFile(), opened.isLocalFile());
        if (opened.isLocalFile()) QCOMPARE(urls.urls.first().toLocalFile(), opened.toLocalFile());
        else QCOMPARE(urls.urls.first(), opened);
    }

    void aboutBoxShowsTheProgramAndCopiesTheAddress() {
        TestWindow t;
        OpenedUrls urls;
        QApplication::clipboard()->clear();
        bool checked = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<TAboutBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->parentWidget(), t.window.get());
            QCOMPARE(box->windowTitle(), QStringLiteral("バージョン情報"));
            QCOMPARE(box->findChild<QLabel*>("Version")->text(), QStringLiteral("Ver 1.2.0"));
            QCOMPARE(box->findChild<QLabel*>("Comments")->text(),
                     QStringLiteral(" ミニロト／ロト６　予想・購入支援プログラム "));
            QVERIFY(!box->findChild<QLabel*>("Notice")->text().isEmpty());
            QVERIFY(box->findChild<QLabel*>("Notice")->alignment() & Qt::AlignHCenter);
            QVERIFY(!box->findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
            auto* mail = box->findChild<QLabel*>("mailtoLabel");
            QCOMPARE(mail->text(), QString::fromUtf8(kContactMail));
            QVERIFY(mail->font().underline());
            QCOMPARE(mail->palette().color(QPalette::WindowText), QColor(Qt::blue));
            QTest::mouseClick(mail, Qt::LeftButton);
            QTest::mouseClick(box->findChild<QLabel*>("MailtoImage"), Qt::LeftButton);
            emit mail->customContextMenuRequested(QPoint(2, 2));
            auto* menu = box->findChild<QMenu*>("MailtoPopupMenu");
            menu->close();
            QCOMPARE(menu->actions().size(), 1);
            QCOMPARE(menu->actions().first()->text(), QStringLiteral("コピー(&C)"));
            menu->actions().first()->trigger();
            QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8(kContactMail));
            auto* ok = box->findChild<QPushButton*>("BitBtnOK");
            QVERIFY(ok->isDefault());
            checked = true;
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        QVERIFY(t.trigger("About"));
        QVERIFY(checked);
        QVERIFY(t.window->findChildren<TAboutBox*>().isEmpty());  // destroyed after showing
        const QUrl mailto(QStringLiteral("mailto:%1?Subject=『タンボル』からのメールです。").arg(QString::fromUtf8(kContactMail)));
        QCOMPARE(urls.urls, (QList<QUrl>{mailto, mailto}));
    }

    void aboutBoxClosesWithEscape() {
        TestWindow t;
        bool closed = false;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            QTest::keyClick(box, Qt::Key_Escape);
            closed = !box->isVisible();
        });
        // Never leave the test waiting on a box that stayed open.
        QTimer::singleShot(2000, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        QTest::mouseClick(t.find<QToolButton>("AboutToolButton"), Qt::LeftButton);
        QVERIFY(closed);
        QVERIFY(t.window->findChildren<TAboutBox*>().isEmpty());
    }

    void missingHelpSaysWhereItLooked() {
        TestWindow t;
        OpenedUrls urls;
        QVERIFY(t.trigger("Contents"));
        auto* form = t.find<THelpForm>("THelpForm");
        QVERIFY(form->isVisible());
        QVERIFY(urls.urls.isEmpty());  // nothing handed to the desktop
        const QString expected = QCoreApplication::applicationDirPath() + QStringLiteral("/help/index.htm");
        QVERIFY(!QFileInfo::exists(expected));
        const QString shown = t.find<QTextBrowser>("HelpBrowser")->toPlainText();
        QVERIFY2(shown.contains(QStringLiteral("ヘルプが見つかりません")), qPrintable(shown));
        for (const QString& place : helpPlaces(QCoreApplication::applicationDirPath()))
            QVERIFY2(shown.contains(place), qPrintable(place));
        QCOMPARE(t.find<QAction>("Contents")->statusTip(), QStringLiteral("ヘルプの目次を表示します。"));
        QCOMPARE(t.find<QAction>("Contents")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(t.find<QAction>("About")->statusTip(), QStringLiteral("『タンボル』のバージョン情報を表示します。"));
    }

    // A small help folder: the start page with its contents, two pages that
    // link to each other, a web link and a text to search.
    void helpWindowOpensFollowsLinksAndGoesBack() {
        TestWindow t;
        QTemporaryDir help;
        writeFile(help.filePath(QStringLiteral("index.htm")),
                  "<html><body><h1>ヘルプ</h1><h2>目次</h2><ol><li><a href=\"board.htm\">番号ボード</a>"
                  "<li><a href=\"calc.htm\">金額計算</a></ol><h2>その他</h2><a href=\"x.htm\">x</a></body></html>");
        writeFile(help.filePath(QStringLiteral("board.htm")),
                  "<html><body><h1>番号ボード</h1><p>軸数字と連動数字。<a href=\"calc.htm\">金額計算へ</a>"
                  " <a href=\"https://www.example.jp/\">公式</a> 軸数字はもう一度。</p></body></html>");
        writeFile(help.filePath(QStringLiteral("calc.htm")),
                  "<html><body><h1>金額計算</h1><p>口数と金額。</p></body></html>");
        t.window->helpCommands().setHelpPlaces(
            {help.filePath(QStringLiteral("none/index.htm")), help.filePath(QStringLiteral("index.htm"))});
        // F1 on the calculator tab opens its page.
        t.find<QTabWidget>("PageControl")->setCurrentWidget(t.find<QWidget>("CalTabSheet"));
        t.window->activateWindow();
        QTRY_VERIFY(t.window->isActiveWindow());
        QTest::keyClick(t.find<QTabWidget>("PageControl"), Qt::Key_F1);
        auto* form = t.find<THelpForm>("THelpForm");
        QVERIFY(form->isVisible());
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("calc.htm"));
        auto* contents = t.find<QListWidget>("HelpContentsList");
        QCOMPARE(contents->count(), 3);
        QCOMPARE(contents->item(1)->text(), QStringLiteral("番号ボード"));
        QCOMPARE(contents->currentRow(), 2);
        // The contents open a page; the page's link opens another.
        QTest::mouseClick(contents->viewport(), Qt::LeftButton, {}, contents->visualItemRect(contents->item(1)).center());
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("board.htm"));
        auto* browser = t.find<QTextBrowser>("HelpBrowser");
        QVERIFY(browser->toPlainText().contains(QStringLiteral("軸数字と連動数字")));
        emit browser->anchorClicked(QUrl(QStringLiteral("calc.htm")));
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("calc.htm"));
        QCOMPARE(contents->currentRow(), 2);
        // Back and forward through the pages seen.
        auto* back = t.find<QPushButton>("BackBitBtn");
        auto* forward = t.find<QPushButton>("ForwardBitBtn");
        QVERIFY(back->isEnabled());
        QVERIFY(!forward->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("board.htm"));
        QVERIFY(forward->isEnabled());
        QTest::mouseClick(forward, Qt::LeftButton);
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("calc.htm"));
        QTest::mouseClick(back, Qt::LeftButton);
        // A web link goes to the desktop's browser; the page stays.
        {
            OpenedUrls urls;
            emit browser->anchorClicked(QUrl(QStringLiteral("https://www.example.jp/")));
            QCOMPARE(urls.urls, QList<QUrl>{QUrl(QStringLiteral("https://www.example.jp/"))});
            QCOMPARE(form->currentPage().fileName(), QStringLiteral("board.htm"));
        }
        // Searching within the page: found twice, then from the top again; a
        // word not on the page is said to be missing.
        auto* find = t.find<QLineEdit>("FindEdit");
        find->setText(QStringLiteral("軸数字"));
        QTest::mouseClick(t.find<QPushButton>("FindBitBtn"), Qt::LeftButton);
        QCOMPARE(browser->textCursor().selectedText(), QStringLiteral("軸数字"));
        const int first = browser->textCursor().position();
        QTest::keyClick(find, Qt::Key_Return);
        QVERIFY(browser->textCursor().position() > first);
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(browser->textCursor().position(), first);
        QCOMPARE(t.find<QLabel>("FindLabel")->text(), QStringLiteral("先頭に戻りました"));
        find->setText(QStringLiteral("ロト７"));
        QTest::keyClick(find, Qt::Key_Return);
        QCOMPARE(t.find<QLabel>("FindLabel")->text(), QStringLiteral("見つかりません"));
        // Esc closes the help window, not the program.
        form->activateWindow();
        QTRY_VERIFY(form->isActiveWindow());
        QTest::keyClick(browser, Qt::Key_Escape);
        QVERIFY(!form->isVisible());
        QVERIFY(t.window->isVisible());
        // The menu item opens the window again on the page of the tab in front.
        t.find<QTabWidget>("PageControl")->setCurrentWidget(t.find<QWidget>("PickTabSheet"));
        QVERIFY(t.trigger("Contents"));
        QCOMPARE(form->currentPage().fileName(), QStringLiteral("index.htm"));
    }

    void helpHasAPageForEveryTab() {
        TestWindow t;
        const QDir source(QStringLiteral(TAMBOR_TEST_DATA_DIR "/../help"));
        auto* tabs = t.find<QTabWidget>("PageControl");
        for (int i = 0; i < tabs->count(); ++i) {
            const QString page = helpPageForTab(tabs->widget(i)->objectName());
            QVERIFY2(source.exists(page), qPrintable(page));
        }
        // Every entry of the real contents names a page that exists.
        const QList<HelpEntry> entries = helpContents(source.filePath(QStringLiteral("index.htm")));
        QVERIFY(entries.size() > 10);
        for (const HelpEntry& entry : entries) QVERIFY2(source.exists(entry.page), qPrintable(entry.page));
    }

    void shellOpenSaysWhenNothingCouldOpenTheTarget_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << QStringLiteral("/nonexistent-tambor/予想.txt")
                                      << QStringLiteral("ファイルが見つかりません。");
        QTest::newRow("missing file URL") << QStringLiteral("file:///nonexistent-tambor/a.txt")
                                          << QStringLiteral("ファイルが見つかりません。");
        QTest::newRow("unknown scheme") << QStringLiteral("tambor-unknown://x")
                                        << QStringLiteral("開くことのできるプログラムがありません。");
    }
    void shellOpenSaysWhenNothingCouldOpenTheTarget() {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        FakeDesktop desktop;
        TestWindow t;
        showLinkTab(t);
        setLink(t, 1, "壊れたリンク", target.toStdString());
        OpenedUrls urls;
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(t.find<QLabel>("Add1TitleLabel"), Qt::LeftButton);
        QVERIFY(urls.urls.isEmpty());
        QCOMPARE(MessageBox::shownTexts(), QStringList{QStringLiteral("「%1」を開けませんでした。\n%2").arg(target, reason)});
    }

    void addressesWithoutSchemeOpenAsWebAddresses_data() {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QUrl>("opened");
        QTest::newRow("www") << QStringLiteral("www.example.jp") << QUrl(QStringLiteral("http://www.example.jp"));
        QTest::newRow("host and path") << QStringLiteral("example.jp/loto6/")
                                       << QUrl(QStringLiteral("http://example.jp/loto6/"));
        QTest::newRow("with scheme") << QStringLiteral("https://www.example.jp/a")
                                     << QUrl(QStringLiteral("https://www.example.jp/a"));
        QTest::newRow("file name") << QStringLiteral("memo.txt") << QUrl::fromLocalFile(QStringLiteral("memo.txt"));
    }
    void addressesWithoutSchemeOpenAsWebAddresses() {
        QFETCH(QString, target);
        QFETCH(QUrl, opened);
        QCOMPARE(shellOpenUrl(target), opened);
        if (opened.scheme().startsWith(QLatin1String("http")))
            QCOMPARE(int(linkKind(target)), int(LinkKind::Web));
    }

    // A link whose file is gone keeps a picture of its kind, and the tool
    // bar keeps its help and about buttons in view.
    void linksWithoutAnIconGetAGenericOne() {
        TestWindow t;
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        setLink(t, 1, "消えたファイル", "/nonexistent-tambor/消えた.txt");
        setLink(t, 2, "とても長いタイトルのリンクで、ツールバーを押し広げようとするもの", "");
        for (const char* name : {"Add1", "Add2"}) {
            QVERIFY(!t.find<QAction>(name)->icon().pixmap(16).isNull());
            auto* button = t.find<QToolButton>((QByteArray(name) + "SToolButton").constData());
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
            QVERIFY(button->width() <= 32);
        }
        auto* bar = t.find<QWidget>("BtnToolBar");
        for (const char* name : {"ContentsToolButton", "AboutToolButton"}) {
            auto* button = t.find<QToolButton>(name);
            QVERIFY2(button->isVisible(), name);
            QVERIFY2(bar->rect().contains(QRect(button->mapTo(bar, QPoint(0, 0)), button->size())), name);
        }
    }
    void helpIsFoundBesideTheProgramOrUnderItsPrefix() {
        QTemporaryDir prefix;
        const QString bin = prefix.filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        QCOMPARE(helpIndexPath(bin), bin + QStringLiteral("/help/index.htm"));  // neither: beside
        const QString installed = prefix.filePath(QStringLiteral("share/tambor/help/index.htm"));
        writeFile(installed, "<html></html>");
        QCOMPARE(helpIndexPath(bin), installed);
        writeFile(bin + QStringLiteral("/help/index.htm"), "<html></html>");
        QCOMPARE(helpIndexPath(bin), bin + QStringLiteral("/help/index.htm"));
    }
};

QTEST_MAIN(LinksHelpTest)
#include "tst_links_help.moc"
