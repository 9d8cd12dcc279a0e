// The backtest of a list against the whole verified history (ミニロト
// 1,400 draws, ロト６ 2,130). Goals: a 100,000-combination ロト６ list
// under 0.3 s, 1,000 combinations under 10 ms.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <random>

#include "core/combination_list.h"
#include "history/backtest.h"
#include "history/history_store.h"
#include "io/text_file.h"

using namespace tambor;

namespace {

std::vector<BacktestDraw> fullHistory(GameMode mode) {
    std::string text;
    for (const std::string& line : readTextFileLines(TAMBOR_BUILTIN_HISTORY_FILE)) text += line + "\n";
    HistoryStore history;
    history.loadFromText(text, mode);
    return readBacktestDraws(history);
}

// ロト７'s 694 draws, from the verified list (round, date, main numbers,
// bonus numbers; tab separated).
std::vector<BacktestDraw> loto7History() {
    std::string text = HistoryStore::sectionHeader(GameMode::Loto7) + "\n";
    std::ifstream tsv(TAMBOR_BENCH_DATA_DIR "/history-loto7.tsv");
    for (std::string line; std::getline(tsv, line);) {
        const std::size_t a = line.find('\t'), b = line.find('\t', a + 1), c = line.find('\t', b + 1);
        std::string numbers = line.substr(b + 1, c - b - 1) + "," + line.substr(c + 1);
        text += "第" + line.substr(0, a) + "回(" + line.substr(a + 1, b - a - 1) + ")=" + numbers + "\n";
    }
    HistoryStore history;
    history.loadFromText(text, GameMode::Loto7);
    return readBacktestDraws(history);
}

const std::vector<BacktestDraw>& draws(GameMode mode) {
    static const std::array<std::vector<BacktestDraw>, kGameCount> all{
        fullHistory(GameMode::MiniLoto), fullHistory(GameMode::Loto6), loto7History()};
    return all[static_cast<std::size_t>(mode)];
}

CombinationList randomList(GameMode mode, std::int64_t count) {
    std::mt19937 rng(11);
    const CombinationIndex all = rulesFor(mode).combinationCount;
    CombinationList list(mode);
    if (count * 4 > all) {
        // Many: a shuffled run of every index, cut to size.
        std::vector<CombinationIndex> indices(static_cast<std::size_t>(all));
        for (CombinationIndex i = 0; i < all; ++i) indices[static_cast<std::size_t>(i)] = i;
        std::shuffle(indices.begin(), indices.end(), rng);
        for (std::int64_t i = 0; i < count; ++i) list.appendIndex(indices[static_cast<std::size_t>(i)]);
        return list;
    }
    std::uniform_int_distribution<CombinationIndex> pick(0, all - 1);
    while (static_cast<std::int64_t>(list.size()) < count) list.appendIndex(pick(rng));
    return list;
}

void run(benchmark::State& state, GameMode mode, BacktestMethod method, int threads) {
    const CombinationList list = randomList(mode, state.range(0));
    const std::vector<BacktestDraw>& all = draws(mode);
    BacktestMethod used = method;
    for (auto _ : state) {
        BacktestResult r = RunBacktest(list, all, {}, {method, threads});
        used = r.method;
        benchmark::DoNotOptimize(r);
    }
    state.SetLabel(used == BacktestMethod::Masks ? "masks" : "enumeration");
    state.counters["draws"] = static_cast<double>(all.size());
}

// What the program runs: the method and threads chosen for the size.
void BM_BacktestLoto6(benchmark::State& state) { run(state, GameMode::Loto6, BacktestMethod::Automatic, 0); }
BENCHMARK(BM_BacktestLoto6)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(6000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_BacktestMiniLoto(benchmark::State& state) { run(state, GameMode::MiniLoto, BacktestMethod::Automatic, 0); }
BENCHMARK(BM_BacktestMiniLoto)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Each method on one thread: the costs the automatic choice weighs.
// ロト７: 100,000 lines against all 694 draws, goal 0.3 s.
void BM_BacktestLoto7(benchmark::State& state) { run(state, GameMode::Loto7, BacktestMethod::Automatic, 0); }
BENCHMARK(BM_BacktestLoto7)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_BacktestLoto7Masks1T(benchmark::State& state) { run(state, GameMode::Loto7, BacktestMethod::Masks, 1); }
BENCHMARK(BM_BacktestLoto7Masks1T)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BacktestLoto6Masks1T(benchmark::State& state) { run(state, GameMode::Loto6, BacktestMethod::Masks, 1); }
BENCHMARK(BM_BacktestLoto6Masks1T)
    ->Arg(1000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Arg(6000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_BacktestLoto6Enumeration1T(benchmark::State& state) {
    run(state, GameMode::Loto6, BacktestMethod::Enumeration, 1);
}
BENCHMARK(BM_BacktestLoto6Enumeration1T)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BacktestMiniLotoEnumeration1T(benchmark::State& state) {
    run(state, GameMode::MiniLoto, BacktestMethod::Enumeration, 1);
}
BENCHMARK(BM_BacktestMiniLotoEnumeration1T)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BacktestMiniLotoMasks1T(benchmark::State& state) { run(state, GameMode::MiniLoto, BacktestMethod::Masks, 1); }
BENCHMARK(BM_BacktestMiniLotoMasks1T)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Reading the draws from the history: part of every opening of the window.
void BM_ReadBacktestDraws(benchmark::State& state) {
    std::string text;
    for (const std::string& line : readTextFileLines(TAMBOR_BUILTIN_HISTORY_FILE)) text += line + "\n";
    HistoryStore history;
    history.loadFromText(text, GameMode::Loto6);
    for (auto _ : state) benchmark::DoNotOptimize(readBacktestDraws(history));
}
BENCHMARK(BM_ReadBacktestDraws)->Unit(benchmark::kMicrosecond);

}  // namespace
