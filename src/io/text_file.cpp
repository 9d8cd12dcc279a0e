#include "io/text_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <new>

#include "io/cp932.h"
#include "io/pause_point.h"
#include "io/streamed_file.h"
#include "io/system_error_text.h"

namespace tambor {

namespace {

std::string reason(int err) { return systemErrorText(err); }

[[noreturn]] void failRead(const std::filesystem::path& path, const std::string& why) {
    throw FileError("ファイル「" + path.string() + "」を読み込めません: " + why, path, why);
}

[[noreturn]] void failWrite(const std::filesystem::path& path, const std::string& why) {
    throw FileError("ファイル「" + path.string() + "」に書き込めません: " + why, path, why);
}

// Why a file that is not a regular one is neither read nor saved.
std::string fileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "フォルダーです";
    if (S_ISFIFO(mode)) return "通常のファイルではありません（FIFO）";
    if (S_ISSOCK(mode)) return "通常のファイルではありません（ソケット）";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "通常のファイルではありません（デバイス）";
    return "通常のファイルではありません";
}

// Closes a descriptor on every path out of a function.
struct Fd {
    int fd = -1;
    Fd() = default;
    Fd(Fd&& other) noexcept : fd(other.release()) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
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
    // Opened without blocking and checked before the first read: a FIFO
    // with no writer (or a device) would otherwise hold the program for
    // ever, deaf to Ctrl+C. Only regular files are read, as only they are saved.
    Fd file;
    do {
        file.fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (file.fd < 0 && errno == EINTR);
    if (file.fd < 0) {
        const int err = errno;
        // A socket cannot be opened at all: say what it is, as for the others.
        struct stat named {};
        if (err == ENXIO && ::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
            failRead(path, fileKind(named.st_mode));
        failRead(path, reason(err));
    }

    struct stat st {};
    if (::fstat(file.fd, &st) != 0) failRead(path, reason(errno));
    if (!S_ISREG(st.st_mode)) failRead(path, fileKind(st.st_mode));
    const int flags = ::fcntl(file.fd, F_GETFL);
    if (flags >= 0) (void)::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK);
    const std::string tooLarge = "ファイルが大きすぎます（上限 " + std::to_string(maxBytes) + " バイト）";
    if (static_cast<std::uintmax_t>(st.st_size) > maxBytes) failRead(path, tooLarge);

    std::string bytes;
    try {
        bytes.reserve(static_cast<std::size_t>(st.st_size));
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
    pausePoint("after-read");
    return bytes;
}

void forEachLine(std::string_view text, const std::function<void(std::string_view line)>& line) {
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        line(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) line(text.substr(start));
}

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::string readTextFile(const std::filesystem::path& path, std::size_t maxBytes) {
    try {
        return decodeText(readFileBytes(path, maxBytes), path.string());
    } catch (const std::bad_alloc&) {
        failRead(path, "メモリが足りません");
    }
}

std::vector<std::string> readTextFileLines(const std::filesystem::path& path, std::size_t maxBytes) {
    const std::string text = readTextFile(path, maxBytes);
    try {
        return splitLines(text);
    } catch (const std::bad_alloc&) {
        failRead(path, "メモリが足りません");
    }
}

namespace {

// How many hops of symbolic links a save follows, as the system does.
constexpr int kMaxLinkHops = 40;

// The file a save of path replaces: path with its symbolic links followed
// (a link relative to the folder it lies in). A missing file, or one whose
// state cannot be read, is the target itself; the steps after report why.
std::filesystem::path saveTarget(const std::filesystem::path& path) {
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
            if (n < 0) failWrite(path, reason(errno));
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);  // the link changed under us: read it again
        }
        const std::filesystem::path next(target);
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    failWrite(path, reason(ELOOP));
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Every temporary of one target begins with "." and at most 48 bytes of the
// target's name (cut before a UTF-8 character), then a hash of the whole
// name, so the name stays far below the file system's 255 bytes and the
// next save finds the leftovers of exactly this target:
//   ".<name>.<hash>.<pid>-<n>.tmp"
constexpr std::size_t kNameBytesInTemporary = 48;

std::string temporaryPrefix(const std::string& fileName) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (const char c : fileName) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    std::size_t cut = std::min(fileName.size(), kNameBytesInTemporary);
    while (cut > 0 && cut < fileName.size() && (static_cast<unsigned char>(fileName[cut]) & 0xC0) == 0x80) --cut;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%08x", hash);
    return "." + fileName.substr(0, cut) + "." + hex + ".";
}

bool isDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// "<digits>-<digits>"
bool isProcessAndCounter(std::string_view text) {
    const std::size_t dash = text.find('-');
    return dash != std::string_view::npos && isDigits(text.substr(0, dash)) && isDigits(text.substr(dash + 1));
}

// Whether entry is a temporary of the target: the current form, or the
// ".<name>.tmp-<pid>-<n>" that earlier versions of the program left.
bool isTemporaryOf(std::string_view entry, const std::string& prefix, const std::string& fileName) {
    static constexpr std::string_view kSuffix = ".tmp";
    if (entry.size() > prefix.size() + kSuffix.size() && entry.starts_with(prefix) && entry.ends_with(kSuffix))
        return isProcessAndCounter(entry.substr(prefix.size(), entry.size() - prefix.size() - kSuffix.size()));
    const std::string legacy = "." + fileName + ".tmp-";
    return entry.size() > legacy.size() && entry.starts_with(legacy) && isProcessAndCounter(entry.substr(legacy.size()));
}

// Removes one leftover unless a running save holds its lock. The name is
// removed only while it still names the file that was locked.
void removeIfStale(const std::filesystem::path& file) {
    Fd fd;
    fd.fd = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd.fd < 0) return;
    struct stat opened {};
    if (::fstat(fd.fd, &opened) != 0 || !S_ISREG(opened.st_mode)) return;
    if (::flock(fd.fd, LOCK_EX | LOCK_NB) != 0) return;  // a save is writing it
    struct stat named {};
    if (::lstat(file.c_str(), &named) != 0 || named.st_dev != opened.st_dev || named.st_ino != opened.st_ino) return;
    ::unlink(file.c_str());
}

void removeStaleTemporariesOf(const std::filesystem::path& target) {
    const std::string fileName = target.filename().string();
    if (fileName.empty()) return;
    const std::string prefix = temporaryPrefix(fileName);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folderOf(target), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (isTemporaryOf(entry, prefix, fileName)) removeIfStale(it->path());
    }
}


