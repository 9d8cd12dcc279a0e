#include "io/card_print.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace tambor {
namespace {

constexpr double kBlockStepMm = 21.0;
constexpr double kFirstRowTopMm = 38.5;
constexpr double kRowStepMm = 4.25;
constexpr double kFirstColumnLeftMm = 61.5;
constexpr double kColumnStepMm = 57.5 / 9.0;
constexpr double kTestSquareMm = 20.0;
constexpr double kTestFrameMm = 0.3;
constexpr double kPanelPaddingMm = 1.0;
constexpr double kLabelGapMm = 0.15;
constexpr double kLabelWidthMm = 2.1;
constexpr double kLabelOverhangMm = 0.25;

// Truncation toward zero, kept inside int for any margin or page size.
int truncToInt(double value) {
    if (!(value == value)) return 0;  // NaN
    return static_cast<int>(std::clamp(value, -1e9, 1e9));
}

// a × b / c in whole numbers without overflow, for the progress figures.
int percentOf(std::size_t done, std::size_t total) {
    return total == 0 ? 100 : static_cast<int>(static_cast<std::uint64_t>(done) * 100 / total);
}

// A rectangle given in card millimetres, on the device as MarkRect places marks.
DeviceRect cardRect(double leftMm, double topMm, double rightMm, double bottomMm, const PageMetrics& metrics,
                    const CardMargins& margins) {
    const double sx = metrics.widthMm > 0.0 ? metrics.widthPx / metrics.widthMm : 0.0;
    const double sy = metrics.heightMm > 0.0 ? metrics.heightPx / metrics.heightMm : 0.0;
    return {truncToInt((leftMm - margins.horz) * sx), truncToInt((topMm - margins.vert) * sy),
            truncToInt((rightMm - margins.horz) * sx), truncToInt((bottomMm - margins.vert) * sy)};
}

}  // namespace

const char* const kNothingToPrintMessage = "数字の組み合わせがないので印刷できません。";

bool cardLayoutKnown(GameMode mode) {
    // The cards measured: ミニロト and ロト６ share one layout of 43 boxes.
    constexpr std::array<bool, kGameCount> kKnown{true, true, false};
    return kKnown[static_cast<std::size_t>(mode)];
}

std::string cardLayoutUnknownMessage(GameMode mode) {
    return std::string(gameName(mode)) + "の申込カードへの印刷には、まだ対応していません。";
}

MarkPositionMm markPositionMm(int block, int numberIndex) {
    const int row = numberIndex / 10;
    const int column = numberIndex % 10;
    return {kFirstColumnLeftMm - column * kColumnStepMm, kBlockStepMm * block + kFirstRowTopMm + kRowStepMm * row};
}

DeviceRect MarkRect(int block, int numberIndex, const PageMetrics& metrics, const CardMargins& margins) {
    const MarkPositionMm at = markPositionMm(block, numberIndex);
    const double x = at.x - margins.horz;
    const double y = at.y - margins.vert;
    const double sx = metrics.widthMm > 0.0 ? metrics.widthPx / metrics.widthMm : 0.0;
    const double sy = metrics.heightMm > 0.0 ? metrics.heightPx / metrics.heightMm : 0.0;
    return {truncToInt(x * sx), truncToInt(y * sy), truncToInt((x + kMarkWidthMm) * sx),
            truncToInt((y + kMarkHeightMm) * sy)};
}

CardMargins largestCardMargins() {
    // Number 10 lies in the leftmost column, number 1 in the first row.
    return {markPositionMm(0, 9).x, markPositionMm(0, 0).y};
}

int cardPageCount(std::size_t count) { return count == 0 ? 0 : static_cast<int>((count - 1) / kCardBlocks + 1); }

IndexSpan cardIndexSpan(std::size_t count, const CardRequest& request) {
    if (count == 0) return {};
    if (request.range != CardRange::Pages) return {0, count - 1};
    const int maxPage = cardPageCount(count);
    const int from = std::clamp(request.fromPage, 1, maxPage);
    const int to = std::clamp(request.toPage, from, maxPage);
    const std::size_t first = static_cast<std::size_t>(from - 1) * kCardBlocks;
    const std::size_t last = to == maxPage ? count - 1 : static_cast<std::size_t>(to) * kCardBlocks - 1;
    return {first, last};
}

bool forEachCard(GameMode mode, std::size_t count, const std::function<Combination(std::size_t)>& at,
                 const CardRequest& request, const std::vector<std::size_t>& selected,
                 const std::function<bool(const Card& card)>& card) {
    const IndexSpan span = cardIndexSpan(count, request);
    if (span.empty()) return true;
    std::vector<bool> isSelected;
    if (request.range == CardRange::Selection) {
        isSelected.assign(count, false);
        for (std::size_t p : selected)
            if (p < count) isSelected[p] = true;
    }
    Card current;
    for (std::size_t j = span.first; j <= span.last; ++j) {
        if (request.range == CardRange::Selection && !isSelected[j]) continue;
        const Combination c = at(j);
        if (!isValidCombination(mode, c)) continue;
        current.push_back({j, c, percentOf(j - span.first + 1, span.size())});
        if (current.size() == kCardBlocks) {
            if (!card(current)) return false;
            current.clear();
        }
    }
    return current.empty() || card(current);
}

