#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "io/combination_file.h"
#include "io/cp932.h"
#include "io/text_file.h"

using namespace tambor;
namespace fs = std::filesystem;

namespace {

// A list of n distinct combinations in a scattered, non-sorted order.
CombinationList makeList(GameMode mode, int n) {
    CombinationList list(mode);
    const auto count = rulesFor(mode).combinationCount;
    for (int i = 0; i < n; ++i) list.appendIndex(static_cast<CombinationIndex>((static_cast<std::int64_t>(i) * 7919 + 13) % count));
    return list;
}

std::vector<std::string> fileLines(const std::string& cp932Bytes) {
    // Every line must end with CR LF, the last one included.
    EXPECT_GE(cp932Bytes.size(), 2u);
    EXPECT_EQ(cp932Bytes.substr(cp932Bytes.size() - 2), "\r\n");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t p; (p = cp932Bytes.find("\r\n", start)) != std::string::npos; start = p + 2)
        lines.push_back(cp932ToUtf8(cp932Bytes.substr(start, p - start), "test"));
    return lines;
}

// Expected lines written compactly: "H" header, "E" empty line, "S" page
// separator, "7" combination 7 alone, "1-5" combinations 1..5 joined by "   || ".
std::vector<std::string> expandLayout(const CombinationList& list, const std::string& pattern) {
    std::vector<std::string> lines;
    std::stringstream in(pattern);
    std::string token;
    while (std::getline(in, token, ',')) {
        if (token == "H") {
            lines.push_back(fileHeader(list.mode()));
        } else if (token == "E") {
            lines.push_back("");
        } else if (token == "S") {
            // One character longer than a full line of five combinations.
            const std::size_t full = 5 * 3 * static_cast<std::size_t>(rulesFor(list.mode()).pickCount) + 4 * 6;
            lines.push_back(std::string(full + 1, '-') + "\f");
        } else {
            const auto dash = token.find('-');
            const int from = std::stoi(token.substr(0, dash));
            const int to = dash == std::string::npos ? from : std::stoi(token.substr(dash + 1));
            std::string line;
            for (int i = from; i <= to; ++i) {
                if (i > from) line += "   || ";
                line += list.lineAt(static_cast<std::size_t>(i - 1));
            }
            lines.push_back(line);
        }
    }
    return lines;
}

std::string csvPattern(int from, int to) {
    std::string s;
    for (int i = from; i <= to; ++i) s += "," + std::to_string(i);
    return s;
}

