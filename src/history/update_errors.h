#pragma once
// What the user reads when the online update cannot fetch its file: the
// message of the situation, the address, and one Japanese line on the
// cause. The one wording of these failures, for the window and the command
// line alike.

#include <string>

#include "net/http_client.h"

namespace tambor {

// The cause of a failed request in one Japanese sentence. viaProxy: the
// request went through a proxy (so a failed connection was the proxy's).
std::string httpFailureText(HttpFailure failure, bool viaProxy, int clientCode);
// The cause when the server answered with an error status.
std::string httpStatusText(long status);

// The error message for a request of url that failed before its body
// (outcome NoConnection, OpenFailed or RedirectRefused):
// "指定された URL を開けませんでした。", or the no-connection message when
// the host could not be reached and networkUp is false; then the address
// and the cause.
std::string openFailedMessage(const HttpResult& result, const std::string& url, bool viaProxy, bool networkUp);
// The error message for an error status instead of the file.
std::string errorStatusMessage(long status, const std::string& url);
// The error message for a body that broke off (outcome TransferFailed).
std::string readFailedMessage(const HttpResult& result, const std::string& url, bool viaProxy);

}  // namespace tambor
