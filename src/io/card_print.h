#pragma once
// Mark cards: where the printer fills the box of each number on the
// lottery's paper card, which combinations of the list go on which card,
// and the test page that helps to find the margins. Everything here is
// geometry in millimetres and device pixels: the window paints these
// rectangles on a printer (or a preview, or an image), the command line
// program writes the same rectangles into a PDF file.
//
// Card coordinates are millimetres from the paper's top-left corner, x to
// the right and y downwards, the same for both games. One card holds five
// combinations in five blocks, top to bottom; a printed page is one card.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/combination.h"
#include "core/game.h"

namespace tambor {

inline constexpr int kCardBlocks = 5;            // combinations per card
inline constexpr int kCardNumbers = kBoardSize;  // boxes per block: 1..43
inline constexpr double kMarkWidthMm = 4.0;
inline constexpr double kMarkHeightMm = 1.5;

// "数字の組み合わせがないので印刷できません。"
extern const char* const kNothingToPrintMessage;

// Whether the measurements of the game's mark card are known. ロト７'s are
// not published (five panels, numbers in columns of ten, is all that is),
// so its cards are not printed rather than printed in a guessed layout.
bool cardLayoutKnown(GameMode mode);
// "ロト７の申込カードへの印刷には、まだ対応していません。"
std::string cardLayoutUnknownMessage(GameMode mode);

// The top-left corner of a mark on the paper, before the margins.
struct MarkPositionMm {
    double x = 0.0;
    double y = 0.0;
};

// Block b (0..4) starts 21·b mm below block 0; number n = numberIndex + 1
// lies in row (n − 1) div 10 and column (n − 1) mod 10, the columns running
// from right to left: top = 21·b + 38.5 + 4.25·row, left = 61.5 − column·57.5/9.
MarkPositionMm markPositionMm(int block, int numberIndex);

// The printable area of the page the marks go on: its size in device
// pixels and in millimetres, as the printer reports them. Device pixel
// (0, 0) is the printable area's top-left corner.
struct PageMetrics {
    double widthPx = 0.0;
    double heightPx = 0.0;
    double widthMm = 0.0;
    double heightMm = 0.0;

    bool valid() const { return widthPx > 0.0 && heightPx > 0.0 && widthMm > 0.0 && heightMm > 0.0; }
};

// The printable area's offset from the paper's corner, in millimetres: the
// card coordinates are moved up and left by these.
struct CardMargins {
    double horz = 0.0;
    double vert = 0.0;
};

// The largest margins that keep every mark of the card on the page: the
// left edge of the leftmost column (4.0 mm) and the top of the first row
// (38.5 mm); a larger margin moves marks past the paper's edge.
CardMargins largestCardMargins();

// A rectangle in device pixels, right and bottom excluded (the pixels
// left..right−1 and top..bottom−1 are filled).
struct DeviceRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const DeviceRect&) const = default;
};

// The device rectangle of the mark of number numberIndex + 1 in block: the
// card position less the margins, scaled by pixels per millimetre and each
// edge truncated toward zero.
DeviceRect MarkRect(int block, int numberIndex, const PageMetrics& metrics, const CardMargins& margins);

// ---- Which combinations go where ----

enum class CardRange { All, Selection, Pages };

// What the print dialog asked for: everything, the selected lines, or the
// cards fromPage..toPage (from 1).
struct CardRequest {
    CardRange range = CardRange::All;
    int fromPage = 1;
    int toPage = 1;
};

// Cards needed for count combinations, five to a card: (count − 1) div 5 + 1,
// and 0 for none.
int cardPageCount(std::size_t count);

// The list positions a request covers, first..last inclusive. All and the
// selection cover the whole list; pages f..t cover 5·(f − 1) up to 5·t − 1,
// or to the end of the list when t is the last page. Pages outside
// 1..cardPageCount are brought inside. Nothing (first > last) for an empty list.
struct IndexSpan {
    std::size_t first = 1;
    std::size_t last = 0;

