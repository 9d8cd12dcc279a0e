// Changing the history by hand and from the bank's result files, on the full
// history (ミニロト 1–1400, ロト６ 1–2130), end to end through the session:
// reading the files, the checks, the one write with its backup and the
// re-read of the history. Target: each under 50 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "../tests/core/result_file_support.h"
#include "io/text_file.h"
#include "session/session.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

std::string fullHistory() { return readFileBytes(TAMBOR_TEST_DATA_DIR "/lotodata-full.txt"); }

// The full file without its newest ロト６ draws (ロト６ ends the file).
std::string withoutNewestLoto6(int draws) {
    std::string bytes = fullHistory();
    bytes.resize(bytes.size() - 2);
    for (int i = 0; i < draws; ++i) bytes.resize(bytes.rfind("\r\n", bytes.size() - 3) + 2);
    return bytes + "\r\n";
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
    for (int round = 2031; round <= 2130; ++round) {
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
    // ロト６ 第2130回 of the verified list.
    const DrawEntry entry{*parseIsoDate("2026-08-20"), {12, 18, 35, 40, 41, 43}, {3}};
    for (auto _ : state) {
        state.PauseTiming();
        writeFileBytesAtomic(folder / "lotodata.txt", start);
        state.ResumeTiming();
        if (!session.addDraw(entry).refusal().empty()) state.SkipWithError("the draw was refused");
    }
    fs::remove_all(folder);
}
BENCHMARK(BM_AddOneDraw)->Unit(benchmark::kMillisecond);

}  // namespace
