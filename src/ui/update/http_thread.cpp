#include "ui/update/http_thread.h"

#include "net/curl_http_client.h"

namespace tambor::ui {

THttpThread::THttpThread(UpdateRequest request, QObject* parent) : QThread(parent), request_(std::move(request)) {
    setObjectName(QStringLiteral("THttpThread"));
}

void THttpThread::run() {
    CurlHttpClient client;
    int lastPercent = -2;
    const auto progress = [&](std::uint64_t received, std::optional<std::uint64_t> total) {
        // Bytes received × 100 / content length; only changes are sent on.
        const int percent = total ? static_cast<int>(std::min<std::uint64_t>(received * 100 / *total, 100)) : -1;
        if (percent != lastPercent) {
            lastPercent = percent;
            emit progressed(percent);
        }
        return !stop_.load();
    };
    result_ = runOnlineUpdate(client, request_, progress, [this] { return !stop_.load(); });
}

}  // namespace tambor::ui