constexpr std::size_t kWriteChunk = std::size_t{1} << 20;

// The names of a file's extended attributes ("user.note\0system.posix_acl_access\0").
std::string attributeNames(int fd) {
    for (;;) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0) return {};
        std::string names(static_cast<std::size_t>(size), '\0');
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return names;
        }
        if (errno != ERANGE) return {};  // grew meanwhile: ask again
    }
}

// Copies the extended attributes of the file at source to the temporary:
// the POSIX access list (ACL) among them, so that a save changes no one's
// access. An attribute the process may not read or set (another security
// module's label, for one) is left out; an ACL that cannot be kept stops
// the save, returning the reason.
std::string copyAttributes(const std::filesystem::path& source, int to) {
    Fd from;
    from.fd = ::open(source.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (from.fd < 0) return {};
    const std::string names = attributeNames(from.fd);
    for (std::size_t at = 0; at < names.size();) {
        const std::string name = names.c_str() + at;
        at += name.size() + 1;
        if (name.empty()) continue;
        const ssize_t size = ::fgetxattr(from.fd, name.c_str(), nullptr, 0);
        if (size < 0) continue;
        std::string value(static_cast<std::size_t>(size), '\0');
        const ssize_t got = ::fgetxattr(from.fd, name.c_str(), value.data(), value.size());
        if (got < 0) continue;
        if (::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) != 0 &&
            name.starts_with("system.posix_acl"))
            return "アクセス制御リスト（ACL）を保てません（" + systemErrorText(errno) + "）";
    }
    return {};
}

// Whether saves may use unnamed temporaries; see allowUnnamedTemporaries.
std::atomic<bool> unnamedAllowed{true};

