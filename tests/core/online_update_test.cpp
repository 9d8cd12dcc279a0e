// The online update against a real HTTP server on 127.0.0.1: downloads,
// up-to-date answers, every way a download can fail (the local file stays
// byte for byte), line ends, the proxy, notify.txt, and the command line.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>

#include "cli_test_support.h"
#include "history/draw_keep_check.h"
#include "history/history_check.h"
#include "history/history_edit.h"
#include "history/history_store.h"
#include "history/online_update.h"
#include "history_test_support.h"
#include "http/test_http_server.h"
#include "io/cp932.h"
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

// The server's file with only the first draws of each game (CR LF): an older
// local history that every update may extend.
std::string cutHistory(const std::string& bytes, const std::map<GameMode, std::size_t>& keep) {
    std::vector<std::string> lines = splitLines(cp932ToUtf8(bytes, "lotodata.txt"));
    for (const auto& [mode, count] : keep) {
        const HistorySection section = findHistorySection(lines, mode);
        if (section.size() > count)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(section.first + count),
                        lines.begin() + static_cast<std::ptrdiff_t>(section.end));
    }
    std::string out;
    for (const std::string& line : lines) out += utf8ToCp932(line, "lotodata.txt") + "\r\n";
    return out;
}
std::string olderHistory() { return cutHistory(servedHistory(), {{GameMode::MiniLoto, 100}, {GameMode::Loto6, 100}}); }

// Draws per game of a history file.
std::size_t drawsOf(const std::string& bytes, GameMode mode) {
    return findHistorySection(splitLines(cp932ToUtf8(bytes, "lotodata.txt")), mode).size();
}

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
        writeFileBytesAtomic(history, olderHistory());
        server.serve("/notify.txt", {"Version=Ver 1.2.0\r\n", kServerTime});
    }
    UpdateRequest request(const std::string& base = {}) const {
        return {base.empty() ? server.baseUrl() : base, "", history};
    }
    UpdateResult update(const DownloadProgress& progress = {}) { return runOnlineUpdate(client, request(), progress); }
};

// ---------------------------------------------------------------- downloads

TEST_F(UpdateFixture, FirstUpdateDownloadsSecondIsUpToDateAChangeDownloadsAgain) {
    // The server first has all but the newest ロト６ draw, then publishes it.
    const std::string earlier = cutHistory(servedHistory(), {{GameMode::Loto6, drawsOf(servedHistory(), GameMode::Loto6) - 1}});
    server.serve("/lotodata.txt", {earlier, kServerTime});
    std::vector<std::pair<std::uint64_t, std::uint64_t>> steps;
    const UpdateResult first = update([&](std::uint64_t received, std::optional<std::uint64_t> total) {
        steps.emplace_back(received, total.value_or(0));
        return true;
    });
    ASSERT_EQ(first.state, UpdateState::Updated) << (first.errors.empty() ? "" : first.errors[0]);
    EXPECT_TRUE(first.errors.empty());
    EXPECT_EQ(slurp(history), earlier);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), olderHistory());
    EXPECT_EQ(mtimeOf(history), kServerTime);
    EXPECT_EQ(first.serverTime, kServerTime);
    EXPECT_EQ(first.resultMessage(), completionMessage(kServerTime));
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front().first, 0u);
    const std::uint64_t size = earlier.size();
    EXPECT_NE(std::find(steps.begin(), steps.end(), std::make_pair(size, size)), steps.end());
    EXPECT_EQ(first.latestVersion, "Ver 1.2.0");
    EXPECT_FALSE(first.newerVersionAnnounced());

    // Up to date: neither the file nor its backup is written.
    const UpdateResult second = update();
    EXPECT_EQ(second.state, UpdateState::UpToDate);
    EXPECT_EQ(second.resultMessage(), "ファイルは最新の状態です。");
    EXPECT_EQ(slurp(history), earlier);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), olderHistory());

    // Any other time on the server (here an earlier one) downloads again.
    server.serve("/lotodata.txt", {servedHistory(), kServerTime - 3600});
    const UpdateResult third = update();
    EXPECT_EQ(third.state, UpdateState::Updated);
    EXPECT_EQ(slurp(history), fullHistory());  // LF on the server, CR LF here, byte for byte
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), earlier);
    EXPECT_EQ(mtimeOf(history), kServerTime - 3600);
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
    EXPECT_EQ(slurp(history), olderHistory());
    EXPECT_EQ(mtimeOf(history), mtime);
    EXPECT_EQ(server.requestsFor("/notify.txt"), row.notifyFetched ? 1 : 0);
    // Nothing is left beside the history, and no backup is made of it.
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        EXPECT_EQ(entry.path().filename().string(), "lotodata.txt");
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

