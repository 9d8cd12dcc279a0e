#include "history/online_update.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "history/draw_keep_check.h"
#include "history/history_check.h"
#include "history/history_edit.h"
#include "history/update_errors.h"
#include "io/cp932.h"
#include "io/text_file.h"
#include "net/network_state.h"

namespace tambor {
namespace {

constexpr const char* kNotReplaced = "当選番号ファイルは変更していません。";

std::string withDetail(const char* message, const std::string& detail) {
    return detail.empty() ? std::string(message) : std::string(message) + "\n\n" + detail;
}

// The local file's modification time, which marks the server version it
// holds; nothing when the file is missing.
std::optional<std::int64_t> modificationTime(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec);
}

bool setFileTimes(const std::filesystem::path& path, std::int64_t time) {
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(time);
    times[0].tv_nsec = 0;
    times[1] = times[0];
    return ::utimensat(AT_FDCWD, path.c_str(), times, 0) == 0;
}

// Copies the history to the backup (atomically, as every file the program
// writes). A missing history has nothing to back up.
void refreshBackup(const std::filesystem::path& history, const std::filesystem::path& backup) {
    std::error_code ec;
    if (!std::filesystem::exists(history, ec)) return;
    writeFileBytesAtomic(backup, readFileBytes(history, kMaxHistoryDownloadBytes));
}

// The local history's lines, for the draws an update must keep. A missing
// file has none; so has one that does not read as text (its bytes are kept
// in the backup when the update replaces it). Throws FileError when the file
// is there but cannot be read.
std::vector<std::string> localHistoryLines(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    try {
        return readHistoryLines(path);
    } catch (const TextEncodingError&) {
        return {};
    }
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Fetches notify.txt and returns its Version entry.
std::optional<std::string> fetchLatestVersion(HttpClient& client, const UpdateRequest& request,
                                              const DownloadProgress& progress,
                                              const std::function<bool()>& keepGoing) {
    HttpRequest http{request.baseUrl + "notify.txt", request.proxy, keepGoing};
    std::string body;
    std::optional<std::uint64_t> total;
    bool ok = false;
    const HttpResult result = client.get(
        http,
        [&](const HttpHead& head) {
            ok = head.status == 200;
            if (ok && head.contentLength && *head.contentLength > 0) total = head.contentLength;
            return ok;
        },
        [&](std::string_view bytes) {
            if (body.size() + bytes.size() > kMaxNotifyBytes) {
                ok = false;
                return false;
            }
            body.append(bytes);
            return !progress || progress(body.size(), total);
        });
    // A notify.txt that cannot be read leaves the version texts as they are.
    if (!ok || result.outcome != HttpOutcome::Complete) return std::nullopt;
    return versionFromNotify(body);
}

}  // namespace

std::string updateBaseUrl(std::string_view configured) {
    std::string base(configured);
    if (!base.empty() && base.back() != '/') base += '/';
    return base;
}

std::string proxyText(bool useProxy, std::string_view address, std::string_view port) {
    if (!useProxy) return {};
    return std::string(address) + ":" + std::string(port);
}

std::filesystem::path backupPathFor(const std::filesystem::path& historyPath) {
    std::string name = historyPath.filename().string();
    const std::size_t dot = name.rfind('.');
    name = (dot == std::string::npos ? name + "." : name.substr(0, dot + 1)) + "bak";
    return historyPath.parent_path() / name;
}

std::string completionMessage(std::int64_t serverTime) {
    const time_t t = static_cast<time_t>(serverTime);
    struct tm local {};
    localtime_r(&t, &local);
    char text[256];
    std::snprintf(text, sizeof text, "ファイルの更新が完了しました。\n最終更新日は%d年%d月%d日 %d時%d分%d秒 です。",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return text;
}

std::string versionNoticeMessage(std::string_view latestVersion) {
    return "最新のバージョンは、" + std::string(latestVersion) +
           " です。\nサポートホームページよりダウンロードすることをおすすめします。";
}

std::optional<std::string> versionFromNotify(std::string_view bytes) {
    std::string text;
    try {
        text = cp932ToUtf8(bytes, "notify.txt");
    } catch (const TextEncodingError&) {
        return std::nullopt;  // not a text file: nothing is announced
    }
    for (const std::string& line : splitLines(text)) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && equalsNoCase(std::string_view(line).substr(0, eq), "Version"))
            return line.substr(eq + 1);
    }
    return std::string();
}

std::string UpdateResult::resultMessage() const {
    if (state == UpdateState::UpToDate) return update_text::kUpToDate;
    if (state == UpdateState::Updated) return completionMessage(serverTime);
    return {};
}

