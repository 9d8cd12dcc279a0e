#include "net/curl_http_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
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

// Scheme, host and port of an absolute address (lower case, the port
// filled in from the scheme); all empty when the address does not parse.
struct Origin {
    std::string scheme, host, port;
    bool valid() const { return !scheme.empty() && !host.empty(); }
};

Origin originOf(const std::string& url) {
    std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
    if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
    std::string pieces[3];
    const CURLUPart parts[3] = {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT};
    for (int i = 0; i < 3; ++i) {
        char* value = nullptr;
        if (curl_url_get(handle.get(), parts[i], &value, CURLU_DEFAULT_PORT) != CURLUE_OK) return {};
        pieces[i] = value;
        curl_free(value);
        std::transform(pieces[i].begin(), pieces[i].end(), pieces[i].begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    }
    return {pieces[0], pieces[1], pieces[2]};
}

// The redirects followed: within the same scheme, host and port, and from
// http to https on the same host (a server that moved to https). Any other
// server is never asked on the first one's behalf, nor is https left for http.
bool redirectAllowed(const Origin& from, const Origin& to) {
    if (!from.valid() || !to.valid() || from.host != to.host) return false;
    if (from.scheme == to.scheme) return from.port == to.port;
    return from.scheme == "http" && to.scheme == "https";
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

// Runs the transfer, asking keepGoing at least every tenth of a second even
// while nothing arrives (libcurl's own loop asks once a second), so a stop
// request ends a stalled download at once.
CURLcode performStoppable(CURL* easy, Transfer& transfer) {
    struct MultiDeleter {
        void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
    };
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) return CURLE_OUT_OF_MEMORY;
    CURLcode rc = CURLE_OK;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
            rc = CURLE_OUT_OF_MEMORY;
            break;
        }
        if (running == 0) {
            int left = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi.get(), &left))
                if (msg->msg == CURLMSG_DONE) rc = msg->data.result;
            break;
        }
        if (transfer.request->keepGoing && !transfer.request->keepGoing()) {
            transfer.stopped = true;
            rc = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        // A signal (Ctrl+C) ends the wait early; libcurl takes that as no
        // event, and keepGoing is asked again at once.
        if (curl_multi_poll(multi.get(), nullptr, 0, 100, nullptr) != CURLM_OK) {
            rc = CURLE_RECV_ERROR;
            break;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    return rc;
}

HttpOutcome failureOutcome(HttpFailure failure, bool headDelivered) {
    if (headDelivered) return HttpOutcome::TransferFailed;
    switch (failure) {
        case HttpFailure::ResolveHost:
        case HttpFailure::ResolveProxy:
        case HttpFailure::Refused:
        case HttpFailure::Unreachable:
        case HttpFailure::TimedOut:
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
    HttpResult noSession;
    noSession.outcome = HttpOutcome::NoSession;
    noSession.failure = HttpFailure::NoSession;
    if (!curl) return noSession;
    // No cached answer from any proxy on the way.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    curl_slist* more = list ? curl_slist_append(list, "Pragma: no-cache") : nullptr;
    std::unique_ptr<curl_slist, SlistDeleter> headers(list);
    if (!more) return noSession;

    std::string url = request.url;
    Origin origin = originOf(url);
    for (int hop = 0;; ++hop) {
        CURL* c = curl.get();
        curl_easy_reset(c);
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
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, headerCallback);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, &transfer);
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, writeCallback);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &transfer);
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, progressCallback);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, &transfer);

        const CURLcode rc = performStoppable(c, transfer);
        HttpResult result;
        if (hop > 0) result.redirectedTo = url;
        if (transfer.stopped) {
            result.outcome = HttpOutcome::Stopped;
            return result;
        }
        if (rc != CURLE_OK) {
            long osErrno = 0;
            curl_easy_getinfo(c, CURLINFO_OS_ERRNO, &osErrno);
            result.failure = curlFailure(static_cast<int>(rc), osErrno);
            result.clientCode = static_cast<int>(rc);
            result.outcome = failureOutcome(result.failure, transfer.headDelivered);
            return result;
        }
        if (!transfer.redirect) {
            result.outcome = transfer.headDelivered ? HttpOutcome::Complete : HttpOutcome::OpenFailed;
            if (!transfer.headDelivered) result.failure = HttpFailure::EmptyReply;
            return result;
        }
        char* location = nullptr;
        curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &location);
        const std::string next = location ? location : "";
        if (next.empty()) {
            result.failure = HttpFailure::BadReply;
            return result;
        }
        const Origin nextOrigin = originOf(next);
        if (!redirectAllowed(origin, nextOrigin)) {
            result.outcome = HttpOutcome::RedirectRefused;
            result.detail = next;
            return result;
        }
        if (hop >= limits_.maxRedirects) {
            result.failure = HttpFailure::TooManyRedirects;
            return result;
        }
        url = next;
        origin = nextOrigin;
    }
}

HttpFailure curlFailure(int curlCode, long osErrno) {
    switch (static_cast<CURLcode>(curlCode)) {
        case CURLE_OK:
            return HttpFailure::None;
        case CURLE_OUT_OF_MEMORY:
        case CURLE_FAILED_INIT:
            return HttpFailure::NoSession;
        case CURLE_COULDNT_RESOLVE_HOST:
            return HttpFailure::ResolveHost;
        case CURLE_COULDNT_RESOLVE_PROXY:
            return HttpFailure::ResolveProxy;
        case CURLE_COULDNT_CONNECT:
            if (osErrno == ECONNREFUSED) return HttpFailure::Refused;
            if (osErrno == ETIMEDOUT) return HttpFailure::TimedOut;
            return HttpFailure::Unreachable;
        case CURLE_OPERATION_TIMEDOUT:
            return HttpFailure::TimedOut;
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
            return HttpFailure::Certificate;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_USE_SSL_FAILED:
            return HttpFailure::SecureChannel;
        case CURLE_PROXY:
            return HttpFailure::ProxyRefused;
        case CURLE_GOT_NOTHING:
            return HttpFailure::EmptyReply;
        case CURLE_WEIRD_SERVER_REPLY:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM:
        case CURLE_BAD_CONTENT_ENCODING:
            return HttpFailure::BadReply;
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
        case CURLE_PARTIAL_FILE:
            return HttpFailure::Dropped;
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL:
            return HttpFailure::BadAddress;
        case CURLE_TOO_MANY_REDIRECTS:
            return HttpFailure::TooManyRedirects;
        default:
            return HttpFailure::Other;
    }
}

}  // namespace tambor
