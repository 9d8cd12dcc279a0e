// Each page built alone over a session model, without the main window: it
// shows the session and hands its controls' changes to it.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include "support/dialog_guard.h"
#include "ui/common/session_model.h"
#include "ui/detail/detail_page.h"
#include "ui/links/links_page.h"
#include "ui/options/options_page.h"
#include "ui/pick/file_commands.h"
#include "ui/pick/number_panel.h"
#include "ui/pick/pick_page.h"

using namespace tambor;
using namespace tambor::ui;

namespace {

// A session in a temporary folder, in a game, and a model over it.
struct Fixture {
    QTemporaryDir dir;
    Session session{dir.path().toStdString()};
    SessionModel model{session};
    explicit Fixture(GameMode mode = GameMode::MiniLoto) {
        model.run([mode](Session& s) { return s.switchGame(mode); });
    }
};

template <typename T>
T* find(QWidget* page, const char* name) {
    T* child = page->findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("control %s not found", name);
    return child;
}

QString text(QWidget* page, const char* name) { return find<QLineEdit>(page, name)->text(); }

}  // namespace

class PagesTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void pickPageBuildsFromItsBoard() {
        Fixture f;
        FileCommands files(f.model, nullptr);
        PickPage page(f.model, files);
        page.show();
        QCOMPARE(text(&page, "PrizeMemo"), QStringLiteral("1403"));
        QTest::mouseClick(find<QRadioButton>(&page, "TogetherRadioButton"), Qt::LeftButton);
        for (int n = 1; n <= 7; ++n)
            QTest::mouseClick(find<NumPanel>(&page, QStringLiteral("NumPanel%1").arg(n).toLatin1().constData()),
                              Qt::LeftButton);
        QCOMPARE(text(&page, "TogetherMemo"), QStringLiteral("7"));
        QCOMPARE(text(&page, "CombiMemo"), QStringLiteral("21"));
        QTest::mouseClick(find<QPushButton>(&page, "CombiBitBtn"), Qt::LeftButton);
        QCOMPARE(f.session.list().size(), 21u);
        QCOMPARE(text(&page, "PickMemo"), QStringLiteral("21"));
        QCOMPARE(find<QListView>(&page, "PickListBox")->model()->rowCount(), 21);
        // A change made elsewhere shows too.
        f.model.run([](Session& s) { return s.clearList(); });
        QCOMPARE(text(&page, "PickMemo"), QStringLiteral("0"));
    }

    void pickPageGameButtonsRunTheSwitch() {
        Fixture f;
        FileCommands files(f.model, nullptr);
        PickPage page(f.model, files);
        QTest::mouseClick(find<QRadioButton>(&page, "Loto6RadioButton"), Qt::LeftButton);
        QCOMPARE(f.session.mode(), GameMode::Loto6);
        QCOMPARE(text(&page, "PrizeMemo"), QStringLiteral("2137"));
        QVERIFY(find<NumPanel>(&page, "NumPanel43")->isVisibleTo(&page));
        QVERIFY(find<QLineEdit>(&page, "Grade5Memo")->isVisibleTo(&page));
    }

    void optionsPageShowsAndChangesTheOptions() {
        Fixture f;
        OptionsPage page(f.model);
        auto* rSystem = find<QCheckBox>(&page, "RSystemCheckBox");
        auto* arrange = find<QComboBox>(&page, "ArrangeModeComboBox");
        QVERIFY(!arrange->isEnabled());
        rSystem->click();
        QVERIFY(f.session.options().rSystem);
        QVERIFY(f.session.board().rSystem());
        QVERIFY(arrange->isEnabled());
        arrange->setCurrentIndex(2);
        QCOMPARE(f.session.options().arrangeMode, ArrangeMode::Descending);
        find<QLineEdit>(&page, "DefMemo")->setText(QStringLiteral("300"));
        QCOMPARE(f.session.options().defaultDrawCount, 300);
        // Options changed elsewhere (the settings file) show on the page.
        f.model.run([](Session& s) {
            return s.changeOptions([](Options& o) {
                o.useProxy = true;
                o.proxyAddress = "proxy.example.jp";
                o.priorityMode = PriorityMode::NoPreference;
            });
        });
        QVERIFY(find<QCheckBox>(&page, "ProxyCheckBox")->isChecked());
        QVERIFY(find<QLineEdit>(&page, "ProxyAddressEdit")->isEnabled());
        QCOMPARE(text(&page, "ProxyAddressEdit"), QStringLiteral("proxy.example.jp"));
        QCOMPARE(find<QComboBox>(&page, "LotModeComboBox")->currentIndex(), 3);
        QVERIFY(rSystem->isChecked());
    }

    void detailPageShowsTheDrawAndItsDuplicates() {
        Fixture f;
        DetailPage page(f.model);
        f.model.run([](Session& s) {
            s.random().SeedRandom(5);
            return s.randomDraw(3000);
        });
        auto* report = find<QListView>(&page, "ResultListBox");
        QCOMPARE(report->model()->rowCount(), 31 + 3);
        auto* dup = find<QListView>(&page, "DupListBox");
        QVERIFY(dup->model()->rowCount() > 0);
        QCOMPARE(static_cast<std::size_t>(dup->model()->rowCount()), f.session.list().duplicates().size());
        QTest::mouseClick(find<QPushButton>(&page, "DupClearBitBtn"), Qt::LeftButton);
        QCOMPARE(dup->model()->rowCount(), 0);
        QVERIFY(f.session.list().duplicates().empty());
        QVERIFY(!f.session.list().empty());
    }

    void linksPageShowsTheLinks() {
        Fixture f;
        LinksPage page(f.model);
        QCOMPARE(find<QLabel>(&page, "Add1TitleLabel")->text(), QString::fromUtf8("追加１"));
        QCOMPARE(find<QLabel>(&page, "Add3LinkLabel")->text(), QStringLiteral("about:blank"));
        f.model.run([](Session& s) {
            return s.changeOptions([](Options& o) { o.links[2] = {"公式", "https://www.example.jp/"}; });
        });
        QCOMPARE(find<QLabel>(&page, "Add3TitleLabel")->text(), QString::fromUtf8("公式"));
        QCOMPARE(find<QLabel>(&page, "Add3LinkLabel")->text(), QStringLiteral("https://www.example.jp/"));
    }
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
