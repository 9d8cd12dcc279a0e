#include "history/update_errors.h"

#include "history/online_update.h"

namespace tambor {
namespace {

std::string withStatus(const char* text, long status) {
    return std::string(text) + "（HTTP " + std::to_string(status) + "）。";
}

std::string message(const char* situation, const std::string& url, const std::string& cause) {
    return std::string(situation) + "\n\n" + url + "\n" + cause;
}

}  // namespace

std::string httpFailureText(HttpFailure failure, bool viaProxy, int clientCode) {
    const std::string peer = viaProxy ? "プロキシ サーバー" : "サーバー";
    switch (failure) {
        case HttpFailure::ResolveHost:
            return "サーバーの名前を解決できません。";
        case HttpFailure::ResolveProxy:
            return "プロキシ サーバーの名前を解決できません。";
        case HttpFailure::Refused:
            return peer + "に接続を拒否されました。";
        case HttpFailure::Unreachable:
            return peer + "に到達できません。";
        case HttpFailure::TimedOut:
            return peer + "から応答がありません。";
        case HttpFailure::Certificate:
            return "サーバーの証明書を確認できません。";
        case HttpFailure::SecureChannel:
            return "暗号化された接続（https）を確立できません。";
        case HttpFailure::ProxyRefused:
            return "プロキシ サーバーが要求を中継しませんでした。";
        case HttpFailure::EmptyReply:
            return peer + "が何も返さずに接続を切りました。";
        case HttpFailure::BadReply:
            return peer + "の応答を読み取れません。";
        case HttpFailure::Dropped:
            return "通信が途中で切れました。";
        case HttpFailure::BadAddress:
            return "URL の形が正しくありません（http:// または https:// で始まる URL を指定してください）。";
        case HttpFailure::TooManyRedirects:
            return "サーバーの転送（リダイレクト）が多すぎます。";
        case HttpFailure::NoSession:
            return "通信の準備ができませんでした（メモリ不足）。";
        case HttpFailure::None:
        case HttpFailure::Other:
            break;
    }
    return "通信エラーが起きました（エラー番号 " + std::to_string(clientCode) + "）。";
}

std::string httpStatusText(long status) {
    if (status == 404 || status == 410) return withStatus("サーバーにファイルがありません", status);
    if (status == 401 || status == 403) return withStatus("サーバーがファイルの読み出しを許可しませんでした", status);
    if (status == 407) return withStatus("プロキシ サーバーが認証を求めています", status);
    if (status >= 500 && status < 600) return withStatus("サーバーでエラーが起きました", status);
    if (status >= 300 && status < 400) return withStatus("サーバーが転送先を示さずに転送しようとしました", status);
    return withStatus("サーバーがファイルを返しませんでした", status);
}

std::string openFailedMessage(const HttpResult& result, const std::string& url, bool viaProxy, bool networkUp) {
    switch (result.outcome) {
        case HttpOutcome::NoConnection:
            return message(networkUp ? update_text::kOpenFailed : update_text::kNoConnection, url,
                           httpFailureText(result.failure, viaProxy, result.clientCode));
        case HttpOutcome::RedirectRefused:
            return message(update_text::kOpenFailed, url,
                           "サーバーが別のホスト（" + result.detail + "）へ転送しようとしたため、受け取りませんでした。");
        default:
            break;
    }
    std::string cause = httpFailureText(result.failure, viaProxy, result.clientCode);
    if (!result.redirectedTo.empty()) cause += "（転送先: " + result.redirectedTo + "）";
    return message(update_text::kOpenFailed, url, cause);
}

std::string errorStatusMessage(long status, const std::string& url) {
    return message(update_text::kOpenFailed, url, httpStatusText(status));
}

std::string readFailedMessage(const HttpResult& result, const std::string& url, bool viaProxy) {
    return message(update_text::kReadFailed, url, httpFailureText(result.failure, viaProxy, result.clientCode));
}

}  // namespace tambor
