#pragma once
// The one routine that puts card pages on a paint device: the printer, a
// PDF file, the print preview and, in the tests, an image all receive the
// same rectangles the same way.

#include <functional>
#include <vector>

#include "io/card_print.h"

class QPaintDevice;

namespace tambor::ui {

struct CardPaintOptions {
    // Draw the card's boxes faintly under the marks and each mark's number
    // in small grey type (the preview only).
    bool outlines = false;
    // The resolution the pages' device pixels were worked out for; a device
    // of another resolution (the dialog's PDF file instead of the printer)
    // is scaled to it, so the marks keep their millimetres. 0: the device's.
    double sourceDpiX = 0.0;
    double sourceDpiY = 0.0;
    // Where the pages' device pixel (0, 0) lies on the device, in those
    // pixels: the printable area's corner when printing full-page.
    double originX = 0.0;
    double originY = 0.0;
};

enum class CardPaintResult { Done, Stopped, Failed };

// Paints pages on device, a new page before each one after the first on a
// paged device (printer, PDF, preview); any other device (an image)
// receives the first page only. The fills are solid black. progress gets
// each group's percent after the group is painted; false from it stops the
// run once the page is complete (Stopped): a printer cancels the job where
// it can, otherwise it keeps the whole cards painted. Failed: the device
// could not be painted on.
CardPaintResult paintCardPages(QPaintDevice& device, const std::vector<PageDrawing>& pages,
                               const CardPaintOptions& options = {}, const std::function<bool(int)>& progress = {});

}  // namespace tambor::ui
