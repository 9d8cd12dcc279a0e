// Saving and loading a combination file of 1,000,000 combinations, end to
// end (format, cp932, temporary file and rename; read, scan, list).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "io/combination_file.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

constexpr int kCount = 1000000;

CombinationList millionList() {
    CombinationList list(GameMode::Loto6);
    const auto total = rulesFor(GameMode::Loto6).combinationCount;
    for (std::int64_t i = 0; i < kCount; ++i) list.appendIndex(static_cast<CombinationIndex>(i * 6 % total));
    return list;
}

fs::path benchPath(const char* name) {
    return fs::temp_directory_path() / ("tambor-bench-" + std::to_string(::getpid()) + "-" + name);
}

void BM_SaveMillion(benchmark::State& state, const char* name) {
    CombinationList list = millionList();
    const fs::path path = benchPath(name);
    for (auto _ : state) saveCombinationFile(path.string(), list, 1);
    state.counters["bytes"] = static_cast<double>(fs::file_size(path));
    fs::remove(path);
}

void BM_LoadMillion(benchmark::State& state, const char* name) {
    const fs::path path = benchPath(name);
    {
        CombinationList list = millionList();
        saveCombinationFile(path.string(), list, 1);
    }
    for (auto _ : state) {
        CombinationList list(GameMode::Loto6);
        const CombinationFile file = readCombinationFile(path.string());
        const LoadResult result = appendCombinationFile(list, file);
        if (result.listed != static_cast<std::size_t>(kCount)) state.SkipWithError("lost combinations");
        benchmark::DoNotOptimize(list.size());
    }
    fs::remove(path);
}

}  // namespace

BENCHMARK_CAPTURE(BM_SaveMillion, csv, "save.csv")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SaveMillion, text, "save.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadMillion, csv, "load.csv")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadMillion, text, "load.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
