#include "io/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <new>

#include "io/cp932.h"

namespace tambor {

namespace {

std::string reason(int err) { return std::strerror(err); }

[[noreturn]] void failRead(const std::filesystem::path& path, const std::string& why) {
    throw FileError("ファイル「" + path.string() + "」を読み込めません: " + why, path, why);
}

[[noreturn]] void failWrite(const std::filesystem::path& path, const std::string& why) {
    throw FileError("ファイル「" + path.string() + "」に書き込めません: " + why, path, why);
}

// Closes a descriptor on every path out of a function.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    int release() {
        const int f = fd;
        fd = -1;
        return f;
    }
};

bool writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string readFileBytes(const std::filesystem::path& path, std::size_t maxBytes) {
    Fd file;
    do {
        file.fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) failRead(path, reason(errno));

    struct stat st {};
    if (::fstat(file.fd, &st) != 0) failRead(path, reason(errno));
    if (S_ISDIR(st.st_mode)) failRead(path, reason(EISDIR));
    const std::string tooLarge = "ファイルが大きすぎます（上限 " + std::to_string(maxBytes) + " バイト）";
    if (S_ISREG(st.st_mode) && static_cast<std::uintmax_t>(st.st_size) > maxBytes) failRead(path, tooLarge);

    std::string bytes;
    try {
        if (S_ISREG(st.st_mode)) bytes.reserve(static_cast<std::size_t>(st.st_size));
        char buf[65536];
        for (;;) {
            const ssize_t n = ::read(file.fd, buf, sizeof buf);
            if (n < 0) {
                if (errno == EINTR) continue;
                failRead(path, reason(errno));
            }
            if (n == 0) break;
            if (bytes.size() + static_cast<std::size_t>(n) > maxBytes) failRead(path, tooLarge);
            bytes.append(buf, static_cast<std::size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        failRead(path, "メモリが足りません");
    }
    return bytes;
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

std::vector<std::string> readTextFileLines(const std::filesystem::path& path, std::size_t maxBytes) {
    const std::string bytes = readFileBytes(path, maxBytes);
    try {
        return splitLines(cp932ToUtf8(bytes, path.string()));
    } catch (const std::bad_alloc&) {
        failRead(path, "メモリが足りません");
    }
}

void writeFileBytesAtomic(const std::filesystem::path& path, std::string_view bytes) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");

    // A name unique to this process and call, so concurrent saves never share one.
    Fd file;
    std::filesystem::path temp;
    for (int attempt = 0; attempt < 100 && file.fd < 0; ++attempt) {
        temp = folder / ("." + path.filename().string() + ".tmp-" + std::to_string(::getpid()) + "-" +
                         std::to_string(counter.fetch_add(1)));
        file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST && errno != EINTR) failWrite(path, reason(errno));
    }
    if (file.fd < 0) failWrite(path, reason(EEXIST));

    auto abandon = [&](int err) {
        ::close(file.release());
        ::unlink(temp.c_str());
        failWrite(path, reason(err));
    };

    // Keep the permissions the user gave an existing file.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) (void)::fchmod(file.fd, st.st_mode & 07777);

    if (!writeAll(file.fd, bytes)) abandon(errno);
    if (::fsync(file.fd) != 0 && errno != EINVAL && errno != EROFS) abandon(errno);
    if (::close(file.release()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        failWrite(path, reason(err));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        failWrite(path, reason(err));
    }
}

void writeTextFileLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    text.reserve(size);
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    writeFileBytesAtomic(path, utf8ToCp932(text, path.string()));
}

}  // namespace tambor
