// The fewest-tickets R system and the guarantee check at their sizes: the
// kept count of each case against the most it may keep, the time, and the
// process's peak memory (the largest case runs first, so the peak is its own).
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include "core/number_board.h"
#include "generate/combination_builder.h"
#include "generate/guarantee_cover.h"
#include "generate/past_winners.h"
#include "history/history_store.h"

using namespace tambor;

namespace {

BuildRequest fewestRequest(GameMode game, int candidates) {
    BuildRequest request;
    request.game = game;
    for (int n = 1; n <= candidates; ++n) request.together.push_back(n);
    request.rSystem = true;
    request.arrange = ArrangeMode::Fewest;
    return request;
}

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// state.range(0): game (0 ミニロト, 1 ロト６, 2 ロト７), range(1): candidates,
// range(2): the most the build may keep, range(3): 1 with the built-in
// history's past first and second prizes kept out.
void BM_FewestCover(benchmark::State& state) {
    const auto game = static_cast<GameMode>(state.range(0));
    const int candidates = static_cast<int>(state.range(1));
    const BuildRequest request = fewestRequest(game, candidates);
    CombinationList list(game);
    CombinationSet pastWinners, scratch;
    if (state.range(3) == 1) {
        HistoryStore history;
        history.loadBuiltin(game);
        RebuildPastWinnerSet(pastWinners, true, game, history.sectionLines());
    }
    RandomGenerator random;
    random.SeedRandom(1);
    int progressCalls = 0;
    BuildResult result;
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        result = RunCombinationBuilder(request, list, pastWinners, scratch, random, [&](int) {
            ++progressCalls;
            return true;
        });
    }
    state.counters["kept"] = static_cast<double>(result.listed);
    state.counters["at_most"] = static_cast<double>(state.range(2));
    state.counters["lower_bound"] = static_cast<double>(result.lowerBound);
    state.counters["ascending_r"] = static_cast<double>(RSystemLineCount(game, candidates));
    state.counters["progress_calls"] = static_cast<double>(progressCalls) / static_cast<double>(state.iterations());
    state.counters["peak_MB"] = peakMegabytes();
    if (static_cast<std::int64_t>(result.listed) > state.range(2)) state.SkipWithError("kept more than the target");
    if (CheckGuarantee(game, {}, request.together, list.items()).uncovered != 0) state.SkipWithError("not a cover");
}
BENCHMARK(BM_FewestCover)
    ->ArgNames({"game", "v", "at_most", "past"})
    ->Args({2, 37, 140633, 0})
    ->Args({1, 43, 79342, 0})
    ->Args({1, 43, 79342, 1})
    ->Args({1, 30, 10985, 0})
    ->Args({1, 20, 1068, 0})
    ->Args({1, 10, 15, 0})
    ->Args({0, 31, 3387, 0})
    ->Args({0, 20, 487, 0})
    ->Args({0, 10, 20, 0})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// The R system over all 37 ロト７ numbers in ascending order (the order
// RSystemLineCount is counted in), with the time, the peak memory and the
// independent check of the guarantee.
void BM_RSystemLoto7All37Ascending(benchmark::State& state) {
    BuildRequest request = fewestRequest(GameMode::Loto7, 37);
    request.arrange = ArrangeMode::Ascending;
    CombinationList list(GameMode::Loto7);
    CombinationSet pastWinners, scratch;
    RandomGenerator random;
    random.SeedRandom(1);
    for (auto _ : state) {
        state.PauseTiming();
        list.clear();
        state.ResumeTiming();
        RunCombinationBuilder(request, list, pastWinners, scratch, random);
    }
    state.counters["kept"] = static_cast<double>(list.size());
    state.counters["peak_MB"] = peakMegabytes();
    if (static_cast<std::int32_t>(list.size()) != RSystemLineCount(GameMode::Loto7, 37))
        state.SkipWithError("kept a count other than the table's");
    if (CheckGuarantee(GameMode::Loto7, {}, request.together, list.items()).uncovered != 0)
        state.SkipWithError("not a cover");
}
BENCHMARK(BM_RSystemLoto7All37Ascending)->Unit(benchmark::kMillisecond)->Iterations(1);

// verify over all 43 numbers of the list the build keeps.
void BM_VerifyLoto6All43(benchmark::State& state) {
    const BuildRequest request = fewestRequest(GameMode::Loto6, 43);
    CombinationList list(GameMode::Loto6);
    CombinationSet pastWinners, scratch;
    RandomGenerator random;
    random.SeedRandom(1);
    RunCombinationBuilder(request, list, pastWinners, scratch, random);
    GuaranteeCheck check;
    for (auto _ : state) check = CheckGuarantee(GameMode::Loto6, {}, request.together, list.items());
    state.counters["lines"] = static_cast<double>(check.lines);
    state.counters["uncovered"] = static_cast<double>(check.uncovered);
}
BENCHMARK(BM_VerifyLoto6All43)->Unit(benchmark::kMillisecond);

}  // namespace
