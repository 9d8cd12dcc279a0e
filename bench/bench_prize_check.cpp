// The prize check costs a fixed number of set look-ups per game; the goal
// for ロト６ (165,613 candidates) is under 2 ms.

#include <benchmark/benchmark.h>

#include <random>

#include "core/combination_set.h"
#include "history/prize_check.h"

using namespace tambor;

namespace {

WinningNumbers loto6Winning() {
    const int mains[] = {3, 8, 15, 22, 30, 41};
    return *makeWinningNumbers(GameMode::Loto6, mains, 6, 10);
}

CombinationSet randomList(GameMode mode, int count) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<CombinationIndex> pick(0, rulesFor(mode).combinationCount - 1);
    CombinationSet set;
    for (int i = 0; i < count; ++i) set.add(pick(rng));
    return set;
}

// A list of the given size drawn at random: few hits, as in ordinary use.
void BM_PrizeCheckLoto6(benchmark::State& state) {
    const WinningNumbers w = loto6Winning();
    const CombinationSet set = randomList(GameMode::Loto6, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PrizeCheckResult r = RunPrizeCheck(GameMode::Loto6, w, set, [](int percent) {
            benchmark::DoNotOptimize(percent);
            return true;
        });
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PrizeCheckLoto6)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Every combination listed: every candidate is a hit and gets its line.
void BM_PrizeCheckLoto6AllListed(benchmark::State& state) {
    const WinningNumbers w = loto6Winning();
    CombinationSet set;
    for (CombinationIndex i = 0; i < rulesFor(GameMode::Loto6).combinationCount; ++i) set.add(i);
    for (auto _ : state) {
        PrizeCheckResult r = RunPrizeCheck(GameMode::Loto6, w, set);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PrizeCheckLoto6AllListed)->Unit(benchmark::kMicrosecond);

// ロト７ (393,996 candidates) against a 100,000-line list: goal 10 ms.
void BM_PrizeCheckLoto7(benchmark::State& state) {
    const int mains[] = {7, 10, 12, 17, 23, 28, 34};
    const int bonuses[] = {3, 15};
    const WinningNumbers w = *makeWinningNumbers(GameMode::Loto7, mains, 7, bonuses, 2);
    const CombinationSet set = randomList(GameMode::Loto7, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PrizeCheckResult r = RunPrizeCheck(GameMode::Loto7, w, set, [](int percent) {
            benchmark::DoNotOptimize(percent);
            return true;
        });
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PrizeCheckLoto7)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_PrizeCheckMiniLoto(benchmark::State& state) {
    const int mains[] = {2, 9, 14, 20, 27};
    const WinningNumbers w = *makeWinningNumbers(GameMode::MiniLoto, mains, 5, 5);
    const CombinationSet set = randomList(GameMode::MiniLoto, 1000);
    for (auto _ : state) {
        PrizeCheckResult r = RunPrizeCheck(GameMode::MiniLoto, w, set);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_PrizeCheckMiniLoto)->Unit(benchmark::kMicrosecond);

}  // namespace