// How many names a save tries before it gives up (each one is unique to
// this process and call, so a clash means a leftover of a dead process that
// reused the process number).
constexpr int kNameAttempts = 100;

// ".<name>.<hash>.<pid>-<n>.tmp": unique to this process and call.
std::string temporaryName(const std::string& prefix) {
    static std::atomic<unsigned> counter{0};
    return prefix + std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1)) + ".tmp";
}

// The file a save writes before it replaces the target. Unnamed where the
// file system allows (O_TMPFILE): no other process can see, open or remove
// it, and a save that is killed leaves nothing at all. Elsewhere it has a
// name from the start. Either way it is locked (flock) while it has a name,
// so that other saves' clean-up (removeIfStale) leaves it alone.
struct Temporary {
    Fd file;
    std::filesystem::path name;  // empty while unnamed

    // Removes it: nothing is left of an unnamed one once closed.
    void discard() {
        if (!name.empty()) ::unlink(name.c_str());
        name.clear();
        ::close(file.release());
    }
};

void lock(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// An unnamed temporary in folder, or none where the kernel or the file
// system has no O_TMPFILE or /proc is missing (naming it needs
// /proc/self/fd). Throws FileError for the folder's own problems.
bool openUnnamed(const std::filesystem::path& path, const std::filesystem::path& folder, Temporary& temp) {
    if (!unnamedAllowed.load()) return false;
    do {
        temp.file.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    } while (temp.file.fd < 0 && errno == EINTR);
    if (temp.file.fd < 0) {
        // Not supported here: EOPNOTSUPP from the file system, EISDIR (or
        // EINVAL) from a kernel that does not know the flag.
        if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL) return false;
        failWrite(path, reason(errno));
    }
    struct stat st {};
    if (::stat(("/proc/self/fd/" + std::to_string(temp.file.fd)).c_str(), &st) != 0) {
        ::close(temp.file.release());
        return false;
    }
    lock(temp.file.fd);
    return true;
}

Temporary openTemporary(const std::filesystem::path& path, const std::filesystem::path& folder,
                        const std::string& prefix) {
    Temporary temp;
    if (openUnnamed(path, folder, temp)) return temp;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::filesystem::path name = folder / temporaryName(prefix);
        temp.file.fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (temp.file.fd < 0) {
            if (errno == EEXIST || errno == EINTR) continue;
            failWrite(path, reason(errno));
        }
        lock(temp.file.fd);
        // Another save's clean-up may have taken the name between the
        // creation and the lock: then this file is gone, try a new name.
        struct stat opened {}, named {};
        if (::fstat(temp.file.fd, &opened) == 0 && ::lstat(name.c_str(), &named) == 0 &&
            opened.st_dev == named.st_dev && opened.st_ino == named.st_ino) {
            temp.name = name;
            return temp;
        }
        ::close(temp.file.release());
    }
    failWrite(path, reason(EEXIST));
}

}  // namespace

void allowUnnamedTemporaries(bool allowed) { unnamedAllowed = allowed; }

void removeStaleTemporaries(const std::filesystem::path& path) {
    try {
        removeStaleTemporariesOf(saveTarget(path));
    } catch (const std::exception&) {
        // Best effort: a leftover that cannot be removed now is removed later.
    }
}

