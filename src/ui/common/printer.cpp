#include "ui/common/printer.h"

#include <QPageSize>
#include <QPrinterInfo>

namespace tambor::ui {

std::optional<PrinterInfo> currentPrinter() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return std::nullopt;
    const QSizeF size = printer.defaultPageSize().size(QPageSize::Millimeter);
    return PrinterInfo{printer.printerName().toStdString(), size.width(), size.height()};
}

}  // namespace tambor::ui
