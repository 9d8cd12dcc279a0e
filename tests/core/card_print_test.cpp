// Mark-card geometry, the page rules of a print run, the test page, the
// margin steps, the PDF file and the print command.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"
#include "core/combination_list.h"
#include "io/card_pdf.h"
#include "io/card_print.h"
#include "io/text_file.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

// 0.01 mm pixels: device rectangles read as hundredths of a millimetre.
const PageMetrics kHundredths{10000, 14800, 100, 148};

struct MarkRow {
    const char* name;
    int block;
    int number;
    CardMargins margins;
    PageMetrics metrics;
    DeviceRect expected;
};

class MarkRects : public ::testing::TestWithParam<MarkRow> {};

TEST_P(MarkRects, MatchTheCardGeometry) {
    const MarkRow& row = GetParam();
    EXPECT_EQ(MarkRect(row.block, row.number - 1, row.metrics, row.margins), row.expected);
}

// 600 dpi with the printable width in whole millimetres: 23.62 pixels a millimetre.
const PageMetrics k600{2362, 3496, 100, 148};

INSTANTIATE_TEST_SUITE_P(Card, MarkRects,
                         ::testing::Values(
                             // Mini Loto 31: row 3, column 0 (x = 61.5, y = 38.5 + 3 · 4.25).
                             MarkRow{"mini_31_row3_column0", 0, 31, {}, kHundredths, {6150, 5125, 6550, 5275}},
                             // Loto 6 43: row 4, column 2 (x = 61.5 − 2 · 57.5 / 9 ≈ 48.72, y = 55.5).
                             MarkRow{"loto6_43_row4_column2", 0, 43, {}, kHundredths, {4872, 5550, 5272, 5700}},
                             MarkRow{"number_1_first_box", 0, 1, {}, kHundredths, {6150, 3850, 6550, 4000}},
                             MarkRow{"number_10_left_column", 0, 10, {}, kHundredths, {400, 3850, 800, 4000}},
                             // Each block 21 mm below the one before.
                             MarkRow{"block_1_offset", 1, 1, {}, kHundredths, {6150, 5950, 6550, 6100}},
                             MarkRow{"block_4_offset", 4, 1, {}, kHundredths, {6150, 12250, 6550, 12400}},
                             MarkRow{
                                 "margins_move_up_and_left", 0, 1, {2.5, 1.25}, kHundredths, {5900, 3725, 6300, 3875}},
                             // 61.5 · 23.62 = 1452.63 → 1452; 38.5 · 23.62 = 909.37 → 909.
                             MarkRow{"scaled_and_truncated", 0, 1, {}, k600, {1452, 909, 1547, 944}},
                             // x = 4.0 − 4.5 = −0.5 mm: −11.81 px truncates toward zero to −11.
                             MarkRow{"negative_truncates_toward_zero", 0, 10, {4.5, 0}, k600, {-11, 909, 82, 944}}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Card, RowTopsAndColumnsOfBlockZero) {
    const double rowTops[] = {38.5, 42.75, 47.0, 51.25, 55.5};
    for (int row = 0; row < 5; ++row) EXPECT_DOUBLE_EQ(markPositionMm(0, row * 10).y, rowTops[row]) << row;
    EXPECT_DOUBLE_EQ(markPositionMm(0, 0).x, 61.5);
    EXPECT_DOUBLE_EQ(markPositionMm(0, 9).x, 4.0);
    EXPECT_NEAR(markPositionMm(0, 0).x - markPositionMm(0, 1).x, 6.389, 0.001);
}

CombinationList listOf(GameMode mode, int n) {
    CombinationList list(mode);
    for (int i = 0; i < n; ++i) list.appendIndex(static_cast<CombinationIndex>(i * 37));
    return list;
}

std::vector<Card> plan(const CombinationList& list, CardRequest request, std::vector<std::size_t> selected = {}) {
    return planCards(
        list.mode(), list.size(), [&](std::size_t i) { return list.combinationAt(i); }, request, selected);
}

std::vector<std::vector<std::size_t>> positions(const std::vector<Card>& cards) {
    std::vector<std::vector<std::size_t>> out;
    for (const Card& card : cards) {
        auto& p = out.emplace_back();
        for (const CardEntry& e : card) p.push_back(e.position);
    }
    return out;
}

using Positions = std::vector<std::vector<std::size_t>>;

TEST(CardPlan, PageCounts) {
    EXPECT_EQ(cardPageCount(0), 0);
    EXPECT_EQ(cardPageCount(1), 1);
    EXPECT_EQ(cardPageCount(5), 1);
    EXPECT_EQ(cardPageCount(6), 2);
    EXPECT_EQ(cardPageCount(12), 3);
}

TEST(CardPlan, FiveCombinationsFillOneCard) {
    const auto list = listOf(GameMode::MiniLoto, 5);
    EXPECT_EQ(positions(plan(list, {})), (Positions{{0, 1, 2, 3, 4}}));
}

TEST(CardPlan, TenCombinationsLeaveNoEmptyTrailingCard) {
    const auto list = listOf(GameMode::Loto6, 10);
    EXPECT_EQ(positions(plan(list, {})), (Positions{{0, 1, 2, 3, 4}, {5, 6, 7, 8, 9}}));
}

TEST(CardPlan, PagesTwoToThreeOfTwelve) {
    const auto list = listOf(GameMode::Loto6, 12);
    const IndexSpan span = cardIndexSpan(12, {CardRange::Pages, 2, 3});
    EXPECT_EQ(span.first, 5u);
    EXPECT_EQ(span.last, 11u);
    const auto cards = plan(list, {CardRange::Pages, 2, 3});
    EXPECT_EQ(positions(cards), (Positions{{5, 6, 7, 8, 9}, {10, 11}}));
    EXPECT_EQ(cards.back().back().percent, 100);
    EXPECT_EQ(cards.front().front().percent, 100 / 7);
}

TEST(CardPlan, PageRangesBeforeTheLastPageEndOnTheirCard) {
    EXPECT_EQ(cardIndexSpan(12, {CardRange::Pages, 1, 1}).last, 4u);
    EXPECT_EQ(cardIndexSpan(12, {CardRange::Pages, 2, 2}).first, 5u);
    EXPECT_EQ(cardIndexSpan(12, {CardRange::Pages, 2, 2}).last, 9u);
    // Pages outside the list are brought inside it.
    EXPECT_EQ(cardIndexSpan(12, {CardRange::Pages, 0, 99}).first, 0u);
    EXPECT_EQ(cardIndexSpan(12, {CardRange::Pages, 0, 99}).last, 11u);
    EXPECT_TRUE(cardIndexSpan(0, {}).empty());
}

TEST(CardPlan, OneCombinationGoesInBlockZeroAtFullGauge) {
    const auto list = listOf(GameMode::MiniLoto, 1);
    const auto cards = plan(list, {});
    ASSERT_EQ(cards.size(), 1u);
    ASSERT_EQ(cards[0].size(), 1u);
    EXPECT_EQ(cards[0][0].percent, 100);
    const auto pages = cardPages(cards, kHundredths, {});
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].groups.size(), 1u);
    // Block 0: the first mark lies in block 0's rows.
    EXPECT_EQ(pages[0].groups[0].fills.front(), MarkRect(0, list.combinationAt(0)[0] - 1, kHundredths, {}));
}

