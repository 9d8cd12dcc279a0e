// What the windows show fits where they show it: every caption and every
// field's text — for count and amount fields the widest value they can
// hold — inside the widget's content rectangle with the program's fonts;
// and every control carries a hint.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <QToolButton>
#include <QGroupBox>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <map>

#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/edit/edit_form.h"
#include "ui/help/help_commands.h"
#include "ui/help/help_form.h"
#include "ui/stats/rate_form.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

// The widest value each count or amount field can be asked to show.
const std::map<QString, QString>& widestValues() {
    static const std::map<QString, QString> values = {
        {QStringLiteral("FixMemo"), QStringLiteral("43")},
        {QStringLiteral("DisableMemo"), QStringLiteral("43")},
        {QStringLiteral("AxisMemo"), QStringLiteral("43")},
        {QStringLiteral("TogetherMemo"), QStringLiteral("43")},
        {QStringLiteral("MainMemo"), QStringLiteral("43")},
        {QStringLiteral("BonusMemo"), QStringLiteral("43")},
        {QStringLiteral("PickMemo"), QString::fromUtf8("609万6454")},
        // The most the board allows: one axis and 34 together numbers in ロト６.
        {QStringLiteral("CombiMemo"), QString::fromUtf8("27万8256")},
        // Seven digits: more draws than ロト６ has combinations.
        {QStringLiteral("LotMemo"), QStringLiteral("9999999")},
        {QStringLiteral("DefMemo"), QStringLiteral("10000")},
        {QStringLiteral("SplitMemo"), QStringLiteral("100")},
        {QStringLiteral("PrizeMemo"), QStringLiteral("9999")},
        {QStringLiteral("Grade1Memo"), QStringLiteral("155400")},
        {QStringLiteral("Grade2Memo"), QStringLiteral("155400")},
        {QStringLiteral("Grade3Memo"), QStringLiteral("155400")},
        {QStringLiteral("Grade4Memo"), QStringLiteral("155400")},
        {QStringLiteral("Grade5Memo"), QStringLiteral("155400")},
        // Every ロト６ combination listed wins every grade at once.
        {QStringLiteral("MoneyMemo"), QString::fromUtf8("約 5億4831万200円")},
        {QStringLiteral("nMemo"), QStringLiteral("43")},
        {QStringLiteral("nCrMemo"), QString::fromUtf8("609万6454")},
        {QStringLiteral("TotalMemo"), QString::fromUtf8("12億1929万800")},
        {QStringLiteral("HorzMemo"), QStringLiteral("297.5")},
        {QStringLiteral("VertMemo"), QStringLiteral("297.5")},
        {QStringLiteral("ProxyPortEdit"), QStringLiteral("65535")},
    };
    return values;
}

// A caption as it is drawn: the mnemonic marker is not.
QString shown(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return text;
}

// Where the widget draws its text.
QRect contentRect(QWidget* w) {
    QStyle* style = w->style();
    if (auto* check = qobject_cast<QCheckBox*>(w)) {
        QStyleOptionButton option;
        option.initFrom(check);
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    }
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    }
    if (auto* push = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(push);
        return style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    }
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame() ? style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
        const QMargins text = edit->textMargins();
        // QLineEdit keeps two pixels free on each side of its text.
        return style->subElementRect(QStyle::SE_LineEditContents, &option, edit)
            .adjusted(text.left() + 2, text.top(), -text.right() - 2, -text.bottom());
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const int indent = label->indent() > 0 ? label->indent() : 0;
        return label->contentsRect().adjusted(label->margin() + indent, label->margin(), -label->margin(),
                                              -label->margin());
    }
    return w->contentsRect();
}

// The text a widget must show in full, or nothing to check.
std::optional<QString> textToFit(QWidget* w) {
    const auto widest = widestValues().find(w->objectName());
    if (widest != widestValues().end()) return widest->second;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (!edit->isReadOnly()) return std::nullopt;  // typed text scrolls in its field
        return edit->text();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText || !label->pixmap().isNull()) return std::nullopt;
        return shown(label->text());
    }
    if (qobject_cast<QToolButton*>(w)) return std::nullopt;  // image buttons and the menu bar's own buttons
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return shown(button->text());
    return std::nullopt;
}

