// The online update against a real HTTP server on 127.0.0.1: downloads,
// up-to-date answers, every way a download can fail (the local file stays
// byte for byte), line ends, the proxy, notify.txt, and the command line.

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <thread>
#include <tuple>
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
#include "history/update_errors.h"
#include "net/curl_http_client.h"
#include "session/session.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
using tambor::testing::ServedFile;
using tambor::testing::TestHttpServer;

namespace {

constexpr std::int64_t kServerTime = 1787216400;  // 2026-08-20 09:00:00 UTC
const char* const kOpenFailedText = "指定された URL を開けませんでした。";
const char* const kNoConnectionText = "インターネットに接続できませんでした。\n接続した後に、実行してみて下さい。";

std::string servedHistory() { return slurp(TAMBOR_TEST_DATA_DIR "/update/lotodata.txt"); }
std::string fullHistory() { return slurp(TAMBOR_BUILTIN_HISTORY_FILE); }
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

// A server that moved to https: the redirect from http to https on the same
// host is followed (here it reaches the plain test server, so the secure
// connection fails, and the message names both addresses). Leaving https
// for http, or going to another host, is refused.
TEST_F(UpdateFixture, ARedirectToHttpsOnTheSameHostIsFollowed) {
    const std::string https = "https://127.0.0.1:" + std::to_string(server.port()) + "/lotodata.txt";
    server.serve("/lotodata.txt", {"", std::nullopt, 301, ServedFile::Send::Whole, "text/plain", https});
    const UpdateResult result = update();
    EXPECT_EQ(result.state, UpdateState::NothingDone);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0], std::string(kOpenFailedText) + "\n\n" + server.baseUrl() +
                                    "lotodata.txt\n暗号化された接続（https）を確立できません。（転送先: " + https + "）");
    EXPECT_EQ(slurp(history), olderHistory());

    const std::string otherHost = "https://localhost:" + std::to_string(server.port()) + "/lotodata.txt";
    server.serve("/lotodata.txt", {"", std::nullopt, 302, ServedFile::Send::Whole, "text/plain", otherHost});
    const UpdateResult refused = update();
    ASSERT_EQ(refused.errors.size(), 1u);
    EXPECT_NE(refused.errors[0].find("サーバーが別のホスト（" + otherHost + "）へ転送しようとした"), std::string::npos)
        << refused.errors[0];
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

// ---------------------------------------------------------------- what the user reads

// Real failures against 127.0.0.1: the message, the address and the cause
// in Japanese; "no internet connection" only on a machine without a network.
struct ReachRow {
    const char* name;
    enum Peer { ClosedPort, ClosedProxy, SilentServer } peer;
    bool networkUp;
    const char* message;
    const char* cause;
};

class ReachFailures : public ::testing::TestWithParam<ReachRow> {};

TEST_P(ReachFailures, NameTheAddressAndTheCause) {
    const ReachRow& row = GetParam();
    TempFolder folder;
    const std::filesystem::path history = folder.path / "lotodata.txt";
    writeFileBytesAtomic(history, builtinHistory());
    tambor::testing::SilentListener silent;
    const int port = row.peer == ReachRow::SilentServer ? silent.port() : tambor::testing::closedPort();
    // Through a proxy that is not there, the server's name is never looked up.
    const std::string base = row.peer == ReachRow::ClosedProxy ? "http://tambor-update.invalid/"
                                                               : "http://127.0.0.1:" + std::to_string(port) + "/";
    UpdateRequest request{base, row.peer == ReachRow::ClosedProxy ? "127.0.0.1:" + std::to_string(port) : "", history};
    request.networkUp = [&] { return row.networkUp; };
    CurlHttpClient impatient(CurlHttpClient::Limits{15, 1, 1, 5});
    const UpdateResult result = runOnlineUpdate(impatient, request);
    EXPECT_EQ(result.state, UpdateState::NothingDone);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0], std::string(row.message) + "\n\n" + base + "lotodata.txt\n" + row.cause);
    EXPECT_EQ(slurp(history), builtinHistory());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}


