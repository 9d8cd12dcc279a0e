#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "io/cp932.h"
#include "io/print_margin.h"
#include "session/settings_file.h"
#include "io/text_file.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() / ("tambor-ini-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

const PrinterInfo kPrinter{"EPSON PX-105", 203.2, 271.1};

StoredSettings parse(const std::vector<std::string>& lines, const StoredSettings& current = StoredSettings{}) {
    return parseSettings(lines, current, &kPrinter);
}

}  // namespace

// The file written on the first start, line by line.
TEST(Settings, FirstRunWritesTheExactLayout) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    EXPECT_EQ(path.filename(), "Tambor.ini");
    StoredSettings current = StoredSettings{};
    current.options.horzMargin = 4.23;  // the printer's offsets, taken before the first write
    current.options.vertMargin = 0;
    ASSERT_TRUE(ensureSettingsFile(path, current, &kPrinter));
    EXPECT_FALSE(ensureSettingsFile(path, current, &kPrinter));  // exists now: left alone

    const std::vector<std::string> expected = {
        "[動作モード設定]",
        "Mini6Mode=0",
        "",
        "[保存形式]",
        "SaveFormat=0",
        "",
        "[ヘルプ]",
        "PopupHint=0",
        "",
        "[キー割り当て]",
        "ESC_Action=0",
        "",
        "[インターネット]",
        "UseProxy=0",
        "ProxyAddress=",
        "ProxyPort=",
        "",
        "[当選確率表示オプション]",
        "PrizeViewMethod=0",
        "",
        "[印刷オプション]",
        "EPSON PX-105=4.23,   0",
        "",
        "[抽選オプション]",
        "DefTimes=50",
        "LotMode=連対しやすい数字を優先する",
        "RSystem=0",
        "ArrangeMode=乱数で並び順を決定する",
        "PastRemove=0",
        "",
        "[追加LINK]",
        "追加LINK(1)=追加１,about:blank",
        "追加LINK(2)=追加２,about:blank",
        "追加LINK(3)=追加３,about:blank",
        "",
    };
    ASSERT_EQ(expected.size(), 35u);
    const std::string bytes = readFileBytes(path);
    std::string expectedBytes;
    for (const auto& line : expected) expectedBytes += utf8ToCp932(line, "t") + "\r\n";
    EXPECT_EQ(bytes, expectedBytes);
    const auto lines = readTextFileLines(path);
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;

    // Read back: the defaults, with the printer's margins.
    EXPECT_EQ(readSettingsFile(path, current, &kPrinter), current);
}

TEST(Settings, WithoutPrinterThePrintSectionIsLeftOut) {
    const auto lines = settingsLines(StoredSettings{}, nullptr);
    EXPECT_EQ(lines.size(), 32u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "[印刷オプション]"), 0);
    EXPECT_EQ(lines[20], "[抽選オプション]");
}

TEST(Settings, RoundTripOfEveryOption) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    StoredSettings s;
    s.game = GameMode::Loto6;
    s.options.saveFormat = SaveFormat::Text;
    s.options.popupHint = true;
    s.options.escAction = true;
    s.options.useProxy = true;
    s.options.proxyAddress = "proxy.example.jp";
    s.options.proxyPort = "8080";
    s.options.probabilityView = ProbabilityView::Fraction;
    s.options.horzMargin = 12.25;
    s.options.vertMargin = 4.5;
    s.options.defaultDrawCount = 300;
    s.options.priorityMode = PriorityMode::AvoidPairs;
    s.options.rSystem = true;
    s.options.arrangeMode = ArrangeMode::Descending;
    s.options.pastRemove = true;
    s.options.links[0] = {"宝くじ,公式", "http://example.jp/a"};  // a comma in the title survives
    s.options.links[2] = {"", "mailto:someone@example.jp"};
    writeSettingsFile(path, s, &kPrinter);
    EXPECT_EQ(readSettingsFile(path, StoredSettings{}, &kPrinter), s);
}

// ---------------------------------------------------------------- lookup

struct LookupRow {
    const char* name;
    std::vector<std::string> lines;
    GameMode game;
};

