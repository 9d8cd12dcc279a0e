#include "net/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>
#include <mutex>

namespace tambor {
namespace {

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct EasyDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
        s.remove_suffix(1);
    return s;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

// Scheme, host and port of an absolute address, for comparing two of them.
std::string originOf(const std::string& url) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
    std::string origin;
    for (CURLUPart part : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
        char* value = nullptr;
        if (curl_url_get(handle.get(), part, &value, CURLU_DEFAULT_PORT) != CURLUE_OK) return {};
        std::string piece(value);
        curl_free(value);
        std::transform(piece.begin(), piece.end(), piece.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        origin += piece + "|";
    }
    return origin;
}

bool isRedirectStatus(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// What one transfer saw; the callbacks of curl write here.
struct Transfer {
    const HttpRequest* request = nullptr;
    const std::function<bool(const HttpHead&)>* onHead = nullptr;
    const std::function<bool(std::string_view)>* onBody = nullptr;
    HttpHead head;
    bool hasLocation = false;
    bool headDelivered = false;
    bool redirect = false;
    bool stopped = false;

    // One header line, or the empty line that ends a response's headers.
    bool headerLine(std::string_view line) {
        if (startsWithNoCase(line, "HTTP/")) {
            // A new response begins (an interim 1xx or a redirect came before).
            head = HttpHead{};
            hasLocation = false;
            const std::size_t space = line.find(' ');
            if (space != std::string_view::npos) {
                const std::string_view code = trim(line.substr(space + 1)).substr(0, 3);
                std::from_chars(code.data(), code.data() + code.size(), head.status);
            }
            return true;
        }
        if (trim(line).empty()) return endOfHeaders();
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) return true;
        const std::string_view name = trim(line.substr(0, colon));
        const std::string_view value = trim(line.substr(colon + 1));
        if (startsWithNoCase(name, "content-length") && name.size() == 14) {
            std::uint64_t length = 0;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (ec == std::errc() && end == value.data() + value.size()) head.contentLength = length;
        } else if (startsWithNoCase(name, "last-modified") && name.size() == 13) {
            const std::string text(value);
            const time_t t = curl_getdate(text.c_str(), nullptr);
            if (t != -1) head.lastModified = static_cast<std::int64_t>(t);
        } else if (startsWithNoCase(name, "location") && name.size() == 8) {
            hasLocation = !value.empty();
        }
        return true;
    }

    bool endOfHeaders() {
        if (head.status >= 100 && head.status < 200) return true;  // an interim answer; the real one follows
        if (isRedirectStatus(head.status) && hasLocation) {
            redirect = true;
            return true;
        }
        if (headDelivered) return true;  // trailers after a chunked body
        headDelivered = true;
        if (!(*onHead)(head)) stopped = true;
        return !stopped;
    }

    bool body(std::string_view bytes) {
        if (redirect) return true;  // the redirect page itself is not wanted
        if (!headDelivered) return true;
        if (!(*onBody)(bytes)) stopped = true;
        return !stopped;
    }
};

size_t headerCallback(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    return t->headerLine(std::string_view(data, bytes)) ? bytes : 0;
}

size_t writeCallback(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    return t->body(std::string_view(data, bytes)) ? bytes : 0;
}

int progressCallback(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* t = static_cast<Transfer*>(user);
    if (t->request->keepGoing && !t->request->keepGoing()) {
        t->stopped = true;
        return 1;
    }
    return 0;
}

HttpOutcome failureOutcome(CURLcode rc, bool headDelivered) {
    if (headDelivered) return HttpOutcome::TransferFailed;
    switch (rc) {
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
        case CURLE_COULDNT_CONNECT:
        case CURLE_OPERATION_TIMEDOUT:
            return HttpOutcome::NoConnection;
        default:
            return HttpOutcome::OpenFailed;
    }
}

}  // namespace

CurlHttpClient::CurlHttpClient() : CurlHttpClient(Limits{}) {}
CurlHttpClient::CurlHttpClient(Limits limits) : limits_(limits) { initCurlOnce(); }

HttpResult CurlHttpClient::get(const HttpRequest& request, const std::function<bool(const HttpHead&)>& onHead,
                               const std::function<bool(std::string_view)>& onBody) {
    std::unique_ptr<CURL, EasyDeleter> curl(curl_easy_init());
    if (!curl) return {HttpOutcome::NoSession, "curl_easy_init"};
    // No cached answer from any proxy on the way.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    curl_slist* more = list ? curl_slist_append(list, "Pragma: no-cache") : nullptr;
    std::unique_ptr<curl_slist, SlistDeleter> headers(list);
    if (!more) return {HttpOutcome::NoSession, "curl_slist_append"};

    std::string url = request.url;
    const std::string firstOrigin = originOf(url);
    for (int hop = 0;; ++hop) {
        CURL* c = curl.get();
        curl_easy_reset(c);
        char errorText[CURL_ERROR_SIZE] = {};
        Transfer transfer;
        transfer.request = &request;
        transfer.onHead = &onHead;
        transfer.onBody = &onBody;
        curl_easy_setopt(c, CURLOPT_URL, url.c_str());
        curl_easy_setopt(c, CURLOPT_USERAGENT, kUserAgent);
        // An empty proxy text means a direct connection, whatever the
        // environment says.
        curl_easy_setopt(c, CURLOPT_PROXY, request.proxy.c_str());
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(c, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, limits_.connectTimeoutSeconds);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, limits_.lowSpeedBytes);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, limits_.lowSpeedSeconds);
        curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, headerCallback);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeCallback);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progressCallback);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);

        const CURLcode rc = curl_easy_perform(c);
        if (transfer.stopped) return {HttpOutcome::Stopped, {}};
        if (rc != CURLE_OK) {
            std::string detail = errorText[0] ? errorText : curl_easy_strerror(rc);
            while (!detail.empty() && detail.back() == '\n') detail.pop_back();
            return {failureOutcome(rc, transfer.headDelivered), detail};
        }
        if (!transfer.redirect) {
            if (!transfer.headDelivered) return {HttpOutcome::OpenFailed, "no response"};
            return {HttpOutcome::Complete, {}};
        }
        char* location = nullptr;
        curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location);
        const std::string next = location ? location : "";
        if (next.empty()) return {HttpOutcome::OpenFailed, "redirect without a usable address"};
        if (firstOrigin.empty() || originOf(next) != firstOrigin) return {HttpOutcome::RedirectRefused, next};
        if (hop >= limits_.maxRedirects) return {HttpOutcome::OpenFailed, "too many redirects"};
        url = next;
    }
}

}  // namespace tambor
