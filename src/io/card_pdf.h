#pragma once
// Mark cards as a PDF file: one card per page, the page being the card, so
// the file printed at actual size on card-sized paper puts every mark in
// its box. The pages hold the solid black rectangles and nothing else.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "io/card_print.h"

namespace tambor {

// The page of the PDF cards: a Japanese postcard, 100 × 148 mm, a paper
// size printers take that holds every box of the card (the lowest mark
// ends at 141 mm, the rightmost at 65.5 mm). The printable area is the
// whole page; its device pixels are 0.01 mm, so the marks keep the
// card's geometry to a hundredth of a millimetre.
inline constexpr double kPdfCardWidthMm = kCardWidthMm;
inline constexpr double kPdfCardHeightMm = kCardHeightMm;
PageMetrics pdfCardMetrics();

// The complete file: every page's fills, black, on a page of the metrics'
// millimetre size, device pixel (0, 0) at the page's top-left corner. The
// outlines are for the screen and are not written. A run without pages
// still gives one (empty) page, as a PDF file needs one.
std::string formatCardPdf(const std::vector<PageDrawing>& pages, const PageMetrics& metrics);

// Writes formatCardPdf's bytes through a temporary file renamed over path.
// Throws FileError.
void writeCardPdf(const std::filesystem::path& path, const std::vector<PageDrawing>& pages, const PageMetrics& metrics);

// The same file written page by page, for runs of any length: produce
// hands each page to addPage in order (memory holds one page and the pages'
// places in the file) and answers false to stop, which leaves the file as
// it was (writeFileStreamAtomic). Returns false when stopped. Throws
// FileError.
using CardPageSink = std::function<void(const PageDrawing& page)>;
bool writeCardPdfStream(const std::filesystem::path& path, const PageMetrics& metrics,
                        const std::function<bool(const CardPageSink& addPage)>& produce,
                        const ProgressCallback& progress = {});

}  // namespace tambor