class GameLookup : public ::testing::TestWithParam<LookupRow> {};

TEST_P(GameLookup, ReadsMini6Mode) { EXPECT_EQ(parse(GetParam().lines).game, GetParam().game); }

INSTANTIATE_TEST_SUITE_P(
    Settings, GameLookup,
    ::testing::Values(LookupRow{"plain", {"Mini6Mode=1"}, GameMode::Loto6},
                      LookupRow{"other_case", {"MINI6MODE=1"}, GameMode::Loto6},
                      LookupRow{"leading_blanks_in_key", {" Mini6Mode=1"}, GameMode::MiniLoto},
                      LookupRow{"blank_before_value", {"Mini6Mode= 1"}, GameMode::Loto6},
                      LookupRow{"any_section", {"[保存形式]", "Mini6Mode=1"}, GameMode::Loto6},
                      LookupRow{"first_occurrence_wins", {"Mini6Mode=0", "Mini6Mode=1"}, GameMode::MiniLoto},
                      LookupRow{"two_means_mini", {"Mini6Mode=2"}, GameMode::MiniLoto},
                      LookupRow{"trailing_text", {"Mini6Mode=1x"}, GameMode::MiniLoto},
                      LookupRow{"missing", {"[動作モード設定]"}, GameMode::MiniLoto},
                      LookupRow{"no_equals", {"Mini6Mode 1"}, GameMode::MiniLoto},
                      LookupRow{"game_two_is_loto7", {"Mini6Mode=0", "Game=2"}, GameMode::Loto7},
                      LookupRow{"game_before_mini6mode", {"Mini6Mode=1", "Game=0"}, GameMode::MiniLoto},
                      LookupRow{"game_out_of_range", {"Mini6Mode=1", "Game=3"}, GameMode::Loto6},
                      LookupRow{"game_negative", {"Game=-1"}, GameMode::MiniLoto}),
    [](const auto& row) { return std::string(row.param.name); });

// ロト７ is kept as Game=2 beside Mini6Mode=0, which older copies read as
// ミニロト; the file of the other two games keeps its layout.
TEST(Settings, Loto7WritesGameTwo) {
    StoredSettings s;
    s.game = GameMode::Loto7;
    const auto lines = settingsLines(s, nullptr);
    EXPECT_EQ(lines[1], "Mini6Mode=0");
    EXPECT_EQ(lines[2], "Game=2");
    EXPECT_EQ(parse(lines).game, GameMode::Loto7);
    s.game = GameMode::Loto6;
    EXPECT_EQ(settingsLines(s, nullptr)[1], "Mini6Mode=1");
    EXPECT_EQ(settingsLines(s, nullptr).size(), lines.size() - 1);
}

TEST(Settings, Mini6ModeTwoIsWrittenBackAsZero) {
    const StoredSettings s = parse({"Mini6Mode=2"});
    EXPECT_EQ(settingsLines(s, nullptr)[1], "Mini6Mode=0");
}

struct LotModeRow {
    const char* name;
    const char* value;
    int code;
};

class LotModeValues : public ::testing::TestWithParam<LotModeRow> {};

