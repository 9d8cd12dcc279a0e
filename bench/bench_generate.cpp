// The generators at their largest: the R-system build over all 43 ロト６
// numbers, the largest plain build, a draw of 10,000 combinations, both
// sorting methods, and the undo step kept before a change of the largest list.
#include <benchmark/benchmark.h>

#include <numeric>

#include "core/combination_list.h"
#include "session/session.h"
#include "generate/combination_builder.h"
#include "generate/list_sort.h"
#include "generate/random_draw.h"
#include "history/history_store.h"

using namespace tambor;

namespace {

BuildRequest loto6Request(int axisCount, int togetherCount, bool rSystem) {
    BuildRequest request;
    request.game = GameMode::Loto6;
    for (int n = 1; n <= axisCount; ++n) request.axis.push_back(n);
    for (int n = axisCount + 1; n <= axisCount + togetherCount; ++n) request.together.push_back(n);
    request.rSystem = rSystem;
    request.arrange = ArrangeMode::Ascending;
    return request;
}

void runBuild(benchmark::State& state, const BuildRequest& request) {
    CombinationList list(GameMode::Loto6);
    CombinationSet pastWinners, scratch;
    RandomGenerator random;
    random.SeedRandom(1);
    BuildResult result;
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        result = RunCombinationBuilder(request, list, pastWinners, scratch, random, [](int) { return true; });
    }
    state.counters["enumerated"] = static_cast<double>(result.enumerated);
    state.counters["kept"] = static_cast<double>(result.listed);
    state.counters["marks"] = static_cast<double>(result.neighbourMarks);
    state.SetItemsProcessed(state.iterations() * result.enumerated);
}

void BM_BuildRSystemLoto6All43(benchmark::State& state) { runBuild(state, loto6Request(0, 43, true)); }
BENCHMARK(BM_BuildRSystemLoto6All43)->Unit(benchmark::kMillisecond);

void BM_BuildLoto6OneAxis34Together(benchmark::State& state) { runBuild(state, loto6Request(1, 34, false)); }
BENCHMARK(BM_BuildLoto6OneAxis34Together)->Unit(benchmark::kMillisecond);

DrawHistory builtinDrawHistory(GameMode mode) {
    HistoryStore store;
    store.loadBuiltin(mode);
    return drawHistoryOf(store);
}

void BM_RandomDraw10000(benchmark::State& state) {
    const DrawHistory history = builtinDrawHistory(GameMode::Loto6);
    DrawRequest request;
    request.count = 10000;
    request.mode = priorityModeFromIndex(static_cast<int>(state.range(0)));
    CombinationList list(GameMode::Loto6);
    CombinationSet pastWinners;
    RandomGenerator random;
    random.SeedRandom(1);
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        DrawWeights weights = initialDrawWeights(history);
        DrawStatistics statistics;
        state.ResumeTiming();
        benchmark::DoNotOptimize(RunRandomDraw(history, request, weights, statistics, random, list, &pastWinners,
                                               [](int) { return true; }));
    }
    state.SetItemsProcessed(state.iterations() * request.count);
}
BENCHMARK(BM_RandomDraw10000)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

// A list of `lines` distinct combinations in scrambled order.
CombinationList scrambledList(GameMode mode, int lines) {
    CombinationList list(mode);
    const std::int32_t total = rulesFor(mode).combinationCount;
    std::uint64_t x = 12345;
    while (static_cast<int>(list.size()) < lines) {
        x = x * 6364136223846793005ULL + 1442695040888963407ULL;
        list.appendIndex(static_cast<CombinationIndex>((x >> 33) % static_cast<std::uint64_t>(total)));
    }
    return list;
}

void runSort(benchmark::State& state, GameMode mode, int lines, SortMethod method) {
    const CombinationList original = scrambledList(mode, lines);
    CombinationList list(mode);
    for (auto _ : state) {
        state.PauseTiming();
        list = original;
        state.ResumeTiming();
        SortCombinationList(list, method, [](int) { return true; });
    }
    state.SetItemsProcessed(state.iterations() * lines);
}

void BM_SortIndexWalkLoto6(benchmark::State& state) {
    runSort(state, GameMode::Loto6, static_cast<int>(state.range(0)), SortMethod::IndexWalk);
}
BENCHMARK(BM_SortIndexWalkLoto6)->Arg(30001)->Arg(97610)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_SortTextLoto6(benchmark::State& state) {
    runSort(state, GameMode::Loto6, static_cast<int>(state.range(0)), SortMethod::Text);
}
BENCHMARK(BM_SortTextLoto6)->Arg(30000)->Unit(benchmark::kMillisecond);

void BM_SortTextMini(benchmark::State& state) { runSort(state, GameMode::MiniLoto, 3000, SortMethod::Text); }
BENCHMARK(BM_SortTextMini)->Unit(benchmark::kMillisecond);

// The largest list (every ロト６ combination): remembering it before a
// change and putting it back. The step holds one copy of the indices.
void BM_UndoLargestList(benchmark::State& state) {
    Session session({}, GameMode::Loto6);
    const GameRules rules = rulesFor(GameMode::Loto6);
    for (CombinationIndex i = 0; i < rules.combinationCount; ++i) session.list().appendIndex(i);
    for (auto _ : state) {
        session.rememberList();
        session.undoList();
    }
    state.counters["step_MB"] = static_cast<double>(rules.combinationCount) * sizeof(CombinationIndex) / 1e6;
    state.SetItemsProcessed(state.iterations() * rules.combinationCount);
}
BENCHMARK(BM_UndoLargestList)->Unit(benchmark::kMillisecond);

}  // namespace
