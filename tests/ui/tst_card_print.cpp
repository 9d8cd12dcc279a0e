// Card printing through the real window with a stand-in printer that
// prints into PDF files, the margin fields, and the painting routine
// measured on an image.

#include <QAction>
#include <QFile>
#include <QGraphicsView>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "io/card_print.h"
#include "support/dialog_guard.h"
#include "support/test_window.h"
#include "ui/common/message_box.h"
#include "ui/common/printer.h"
#include "ui/common/up_down.h"
#include "ui/common/wait_form.h"
#include "ui/common/widget_helpers.h"
#include "ui/print/card_painter.h"
#include "ui/print/card_printing.h"

using namespace tambor;
using namespace tambor::ui;
using tambor::ui::testing::TestWindow;

namespace {

const char* const kSeven =
    " 1, 2, 3, 4, 5\r\n 6,17,28,30,31\r\n 3, 4, 5, 6, 7\r\n 1,10,11,20,21\r\n 9,19,29,30,31\r\n 2, 3,14,15,26\r\n "
    "5,15,25,27,28\r\n";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Pages of a PDF file as Qt writes them ("/Type /Page", not "/Pages").
int pdfPageCount(const QString& path) {
    const QByteArray pdf = readAll(path);
    if (!pdf.startsWith("%PDF-")) return -1;
    return static_cast<int>(
        QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![s\\w])"))));
}

// The main window with a stand-in printer installed first: A4 with edges
// of 12 points at the sides and 6 points at top and bottom (200 and 100
// device pixels at 1200 dpi, 4.23 and 2.11 mm in the fields), printing into
// pdf. Its printable area is 9517 × 13833 pixels, 201.44 × 292.80 mm.
struct PrinterGuard {
    QTemporaryDir pdfDir;
    QString pdf;
    PrinterGuard() : pdf(pdfDir.filePath(QStringLiteral("printer.pdf"))) {
        setTestPrinter(TestPrinter{QStringLiteral("Tambor Test Printer"), QPageSize(QPageSize::A4),
                                   QMarginsF(12 * 25.4 / 72, 6 * 25.4 / 72, 12 * 25.4 / 72, 6 * 25.4 / 72), pdf});
    }
    ~PrinterGuard() { setTestPrinter(std::nullopt); }
};
struct PrinterWindow : PrinterGuard {
    TestWindow t;
};

// Records unanswered dialogs instead of failing, for the length of a test.
struct RecordUnanswered {
    QStringList dialogs;
    RecordUnanswered() {
        setDialogTestMode([this](const QString& what) { dialogs << what; });
    }
    ~RecordUnanswered() { tambor::ui::testing::installStrictDialogs(); }
};

void select(QListView* view, std::initializer_list<int> rows) {
    view->clearSelection();
    for (int r : rows) view->selectionModel()->select(view->model()->index(r, 0), QItemSelectionModel::Select);
}

// Types into a margin field and leaves it, as a user does.
void typeMargin(const TestWindow& t, const char* field, const QString& text) {
    auto* memo = t.find<QLineEdit>(field);
    bringPageToFront(memo);
    memo->setFocus();
    memo->selectAll();
    QTest::keyClicks(memo, text);
    t.find<QLineEdit>("DefMemo")->setFocus();
}

// ---- Finding the bars on an image ----

struct Bar {
    double left, top, right, bottom;  // millimetres
};

// The bounding boxes of the black regions of image, in millimetres.
std::vector<Bar> blackBars(const QImage& image, double dpi) {
    const int w = image.width(), h = image.height();
    std::vector<char> seen(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    std::vector<Bar> bars;
    const auto black = [&](int x, int y) { return qGray(image.pixel(x, y)) < 64; };
    const double mm = 25.4 / dpi;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t at =
                static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
            if (seen[at] || !black(x, y)) continue;
            int l = x, r = x, t = y, b = y;
            std::vector<QPoint> stack{QPoint(x, y)};
            seen[at] = 1;
            while (!stack.empty()) {
                const QPoint p = stack.back();
                stack.pop_back();
                l = std::min(l, p.x()), r = std::max(r, p.x()), t = std::min(t, p.y()), b = std::max(b, p.y());
                for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                    const QPoint n = p + d;
                    if (n.x() < 0 || n.y() < 0 || n.x() >= w || n.y() >= h) continue;
                    const std::size_t ni =
                        static_cast<std::size_t>(n.y()) * static_cast<std::size_t>(w) + static_cast<std::size_t>(n.x());
                    if (seen[ni] || !black(n.x(), n.y())) continue;
                    seen[ni] = 1;
                    stack.push_back(n);
                }
            }
            bars.push_back({l * mm, t * mm, (r + 1) * mm, (b + 1) * mm});
        }
    }
    return bars;
}