INSTANTIATE_TEST_SUITE_P(
    OnlineUpdate, ReachFailures,
    ::testing::Values(
        ReachRow{"refused", ReachRow::ClosedPort, true, kOpenFailedText, "サーバーに接続を拒否されました。"},
        ReachRow{"refused_without_network", ReachRow::ClosedPort, false, kNoConnectionText,
                 "サーバーに接続を拒否されました。"},
        ReachRow{"proxy_refused", ReachRow::ClosedProxy, true, kOpenFailedText,
                 "プロキシ サーバーに接続を拒否されました。"},
        ReachRow{"no_answer", ReachRow::SilentServer, true, kOpenFailedText, "サーバーから応答がありません。"}),
    [](const auto& row) { return std::string(row.param.name); });

// The one wording of every failure, row by row: what the client reports
// and the message the window and tambor-cli show for it.
struct WordingRow {
    const char* name;
    HttpResult http;
    bool viaProxy;
    bool networkUp;
    std::string expected;  // after "situation\n\nURL\n"
    const char* situation;
};

class FailureWording : public ::testing::TestWithParam<WordingRow> {};

TEST_P(FailureWording, IsJapaneseAndKeepsTheAddress) {
    const WordingRow& row = GetParam();
    const std::string url = "http://192.0.2.7/tambor/lotodata.txt";
    const std::string message = row.http.outcome == HttpOutcome::TransferFailed
                                    ? readFailedMessage(row.http, url, row.viaProxy)
                                    : openFailedMessage(row.http, url, row.viaProxy, row.networkUp);
    EXPECT_EQ(message, std::string(row.situation) + "\n\n" + url + "\n" + row.expected);
}

