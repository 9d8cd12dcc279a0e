// The entry point of the window benchmarks: an offscreen application set
// up as the program sets up its own, then every registered benchmark.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "ui/common/application.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tambor::ui::setUpApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
