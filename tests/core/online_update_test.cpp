// The online update against a real HTTP server on 127.0.0.1: downloads,
// up-to-date answers, every way a download can fail (the local file stays
// byte for byte), line ends, the proxy, notify.txt, and the command line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "cli_test_support.h"
#include "history/history_check.h"
#include "history/history_store.h"
#include "history/online_update.h"
#include "history_test_support.h"
#include "http/test_http_server.h"
#include "io/text_file.h"
#include "net/curl_http_client.h"
#include "session/session.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
using tambor::testing::ServedFile;
using tambor::testing::TestHttpServer;

namespace {

constexpr std::int64_t kServerTime = 1787216400;  // 2026-08-20 09:00:00 UTC

std::string servedHistory() { return slurp(TAMBOR_TEST_DATA_DIR "/update/lotodata.txt"); }
std::string fullHistory() { return slurp(TAMBOR_TEST_DATA_DIR "/lotodata-full.txt"); }
std::string builtinHistory() { return std::string(embedded::builtinHistoryBytes()); }

std::int64_t mtimeOf(const std::filesystem::path& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::int64_t>(st.st_mtim.tv_sec) : -1;
}

struct UpdateFixture : ::testing::Test {
    TempFolder folder;
    TestHttpServer server;
    CurlHttpClient client;
    std::filesystem::path history = folder.path / "lotodata.txt";

    UpdateFixture() {
        writeFileBytesAtomic(history, builtinHistory());
        server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
    }
    UpdateRequest request(const std::string& base = {}) const {
        return {base.empty() ? server.baseUrl() : base, "", history};
    }
    UpdateResult update(const DownloadProgress& progress = {}) { return runOnlineUpdate(client, request(), progress); }
};

// ---------------------------------------------------------------- downloads

TEST_F(UpdateFixture, FirstUpdateDownloadsSecondIsUpToDateAChangeDownloadsAgain) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const UpdateResult first = update([&](std::uint64_t received, std::optional<std::uint64_t> total) {
        steps.emplace_back(received, total.value_or(0));
        return true;
    });
    ASSERT_EQ(first.state, UpdateState::Updated) << (first.errors.empty() ? "" : first.errors[0]);
    EXPECT_TRUE(first.errors.empty());
    EXPECT_EQ(slurp(history), fullHistory());  // CR LF, byte for byte
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), builtinHistory());
    EXPECT_EQ(mtimeOf(history), kServerTime);
    EXPECT_EQ(first.serverTime, kServerTime);
    EXPECT_EQ(first.resultMessage(), completionMessage(kServerTime));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().first, 0u);
    const std::uint64_t size = servedHistory().size();
    EXPECT_NE(std::find(steps.begin(), steps.end(), std::make_pair(size, size)), steps.end());
    EXPECT_EQ(first.latestVersion, "Ver 1.2.0");
    EXPECT_FALSE(first.newerVersionAnnounced());

    const UpdateResult second = update();
    EXPECT_EQ(second.state, UpdateState::UpToDate);
    EXPECT_EQ(second.resultMessage(), "ファイルは最新の状態です。");
    EXPECT_EQ(slurp(history), fullHistory());
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), fullHistory());  // the backup is refreshed

    // The server republishes (one draw fewer, so the bytes differ).
    std::string changed = servedHistory();
    changed.erase(changed.rfind("\x91\xE6" "2130"), std::string::npos);  // "第2130..." to the end
    changed += "\n";
    server.serve("/lotodata.txt", {changed, kServerTime + 3600});
    const UpdateResult third = update();
    EXPECT_EQ(third.state, UpdateState::Updated);
    EXPECT_EQ(slurp(history), withCrLfLineEnds(changed));
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), fullHistory());
    EXPECT_EQ(mtimeOf(history), kServerTime + 3600);
    EXPECT_EQ(server.requestsFor("/lotodata.txt"), 3);

    for (const auto& seen : server.seen()) {
        EXPECT_EQ(seen.userAgent, "Tambor");
        EXPECT_EQ(seen.cacheControl, "no-cache");
    }
}

TEST_F(UpdateFixture, CrLfOnTheServerStaysCrLf) {
    server.serve("/lotodata.txt", {fullHistory(), kServerTime});
    EXPECT_EQ(update().state, UpdateState::Updated);
    EXPECT_EQ(slurp(history), fullHistory());
}