HttpResult failed(HttpOutcome outcome, HttpFailure failure, int code = 0) {
    HttpResult r;
    r.outcome = outcome;
    r.failure = failure;
    r.clientCode = code;
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    OnlineUpdate, FailureWording,
    ::testing::Values(
        WordingRow{"name", failed(HttpOutcome::NoConnection, HttpFailure::ResolveHost), false, true,
                   "サーバーの名前を解決できません。", kOpenFailedText},
        WordingRow{"name_offline", failed(HttpOutcome::NoConnection, HttpFailure::ResolveHost), false, false,
                   "サーバーの名前を解決できません。", kNoConnectionText},
        WordingRow{"proxy_name", failed(HttpOutcome::NoConnection, HttpFailure::ResolveProxy), true, true,
                   "プロキシ サーバーの名前を解決できません。", kOpenFailedText},
        WordingRow{"unreachable", failed(HttpOutcome::NoConnection, HttpFailure::Unreachable), false, true,
                   "サーバーに到達できません。", kOpenFailedText},
        WordingRow{"proxy_silent", failed(HttpOutcome::NoConnection, HttpFailure::TimedOut), true, true,
                   "プロキシ サーバーから応答がありません。", kOpenFailedText},
        WordingRow{"certificate", failed(HttpOutcome::OpenFailed, HttpFailure::Certificate), false, true,
                   "サーバーの証明書を確認できません。", kOpenFailedText},
        WordingRow{"secure_channel", failed(HttpOutcome::OpenFailed, HttpFailure::SecureChannel), false, true,
                   "暗号化された接続（https）を確立できません。", kOpenFailedText},
        WordingRow{"proxy_refused_request", failed(HttpOutcome::OpenFailed, HttpFailure::ProxyRefused), true, true,
                   "プロキシ サーバーが要求を中継しませんでした。", kOpenFailedText},
        WordingRow{"empty_reply", failed(HttpOutcome::OpenFailed, HttpFailure::EmptyReply), false, true,
                   "サーバーが何も返さずに接続を切りました。", kOpenFailedText},
        WordingRow{"bad_address", failed(HttpOutcome::OpenFailed, HttpFailure::BadAddress), false, true,
                   "URL の形が正しくありません（http:// または https:// で始まる URL を指定してください）。",
                   kOpenFailedText},
        WordingRow{"other", failed(HttpOutcome::OpenFailed, HttpFailure::Other, 48), false, true,
                   "通信エラーが起きました（エラー番号 48）。", kOpenFailedText},
        WordingRow{"redirect_refused",
                   [] {
                       HttpResult r = failed(HttpOutcome::RedirectRefused, HttpFailure::None);
                       r.detail = "http://elsewhere.invalid/lotodata.txt";
                       return r;
                   }(),
                   false, true,
                   "サーバーが別のホスト（http://elsewhere.invalid/lotodata.txt）へ転送しようとしたため、受け取りませんでした。",
                   kOpenFailedText},
        WordingRow{"followed_to_https",
                   [] {
                       HttpResult r = failed(HttpOutcome::OpenFailed, HttpFailure::Certificate);
                       r.redirectedTo = "https://192.0.2.7/tambor/lotodata.txt";
                       return r;
                   }(),
                   false, true, "サーバーの証明書を確認できません。（転送先: https://192.0.2.7/tambor/lotodata.txt）",
                   kOpenFailedText},
        WordingRow{"body_dropped", failed(HttpOutcome::TransferFailed, HttpFailure::Dropped), false, true,
                   "通信が途中で切れました。", "ファイルの読み込みに失敗しました。"},
        WordingRow{"body_stalled", failed(HttpOutcome::TransferFailed, HttpFailure::TimedOut), false, true,
                   "サーバーから応答がありません。", "ファイルの読み込みに失敗しました。"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(OnlineUpdateWording, ErrorStatuses) {
    const std::string url = "http://h/lotodata.txt";
    const std::string head = std::string(kOpenFailedText) + "\n\n" + url + "\n";
    EXPECT_EQ(errorStatusMessage(404, url), head + "サーバーにファイルがありません（HTTP 404）。");
    EXPECT_EQ(errorStatusMessage(403, url), head + "サーバーがファイルの読み出しを許可しませんでした（HTTP 403）。");
    EXPECT_EQ(errorStatusMessage(407, url), head + "プロキシ サーバーが認証を求めています（HTTP 407）。");
    EXPECT_EQ(errorStatusMessage(503, url), head + "サーバーでエラーが起きました（HTTP 503）。");
    EXPECT_EQ(errorStatusMessage(204, url), head + "サーバーがファイルを返しませんでした（HTTP 204）。");
}

// libcurl's error numbers (and the system's reason for a failed connection)
// as the program names them.
TEST(OnlineUpdateWording, ClientErrorsMapToTheirCause) {
    const std::vector<std::tuple<CURLcode, long, HttpFailure>> rows{
        {CURLE_COULDNT_RESOLVE_HOST, 0, HttpFailure::ResolveHost},
        {CURLE_COULDNT_RESOLVE_PROXY, 0, HttpFailure::ResolveProxy},
        {CURLE_COULDNT_CONNECT, ECONNREFUSED, HttpFailure::Refused},
        {CURLE_COULDNT_CONNECT, ENETUNREACH, HttpFailure::Unreachable},
        {CURLE_COULDNT_CONNECT, EHOSTUNREACH, HttpFailure::Unreachable},
        {CURLE_COULDNT_CONNECT, ETIMEDOUT, HttpFailure::TimedOut},
        {CURLE_OPERATION_TIMEDOUT, 0, HttpFailure::TimedOut},
        {CURLE_PEER_FAILED_VERIFICATION, 0, HttpFailure::Certificate},
        {CURLE_SSL_CACERT_BADFILE, 0, HttpFailure::Certificate},
        {CURLE_SSL_CONNECT_ERROR, 0, HttpFailure::SecureChannel},
        {CURLE_PROXY, 0, HttpFailure::ProxyRefused},
        {CURLE_GOT_NOTHING, 0, HttpFailure::EmptyReply},
        {CURLE_WEIRD_SERVER_REPLY, 0, HttpFailure::BadReply},
        {CURLE_RECV_ERROR, 0, HttpFailure::Dropped},
        {CURLE_PARTIAL_FILE, 0, HttpFailure::Dropped},
        {CURLE_URL_MALFORMAT, 0, HttpFailure::BadAddress},
        {CURLE_UNSUPPORTED_PROTOCOL, 0, HttpFailure::BadAddress},
        {CURLE_TOO_MANY_REDIRECTS, 0, HttpFailure::TooManyRedirects},
        {CURLE_LDAP_SEARCH_FAILED, 0, HttpFailure::Other},
    };
    for (const auto& [code, osErrno, failure] : rows)
        EXPECT_EQ(curlFailure(static_cast<int>(code), osErrno), failure) << curl_easy_strerror(code);
    // Every cause reads in Japanese; only the client's number is given for the rest.
    for (int f = static_cast<int>(HttpFailure::NoSession); f <= static_cast<int>(HttpFailure::Other); ++f) {
        const std::string text = httpFailureText(static_cast<HttpFailure>(f), false, 99);
        EXPECT_NE(text.find("。"), std::string::npos) << text;
        EXPECT_EQ(text.find("Could"), std::string::npos) << text;
    }
}

// No address set: nothing is asked of any server.
TEST(OnlineUpdate, WithoutAServerNothingIsAsked) {
    TempFolder folder;
    const std::filesystem::path history = folder.path / "lotodata.txt";
    writeFileBytesAtomic(history, builtinHistory());
    CurlHttpClient client;
    const UpdateResult result = runOnlineUpdate(client, UpdateRequest{"", "", history});
    EXPECT_EQ(result.state, UpdateState::NothingDone);
    EXPECT_EQ(result.errors, std::vector<std::string>{"更新サーバーが設定されていません。"});
    EXPECT_EQ(slurp(history), builtinHistory());
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

// A stop while the server holds the download half sent ends it at once:
// the client here would otherwise wait an hour for the server.
TEST_F(UpdateFixture, AStopEndsAHeldDownloadAtOnce) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Hold});
    CurlHttpClient patient(CurlHttpClient::Limits{3600, 1, 3600, 5});
    std::mutex mutex;
    std::condition_variable changed;
    bool stop = false;
    std::thread stopper([&] {
        server.waitUntilHeld();
        std::lock_guard<std::mutex> lock(mutex);
        stop = true;
    });
    const UpdateResult result = runOnlineUpdate(patient, request(), {}, [&] {
        std::lock_guard<std::mutex> lock(mutex);
        return !stop;
    });
    stopper.join();
    server.release();
    EXPECT_EQ(result.state, UpdateState::Stopped);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_EQ(slurp(history), olderHistory());
    EXPECT_FALSE(std::filesystem::exists(folder.path / "lotodata.bak"));
}

// Ctrl+C in tambor-cli update while the server holds the download: the
// command ends with 130 while the server still holds it, the files as they were.
TEST_F(UpdateFixture, CommandLineCtrlCStopsAHeldDownload) {
    server.serve("/lotodata.txt", {servedHistory(), kServerTime, 200, ServedFile::Send::Hold});
    const std::filesystem::path errPath = folder.path.parent_path() / (folder.path.filename().string() + "-stderr.txt");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(err, STDERR_FILENO);
        std::string url = server.baseUrl(), data = folder.path.string();
        std::vector<std::string> argv{TAMBOR_CLI_PATH, "update", "--url", url, "--data", data};
        std::vector<char*> raw;
        for (auto& a : argv) raw.push_back(a.data());
        raw.push_back(nullptr);
        ::execv(raw[0], raw.data());
        ::_exit(127);
    }
    server.waitUntilHeld();
    ::kill(pid, SIGINT);
    int status = 0;
    ::waitpid(pid, &status, 0);
    server.release();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 130);
    const std::string err = slurp(errPath);
    std::filesystem::remove(errPath);
    EXPECT_NE(err.find("中断しました。"), std::string::npos) << err;
    EXPECT_EQ(slurp(history), olderHistory());
    for (const auto& entry : std::filesystem::directory_iterator(folder.path))
        EXPECT_EQ(entry.path().filename().string(), "lotodata.txt");
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
                      // Like an empty version text: it differs from the program's.
                      NotifyRow{"no_version_line", "Message=hello\r\n", "", true},
                      NotifyRow{"not_text", "Version=\x82\r\n", std::nullopt, false},
                      NotifyRow{"no_notify_file", std::nullopt, std::nullopt, false}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- texts and paths

TEST(OnlineUpdateText, AddressesPathsAndMessages) {
    EXPECT_EQ(updateBaseUrl(""), "");
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

TEST_F(UpdateFixture, CommandLineWithoutAServerSaysWhereToSetIt) {
    using tambor::testing::runCli;
    const auto run = runCli("update --data '" + folder.path.string() + "'", true);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, std::string(update_text::kNoServerCommandLine) + "\n");
    EXPECT_EQ(slurp(history), olderHistory());
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
    EXPECT_EQ(request.baseUrl, "");  // none is set until the user sets one
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
