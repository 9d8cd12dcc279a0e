#pragma once
// The online update of the history file: fetch the server's lotodata.txt
// when its time differs from the local copy's, check what came (a history
// file that keeps every draw of the local one) and only then put it in
// place, the previous file kept as lotodata.bak (a failed, broken or refused
// download touches neither), and read notify.txt for the newest program
// version. Plain C++ over the HttpClient interface; the
// windows run it on a worker thread, the command line program directly.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/program_info.h"
#include "net/http_client.h"

namespace tambor {

// Far above any history file (the full history is about 130 KB); a larger
// answer is not a history file.
inline constexpr std::uint64_t kMaxHistoryDownloadBytes = 16u * 1024 * 1024;
inline constexpr std::uint64_t kMaxNotifyBytes = 64u * 1024;

// The messages of the update, as the user reads them.
namespace update_text {
inline constexpr const char* kNoSession = "HTTP クライアントのセッションを開始できませんでした。";
inline constexpr const char* kNoConnection = "インターネットに接続できませんでした。\n接続した後に、実行してみて下さい。";
inline constexpr const char* kOpenFailed = "指定された URL を開けませんでした。";
inline constexpr const char* kReadFailed = "ファイルの読み込みに失敗しました。";
inline constexpr const char* kUpToDate = "ファイルは最新の状態です。";
inline constexpr const char* kConnecting = "インターネットに接続中です...";
inline constexpr const char* kNoServer = "更新サーバーが設定されていません。";
// Where the address is set, after kNoServer: in the window, and on the command line.
inline constexpr const char* kNoServerWindow =
    "更新サーバーが設定されていません。\n「オプション」タブの「インターネット」にある「更新サーバー」に、"
    "更新サーバーのフォルダーの URL を入力してください。";
inline constexpr const char* kNoServerCommandLine =
    "更新サーバーが設定されていません。\n--url で指定するか、Tambor.ini の [オプション] に UpdateUrl=URL を"
    "書いてください（ウィンドウでは「オプション」タブの「インターネット」にある「更新サーバー」）。";
}  // namespace update_text

struct UpdateRequest {
    std::string baseUrl;                // the server's folder, ending with "/"; empty: none is set
    std::string proxy;                  // "address:port", or empty for a direct connection
    std::filesystem::path historyPath;  // the local lotodata.txt
    // Whether the machine has a network at all (asked only after a failed
    // connection); empty: networkInterfaceUp().
    std::function<bool()> networkUp = {};
};

// The server folder to use: the configured one with a final "/" (added
// when missing); empty when none is configured.
std::string updateBaseUrl(std::string_view configured);
// "address:port" when the proxy is on, else empty text.
std::string proxyText(bool useProxy, std::string_view address, std::string_view port);
// historyPath with the text after its last "." replaced by "bak".
std::filesystem::path backupPathFor(const std::filesystem::path& historyPath);

enum class UpdateState {
    NothingDone,  // no server set, or its lotodata.txt could not be opened: files untouched
    Failed,       // opened, but nothing was taken: lotodata.txt and lotodata.bak as before
    UpToDate,     // the local file holds the server's version already
    Updated,      // lotodata.txt replaced by the server's
    Stopped,      // the caller asked to stop: lotodata.txt as before
};

struct UpdateResult {
    UpdateState state = UpdateState::NothingDone;
    // Every failure, in the order it happened, for error message boxes.
    std::vector<std::string> errors;
    // The server's Last-Modified (Unix time), or the download's time when the
    // server sent none; set when the file was updated.
    std::int64_t serverTime = 0;
    // notify.txt's Version, when notify.txt was read and has that entry.
    std::optional<std::string> latestVersion;

    bool newerVersionAnnounced() const { return latestVersion && *latestVersion != kVersionText; }
    // The information message of an update that worked (up to date or
    // updated); empty otherwise.
    std::string resultMessage() const;
};

// "ファイルの更新が完了しました。\n最終更新日は…" with the time in local time.
std::string completionMessage(std::int64_t serverTime);
// "最新のバージョンは、… です。\n…".
std::string versionNoticeMessage(std::string_view latestVersion);
// The value of the first line of notify.txt whose name is "Version" (letters
// in any case); empty text when no line has that name (which, like any text
// but the program's own version, announces a newer version); nothing when
// the bytes are not text.
std::optional<std::string> versionFromNotify(std::string_view bytes);

// Bytes received so far and the length the server announced (none when it
// did not); false stops the update.
using DownloadProgress = std::function<bool(std::uint64_t received, std::optional<std::uint64_t> total)>;

// The whole update. keepGoing is asked while waiting on the network; false
// (like a false from progress) stops with UpdateState::Stopped.
UpdateResult runOnlineUpdate(HttpClient& client, const UpdateRequest& request, const DownloadProgress& progress = {},
                             const std::function<bool()>& keepGoing = {});

}  // namespace tambor
