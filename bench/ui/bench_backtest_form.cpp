// The backtest window over the full ロト６ history (2,130 draws) with a
// 100,000-combination list, on the offscreen platform: opening it (the
// count, the table, the summary and the chart, painted), and showing the
// whole range again without counting. Goal: the window adds under 0.5 s
// to the count.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <random>

#include "ui/backtest/backtest_form.h"
#include "ui/common/session_model.h"
#include "ui/main_window.h"

namespace {

struct Loto6Window {
    QTemporaryDir dir;
    std::unique_ptr<tambor::ui::TMainForm> window;

    explicit Loto6Window(std::size_t listSize) {
        QFile::copy(QStringLiteral(TAMBOR_BUILTIN_HISTORY_FILE),
                    dir.filePath(QStringLiteral("lotodata.txt")));
        window = std::make_unique<tambor::ui::TMainForm>(tambor::ui::MainWindowOptions{dir.path().toStdString()});
        window->show();
        QCoreApplication::processEvents();
        window->sessionModel().run([](tambor::Session& s) { return s.switchGame(tambor::GameMode::Loto6); });
        std::mt19937 rng(5);
        std::uniform_int_distribution<tambor::CombinationIndex> pick(
            0, tambor::rulesFor(tambor::GameMode::Loto6).combinationCount - 1);
        auto& list = window->session().list();
        while (list.size() < listSize) list.appendIndex(pick(rng));
        window->sessionModel().apply(tambor::Change::List);
    }
    QPushButton* button() const { return window->findChild<QPushButton*>(QStringLiteral("BacktestBitBtn")); }
    tambor::ui::TBacktestForm* form() const {
        return window->findChild<tambor::ui::TBacktestForm*>(QStringLiteral("TBacktestForm"));
    }
};

// From the click to the painted window, the count included.
void BM_BacktestFormOpen(benchmark::State& state) {
    Loto6Window w(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        w.button()->click();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.form()->grab());
        state.PauseTiming();
        // Closed, and the list "changed": the next click counts again.
        w.form()->hide();
        w.window->sessionModel().apply(tambor::Change::List);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BacktestFormOpen)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The window alone: the whole range shown again (table, summary, chart)
// and painted, without counting.
void BM_BacktestFormShowRange(benchmark::State& state) {
    Loto6Window w(100000);
    w.button()->click();
    QCoreApplication::processEvents();
    auto* all = w.form()->findChild<QPushButton*>(QStringLiteral("BacktestAllBitBtn"));
    for (auto _ : state) {
        all->click();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(w.form()->grab());
    }
}
BENCHMARK(BM_BacktestFormShowRange)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
