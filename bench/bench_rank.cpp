// RankCombination and UnrankCombination over every ロト６ and every ロト７
// combination (goal: at most 10 ns a call).
#include <benchmark/benchmark.h>

#include <vector>

#include "core/combination.h"

using namespace tambor;

namespace {

const std::vector<Combination>& allLoto6() {
    static const std::vector<Combination> all = [] {
        std::vector<Combination> v;
        const std::int32_t total = rulesFor(GameMode::Loto6).combinationCount;
        v.reserve(static_cast<std::size_t>(total));
        for (CombinationIndex i = 0; i < total; ++i) v.push_back(UnrankCombination(GameMode::Loto6, i));
        return v;
    }();
    return all;
}

void BM_RankAllLoto6(benchmark::State& state) {
    const auto& all = allLoto6();
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (const Combination& c : all) sum += RankCombination(GameMode::Loto6, c);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(all.size()));
    state.counters["ns_per_call"] = benchmark::Counter(
        static_cast<double>(state.iterations() * static_cast<std::int64_t>(all.size())),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert, benchmark::Counter::kIs1000);
}
BENCHMARK(BM_RankAllLoto6)->Unit(benchmark::kMillisecond);

void BM_UnrankAllLoto6(benchmark::State& state) {
    const std::int32_t total = rulesFor(GameMode::Loto6).combinationCount;
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (CombinationIndex i = 0; i < total; ++i) sum += UnrankCombination(GameMode::Loto6, i).numbers[5];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * total);
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(state.iterations() * total),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                       benchmark::Counter::kIs1000);
}
BENCHMARK(BM_UnrankAllLoto6)->Unit(benchmark::kMillisecond);

// Every ロト７ index unranked and ranked back: the whole 10,295,472.
void BM_RoundTripAllLoto7(benchmark::State& state) {
    const std::int32_t total = rulesFor(GameMode::Loto7).combinationCount;
    for (auto _ : state) {
        std::int64_t mismatches = 0;
        for (CombinationIndex i = 0; i < total; ++i)
            mismatches += RankCombination(GameMode::Loto7, UnrankCombination(GameMode::Loto7, i)) != i;
        if (mismatches != 0) state.SkipWithError("rank(unrank(i)) != i");
        benchmark::DoNotOptimize(mismatches);
    }
    state.SetItemsProcessed(state.iterations() * total);
    state.counters["ns_per_pair"] = benchmark::Counter(static_cast<double>(state.iterations() * total),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                       benchmark::Counter::kIs1000);
}
BENCHMARK(BM_RoundTripAllLoto7)->Unit(benchmark::kMillisecond);

void BM_UnrankAllLoto7(benchmark::State& state) {
    const std::int32_t total = rulesFor(GameMode::Loto7).combinationCount;
    for (auto _ : state) {
        std::int64_t sum = 0;
        for (CombinationIndex i = 0; i < total; ++i) sum += UnrankCombination(GameMode::Loto7, i).numbers[6];
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * total);
    state.counters["ns_per_call"] = benchmark::Counter(static_cast<double>(state.iterations() * total),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
                                                       benchmark::Counter::kIs1000);
}
BENCHMARK(BM_UnrankAllLoto7)->Unit(benchmark::kMillisecond);

}  // namespace