TEST(CardPlan, SelectionFillsBlocksConsecutively) {
    const auto list = listOf(GameMode::Loto6, 10);
    // List items 2, 7 and 9 (positions 1, 6, 8), given in any order.
    const auto cards = plan(list, {CardRange::Selection}, {8, 1, 6});
    EXPECT_EQ(positions(cards), (Positions{{1, 6, 8}}));
    const auto pages = cardPages(cards, kHundredths, {});
    ASSERT_EQ(pages[0].groups.size(), 3u);
    for (int block = 0; block < 3; ++block)
        EXPECT_EQ(pages[0].groups[static_cast<std::size_t>(block)].fills.front(),
                  MarkRect(block, cards[0][static_cast<std::size_t>(block)].combination[0] - 1, kHundredths, {}));
}

TEST(CardPlan, UnreadableCombinationIsSkippedWithoutABlock) {
    const auto list = listOf(GameMode::MiniLoto, 3);
    const auto cards = planCards(GameMode::MiniLoto, 3,
                                 [&](std::size_t i) {
                                     // Position 1 holds numbers outside the game (a 44 and a 0).
                                     return i == 1 ? Combination{{0, 3, 9, 20, 44}, 5} : list.combinationAt(i);
                                 },
                                 {});
    EXPECT_EQ(positions(cards), (Positions{{0, 2}}));
    for (const PageDrawing& page : cardPages(cards, kHundredths, {}))
        for (const MarkGroup& g : page.groups)
            for (const DeviceRect& r : g.fills)
                EXPECT_TRUE(r.left >= 400 && r.right <= 6550 && r.top >= 3850) << r.left;
}

