// Saving and loading a combination file of 1,000,000 combinations, end to
// end (format, cp932, temporary file and rename; read, scan, list); and the
// memory a very large history file takes to load.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "history/history_store.h"
#include "io/combination_file.h"
#include "io/text_file.h"

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

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
double statusKb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0) return std::stod(line.substr(key.size() + 1));
    return 0;
}

// A history file of about 64 MB: the built-in ミニロト draws repeated in one
// section (real lines; only their number is unusual). The counter
// peak_per_file_byte is the peak memory the load added, per byte of the
// file; the target is about 2 (the file is held once while it is decoded).
void BM_LoadLargeHistory(benchmark::State& state) {
    const fs::path folder = benchPath("history");
    fs::create_directories(folder);
    {
        // The built-in file's first section as stored (cp932, CR LF): its
        // header line, then its draw lines up to the first empty line.
        const std::string all(embedded::builtinHistoryBytes());
        const std::size_t headerEnd = all.find("\r\n") + 2;
        const std::string lines = all.substr(headerEnd, all.find("\r\n\r\n") + 2 - headerEnd);
        std::string body = all.substr(0, headerEnd);
        while (body.size() < (std::size_t{64} << 20)) body += lines;
        writeFileBytesAtomic(folder / HistoryStore::kFileName, body);
    }
    const double fileBytes = static_cast<double>(fs::file_size(folder / HistoryStore::kFileName));
    double peak = 0;
    for (auto _ : state) {
        std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from now
        const double before = statusKb("VmRSS");
        {
            HistoryStore history;
            history.load(folder, GameMode::MiniLoto);
            benchmark::DoNotOptimize(history.drawCount());
            peak = std::max(peak, statusKb("VmHWM") - before);
        }
    }
    state.counters["file_mb"] = fileBytes / (1 << 20);
    state.counters["peak_per_file_byte"] = peak * 1024 / fileBytes;
    fs::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_LoadLargeHistory)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(BM_SaveMillion, csv, "save.csv")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_SaveMillion, text, "save.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadMillion, csv, "load.csv")->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_LoadMillion, text, "load.txt")->Unit(benchmark::kMillisecond)->Iterations(3);