TEST_F(UpdateFixture, WithoutContentLengthTheProgressHasNoTotal) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::NoLength});
    server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime, 200, ServedFile::Send::NoLength});
    bool sawTotal = false;
    std::uint64_t most = 0;
    const UpdateResult result = update([&](std::uint64_t received, std::optional<std::uint64_t> total) {
        sawTotal = sawTotal || total.has_value();
        most = std::max(most, received);
        return true;
    });
    EXPECT_EQ(result.state, UpdateState::Updated);
    EXPECT_FALSE(sawTotal);
    EXPECT_EQ(most, servedHistory().size());
    EXPECT_EQ(slurp(history), fullHistory());
}

TEST_F(UpdateFixture, WithoutLastModifiedEveryUpdateDownloads) {
    server.serve("/lotodata.txt", {servedHistory(), std::nullopt});
    const std::int64_t before = static_cast<std::int64_t>(std::time(nullptr));
    const UpdateResult first = update();
    EXPECT_EQ(first.state, UpdateState::Updated);
    EXPECT_GE(first.serverTime, before);  // the download's own time
    EXPECT_EQ(update().state, UpdateState::Updated);
    EXPECT_EQ(server.requestsFor("/lotodata.txt"), 2);
}

TEST_F(UpdateFixture, ARedirectWithinTheServerIsFollowed) {
    server.serve("/old/lotodata.txt", {"", std::nullopt, 301, ServedFile::Send::Whole, "text/plain", "/lotodata.txt"});
    server.serve("/old/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    EXPECT_EQ(runOnlineUpdate(client, request(server.baseUrl("old/"))).state, UpdateState::Updated);
    EXPECT_EQ(slurp(history), fullHistory());
}

TEST_F(UpdateFixture, TheProxyTextCarriesTheRequest) {
    EXPECT_EQ(proxyText(true, "A", "8080"), "A:8080");
    EXPECT_EQ(proxyText(false, "A", "8080"), "");
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    // The host does not exist: only the proxy (the test server) can answer.
    const UpdateRequest viaProxy{"http://tambor-update.invalid/",
                                 proxyText(true, "127.0.0.1", std::to_string(server.port())), history};
    const UpdateResult result = runOnlineUpdate(client, viaProxy);
    EXPECT_EQ(result.state, UpdateState::Updated) << (result.errors.empty() ? "" : result.errors[0]);
    ASSERT_FALSE(server.seen().empty());
    EXPECT_EQ(server.seen().front().target, "http://tambor-update.invalid/lotodata.txt");
    EXPECT_EQ(slurp(history), fullHistory());
}

// ---------------------------------------------------------------- failures

struct FailureRow {
    const char* name;
    std::optional<ServedFile> served;  // nothing: no lotodata.txt on the server (404)
    UpdateState state;
    const char* messageStart;
    bool notifyFetched;
};

class UpdateFailures : public UpdateFixture, public ::testing::WithParamInterface<FailureRow> {};

TEST_P(UpdateFailures, LeaveTheHistoryAsItWas) {
    const FailureRow& row = GetParam();
    if (row.served) server.serve("/lotodata.txt", *row.served);
    const std::int64_t mtime = mtimeOf(history);
    const UpdateResult result = update();
    EXPECT_EQ(result.state, row.state);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].rfind(row.messageStart, 0), 0u) << result.errors[0];
    EXPECT_TRUE(result.resultMessage().empty());
    EXPECT_EQ(slurp(history), builtinHistory());
    EXPECT_EQ(mtimeOf(history), mtime);
    EXPECT_EQ(server.requestsFor("/notify.txt"), row.notifyFetched ? 1 : 0);
    // Nothing is left beside the history but the file and its backup.
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "lotodata.txt" || name == "lotodata.bak") << name;
    }
}

const char* const kNotHistory = "サーバーの lotodata.txt は当選番号ファイルではありません（";