TEST(CardTestPage, FrameSquareAndAllMarks) {
    const PageDrawing page = testPage(kHundredths, k600, {});
    ASSERT_EQ(page.groups.size(), 5u);
    EXPECT_EQ(page.fillCount(), 4u + 1u + 5u * 43u);
    const std::vector<DeviceRect>& first = page.groups[0].fills;
    // The frame from the fresh metrics, 0.3 mm (7 pixels) wide on the inner
    // side of (0, 0)–(2361, 3495), so it shows on paper.
    EXPECT_EQ(first[0], (DeviceRect{0, 0, 2362, 7}));
    EXPECT_EQ(first[1], (DeviceRect{0, 3489, 2362, 3496}));
    EXPECT_EQ(first[2], (DeviceRect{0, 0, 7, 3496}));
    EXPECT_EQ(first[3], (DeviceRect{2355, 0, 2362, 3496}));
    // 20 mm at 23.62 px/mm: 472 × 472.
    EXPECT_EQ(first[4], (DeviceRect{0, 0, 472, 472}));
    // The marks from the stored metrics.
    EXPECT_EQ(first[5], MarkRect(0, 0, kHundredths, {}));
    EXPECT_EQ(page.groups[4].fills.back(), MarkRect(4, 42, kHundredths, {}));
    std::vector<int> percents;
    for (const MarkGroup& g : page.groups) percents.push_back(g.percent);
    EXPECT_EQ(percents, (std::vector<int>{20, 40, 60, 80, 100}));
}

TEST(CardOutline, EveryBoxOfTheGame) {
    PageDrawing mini;
    addCardOutline(mini, GameMode::MiniLoto, kHundredths, {});
    EXPECT_EQ(mini.outlines.size(), 1u + 5u + 5u * 31u);  // the card, its panels, their boxes
    PageDrawing loto6;
    addCardOutline(loto6, GameMode::Loto6, kHundredths, {});
    EXPECT_EQ(loto6.outlines.size(), 1u + 5u + 5u * 43u);
    EXPECT_EQ(loto6.fillCount(), 0u);
}

// Within a pixel (the millimetres are not exact in binary).
static void expectNear(const DeviceRect& r, const DeviceRect& want) {
    EXPECT_LE(std::abs(r.left - want.left), 1);
    EXPECT_LE(std::abs(r.top - want.top), 1);
    EXPECT_LE(std::abs(r.right - want.right), 1);
    EXPECT_LE(std::abs(r.bottom - want.bottom), 1);
}

TEST(CardOutline, CardEdgePanelsAndMarkNumbers) {
    PageDrawing page;
    addCardOutline(page, GameMode::Loto6, kHundredths, {});
    expectNear(page.outlines[0], {0, 0, 10000, 14800});
    // Panel 1: 1 mm around its boxes (number 10's left edge at 4 mm, the rows
    // 59.5..78 mm), on the right past number 1's label (67.75 mm).
    expectNear(page.outlines[2], {300, 5850, 6875, 7900});
    PageDrawing mini;
    addCardOutline(mini, GameMode::MiniLoto, kHundredths, {});
    expectNear(mini.outlines[1], {300, 3750, 6875, 5375});  // four rows: 31 is the last

    // Each mark's number stands right of it, in the gap before the next column.
    const Card card{{0, makeCombination({1, 2, 3, 4, 5, 6}), 50}, {1, makeCombination({7, 8, 9, 10, 11, 43}), 100}};
    addMarkLabels(page, card, kHundredths, {});
    ASSERT_EQ(page.labels.size(), 12u);
    EXPECT_EQ(page.labels[0].number, 1);
    expectNear(page.labels[0].box, {6565, 3825, 6775, 4025});
    EXPECT_EQ(page.labels[11].number, 43);
    expectNear(page.labels[11].box, {5287, 7625, 5497, 7825});
    // Shifted by the margins as the marks are.
    PageDrawing moved;
    addMarkLabels(moved, card, kHundredths, {1.0, 2.0});
    expectNear(moved.labels[0].box, {6465, 3625, 6675, 3825});
}

