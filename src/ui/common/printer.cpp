#include "ui/common/printer.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

namespace tambor::ui {
namespace {

struct TestPrinters {
    std::vector<TestPrinter> printers;  // empty: the real printers
    QString dialogChoice;
};

TestPrinters& testPrinters() {
    static TestPrinters test;
    return test;
}

// The test printer in use, or nothing when the real printers are used.
const TestPrinter* testPrinterInUse(const QString& chosen) {
    const std::vector<TestPrinter>& all = testPrinters().printers;
    if (all.empty()) return nullptr;
    const auto it = std::find_if(all.begin(), all.end(), [&](const TestPrinter& p) { return p.name == chosen; });
    return it != all.end() ? &*it : &all.front();
}

QPrinterInfo installedPrinter(const QString& chosen) {
    if (!chosen.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(chosen);
        if (!info.isNull()) return info;
    }
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty()) printer = all.constFirst();
    }
    return printer;
}

}  // namespace

void setTestPrinter(std::optional<TestPrinter> printer) {
    testPrinters().printers.clear();
    if (printer) testPrinters().printers.push_back(std::move(*printer));
    testPrinters().dialogChoice.clear();
}

void setTestPrinters(std::vector<TestPrinter> printers) {
    testPrinters().printers = std::move(printers);
    testPrinters().dialogChoice.clear();
}

void setTestDialogPrinter(const QString& name) { testPrinters().dialogChoice = name; }

QString currentPrinterName(const QString& chosen) {
    if (testPrinters().printers.empty()) return installedPrinter(chosen).printerName();
    return testPrinterInUse(chosen)->name;
}

bool anyPrinterInstalled() {
    if (!testPrinters().printers.empty()) return true;
    return !installedPrinter({}).isNull();
}

QString dialogPrinterName(const QPrinter& printer) {
    if (testPrinters().printers.empty()) return printer.printerName();
    // The test printers print into files; the dialog's choice is the test's.
    QString& choice = testPrinters().dialogChoice;
    const QString name = choice;
    choice.clear();
    return name;
}

bool setUpPrinter(QPrinter& printer, const QString& chosen) {
    if (const TestPrinter* test = testPrinterInUse(chosen)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(test->pdfFile);
        printer.setPageSize(test->pageSize);
        printer.setPageMargins(test->marginsMm, QPageLayout::Millimeter);
        return true;
    }
    const QPrinterInfo info = installedPrinter(chosen);
    if (info.isNull()) return false;
    printer.setPrinterName(info.printerName());
    printer.setPageSize(info.defaultPageSize());
    // The printable area the hardware allows: its edges are the offsets
    // the card coordinates are corrected by.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    return printer.isValid();
}

namespace {
QPageLayout cardPageLayout() {
    return QPageLayout(QPageSize(QSizeF(kCardWidthMm, kCardHeightMm), QPageSize::Millimeter), QPageLayout::Portrait,
                       QMarginsF(), QPageLayout::Millimeter);
}
}  // namespace

void setUpCardPage(QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageLayout(cardPageLayout());
    printer.setFullPage(true);
}

void setUpCardPage(QPdfWriter& writer, GameMode mode) {
    writer.setPageLayout(cardPageLayout());
    writer.setResolution(1200);
    writer.setCreator(QStringLiteral("タンボル"));
    writer.setTitle(QString::fromUtf8(gameName(mode)) + QStringLiteral(" 申込カード"));
}

PageMetrics printerMetrics(const QPrinter& printer) {
    const QRectF pixels = printer.pageRect(QPrinter::DevicePixel);
    const double dpiX = printer.logicalDpiX();
    const double dpiY = printer.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0) return {};
    return {pixels.width(), pixels.height(), pixels.width() * 25.4 / dpiX, pixels.height() * 25.4 / dpiY};
}

std::optional<PrinterInfo> currentPrinter(const QString& chosen) {
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer, chosen)) return std::nullopt;
    const PageMetrics metrics = printerMetrics(printer);
    return PrinterInfo{currentPrinterName(chosen).toStdString(), metrics.widthMm, metrics.heightMm};
}

}  // namespace tambor::ui
