// Start-up of the main window: construction, first show (settings, game
// switch, history) and the first event round, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "ui/main_window.h"

namespace {

void BM_MainWindowShown(benchmark::State& state) {
    QTemporaryDir dir;
    for (auto _ : state) {
        tambor::ui::TMainForm window({dir.path().toStdString()});
        window.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(&window);
    }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

}  // namespace
