#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <thread>
#include <tuple>

#include "io/cp932.h"
#include "io/program_folder.h"
#include "io/system_error_text.h"
#include "io/text_file.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
struct TempFolder {
    fs::path path;
    TempFolder() {
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '_');
        path = fs::temp_directory_path() / ("tambor-io-" + std::to_string(::getpid()) + "-" + name);
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
};

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

struct SplitLinesRow {
    const char* name;
    std::string text;
    std::vector<std::string> lines;
};

class SplitLines : public ::testing::TestWithParam<SplitLinesRow> {};

TEST_P(SplitLines, AtCrLfAndCrLf) { EXPECT_EQ(splitLines(GetParam().text), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(
    Text, SplitLines,
    ::testing::Values(SplitLinesRow{"empty", "", {}}, SplitLinesRow{"no_line_end", "a", {"a"}},
                      SplitLinesRow{"crlf", "a\r\nb\r\n", {"a", "b"}}, SplitLinesRow{"lf", "a\nb", {"a", "b"}},
                      SplitLinesRow{"cr", "a\rb\r", {"a", "b"}},
                      SplitLinesRow{"trailing_empty_line", "a\r\n\r\n", {"a", ""}},
                      SplitLinesRow{"lf_cr_is_two_ends", "a\n\rb", {"a", "", "b"}},
                      SplitLinesRow{"only_line_ends", "\r\n\n\r", {"", "", ""}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(TextFile, WriteLinesIsCp932WithCrLfAfterEveryLine) {
    TempFolder dir;
    const fs::path file = dir.path / "out.txt";
    writeTextFileLines(file, {"[ロト６]", "  1, 2, 3, 4, 5, 6", ""});
    EXPECT_EQ(slurp(file), "[\x83\x8D\x83\x67\x82\x55]\r\n  1, 2, 3, 4, 5, 6\r\n\r\n");
    EXPECT_EQ(readTextFileLines(file), (std::vector<std::string>{"[ロト６]", "  1, 2, 3, 4, 5, 6", ""}));
    // Only the target is left: the temporary file was renamed over it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(TextFile, AtomicWriteReplacesAndKeepsPermissions) {
    TempFolder dir;
    const fs::path file = dir.path / "keep.txt";
    writeFileBytesAtomic(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    writeFileBytesAtomic(file, "new");
    EXPECT_EQ(slurp(file), "new");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(TextFile, UnencodableLineLeavesTargetUntouched) {
    TempFolder dir;
    const fs::path file = dir.path / "t.txt";
    writeFileBytesAtomic(file, "before");
    EXPECT_THROW(writeTextFileLines(file, {"caf\xC3\xA9"}), TextEncodingError);
    EXPECT_EQ(slurp(file), "before");
}

TEST(TextFile, MissingFileNamesFileAndReason) {
    TempFolder dir;
    const fs::path file = dir.path / "none.txt";
    try {
        readFileBytes(file);
        FAIL() << "no error";
    } catch (const FileError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find(file.string()), std::string::npos) << message;
        EXPECT_NE(message.find("ファイルまたはフォルダーがありません"), std::string::npos) << message;
        EXPECT_EQ(e.reason(), systemErrorText(ENOENT));
    }
}

// Each system error has its own Japanese wording, with no English system
// text inside (the window and the command line show the same words).
TEST(SystemErrorText, OneJapaneseWordingPerError) {
    const std::vector<int> errors{ENOENT, EACCES,       EPERM, ENOSPC, EDQUOT, EROFS,  EISDIR,
                                  ENOTDIR, ENAMETOOLONG, ELOOP, EIO,    EEXIST, ENOMEM, EFBIG};
    std::vector<std::string> texts;
    for (const int err : errors) {
        const std::string text = systemErrorText(err);
        EXPECT_FALSE(text.empty()) << err;
        EXPECT_EQ(text.find_first_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos)
            << err << ": " << text;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), text), 0) << err << ": " << text;
        texts.push_back(text);
    }
    // A read-only file system is not a read-only file.
    EXPECT_EQ(systemErrorText(EROFS), "読み取り専用のファイルシステムです");
    EXPECT_EQ(systemErrorText(ENOSPC), "ディスクの空き容量が足りません");
    // An error without a wording is named by its number, still in Japanese.
    EXPECT_EQ(systemErrorText(EHWPOISON), "システムエラー（エラー番号 " + std::to_string(EHWPOISON) + "）");
}

TEST(TextFile, FileAboveLimitIsAnError) {
    TempFolder dir;
    const fs::path file = dir.path / "big.txt";
    writeFileBytesAtomic(file, std::string(100, 'x'));
    EXPECT_EQ(readFileBytes(file, 100).size(), 100u);
    EXPECT_THROW(readFileBytes(file, 99), FileError);
}

TEST(TextFile, UndecodableFileNamesOffset) {
    TempFolder dir;
    const fs::path file = dir.path / "bad.txt";
    writeFileBytesAtomic(file, "ok\r\n\xFF");
    try {
        readTextFileLines(file);
        FAIL() << "no error";
    } catch (const TextEncodingError& e) {
        EXPECT_EQ(e.offset(), 4u);
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos);
    }
}

// programDataFolder: the executable's folder when writable, else the user's
// data folder, created. Writability is injected because the tests may run as
// root, for whom a read-only folder is still writable.
TEST(ProgramFolder, WritableExecutableFolderIsUsed) {
    TempFolder dir;
    const fs::path user = dir.path / "user" / "tambor";
    EXPECT_EQ(programDataFolder(dir.path, user, [](const fs::path&) { return true; }), dir.path);
    EXPECT_FALSE(fs::exists(user));
}

TEST(ProgramFolder, ReadOnlyExecutableFolderFallsBackToCreatedUserFolder) {
    TempFolder dir;
    const fs::path user = dir.path / "share" / "tambor";
    EXPECT_EQ(programDataFolder(dir.path / "bin", user, [](const fs::path&) { return false; }), user);
    EXPECT_TRUE(fs::is_directory(user));
}

// A program installed in a system folder keeps each user's files in their
// own data folder even when it could write beside itself (root).
TEST(ProgramFolder, SystemFolderIsNeverUsedEvenWhenWritable) {
    TempFolder dir;
    const fs::path user = dir.path / "share" / "tambor";
    const auto writable = [](const fs::path&) { return true; };
    for (const char* installed : {"/usr/bin", "/usr/local/bin", "/bin", "/opt/tambor/bin", "/usr/bin/../bin"})
        EXPECT_EQ(programDataFolder(installed, user, writable), user) << installed;
    for (const char* own : {"/home/user/tambor", "/usrlocal/bin", "/tmp/usr/bin"})
        EXPECT_FALSE(isSystemProgramFolder(own)) << own;
}

TEST(ProgramFolder, UncreatableUserFolderIsAnError) {
    TempFolder dir;
    writeFileBytesAtomic(dir.path / "file", "x");
    EXPECT_THROW(programDataFolder(dir.path, dir.path / "file" / "tambor", [](const fs::path&) { return false; }),
                 FileError);
}

TEST(ProgramFolder, RealAccessCheck) {
    TempFolder dir;
    EXPECT_TRUE(isFolderWritable(dir.path));
    if (::geteuid() == 0) GTEST_SKIP() << "root may write into a read-only folder";
    fs::permissions(dir.path, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(isFolderWritable(dir.path));
}

struct UserFolderRow {
    const char* name;
    const char* xdg;
    const char* home;
    const char* expected;
};

class UserFolder : public ::testing::TestWithParam<UserFolderRow> {};

TEST_P(UserFolder, FromEnvironment) {
    const auto& row = GetParam();
    EXPECT_EQ(userDataFolder(row.xdg, row.home), fs::path(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Env, UserFolder,
    ::testing::Values(UserFolderRow{"xdg_set", "/x/data", "/home/u", "/x/data/tambor"},
                      UserFolderRow{"xdg_unset", nullptr, "/home/u", "/home/u/.local/share/tambor"},
                      UserFolderRow{"xdg_empty", "", "/home/u", "/home/u/.local/share/tambor"},
                      UserFolderRow{"xdg_relative_ignored", "rel", "/home/u", "/home/u/.local/share/tambor"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(UserFolder, NoHomeIsAnError) { EXPECT_THROW(userDataFolder(nullptr, nullptr), FileError); }

// ---------------------------------------------------------------- saving never harms the path

namespace {

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool isRoot() { return ::geteuid() == 0; }

}  // namespace

TEST(AtomicSave, SymbolicLinkIsFollowedAndStaysALink) {
    TempFolder dir;
    fs::create_directories(dir.path / "real");
    writeFileBytesAtomic(dir.path / "real" / "list.csv", "old");
    // A relative link in another folder, reached through a second link.
    fs::create_symlink("real/list.csv", dir.path / "first.csv");
    fs::create_symlink(dir.path / "first.csv", dir.path / "second.csv");
    writeFileBytesAtomic(dir.path / "second.csv", "new");
    EXPECT_TRUE(fs::is_symlink(dir.path / "first.csv"));
    EXPECT_TRUE(fs::is_symlink(dir.path / "second.csv"));
    EXPECT_EQ(slurp(dir.path / "real" / "list.csv"), "new");
    EXPECT_EQ(folderEntries(dir.path / "real"), std::vector<std::string>{"list.csv"});
    EXPECT_EQ(folderEntries(dir.path), (std::vector<std::string>{"first.csv", "real", "second.csv"}));
}

TEST(AtomicSave, DanglingLinkCreatesTheFileItNames) {
    TempFolder dir;
    fs::create_symlink("made.txt", dir.path / "link.txt");
    writeFileBytesAtomic(dir.path / "link.txt", "x");
    EXPECT_TRUE(fs::is_symlink(dir.path / "link.txt"));
    EXPECT_EQ(slurp(dir.path / "made.txt"), "x");
}

TEST(AtomicSave, LinkLoopIsAnError) {
    TempFolder dir;
    fs::create_symlink("b", dir.path / "a");
    fs::create_symlink("a", dir.path / "b");
    EXPECT_THROW(writeFileBytesAtomic(dir.path / "a", "x"), FileError);
    EXPECT_TRUE(fs::is_symlink(dir.path / "a"));
}

struct SpecialFileRow {
    const char* name;
    bool needsRoot;
    void (*make)(const fs::path& path);
    fs::file_type type;
    const char* reason;
};

std::vector<SpecialFileRow> specialFiles() {
    return {SpecialFileRow{"fifo", false, [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
                       fs::file_type::fifo, "FIFO"},
        // The same device as the system's null device, made in the test's folder.
        SpecialFileRow{"character_device", true,
                       [](const fs::path& p) { ASSERT_EQ(::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0); },
                       fs::file_type::character, "デバイス"},
        SpecialFileRow{"socket", false,
                       [](const fs::path& p) { ASSERT_EQ(::mknod(p.c_str(), S_IFSOCK | 0644, 0), 0); },
                       fs::file_type::socket, "ソケット"},
        SpecialFileRow{"folder", false, [](const fs::path& p) { fs::create_directory(p); }, fs::file_type::directory,
                       "フォルダー"}};
}

class AtomicSaveRefuses : public ::testing::TestWithParam<SpecialFileRow> {};

// A FIFO, device, socket or folder keeps what it is: a save never puts a
// regular file in its place.
TEST_P(AtomicSaveRefuses, WhatIsNotARegularFile) {
    const SpecialFileRow& row = GetParam();
    if (row.needsRoot && !isRoot()) GTEST_SKIP() << "needs root";
    TempFolder dir;
    const fs::path path = dir.path / "target.csv";
    row.make(path);
    try {
        writeFileBytesAtomic(path, "data");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
        EXPECT_NE(e.reason().find(row.reason), std::string::npos) << e.reason();
    }
    EXPECT_EQ(fs::symlink_status(path).type(), row.type);
    EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"target.csv"});
}

INSTANTIATE_TEST_SUITE_P(Targets, AtomicSaveRefuses, ::testing::ValuesIn(specialFiles()),
                         [](const auto& row) { return std::string(row.param.name); });

class ReadRefuses : public ::testing::TestWithParam<SpecialFileRow> {};

// Reading what is not a regular file is refused at once, as a save is: a
// FIFO nobody writes to would otherwise hold the reader for ever.
TEST_P(ReadRefuses, WhatIsNotARegularFileWithoutWaiting) {
    const SpecialFileRow& row = GetParam();
    if (row.needsRoot && !isRoot()) GTEST_SKIP() << "needs root";
    TempFolder dir;
    const fs::path path = dir.path / "list.csv";
    row.make(path);
    for (const auto& read : {+[](const fs::path& p) { (void)readFileBytes(p); },
                             +[](const fs::path& p) { (void)readTextFileLines(p); }}) {
        try {
            read(path);
            FAIL() << "no error";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("読み込めません"), std::string::npos) << e.what();
            EXPECT_NE(e.reason().find(row.reason), std::string::npos) << e.reason();
        }
    }
    EXPECT_EQ(fs::symlink_status(path).type(), row.type);
}

INSTANTIATE_TEST_SUITE_P(Targets, ReadRefuses, ::testing::ValuesIn(specialFiles()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(AtomicSave, ReadOnlyFileIsNotReplaced) {
    TempFolder dir;
    const fs::path path = dir.path / "kept.csv";
    writeFileBytesAtomic(path, "precious");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read);
    try {
        writeFileBytesAtomic(path, "new");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), "読み取り専用のファイルです");
    }
    EXPECT_EQ(slurp(path), "precious");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"kept.csv"});
}

TEST(AtomicSave, OwnerAndPermissionsAreKept) {
    if (!isRoot()) GTEST_SKIP() << "only root can give a file to another owner";
    TempFolder dir;
    const fs::path path = dir.path / "owned.txt";
    writeFileBytesAtomic(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 4321, 8765), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    writeFileBytesAtomic(path, "new");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 8765u);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(slurp(path), "new");
}

// The longest name the file system takes (255 bytes) still saves: the
// temporary's name does not grow with it.
TEST(AtomicSave, LongestFileNameSaves) {
    TempFolder dir;
    for (const std::size_t length : {244u, 250u, 255u}) {
        const std::string name = std::string(length - 4, 'a') + ".csv";
        writeFileBytesAtomic(dir.path / name, "x");
        EXPECT_EQ(slurp(dir.path / name), "x") << length;
        fs::remove(dir.path / name);
    }
    // Japanese names are cut between characters in the temporary's name.
    std::string japanese;
    while (japanese.size() + 3 <= 251) japanese += "組";
    writeFileBytesAtomic(dir.path / (japanese + ".txt"), "y");
    EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{japanese + ".txt"});
}

TEST(AtomicSave, StoppedSaveLeavesTheTargetAndNoTemporary) {
    TempFolder dir;
    const fs::path path = dir.path / "big.txt";
    writeFileBytesAtomic(path, "old");
    std::vector<int> seen;
    const bool saved = writeFileBytesAtomic(path, std::string(std::size_t{5} << 20, 'x'), [&](int percent) {
        seen.push_back(percent);
        return percent < 40;
    });
    EXPECT_FALSE(saved);
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"big.txt"});
    ASSERT_FALSE(seen.empty());
    EXPECT_LT(seen.back(), 100);
    EXPECT_TRUE(writeFileBytesAtomic(path, "new", [](int) { return true; }));
    EXPECT_EQ(slurp(path), "new");
}

