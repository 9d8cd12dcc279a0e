// Writing Tambor.ini changes only the values a window changed: everything
// else in the file — foreign lines, unreadable bytes, another window's
// values — survives byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "history_test_support.h"
#include "io/cp932.h"
#include "io/program_files.h"
#include "io/text_file.h"
#include "session/session.h"
#include "session/settings_merge.h"

using namespace tambor;
using history_test::slurp;
using history_test::TempFolder;
namespace fs = std::filesystem;

namespace {

void put(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// A file as a user may have left it: a comment before the first section,
// an unknown key and a line with a byte neither cp932 nor UTF-8 allows
// among the program's own, and a section the program knows nothing of.
std::string cp932(const std::string& utf8) { return utf8ToCp932(utf8, "test"); }

// A file as a user may have left it: a comment before the first section,
// an unknown key and a line with bytes neither cp932 nor UTF-8 allows among
// the program's own, and a section the program knows nothing of, whose
// last line ends in LF only, as another editor wrote it.
std::string handEdited() {
    return cp932("; メモ my notes\r\n[動作モード設定]\r\nMini6Mode=1\r\nFavourite=7\r\n\r\n[保存形式]\r\nSaveFormat=0\r\n") +
           "Note=\xFF\xFE broken\r\n" + cp932("\r\n[自分用]\r\nLucky=3,14,15\n");
}

std::string withLine(std::string bytes, const std::string& find, const std::string& replace) {
    const std::size_t at = bytes.find(find);
    EXPECT_NE(at, std::string::npos) << find;
    return bytes.replace(at, find.size(), replace);
}

}  // namespace

TEST(SettingsMerge, OnlyTheChangedValueIsRewritten) {
    const std::string file = handEdited();
    StoredSettings read;
    read.game = GameMode::Loto6;
    StoredSettings now = read;
    now.options.saveFormat = SaveFormat::Text;
    const auto merged = mergedSettingsBytes(file, settingsLines(read, nullptr), settingsLines(now, nullptr));
    ASSERT_TRUE(merged);
    // Every other line keeps its bytes; the last one gains its CR LF.
    EXPECT_EQ(*merged, withLine(withLine(file, "SaveFormat=0", "SaveFormat=1"), "Lucky=3,14,15\n", "Lucky=3,14,15\r\n"));
    // Nothing changed: nothing to write.
    EXPECT_FALSE(mergedSettingsBytes(file, settingsLines(read, nullptr), settingsLines(read, nullptr)));
}

TEST(SettingsMerge, MissingKeysJoinTheirSectionAndRemovedOnesGo) {
    const std::string file = handEdited();
    StoredSettings read;
    read.game = GameMode::Loto6;
    read.options.updateUrl = "https://a.example/";
    StoredSettings now = read;
    now.options.escAction = true;                      // section missing in the file: added at the end
    now.options.popupHint = true;                      // likewise
    now.options.proxyPort = "8080";                    // likewise, beside its section's other values
    now.game = GameMode::Loto7;                        // Mini6Mode=0 replaces, Game=2 joins [動作モード設定]
    now.options.updateUrl.clear();                     // the key goes (the file never had it)
    const auto merged = mergedSettingsBytes(file, settingsLines(read, nullptr), settingsLines(now, nullptr));
    ASSERT_TRUE(merged);
    const std::string expected =
        cp932("; メモ my notes\r\n[動作モード設定]\r\nMini6Mode=0\r\nFavourite=7\r\nGame=2\r\n\r\n[保存形式]\r\nSaveFormat=0\r\n") +
        "Note=\xFF\xFE broken\r\n" +
        cp932("\r\n[自分用]\r\nLucky=3,14,15\r\n"
              "\r\n[ヘルプ]\r\nPopupHint=1\r\n\r\n"
              "[キー割り当て]\r\nESC_Action=1\r\n\r\n"
              "[インターネット]\r\nProxyPort=8080\r\n\r\n");
    EXPECT_EQ(*merged, expected);

    // Back to ロト６: Game= goes from wherever it is; a program section
    // emptied by that goes with it.
    const std::string written = "[動作モード設定]\r\nMini6Mode=0\r\nGame=2\r\n\r\n[オプション]\r\nUpdateUrl=x\r\n\r\n[メモ]\r\n";
    StoredSettings loto7;
    loto7.game = GameMode::Loto7;
    loto7.options.updateUrl = "x";
    StoredSettings loto6;
    loto6.game = GameMode::Loto6;
    const auto back = mergedSettingsBytes(cp932(written), settingsLines(loto7, nullptr), settingsLines(loto6, nullptr));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, cp932("[動作モード設定]\r\nMini6Mode=1\r\n\r\n[メモ]\r\n"));
}

// A printer's margins given twice in the file are kept as they are: the
// reader takes the first, and so does the comparison.
TEST(SettingsMerge, AKeyGivenTwiceIsLeftAsItIs) {
    StoredSettings read;
    read.options.printerName = "Other";
    read.options.otherPrinterMargins = {"Other=1.0, 1.0", "Other=2.0, 2.0"};
    std::string file;
    for (const std::string& line : settingsLines(read, nullptr)) file += cp932(line) + "\r\n";
    StoredSettings now = read;
    now.options.popupHint = true;
    const auto merged = mergedSettingsBytes(file, settingsLines(read, nullptr), settingsLines(now, nullptr));
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, withLine(file, "PopupHint=0", "PopupHint=1"));
}

