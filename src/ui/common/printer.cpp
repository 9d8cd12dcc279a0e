#include "ui/common/printer.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

namespace tambor::ui {
namespace {

std::optional<TestPrinter>& testPrinter() {
    static std::optional<TestPrinter> printer;
    return printer;
}

QPrinterInfo installedPrinter() {
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty()) printer = all.constFirst();
    }
    return printer;
}

}  // namespace

void setTestPrinter(std::optional<TestPrinter> printer) { testPrinter() = std::move(printer); }

QString currentPrinterName() {
    if (testPrinter()) return testPrinter()->name;
    return installedPrinter().printerName();
}

bool setUpPrinter(QPrinter& printer) {
    if (const std::optional<TestPrinter>& test = testPrinter()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(test->pdfFile);
        printer.setPageSize(test->pageSize);
        printer.setPageMargins(test->marginsMm, QPageLayout::Millimeter);
        return true;
    }
    const QPrinterInfo info = installedPrinter();
    if (info.isNull()) return false;
    printer.setPrinterName(info.printerName());
    printer.setPageSize(info.defaultPageSize());
    // The printable area the hardware allows: its edges are the offsets
    // the card coordinates are corrected by.
    const QPageLayout layout = printer.pageLayout();
    printer.setPageMargins(layout.minimumMargins(), layout.units());
    return printer.isValid();
}

PageMetrics printerMetrics(const QPrinter& printer) {
    const QRectF pixels = printer.pageRect(QPrinter::DevicePixel);
    const double dpiX = printer.logicalDpiX();
    const double dpiY = printer.logicalDpiY();
    if (dpiX <= 0 || dpiY <= 0) return {};
    return {pixels.width(), pixels.height(), pixels.width() * 25.4 / dpiX, pixels.height() * 25.4 / dpiY};
}

std::optional<PrinterInfo> currentPrinter() {
    QPrinter printer(QPrinter::HighResolution);
    if (!setUpPrinter(printer)) return std::nullopt;
    const PageMetrics metrics = printerMetrics(printer);
    return PrinterInfo{currentPrinterName().toStdString(), metrics.widthMm, metrics.heightMm};
}

}  // namespace tambor::ui