// ---------------------------------------------------------------- every draw kept

// The server's file with draw `round` of the game carrying the numbers of
// the next draw: a real result given for the wrong round.
std::string withWrongNumbers(const std::string& bytes, GameMode mode, std::size_t round) {
    std::vector<std::string> lines = splitLines(cp932ToUtf8(bytes, "lotodata.txt"));
    const HistorySection section = findHistorySection(lines, mode);
    std::string& line = lines[section.first + round - 1];
    const std::string& next = lines[section.first + round];
    line = line.substr(0, line.find('=')) + next.substr(next.find('='));
    std::string out;
    for (const std::string& l : lines) out += utf8ToCp932(l, "lotodata.txt") + "\n";
    return out;
}

struct KeepRow {
    const char* name;
    // The local file and the server's, from the server folder's full file.
    std::function<std::string()> local;
    std::function<std::string()> served;
    std::vector<std::string> named;  // texts the message must contain
};

class KeepEveryDraw : public UpdateFixture, public ::testing::WithParamInterface<KeepRow> {};

// A server file that would drop or change a draw of the local file is not
// taken: lotodata.txt, its time and the backup stay as they were, and the
// message names the game and the round.
TEST_P(KeepEveryDraw, OrTheServerFileIsRefused) {
    const KeepRow& row = GetParam();
    writeFileBytesAtomic(history, row.local());
    writeFileBytesAtomic(folder.path / "lotodata.bak", olderHistory());
    const std::string before = slurp(history);
    const std::int64_t mtime = mtimeOf(history);
    server.serve("/lotodata.txt", {row.served(), kServerTime});

    const UpdateResult result = update();
    EXPECT_EQ(result.state, UpdateState::Failed);
    ASSERT_EQ(result.errors.size(), 1u);
    const std::string& message = result.errors[0];
    for (const std::string& text : row.named) EXPECT_NE(message.find(text), std::string::npos) << message;
    const std::string tail = "\n当選番号ファイルは変更していません。";
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail) << message;
    EXPECT_TRUE(result.resultMessage().empty());
    EXPECT_EQ(slurp(history), before);
    EXPECT_EQ(mtimeOf(history), mtime);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), olderHistory());
    EXPECT_EQ(server.requestsFor("/notify.txt"), 1);
}

std::size_t loto6Draws() { return drawsOf(servedHistory(), GameMode::Loto6); }
std::size_t miniDraws() { return drawsOf(servedHistory(), GameMode::MiniLoto); }

INSTANTIATE_TEST_SUITE_P(
    OnlineUpdate, KeepEveryDraw,
    ::testing::Values(
        // The server's file fell back to an old copy.
        KeepRow{"shorter_server_file", [] { return fullHistory(); },
                [] { return cutHistory(servedHistory(), {{GameMode::Loto6, 1597}}); },
                {"サーバーの lotodata.txt にはロト６の第1598回～第" + std::to_string(loto6Draws()) + "回（" +
                 std::to_string(loto6Draws() - 1597) + " 回分）がありません"}},
        KeepRow{"both_games_shorter", [] { return fullHistory(); },
                [] { return cutHistory(servedHistory(), {{GameMode::MiniLoto, 1000}, {GameMode::Loto6, 2000}}); },
                {"ミニロトの第1001回～", "\nサーバーの lotodata.txt にはロト６の第2001回～"}},
        KeepRow{"differing_draw", [] { return fullHistory(); },
                [] { return withWrongNumbers(servedHistory(), GameMode::MiniLoto, 500); },
                {"サーバーの lotodata.txt のミニロト 第500回は、この当選番号ファイルと結果が違います（このファイル: ",
                 "、サーバー: "}},
        KeepRow{"differing_draw_on_a_longer_file",
                [] { return cutHistory(servedHistory(), {{GameMode::Loto6, 1000}}); },
                [] { return withWrongNumbers(servedHistory(), GameMode::Loto6, 1000); }, {"ロト６ 第1000回は"}}),
    [](const auto& row) { return std::string(row.param.name); });