// The line of a program key whose value holds a bad byte: read as missing,
// kept while the value is not changed, replaced when it is.
TEST(SettingsMerge, AnUnreadableLineOfAProgramKeyIsReplacedOnlyWhenItsValueChanges) {
    TempFolder folder;
    const fs::path ini = folder.path / "Tambor.ini";
    put(ini, cp932("[動作モード設定]\r\n") + "Mini6Mode=1\x81\r\n" + cp932("[自分用]\r\n") + "x=\xFF\r\n");
    const std::string before = slurp(ini);
    {
        Session session(folder.path);
        const Changes read = session.readSettings(nullptr);
        EXPECT_EQ(session.mode(), GameMode::MiniLoto);
        ASSERT_EQ(read.problems().size(), 1u);
        EXPECT_NE(read.problems()[0].find("2, 4 行目"), std::string::npos) << read.problems()[0];
        EXPECT_NE(read.problems()[0].find("Tambor.ini.bak"), std::string::npos) << read.problems()[0];
        // Closed without a change: the file is not touched and no copy made.
        EXPECT_FALSE(session.writeSettings(nullptr).written);
        EXPECT_EQ(slurp(ini), before);
        EXPECT_FALSE(fs::exists(folder.path / "Tambor.ini.bak"));
    }
    Session session(folder.path);
    session.readSettings(nullptr);
    session.switchGame(GameMode::Loto6);
    const SettingsWrite write = session.writeSettings(nullptr);
    EXPECT_TRUE(write.written);
    EXPECT_TRUE(write.backedUp);
    EXPECT_EQ(slurp(folder.path / "Tambor.ini.bak"), before);
    EXPECT_EQ(slurp(ini), cp932("[動作モード設定]\r\nMini6Mode=1\r\n[自分用]\r\n") + "x=\xFF\r\n");
}

// A large file of junk is neither replaced by the defaults nor lost: the
// values the window changed are added, the junk stays.
TEST(SettingsMerge, AFileOfJunkKeepsItsBytes) {
    TempFolder folder;
    const fs::path ini = folder.path / "Tambor.ini";
    std::string junk;
    for (int i = 0; i < 20000; ++i) junk += "\x80\xFFjunk line " + std::to_string(i) + "\r\n";
    put(ini, junk);
    Session session(folder.path);
    session.readSettings(nullptr);
    EXPECT_FALSE(session.writeSettings(nullptr).written);
    EXPECT_EQ(slurp(ini), junk);
    session.changeOptions([](Options& o) { o.popupHint = true; });
    EXPECT_TRUE(session.writeSettings(nullptr).backedUp);
    EXPECT_EQ(slurp(ini), junk + "\r\n" + cp932("[ヘルプ]\r\nPopupHint=1\r\n\r\n"));
    EXPECT_EQ(slurp(folder.path / "Tambor.ini.bak"), junk);
}

// Two windows on one data folder: each one's changes survive the other's
// close, whichever closes last.
TEST(SettingsMerge, TwoWindowsKeepEachOthersChanges) {
    TempFolder folder;
    Session first(folder.path), second(folder.path);
    first.readSettings(nullptr);
    second.readSettings(nullptr);
    first.changeOptions([](Options& o) {
        o.saveFormat = SaveFormat::Text;
        o.links[0] = {"公式", "https://www.example.jp/"};
    });
    first.switchGame(GameMode::Loto7);
    second.changeOptions([](Options& o) {
        o.escAction = true;
        o.recentFiles = {"/home/u/ロト.csv"};
    });
    first.writeSettings(nullptr);
    second.writeSettings(nullptr);

    Session third(folder.path);
    third.readSettings(nullptr);
    EXPECT_EQ(third.mode(), GameMode::Loto7);
    EXPECT_EQ(third.options().saveFormat, SaveFormat::Text);
    EXPECT_EQ(third.options().links[0].title, "公式");
    EXPECT_TRUE(third.options().escAction);
    EXPECT_EQ(third.options().recentFiles, std::vector<std::string>{"/home/u/ロト.csv"});
    // A second close of the same window writes only what changed since its
    // last write.
    first.changeOptions([](Options& o) { o.popupHint = true; });
    first.writeSettings(nullptr);
    third.readSettings(nullptr);
    EXPECT_TRUE(third.options().escAction);
    EXPECT_TRUE(third.options().popupHint);
}

// A file that exists but cannot be read is reported, never replaced by what
// the window holds; one removed meanwhile is written whole.
TEST(SettingsMerge, AFileThatCannotBeReadIsLeftAlone) {
    TempFolder folder;
    const fs::path ini = folder.path / "Tambor.ini";
    Session session(folder.path);
    session.readSettings(nullptr);
    session.changeOptions([](Options& o) { o.popupHint = true; });
    fs::remove(ini);
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    EXPECT_THROW(session.writeSettings(nullptr), FileError);
    EXPECT_EQ(fs::status(ini).type(), fs::file_type::fifo);
    fs::remove(ini);
    EXPECT_TRUE(session.writeSettings(nullptr).written);
    EXPECT_EQ(readSettingsFile(ini, StoredSettings{}, nullptr), session.storedSettings());
}

// A list is never saved over the copy kept of the settings.
TEST(SettingsMerge, TheSettingsCopyIsAProgramFile) {
    TempFolder folder;
    EXPECT_TRUE(isProgramFile(folder.path / "Tambor.ini.bak", folder.path));
    EXPECT_TRUE(isProgramFile(folder.path / "TAMBOR.INI.BAK", folder.path));
}
