#pragma once
// A real HTTP server on 127.0.0.1 and a free port, inside the test binary,
// serving what a test puts on it: whole files with or without
// Content-Length and Last-Modified, error statuses, bodies cut short,
// stalled or held bodies and redirects. It also acts as a plain HTTP proxy: a
// request in absolute form ("GET http://host/path") is answered from the
// same files, so a test sees the program's proxy text at work.

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tambor::testing {

struct ServedFile {
    enum class Send {
        Whole,     // with Content-Length
        NoLength,  // chunked, no Content-Length
        CutShort,  // Content-Length of the whole body, then half of it and the connection closes
        Stall,     // the headers, then nothing until the server stops
        Hold,      // the headers and half the body, then nothing until release() (or the server stops)
    };
    ServedFile(std::string body_, std::optional<std::int64_t> lastModified_ = std::nullopt, int status_ = 200,
               Send send_ = Send::Whole, std::string contentType_ = "text/plain", std::string location_ = {})
        : body(std::move(body_)), lastModified(lastModified_), status(status_), send(send_),
          contentType(std::move(contentType_)), location(std::move(location_)) {}

    std::string body;
    std::optional<std::int64_t> lastModified;  // Unix time
    int status;
    Send send;
    std::string contentType;
    std::string location;  // a Location header (with a 3xx status)
};

// What the server saw of one request.
struct SeenRequest {
    std::string target;  // as sent: "/lotodata.txt", or absolute through a proxy
    std::string userAgent;
    std::string cacheControl;
};

// An HTTP date ("Wed, 21 Oct 2015 07:28:00 GMT") of a Unix time.
inline std::string httpDate(std::int64_t unixTime) {
    const time_t t = static_cast<time_t>(unixTime);
    struct tm utc {};
    gmtime_r(&t, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

// A port on 127.0.0.1 where nothing listens (bound and released at once).
inline int closedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    if (fd >= 0) ::close(fd);
    return port;
}

// A port on 127.0.0.1 that takes connections (the system completes them)
// but never reads or answers: a server that does not respond.
class SilentListener {
public:
    SilentListener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd_, 4) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            throw std::runtime_error("test server: no silent port on 127.0.0.1");
        port_ = ntohs(addr.sin_port);
    }
    ~SilentListener() { ::close(fd_); }
    SilentListener(const SilentListener&) = delete;
    SilentListener& operator=(const SilentListener&) = delete;
    int port() const { return port_; }

private:
    int fd_ = -1;
    int port_ = 0;
};

class TestHttpServer {
public:
    TestHttpServer() {
        server_.Get(".*", [this](const httplib::Request& req, httplib::Response& res) { answer(req, res); });
        port_ = server_.bind_to_any_port("127.0.0.1");
        if (port_ <= 0) throw std::runtime_error("test server: no free port on 127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        for (int i = 0; i < 500 && !server_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ~TestHttpServer() {
        {
            std::lock_guard<std::mutex> lock(holdMutex_);
            stopping_ = true;
        }
        holdChanged_.notify_all();
        server_.stop();
        thread_.join();
    }
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:PORT/" + folder.
    std::string baseUrl(const std::string& folder = "") const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + folder;
    }

    // Serves file at path ("/lotodata.txt"); a path never served is a 404.
    void serve(const std::string& path, ServedFile file) {
        std::lock_guard<std::mutex> lock(mutex_);
        files_.insert_or_assign(path, std::move(file));
    }
    void remove(const std::string& path) {
        std::lock_guard<std::mutex> lock(mutex_);
        files_.erase(path);
    }
    // Waits until a Hold answer has sent its first half.
    void waitUntilHeld() {
        std::unique_lock<std::mutex> lock(holdMutex_);
        holdChanged_.wait(lock, [this] { return held_; });
    }
    // Lets every Hold answer end (the connection closes short).
    void release() {
        {
            std::lock_guard<std::mutex> lock(holdMutex_);
            released_ = true;
        }
        holdChanged_.notify_all();
    }
    std::vector<SeenRequest> seen() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }
    // Requests whose path (after any proxy's host part) is path.
    int requestsFor(const std::string& path) const {
        int n = 0;
        for (const SeenRequest& r : seen())
            if (pathOf(r.target) == path) ++n;
        return n;
    }

private:
    static std::string pathOf(const std::string& target) {
        std::string path = target;
        if (path.rfind("http://", 0) == 0) {
            const std::size_t slash = path.find('/', 7);
            path = slash == std::string::npos ? "/" : path.substr(slash);
        }
        return path.substr(0, path.find('?'));
    }

    void answer(const httplib::Request& req, httplib::Response& res) {
        std::optional<ServedFile> file;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back({req.target, req.get_header_value("User-Agent"), req.get_header_value("Cache-Control")});
            const auto it = files_.find(pathOf(req.target));
            if (it != files_.end()) file = it->second;
        }
        if (!file) {
            res.status = 404;
            res.set_content("<html><body><h1>404 Not Found</h1></body></html>\n", "text/html");
            return;
        }
        res.status = file->status;
        if (file->lastModified) res.set_header("Last-Modified", httpDate(*file->lastModified));
        if (!file->location.empty()) res.set_header("Location", file->location);
        const std::string body = file->body;
        switch (file->send) {
            case ServedFile::Send::Whole:
                res.set_content(body, file->contentType.c_str());
                break;
            case ServedFile::Send::NoLength:
                res.set_chunked_content_provider(file->contentType.c_str(),
                                                 [body](std::size_t offset, httplib::DataSink& sink) {
                                                     if (offset < body.size()) {
                                                         const std::size_t n = std::min<std::size_t>(4096, body.size() - offset);
                                                         sink.write(body.data() + offset, n);
                                                     } else {
                                                         sink.done();
                                                     }
                                                     return true;
                                                 });
                break;
            case ServedFile::Send::CutShort:
                res.set_content_provider(body.size(), file->contentType.c_str(),
                                         [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                             if (offset == 0) sink.write(body.data(), body.size() / 2);
                                             return offset == 0 ? true : false;  // then the connection closes
                                         });
                break;
            case ServedFile::Send::Stall:
                res.set_content_provider(body.size(), file->contentType.c_str(),
                                         [this](std::size_t, std::size_t, httplib::DataSink&) {
                                             while (!stopping_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
                                             return false;
                                         });
                break;
            case ServedFile::Send::Hold:
                res.set_content_provider(body.size(), file->contentType.c_str(),
                                         [this, body](std::size_t, std::size_t, httplib::DataSink& sink) {
                                             sink.write(body.data(), body.size() / 2);
                                             std::unique_lock<std::mutex> lock(holdMutex_);
                                             held_ = true;
                                             holdChanged_.notify_all();
                                             holdChanged_.wait(lock, [this] { return released_ || stopping_; });
                                             return false;
                                         });
                break;
        }
    }

    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::mutex holdMutex_;
    std::condition_variable holdChanged_;
    bool held_ = false;
    bool released_ = false;
    mutable std::mutex mutex_;
    std::map<std::string, ServedFile> files_;
    std::vector<SeenRequest> seen_;
};

}  // namespace tambor::testing