std::vector<Card> planCards(GameMode mode, std::size_t count, const std::function<Combination(std::size_t)>& at,
                            const CardRequest& request, const std::vector<std::size_t>& selected) {
    std::vector<Card> cards;
    forEachCard(mode, count, at, request, selected, [&cards](const Card& card) {
        cards.push_back(card);
        return true;
    });
    return cards;
}

std::size_t PageDrawing::fillCount() const {
    std::size_t n = 0;
    for (const MarkGroup& g : groups) n += g.fills.size();
    return n;
}

std::vector<PageDrawing> cardPages(const std::vector<Card>& cards, const PageMetrics& metrics,
                                   const CardMargins& margins) {
    std::vector<PageDrawing> pages;
    pages.reserve(cards.size());
    for (const Card& card : cards) {
        PageDrawing& page = pages.emplace_back();
        int block = 0;
        for (const CardEntry& entry : card) {
            MarkGroup& group = page.groups.emplace_back();
            for (int n : entry.combination) group.fills.push_back(MarkRect(block, n - 1, metrics, margins));
            group.percent = entry.percent;
            ++block;
        }
    }
    return pages;
}

void addCardOutline(PageDrawing& page, GameMode mode, const PageMetrics& metrics, const CardMargins& margins) {
    const int numbers = rulesFor(mode).maxNumber;
    page.outlines.push_back(cardRect(0.0, 0.0, kCardWidthMm, kCardHeightMm, metrics, margins));
    // The leftmost column is number 10's, the rightmost number 1's; the
    // last row is the largest number's.
    const double left = markPositionMm(0, 9).x - kPanelPaddingMm;
    const double right = markPositionMm(0, 0).x + kMarkWidthMm + kLabelGapMm + kLabelWidthMm + kPanelPaddingMm;
    for (int block = 0; block < kCardBlocks; ++block) {
        const double top = markPositionMm(block, 0).y - kPanelPaddingMm;
        const double bottom = markPositionMm(block, numbers - 1).y + kMarkHeightMm + kPanelPaddingMm;
        page.outlines.push_back(cardRect(left, top, right, bottom, metrics, margins));
    }
    for (int block = 0; block < kCardBlocks; ++block)
        for (int c = 0; c < numbers; ++c) page.outlines.push_back(MarkRect(block, c, metrics, margins));
}

void addMarkLabels(PageDrawing& page, const Card& card, const PageMetrics& metrics, const CardMargins& margins) {
    int block = 0;
    for (const CardEntry& entry : card) {
        for (int n : entry.combination) {
            const MarkPositionMm at = markPositionMm(block, n - 1);
            const double left = at.x + kMarkWidthMm + kLabelGapMm;
            page.labels.push_back({cardRect(left, at.y - kLabelOverhangMm, left + kLabelWidthMm,
                                            at.y + kMarkHeightMm + kLabelOverhangMm, metrics, margins),
                                   n});
        }
        ++block;
    }
}

PageDrawing testPage(const PageMetrics& stored, const PageMetrics& fresh, const CardMargins& margins) {
    PageDrawing page;
    MarkGroup& first = page.groups.emplace_back();
    const int width = truncToInt(fresh.widthPx);
    const int height = truncToInt(fresh.heightPx);
    if (width > 0 && height > 0 && fresh.widthMm > 0.0 && fresh.heightMm > 0.0) {
        // The frame on the inner side of (0, 0)–(width − 1, height − 1).
        const int across = std::clamp(truncToInt(fresh.widthPx * kTestFrameMm / fresh.widthMm), 1, width);
        const int down = std::clamp(truncToInt(fresh.heightPx * kTestFrameMm / fresh.heightMm), 1, height);
        first.fills.push_back({0, 0, width, down});
        first.fills.push_back({0, height - down, width, height});
        first.fills.push_back({0, 0, across, height});
        first.fills.push_back({width - across, 0, width, height});
    }
    if (fresh.widthMm > 0.0 && fresh.heightMm > 0.0)
        first.fills.push_back({0, 0, truncToInt(fresh.widthPx * kTestSquareMm / fresh.widthMm),
                               truncToInt(fresh.heightPx * kTestSquareMm / fresh.heightMm)});
    first.percent = 0;
    for (int block = 0; block < kCardBlocks; ++block) {
        MarkGroup& group = block == 0 ? page.groups.front() : page.groups.emplace_back();
        for (int c = 0; c < kCardNumbers; ++c) group.fills.push_back(MarkRect(block, c, stored, margins));
        group.percent = (kCardNumbers * (block + 1) + 1) * 100 / (kCardNumbers * kCardBlocks);
    }
    return page;
}

double stepMargin(double margin, int direction) {
    const double stepped = margin + (direction > 0 ? 0.5 : -0.5);
    return stepped < 0.0 ? 0.0 : stepped;
}

int marginSpinPosition(double margin) {
    const int position = truncToInt(margin * 2.0);
    return position == 0 && margin > 0.0 ? 1 : std::max(position, 0);
}

int marginSpinMaximum(double pageSizeMm) { return std::max(truncToInt(pageSizeMm * 2.0), 0); }

}  // namespace tambor