TEST(AtomicSave, LeftoversOfEarlierVersionsAreRemoved) {
    TempFolder dir;
    const fs::path path = dir.path / "list.csv";
    writeFileBytesAtomic(dir.path / ".list.csv.tmp-4242-7", std::string(1000, 'x'));
    writeFileBytesAtomic(dir.path / ".other.csv.tmp-4242-7", "not ours");
    writeFileBytesAtomic(dir.path / ".list.csv.tmp-notes", "not a temporary");
    writeFileBytesAtomic(path, "new");
    EXPECT_EQ(folderEntries(dir.path),
              (std::vector<std::string>{".list.csv.tmp-notes", ".other.csv.tmp-4242-7", "list.csv"}));
}

// ---------------------------------------------------------------- killed in the middle of a save

namespace {

// Two big lists' worth of bytes that differ from the first byte on.
std::string bigContent(char fill) {
    std::string text;
    const std::string line = std::string(" 1, 2, 3, 4, 5,") + fill + "\r\n";
    text.reserve(line.size() * 150000);
    for (int i = 0; i < 150000; ++i) text += line;
    return text;
}

std::size_t leftoverCount(const fs::path& folder, const std::string& keep) {
    std::size_t count = 0;
    for (const std::string& name : folderEntries(folder)) count += name != keep;
    return count;
}

// Runs body in a child process; the child never returns into the tests.
template <typename Body>
pid_t spawnChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    return pid;
}