// Every text of the window's visible widgets that does not fit, as
// "name: text (needed > room)".
QStringList misfits(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->objectName().startsWith(QLatin1String("qt_"))) continue;
        const std::optional<QString> text = textToFit(w);
        if (!text || text->isEmpty()) continue;
        const QFontMetrics metrics(w->font());
        const QRect room = contentRect(w);
        const int needed = metrics.horizontalAdvance(*text);
        const bool fitsAcross = needed <= room.width();
        const bool fitsDown = metrics.height() <= room.height() + 2;
        if (!fitsAcross || !fitsDown) {
            const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className())
                                                            : w->objectName();
            found << QStringLiteral("%1: \"%2\" (%3x%4 > %5x%6)")
                         .arg(name, *text)
                         .arg(needed)
                         .arg(metrics.height())
                         .arg(room.width())
                         .arg(room.height());
        }
    }
    return found;
}

// The blank runs (two or more spaces) of a caption as pixel ranges from
// the text's left end: where a caption holds a field ("第      回").
std::vector<std::pair<int, int>> blankRuns(const QFontMetrics& metrics, const QString& text) {
    std::vector<std::pair<int, int>> runs;
    for (qsizetype i = 0; i < text.size();) {
        if (text.at(i) != QLatin1Char(' ')) {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < text.size() && text.at(end) == QLatin1Char(' ')) ++end;
        if (end - i >= 2) runs.emplace_back(metrics.horizontalAdvance(text.left(i)), metrics.horizontalAdvance(text.left(end)));
        i = end;
    }
    return runs;
}

// Captions that another control covers, other than in their blank runs:
// "name: text under other".
QStringList coveredCaptions(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || !(qobject_cast<QLabel*>(w) || qobject_cast<QRadioButton*>(w) ||
                                         qobject_cast<QCheckBox*>(w)))
            continue;
        const std::optional<QString> text = textToFit(w);
        if (!text || text->isEmpty() || !w->parentWidget()) continue;
        const QFontMetrics metrics(w->font());
        const QRect room = contentRect(w);
        const QRect drawn = QRect(room.left(), room.top(), metrics.horizontalAdvance(*text), room.height())
                                .translated(w->pos());
        for (QWidget* other : w->parentWidget()->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (other == w || !other->isVisibleTo(window) || qobject_cast<QGroupBox*>(other)) continue;
            const QRect overlap = drawn.intersected(other->geometry());
            if (overlap.isEmpty()) continue;
            bool inBlank = false;
            for (const auto& [from, to] : blankRuns(metrics, *text))
                inBlank = inBlank || (overlap.left() >= drawn.left() + from - 2 && overlap.right() <= drawn.left() + to + 2);
            if (!inBlank)
                found << QStringLiteral("%1: \"%2\" under %3").arg(w->objectName(), *text, other->objectName());
        }
    }
    return found;
}

// Controls that stick out of the widget they stand on (cut by its edge,
// as a button under a tab frame): "name: geometry outside parent size".
QStringList outsideTheirParent(QWidget* root) {
    QStringList found;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || w->isWindow() || w->objectName().isEmpty() ||
            w->objectName().startsWith(QLatin1String("qt_")) || !w->parentWidget())
            continue;
        if (!w->parentWidget()->rect().contains(w->geometry()))
            found << QStringLiteral("%1: (%2,%3 %4x%5) outside %6x%7")
                         .arg(w->objectName())
                         .arg(w->x())
                         .arg(w->y())
                         .arg(w->width())
                         .arg(w->height())
                         .arg(w->parentWidget()->width())
                         .arg(w->parentWidget()->height());
    }
    return found;
}

// A control the user works with, which must carry a hint.
bool isControl(QWidget* w) {
    if (qobject_cast<QLabel*>(w)) return false;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
           qobject_cast<QAbstractItemView*>(w) || qobject_cast<UpDown*>(w) ||
           w->inherits("tambor::ui::NumPanel") || w->inherits("tambor::ui::StringGrid");
}