TEST_P(LotModeValues, LookupOrderQuirk) {
    EXPECT_EQ(static_cast<int>(parse({std::string("LotMode=") + GetParam().value}).options.priorityMode), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Settings, LotModeValues,
                         ::testing::Values(LotModeRow{"n0", "0", 0}, LotModeRow{"n1", "1", 2}, LotModeRow{"n2", "2", 3},
                                           LotModeRow{"n3", "3", 4}, LotModeRow{"n4", "4", 6},
                                           LotModeRow{"n5", "5", 1}, LotModeRow{"n6", "6", 5},
                                           LotModeRow{"n9", "9", 0}, LotModeRow{"negative", "-1", 0},
                                           LotModeRow{"n64_is_text", "64", 0}, LotModeRow{"blank_then_3", " 3", 4},
                                           LotModeRow{"text_code4", "出にくい数字を優先する", 4},
                                           LotModeRow{"text_code1", "偏差値が高い数字を優先する", 1},
                                           LotModeRow{"text_with_trailing_blank", "出にくい数字を優先する ", 0},
                                           LotModeRow{"unknown_text", "なんでも", 0}, LotModeRow{"empty", "", 0}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(Settings, ArrangeModeIsMatchedByText) {
    EXPECT_EQ(parse({"ArrangeMode=大きい順に並べる"}).options.arrangeMode, ArrangeMode::Descending);
    EXPECT_EQ(parse({"ArrangeMode=1"}).options.arrangeMode, ArrangeMode::Random);
    StoredSettings s;
    s.options.arrangeMode = static_cast<ArrangeMode>(7);  // no text: the line is left out
    s.options.priorityMode = static_cast<PriorityMode>(-1);
    const auto lines = settingsLines(s, nullptr);
    EXPECT_EQ(lines.size(), 30u);
}

// The fewest-tickets order is stored by its text, as the others; its
// number 3 (as once written) is still read, other numbers keep meaning the
// random order.
TEST(Settings, FewestOrderIsStoredAsItsText) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    StoredSettings s;
    s.options.rSystem = true;
    s.options.arrangeMode = ArrangeMode::Fewest;
    const auto lines = settingsLines(s, nullptr);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ArrangeMode=口数優先（少ない組数）"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "ArrangeMode=3"), 0);
    writeSettingsFile(path, s, &kPrinter);
    EXPECT_EQ(readSettingsFile(path, StoredSettings{}, &kPrinter), s);

    const std::pair<const char*, ArrangeMode> values[] = {
        {"ArrangeMode=3", ArrangeMode::Fewest},          {"ArrangeMode= 3", ArrangeMode::Fewest},
        {"ArrangeMode=口数優先（少ない組数）", ArrangeMode::Fewest}, {"ArrangeMode=0", ArrangeMode::Random},
        {"ArrangeMode=1", ArrangeMode::Random},          {"ArrangeMode=2", ArrangeMode::Random},
        {"ArrangeMode=4", ArrangeMode::Random},          {"ArrangeMode=3.0", ArrangeMode::Random},
        {"ArrangeMode=小さい順に並べる", ArrangeMode::Ascending}, {"ArrangeMode=大きい順に並べる", ArrangeMode::Descending},
        {"ArrangeMode=乱数で並び順を決定する", ArrangeMode::Random}};
    for (const auto& [line, mode] : values) EXPECT_EQ(parse({line}).options.arrangeMode, mode) << line;
}

TEST(Settings, IntegerValuesAndFallbacks) {
    StoredSettings current;
    current.options.defaultDrawCount = 77;
    const StoredSettings s = parseSettings({"SaveFormat=3", "PopupHint=-5", "UseProxy=0", "PrizeViewMethod=1",
                                      "DefTimes=abc", "RSystem=2", "PastRemove=1.0"},
                                     current, nullptr);
    EXPECT_EQ(s.options.saveFormat, SaveFormat::Csv);
    EXPECT_TRUE(s.options.popupHint);
    EXPECT_FALSE(s.options.useProxy);
    EXPECT_EQ(s.options.probabilityView, ProbabilityView::Fraction);
    EXPECT_EQ(s.options.defaultDrawCount, 77);  // unparsable: the current position stays
    EXPECT_TRUE(s.options.rSystem);
    EXPECT_FALSE(s.options.pastRemove);
    EXPECT_EQ(parse({"DefTimes=20000"}).options.defaultDrawCount, kDefaultDrawCountMax);
    EXPECT_EQ(parse({"DefTimes=0"}).options.defaultDrawCount, kDefaultDrawCountMin);
    EXPECT_EQ(parse({"DefTimes= 30"}).options.defaultDrawCount, 30);
}

struct LinkRow {
    const char* name;
    const char* line;
    UserLink link;
};

class LinkValues : public ::testing::TestWithParam<LinkRow> {};

TEST_P(LinkValues, SplitAtTheLastComma) {
    StoredSettings current;
    current.options.links[0] = {"今の題", "http://current.example/"};
    EXPECT_EQ(parse({GetParam().line}, current).options.links[0].title, GetParam().link.title);
    EXPECT_EQ(parse({GetParam().line}, current).options.links[0].target, GetParam().link.target);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LinkValues,
    ::testing::Values(LinkRow{"one_comma", "追加LINK(1)=題,http://a.example/", {"題", "http://a.example/"}},
                      LinkRow{"two_commas", "追加LINK(1)=a,b,c", {"a,b", "c"}},
                      LinkRow{"no_comma", "追加LINK(1)=about:blank", {"", "about:blank"}},
                      LinkRow{"other_case_key", "追加link(1)=x,y", {"x", "y"}},
                      LinkRow{"empty_keeps_current", "追加LINK(1)=", {"今の題", "http://current.example/"}},
                      LinkRow{"missing_keeps_current", "追加LINK(2)=x,y", {"今の題", "http://current.example/"}}),
    [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- margins

struct MarginRow {
    const char* name;
    std::vector<std::string> lines;
    double horz;
    double vert;
};

class MarginValues : public ::testing::TestWithParam<MarginRow> {};

TEST_P(MarginValues, ParsedForTheCurrentPrinter) {
    StoredSettings current;
    current.options.horzMargin = 3.25;
    current.options.vertMargin = 1.5;
    const StoredSettings s = parse(GetParam().lines, current);
    EXPECT_DOUBLE_EQ(s.options.horzMargin, GetParam().horz);
    EXPECT_DOUBLE_EQ(s.options.vertMargin, GetParam().vert);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, MarginValues,
    ::testing::Values(MarginRow{"blanks_before_number", {"EPSON PX-105=4.5,  3"}, 4.5, 3},
                      MarginRow{"two_decimals_kept", {"EPSON PX-105=2.567,2."}, 2.56, 2},
                      MarginRow{"above_page_size", {"EPSON PX-105=500,900"}, 203.2, 271.1},
                      MarginRow{"not_numbers_keep_current", {"EPSON PX-105=x,y"}, 3, 1},
                      MarginRow{"fraction_not_number", {"EPSON PX-105=7.x,8"}, 7.25, 8},
                      MarginRow{"other_printer_ignored", {"Canon LBP=9,9"}, 3.25, 1.5},
                      MarginRow{"empty_value_keeps_printer_offsets", {"EPSON PX-105="}, 3.25, 1.5},
                      MarginRow{"key_other_case", {"epson px-105=6,7"}, 6, 7},
                      // Margins are never negative, however they were stored.
                      MarginRow{"negative", {"EPSON PX-105=-2.5,-7"}, 0, 0},
                      MarginRow{"negative_below_one", {"EPSON PX-105=-0.5, -0.25"}, 0, 0},
                      MarginRow{"minus_zero", {"EPSON PX-105=-0,-0."}, 0, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// What a margin reads as is what it writes back as: nothing drifts over
// save and load cycles.
TEST(Settings, MarginsAreStableOverSaveAndLoadCycles) {
    for (const char* stored : {"-2.5, -0.5", "0.5, 2.25", "12.345, 300", "  0,  0"}) {
        StoredSettings s = parse({std::string("EPSON PX-105=") + stored});
        const StoredSettings first = s;
        for (int cycle = 0; cycle < 3; ++cycle) s = parse(settingsLines(s, &kPrinter));
        EXPECT_DOUBLE_EQ(s.options.horzMargin, first.options.horzMargin) << stored;
        EXPECT_DOUBLE_EQ(s.options.vertMargin, first.options.vertMargin) << stored;
        EXPECT_GE(s.options.horzMargin, 0.0) << stored;
        EXPECT_GE(s.options.vertMargin, 0.0) << stored;
    }
    EXPECT_DOUBLE_EQ(ParseMargin("-3", 10, 5), 0.0);
    EXPECT_DOUBLE_EQ(ParseMargin("x", 10, -4.5), 0.0);  // a negative fallback too
    EXPECT_DOUBLE_EQ(ParseMargin("4.5", -1, 2), 0.0);   // a page without room
}

TEST(Settings, MarginsWithoutPrinterAreNeitherReadNorWritten) {
    StoredSettings current;
    current.options.horzMargin = 3;
    EXPECT_DOUBLE_EQ(parseSettings({"EPSON PX-105=9,9"}, current, nullptr).options.horzMargin, 3);
}

TEST(Settings, MarginFormat) {
    EXPECT_EQ(formatMargin(0), "  0");
    EXPECT_EQ(formatMargin(4.5), "4.5");
    EXPECT_EQ(formatMargin(12.25), "12.25");
    EXPECT_EQ(formatMargin(123.45), "123.5");
}

TEST(Settings, PrinterKey) {
    EXPECT_EQ(printerKey("EPSON PX-105"), "EPSON PX-105");
    EXPECT_EQ(printerKey("\\\\server\\Office Laser"), "Office Laser");
    EXPECT_EQ(printerKey("\\\\print.example.jp\\Laser"), "print");
    EXPECT_EQ(printerKey("HP.LaserJet\\x"), "HP");
}

// ---------------------------------------------------------------- failures

TEST(Settings, MissingFileThrowsWithItsName) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path() / "nowhere");
    try {
        readSettingsFile(path, StoredSettings{}, nullptr);
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos);
    }
    EXPECT_THROW(ensureSettingsFile(path, StoredSettings{}, nullptr), FileError);
}

TEST(Settings, LinesThatCannotBeDecodedAreSkipped) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    std::ofstream(path, std::ios::binary) << "Mini6Mode=1\r\n\x81\r\nPopupHint=1\r\n";
    const StoredSettings s = readSettingsFile(path, StoredSettings{}, nullptr);
    EXPECT_EQ(s.game, GameMode::Loto6);
    EXPECT_TRUE(s.options.popupHint);
    const SettingsFileLines file = readSettingsFileLines(path);
    EXPECT_EQ(file.lines, (std::vector<std::string>{"Mini6Mode=1", "PopupHint=1"}));
    EXPECT_NE(file.problem.find("2 行目"), std::string::npos) << file.problem;
    // Many bad lines: one short message.
    std::string garbage;
    for (int i = 0; i < 40; ++i) garbage += "\xFF\r\n";
    std::ofstream(path, std::ios::binary) << garbage;
    const std::string problem = readSettingsFileLines(path).problem;
    EXPECT_NE(problem.find("1, 2, 3, 4, 5 行目など 40 行"), std::string::npos) << problem;
}

TEST(Settings, TextThatCp932CannotHoldLeavesTheFileAlone) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    writeSettingsFile(path, StoredSettings{}, nullptr);
    const std::string before = readFileBytes(path);
    StoredSettings s;
    s.options.links[1].title = "\xF0\x9F\x8E\xB2";  // an emoji
    EXPECT_THROW(writeSettingsFile(path, s, nullptr), TextEncodingError);
    EXPECT_EQ(readFileBytes(path), before);
}

// ---- Margins of printers not in use ----

// A start while the printer is off (or another is the default) loses no
// calibration: the other printers' lines are written back as they were.
TEST(Settings, MarginsOfAnAbsentPrinterAreKept) {
    const std::vector<std::string> file = {"[印刷オプション]", "MarkCard=  0,   3", "Office Laser=4.5, 2", "",
                                           "[抽選オプション]", "DefTimes=50"};
    for (const PrinterInfo* printer : {static_cast<const PrinterInfo*>(nullptr), &kPrinter}) {
        StoredSettings s = parseSettings(file, StoredSettings{}, printer);
        EXPECT_EQ(s.options.otherPrinterMargins,
                  (std::vector<std::string>{"MarkCard=  0,   3", "Office Laser=4.5, 2"}));
        const std::vector<std::string> written = settingsLines(s, printer);
        const auto section = std::find(written.begin(), written.end(), "[印刷オプション]");
        ASSERT_NE(section, written.end());
        std::vector<std::string> lines(section + 1, std::find(section, written.end(), ""));
        std::vector<std::string> expected = {"MarkCard=  0,   3", "Office Laser=4.5, 2"};
        if (printer) expected.insert(expected.begin(), "EPSON PX-105=  0,   0");
        EXPECT_EQ(lines, expected);
        // And read again, nothing drifts.
        EXPECT_EQ(parseSettings(written, StoredSettings{}, printer), s);
    }
}

// Only lines that could be a printer's are kept: one of the program's own
// keys written back there would be read in place of the real one.
TEST(Settings, OwnKeysInThePrintSectionAreNotKept) {
    const std::vector<std::string> file = {"[印刷オプション]", "DefTimes=5",   "追加link(2)=a,b", "ロト６.sum=1,2,3",
                                           "RECENTFILE1=a.csv", "WindowTop=3", "MarkCard=1,2",    "",
                                           "[抽選オプション]",  "DefTimes=70"};
    const StoredSettings s = parseSettings(file, StoredSettings{}, nullptr);
    EXPECT_EQ(s.options.otherPrinterMargins, (std::vector<std::string>{"MarkCard=1,2"}));
    EXPECT_EQ(s.options.defaultDrawCount, 5);  // the first line with the key, as always
    EXPECT_EQ(parseSettings(settingsLines(s, nullptr), StoredSettings{}, nullptr), s);
}

TEST(Settings, RoundTripWithAnAbsentPrinterKey) {
    TempFolder folder;
    const fs::path path = settingsPath(folder.path());
    writeTextFileLines(path, {"[印刷オプション]", "MarkCard=  1.5,   3", "Printer.Name=MarkCard", ""});
    // No printer at all: the file is read and written back.
    StoredSettings s = readSettingsFile(path, StoredSettings{}, nullptr);
    EXPECT_EQ(s.options.printerName, "MarkCard");
    EXPECT_EQ(storedPrinterName(path), "MarkCard");
    writeSettingsFile(path, s, nullptr);
    // The printer is back: its margins are found.
    const PrinterInfo markCard{"MarkCard", 100, 148};
    const StoredSettings back = readSettingsFile(path, StoredSettings{}, &markCard);
    EXPECT_DOUBLE_EQ(back.options.horzMargin, 1.5);
    EXPECT_DOUBLE_EQ(back.options.vertMargin, 3);
    EXPECT_TRUE(back.options.otherPrinterMargins.empty());
    EXPECT_EQ(back.options.printerName, "MarkCard");
    EXPECT_EQ(storedPrinterName(folder.path() / "missing.ini"), "");
}

TEST(Settings, SwitchingPrintersKeepsEachOnesMargins) {
    const PrinterInfo laser{"Office Laser", 200, 290};
    Options o;
    o.horzMargin = 4.23;
    o.vertMargin = 6.35;
    o.otherPrinterMargins = {"office laser=1, 2.5"};
    // To a printer with stored margins: they come into use, the old ones are kept.
    EXPECT_TRUE(switchPrinterMargins(o, &kPrinter, laser));
    EXPECT_DOUBLE_EQ(o.horzMargin, 1);
    EXPECT_DOUBLE_EQ(o.vertMargin, 2.5);
    EXPECT_EQ(o.otherPrinterMargins, (std::vector<std::string>{"EPSON PX-105=4.23, 6.35"}));
    // And back: the first printer's margins return, the laser's are kept.
    EXPECT_TRUE(switchPrinterMargins(o, &laser, kPrinter));
    EXPECT_DOUBLE_EQ(o.horzMargin, 4.23);
    EXPECT_DOUBLE_EQ(o.vertMargin, 6.35);
    EXPECT_EQ(o.otherPrinterMargins, (std::vector<std::string>{"Office Laser=  1, 2.5"}));
    // To a printer without any: the caller sets its offsets.
    EXPECT_FALSE(switchPrinterMargins(o, &kPrinter, PrinterInfo{"New", 100, 100}));
    EXPECT_EQ(o.otherPrinterMargins.size(), 2u);
    // The same printer again keeps what is in use.
    o.horzMargin = 2;
    EXPECT_TRUE(switchPrinterMargins(o, &laser, laser));
    EXPECT_DOUBLE_EQ(o.horzMargin, 2);
}
