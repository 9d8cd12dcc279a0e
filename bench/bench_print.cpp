// Printing 1,000 combinations (200 cards) into a PDF file as tambor-cli
// print does: the cards planned, their marks placed, the file formatted
// and written through a temporary file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "core/combination_list.h"
#include "io/card_pdf.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

constexpr int kCount = 1000;

CombinationList thousandList() {
    CombinationList list(GameMode::Loto6);
    const auto total = rulesFor(GameMode::Loto6).combinationCount;
    for (std::int64_t i = 0; i < kCount; ++i) list.appendIndex(static_cast<CombinationIndex>(i * 6037 % total));
    return list;
}

void BM_PrintThousandToPdf(benchmark::State& state) {
    const CombinationList list = thousandList();
    const fs::path path = fs::temp_directory_path() / ("tambor-bench-" + std::to_string(::getpid()) + "-cards.pdf");
    const PageMetrics page = pdfCardMetrics();
    std::size_t pages = 0;
    for (auto _ : state) {
        const std::vector<Card> cards =
            planCards(list.mode(), list.size(), [&](std::size_t i) { return list.combinationAt(i); }, {});
        const std::vector<PageDrawing> drawn = cardPages(cards, page, {2.5, 1.0});
        writeCardPdf(path, drawn, page);
        pages = drawn.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
    fs::remove(path);
}
BENCHMARK(BM_PrintThousandToPdf)->Unit(benchmark::kMillisecond);

}  // namespace