    bool empty() const { return first > last; }
    std::size_t size() const { return empty() ? 0 : last - first + 1; }
};
IndexSpan cardIndexSpan(std::size_t count, const CardRequest& request);

// One block of a card: the combination and the progress to show once it is
// printed, (j − first + 1) × 100 / (last − first + 1) for list position j.
struct CardEntry {
    std::size_t position = 0;  // in the list
    Combination combination;
    int percent = 0;
};
using Card = std::vector<CardEntry>;  // blocks 0.. in order, at most five

// The cards of a print run. The combinations of the span are taken in
// order (with the selection, only the selected positions) and fill the
// blocks consecutively, a new card after every fifth; no card is left
// empty. A combination whose numbers are not a valid combination of the
// game is skipped and takes no block, so no mark lands outside the boxes.
// selected holds list positions in any order (read only for the selection).
std::vector<Card> planCards(GameMode mode, std::size_t count, const std::function<Combination(std::size_t)>& at,
                            const CardRequest& request, const std::vector<std::size_t>& selected = {});

// The same cards one at a time, for runs too long to hold: card receives
// each as it is complete and answers false to stop, which makes this
// return false.
bool forEachCard(GameMode mode, std::size_t count, const std::function<Combination(std::size_t)>& at,
                 const CardRequest& request, const std::vector<std::size_t>& selected,
                 const std::function<bool(const Card& card)>& card);

// ---- What a page shows ----

// Solid black rectangles painted together, then the progress to show.
struct MarkGroup {
    std::vector<DeviceRect> fills;
    int percent = 0;
};

// A mark's number, written small beside the mark (box: where the text goes).
struct MarkLabel {
    DeviceRect box;
    int number = 0;
};

// One printed page. The fills are all that reaches the paper; outlines (the
// card's boxes, drawn faintly under the marks) and labels (each mark's
// number) are for the screen only.
struct PageDrawing {
    std::vector<MarkGroup> groups;
    std::vector<DeviceRect> outlines;
    std::vector<MarkLabel> labels;

    std::size_t fillCount() const;
};

// One page per card: the marks of each block's numbers.
std::vector<PageDrawing> cardPages(const std::vector<Card>& cards, const PageMetrics& metrics,
                                   const CardMargins& margins);

// The card's size: a Japanese postcard.
inline constexpr double kCardWidthMm = 100.0;
inline constexpr double kCardHeightMm = 148.0;

// Adds the card's edge, the frame of each of the five panels (1 mm around
// its boxes, room for the labels on the right) and every box the game uses.
void addCardOutline(PageDrawing& page, GameMode mode, const PageMetrics& metrics, const CardMargins& margins);

// Adds the number of each mark of card (block by block, as cardPages places
// them): a box 2.1 mm wide just right of the mark, in the gap before the next
// column, from 0.25 mm above the mark to 0.25 mm below it.
void addMarkLabels(PageDrawing& page, const Card& card, const PageMetrics& metrics, const CardMargins& margins);

// The test page: a frame 0.3 mm wide (at least a pixel) just inside the
// edges of the printable area, so that it shows on paper where the area
// ends, and a 20 mm square from its origin (both from fresh, the printer
// as it is now),
// then all 43 marks of all five blocks placed with the stored metrics, the
// progress after each block being (43·(block + 1) + 1) × 100 / 215.
PageDrawing testPage(const PageMetrics& stored, const PageMetrics& fresh, const CardMargins& margins);

// ---- The margin fields ----

// One step of a margin spinner: 0.5 mm up (direction > 0) or down, never
// below 0 (the page limit is applied when the result is committed).
double stepMargin(double margin, int direction);

// The spinner's position for a margin (it counts half millimetres):
// trunc(margin · 2), but 1 rather than 0 for a margin above 0.
int marginSpinPosition(double margin);
// The spinner's maximum for a page size: trunc(size · 2).
int marginSpinMaximum(double pageSizeMm);

}  // namespace tambor
