#pragma once
// The desktop's default printer as the settings and the margins see it.

#include <optional>

#include "io/print_margin.h"

namespace tambor::ui {

// Nothing when no printer is installed.
std::optional<PrinterInfo> currentPrinter();

}  // namespace tambor::ui