UpdateResult runOnlineUpdate(HttpClient& client, const UpdateRequest& request, const DownloadProgress& progress,
                             const std::function<bool()>& keepGoing) {
    UpdateResult result;
    if (request.baseUrl.empty()) {
        result.errors.push_back(update_text::kNoServer);  // no request is made
        return result;
    }
    const std::filesystem::path& path = request.historyPath;
    const bool viaProxy = !request.proxy.empty();
    const std::string url = request.baseUrl + "lotodata.txt";

    HttpHead head;
    bool opened = false, upToDate = false, tooLarge = false;
    std::string body;
    std::optional<std::uint64_t> total;
    const HttpResult http = client.get(
        HttpRequest{url, request.proxy, keepGoing},
        [&](const HttpHead& h) {
            head = h;
            // An error page is not the file: the URL did not open.
            if (h.status != 200) return false;
            opened = true;
            if (h.lastModified && modificationTime(path) == h.lastModified) {
                upToDate = true;
                return false;
            }
            if (h.contentLength && *h.contentLength > 0) total = h.contentLength;
            if (total && *total > kMaxHistoryDownloadBytes) {
                tooLarge = true;
                return false;
            }
            if (total) body.reserve(static_cast<std::size_t>(*total));
            return !progress || progress(0, total);
        },
        [&](std::string_view bytes) {
            if (body.size() + bytes.size() > kMaxHistoryDownloadBytes) {
                tooLarge = true;
                return false;
            }
            body.append(bytes);
            return !progress || progress(body.size(), total);
        });

    switch (http.outcome) {
        case HttpOutcome::NoSession:
            result.errors.push_back(update_text::kNoSession);
            return result;
        case HttpOutcome::NoConnection:
        case HttpOutcome::OpenFailed:
        case HttpOutcome::RedirectRefused: {
            // "No internet connection" only for a machine without a network;
            // any other failure to reach the server names the address.
            const bool networkUp = http.outcome != HttpOutcome::NoConnection ||
                                   (request.networkUp ? request.networkUp() : networkInterfaceUp());
            result.errors.push_back(openFailedMessage(http, url, viaProxy, networkUp));
            return result;
        }
        case HttpOutcome::Stopped:
            if (!opened && head.status != 0) {
                result.errors.push_back(errorStatusMessage(head.status, url));
                return result;
            }
            if (!opened) {
                result.state = UpdateState::Stopped;
                return result;
            }
            result.state = UpdateState::Failed;
            if (upToDate) {
                result.state = UpdateState::UpToDate;
            } else if (tooLarge) {
                result.errors.push_back("サーバーの lotodata.txt は当選番号ファイルではありません（" +
                                        std::to_string(kMaxHistoryDownloadBytes / 1024 / 1024) +
                                        " MB を超えています）。\n" + kNotReplaced);
            } else {
                result.state = UpdateState::Stopped;
                return result;
            }
            break;
        case HttpOutcome::TransferFailed:
            result.state = UpdateState::Failed;
            result.errors.push_back(readFailedMessage(http, url, viaProxy));
            break;
        case HttpOutcome::Complete: {
            result.state = UpdateState::Failed;
            if (head.contentLength && body.size() != *head.contentLength) {
                result.errors.push_back(withDetail(update_text::kReadFailed,
                                                   url + "\n" + std::to_string(*head.contentLength) + " バイトのうち " +
                                                       std::to_string(body.size()) + " バイトしか届きませんでした。"));
                break;
            }
            const std::string file = withCrLfLineEnds(body);
            const HistoryFileVerdict verdict = checkHistoryFile(file);
            if (!verdict.ok) {
                result.errors.push_back("サーバーの lotodata.txt は当選番号ファイルではありません（" + verdict.message +
                                        "）。\n" + kNotReplaced);
                break;
            }
            try {
                if (const std::string lost = lostDrawProblem(localHistoryLines(path), splitLines(cp932ToUtf8(file, "lotodata.txt")));
                    !lost.empty()) {
                    result.errors.push_back(lost + "\n" + kNotReplaced);
                    break;
                }
                // The previous file is kept only for an update that is taken,
                // so a refused one leaves the older backup as it was.
                refreshBackup(path, backupPathFor(path));
                writeFileBytesAtomic(path, file);
            } catch (const FileError& e) {
                result.errors.push_back(e.what());
                break;
            }
            // The modification time marks the server version the file holds;
            // without Last-Modified every update downloads again.
            if (head.lastModified) {
                result.serverTime = *head.lastModified;
                // Should this fail, the file is in place all the same; the
                // next update merely downloads it again.
                (void)setFileTimes(path, *head.lastModified);
            } else {
                result.serverTime = static_cast<std::int64_t>(std::time(nullptr));
            }
            result.state = UpdateState::Updated;
            break;
        }
    }

    result.latestVersion = fetchLatestVersion(client, request, progress, keepGoing);
    return result;
}

}  // namespace tambor
