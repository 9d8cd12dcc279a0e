// Start-up of the main window: construction, first show (settings, game
// switch, history) and the first event round, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include "ui/common/application.h"
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tambor::ui::setUpApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