INSTANTIATE_TEST_SUITE_P(
    OnlineUpdate, UpdateFailures,
    ::testing::Values(
        FailureRow{"not_found", std::nullopt, UpdateState::NothingDone, "指定された URL を開けませんでした。", false},
        FailureRow{"server_error", ServedFile{"<html>error</html>", kServerTime, 500}, UpdateState::NothingDone,
                   "指定された URL を開けませんでした。", false},
        FailureRow{"redirect_to_another_host",
                   ServedFile{"", std::nullopt, 302, ServedFile::Send::Whole, "text/plain",
                              "http://elsewhere.invalid/lotodata.txt"},
                   UpdateState::NothingDone, "指定された URL を開けませんでした。", false},
        FailureRow{"body_cut_short", ServedFile{servedHistory(), kServerTime, 200, ServedFile::Send::CutShort},
                   UpdateState::Failed, "ファイルの読み込みに失敗しました。", true},
        FailureRow{"html_page_with_200",
                   ServedFile{"<!DOCTYPE html>\n<html><body>Welcome</body></html>\n", kServerTime, 200,
                              ServedFile::Send::Whole, "text/html"},
                   UpdateState::Failed, kNotHistory, true},
        FailureRow{"empty_body", ServedFile{"", kServerTime}, UpdateState::Failed, kNotHistory, true},
        FailureRow{"not_cp932", ServedFile{servedHistory() + "\x82", kServerTime}, UpdateState::Failed, kNotHistory,
                   true},
        FailureRow{"broken_draw_line",
                   ServedFile{servedHistory().substr(0, servedHistory().size() / 2) + "\n", kServerTime},
                   UpdateState::Failed, kNotHistory, true}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(UpdateFixture, ARedirectToAnotherHostIsNamed) {
    server.serve("/lotodata.txt", {"", std::nullopt, 302, ServedFile::Send::Whole, "text/plain",
                                   "http://elsewhere.invalid/lotodata.txt"});
    const UpdateResult result = update();
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_NE(result.errors[0].find("http://elsewhere.invalid/lotodata.txt"), std::string::npos);
}

TEST(OnlineUpdate, ConnectionRefusedTouchesNothing) {
    TempFolder folder;
    const std::filesystem::path history = folder.path / "lotodata.txt";
    writeFileBytesAtomic(history, builtinHistory());
    CurlHttpClient client;
    const UpdateRequest request{"http://127.0.0.1:" + std::to_string(tambor::testing::closedPort()) + "/", "",
                                history};
    const UpdateResult result = runOnlineUpdate(client, request);
    EXPECT_EQ(result.state, UpdateState::NothingDone);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0].rfind("インターネットに接続できませんでした。\n接続した後に、実行してみて下さい。", 0), 0u);
    EXPECT_EQ(slurp(history), builtinHistory());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

TEST_F(UpdateFixture, AStalledDownloadIsAbandoned) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Stall});
    CurlHttpClient impatient(CurlHttpClient::Limits{15, 1, 1, 5});
    const UpdateResult result = runOnlineUpdate(impatient, request());
    EXPECT_EQ(result.state, UpdateState::Failed);
    ASSERT_FALSE(result.errors.empty());
    EXPECT_EQ(result.errors[0].rfind("ファイルの読み込みに失敗しました。", 0), 0u);
    EXPECT_EQ(slurp(history), builtinHistory());
}

TEST_F(UpdateFixture, AStopLeavesTheHistoryAsItWas) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Stall});
    const UpdateResult result = runOnlineUpdate(client, request(), {}, [] { return false; });
    EXPECT_EQ(result.state, UpdateState::Stopped);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(slurp(history), builtinHistory());
}

// ---------------------------------------------------------------- notify.txt

struct NotifyRow {
    const char* name;
    std::optional<std::string> notify;  // nothing: no notify.txt (404)
    std::optional<std::string> latest;
    bool announced;
};

class NotifyRows : public UpdateFixture, public ::testing::WithParamInterface<NotifyRow> {};

TEST_P(NotifyRows, GiveTheLatestVersion) {
    const NotifyRow& row = GetParam();
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    if (row.notify)
        server.serve("/notify.txt", {*row.notify, kServerTime});
    else
        server.remove("/notify.txt");
    const UpdateResult result = update();
    EXPECT_EQ(result.state, UpdateState::Updated);
    EXPECT_EQ(result.latestVersion, row.latest);
    EXPECT_EQ(result.newerVersionAnnounced(), row.announced);
}

