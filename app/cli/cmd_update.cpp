// tambor-cli update: the online update of lotodata.txt without windows,
// with the proxy and the update server from Tambor.ini when it exists.

#include <iostream>
#include <ostream>

#include "cli_args.h"
#include "long_work.h"
#include "history/online_update.h"
#include "net/curl_http_client.h"
#include "session/session.h"

namespace tambor::cli {
namespace {

int runUpdate(const std::vector<std::string>& args, std::ostream& out) {
    const ParsedArgs parsed = parseArgs(args, {"--url", "--data"});
    const std::optional<std::string> url = parsed.value("--url");
    if (url && url->empty()) throw UsageError{"--url には更新サーバーのフォルダーの URL を指定してください。"};
    const std::filesystem::path folder = parsed.dataFolderAsIs();

    Session session(folder);
    std::error_code ec;
    // The settings as the window would read them; without a file the
    // defaults hold and no file is made. Either way the history file exists
    // afterwards (created from the built-in copy when missing).
    const Changes loaded = std::filesystem::exists(settingsPath(folder), ec) ? session.readSettings(nullptr)
                                                                            : session.loadHistory();
    for (const std::string& problem : loaded.problems()) std::cerr << problem << "\n";
    if (url) session.changeOptions([&](Options& o) { o.updateUrl = *url; });
    const UpdateRequest request = session.updateRequest();
    if (request.baseUrl.empty()) {
        std::cerr << update_text::kNoServerCommandLine << "\n";
        return 1;
    }

    // A percentage for a person watching (nothing in a pipe or a log), and
    // Ctrl+C stopping the download with the files as they were.
    LongWork work;
    const ProgressCallback shown = work.progress("受信中");
    const DownloadProgress progress = [&](std::uint64_t received, std::optional<std::uint64_t> total) {
        if (!total) return !work.stopRequested();
        return shown(static_cast<int>(std::min<std::uint64_t>(received * 100 / *total, 100)));
    };

    CurlHttpClient client;
    // Ctrl+C is seen within a tenth of a second even while the server
    // sends nothing.
    const UpdateResult result = runOnlineUpdate(client, request, progress, [&] { return !work.stopRequested(); });
    // Once the new file has replaced the old one the update has happened,
    // whatever Ctrl+C comes later.
    if (result.state == UpdateState::Updated)
        work.markDone();
    else
        work.throwIfStopped();
    for (const std::string& error : result.errors) std::cerr << error << "\n";
    if (result.state == UpdateState::Updated) {
        // The new file must read as the window will read it.
        const Changes reloaded = session.loadHistory();
        for (const std::string& problem : reloaded.problems()) std::cerr << problem << "\n";
    }
    const std::string message = result.resultMessage();
    if (!message.empty()) out << message << "\n";
    if (result.newerVersionAnnounced()) out << versionNoticeMessage(*result.latestVersion) << "\n";
    return result.state == UpdateState::Updated || result.state == UpdateState::UpToDate ? 0 : 1;
}

const CommandRegistrar registrar{Command{
    "update",
    "更新サーバーから最新の当選番号ファイルを取得します",
    "使い方: tambor-cli update [--url BASE] [--data DIR]\n"
    "更新サーバーの BASE/lotodata.txt の更新日時がローカルの lotodata.txt と違えば取得し、\n"
    "ローカルの当選番号をすべて同じ結果で含んでいるときだけ置き換えます（前のファイルは\n"
    "lotodata.bak に残します）。BASE/notify.txt から最新のバージョンを調べます。\n"
    "プロキシと更新サーバーは Tambor.ini の設定に従います。Ctrl+C で中断できます。\n"
    "  --url BASE  更新サーバーのフォルダーの URL（末尾の / は省略可）。\n"
    "              既定: Tambor.ini の UpdateUrl（既定では設定されていません）\n"
    "  --data DIR  lotodata.txt と Tambor.ini のあるフォルダー（既定: プログラムのフォルダー）\n"
    "終了コード: 0 更新した、または最新の状態、1 更新できなかった（lotodata.txt は元のまま）、\n"
    "            2 引数の誤り、130 中断した（lotodata.txt は元のまま）\n",
    runUpdate}};

}  // namespace
}  // namespace tambor::cli
