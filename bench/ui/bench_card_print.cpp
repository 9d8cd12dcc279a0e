// Printing 1,000 combinations (200 cards) as the window does when the
// print dialog's "print to file" is chosen: Qt's PDF printer at 1200 dpi,
// painted by the card painting routine.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QFileInfo>
#include <QPrinter>
#include <filesystem>

#include "core/combination_list.h"
#include "ui/common/printer.h"
#include "ui/print/card_painter.h"

using namespace tambor;

namespace {

void BM_PrintThousandThroughQtPdf(benchmark::State& state) {
    CombinationList list(GameMode::Loto6);
    for (std::int64_t i = 0; i < 1000; ++i) list.appendIndex(static_cast<CombinationIndex>(i * 6037 % 6096454));
    const QString path = QString::fromStdString(
        (std::filesystem::temp_directory_path() / ("tambor-bench-" + std::to_string(::getpid()) + "-qt-cards.pdf"))
            .string());
    std::size_t pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(4.2, 4.2, 4.2, 4.2), QPageLayout::Millimeter);
        const PageMetrics metrics = ui::printerMetrics(printer);
        const std::vector<Card> cards =
            planCards(list.mode(), list.size(), [&](std::size_t i) { return list.combinationAt(i); }, {});
        const std::vector<PageDrawing> drawn = cardPages(cards, metrics, {4.2, 4.2});
        int lastPercent = 0;
        ui::paintCardPages(printer, drawn, {}, [&](int percent) {
            lastPercent = percent;
            return true;
        });
        benchmark::DoNotOptimize(lastPercent);
        pages = drawn.size();
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
    QFile::remove(path);
}
BENCHMARK(BM_PrintThousandThroughQtPdf)->Unit(benchmark::kMillisecond);

}  // namespace