namespace {

// The steps of every atomic save around its body, which writes the
// temporary through write and answers false to stop.
// Beside what the header says: the target's extended attributes (its access
// control list among them) go to the new file, and a target with more than
// one name (hard links) is refused rather than split from its other names.
bool writeAtomic(const std::filesystem::path& path, const std::function<bool(const FileWriter& write)>& body,
                 const ProgressCallback& progress) {
    const std::filesystem::path target = saveTarget(path);

    struct stat existing {};
    bool exists = false;
    if (::lstat(target.c_str(), &existing) == 0) {
        exists = true;
        if (!S_ISREG(existing.st_mode)) failWrite(path, fileKind(existing.st_mode));
        // access() lets root write whatever the mode says, so the owner's
        // write bit, which the user set, decides first.
        if ((existing.st_mode & S_IWUSR) == 0) failWrite(path, "読み取り専用のファイルです");
        if (::access(target.c_str(), W_OK) != 0)
            failWrite(path, errno == EACCES ? std::string("読み取り専用のファイルです") : reason(errno));
        // A new file in its place would leave the other names with the old
        // content without a word: such a file is not replaced.
        if (existing.st_nlink > 1)
            failWrite(path, "ほかの名前（ハードリンク）でも使われているファイルです。置き換えるとほかの名前が古い内容のまま残るため保存しません");
    } else if (errno != ENOENT) {
        failWrite(path, reason(errno));
    }

    removeStaleTemporariesOf(target);

    const std::filesystem::path folder = folderOf(target);
    const std::string prefix = temporaryPrefix(target.filename().string());
    Temporary temp = openTemporary(path, folder, prefix);

    auto abandon = [&](const std::string& why) {
        temp.discard();
        failWrite(path, why);
    };

    if (exists) {
        struct stat made {};
        if (::fstat(temp.file.fd, &made) != 0) abandon(reason(errno));
        if ((made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) &&
            ::fchown(temp.file.fd, existing.st_uid, existing.st_gid) != 0)
            abandon("ファイルの所有者を保てません（" + reason(errno) + "）");
        // After the owner: a change of owner clears the set-ID bits. File
        // systems without modes (a FAT memory stick) refuse it harmlessly.
        (void)::fchmod(temp.file.fd, existing.st_mode & 07777);
        // After the mode: the access list sets the group bits to its mask.
        if (const std::string why = copyAttributes(target, temp.file.fd); !why.empty()) abandon(why);
    }

    pausePoint("before-write");
    bool completed = false;
    try {
        completed = body([&](std::string_view bytes) {
            if (!writeAll(temp.file.fd, bytes)) abandon(reason(errno));
        });
    } catch (...) {
        temp.discard();
        throw;
    }
    if (!completed) {
        temp.discard();
        return false;
    }
    if (::fsync(temp.file.fd) != 0 && errno != EINVAL && errno != EROFS) abandon(reason(errno));
    pausePoint("after-fsync");
    // The last chance to stop: once renamed, the save has happened.
    if (progress && !progress(100)) {
        temp.discard();
        return false;
    }
    // An unnamed temporary gets its name only now, complete and locked, for
    // the moment until the rename (a link cannot replace an existing file).
    if (temp.name.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(temp.file.fd);
        for (int attempt = 0; temp.name.empty(); ++attempt) {
            const std::filesystem::path name = folder / temporaryName(prefix);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
                temp.name = name;
            else if (errno != EEXIST || attempt >= kNameAttempts)
                abandon(reason(errno));
        }
    }
    if (::rename(temp.name.c_str(), target.c_str()) != 0) abandon(reason(errno));
    temp.name.clear();  // it is the target now
    pausePoint("after-rename");
    // The rename itself reaches the disk with the folder.
    Fd dir;
    dir.fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir.fd >= 0) (void)::fsync(dir.fd);
    // The data was synced before the rename: a late close error changes nothing on disk.
    (void)::close(temp.file.release());
    return true;
}

}  // namespace

bool writeFileBytesAtomic(const std::filesystem::path& path, std::string_view bytes, const ProgressCallback& progress) {
    return writeAtomic(
        path,
        [&](const FileWriter& write) {
            PercentProgress report(progress);
            bool halfway = false;
            for (std::size_t done = 0; done < bytes.size();) {
                // Chunks end at the middle once, where a test may hold the save.
                const std::size_t half = bytes.size() / 2;
                const std::size_t limit = !halfway && half > done ? half : bytes.size();
                const std::size_t part = std::min(kWriteChunk, limit - done);
                write(bytes.substr(done, part));
                done += part;
                if (!halfway && done >= bytes.size() / 2) {
                    halfway = true;
                    pausePoint("mid-write");
                }
                if (!report.report(done, bytes.size())) return false;
            }
            return true;
        },
        progress);
}

bool writeFileStreamAtomic(const std::filesystem::path& path, const std::function<bool(const FileWriter& write)>& produce,
                           const ProgressCallback& progress) {
    return writeAtomic(path, produce, progress);
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