// Waits for the child's sign on the pipe; false when it ended without one
// (the write end is closed here first, so its end is seen, not waited for).
bool awaitSign(int pipe[2]) {
    ::close(pipe[1]);
    char byte = 0;
    const bool signed_ = ::read(pipe[0], &byte, 1) == 1;
    ::close(pipe[0]);
    return signed_;
}

void killAndReap(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

// Saves use named temporaries while one of these lives, as on a file system
// without unnamed files (children forked meanwhile inherit it).
struct NamedTemporaries {
    NamedTemporaries() { allowUnnamedTemporaries(false); }
    ~NamedTemporaries() { allowUnnamedTemporaries(true); }
    NamedTemporaries(const NamedTemporaries&) = delete;
    NamedTemporaries& operator=(const NamedTemporaries&) = delete;
};

}  // namespace

// A child saving a big list over and over is killed at random moments, and
// once in each of several places of a save for certain: the target is
// always the old or the new file, never a mix. An unnamed temporary is never
// seen and nothing is left of it; a named one (where unnamed files are not
// to be had) is locked while its save lives, kept by other saves meanwhile,
// and removed by the next save once its save is dead.
TEST(AtomicSave, KilledSavesLeaveOldOrNewAndNoTemporary) {
    for (const bool named : {false, true}) {
        std::optional<NamedTemporaries> mode;
        if (named) mode.emplace();
        const std::size_t visible = named ? 1 : 0;
        TempFolder dir;
        const fs::path path = dir.path / "list.csv";
        const std::string a = bigContent('A');
        const std::string b = bigContent('B');
        writeFileBytesAtomic(path, a);
        std::mt19937 random(std::random_device{}());

        // Stopped for certain while writing: the child signals from its
        // progress callback, then waits to be killed.
        for (const int stopAt : {1, 50, 99}) {
            int ready[2];
            ASSERT_EQ(::pipe(ready), 0);
            const pid_t child = spawnChild([&] {
                writeFileBytesAtomic(path, b, [&](int percent) {
                    if (percent < stopAt) return true;
                    (void)!::write(ready[1], "x", 1);
                    for (;;) ::pause();
                });
            });
            if (!awaitSign(ready)) {
                killAndReap(child);
                FAIL() << "the child ended before it was half-way: " << stopAt;
            }
            EXPECT_EQ(leftoverCount(dir.path, "list.csv"), visible) << named << " " << stopAt;
            if (stopAt == 50) {
                writeFileBytesAtomic(path, a);
                EXPECT_EQ(leftoverCount(dir.path, "list.csv"), visible) << "a running save's temporary was removed";
            }
            killAndReap(child);
            EXPECT_EQ(slurp(path), a);
        }
        EXPECT_EQ(leftoverCount(dir.path, "list.csv"), visible);

        // Killed at random moments while saving without pause.
        for (int round = 0; round < 12; ++round) {
            const pid_t child = spawnChild([&] {
                for (int i = 0;; ++i) writeFileBytesAtomic(path, i % 2 == 0 ? b : a);
            });
            std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 30000)(random)));
            killAndReap(child);
            const std::string now = slurp(path);
            EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
        }

        writeFileBytesAtomic(path, b);
        EXPECT_EQ(slurp(path), b);
        EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"list.csv"});
    }
}

