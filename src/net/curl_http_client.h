#pragma once
// The HTTP client the program uses, over libcurl: agent "Tambor", a direct
// connection or the given proxy, no cached answers, a connect timeout and a
// low-speed abort so a dead network never hangs the program, http and https
// only, and redirects followed only within the same server (a redirect to
// another host is refused and reported; http to https on the same host is
// followed), and a stop request honoured within a tenth of a second.

#include "net/http_client.h"

namespace tambor {

class CurlHttpClient : public HttpClient {
public:
    struct Limits {
        long connectTimeoutSeconds = 15;
        // The transfer is abandoned when it moves fewer than lowSpeedBytes
        // per second for lowSpeedSeconds in a row.
        long lowSpeedBytes = 1;
        long lowSpeedSeconds = 30;
        int maxRedirects = 5;
    };

    CurlHttpClient();
    explicit CurlHttpClient(Limits limits);

    HttpResult get(const HttpRequest& request, const std::function<bool(const HttpHead&)>& onHead,
                   const std::function<bool(std::string_view)>& onBody) override;

    static constexpr const char* kUserAgent = "Tambor";

private:
    Limits limits_;
};

// What a libcurl error number (with the system's errno of a failed
// connection) means for the user.
HttpFailure curlFailure(int curlCode, long osErrno);

}  // namespace tambor