TEST(MarginSteps, HalfMillimetresNeverBelowZero) {
    EXPECT_DOUBLE_EQ(stepMargin(0, 1), 0.5);
    EXPECT_DOUBLE_EQ(stepMargin(0, -1), 0.0);
    EXPECT_DOUBLE_EQ(stepMargin(0.25, -1), 0.0);
    EXPECT_DOUBLE_EQ(stepMargin(2.56, 1), 3.06);
    EXPECT_EQ(marginSpinPosition(0), 0);
    EXPECT_EQ(marginSpinPosition(0.25), 1);  // above 0 never shows as 0
    EXPECT_EQ(marginSpinPosition(2.56), 5);
    EXPECT_EQ(marginSpinPosition(-3), 0);
    EXPECT_EQ(marginSpinMaximum(203.2), 406);
}

// ---- The PDF file ----

struct PdfPage {
    std::string mediaBox;
    std::vector<DeviceRect> rects;
};

// Reads back what formatCardPdf writes: checks the cross-reference table
// and returns each page's media box and rectangles in device pixels.
std::vector<PdfPage> readPdf(const std::string& pdf) {
    std::vector<PdfPage> pages;
    EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
    const std::size_t startxref = pdf.rfind("startxref\n");
    EXPECT_NE(startxref, std::string::npos);
    const std::size_t xref = std::stoul(pdf.substr(startxref + 10));
    EXPECT_EQ(pdf.compare(xref, 5, "xref\n"), 0);
    std::istringstream table(pdf.substr(xref + 5));
    int first = 0, count = 0;
    table >> first >> count;
    std::string offset, generation, kind;
    for (int n = 0; n < count; ++n) {
        table >> offset >> generation >> kind;
        if (n == 0) continue;
        const std::string header = std::to_string(n) + " 0 obj\n";
        EXPECT_EQ(pdf.compare(std::stoul(offset), header.size(), header), 0) << "object " << n;
    }
    std::size_t at = 0;
    while ((at = pdf.find("/Type /Page ", at)) != std::string::npos) {
        PdfPage& page = pages.emplace_back();
        const std::size_t box = pdf.find("/MediaBox [0 0 ", at);
        if (box != std::string::npos) page.mediaBox = pdf.substr(box + 15, pdf.find(']', box) - box - 15);
        const std::size_t streamStart = pdf.find("stream\n", at) + 7;
        const std::size_t streamEnd = pdf.find("endstream", streamStart);
        std::istringstream content(pdf.substr(streamStart, streamEnd - streamStart));
        // Lines "left top width height re"; the others are the set-up and the fill.
        for (std::string line; std::getline(content, line);) {
            if (line.find(" cm") != std::string::npos) {
                EXPECT_EQ(line, "0.0283464567 0 0 -0.0283464567 0 419.527559 cm");
            }
            if (line.size() < 3 || line.compare(line.size() - 3, 3, " re") != 0) continue;
            std::istringstream words(line);
            int l = 0, t = 0, w = 0, h = 0;
            words >> l >> t >> w >> h;
            page.rects.push_back({l, t, l + w, t + h});
        }
        at = streamEnd;
    }
    return pages;
}

TEST(CardPdf, OneCardPerPageWithTheMarksOnly) {
    const auto list = listOf(GameMode::Loto6, 7);
    const auto cards = plan(list, {});
    const CardMargins margins{1.5, 0.75};
    const std::vector<PageDrawing> drawn = cardPages(cards, pdfCardMetrics(), margins);
    const std::vector<PdfPage> pages = readPdf(formatCardPdf(drawn, pdfCardMetrics()));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].mediaBox, "283.464567 419.527559");  // 100 × 148 mm
    ASSERT_EQ(pages[0].rects.size(), 30u);
    ASSERT_EQ(pages[1].rects.size(), 12u);
    EXPECT_EQ(pages[1].rects[6], MarkRect(1, list.combinationAt(6)[0] - 1, pdfCardMetrics(), margins));
}

TEST(CardPdf, NoPagesStillMakesAValidFile) {
    const auto pages = readPdf(formatCardPdf({}, pdfCardMetrics()));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].rects.empty());
}

// The folder's entries other than the given file (a temporary left behind).
static std::vector<std::string> othersIn(const fs::path& folder, const fs::path& file) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path() != file) names.push_back(entry.path().filename().string());
    return names;
}

