// The filter conditions' and the number analysis windows over the full
// ロト６ history, on the offscreen platform: opening the analysis window
// (its figures, table and chart, painted; goal under 50 ms), and one range
// changed in the filter window (the conditions stored, every pass rate and
// histogram refreshed and painted; goal under 5 ms).

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>

#include "ui/common/session_model.h"
#include "ui/filter/analysis_form.h"
#include "ui/filter/filter_form.h"
#include "ui/main_window.h"

namespace {

struct Loto6Window {
    QTemporaryDir dir;
    std::unique_ptr<tambor::ui::TMainForm> window;

    Loto6Window() {
        QFile::copy(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE),
                    dir.filePath(QStringLiteral("lotodata.txt")));
        window = std::make_unique<tambor::ui::TMainForm>(tambor::ui::MainWindowOptions{dir.path().toStdString()});
        window->show();
        QCoreApplication::processEvents();
        window->sessionModel().run([](tambor::Session& s) { return s.switchGame(tambor::GameMode::Loto6); });
    }
};

void BM_AnalysisFormOpen(benchmark::State& state) {
    Loto6Window w;
    for (auto _ : state) {
        auto* form = new tambor::ui::TAnalysisForm(w.window->sessionModel(), w.window.get());
        form->showForm();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form->grab());
        state.PauseTiming();
        delete form;
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AnalysisFormOpen)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FilterFormRangeChange(benchmark::State& state) {
    Loto6Window w;
    tambor::ui::TFilterForm form(w.window->sessionModel(), w.window.get());
    form.showForm();
    QCoreApplication::processEvents();
    auto* min = form.findChild<QSpinBox*>(QStringLiteral("FilterSumMinSpinBox"));
    int value = 100;
    for (auto _ : state) {
        min->setValue(value);
        value = value == 140 ? 100 : value + 1;
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
}
BENCHMARK(BM_FilterFormRangeChange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
