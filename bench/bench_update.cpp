// The online update of the full history (ミニロト 1–1400, ロト６ 1–2130,
// 138,570 bytes) from a server on 127.0.0.1, end to end: the request, the
// download, the line ends, the check, the backup, the temporary file and
// its rename, and notify.txt. Target: well under 0.5 s. Also the session's
// re-read of the new file, and the check on its own.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "history/history_check.h"
#include "history/online_update.h"
#include "http/test_http_server.h"
#include "io/text_file.h"
#include "net/curl_http_client.h"
#include "session/session.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

std::string readAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path benchFolder() {
    const fs::path folder = fs::temp_directory_path() / ("tambor-bench-update-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    return folder;
}

void BM_UpdateFullHistoryFromLocalServer(benchmark::State& state) {
    testing::TestHttpServer server;
    // No Last-Modified: every run downloads the whole file.
    server.serve("/lotodata.txt", {readAll(TAMBOR_TEST_DATA_DIR "/update/lotodata.txt")});
    server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n"});
    const fs::path folder = benchFolder();
    const UpdateRequest request{server.baseUrl(), "", folder / "lotodata.txt"};
    writeFileBytesAtomic(request.historyPath, embedded::builtinHistoryBytes());
    CurlHttpClient client;
    for (auto _ : state) {
        const UpdateResult result = runOnlineUpdate(client, request);
        if (result.state != UpdateState::Updated) state.SkipWithError("the update failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 138570);
    fs::remove_all(folder);
}
BENCHMARK(BM_UpdateFullHistoryFromLocalServer)->Unit(benchmark::kMillisecond);

// What the window does after the download: re-read the file and select the
// newest draw (the prize check itself has its own benchmark).
void BM_ReloadFullHistory(benchmark::State& state) {
    const fs::path folder = benchFolder();
    writeFileBytesAtomic(folder / "lotodata.txt", readAll(TAMBOR_BUILTIN_HISTORY_FILE));
    Session session(folder, GameMode::Loto6);
    for (auto _ : state) benchmark::DoNotOptimize(session.loadHistory());
    fs::remove_all(folder);
}
BENCHMARK(BM_ReloadFullHistory)->Unit(benchmark::kMillisecond);

void BM_CheckFullHistory(benchmark::State& state) {
    const std::string bytes = readAll(TAMBOR_BUILTIN_HISTORY_FILE);
    for (auto _ : state) benchmark::DoNotOptimize(checkHistoryFile(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_CheckFullHistory)->Unit(benchmark::kMicrosecond);

}  // namespace