TEST(CardPdf, StreamedPageByPageIsTheSameFile) {
    const fs::path folder = fs::temp_directory_path() / ("tambor-stream-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path file = folder / "cards.pdf";
    const auto list = listOf(GameMode::Loto6, 23);
    const std::vector<PageDrawing> drawn = cardPages(plan(list, {}), pdfCardMetrics(), {1.0, 2.0});
    int percentAsked = 0;
    ASSERT_TRUE(writeCardPdfStream(
        file, pdfCardMetrics(),
        [&](const CardPageSink& addPage) {
            for (const PageDrawing& page : drawn) addPage(page);
            return true;
        },
        [&](int) { return ++percentAsked > 0; }));
    EXPECT_EQ(readFileBytes(file), formatCardPdf(drawn, pdfCardMetrics()));
    EXPECT_EQ(readPdf(readFileBytes(file)).size(), 5u);
    EXPECT_EQ(percentAsked, 1);  // once, before the rename

    // Stopped by the producer, by the last progress call or by an error:
    // the file stays as it was and no temporary is left.
    const std::string before = readFileBytes(file);
    const auto twoPagesThen = [&](bool goOn) {
        return [&drawn, goOn](const CardPageSink& addPage) {
            addPage(drawn[0]);
            addPage(drawn[1]);
            return goOn;
        };
    };
    EXPECT_FALSE(writeCardPdfStream(file, pdfCardMetrics(), twoPagesThen(false)));
    EXPECT_FALSE(writeCardPdfStream(file, pdfCardMetrics(), twoPagesThen(true), [](int) { return false; }));
    EXPECT_THROW(writeCardPdfStream(file, pdfCardMetrics(),
                                    [&](const CardPageSink& addPage) -> bool {
                                        addPage(drawn[0]);
                                        throw std::runtime_error("stopped");
                                    }),
                 std::runtime_error);
    EXPECT_EQ(readFileBytes(file), before);
    EXPECT_TRUE(othersIn(folder, file).empty());
    fs::remove_all(folder);
}

TEST(CardPlan, OneCardAtATimeAsPlanned) {
    const auto list = listOf(GameMode::MiniLoto, 12);
    const auto at = [&](std::size_t i) { return list.combinationAt(i); };
    const CardRequest pages{CardRange::Pages, 2, 3};
    std::vector<Card> streamed;
    EXPECT_TRUE(forEachCard(list.mode(), list.size(), at, pages, {}, [&](const Card& card) {
        streamed.push_back(card);
        return true;
    }));
    const std::vector<Card> planned = planCards(list.mode(), list.size(), at, pages);
    ASSERT_EQ(streamed.size(), planned.size());
    for (std::size_t i = 0; i < planned.size(); ++i) {
        ASSERT_EQ(streamed[i].size(), planned[i].size());
        for (std::size_t b = 0; b < planned[i].size(); ++b) {
            EXPECT_EQ(streamed[i][b].position, planned[i][b].position);
            EXPECT_EQ(streamed[i][b].percent, planned[i][b].percent);
        }
    }
    // A stop after the first card: no other card is made.
    int cards = 0;
    EXPECT_FALSE(forEachCard(list.mode(), list.size(), at, {}, {}, [&](const Card&) { return ++cards > 5; }));
    EXPECT_EQ(cards, 1);
}

// ---- tambor-cli print ----

struct Folder {
    fs::path path;
    Folder() {
        path = fs::temp_directory_path() / ("tambor-print-" + std::to_string(::getpid()) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string file(const char* name, const std::string& bytes = {}) const {
        const fs::path p = path / name;
        if (!bytes.empty()) std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }
};

using tambor::testing::runCli;

// "[ロト６]" in cp932, then the lines.
const std::string kLoto6File =
    "[\x83\x8d\x83\x67\x82\x55]\r\n\r\n"
    " 1, 2, 3, 4, 5, 6\r\n 7,18,29,30,41,43\r\n 3, 4, 5, 6, 7, 8\r\n 1,10,11,20,21,30\r\n"
    " 9,19,29,39,40,42\r\n 2, 3,14,15,26,37\r\n 5,15,25,35,36,43\r\n";

TEST(PrintCli, WritesTheCardsOfTheFile) {
    Folder f;
    const std::string in = f.file("list.txt", kLoto6File);
    const std::string out = f.file("cards.pdf");
    const auto run = runCli("print '" + in + "' --pdf '" + out + "' --margins 2.567,1.");
    ASSERT_EQ(run.exitCode, 0) << run.out;
    const auto pages = readPdf(readFileBytes(out));
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].rects.size(), 30u);
    // The margins are read as the fields read them: 2.56 and 1.
    EXPECT_EQ(pages[0].rects[0], MarkRect(0, 0, pdfCardMetrics(), {2.56, 1.0}));
    // 43 of the second combination: block 1, row 4, column 2.
    EXPECT_EQ(pages[0].rects[11], MarkRect(1, 42, pdfCardMetrics(), {2.56, 1.0}));
}

TEST(PrintCli, LargestMarginsKeepEveryMarkOnThePage) {
    Folder f;
    const std::string in = f.file("list.txt", kLoto6File);
    const std::string out = f.file("cards.pdf");
    ASSERT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins ' 4 , 38.5 '").exitCode, 0);
    int left = 1 << 30;
    int top = 1 << 30;
    for (const auto& page : readPdf(readFileBytes(out)))
        for (const DeviceRect& r : page.rects) {
            left = std::min(left, r.left);
            top = std::min(top, r.top);
        }
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
}

TEST(PrintCli, PageRange) {
    Folder f;
    const std::string in = f.file("list.txt", kLoto6File);
    const std::string out = f.file("cards.pdf");
    ASSERT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --pages 2-2").exitCode, 0);
    const auto pages = readPdf(readFileBytes(out));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].rects.size(), 12u);  // the sixth and seventh combinations
    EXPECT_EQ(pages[0].rects[0], MarkRect(0, 1, pdfCardMetrics(), {}));
}

