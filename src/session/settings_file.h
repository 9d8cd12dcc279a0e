#pragma once
// The settings file Tambor.ini: the game and every option, written as a
// fixed list of "[section]" and "key=value" lines (cp932, CR LF) and read
// back by key over the whole file. This is the one place where options and
// the file meet.
//
// Any file that cannot be read or written throws FileError (file name and
// the system's reason), a text cp932 cannot hold TextEncodingError; the
// caller reports it once and goes on with the values it has.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"
#include "io/print_margin.h"
#include "session/options.h"

namespace tambor {

// What the file holds: the game in force and the options.
struct StoredSettings {
    GameMode game = GameMode::MiniLoto;  // Mini6Mode
    Options options;
    bool operator==(const StoredSettings&) const = default;
};

// folder / "Tambor.ini".
std::filesystem::path settingsPath(const std::filesystem::path& folder);

// The file's lines (UTF-8, without line ends), in the fixed order. The
// "[印刷オプション]" section (three lines) is written only with a printer, so
// the file has 35 lines with one and 32 without. A priority or order code
// without a text leaves its line out. An update address set by the user
// adds an "[オプション]" section at the end, and each game whose filter
// conditions differ from the start (all off) one "[絞り込み条件 ロト６]"
// section after it; then the recent files ("[最近使ったファイル]", those
// cp932 can hold) and the main window's place ("[ウィンドウ]"), each when
// there is one.
std::vector<std::string> settingsLines(const StoredSettings& settings, const PrinterInfo* printer);

// The key of the printer last chosen: it holds a ".", which no printer key
// does, so it never names a printer's margins.
extern const char* const kPrinterNameKey;

// The printer a file names as the one last chosen (empty when none, or
// when the file cannot be read): the windows set that printer up before
// the margins are read.
std::string storedPrinterName(const std::filesystem::path& path);

// The printer in use changes from `from` (nothing: none was) to `to`: the
// margins in use go to the lines kept for `from`, and `to` takes its own
// stored margins when it has some. True when the margins now belong to
// `to` (stored ones, or the same printer as before); false when the caller
// must set `to`'s own offsets.
bool switchPrinterMargins(Options& options, const PrinterInfo* from, const PrinterInfo& to);

// What reading the file changes, in the order of the reading steps: the
// session applies each step to itself (the game switch, the R system and
// past-winner removal have effects beyond the stored value).
class SettingsTarget {
public:
    virtual ~SettingsTarget() = default;
    virtual void readGame(GameMode game) = 0;
    virtual Options& options() = 0;
    virtual void readRSystem(bool on) = 0;
    virtual void readPastRemove(bool on) = 0;
};

// Runs the reading steps over the lines of a settings file (UTF-8). Keys are
// looked up over the whole file, letters compared without case, the first
// line whose text before its first "=" equals the key wins. Missing or
// unparsable values give the defaults; the default draw count, the links and
// the margins keep the target's values instead.
void readSettingsLines(const std::vector<std::string>& lines, const PrinterInfo* printer, SettingsTarget& target);

// The same steps on a plain record: current with the file's values.
StoredSettings parseSettings(const std::vector<std::string>& lines, const StoredSettings& current,
                             const PrinterInfo* printer);

// Whether two keys are the same to the reader: ASCII letters compared
// without case, every other byte as it is.
bool sameSettingKey(std::string_view a, std::string_view b);

// The value of key, or empty text when no line has it.
std::string lookupSetting(const std::vector<std::string>& lines, std::string_view key);

// The priority mode stored as LotMode: a whole number n in 0..6 selects the
// mode at position n of the lookup order (0, 2, 3, 4, 6, 1, 5); another
// number gives PreferPairs; "64" and other text is compared with the seven
// texts; no match gives PreferPairs.
PriorityMode lotModeFromText(std::string_view value);

// The lines of a settings file as the reader uses them: cp932 or UTF-8,
// a line that cannot be decoded left out (an editor's slip costs that line,
// never every setting), and one message naming the file and the lines left
// out (empty when none was).
struct SettingsFileLines {
    std::vector<std::string> lines;
    std::string problem;
};
// Throws FileError when the file cannot be read at all.
SettingsFileLines readSettingsFileLines(const std::filesystem::path& path);

// Reads and parses the file (undecodable lines left out). Throws FileError.
StoredSettings readSettingsFile(const std::filesystem::path& path, const StoredSettings& current,
                                const PrinterInfo* printer);

// Replaces the file with the program's lines alone (temporary file renamed
// over it); settings_merge.h writes into an existing file instead, keeping
// what else it holds. Throws FileError, or
// TextEncodingError before touching the file when a text holds a character
// cp932 cannot store.
void writeSettingsFile(const std::filesystem::path& path, const StoredSettings& settings, const PrinterInfo* printer);

// Writes the file from `current` when no file exists at path yet; returns
// whether it wrote one.
bool ensureSettingsFile(const std::filesystem::path& path, const StoredSettings& current, const PrinterInfo* printer);

}  // namespace tambor
