// The grid editor on long lists: opening it (with the memory it takes),
// a double-click, the hover cross, the editor's sort and OK, each with the
// repaint that follows, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <bit>
#include <fstream>
#include <numeric>
#include <random>
#include <string>

#include "ui/common/session_model.h"
#include "ui/edit/edit_form.h"
#include "ui/main_window.h"

namespace {

using tambor::CombinationIndex;
using tambor::ui::TEditForm;
using tambor::ui::TMainForm;

constexpr std::int64_t kAllLoto6 = 6096454;

// A kibibyte figure from /proc/self/status ("VmRSS", "VmHWM").
double statusKiB(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.compare(0, key.size(), key) == 0) return std::stod(line.substr(key.size()));
    return 0;
}

// Starts the peak resident size afresh (Linux).
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The main window in ロト６ with rows combinations in the list: every one
// when rows is all of them, else an even spread, shuffled when asked.
struct Fixture {
    QTemporaryDir dir;
    TMainForm window{{dir.path().toStdString()}};

    Fixture(std::int64_t rows, bool shuffled) {
        window.show();
        QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("Loto6RadioButton")), Qt::LeftButton);
        tambor::CombinationList& list = window.session().list();
        std::vector<CombinationIndex>& items = list.mutableItems();
        items.resize(static_cast<std::size_t>(rows));
        for (std::int64_t i = 0; i < rows; ++i)
            items[static_cast<std::size_t>(i)] = static_cast<CombinationIndex>(i * kAllLoto6 / rows);
        if (shuffled) std::shuffle(items.begin(), items.end(), std::mt19937(7));
        for (CombinationIndex index : items) list.listedSet().add(index);
        window.sessionModel().apply(tambor::Change::List);
        QCoreApplication::processEvents();
    }

    TEditForm* editor() const { return window.findChild<TEditForm*>(QStringLiteral("TEditForm")); }
    QPushButton* button(QWidget* parent, const char* name) const {
        return parent->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void open() const {
        QTest::mouseClick(button(window.findChild<QWidget*>(QStringLiteral("PickTabSheet")), "EditBitBtn"),
                          Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void cancel() const {
        QTest::mouseClick(button(editor(), "CancelBitBtn"), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    // A number the row holds (its lowest), so a double-click deselects it.
    int numberIn(int row) const { return std::countr_zero(editor()->lines().mask(static_cast<std::size_t>(row))) + 1; }
    QPoint cellCentre(int row, int number) const {
        QTableView* grid = editor()->grid();
        return grid->visualRect(grid->model()->index(row, number - 1)).center();
    }
};

void BM_EditFormOpen(benchmark::State& state) {
    Fixture f(state.range(0), false);
    double extraMiB = 0, peakMiB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = statusKiB("VmRSS");
        resetPeak();
        state.ResumeTiming();
        f.open();
        state.PauseTiming();
        extraMiB = std::max(extraMiB, (statusKiB("VmRSS") - before) / 1024);
        peakMiB = std::max(peakMiB, (statusKiB("VmHWM") - before) / 1024);
        if (!f.editor()->isVisible()) state.SkipWithError("the editor did not open");
        f.cancel();
        state.ResumeTiming();
    }
    state.counters["extra_MiB"] = extraMiB;
    state.counters["peak_extra_MiB"] = peakMiB;
}
BENCHMARK(BM_EditFormOpen)->Arg(100000)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond)->Iterations(3);

// Deselects and selects again the same number: two double-clicks, each
// with its repaint.
void BM_EditFormDoubleClick(benchmark::State& state) {
    Fixture f(state.range(0), false);
    f.open();
    QWidget* cells = f.editor()->grid()->viewport();
    const QPoint at = f.cellCentre(3, f.numberIn(3));
    for (auto _ : state) {
        QTest::mouseClick(cells, Qt::LeftButton, {}, at);
        QTest::mouseDClick(cells, Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    state.SetItemsProcessed(state.iterations());
    f.cancel();
}
BENCHMARK(BM_EditFormDoubleClick)->Arg(100000)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond);

// The cursor moves between two cells in other rows and columns: the cross
// moves and the old and new column and row repaint.
void BM_EditFormHover(benchmark::State& state) {
    Fixture f(state.range(0), false);
    f.open();
    QWidget* cells = f.editor()->grid()->viewport();
    const QPoint points[2] = {f.cellCentre(2, 5), f.cellCentre(6, 30)};
    int next = 0;
    for (auto _ : state) {
        const QPoint at = points[next];
        next ^= 1;
        QMouseEvent move(QEvent::MouseMove, at, cells->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(cells, &move);
        QCoreApplication::processEvents();
    }
    f.cancel();
}
BENCHMARK(BM_EditFormHover)->Arg(100000)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond);

// The whole visible grid painted at once: the most any one change repaints.
void BM_EditFormFullRepaint(benchmark::State& state) {
    Fixture f(state.range(0), false);
    f.open();
    QWidget* cells = f.editor()->grid()->viewport();
    for (auto _ : state) cells->repaint();
    f.cancel();
}
BENCHMARK(BM_EditFormFullRepaint)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond);

// The editor's sort of shuffled rows, with its gauge and the repaint.
void BM_EditFormSort(benchmark::State& state) {
    Fixture f(state.range(0), true);
    for (auto _ : state) {
        state.PauseTiming();
        f.open();
        state.ResumeTiming();
        QTest::mouseClick(f.button(f.editor(), "SortBitBtn"), Qt::LeftButton);
        QCoreApplication::processEvents();
        state.PauseTiming();
        f.cancel();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EditFormSort)->Arg(1000000)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond)->Iterations(3);

// OK after one change: the rows handed back to the list and shown.
void BM_EditFormOk(benchmark::State& state) {
    Fixture f(state.range(0), false);
    for (auto _ : state) {
        state.PauseTiming();
        f.open();
        QWidget* cells = f.editor()->grid()->viewport();
        const QPoint at = f.cellCentre(0, f.numberIn(0));
        QTest::mouseClick(cells, Qt::LeftButton, {}, at);
        QTest::mouseDClick(cells, Qt::LeftButton, {}, at);  // row 0 leaves the list
        state.ResumeTiming();
        QTest::mouseClick(f.button(f.editor(), "OKBitBtn"), Qt::LeftButton);
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_EditFormOk)->Arg(kAllLoto6)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