// The user typed this week's draw before the server had it: the update
// keeps it (refused, naming the draw) until the server's file has it too.
TEST_F(UpdateFixture, AHandEnteredNewestDrawIsKept) {
    const std::string serverFile = cutHistory(servedHistory(), {{GameMode::MiniLoto, miniDraws() - 1}});
    writeFileBytesAtomic(history, serverFile);
    // The newest ミニロト draw of the server folder's file, typed in.
    const std::vector<std::string> lines = splitLines(cp932ToUtf8(servedHistory(), "lotodata.txt"));
    const HistorySection section = findHistorySection(lines, GameMode::MiniLoto);
    const std::optional<HistoryDraw> newest =
        readHistoryDraw(GameMode::MiniLoto, lines[section.end - 1], static_cast<int>(section.size()));
    ASSERT_TRUE(newest && newest->date);
    ASSERT_EQ(addNextDraw(history, GameMode::MiniLoto, DrawEntry{*newest->date, newest->mainNumbers, newest->bonusNumbers}),
              "");
    const std::string typed = slurp(history);
    const std::string backup = slurp(folder.path / "lotodata.bak");

    server.serve("/lotodata.txt", {serverFile, kServerTime});
    const UpdateResult refused = update();
    EXPECT_EQ(refused.state, UpdateState::Failed);
    ASSERT_EQ(refused.errors.size(), 1u);
    EXPECT_NE(refused.errors[0].find("ミニロトの" + roundAndDateText(*newest) + "がありません"), std::string::npos)
        << refused.errors[0];
    EXPECT_EQ(slurp(history), typed);
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), backup);

    // Once the server has the same draw the update goes through.
    server.serve("/lotodata.txt", {servedHistory(), kServerTime + 60});
    EXPECT_EQ(update().state, UpdateState::Updated);
    EXPECT_EQ(slurp(history), fullHistory());
    EXPECT_EQ(slurp(folder.path / "lotodata.bak"), typed);
}

TEST(OnlineUpdateKeep, LocalLinesThatAreNotDrawsAreNotMissed) {
    const std::vector<std::string> server = splitLines(cp932ToUtf8(olderHistory(), "lotodata.txt"));
    std::vector<std::string> local = server;
    appendSectionLines(local, GameMode::Loto6, {"第101回(R08. 9.14)=読めない行"});
    EXPECT_EQ(lostDrawProblem(local, server), "");
    EXPECT_EQ(lostDrawProblem({}, server), "");
    // A line the server cannot read where the local file has a draw.
    std::vector<std::string> broken = server;
    broken[findHistorySection(broken, GameMode::MiniLoto).first + 4] = "第5回(H11. 5.11)=??";
    EXPECT_NE(lostDrawProblem(server, broken).find("ミニロト 第5回は"), std::string::npos);
    EXPECT_NE(lostDrawProblem(server, broken).find("サーバー: 読み取れません"), std::string::npos);
}

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
    EXPECT_EQ(slurp(history), olderHistory());
}

TEST_F(UpdateFixture, AStopLeavesTheHistoryAsItWas) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Stall});
    const UpdateResult result = runOnlineUpdate(client, request(), {}, [] { return false; });
    EXPECT_EQ(result.state, UpdateState::Stopped);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(slurp(history), olderHistory());
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