QStringList withoutHint(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")) || !isControl(w)) continue;
        // The spinner's arrows, a combo box's inner parts and a tab bar's
        // scroll buttons belong to their control.
        if (qobject_cast<UpDown*>(w->parentWidget()) || qobject_cast<QComboBox*>(w->parentWidget()) ||
            qobject_cast<QTabBar*>(w->parentWidget()))
            continue;
        if (w->toolTip().isEmpty() || w->statusTip().isEmpty()) found << w->objectName();
    }
    for (QAction* a : window->findChildren<QAction*>()) {
        if (a->objectName().isEmpty() || a->isSeparator() || a->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (a->statusTip().isEmpty()) found << a->objectName();
    }
    return found;
}

}  // namespace

Q_DECLARE_METATYPE(tambor::GameMode)

class FitsTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:
    void mainWindowPagesShowWhatTheyHold_data() {
        QTest::addColumn<GameMode>("mode");
        QTest::addColumn<QSize>("size");
        QTest::newRow("mini") << GameMode::MiniLoto << QSize(731, 365);
        QTest::newRow("loto6") << GameMode::Loto6 << QSize(731, 365);
        QTest::newRow("mini, enlarged") << GameMode::MiniLoto << QSize(1280, 900);
        QTest::newRow("loto6, enlarged") << GameMode::Loto6 << QSize(1280, 900);
        QTest::newRow("loto7") << GameMode::Loto7 << QSize(731, 365);
        QTest::newRow("loto7, enlarged") << GameMode::Loto7 << QSize(1280, 900);
    }
    void mainWindowPagesShowWhatTheyHold() {
        QFETCH(GameMode, mode);
        QFETCH(QSize, size);
        TestWindow t;
        t.window->resize(size);
        QCOMPARE(t.window->size(), size);
        t.model().run([mode](Session& s) { return s.switchGame(mode); });
        auto* tabs = t.find<QTabWidget>("PageControl");
        QStringList found;
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            found << misfits(tabs->widget(i)) << coveredCaptions(tabs->widget(i)) << outsideTheirParent(tabs->widget(i));
        }
        found << misfits(t.find<QWidget>("MenuToolBar"));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    void otherWindowsShowWhatTheyHold() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        t.appendLines(" 1, 2, 3, 4, 5, 6\r\n 7, 8, 9,10,11,12\r\n");
        auto* rate = t.find<TRateForm>("TRateForm");
        rate->show();
        QStringList found = misfits(rate);
        {
            LongOperation op(t.window->waitForm(), false);
            found << misfits(&t.window->waitForm());
        }
        // The grid editor and the backtest window, opened as the user opens them.
        QTest::mouseClick(t.find<QPushButton>("EditBitBtn"), Qt::LeftButton);
        auto* editor = t.find<QWidget>("TEditForm");
        QVERIFY(editor->isVisible());
        found << misfits(editor) << coveredCaptions(editor);
        editor->close();
        QTest::mouseClick(t.find<QPushButton>("BacktestBitBtn"), Qt::LeftButton);
        auto* backtest = t.find<QWidget>("TBacktestForm");
        QVERIFY(backtest->isVisible());
        found << misfits(backtest) << coveredCaptions(backtest);
        backtest->close();
        // The link tab while its links are being edited.
        t.find<QTabWidget>("PageControl")->setCurrentIndex(4);
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        found << misfits(t.find<QWidget>("LinkTabSheet")) << coveredCaptions(t.find<QWidget>("LinkTabSheet"));
        QTest::mouseClick(t.find<QPushButton>("AddBitBtn"), Qt::LeftButton);
        // The about box, while it shows.
        bool aboutShown = false;
        QTimer::singleShot(0, [&found, &aboutShown] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) return;
            aboutShown = box->objectName() == QLatin1String("TAboutBox");
            found << misfits(box) << coveredCaptions(box);
            box->close();
        });
        QVERIFY(t.trigger("About"));
        QVERIFY(aboutShown);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    // The backtest summary with the largest amounts it is asked to show:
    // 99,999 lines (every digit of the cost used) over every draw of the
    // full history.
    void backtestSummaryHoldsTheLargestAmounts() {
        TestWindow t;
        QFile::remove(t.dir.filePath(QStringLiteral("lotodata.txt")));
        QVERIFY(QFile::copy(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE),
                            t.dir.filePath(QStringLiteral("lotodata.txt"))));
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        for (CombinationIndex i = 0; i < 99999; ++i) t.session().list().appendIndex(i * 60);
        t.model().apply(Change::List);
        QTest::mouseClick(t.find<QPushButton>("BacktestBitBtn"), Qt::LeftButton);
        auto* backtest = t.find<QWidget>("TBacktestForm");
        QVERIFY(backtest->isVisible());
        QVERIFY(t.text("BacktestCostMemo").contains(QString::fromUtf8("億")));
        QVERIFY(t.text("BacktestCostMemo").contains(QString::fromUtf8("万")));
        const QStringList found = misfits(backtest) << coveredCaptions(backtest);
        backtest->close();
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    // The grid editor's row labels show the highest row number whole, seven
    // digits for a list of a million lines.
    void editorRowLabelsHoldSevenDigits() {
        TestWindow t;
        t.model().run([](Session& s) { return s.switchGame(GameMode::Loto6); });
        for (CombinationIndex i = 0; i < 1000000; ++i) t.session().list().appendIndex(i * 6);
        t.model().apply(Change::List);
        QTest::mouseClick(t.find<QPushButton>("EditBitBtn"), Qt::LeftButton);
        auto* editor = t.find<TEditForm>("TEditForm");
        QVERIFY(editor->isVisible());
        const QFontMetrics metrics(editor->grid()->font());
        QVERIFY(editor->labelWidth() >= metrics.horizontalAdvance(QStringLiteral("1000000")) + 4);
        QCOMPARE(editor->grid()->verticalHeader()->width(), editor->labelWidth() + 1);
        editor->close();
    }

    // The draw count field takes seven digits and shows them all: typing
    // 10000000 stops at 1000000, whole in view.
    void drawCountShowsWhatWasTyped() {
        TestWindow t;
        auto* lot = t.find<QLineEdit>("LotMemo");
        lot->clear();
        QTest::keyClicks(lot, QStringLiteral("10000000"));
        QCOMPARE(lot->text(), QStringLiteral("1000000"));
        QVERIFY(QFontMetrics(lot->font()).horizontalAdvance(lot->text()) <= contentRect(lot).width());
    }

    // The wait window's percentage reads on the white and on the blue part.
    void gaugePercentReadsOnBothParts() {
        TestWindow t;
        LongOperation op(t.window->waitForm(), true);
        auto* gauge = t.find<QWidget>("CGauge");
        // Pixels in the middle of the gauge, where the percentage stands,
        // that differ clearly from the part they are on (white or blue).
        auto textPixels = [gauge](bool onBlue) {
            const QImage image = gauge->grab().toImage();
            const QRect middle(image.width() / 2 - 12, 2, 24, image.height() - 4);
            int count = 0;
            for (int y = middle.top(); y <= middle.bottom(); ++y)
                for (int x = middle.left(); x <= middle.right(); ++x) {
                    const QColor c(image.pixel(x, y));
                    if (onBlue ? c.red() > 160 && c.green() > 160 : c.lightness() < 100) ++count;
                }
            return count;
        };
        t.window->waitForm().setGauge(30);  // the percentage on white: dark
        QVERIFY(textPixels(false) > 10);
        t.window->waitForm().setGauge(70);  // on blue: light
        QVERIFY(textPixels(true) > 10);
    }

    // Every number of the board shows whole on its disc, white halo included.
    void numbersFitTheirDiscs() {
        TestWindow t;
        for (int n = 1; n <= kBoardSize; ++n) {
            auto* panel = t.find<QWidget>(QStringLiteral("NumPanel%1").arg(n).toLatin1().constData());
            const QFontMetrics metrics(panel->font());
            // The disc's widest chord at the digits' height, inside its outline.
            const double radius = (panel->width() - 3) / 2.0;
            const double half = metrics.ascent() / 2.0;
            const double chord = 2 * std::sqrt(radius * radius - half * half) - 2;
            const int needed = metrics.horizontalAdvance(QString::number(n)) + 2;
            QVERIFY2(needed <= chord, qPrintable(QStringLiteral("%1: %2 > %3").arg(n).arg(needed).arg(chord)));
        }
        auto* clear = t.find<QToolButton>("AllowAllUpSpeedButton");
        QVERIFY(QFontMetrics(clear->font()).horizontalAdvance(clear->text()) + 2 <= clear->width());
        QVERIFY(clear->geometry().right() < clear->parentWidget()->width());
    }

    void everyControlCarriesAHint() {
        TestWindow t;
        // The help window too, as F1 opens it.
        QVERIFY(t.trigger("Contents"));
        QVERIFY(t.window->findChild<THelpForm*>(QStringLiteral("THelpForm")));
        QStringList found = withoutHint(t.window.get());
        found << withoutHint(t.find<TRateForm>("TRateForm"));
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral(", "))));
    }

    // Hovering an item of the File, Link and Help menus shows its hint in
    // the status bar; closing the menu clears it.
    void everyMenuItemShowsItsHintInTheStatusBar() {
        TestWindow t;
        t.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(t.window.get()));
        auto* status = t.find<QStatusBar>("StatusBar");
        t.model().run([&](Session& s) {
            return s.changeOptions([&](Options& o) { o.recentFiles = {"/home/u/a.csv", "/home/u/b.txt"}; });
        });
        int items = 0;
        for (const char* name : {"File", "RecentMenu", "Link", "Help"}) {
            auto* menu = t.find<QMenu>(name);
            menu->popup(t.window->mapToGlobal(QPoint(10, 40)));
            for (QAction* action : menu->actions()) {
                if (action->isSeparator() || !action->isVisible()) continue;
                QVERIFY2(!action->statusTip().isEmpty(), qPrintable(action->objectName()));
                status->clearMessage();
                if (action->isEnabled()) {
                    menu->setActiveAction(action);  // as the mouse or the arrow keys make it current
                } else {
                    // A disabled item never becomes current: the mouse over it.
                    const QPoint over = menu->actionGeometry(action).center();
                    QMouseEvent move(QEvent::MouseMove, over, menu->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                                     Qt::NoModifier);
                    QApplication::sendEvent(menu, &move);
                }
                QCOMPARE(status->currentMessage(), action->statusTip());
                ++items;
            }
            menu->hide();
            // A menu of the bar clears its hint as it closes (a submenu leaves that to its menu).
            if (qstrcmp(name, "RecentMenu") != 0) QVERIFY(status->currentMessage().isEmpty());
        }
        // At least the items of the smallest program (File 8, recent files 2, Link 4, Help 2).
        QVERIFY2(items >= 8 + 2 + 4 + 2, qPrintable(QString::number(items)));
    }

    // The help window, with the contents of the real help.
    void helpWindowShowsWhatItHolds() {
        TestWindow t;
        t.window->helpCommands().setHelpPlaces({QStringLiteral(TAMBOR_TEST_DATA_DIR "/../help/index.htm")});
        THelpForm* form = t.window->helpCommands().ContentsClick();
        QVERIFY(form->isVisible());
        QVERIFY(!form->currentPage().isEmpty());
        t.find<QLabel>("FindLabel")->setText(QStringLiteral("見つかりません"));
        QStringList found = misfits(form) << outsideTheirParent(form);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(QStringLiteral("\n"))));
    }

    void standardDialogsSpeakJapanese() {
        QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(shown(box.button(QMessageBox::Yes)->text()), QString::fromUtf8("はい(Y)"));
        QCOMPARE(shown(box.button(QMessageBox::Cancel)->text()), QString::fromUtf8("キャンセル"));
    }
};

QTEST_MAIN(FitsTest)
#include "tst_fits.moc"
