#pragma once
// The desktop's printer as card printing, the settings and the margins see
// it. Tests install a stand-in printer that prints into a PDF file, so the
// printing controls work on a machine without any printer.

#include <QMarginsF>
#include <QPageSize>
#include <QString>
#include <optional>
#include <vector>

#include "core/game.h"
#include "io/card_print.h"
#include "io/print_margin.h"

class QPdfWriter;
class QPrinter;

namespace tambor::ui {

// The printer in use is the one the user chose last (`chosen`, remembered
// in the settings) while it is installed, otherwise the system's default
// printer, or the first one when none is the default.

// The printer in use: its name and, as the page size, the printable area
// in millimetres. Nothing when no printer is installed.
std::optional<PrinterInfo> currentPrinter(const QString& chosen = {});

// Sets printer up for the printer in use with its default paper, the
// printable area as large as the hardware allows. False when no printer is
// installed.
bool setUpPrinter(QPrinter& printer, const QString& chosen = {});

// The printable area of a printer as it is set up, in device pixels and in
// the millimetres of those pixels: Qt places the printable area on whole
// points, so its nominal size in millimetres can differ from its pixels by
// a few tenths of a millimetre, while the marks must follow the pixels the
// painter really uses.
PageMetrics printerMetrics(const QPrinter& printer);

// The name the printing system lists for the printer set up by setUpPrinter.
QString currentPrinterName(const QString& chosen = {});

// The card's own page, a postcard (100 × 148 mm) upright with no margins,
// painted on full-page: the preview's (printer needs no real printer) and
// the PDF file's, whose title names the game's card.
void setUpCardPage(QPrinter& printer);
void setUpCardPage(QPdfWriter& writer, GameMode mode);

// Whether any printer is installed.
bool anyPrinterInstalled();

// The printer the user picked in the print dialog that set printer up.
QString dialogPrinterName(const QPrinter& printer);

// Tests: act as if this printer were the only one installed. It prints into
// pdfFile on the given paper, with the given unprintable edges.
struct TestPrinter {
    QString name;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QMarginsF marginsMm;
    QString pdfFile;
};
void setTestPrinter(std::optional<TestPrinter> printer);
// Tests: several printers, the first being the default.
void setTestPrinters(std::vector<TestPrinter> printers);
// Tests: the printer the next print dialog is left with (as if the user
// picked it there).
void setTestDialogPrinter(const QString& name);

}  // namespace tambor::ui