// Three processes saving one file at once: no save fails by chance (another
// save's clean-up never takes a temporary that is being written), the file
// is one of the complete contents, and no temporary is left.
TEST(AtomicSave, ConcurrentSavesNeverFail) {
    for (const bool named : {false, true}) {
        std::optional<NamedTemporaries> mode;
        if (named) mode.emplace();
        TempFolder dir;
        const fs::path path = dir.path / "shared.csv";
        constexpr std::size_t kSize = 20000;
        std::vector<pid_t> children;
        for (int c = 0; c < 3; ++c) {
            children.push_back(spawnChild([&] {
                const std::string content(kSize, static_cast<char>('a' + c));
                for (int i = 0; i < 150; ++i) writeFileBytesAtomic(path, content);
            }));
        }
        for (const pid_t child : children) {
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed; named: " << named;
        }
        const std::string now = slurp(path);
        ASSERT_EQ(now.size(), kSize);
        EXPECT_EQ(now, std::string(kSize, now[0]));
        EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"shared.csv"});
    }
}

TEST(AtomicSave, StartUpRemovesTheProgramsOwnLeftovers) {
    const NamedTemporaries named;  // an unnamed one leaves nothing to remove
    TempFolder dir;
    const fs::path path = dir.path / "Tambor.ini";
    writeFileBytesAtomic(path, "x");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = spawnChild([&] {
        writeFileBytesAtomic(path, std::string(std::size_t{3} << 20, 'y'), [&](int) -> bool {
            (void)!::write(ready[1], "x", 1);
            for (;;) ::pause();
        });
    });
    const bool waiting = awaitSign(ready);
    killAndReap(child);
    ASSERT_TRUE(waiting) << "the child ended before it was half-way";
    writeFileBytesAtomic(dir.path / ".Tambor.ini.tmp-1-2", "left by an old version");
    EXPECT_EQ(leftoverCount(dir.path, "Tambor.ini"), 2u);
    removeStaleTemporaries(path);
    EXPECT_EQ(folderEntries(dir.path), std::vector<std::string>{"Tambor.ini"});
    EXPECT_EQ(slurp(path), "x");
}