class TempDir {
public:
    TempDir() {
        path_ = fs::temp_directory_path() / ("tambor-cf-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
        fs::create_directories(path_);
    }
    ~TempDir() { fs::remove_all(path_); }
    fs::path operator/(const std::string& name) const { return path_ / name; }
    const fs::path& path() const { return path_; }

private:
    static inline int counter_ = 0;
    fs::path path_;
};

void writeRaw(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readRaw(const fs::path& path) { return readFileBytes(path); }

}  // namespace

// ---------------------------------------------------------------- layouts

struct LayoutRow {
    const char* name;
    GameMode mode;
    int count;
    FileLayout layout;
    int pages;
    std::string expected;
};

class FileLayoutCases : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(FileLayoutCases, WritesExpectedLines) {
    const LayoutRow& row = GetParam();
    const CombinationList list = makeList(row.mode, row.count);
    const std::string bytes = formatCombinationFile(list, row.layout, row.pages);
    EXPECT_EQ(fileLines(bytes), expandLayout(list, row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    CombinationFile, FileLayoutCases,
    ::testing::Values(
        LayoutRow{"csv_12", GameMode::MiniLoto, 12, FileLayout::Csv, 1, "H,E" + csvPattern(1, 12) + ",E"},
        LayoutRow{"text_12", GameMode::MiniLoto, 12, FileLayout::Text, 1, "H,E,1-5,6-10,11-12"},
        LayoutRow{"csv_30_on_2_pages", GameMode::MiniLoto, 30, FileLayout::Csv, 2,
                  "H,E" + csvPattern(1, 15) + ",E" + csvPattern(16, 30) + ",E"},
        LayoutRow{"text_30_on_2_pages", GameMode::MiniLoto, 30, FileLayout::Text, 2,
                  "H,E,1-5,6-10,11-15,S,16-20,21-25,26-30"},
        LayoutRow{"text_55_on_2_pages", GameMode::MiniLoto, 55, FileLayout::Text, 2,
                  "H,E,1-5,6-10,11-15,16-20,21-25,E,26-30,S,31-35,36-40,41-45,46-50,51-55"},
        LayoutRow{"text_60_on_1_page", GameMode::MiniLoto, 60, FileLayout::Text, 1,
                  "H,E,1-5,6-10,11-15,16-20,21-25,E,26-30,31-35,36-40,41-45,46-50,E,51-55,56-60"},
        LayoutRow{"text_23_on_2_pages_partial_line", GameMode::MiniLoto, 23, FileLayout::Text, 2,
                  "H,E,1-5,6-10,11-13,S,14-18,19-23"},
        LayoutRow{"csv_23_on_2_pages", GameMode::MiniLoto, 23, FileLayout::Csv, 2,
                  "H,E" + csvPattern(1, 13) + ",E" + csvPattern(14, 23) + ",E"},
        LayoutRow{"page_count_0_is_one_page", GameMode::MiniLoto, 12, FileLayout::Text, 0, "H,E,1-5,6-10,11-12"},
        LayoutRow{"negative_page_count_is_one_page", GameMode::MiniLoto, 12, FileLayout::Csv, -1,
                  "H,E" + csvPattern(1, 12) + ",E"},
        LayoutRow{"more_pages_than_needed_text", GameMode::MiniLoto, 3, FileLayout::Text, 2, "H,E,1-3"},
        LayoutRow{"more_pages_than_needed_csv", GameMode::MiniLoto, 3, FileLayout::Csv, 2, "H,E,1,2,3,E"},
        LayoutRow{"absurd_page_count", GameMode::MiniLoto, 3, FileLayout::Text, 2000000000, "H,E,1-3"},
        LayoutRow{"absurd_page_count_csv", GameMode::MiniLoto, 3, FileLayout::Csv, 2147483647, "H,E,1,2,3,E"},
        LayoutRow{"loto6_text_on_2_pages", GameMode::Loto6, 12, FileLayout::Text, 2, "H,E,1-5,6-7,S,8-12"},
        LayoutRow{"loto6_csv", GameMode::Loto6, 2, FileLayout::Csv, 1, "H,E,1,2,E"},
        LayoutRow{"loto7_text_on_2_pages", GameMode::Loto7, 12, FileLayout::Text, 2, "H,E,1-5,6-7,S,8-12"},
        LayoutRow{"loto7_csv", GameMode::Loto7, 2, FileLayout::Csv, 1, "H,E,1,2,E"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CombinationFile, LineLengthsAndSeparatorMatchTheCard) {
    const CombinationList mini = makeList(GameMode::MiniLoto, 10);
    const auto lines = fileLines(formatCombinationFile(mini, FileLayout::Text, 2));
    EXPECT_EQ(lines[2].size(), 99u);
    EXPECT_EQ(lines[3].size(), 101u);  // 100 hyphens and the form feed
    EXPECT_EQ(lines[3].back(), '\f');
    const CombinationList loto6 = makeList(GameMode::Loto6, 5);
    EXPECT_EQ(fileLines(formatCombinationFile(loto6, FileLayout::Text, 1))[2].size(), 114u);
    const CombinationList loto7 = makeList(GameMode::Loto7, 10);
    const auto lines7 = fileLines(formatCombinationFile(loto7, FileLayout::Text, 2));
    EXPECT_EQ(lines7[0], "[ロト７]");
    EXPECT_EQ(lines7[2].size(), 129u);  // five lines of 21 and four joins
    EXPECT_EQ(lines7[3].size(), 131u);  // 130 hyphens and the form feed
}

TEST(CombinationFile, HeaderIsCp932) {
    const auto bytes = formatCombinationFile(makeList(GameMode::Loto6, 1), FileLayout::Csv, 1);
    // "[ロト６]": ロ 83 8D, ト 83 67, ６ 82 55.
    EXPECT_EQ(bytes.substr(0, 10), std::string("[\x83\x8D\x83\x67\x82\x55]\r\n", 10));
}

struct PageRow {
    const char* name;
    int pages;
    int total;
    std::vector<int> sizes;
};

class PageSizes : public ::testing::TestWithParam<PageRow> {};

TEST_P(PageSizes, HandOutWholeCards) {
    const PageRow& row = GetParam();
    for (std::size_t p = 0; p < row.sizes.size(); ++p)
        EXPECT_EQ(PageItemCount(static_cast<int>(p), row.pages, row.total), row.sizes[p]) << "page " << p;
}

INSTANTIATE_TEST_SUITE_P(CombinationFile, PageSizes,
                         ::testing::Values(PageRow{"23_on_2", 2, 23, {13, 10}},
                                           PageRow{"37_on_3", 3, 37, {15, 12, 10}},
                                           PageRow{"30_on_2", 2, 30, {15, 15}},
                                           PageRow{"3_on_2", 2, 3, {3, 0}},
                                           PageRow{"55_on_2", 2, 55, {30, 25}},
                                           PageRow{"pages_0", 0, 12, {12}},
                                           PageRow{"pages_negative", -3, 12, {12}}),
                         [](const auto& row) { return std::string(row.param.name); });

struct PageTextRow {
    const char* name;
    const char* text;
    int pages;
};

class PageCountText : public ::testing::TestWithParam<PageTextRow> {};

TEST_P(PageCountText, AtLeastOne) { EXPECT_EQ(pageCountFromText(GetParam().text), GetParam().pages); }

INSTANTIATE_TEST_SUITE_P(CombinationFile, PageCountText,
                         ::testing::Values(PageTextRow{"three", "3", 3}, PageTextRow{"zero", "0", 1},
                                           PageTextRow{"empty", "", 1}, PageTextRow{"negative", "-2", 1},
                                           PageTextRow{"letters", "abc", 1}, PageTextRow{"decimal", "2.5", 1},
                                           PageTextRow{"leading_blank", " 4", 4},
                                           PageTextRow{"overflow", "99999999999", 1}),
                         [](const auto& row) { return std::string(row.param.name); });

struct ExtensionRow {
    const char* name;
    const char* fileName;
    FileLayout layout;
};

class ExtensionRule : public ::testing::TestWithParam<ExtensionRow> {};

TEST_P(ExtensionRule, ChoosesLayout) { EXPECT_EQ(layoutForFileName(GetParam().fileName), GetParam().layout); }

INSTANTIATE_TEST_SUITE_P(CombinationFile, ExtensionRule,
                         ::testing::Values(ExtensionRow{"csv", "/tmp/a.csv", FileLayout::Csv},
                                           ExtensionRow{"mixed_case", "/tmp/a.Csv", FileLayout::Csv},
                                           ExtensionRow{"upper", "A.CSV", FileLayout::Csv},
                                           ExtensionRow{"txt", "a.txt", FileLayout::Text},
                                           ExtensionRow{"dat", "a.dat", FileLayout::Text},
                                           ExtensionRow{"none", "/tmp/list", FileLayout::Text},
                                           ExtensionRow{"dot_in_folder_only", "/tmp/x.csv/list", FileLayout::Text},
                                           ExtensionRow{"csv_then_txt", "a.csv.txt", FileLayout::Text},
                                           ExtensionRow{"txt_then_csv", "a.txt.csv", FileLayout::Csv},
                                           ExtensionRow{"csvx", "a.csvx", FileLayout::Text},
                                           ExtensionRow{"japanese_name", "組み合わせ.csv", FileLayout::Csv}),
                         [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------- save and load

struct RoundTripRow {
    const char* name;
    GameMode mode;
    int count;
    const char* fileName;
    int pages;
};

class SaveLoadRoundTrip : public ::testing::TestWithParam<RoundTripRow> {};

TEST_P(SaveLoadRoundTrip, RestoresTheListInOrder) {
    const RoundTripRow& row = GetParam();
    TempDir dir;
    const std::string path = (dir / row.fileName).string();
    CombinationList saved = makeList(row.mode, row.count);
    saved.setChanged(true);
    saveCombinationFile(path, saved, row.pages);
    EXPECT_FALSE(saved.changed());

    const CombinationFile file = readCombinationFile(path);
    ASSERT_TRUE(file.headerGame.has_value());
    EXPECT_EQ(*file.headerGame, row.mode);
    EXPECT_FALSE(file.gameToSwitchTo(row.mode).has_value());

    CombinationList loaded(row.mode);
    const LoadResult result = appendCombinationFile(loaded, file);
    EXPECT_EQ(result.listed, static_cast<std::size_t>(row.count));
    EXPECT_EQ(loaded.items(), saved.items());
    EXPECT_TRUE(loaded.duplicates().empty());
    EXPECT_FALSE(loaded.changed());
}

INSTANTIATE_TEST_SUITE_P(CombinationFile, SaveLoadRoundTrip,
                         ::testing::Values(RoundTripRow{"mini_text", GameMode::MiniLoto, 137, "a.txt", 3},
                                           RoundTripRow{"mini_csv", GameMode::MiniLoto, 137, "a.csv", 3},
                                           RoundTripRow{"loto6_text", GameMode::Loto6, 260, "a.dat", 1},
                                           RoundTripRow{"loto6_csv", GameMode::Loto6, 260, "a.CSV", 2},
                                           RoundTripRow{"loto7_text", GameMode::Loto7, 263, "a.txt", 2},
                                           RoundTripRow{"loto7_csv", GameMode::Loto7, 263, "a.csv", 3},
                                           RoundTripRow{"no_extension", GameMode::Loto6, 7, "list", 1}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CombinationFile, SaveReplacesAnExistingFileAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path path = dir / "a.csv";
    writeRaw(path, "old");
    CombinationList list = makeList(GameMode::MiniLoto, 4);
    saveCombinationFile(path.string(), list, 1);
    EXPECT_EQ(fileLines(readRaw(path)).size(), 7u);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(path.parent_path())) ++entries;
    EXPECT_EQ(entries, 1);
}

TEST(CombinationFile, EmptyListIsRefusedAndNothingWritten) {
    TempDir dir;
    CombinationList list(GameMode::MiniLoto);
    list.setChanged(true);
    try {
        saveCombinationFile((dir / "a.csv").string(), list, 1);
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        EXPECT_STREQ(e.what(), kNothingToSaveMessage);
    }
    EXPECT_FALSE(fs::exists(dir / "a.csv"));
    EXPECT_TRUE(list.changed());
}

// A write that fails half-way (file size limit) must not replace the old
// file, must report the failure and must keep the changed flag.
TEST(CombinationFile, FailedWriteKeepsTheOldFile) {
    TempDir dir;
    const fs::path path = dir / "a.txt";
    writeRaw(path, "precious");
    CombinationList list = makeList(GameMode::Loto6, 5000);
    list.setChanged(true);

    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4096;
    auto* previous = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    bool threw = false;
    std::string message;
    try {
        saveCombinationFile(path.string(), list, 1);
    } catch (const FileError& e) {
        threw = true;
        message = e.what();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);

    EXPECT_TRUE(threw);
    EXPECT_NE(message.find(path.string()), std::string::npos) << message;
    EXPECT_EQ(readRaw(path), "precious");
    EXPECT_TRUE(list.changed());
    int entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(path.parent_path())) ++entries;
    EXPECT_EQ(entries, 1) << "temporary file left behind";
}

TEST(CombinationFile, UncreatableTargetThrowsWithNameAndReason) {
    TempDir dir;
    writeRaw(dir / "plain", "x");
    const std::string path = (dir / "plain" / "a.csv").string();  // a folder that is a file
    CombinationList list = makeList(GameMode::MiniLoto, 3);
    list.setChanged(true);
    try {
        saveCombinationFile(path, list, 1);
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find(path), std::string::npos) << what;
        EXPECT_NE(what.find("パスの途中にフォルダーでないものがあります"), std::string::npos) << what;
    }
    EXPECT_TRUE(list.changed());
}

TEST(CombinationFile, UnreadableFileThrowsAndLeavesTheListAlone) {
    TempDir dir;
    const std::string path = (dir / "missing.csv").string();
    EXPECT_THROW(
        {
            try {
                readCombinationFile(path);
            } catch (const FileError& e) {
                EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
                throw;
            }
        },
        FileError);
    EXPECT_THROW(readCombinationFile(dir.path().string()), FileError);  // a folder
}

// ---------------------------------------------------------------- headers

struct HeaderRow {
    const char* name;
    std::string firstLine;  // UTF-8, converted to cp932
    GameMode current;
    std::optional<GameMode> header;
    std::optional<GameMode> switchTo;
};

class HeaderSwitch : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(HeaderSwitch, ExactFirstLineOnly) {
    const HeaderRow& row = GetParam();
    CombinationFile file;
    file.bytes = utf8ToCp932(row.firstLine, "test") + "\r\n 1, 2, 3, 4, 5, 6\r\n";
    file.headerGame = headerGameOf(file.bytes);
    EXPECT_EQ(file.headerGame, row.header);
    EXPECT_EQ(file.gameToSwitchTo(row.current), row.switchTo);
}

INSTANTIATE_TEST_SUITE_P(
    CombinationFile, HeaderSwitch,
    ::testing::Values(HeaderRow{"loto6_file_in_mini", "[ロト６]", GameMode::MiniLoto, GameMode::Loto6, GameMode::Loto6},
                      HeaderRow{"mini_file_in_loto6", "[ミニロト]", GameMode::Loto6, GameMode::MiniLoto, GameMode::MiniLoto},
                      HeaderRow{"same_game", "[ミニロト]", GameMode::MiniLoto, GameMode::MiniLoto, std::nullopt},
                      HeaderRow{"loto7_file_in_loto6", "[ロト７]", GameMode::Loto6, GameMode::Loto7, GameMode::Loto7},
                      HeaderRow{"half_width_seven", "[ロト7]", GameMode::Loto6, std::nullopt, std::nullopt},
                      HeaderRow{"trailing_space", "[ロト６] ", GameMode::MiniLoto, std::nullopt, std::nullopt},
                      HeaderRow{"half_width_six", "[ロト6]", GameMode::MiniLoto, std::nullopt, std::nullopt},
                      HeaderRow{"second_line_does_not_count", "", GameMode::MiniLoto, std::nullopt, std::nullopt},
                      HeaderRow{"no_header", " 1, 2, 3, 4, 5", GameMode::Loto6, std::nullopt, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CombinationFile, HeaderOnLfOnlyAndCrOnlyFiles) {
    EXPECT_EQ(headerGameOf(utf8ToCp932("[ロト６]\n", "t")), GameMode::Loto6);
    EXPECT_EQ(headerGameOf(utf8ToCp932("[ロト６]\r 1", "t")), GameMode::Loto6);
    EXPECT_EQ(headerGameOf(utf8ToCp932("[ロト６]", "t")), GameMode::Loto6);
    EXPECT_EQ(headerGameOf(""), std::nullopt);
}

// Files a modern editor saved are UTF-8, with or without a byte-order mark:
// the header switches the game and every line gives its own combination.
TEST(CombinationFile, Utf8FilesAreReadAsUtf8) {
    const std::string body = "[ロト６]\n\n 1, 2, 3, 4, 5, 6   || 7, 8, 9,10,11,12\n次の回: 13,14,15,16,17,18\n";
    for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
        TempDir dir;
        const fs::path path = dir / "utf8.txt";
        writeRaw(path, bom + body);
        const CombinationFile file = readCombinationFile(path.string());
        ASSERT_EQ(file.gameToSwitchTo(GameMode::MiniLoto), GameMode::Loto6) << bom.size();
        CombinationList list(GameMode::Loto6);
        appendCombinationFile(list, file);
        ASSERT_EQ(list.size(), 3u);
        EXPECT_EQ(list.lineAt(0), "  1, 2, 3, 4, 5, 6");
        EXPECT_EQ(list.lineAt(2), " 13,14,15,16,17,18");
        // Written back as the program writes: cp932, CR LF.
        saveCombinationFile((dir / "out.txt").string(), list, 1);
        EXPECT_EQ(readRaw(dir / "out.txt").substr(0, 12), "[\x83\x8D\x83\x67\x82\x55]\r\n\r\n");
    }
    EXPECT_EQ(headerGameOf("\xEF\xBB\xBF[ミニロト]\r\n"), GameMode::MiniLoto);
    EXPECT_EQ(headerGameOf("\xEF\xBB\xBF"), std::nullopt);
}

namespace {

int runConvert(const std::string& arguments) {
    const std::string command = std::string("'") + TAMBOR_CLI_PATH + "' convert " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// A ロト６ list saved as "Unicode" by a Windows editor or a spreadsheet is
// UTF-16 with a byte-order mark: it loads as the same ten combinations, in
// either byte order, and converts on the command line.
TEST(CombinationFile, Utf16FilesWithAMarkAreRead) {
    CombinationList ten = makeList(GameMode::Loto6, 10);
    TempDir dir;
    saveCombinationFile((dir / "cp932.csv").string(), ten, 1);
    const std::string text = cp932ToUtf8(readRaw(dir / "cp932.csv"), "t");
    for (const bool little : {true, false}) {
        // UTF-8 to UTF-16 for the characters of a list file (all below U+10000).
        std::string utf16 = little ? "\xFF\xFE" : "\xFE\xFF";
        for (std::size_t i = 0; i < text.size();) {
            const auto c = static_cast<unsigned char>(text[i]);
            char32_t u = c;
            if (c >= 0xE0) {
                u = ((c & 0x0Fu) << 12) | ((text[i + 1] & 0x3Fu) << 6) | (text[i + 2] & 0x3Fu);
                i += 3;
            } else if (c >= 0xC0) {
                u = ((c & 0x1Fu) << 6) | (text[i + 1] & 0x3Fu);
                i += 2;
            } else {
                ++i;
            }
            const char high = static_cast<char>(u >> 8), low = static_cast<char>(u & 0xFF);
            utf16 += little ? std::string{low, high} : std::string{high, low};
        }
        const fs::path path = dir / "unicode.txt";
        writeRaw(path, utf16);
        const CombinationFile file = readCombinationFile(path.string());
        EXPECT_EQ(file.gameToSwitchTo(GameMode::MiniLoto), GameMode::Loto6) << little;
        CombinationList list(GameMode::Loto6);
        const LoadResult loaded = appendCombinationFile(list, file);
        EXPECT_EQ(loaded.listed, 10u) << little;
        EXPECT_TRUE(list.duplicates().empty()) << little;
        EXPECT_EQ(list.items(), ten.items()) << little;
        ASSERT_EQ(runConvert("'" + path.string() + "' '" + (dir / "out.csv").string() + "'"), 0) << little;
        EXPECT_EQ(readRaw(dir / "out.csv"), readRaw(dir / "cp932.csv")) << little;
    }
    // The same bytes without the mark are refused, naming the file.
    writeRaw(dir / "nomark.txt", std::string("1\0,\0" "2\0", 6));
    try {
        readCombinationFile((dir / "nomark.txt").string());
        FAIL() << "no error";
    } catch (const TextEncodingError& e) {
        EXPECT_NE(std::string(e.what()).find((dir / "nomark.txt").string()), std::string::npos) << e.what();
    }
    EXPECT_EQ(runConvert("'" + (dir / "nomark.txt").string() + "' '" + (dir / "out2.csv").string() + "' --game mini"), 1);
    EXPECT_FALSE(fs::exists(dir / "out2.csv"));
}

// A ロト６ file loaded in ミニロト: the caller switches (which empties the list),
// then the list holds only the file's combinations and is unchanged.
TEST(CombinationFile, LoadAfterHeaderSwitch) {
    TempDir dir;
    const std::string path = (dir / "six.txt").string();
    CombinationList six = makeList(GameMode::Loto6, 9);
    saveCombinationFile(path, six, 1);

    CombinationList list = makeList(GameMode::MiniLoto, 4);
    list.setChanged(true);
    const CombinationFile file = readCombinationFile(path);
    const auto target = file.gameToSwitchTo(list.mode());
    ASSERT_EQ(target, GameMode::Loto6);
    list.reset(*target);
    appendCombinationFile(list, file);
    EXPECT_EQ(list.items(), six.items());
    EXPECT_FALSE(list.changed());
}

TEST(CombinationFile, LoadIntoNonEmptyListAppendsNewAndRecordsRepeatsOnce) {
    CombinationList list(GameMode::MiniLoto);
    list.append(makeCombination({1, 2, 3, 4, 5}));
    CombinationFile file;
    file.bytes = " 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n 1, 2, 3, 4, 5\r\n 6, 7, 8, 9,10\r\n";
    const LoadResult result = appendCombinationFile(list, file);
    EXPECT_EQ(result.listed, 1u);
    EXPECT_EQ(result.lineCount, 4u);
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list.duplicates().size(), 2u);
    EXPECT_TRUE(list.changed());
}

TEST(CombinationFile, LoadAddingNothingKeepsTheFlag) {
    CombinationList list(GameMode::MiniLoto);
    list.append(makeCombination({1, 2, 3, 4, 5}));
    CombinationFile file;
    file.bytes = " 1, 2, 3, 4, 5\r\n";
    appendCombinationFile(list, file);
    EXPECT_FALSE(list.changed());
    EXPECT_EQ(list.duplicates().size(), 1u);
}

TEST(CombinationFile, EachLineIsScannedOnItsOwn) {
    CombinationList list(GameMode::MiniLoto);
    CombinationFile file;
    file.bytes = "1,2,3,\r\n4,5\r\n";
    EXPECT_EQ(appendCombinationFile(list, file).listed, 0u);
    file.bytes = "1,2,3,4,5";  // no line end at all
    EXPECT_EQ(appendCombinationFile(list, file).listed, 1u);
}

TEST(CombinationFile, ProgressIsSparseAndEndsAtHundred) {
    CombinationList list = makeList(GameMode::MiniLoto, 5000);
    std::vector<int> seen;
    const std::string bytes = formatCombinationFile(list, FileLayout::Csv, 1, [&](int p) {
        seen.push_back(p);
        return true;
    });
    ASSERT_FALSE(seen.empty());
    EXPECT_LE(seen.size(), 101u);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

    seen.clear();
    CombinationList loaded(GameMode::MiniLoto);
    CombinationFile file;
    file.bytes = bytes;
    appendCombinationFile(loaded, file, [&](int p) { seen.push_back(p); return true; });
    EXPECT_LE(seen.size(), 101u);
    EXPECT_EQ(seen.back(), 100);
}

// Foreign and binary input adds what the scan finds and never crashes.
struct ForeignRow {
    const char* name;
    std::string bytes;
    std::size_t listed;
};

class ForeignFiles : public ::testing::TestWithParam<ForeignRow> {};

TEST_P(ForeignFiles, LoadWhatTheScanFinds) {
    CombinationList list(GameMode::MiniLoto);
    CombinationFile file;
    file.bytes = GetParam().bytes;
    file.headerGame = headerGameOf(file.bytes);
    EXPECT_EQ(appendCombinationFile(list, file).listed, GetParam().listed);
}

INSTANTIATE_TEST_SUITE_P(
    CombinationFile, ForeignFiles,
    ::testing::Values(ForeignRow{"empty", "", 0}, ForeignRow{"only_line_ends", "\r\n\n\r", 0},
                      ForeignRow{"utf8_header_and_lines", "[ロト６]\n1,2,3,4,5\n６,７,８,９,１０\n", 1},
                      ForeignRow{"nul_bytes", std::string("1,2,3,4,5\0\0\0 6 7 8 9 10", 24), 2},
                      ForeignRow{"cp932_trail_bytes", "\x83\x5C\x83\x40 1 2 3 4 5", 1},
                      ForeignRow{"history_line", "第  1回(H11. 4.13)=01,03,17,20,25,26", 1}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CombinationFile, RandomBytesNeverCrash) {
    std::mt19937 rng(12345);
    std::string bytes(1 << 20, '\0');
    for (auto& c : bytes) c = static_cast<char>(rng());
    CombinationList list(GameMode::Loto6);
    CombinationFile file;
    file.bytes = bytes;
    const LoadResult result = appendCombinationFile(list, file);
    EXPECT_EQ(result.listed, list.size());
}

// ---------------------------------------------------------------- tambor-cli convert


TEST(ConvertCommand, WritesWhatTheSaveCommandWrites) {
    TempDir dir;
    CombinationList list = makeList(GameMode::Loto6, 40);
    saveCombinationFile((dir / "in.csv").string(), list, 1);
    ASSERT_EQ(runConvert("'" + (dir / "in.csv").string() + "' '" + (dir / "out.txt").string() + "' --pages 3"), 0);
    EXPECT_EQ(readRaw(dir / "out.txt"), formatCombinationFile(list, FileLayout::Text, 3));

    ASSERT_EQ(runConvert("'" + (dir / "in.csv").string() + "' '" + (dir / "sorted.csv").string() + "' --sort"), 0);
    CombinationList sorted(GameMode::Loto6);
    appendCombinationFile(sorted, readCombinationFile((dir / "sorted.csv").string()));
    EXPECT_TRUE(std::is_sorted(sorted.items().begin(), sorted.items().end()));
    EXPECT_EQ(sorted.size(), 40u);
}

TEST(ConvertCommand, FailuresAndBadArguments) {
    TempDir dir;
    EXPECT_EQ(runConvert("'" + (dir / "missing.txt").string() + "' '" + (dir / "out.txt").string() + "'"), 1);
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
    writeRaw(dir / "nothing.txt", "no combinations here\r\n");
    EXPECT_EQ(runConvert("'" + (dir / "nothing.txt").string() + "' '" + (dir / "out.txt").string() + "' --game mini"),
              1);
    EXPECT_FALSE(fs::exists(dir / "out.txt"));
    EXPECT_EQ(runConvert("only-one-file"), 2);
    EXPECT_EQ(runConvert("a b --game seven"), 2);
}

TEST(CombinationFile, TooLargeFileIsAClearError) {
    TempDir dir;
    const fs::path path = dir / "huge.txt";
    writeRaw(path, "");
    fs::resize_file(path, kMaxTextFileBytes + 1);  // sparse: no disk space used
    try {
        readCombinationFile(path.string());
        FAIL() << "expected FileError";
    } catch (const FileError& e) {
        EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos) << e.what();
    }
}

class LineWalk : public ::testing::TestWithParam<std::string> {};

TEST_P(LineWalk, CutsLikeSplitLines) {
    std::vector<std::string> walked;
    forEachLine(GetParam(), [&](std::string_view line) { walked.emplace_back(line); });
    EXPECT_EQ(walked, splitLines(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(CombinationFile, LineWalk,
                         ::testing::Values("", "a", "a\r\n", "a\r\n\r\n", "\r\r\n\n", "a\rb\nc\r\nd", "\n"));
