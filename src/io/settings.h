#pragma once
// The settings file Tambor.ini: every user option, written as a fixed list
// of "[section]" and "key=value" lines (cp932, CR LF) and read back by key
// over the whole file.
//
// Start-up (after the printer's margins are known):
//   auto path = settingsPath(folder);
//   ensureSettingsFile(path, current, printer);   // writes defaults if missing
//   Settings s = readSettingsFile(path, current, printer);
//   then apply s to the window in this order (the order of the reading steps):
//     1. game            → check its radio button and run the full game switch
//     2. saveFormat      → check CSV / text radio button, store the option
//     3. popupHint       → check box, switch pop-up hints on or off
//     4. escAction       → check box, store the ESC flag
//     5. useProxy        → check box, enable or disable the proxy controls
//     6. proxyAddress    → edit text
//     7. proxyPort       → edit text
//     8. prizeViewMethod → reciprocal / fraction radio button and its handler
//     9. horzMargin, vertMargin (only with a printer): write each into its
//        edit with formatMargin() and run the edit's commit handler
//    10. defTimes        → default-draw spinner, and the draw-count spinner
//    11. lotMode         → priority combo item index
//    12. rSystem         → check box and the R-system switch
//    13. arrangeMode     → number-order combo item index
//    14. pastRemove      → check box; its handler runs only when the state
//                          changes (past-winner removal)
//    15. links[0..2]     → SetUserLink for slots 1..3
// Close: commit the margin edits, collect the options into a Settings and
// writeSettingsFile(path, s, printer).
//
// Any file that cannot be read or written throws FileError (file name and
// the system's reason) or TextEncodingError; the caller reports it once and
// goes on with the values it has.

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/game.h"

namespace tambor {

struct UserLink {
    std::string title;
    std::string target;
    bool operator==(const UserLink&) const = default;
};

// The installed printer the margins belong to. No printer: pass nullptr.
struct PrinterInfo {
    std::string name;            // as the printing system lists it
    double pageWidthMm = 0.0;    // limits of the horizontal margin
    double pageHeightMm = 0.0;   // limits of the vertical margin
};

// Priority modes by item index of the priority combo box.
inline constexpr int kLotModeCount = 7;
// "連対しやすい数字を優先する", "偏差値が高い数字を優先する", … (index = code).
extern const std::array<const char*, kLotModeCount> kLotModeTexts;
// Number orders by item index: "乱数で並び順を決定する", "小さい順に並べる",
// "大きい順に並べる".
inline constexpr int kArrangeModeCount = 3;
extern const std::array<const char*, kArrangeModeCount> kArrangeModeTexts;

struct Settings {
    GameMode game = GameMode::MiniLoto;  // Mini6Mode
    int saveFormat = 0;                  // SaveFormat: 0 CSV, 1 text
    bool popupHint = false;              // PopupHint
    bool escAction = false;              // ESC_Action: ESC minimizes to the tray
    bool useProxy = false;               // UseProxy
    std::string proxyAddress;            // ProxyAddress
    std::string proxyPort;               // ProxyPort (text, as typed)
    int prizeViewMethod = 0;             // PrizeViewMethod: 0 reciprocal, 1 fraction
    double horzMargin = 0.0;             // print margins in millimetres,
    double vertMargin = 0.0;             // stored per printer
    int defTimes = 50;                   // DefTimes: default draw count, 1..10000
    int lotMode = 0;                     // LotMode: priority code 0..6
    bool rSystem = false;                // RSystem
    int arrangeMode = 0;                 // ArrangeMode: number-order code 0..2
    bool pastRemove = false;             // PastRemove
    std::array<UserLink, 3> links{{{"追加１", "about:blank"}, {"追加２", "about:blank"}, {"追加３", "about:blank"}}};

    // The values of the window as designed (margins 0: the printer's own
    // offsets replace them before the first write).
    static Settings defaults() { return Settings{}; }
    bool operator==(const Settings&) const = default;
};

inline constexpr int kDefTimesMin = 1;
inline constexpr int kDefTimesMax = 10000;

// folder / "Tambor.ini".
std::filesystem::path settingsPath(const std::filesystem::path& folder);

// The file's lines (UTF-8, without line ends), in the fixed order. The
// "[印刷オプション]" section (three lines) is written only with a printer, so
// the file has 35 lines with one and 32 without. A LotMode or ArrangeMode
// code without a text leaves its line out.
std::vector<std::string> settingsLines(const Settings& settings, const PrinterInfo* printer);

// Applies the reading steps to the lines of a settings file (UTF-8). Keys are
// looked up over the whole file, letters compared without case, the first
// line whose text before its first "=" equals the key wins. Missing or
// unparsable values keep the defaults; DefTimes, the links and the margins
// fall back to `current` (the window's values before reading).
Settings parseSettings(const std::vector<std::string>& lines, const Settings& current,
                       const PrinterInfo* printer);

// The value of key, or empty text when no line has it.
std::string lookupSetting(const std::vector<std::string>& lines, std::string_view key);

// The priority code stored as LotMode: a whole number n in 0..6 selects the
// code at position n of the lookup order (0, 2, 3, 4, 6, 1, 5); another
// number gives 0; "64" and other text is compared with the seven texts;
// no match gives 0.
int lotModeFromText(std::string_view value);

// Reads and parses the file. Throws FileError or TextEncodingError.
Settings readSettingsFile(const std::filesystem::path& path, const Settings& current,
                          const PrinterInfo* printer);

// Replaces the file (temporary file renamed over it). Throws FileError, or
// TextEncodingError before touching the file when a text holds a character
// cp932 cannot store.
void writeSettingsFile(const std::filesystem::path& path, const Settings& settings,
                       const PrinterInfo* printer);

// Writes the file from `current` when no file exists at path yet; returns
// whether it wrote one.
bool ensureSettingsFile(const std::filesystem::path& path, const Settings& current,
                        const PrinterInfo* printer);

}  // namespace tambor
