// Takes the screenshots of the help pages from the real windows: starts the
// main window over a fresh data folder holding the given history, works it
// as a user would (by objectName and caption, so windows that are not built
// yet are simply skipped) and saves each window, frame included, as PNG.
//
// Usage: tambor-help-screenshots OUTDIR HISTORY_FILE
// Run under an X server with a window manager (scripts/screenshots.sh).

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>
#include <functional>

#include "ui/common/application.h"
#include "ui/common/printer.h"
#include "ui/links/link_icons.h"
#include "ui/main_window.h"

using tambor::ui::TMainForm;

namespace {

QString outDir;
QStringList made;
QStringList skipped;

void pause(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(QWidget* window, const QString& name) {
    window->raise();
    window->activateWindow();
    pause(600);
    const QRect frame = window->frameGeometry();
    const QPixmap shot = window->screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    const QString path = outDir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (shot.save(path)) {
        made << name;
    } else {
        skipped << name + QStringLiteral(" (cannot write ") + path + QLatin1Char(')');
    }
}

void skip(const QString& name, const QString& why) { skipped << name + QStringLiteral(" (") + why + QLatin1Char(')'); }

template <typename T>
T* child(QObject* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

// A button of root whose caption is caption, enabled and visible.
QAbstractButton* buttonByCaption(QWidget* root, const QString& caption) {
    for (QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->text() == caption && b->isEnabled() && b->isVisibleTo(root)) return b;
    return nullptr;
}

QAction* actionByCaption(QWidget* root, const QString& caption) {
    for (QAction* a : root->findChildren<QAction*>())
        if (a->text() == caption && a->isEnabled()) return a;
    return nullptr;
}

void click(QWidget* w) {
    if (!w) return;
    QTest::mouseClick(w, Qt::LeftButton);
    pause(100);
}

void clickNumbers(TMainForm& main, std::initializer_list<int> numbers) {
    for (int n : numbers) click(main.findChild<QWidget*>(QStringLiteral("NumPanel%1").arg(n)));
}

// A top-level window other than main that is visible, by objectName.
QWidget* shownWindow(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible()) return w;
    return nullptr;
}

// Runs start, which opens a window (modal, so start returns only when it
// closes, or not), saves that window as name and closes it. The window is
// the modal one, or the visible top-level window objectName; a message box
// instead means the command refused, and is only closed.
void openAndSave(const QString& name, const char* objectName, const std::function<void()>& start,
                 const std::function<void(QWidget*)>& prepare = {}) {
    bool seen = false;
    QTimer::singleShot(1200, [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window && objectName) window = shownWindow(objectName);
        if (!window) return;
        seen = true;
        if (window->inherits("QMessageBox")) {
            skip(name, QStringLiteral("a message instead of the window"));
        } else {
            if (prepare) prepare(window);
            save(window, name);
        }
        window->close();
    });
    start();
    pause(1500);
    if (!seen) skip(name, QStringLiteral("the window did not open"));
}

void showTab(TMainForm& main, const char* sheet) {
    auto* tabs = child<QTabWidget>(&main, "PageControl");
    if (QWidget* page = child<QWidget>(&main, sheet)) tabs->setCurrentWidget(page);
    pause(200);
}

void run(TMainForm& main) {
    auto u8 = [](const char* s) { return QString::fromUtf8(s); };

    // The pick page after a random draw of ロト６ with two fixed numbers.
    click(child<QRadioButton>(&main, "Loto6RadioButton"));
    click(child<QRadioButton>(&main, "FixRadioButton"));
    clickNumbers(main, {7, 23});
    if (auto* lot = child<QLineEdit>(&main, "LotMemo")) lot->setText(QStringLiteral("10"));
    click(child<QPushButton>(&main, "LotBitBtn"));
    pause(500);
    showTab(main, "PickTabSheet");
    save(&main, QStringLiteral("pick"));

    // A build from one axis and seven together numbers, four of them from
    // the newest draw (shown on the board), so the prize check finds wins;
    // the drawn lines stay, so the detail page shows their weighting.
    QList<int> winners, others;
    for (int n = 1; n <= 43; ++n)
        (main.session().board().has(n, tambor::Main) ? winners : others) << n;
    click(child<QRadioButton>(&main, "AxisRadioButton"));
    click(main.findChild<QWidget*>(QStringLiteral("NumPanel%1").arg(winners.value(0, 1))));
    click(child<QRadioButton>(&main, "TogetherRadioButton"));
    for (int n : winners.mid(1, 4) + QList<int>{others.value(3), others.value(17), others.value(29)})
        click(main.findChild<QWidget*>(QStringLiteral("NumPanel%1").arg(n)));
    click(child<QPushButton>(&main, "CombiBitBtn"));
    pause(500);
    save(&main, QStringLiteral("build"));

    // The prize check of the list against the newest draw.
    click(child<QPushButton>(&main, "PrizeBitBtn"));
    pause(500);
    save(&main, QStringLiteral("prize"));
    showTab(main, "DetailTabSheet");
    save(&main, QStringLiteral("detail"));

    showTab(main, "CalTabSheet");
    save(&main, QStringLiteral("calc"));
    showTab(main, "OptionTabSheet");
    save(&main, QStringLiteral("options"));
    showTab(main, "LinkTabSheet");
    save(&main, QStringLiteral("links"));
    if (auto* add = child<QPushButton>(&main, "AddBitBtn")) {
        click(add);
        save(&main, QStringLiteral("links-edit"));
        click(add);
    }
    showTab(main, "PickTabSheet");

    // The pair-rate window.
    if (auto* rate = child<QPushButton>(&main, "RateBitBtn"))
        openAndSave(QStringLiteral("rate"), "TRateForm", [rate] { rate->click(); },
                    [](QWidget* w) { w->resize(560, 520); });

    // The history window of ロト６ as it opens, and its dialog for the next
    // draw (opened over it, then both closed).
    if (auto* record = child<QPushButton>(&main, "RecordBitBtn")) {
        openAndSave(QStringLiteral("history"), "THistoryForm", [record] { record->click(); },
                    [](QWidget* w) { w->resize(640, 480); });
        openAndSave(QStringLiteral("history-add"), nullptr, [record] {
            record->click();
            if (QWidget* history = shownWindow("THistoryForm"))
                if (auto* add = child<QPushButton>(history, "AddDrawBitBtn")) add->click();
        });
        if (QWidget* history = shownWindow("THistoryForm")) history->close();
    } else {
        skip(QStringLiteral("history"), QStringLiteral("no history window yet"));
    }

    if (QAction* about = child<QAction>(&main, "About"); about && about->isEnabled())
        openAndSave(QStringLiteral("about"), "TAboutBox", [about] { about->trigger(); });
    else
        skip(QStringLiteral("about"), QStringLiteral("no about box"));

    // Windows that come with later versions: shot when they are there.
    if (QAbstractButton* edit = child<QPushButton>(&main, "EditBitBtn"); edit && edit->isEnabled())
        openAndSave(QStringLiteral("edit"), "TEditForm", [edit] { edit->click(); });
    else
        skip(QStringLiteral("edit"), QStringLiteral("no grid editor yet"));

    if (QAbstractButton* backtest = buttonByCaption(&main, u8("全期間で照合(&B)...")))
        openAndSave(QStringLiteral("backtest"), "TBacktestForm", [backtest] { backtest->click(); });
    else
        skip(QStringLiteral("backtest"), QStringLiteral("no backtest yet"));

    const QString previewCaption = u8("印刷プレビュー(&W)...");
    if (QAbstractButton* preview = buttonByCaption(&main, previewCaption))
        openAndSave(QStringLiteral("preview"), nullptr, [preview] { preview->click(); });
    else if (QAction* previewAction = actionByCaption(&main, previewCaption))
        openAndSave(QStringLiteral("preview"), nullptr, [previewAction] { previewAction->trigger(); });
    else
        skip(QStringLiteral("preview"), QStringLiteral("no print preview yet"));

    // The filter conditions (two of them set) and the number analysis
    // (sorted by the draws since each number came up), last, so the
    // conditions change none of the pictures above.
    if (auto* filter = child<QPushButton>(&main, "FilterBitBtn"))
        openAndSave(QStringLiteral("filter"), "TFilterForm", [filter] { filter->click(); }, [](QWidget* w) {
            if (auto* min = child<QSpinBox>(w, "FilterSumMinSpinBox")) min->setValue(100);
            if (auto* max = child<QSpinBox>(w, "FilterSumMaxSpinBox")) max->setValue(160);
            if (auto* min = child<QSpinBox>(w, "FilterOddMinSpinBox")) min->setValue(2);
            if (auto* max = child<QSpinBox>(w, "FilterOddMaxSpinBox")) max->setValue(4);
        });
    else
        skip(QStringLiteral("filter"), QStringLiteral("no filter window yet"));
    if (auto* analysis = child<QPushButton>(&main, "AnalysisBitBtn"))
        openAndSave(QStringLiteral("analysis"), "TAnalysisForm", [analysis] { analysis->click(); }, [](QWidget* w) {
            w->resize(560, 640);
            if (auto* table = child<QTableWidget>(w, "AnalysisTable")) {
                QHeaderView* header = table->horizontalHeader();
                QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                                  QPoint(header->sectionViewportPosition(5) + 5, header->height() / 2));
            }
        });
    else
        skip(QStringLiteral("analysis"), QStringLiteral("no analysis window yet"));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        QTextStream(stderr) << "usage: tambor-help-screenshots OUTDIR HISTORY_FILE\n";
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(outDir);
    tambor::ui::setUpApplication(app);
    QApplication::setWindowIcon(tambor::ui::programIcon());

    QTemporaryDir data;
    // A printer, as most users have one: the print options and the preview
    // show as they do for them (nothing is printed).
    tambor::ui::setTestPrinter(tambor::ui::TestPrinter{QStringLiteral("Office Laser"), QPageSize(QPageSize::A4),
                                                       QMarginsF(4.2, 4.2, 4.2, 4.2),
                                                       data.filePath(QStringLiteral("print.pdf"))});
    if (!QFile::copy(QString::fromLocal8Bit(argv[2]), data.filePath(QStringLiteral("lotodata.txt")))) {
        QTextStream(stderr) << "cannot copy the history " << argv[2] << "\n";
        return 1;
    }
    {
        TMainForm main({data.path().toStdString()});
        main.show();
        pause(1500);
        run(main);
        main.hide();
    }
    QTextStream out(stdout);
    out << "made: " << made.join(QLatin1Char(' ')) << "\n";
    for (const QString& s : skipped) out << "skipped: " << s << "\n";
    return 0;
}
