#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "io/cp932.h"
#include "io/program_folder.h"
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
        EXPECT_NE(message.find(std::strerror(ENOENT)), std::string::npos) << message;
        EXPECT_EQ(e.reason(), std::strerror(ENOENT));
    }
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