// A file with a second name (a hard link) is not replaced: a new file would
// leave the other name with the old content without a word.
TEST(AtomicSave, HardLinkedFileIsRefusedAndBothNamesKeepTheirContent) {
    TempFolder dir;
    const fs::path path = dir.path / "list.csv";
    const fs::path other = dir.path / "other.csv";
    writeFileBytesAtomic(path, "old");
    fs::create_hard_link(path, other);
    try {
        writeFileBytesAtomic(path, "new");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_NE(e.reason().find("ハードリンク"), std::string::npos) << e.reason();
    }
    EXPECT_EQ(slurp(path), "old");
    EXPECT_EQ(slurp(other), "old");
    EXPECT_EQ(fs::hard_link_count(path), 2u);
    EXPECT_EQ(folderEntries(dir.path), (std::vector<std::string>{"list.csv", "other.csv"}));
    fs::remove(other);
    writeFileBytesAtomic(path, "new");  // one name again
    EXPECT_EQ(slurp(path), "new");
}

// Extended attributes and the access control list stay with the file, and
// the group gains no access through a save.
TEST(AtomicSave, ExtendedAttributesAndAccessListAreKept) {
    TempFolder dir;
    const fs::path path = dir.path / "shared.csv";
    writeFileBytesAtomic(path, "old");
    if (::setxattr(path.c_str(), "user.note", "kept", 4, 0) != 0) GTEST_SKIP() << "no extended attributes here";
    // user::rw- user:4321:rw- group::r-- mask::rw- other::r-- in the kernel's
    // form: a version, then (tag, permissions, id) entries, little-endian.
    std::string acl;
    auto put = [&acl](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    put(2, 4);
    for (const auto& [tag, perm, id] : {std::tuple{0x01u, 6u, ~0u}, std::tuple{0x02u, 6u, 4321u},
                                        std::tuple{0x04u, 4u, ~0u}, std::tuple{0x10u, 6u, ~0u},
                                        std::tuple{0x20u, 4u, ~0u}}) {
        put(tag, 2);
        put(perm, 2);
        put(id, 4);
    }
    const bool withAcl = ::setxattr(path.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) == 0;
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    writeFileBytesAtomic(path, "new");
    EXPECT_EQ(slurp(path), "new");
    char note[16] = {};
    EXPECT_EQ(::getxattr(path.c_str(), "user.note", note, sizeof note), 4);
    EXPECT_EQ(std::string(note, 4), "kept");
    if (withAcl) {
        std::string kept(256, '\0');
        const ssize_t n = ::getxattr(path.c_str(), "system.posix_acl_access", kept.data(), kept.size());
        ASSERT_GT(n, 0);
        kept.resize(static_cast<std::size_t>(n));
        EXPECT_EQ(kept, acl);
    }
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
}