// The black bars of the first page of a PDF file, rasterised at 300 dpi by
// pdftoppm (poppler-utils), in millimetres from the paper's corner.
std::vector<Bar> printedBars(const QString& pdftoppm, const QString& pdf) {
    QProcess run;
    run.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                         QStringLiteral("-singlefile"), pdf, pdf});
    if (!run.waitForFinished(-1) || run.exitCode() != 0) return {};
    const QImage image(pdf + QStringLiteral(".pgm"));
    return image.isNull() ? std::vector<Bar>{} : blackBars(image, 300);
}

}  // namespace

class CardPrintTest : public tambor::ui::testing::WindowTest {
    Q_OBJECT
private slots:

    // ---- The painting routine on an image ----

    void paintedBarsLieWhereTheCardSays_data() {
        QTest::addColumn<double>("sourceDpi");
        QTest::newRow("device_resolution") << 600.0;
        // Pages worked out for another resolution (a printer, painted into
        // the dialog's PDF file instead) keep their millimetres.
        QTest::newRow("scaled_from_300_dpi") << 300.0;
    }
    void paintedBarsLieWhereTheCardSays() {
        QFETCH(double, sourceDpi);
        constexpr double dpi = 600.0;
        QImage image(2400, 3600, QImage::Format_RGB32);  // 101.6 × 152.4 mm
        image.fill(Qt::white);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        const double scale = sourceDpi / dpi;
        const PageMetrics metrics{2400 * scale, 3600 * scale, 2400 * 25.4 / dpi, 3600 * 25.4 / dpi};
        const CardMargins margins{3.0, 2.0};
        const std::vector<std::vector<int>> numbers = {{1, 2, 3, 4, 5, 6},
                                                       {7, 18, 29, 30, 41, 43},
                                                       {10, 11, 20, 21, 30, 31},
                                                       {9, 19, 29, 39, 40, 42},
                                                       {2, 14, 26, 33, 37, 38}};
        Card card;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            Combination c;
            for (int n : numbers[i]) c.numbers[static_cast<std::size_t>(c.size++)] = n;
            card.push_back({i, c, 0});
        }
        const std::vector<PageDrawing> pages = cardPages({card}, metrics, margins);
        QCOMPARE(paintCardPages(image, pages, {false, sourceDpi, sourceDpi}), CardPaintResult::Done);