TEST(PrintCli, TestPage) {
    Folder f;
    const std::string out = f.file("test.pdf");
    ASSERT_EQ(runCli("print --test --pdf '" + out + "'").exitCode, 0);
    const auto pages = readPdf(readFileBytes(out));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].rects.size(), 220u);
    EXPECT_EQ(pages[0].rects[4], (DeviceRect{0, 0, 2000, 2000}));  // the 20 mm square
    EXPECT_EQ(pages[0].rects[0], (DeviceRect{0, 0, 10000, 30}));   // the 0.3 mm frame's top
    EXPECT_EQ(pages[0].rects[3], (DeviceRect{9970, 0, 10000, 14800}));
}

// The ロト７ card is not measured: no PDF, and the reason.
TEST(PrintCli, Loto7ListIsNotPrinted) {
    Folder f;
    const std::string in = f.file("list7.txt", "[\x83\x8d\x83\x67\x82\x56]\r\n\r\n 1, 2, 3, 4, 5, 6, 7\r\n");
    const std::string out = f.file("cards.pdf");
    const auto run = runCli("print '" + in + "' --pdf '" + out + "'", true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("ロト７の申込カードへの印刷には、まだ対応していません。"), std::string::npos) << run.out;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(runCli("print --test --pdf '" + out + "'").exitCode, 0);  // the test page needs no card
}

TEST(PrintCli, FailuresAndBadArguments) {
    Folder f;
    const std::string in = f.file("list.txt", kLoto6File);
    const std::string empty = f.file("empty.txt", "[\x83\x8d\x83\x67\x82\x55]\r\n\r\n");
    const std::string out = f.file("cards.pdf");
    EXPECT_EQ(runCli("print '" + empty + "' --pdf '" + out + "'").exitCode, 1);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + (f.path / "missing" / "x.pdf").string() + "'").exitCode, 1);
    EXPECT_EQ(runCli("print '" + (f.path / "nothing.txt").string() + "' --pdf '" + out + "'").exitCode, 1);
    EXPECT_EQ(runCli("print '" + in + "'").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --pages 3-2").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --pages 3-4").exitCode, 2);  // two cards only
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --pages x").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins 2").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins a,1").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins 1.2.3,1").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins '1 2,1'").exitCode, 2);
    // Margins that would push marks past the page's left or top edge.
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins 200,0").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins 4.01,0").exitCode, 2);
    EXPECT_EQ(runCli("print '" + in + "' --pdf '" + out + "' --margins 0,38.51").exitCode, 2);
    EXPECT_EQ(runCli("print --test --pdf '" + out + "' --margins 0,40").exitCode, 2);
    EXPECT_EQ(runCli("print --test '" + in + "' --pdf '" + out + "'").exitCode, 2);
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
