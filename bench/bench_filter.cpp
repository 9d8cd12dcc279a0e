// The filters and the number analysis: one combination through all eight
// conditions, the largest list narrowed, the pass rates over the whole
// ロト６ history after a change, and the analysis window's figures.
#include <benchmark/benchmark.h>

#include <random>

#include "core/combination_list.h"
#include "generate/filter_text.h"
#include "generate/list_filter.h"
#include "history/draw_masks.h"
#include "history/filter_history.h"
#include "history/history_store.h"
#include "history/number_analysis.h"
#include "io/text_file.h"

using namespace tambor;

namespace {

// Ranges every condition must look at (none rules a combination out early).
FilterSettings everyConditionOn(GameMode game) {
    FilterSettings s = defaultFilterSettings(game);
    for (FilterRange& r : s.ranges) r.enabled = true;
    return s;
}

std::vector<std::uint64_t> randomLoto6Masks(std::size_t count) {
    std::mt19937 random(42);
    std::uniform_int_distribution<CombinationIndex> index(0, rulesFor(GameMode::Loto6).combinationCount - 1);
    std::vector<std::uint64_t> masks;
    for (std::size_t i = 0; i < count; ++i) masks.push_back(numberMask(UnrankCombination(GameMode::Loto6, index(random))));
    return masks;
}

void BM_FilterOneCombinationAllEight(benchmark::State& state) {
    const CombinationFilter filter(GameMode::Loto6, everyConditionOn(GameMode::Loto6),
                                   numberMask(std::vector{3, 11, 19, 27, 35, 43}));
    const std::vector<std::uint64_t> masks = randomLoto6Masks(4096);
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter.passes(masks[i]));
        i = (i + 1) & 4095;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilterOneCombinationAllEight);

void BM_NarrowAllLoto6Combinations(benchmark::State& state) {
    CombinationList all(GameMode::Loto6);
    for (CombinationIndex i = 0; i < rulesFor(GameMode::Loto6).combinationCount; ++i) all.appendIndex(i);
    const CombinationFilter filter(
        GameMode::Loto6,
        parseFilterText(GameMode::Loto6, "sum=100-160,odd=2-4,low=2-4,consecutive=0-1,lastdigit=0-1,decade=0-3,"
                                         "previous=0-2,spread=20-40"),
        numberMask(std::vector{3, 11, 19, 27, 35, 43}));
    NarrowResult result;
    for (auto _ : state) {
        state.PauseTiming();
        CombinationList list = all;
        state.ResumeTiming();
        result = NarrowCombinationList(list, filter, [](int) { return true; });
        state.PauseTiming();
        list = CombinationList();
        state.ResumeTiming();
    }
    state.counters["removed"] = static_cast<double>(result.removed);
    state.SetItemsProcessed(state.iterations() * rulesFor(GameMode::Loto6).combinationCount);
}
BENCHMARK(BM_NarrowAllLoto6Combinations)->Unit(benchmark::kMillisecond);

HistoryStore fullHistory(GameMode game) {
    HistoryStore store;
    store.loadFromText(readTextFile(TAMBOR_BUILTIN_HISTORY_FILE), game);
    return store;
}

// A change of one range in the window: every pass rate counted again.
void BM_PassRatesFullLoto6History(benchmark::State& state) {
    const HistoryStore store = fullHistory(GameMode::Loto6);
    const FilterHistory history(store);
    FilterSettings s = everyConditionOn(GameMode::Loto6);
    int sum = 100;
    for (auto _ : state) {
        s[FilterCondition::Sum] = {true, sum, sum + 60};
        sum = sum == 140 ? 100 : sum + 1;
        benchmark::DoNotOptimize(history.passRates(s));
    }
    state.counters["draws"] = history.drawCount();
}
BENCHMARK(BM_PassRatesFullLoto6History)->Unit(benchmark::kMicrosecond);

// Taking the statistics of every draw once per history, and the histograms.
void BM_FilterHistoryAndHistogramsFullLoto6(benchmark::State& state) {
    const HistoryStore store = fullHistory(GameMode::Loto6);
    for (auto _ : state) {
        const FilterHistory history(store);
        for (int c = 0; c < kFilterConditionCount; ++c) benchmark::DoNotOptimize(history.histogram(filterConditionAt(c)));
    }
}
BENCHMARK(BM_FilterHistoryAndHistogramsFullLoto6)->Unit(benchmark::kMicrosecond);

void BM_NumberAnalysisFullLoto6(benchmark::State& state) {
    const HistoryStore store = fullHistory(GameMode::Loto6);
    for (auto _ : state) benchmark::DoNotOptimize(analyzeNumbers(store));
    state.counters["draws"] = store.drawCount();
}
BENCHMARK(BM_NumberAnalysisFullLoto6)->Unit(benchmark::kMicrosecond);

}  // namespace
