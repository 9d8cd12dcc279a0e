// Changing the history by hand and from the bank's result files, on the full
// history (the built-in copy), end to end through the session:
// reading the files, the checks, the one write with its backup and the
// re-read of the history. Target: each under 50 ms. And the start: a first
// start that writes the built-in copy and reads it, and a start that brings
// an older file up to it. Target: under 0.2 s.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "../tests/core/result_file_support.h"
#include "io/text_file.h"
#include "session/session.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

std::string fullHistory() { return readFileBytes(TAMBOR_BUILTIN_HISTORY_FILE); }

// The full file without its newest ロト６ draws (the second section; the
// sections are separated by an empty line).
std::string withoutNewestLoto6(int draws) {
    const std::string bytes = fullHistory();
    const std::size_t end = bytes.find("\r\n\r\n", bytes.find("\r\n\r\n") + 4) + 2;
    std::string head = bytes.substr(0, end);
    for (int i = 0; i < draws; ++i) head.resize(head.rfind("\r\n", head.size() - 3) + 2);
    return head + bytes.substr(end);
}

fs::path benchFolder() {
    const fs::path folder = fs::temp_directory_path() / ("tambor-bench-history-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void BM_ImportHundredResultFiles(benchmark::State& state) {
    const fs::path folder = benchFolder();
    const std::string start = withoutNewestLoto6(100);
    std::vector<fs::path> files;
    for (int round = 2038; round <= 2137; ++round) {
        files.push_back(folder / ("loto6-" + std::to_string(round) + ".csv"));
        writeFileBytesAtomic(files.back(), result_test::resultFileBytes(GameMode::Loto6, round));
    }
    writeFileBytesAtomic(folder / "lotodata.txt", start);
    Session session(folder, GameMode::Loto6);
    session.loadHistory();
    for (auto _ : state) {
        state.PauseTiming();
        writeFileBytesAtomic(folder / "lotodata.txt", start);
        state.ResumeTiming();
        ImportOutcome outcome;
        session.importResultFiles(files, outcome);
        if (outcome.addedDraws != 100) state.SkipWithError("the import did not add 100 draws");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_ImportHundredResultFiles)->Unit(benchmark::kMillisecond);

void BM_AddOneDraw(benchmark::State& state) {
    const fs::path folder = benchFolder();
    const std::string start = withoutNewestLoto6(1);
    writeFileBytesAtomic(folder / "lotodata.txt", start);
    Session session(folder, GameMode::Loto6);
    session.loadHistory();
    // ロト６ 第2137回 of the verified list.
    const DrawEntry entry{*parseIsoDate("2026-09-14"), {4, 8, 10, 25, 28, 33}, {9}};
    for (auto _ : state) {
        state.PauseTiming();
        writeFileBytesAtomic(folder / "lotodata.txt", start);
        state.ResumeTiming();
        if (!session.addDraw(entry).refusal().empty()) state.SkipWithError("the draw was refused");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_AddOneDraw)->Unit(benchmark::kMillisecond);

void BM_FirstStart(benchmark::State& state) {
    const fs::path folder = benchFolder();
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(folder / "lotodata.txt");
        state.ResumeTiming();
        Session session(folder, GameMode::Loto6);
        session.loadHistory();
        if (session.history().drawCount() != 2137) state.SkipWithError("the first start did not read 2,137 draws");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_FirstStart)->Unit(benchmark::kMillisecond);

void BM_StartBringingAnOlderFileUpToDate(benchmark::State& state) {
    const fs::path folder = benchFolder();
    const std::string older = withoutNewestLoto6(100);
    for (auto _ : state) {
        state.PauseTiming();
        writeFileBytesAtomic(folder / "lotodata.txt", older);
        state.ResumeTiming();
        Session session(folder, GameMode::Loto6);
        session.mergeBuiltinHistory();
        session.loadHistory();
        if (session.history().drawCount() != 2137) state.SkipWithError("the merge did not bring 2,137 draws");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_StartBringingAnOlderFileUpToDate)->Unit(benchmark::kMillisecond);

}  // namespace