INSTANTIATE_TEST_SUITE_P(
    OnlineUpdate, NotifyRows,
    ::testing::Values(NotifyRow{"same_version", "Version=Ver 1.2.0\r\n", "Ver 1.2.0", false},
                      NotifyRow{"newer_version_any_case", "Info=x\nversion=Ver 1.3.0\nVersion=Ver 9\n", "Ver 1.3.0", true},
                      NotifyRow{"empty_version", "Version=\r\n", "", true},
                      NotifyRow{"no_version_line", "Message=hello\r\n", std::nullopt, false},
                      NotifyRow{"no_notify_file", std::nullopt, std::nullopt, false}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- texts and paths

TEST(OnlineUpdateText, AddressesPathsAndMessages) {
    EXPECT_EQ(updateBaseUrl(""), kDefaultUpdateUrl);
    EXPECT_EQ(updateBaseUrl("http://h/d"), "http://h/d/");
    EXPECT_EQ(updateBaseUrl("http://h/d/"), "http://h/d/");
    EXPECT_EQ(backupPathFor("/a/b/lotodata.txt"), std::filesystem::path("/a/b/lotodata.bak"));
    EXPECT_EQ(backupPathFor("/a/b.d/history"), std::filesystem::path("/a/b.d/history.bak"));
    EXPECT_EQ(versionNoticeMessage("Ver 1.3.0"),
              "最新のバージョンは、Ver 1.3.0 です。\nサポートホームページよりダウンロードすることをおすすめします。");

    const char* tz = std::getenv("TZ");
    const std::string saved = tz ? tz : "";
    ::setenv("TZ", "JST-9", 1);  // a POSIX rule: no time zone files needed
    ::tzset();
    EXPECT_EQ(completionMessage(kServerTime + 65),
              "ファイルの更新が完了しました。\n最終更新日は2026年8月20日 18時1分5秒 です。");
    if (tz)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

// ---------------------------------------------------------------- command line

TEST_F(UpdateFixture, CommandLineUpdatesReportsAndFails) {
    using tambor::testing::runCli;
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    server.serve("/notify.txt", {"Version=Ver 1.3.0\r\n", kServerTime});
    const std::string data = " --data '" + folder.path.string() + "'";
    std::string base = server.baseUrl();
    base.pop_back();  // the missing "/" is added

    const auto first = runCli("update --url " + base + data);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(first.out.rfind("ファイルの更新が完了しました。\n最終更新日は", 0), 0u) << first.out;
    EXPECT_NE(first.out.find("最新のバージョンは、Ver 1.3.0 です。"), std::string::npos);
    EXPECT_EQ(slurp(history), fullHistory());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "Tambor.ini"));  // none is made

    const auto second = runCli("update --url=" + base + data);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.out.rfind("ファイルは最新の状態です。\n", 0), 0u) << second.out;

    server.remove("/lotodata.txt");
    const auto failed = runCli("update --url " + base + data, true);
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.out.find("指定された URL を開けませんでした。"), std::string::npos) << failed.out;
    EXPECT_EQ(slurp(history), fullHistory());

    EXPECT_EQ(runCli("update --url ''" + data).exitCode, 2);
    EXPECT_EQ(runCli("update --bogus" + data).exitCode, 2);
}

TEST_F(UpdateFixture, CommandLineTakesTheServerFromTheSettings) {
    using tambor::testing::runCli;
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    std::filesystem::remove(history);  // a fresh install: made from the built-in copy, then updated
    writeTextFileLines(folder.path / "Tambor.ini", {"[オプション]", "UpdateUrl=" + server.baseUrl()});
    const auto run = runCli("update --data '" + folder.path.string() + "'");
    EXPECT_EQ(run.exitCode, 0) << run.out;
    EXPECT_EQ(slurp(history), fullHistory());
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), builtinHistory());
}

}  // namespace

namespace {

TEST(OnlineUpdateRequest, ComesFromTheSessionsOptions) {
    TempFolder folder;
    Session session(folder.path);
    UpdateRequest request = session.updateRequest();
    EXPECT_EQ(request.baseUrl, kDefaultUpdateUrl);
    EXPECT_EQ(request.proxy, "");
    EXPECT_EQ(request.historyPath, folder.path / "lotodata.txt");
    session.changeOptions([](Options& o) {
        o.updateUrl = "http://192.0.2.7/tambor";
        o.useProxy = true;
        o.proxyAddress = "proxy.example.jp";
        o.proxyPort = "8080";
    });
    request = session.updateRequest();
    EXPECT_EQ(request.baseUrl, "http://192.0.2.7/tambor/");
    EXPECT_EQ(request.proxy, "proxy.example.jp:8080");
}

}  // namespace

namespace {

// A history that cannot be read (here a folder in its place) cannot be
// backed up: nothing is downloaded and the user hears why.
TEST_F(UpdateFixture, AHistoryThatCannotBeBackedUpIsNotReplaced) {
    std::filesystem::remove(history);
    std::filesystem::create_directory(history);
    server.serve("/lotodata.txt", {servedHistory(), kServerTime});
    const UpdateResult result = update();
    EXPECT_EQ(result.state, UpdateState::Failed);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_NE(result.errors[0].find("lotodata.txt"), std::string::npos) << result.errors[0];
    EXPECT_TRUE(std::filesystem::is_directory(history));
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

}  // namespace
