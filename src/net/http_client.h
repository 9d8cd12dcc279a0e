#pragma once
// The program's one way to fetch a file over HTTP: a small interface the
// online update calls, so the update can run over any client (the program
// links the libcurl one; see curl_http_client.h).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tambor {

// One GET request.
struct HttpRequest {
    std::string url;
    // "address:port" of an HTTP proxy; empty for a direct connection (the
    // environment's proxy variables are not used either way).
    std::string proxy;
    // Asked now and then while the request runs; false stops it.
    std::function<bool()> keepGoing;
};

// The status and the headers of the response whose body follows.
struct HttpHead {
    long status = 0;
    std::optional<std::uint64_t> contentLength;  // Content-Length, when sent
    std::optional<std::int64_t> lastModified;    // Last-Modified as Unix time, when sent and readable
};

enum class HttpOutcome {
    Complete,         // the whole body was received
    NoSession,        // the client could not be set up at all
    NoConnection,     // the host (or the proxy) could not be reached
    OpenFailed,       // reached, but no usable response (bad address, protocol error, ...)
    RedirectRefused,  // the server sent the request on to another host
    TransferFailed,   // the response began but the body broke off (or stalled)
    Stopped,          // a callback or keepGoing asked to stop
};

// Why a request failed, in terms the program can put into words.
enum class HttpFailure {
    None,
    NoSession,         // the client could not be set up (memory)
    ResolveHost,       // the server's name does not resolve
    ResolveProxy,      // the proxy's name does not resolve
    Refused,           // the server (or the proxy) refused the connection
    Unreachable,       // no route to the server (or the proxy)
    TimedOut,          // no answer in time (connecting, or a stalled transfer)
    Certificate,       // the server's certificate could not be verified
    SecureChannel,     // the https connection could not be set up
    ProxyRefused,      // the proxy would not pass the request on
    EmptyReply,        // the connection closed without any answer
    BadReply,          // an answer that is not HTTP
    Dropped,           // the connection broke off
    BadAddress,        // not an http or https address the client can use
    TooManyRedirects,  // redirects without end
    Other,             // anything else: clientCode says what
};

struct HttpResult {
    HttpOutcome outcome = HttpOutcome::OpenFailed;
    HttpFailure failure = HttpFailure::None;
    int clientCode = 0;        // the client library's own error number, for HttpFailure::Other
    std::string detail;        // RedirectRefused: the address the server pointed to
    std::string redirectedTo;  // the address last asked, when the server redirected the request
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // Runs the request. onHead is called once, for the final response,
    // before any of its body; onBody with each piece of the body. Either
    // returning false stops the request (outcome Stopped). A response
    // with an error status still calls onHead: the caller decides.
    virtual HttpResult get(const HttpRequest& request, const std::function<bool(const HttpHead&)>& onHead,
                           const std::function<bool(std::string_view)>& onBody) = 0;
};

}  // namespace tambor