        std::vector<Bar> bars = blackBars(image, dpi);
        QCOMPARE(bars.size(), std::size_t{30});
        for (std::size_t b = 0; b < numbers.size(); ++b) {
            for (int n : numbers[b]) {
                const int row = (n - 1) / 10, column = (n - 1) % 10;
                const double left = 61.5 - column * 57.5 / 9 - margins.horz;
                const double top = 21.0 * static_cast<double>(b) + 38.5 + 4.25 * row - margins.vert;
                const auto found = std::find_if(bars.begin(), bars.end(), [&](const Bar& bar) {
                    return std::abs(bar.left - left) <= 0.2 && std::abs(bar.top - top) <= 0.2 &&
                           std::abs(bar.right - (left + 4.0)) <= 0.2 && std::abs(bar.bottom - (top + 1.5)) <= 0.2;
                });
                QVERIFY2(found != bars.end(), qPrintable(QStringLiteral("block %1 number %2").arg(b).arg(n)));
                bars.erase(found);
            }
        }
    }

    void previewOutlineNeverTurnsBlack() {
        QImage image(1200, 1800, QImage::Format_RGB32);
        image.fill(Qt::white);
        const PageMetrics metrics{1200, 1800, 1200 * 25.4 / 300, 1800 * 25.4 / 300};
        Card card{{0, makeCombination({1, 2, 3, 4, 5}), 100}};
        std::vector<PageDrawing> pages = cardPages({card}, metrics, {});
        addCardOutline(pages[0], GameMode::MiniLoto, metrics, {});
        QCOMPARE(paintCardPages(image, pages, {true}), CardPaintResult::Done);
        QCOMPARE(blackBars(image, 300).size(), std::size_t{5});
        int grey = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (const int g = qGray(image.pixel(x, y)); g > 64 && g < 255) ++grey;
        QVERIFY(grey > 0);
    }

    void stopEndsTheRunWithWholeCards() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("stopped.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        const PageMetrics metrics = printerMetrics(printer);
        const Card card{{0, makeCombination({1, 2, 3, 4, 5}), 10}, {1, makeCombination({1, 2, 3, 4, 6}), 20}};
        int calls = 0;
        // Stopped after the first combination: its card is finished, no other starts.
        QCOMPARE(
            paintCardPages(printer, cardPages({card, card, card}, metrics, {}), {}, [&](int) { return ++calls < 1; }),
            CardPaintResult::Stopped);
        QCOMPARE(calls, 1);
        QCOMPARE(pdfPageCount(pdf), 1);
    }

    // ---- Full-page printing: only the program's margins place the marks ----

    void dialogMarginsLeaveTheMarksWhereTheCardSays() {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) measures the printed page");
        PrinterWindow p;
        p.t.appendLines(" 1, 2, 3,10,31\r\n");
        QTemporaryDir dir;
        PrintDialogAnswer answer;
        answer.outputFileName = dir.filePath(QStringLiteral("plain.pdf"));
        PrintDialog::setNextAnswer(answer);
        QTest::mouseClick(p.t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        // The same card with margins typed on the dialog's properties page.
        answer.outputFileName = dir.filePath(QStringLiteral("margins.pdf"));
        answer.pageMarginsMm = QMarginsF(20, 10, 5, 30);
        PrintDialog::setNextAnswer(answer);
        QTest::mouseClick(p.t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);

        const std::vector<Bar> plain = printedBars(pdftoppm, dir.filePath(QStringLiteral("plain.pdf")));
        const std::vector<Bar> moved = printedBars(pdftoppm, dir.filePath(QStringLiteral("margins.pdf")));
        QCOMPARE(plain.size(), std::size_t{5});
        QCOMPARE(moved.size(), std::size_t{5});
        // The margins are the printer's edges, so every mark lies where the
        // card has its box, measured from the paper's corner.
        for (const int n : {1, 2, 3, 10, 31}) {
            const double left = 61.5 - ((n - 1) % 10) * 57.5 / 9;
            const double top = 38.5 + 4.25 * ((n - 1) / 10);
            for (const std::vector<Bar>* bars : {&plain, &moved}) {
                const bool found = std::any_of(bars->begin(), bars->end(), [&](const Bar& b) {
                    return std::abs(b.left - left) <= 0.2 && std::abs(b.top - top) <= 0.2 &&
                           std::abs(b.right - left - 4.0) <= 0.2 && std::abs(b.bottom - top - 1.5) <= 0.2;
                });
                QVERIFY2(found,
                         qPrintable(QStringLiteral("number %1 (%2)").arg(n).arg(bars == &plain ? "plain" : "margins")));
            }
        }
    }

    // 印刷テスト and 余白の取得 follow the printer picked in the print dialog;
    // each printer keeps its own margins.
    void thePrinterPickedInTheDialogIsRemembered() {
        QTemporaryDir pdfDir;
        const QString first = pdfDir.filePath(QStringLiteral("first.pdf"));
        const QString second = pdfDir.filePath(QStringLiteral("second.pdf"));
        const QMarginsF edges(12 * 25.4 / 72, 6 * 25.4 / 72, 12 * 25.4 / 72, 6 * 25.4 / 72);
        setTestPrinters({TestPrinter{QStringLiteral("Tambor Test Printer"), QPageSize(QPageSize::A4), edges, first},
                         TestPrinter{QStringLiteral("MarkCard"), QPageSize(QPageSize::A4), QMarginsF(), second}});
        struct Reset {
            ~Reset() { setTestPrinter(std::nullopt); }
        } reset;
        TestWindow t;
        auto* group = t.find<QGroupBox>("PrintGroupBox");
        QVERIFY2(group->title().contains(QStringLiteral("余白（Tambor Test Printer）")), qPrintable(group->title()));
        t.model().run([](Session& s) { return s.changeOptions([](Options& o) { o.horzMargin = 3.5; }); });
        t.appendLines(kSeven);

        PrintDialogAnswer markCard;
        markCard.printerName = QStringLiteral("MarkCard");
        PrintDialog::setNextAnswer(markCard);
        QTest::mouseClick(t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        QCOMPARE(pdfPageCount(second), 2);
        QVERIFY(!QFile::exists(first));
        QVERIFY2(group->title().contains(QStringLiteral("余白（MarkCard）")), qPrintable(group->title()));
        QCOMPARE(t.session().options().printerName, std::string("MarkCard"));
        QCOMPARE(t.text("HorzMemo"), QStringLiteral("  0"));  // MarkCard's own edges
        QCOMPARE(QString::fromStdString(t.session().options().otherPrinterMargins.at(0)),
                 QStringLiteral("Tambor Test Printer=3.5, 2.11"));

        // The test page goes to the printer picked last.
        QFile::remove(second);
        QTest::mouseClick(t.find<QPushButton>("PrintTestBitBtn"), Qt::LeftButton);
        QCOMPARE(pdfPageCount(second), 1);
        QVERIFY(!QFile::exists(first));

        // Back to the first printer: its calibration returns.
        PrintDialogAnswer back;
        back.printerName = QStringLiteral("Tambor Test Printer");
        PrintDialog::setNextAnswer(back);
        QTest::mouseClick(t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        QCOMPARE(t.text("HorzMemo"), QStringLiteral("3.5"));
        QCOMPARE(t.session().options().otherPrinterMargins, (std::vector<std::string>{"MarkCard=  0,   0"}));
    }

    // ---- The controls and the printer ----

    void withoutPrinterEveryPrintingControlIsDisabled() {
        TestWindow t;
        const QString why = QStringLiteral("プリンタがインストールされていないため使えません");
        QVERIFY(!t.find<QAction>("Print")->isEnabled());
        QVERIFY2(t.find<QAction>("Print")->statusTip().contains(why),
                 qPrintable(t.find<QAction>("Print")->statusTip()));
        for (const char* name :
             {"PrintToolButton", "PrintBitBtn", "mmPageXMarginLabel", "mmPageYMarginLabel", "HorzMemo", "VertMemo",
              "HorzUpDown", "VertUpDown", "mmXLabel", "mmYLabel", "PrintTestBitBtn", "GetMarginBitBtn"})
            QVERIFY2(!t.find<QWidget>(name)->isEnabled(), name);
        for (const char* name : {"PrintBitBtn", "PrintTestBitBtn", "GetMarginBitBtn"}) {
            const QString hint = t.find<QWidget>(name)->toolTip();
            QVERIFY2(hint.contains(why), name);
            QCOMPARE(hint.count(why), 1);
        }
        // Asked again (the margin fetch), the reason is not repeated.
        t.window->findChild<CardPrinting*>(QStringLiteral("CardPrinting"))->DisablePrinting();
        QCOMPARE(t.find<QWidget>("PrintBitBtn")->toolTip().count(why), 1);
        // The card's own page needs no printer.
        QVERIFY(t.find<QAction>("PrintPreview")->isEnabled());
        QVERIFY(t.find<QAction>("SavePdf")->isEnabled());
        QVERIFY(t.find<QPushButton>("SavePdfBitBtn")->isEnabled());
    }

    // The theme's printer, or the program's own: never a blank page.
    void printButtonShowsAPrinter() {
        TestWindow t;
        const QIcon icon = t.find<QToolButton>("PrintToolButton")->icon();
        QVERIFY(!icon.isNull());
        if (QIcon::hasThemeIcon(QStringLiteral("document-print"))) return;
        QVERIFY(!QImage(QStringLiteral(":/icons/actions/print-16.png")).isNull());
        QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32)}));
    }

    // ---- The card's own page: the preview and the PDF file, no printer ----

    void previewShowsTheCardPageWithoutAPrinter() {
        TestWindow t;
        t.appendLines(kSeven);
        QString title;
        QSizeF pageMm;
        int pages = -1;
        QPrintPreviewWidget::ZoomMode zoom = QPrintPreviewWidget::CustomZoom;
        std::vector<int> visited;
        PrintDialog::setNextPreview([&](QPrintPreviewDialog& dialog) {
            title = dialog.windowTitle();
            pageMm = dialog.printer()->pageLayout().fullRect(QPageLayout::Millimeter).size();
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            if (!widget) return;
            pages = widget->pageCount();
            zoom = widget->zoomMode();
            QWidget* view = widget->findChild<QGraphicsView*>();
            for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_End, Qt::Key_Home}) {
                QTest::keyClick(view, key);
                visited.push_back(widget->currentPage());
            }
        });
        QVERIFY(t.trigger("PrintPreview"));
        QCOMPARE(title, QStringLiteral("ミニロト 申込カード（5 口／枚）、全 2 枚"));
        QCOMPARE(pages, 2);
        QVERIFY(std::abs(pageMm.width() - 100.0) < 0.01 && std::abs(pageMm.height() - 148.0) < 0.01);
        QCOMPARE(zoom, QPrintPreviewWidget::FitInView);
        QCOMPARE(visited, (std::vector<int>{2, 2, 1, 2, 1}));

        // A ロト６ card, the selection only: one card.
        t.model().run([](Session& s) { return s.clearList(); });
        QTest::mouseClick(t.find<QRadioButton>("Loto6RadioButton"), Qt::LeftButton);
        t.appendLines(" 1, 2, 3, 4, 5,43\r\n 6, 7, 8, 9,10,11\r\n 7,12,23,31,34,37\r\n");
        select(t.find<QListView>("PickListBox"), {0, 2});
        PrintDialog::setNextPreview([&](QPrintPreviewDialog& dialog) { title = dialog.windowTitle(); });
        QVERIFY(t.trigger("PrintPreview"));
        QCOMPARE(title, QStringLiteral("ロト６ 申込カード（5 口／枚）、全 1 枚"));
    }

    // Outlines and numbers are faint grey, beside the marks, and only on the screen.
    void previewNumbersStandBesideTheirMarks() {
        const PageMetrics metrics{1181, 1748, 1181 * 25.4 / 300, 1748 * 25.4 / 300};  // the card at 300 dpi
        QImage image(1181, 1748, QImage::Format_RGB32);
        image.fill(Qt::white);
        const Card card{{0, makeCombination({1, 2, 3, 4, 5, 43}), 100}};
        std::vector<PageDrawing> pages = cardPages({card}, metrics, {});
        addCardOutline(pages[0], GameMode::Loto6, metrics, {});
        addMarkLabels(pages[0], card, metrics, {});
        QCOMPARE(pages[0].labels.size(), std::size_t{6});
        QCOMPARE(pages[0].outlines.size(), std::size_t{1 + 5 + 5 * 43});  // card, panels, boxes
        QCOMPARE(paintCardPages(image, pages, {true}), CardPaintResult::Done);
        QCOMPARE(blackBars(image, 300).size(), std::size_t{6});
        const auto greyIn = [&](double leftMm, double topMm, double rightMm, double bottomMm) {
            int grey = 0;
            for (int y = int(topMm * 300 / 25.4); y < int(bottomMm * 300 / 25.4); ++y)
                for (int x = int(leftMm * 300 / 25.4); x < int(rightMm * 300 / 25.4); ++x)
                    if (const int g = qGray(image.pixel(x, y)); g > 64 && g < 200) ++grey;
            return grey;
        };
        // Number 43 (last row, third column): its digits right of its mark.
        const double left43 = 61.5 - 2 * 57.5 / 9 + 4.0, top43 = 38.5 + 4 * 4.25;
        QVERIFY(greyIn(left43 + 0.2, top43 - 0.2, left43 + 2.3, top43 + 1.7) > 10);
        // Number 42 has no mark and no number.
        const double left42 = 61.5 - 57.5 / 9 + 4.0;
        QCOMPARE(greyIn(left42 + 0.3, top43 + 0.1, left42 + 2.2, top43 + 1.4), 0);
        // The PDF and the printer receive none of it.
        QImage plain(1181, 1748, QImage::Format_RGB32);
        plain.fill(Qt::white);
        QCOMPARE(paintCardPages(plain, pages, {false}), CardPaintResult::Done);
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (const int g = qGray(plain.pixel(x, y)); g > 0 && g < 255) QFAIL("grey on the printed page");
    }

    void pdfWithoutAPrinterPutsTheMarksOnTheCard() {
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) QSKIP("pdftoppm (poppler-utils) measures the saved page");
        TestWindow t;
        t.appendLines(" 1, 2, 3,10,31\r\n 5, 6,17,20,30\r\n");
        t.appendLines(kSeven);
        const QString pdf = t.dir.filePath(QStringLiteral("cards.pdf"));
        FileDialog::setNextFileName(pdf);
        QTest::mouseClick(t.find<QPushButton>("SavePdfBitBtn"), Qt::LeftButton);
        QCOMPARE(pdfPageCount(pdf), 2);
        QCOMPARE(MessageBox::shownTexts(), QStringList());

        // The page is the postcard, the marks where the card has its boxes.
        QProcess run;
        run.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-gray"),
                             QStringLiteral("-singlefile"), pdf, pdf});
        QVERIFY(run.waitForFinished(-1) && run.exitCode() == 0);
        const QImage page(pdf + QStringLiteral(".pgm"));
        // PDF pages are whole points: 284 × 420 pt is 100.19 × 148.17 mm.
        QVERIFY2(std::abs(page.width() * 25.4 / 300 - 100.0) < 0.3, qPrintable(QString::number(page.width())));
        QVERIFY2(std::abs(page.height() * 25.4 / 300 - 148.0) < 0.3, qPrintable(QString::number(page.height())));
        const std::vector<Bar> bars = blackBars(page, 300);
        QCOMPARE(bars.size(), std::size_t{25});  // the first card: five combinations
        const std::vector<std::vector<int>> blocks{{1, 2, 3, 10, 31}, {5, 6, 17, 20, 30}};
        for (std::size_t b = 0; b < blocks.size(); ++b) {
            for (const int n : blocks[b]) {
                const double left = 61.5 - ((n - 1) % 10) * 57.5 / 9;
                const double top = 21.0 * static_cast<double>(b) + 38.5 + 4.25 * ((n - 1) / 10);
                const bool found = std::any_of(bars.begin(), bars.end(), [&](const Bar& bar) {
                    return std::abs(bar.left - left) <= 0.2 && std::abs(bar.top - top) <= 0.2 &&
                           std::abs(bar.right - left - 4.0) <= 0.2 && std::abs(bar.bottom - top - 1.5) <= 0.2;
                });
                QVERIFY2(found, qPrintable(QStringLiteral("block %1 number %2").arg(b).arg(n)));
            }
        }

        // The menu item: the selection only, over the file saved before.
        select(t.find<QListView>("PickListBox"), {3});
        FileDialog::setNextFileName(pdf);
        QVERIFY(t.trigger("SavePdf"));
        QCOMPARE(pdfPageCount(pdf), 1);
    }

    void pdfThatCannotBeSavedSaysWhyAndLeavesNothing() {
        TestWindow t;
        t.appendLines(kSeven);
        const QString pdf = t.dir.filePath(QStringLiteral("no-such-folder/cards.pdf"));
        FileDialog::setNextFileName(pdf);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(t.trigger("SavePdf"));
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY2(MessageBox::shownTexts().at(0).contains(QStringLiteral("no-such-folder")),
                 qPrintable(MessageBox::shownTexts().at(0)));
        QVERIFY(!QFile::exists(pdf));
        // A cancelled dialog or an empty list writes nothing.
        FileDialog::setNextFileName(QString());
        QVERIFY(t.trigger("SavePdf"));
        t.model().run([](Session& s) { return s.clearList(); });
        MessageBox::clearShownTexts();
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(t.trigger("SavePdf"));
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{QString::fromUtf8("数字の組み合わせがないので印刷できません。")});
    }

    void withPrinterTheControlsWorkAndTheMarginsAreItsEdges() {
        PrinterWindow p;
        QVERIFY(p.t.find<QAction>("Print")->isEnabled());
        QVERIFY(p.t.find<QPushButton>("PrintBitBtn")->isEnabled());
        QVERIFY(p.t.find<QLineEdit>("HorzMemo")->isEnabled());
        QCOMPARE(p.t.text("HorzMemo"), QStringLiteral("4.23"));
        QCOMPARE(p.t.text("VertMemo"), QStringLiteral("2.11"));
        QCOMPARE(p.t.session().options().horzMargin, 4.23);
        QCOMPARE(p.t.find<UpDown>("HorzUpDown")->position(), 8);
        QCOMPARE(p.t.find<UpDown>("HorzUpDown")->maximum(), 402);  // 201.44 mm in half millimetres
        QCOMPARE(p.t.find<UpDown>("VertUpDown")->maximum(), 585);
    }

    void printBitBtnPrintsTheListIntoAPdfFile() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        PrintDialog::setNextAnswer({});
        QTest::mouseClick(p.t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        const PrintDialogOffer offer = PrintDialog::lastOffer();
        QCOMPARE(offer.minPage, 1);
        QCOMPARE(offer.maxPage, 2);
        QCOMPARE(offer.fromPage, 1);
        QCOMPARE(offer.toPage, 2);
        QVERIFY(!offer.selectionOffered);
        QCOMPARE(offer.range, QAbstractPrintDialog::AllPages);
        QCOMPARE(pdfPageCount(p.pdf), 2);
        QCOMPARE(p.t.session().list().size(), std::size_t{7});
    }

    void selectionIsOfferedAndPrintedOnOneCard() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        select(p.t.find<QListView>("PickListBox"), {1, 6});
        const QString pdf = p.pdfDir.filePath(QStringLiteral("selection.pdf"));
        PrintDialogAnswer answer;
        answer.range = QAbstractPrintDialog::Selection;
        answer.outputFileName = pdf;  // the dialog's "print to file"
        PrintDialog::setNextAnswer(answer);
        QVERIFY(p.t.trigger("Print"));
        QVERIFY(PrintDialog::lastOffer().selectionOffered);
        QCOMPARE(PrintDialog::lastOffer().range, QAbstractPrintDialog::Selection);
        QCOMPARE(pdfPageCount(pdf), 1);
    }

    void pageRangePrintsItsCards() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        p.t.appendLines(" 1, 2, 3, 4,31\r\n 1, 2, 3, 5,31\r\n 1, 2, 3, 6,31\r\n 1, 2, 3, 7,31\r\n 1, 2, 3, 8,31\r\n");
        PrintDialogAnswer answer;
        answer.range = QAbstractPrintDialog::PageRange;
        answer.fromPage = 2;
        answer.toPage = 3;
        PrintDialog::setNextAnswer(answer);
        QVERIFY(p.t.trigger("Print"));
        QCOMPARE(PrintDialog::lastOffer().maxPage, 3);
        QCOMPARE(pdfPageCount(p.pdf), 2);
    }

    void cancelledDialogOrEmptyListPrintsNothing() {
        PrinterWindow p;
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QTest::mouseClick(p.t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        QCOMPARE(MessageBox::shownTexts(),
                 QStringList{QString::fromUtf8("数字の組み合わせがないので印刷できません。")});
        p.t.appendLines(kSeven);
        PrintDialogAnswer cancel;
        cancel.accepted = false;
        PrintDialog::setNextAnswer(cancel);
        QTest::mouseClick(p.t.find<QPushButton>("PrintBitBtn"), Qt::LeftButton);
        QVERIFY(!QFile::exists(p.pdf));
    }

    void nothingWhileAnotherCommandRuns() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        p.t.model().waitForm().begin(true);
        // Any dialog asked for here would fail the test.
        QVERIFY(p.t.trigger("Print"));
        QVERIFY(p.t.trigger("PrintPreview"));
        QTest::mouseClick(p.t.find<QPushButton>("PrintTestBitBtn"), Qt::LeftButton);
        p.t.model().waitForm().end();
        QVERIFY(!QFile::exists(p.pdf));
    }

    void unansweredPrintDialogAndPreviewAreCaught() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        RecordUnanswered record;
        QVERIFY(p.t.trigger("Print"));
        QVERIFY(p.t.trigger("PrintPreview"));
        QCOMPARE(record.dialogs.size(), 2);
        QVERIFY(record.dialogs.at(0).startsWith(QStringLiteral("print dialog")));
        QVERIFY(record.dialogs.at(1).startsWith(QStringLiteral("print preview")));
        QVERIFY(!QFile::exists(p.pdf));
    }

    void failedJobShowsTheReasonAndKeepsTheList() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        PrintDialogAnswer answer;
        answer.outputFileName = p.pdfDir.filePath(QStringLiteral("no-such-folder/cards.pdf"));
        PrintDialog::setNextAnswer(answer);
        MessageBox::setNextAnswer(QMessageBox::Ok);
        QVERIFY(p.t.trigger("Print"));
        QCOMPARE(MessageBox::shownTexts().size(), 1);
        QVERIFY(MessageBox::shownTexts().at(0).contains(QStringLiteral("no-such-folder/cards.pdf")));
        QCOMPARE(p.t.session().list().size(), std::size_t{7});
        QVERIFY(!p.t.model().busy());
    }

    void testPageIsOnePage() {
        PrinterWindow p;
        QTest::mouseClick(p.t.find<QPushButton>("PrintTestBitBtn"), Qt::LeftButton);
        QCOMPARE(pdfPageCount(p.pdf), 1);
    }

    void previewShowsTheCards() {
        PrinterWindow p;
        p.t.appendLines(kSeven);
        int pages = -1;
        PrintDialog::setNextPreview([&](QPrintPreviewDialog& dialog) {
            if (auto* widget = dialog.findChild<QPrintPreviewWidget*>()) pages = widget->pageCount();
        });
        QVERIFY(p.t.trigger("PrintPreview"));
        QCOMPARE(pages, 2);
        QVERIFY(!QFile::exists(p.pdf));  // nothing reached the printer
    }

    // ---- The margin fields ----

    void typedMarginsAreReadWhenTheFieldIsLeft_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one_decimal") << QStringLiteral("2.5") << 2.5 << QStringLiteral("2.5");
        QTest::newRow("third_decimal_ignored") << QStringLiteral("2.567") << 2.56 << QStringLiteral("2.56");
        QTest::newRow("trailing_point") << QStringLiteral("2.") << 2.0 << QStringLiteral("  2");
        QTest::newRow("whole_number") << QStringLiteral("12") << 12.0 << QStringLiteral(" 12");
        QTest::newRow("above_page_width") << QStringLiteral("999") << 9517 * 25.4 / 1200 << QStringLiteral("201.4");
        QTest::newRow("empty_keeps_previous") << QString() << 5.0 << QStringLiteral("  5");
    }
    void typedMarginsAreReadWhenTheFieldIsLeft() {
        QFETCH(QString, typed);
        QFETCH(double, margin);
        QFETCH(QString, shown);
        PrinterWindow p;
        p.t.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.t.window.get()));
        typeMargin(p.t, "HorzMemo", QStringLiteral("5"));
        typeMargin(p.t, "HorzMemo", typed);
        QCOMPARE(p.t.session().options().horzMargin, margin);
        QCOMPARE(p.t.text("HorzMemo"), shown);
    }

    void arrowsStepByHalfMillimetresAndStopAtZero() {
        PrinterWindow p;
        auto* memo = p.t.find<QLineEdit>("HorzMemo");
        memo->setText(QStringLiteral("0"));
        QTest::keyClick(memo, Qt::Key_Up);
        QCOMPARE(p.t.session().options().horzMargin, 0.5);
        QCOMPARE(memo->text(), QStringLiteral("0.5"));
        QCOMPARE(p.t.find<UpDown>("HorzUpDown")->position(), 1);
        QTest::keyClick(memo, Qt::Key_Down);
        QTest::keyClick(memo, Qt::Key_Down);
        QCOMPARE(p.t.session().options().horzMargin, 0.0);
        QCOMPARE(memo->text(), QStringLiteral("  0"));
        // The spinner's arrows: what was typed is taken first.
        auto* vert = p.t.find<QLineEdit>("VertMemo");
        vert->setText(QStringLiteral("3.25"));
        const auto arrows = p.t.find<UpDown>("VertUpDown")->findChildren<QToolButton*>();
        QTest::mouseClick(arrows.at(0), Qt::LeftButton);
        QCOMPARE(p.t.session().options().vertMargin, 3.75);
        QCOMPARE(vert->text(), QStringLiteral("3.75"));
        // Never beyond the printable height.
        vert->setText(QStringLiteral("292.7"));
        QTest::mouseClick(arrows.at(0), Qt::LeftButton);
        QCOMPARE(p.t.session().options().vertMargin, 13833 * 25.4 / 1200);
    }

    void marginsComeBackFromThePrinterAndAreKeptPerPrinter() {
        PrinterWindow p;
        p.t.find<QLineEdit>("HorzMemo")->setText(QStringLiteral("7"));
        QTest::keyClick(p.t.find<QLineEdit>("HorzMemo"), Qt::Key_Up);
        QCOMPARE(p.t.session().options().horzMargin, 7.5);
        QTest::mouseClick(p.t.find<QPushButton>("GetMarginBitBtn"), Qt::LeftButton);
        QCOMPARE(p.t.session().options().horzMargin, 4.23);
        QTest::keyClick(p.t.find<QLineEdit>("VertMemo"), Qt::Key_Up);
        QVERIFY(p.t.window->close());
        QVERIFY(readAll(p.t.dir.filePath(QStringLiteral("Tambor.ini"))).contains("Tambor Test Printer=4.23, 2.61\r\n"));
    }
};

QTEST_MAIN(CardPrintTest)
#include "tst_card_print.moc"
