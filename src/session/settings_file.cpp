#include "session/settings_file.h"

#include <algorithm>
#include <map>
#include <optional>
#include <cstdio>
#include <system_error>

#include "core/whole_number.h"
#include "io/cp932.h"
#include "io/text_file.h"
#include "session/settings_merge.h"

namespace tambor {
namespace {

// The reader's lookup table holds the priority modes in this order, and a
// numeric LotMode value is a position in it, not a code.
constexpr std::array<PriorityMode, kPriorityModeCount> kLotModeLookupOrder = {
    PriorityMode::PreferPairs, PriorityMode::PreferFrequent,      PriorityMode::NoPreference,
    PriorityMode::PreferRare,  PriorityMode::AvoidPairs,          PriorityMode::PreferHighDeviation,
    PriorityMode::PreferLowDeviation};

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) { return sameSettingKey(a, b); }

std::string intLine(const char* key, int value) { return std::string(key) + "=" + std::to_string(value); }

std::string linkKey(int slot) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "追加LINK(%d)", slot);
    return buf;
}

// The games whose filter conditions the file may hold, each in a section of
// its own ("[絞り込み条件 ロト６]") with keys that name the game, since keys
// are looked up over the whole file ("ロト６.sum=1,100,160": on, min, max).
constexpr std::array<GameMode, kGameCount> kFilterGames = kAllGames;

std::string filterKey(GameMode game, FilterCondition condition) {
    return std::string(gameName(game)) + "." + filterConditionName(condition);
}

// "1,100,160": a range whose three whole numbers make sense, or nothing.
std::optional<FilterRange> parseFilterRange(const std::string& value) {
    int fields[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? value.find(',', start) : std::string::npos;
        if (i < 2 && comma == std::string::npos) return std::nullopt;
        const auto n = parseWholeNumber(std::string_view(value).substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (!n) return std::nullopt;
        fields[i] = *n;
        start = comma + 1;
    }
    if (fields[1] < 0 || fields[1] > fields[2]) return std::nullopt;
    return FilterRange{fields[0] != 0, fields[1], fields[2]};
}

constexpr std::string_view kPrintSection = "[印刷オプション]";

// Whether a key could be a printer's: the keys the program writes for its
// own options are not (a kept line with one of them would be read in their
// place), nor is any key holding a "." (the printer name, the filter
// conditions), which printer keys never do.
bool couldBePrinterKey(std::string_view key) {
    static constexpr std::string_view kOwnKeys[] = {
        "Mini6Mode",       "Game",       "SaveFormat", "PopupHint", "ESC_Action", "UseProxy",    "ProxyAddress", "ProxyPort",
        "PrizeViewMethod", "DefTimes",   "LotMode",   "RSystem",    "ArrangeMode", "PastRemove",   "UpdateUrl", "HistoryConflict",
        "WindowLeft",      "WindowTop",  "WindowWidth", "WindowHeight", "WindowMaximized"};
    if (key.find('.') != std::string_view::npos || key.find('\\') != std::string_view::npos) return false;
    for (const std::string_view own : kOwnKeys)
        if (equalsIgnoringCase(key, own)) return false;
    for (int slot = 1; slot <= kUserLinkCount; ++slot)
        if (equalsIgnoringCase(key, linkKey(slot))) return false;
    for (int slot = 1; slot <= kRecentFileCount; ++slot)
        if (equalsIgnoringCase(key, "RecentFile" + std::to_string(slot))) return false;
    return true;
}

// A margin as the settings reader takes it: parsed, shown in its edit and
// committed, which parses the shown text once more.
double storedMargin(std::string_view text, double maximum, double current) {
    const double parsed = ParseMargin(text, maximum, current);
    return ParseMargin(formatMargin(parsed), maximum, parsed);
}

// "horizontal, vertical" for printer; empty text leaves both as they are.
void applyMargins(std::string_view value, const PrinterInfo& printer, double& horz, double& vert) {
    if (value.empty()) return;
    const std::size_t comma = value.find(',');
    horz = storedMargin(comma == std::string::npos ? std::string_view() : value.substr(0, comma), printer.pageWidthMm,
                        horz);
    vert = storedMargin(comma == std::string::npos ? value : value.substr(comma + 1), printer.pageHeightMm, vert);
}

std::string marginLine(std::string_view key, double horz, double vert) {
    return std::string(key) + "=" + formatMargin(horz) + ", " + formatMargin(vert);
}

// The values of one file, each read the way its key is stored.
class SettingsReader {
public:
    explicit SettingsReader(const std::vector<std::string>& lines) : lines_(lines) {}

    std::string text(std::string_view key) const { return lookupSetting(lines_, key); }
    std::optional<int> integer(std::string_view key) const { return parseWholeNumber(text(key)); }
    // Any non-zero whole number is on.
    bool flag(std::string_view key) const { return integer(key).value_or(0) != 0; }
    // 1 selects the second choice; anything else the first.
    bool second(std::string_view key) const { return integer(key).value_or(0) == 1; }

    // Game= names any game by its number (ロト７ is 2); without it, or out of
    // range, Mini6Mode says ミニロト or ロト６ as it always has.
    GameMode game() const {
        const std::optional<int> game = integer("Game");
        if (game && isGameNumber(*game)) return static_cast<GameMode>(*game);
        return second("Mini6Mode") ? GameMode::Loto6 : GameMode::MiniLoto;
    }
    // A place with a size out of reason is no place.
    WindowPlace windowPlace() const {
        WindowPlace place{integer("WindowLeft").value_or(0), integer("WindowTop").value_or(0),
                          integer("WindowWidth").value_or(0), integer("WindowHeight").value_or(0),
                          flag("WindowMaximized")};
        if (place.width <= 0 || place.height <= 0 || place.width > 100000 || place.height > 100000) return {};
        return place;
    }
    SaveFormat saveFormat() const { return second("SaveFormat") ? SaveFormat::Text : SaveFormat::Csv; }
    ProbabilityView probabilityView() const {
        return second("PrizeViewMethod") ? ProbabilityView::Fraction : ProbabilityView::Reciprocal;
    }
    int defaultDrawCount(int current) const {
        return std::clamp(integer("DefTimes").value_or(current), kDefaultDrawCountMin, kDefaultDrawCountMax);
    }
    PriorityMode priorityMode() const { return lotModeFromText(text("LotMode")); }
    // Every order is stored by its text. The fewest-tickets order was once
    // stored as its number 3, which is still read; any other number keeps
    // meaning the random order, as it always did.
    ArrangeMode arrangeMode() const {
        const std::string value = text("ArrangeMode");
        for (int code = 0; code < kArrangeModeCount; ++code)
            if (value == arrangeModeText(static_cast<ArrangeMode>(code))) return static_cast<ArrangeMode>(code);
        if (parseWholeNumber(value) == static_cast<int>(ArrangeMode::Fewest)) return ArrangeMode::Fewest;
        return ArrangeMode::Random;
    }

    // The current printer's margins ("horizontal, vertical").
    void margins(const PrinterInfo& printer, double& horz, double& vert) const {
        applyMargins(text(printerKey(printer.name)), printer, horz, vert);
    }

    // The lines of the print options section that belong to other printers
    // than the current one (every one without a printer), as they are.
    std::vector<std::string> otherPrinterLines(const PrinterInfo* printer) const {
        std::vector<std::string> kept;
        bool inSection = false;
        for (const std::string& line : lines_) {
            if (line.starts_with("[")) {
                inSection = line == kPrintSection;
                continue;
            }
            const std::size_t eq = line.find('=');
            if (!inSection || eq == std::string::npos || eq == 0) continue;
            const std::string_view key = std::string_view(line).substr(0, eq);
            if (!couldBePrinterKey(key)) continue;
            if (printer && equalsIgnoringCase(key, printerKey(printer->name))) continue;
            kept.push_back(line);
        }
        return kept;
    }

    // The conditions of every game the file holds any for; a line that
    // cannot be read leaves its condition off at its whole span.
    std::map<GameMode, FilterSettings> filters() const {
        std::map<GameMode, FilterSettings> all;
        for (GameMode game : kFilterGames) {
            FilterSettings settings = defaultFilterSettings(game);
            bool found = false;
            for (int i = 0; i < kFilterConditionCount; ++i) {
                const std::string value = text(filterKey(game, filterConditionAt(i)));
                found = found || !value.empty();
                if (const auto range = parseFilterRange(value)) settings.ranges[static_cast<std::size_t>(i)] = *range;
            }
            // Lines that leave every condition as it starts are as good as none.
            if (found && settings != defaultFilterSettings(game)) all[game] = settings;
        }
        return all;
    }

    // Split at the last comma; an empty value keeps the current link.
    UserLink link(int slot, const UserLink& current) const {
        const std::string value = text(linkKey(slot));
        if (value.empty()) return current;
        const std::size_t comma = value.rfind(',');
        if (comma == std::string::npos) return {"", value};
        return {value.substr(0, comma), value.substr(comma + 1)};
    }

private:
    const std::vector<std::string>& lines_;
};

// The reading steps applied to a plain record.
class RecordTarget : public SettingsTarget {
public:
    explicit RecordTarget(StoredSettings& s) : s_(s) {}
    void readGame(GameMode game) override { s_.game = game; }
    Options& options() override { return s_.options; }
    void readRSystem(bool on) override { s_.options.rSystem = on; }
    void readPastRemove(bool on) override { s_.options.pastRemove = on; }

private:
    StoredSettings& s_;
};

}  // namespace

const char* const kPrinterNameKey = "Printer.Name";

std::filesystem::path settingsPath(const std::filesystem::path& folder) { return folder / "Tambor.ini"; }

std::vector<std::string> settingsLines(const StoredSettings& settings, const PrinterInfo* printer) {
    const Options& o = settings.options;
    std::vector<std::string> lines;
    lines.reserve(38);
    lines.push_back("[動作モード設定]");
    // Mini6Mode keeps its two values (copies of the program without ロト７
    // read it alone and start in ミニロト); a third game adds Game=.
    lines.push_back(intLine("Mini6Mode", settings.game == GameMode::Loto6 ? 1 : 0));
    if (settings.game != GameMode::MiniLoto && settings.game != GameMode::Loto6)
        lines.push_back(intLine("Game", static_cast<int>(settings.game)));
    lines.push_back("");
    lines.push_back("[保存形式]");
    lines.push_back(intLine("SaveFormat", static_cast<int>(o.saveFormat)));
    lines.push_back("");
    lines.push_back("[ヘルプ]");
    lines.push_back(intLine("PopupHint", o.popupHint ? 1 : 0));
    lines.push_back("");
    lines.push_back("[キー割り当て]");
    lines.push_back(intLine("ESC_Action", o.escAction ? 1 : 0));
    lines.push_back("");
    lines.push_back("[インターネット]");
    lines.push_back(intLine("UseProxy", o.useProxy ? 1 : 0));
    lines.push_back("ProxyAddress=" + o.proxyAddress);
    lines.push_back("ProxyPort=" + o.proxyPort);
    lines.push_back("");
    lines.push_back("[当選確率表示オプション]");
    lines.push_back(intLine("PrizeViewMethod", static_cast<int>(o.probabilityView)));
    lines.push_back("");
    // Without a printer the section holds only what must not be lost: the
    // printer chosen last and the other printers' margins.
    if (printer || !o.printerName.empty() || !o.otherPrinterMargins.empty()) {
        lines.push_back(std::string(kPrintSection));
        if (printer) lines.push_back(marginLine(printerKey(printer->name), o.horzMargin, o.vertMargin));
        if (!o.printerName.empty()) lines.push_back(std::string(kPrinterNameKey) + "=" + o.printerName);
        for (const std::string& line : o.otherPrinterMargins) lines.push_back(line);
        lines.push_back("");
    }
    lines.push_back("[抽選オプション]");
    lines.push_back(intLine("DefTimes", o.defaultDrawCount));
    const int priority = static_cast<int>(o.priorityMode);
    if (priority >= 0 && priority < kPriorityModeCount) lines.push_back(std::string("LotMode=") + priorityModeText(o.priorityMode));
    lines.push_back(intLine("RSystem", o.rSystem ? 1 : 0));
    const int arrange = static_cast<int>(o.arrangeMode);
    if (arrange >= 0 && arrange < kArrangeModeCount)
        lines.push_back(std::string("ArrangeMode=") + arrangeModeText(o.arrangeMode));
    lines.push_back(intLine("PastRemove", o.pastRemove ? 1 : 0));
    lines.push_back("");
    lines.push_back("[追加LINK]");
    for (int i = 0; i < kUserLinkCount; ++i) {
        const UserLink& link = o.links[static_cast<std::size_t>(i)];
        lines.push_back(linkKey(i + 1) + "=" + link.title + "," + link.target);
    }
    lines.push_back("");
    if (!o.updateUrl.empty() || !o.noticedHistoryConflict.empty()) {
        lines.push_back("[オプション]");
        if (!o.updateUrl.empty()) lines.push_back("UpdateUrl=" + o.updateUrl);
        if (!o.noticedHistoryConflict.empty()) lines.push_back("HistoryConflict=" + o.noticedHistoryConflict);
        lines.push_back("");
    }
    // Conditions left as they start (all off) are not written, so a file
    // without any stays as it always was.
    for (const auto& [game, filter] : o.filters) {
        if (filter == defaultFilterSettings(game)) continue;
        lines.push_back(std::string("[絞り込み条件 ") + gameName(game) + "]");
        for (int i = 0; i < kFilterConditionCount; ++i) {
            const FilterRange& r = filter.ranges[static_cast<std::size_t>(i)];
            lines.push_back(filterKey(game, filterConditionAt(i)) + "=" + (r.enabled ? "1," : "0,") +
                            std::to_string(r.min) + "," + std::to_string(r.max));
        }
        lines.push_back("");
    }
    // Files whose names cp932 cannot hold are left out: the file stays
    // writable and the list keeps the others.
    std::vector<std::string> recent;
    for (const std::string& file : o.recentFiles) {
        if (recent.size() >= static_cast<std::size_t>(kRecentFileCount)) break;
        try {
            utf8ToCp932(file, "Tambor.ini");
        } catch (const std::exception&) {
            continue;
        }
        recent.push_back(file);
    }
    if (!recent.empty()) {
        lines.push_back("[最近使ったファイル]");
        for (std::size_t i = 0; i < recent.size(); ++i) lines.push_back("RecentFile" + std::to_string(i + 1) + "=" + recent[i]);
        lines.push_back("");
    }
    if (o.window.width > 0 && o.window.height > 0) {
        lines.push_back("[ウィンドウ]");
        lines.push_back(intLine("WindowLeft", o.window.left));
        lines.push_back(intLine("WindowTop", o.window.top));
        lines.push_back(intLine("WindowWidth", o.window.width));
        lines.push_back(intLine("WindowHeight", o.window.height));
        lines.push_back(intLine("WindowMaximized", o.window.maximized ? 1 : 0));
        lines.push_back("");
    }
    return lines;
}

void readSettingsLines(const std::vector<std::string>& lines, const PrinterInfo* printer, SettingsTarget& target) {
    const SettingsReader file(lines);
    target.readGame(file.game());
    Options& o = target.options();
    o.saveFormat = file.saveFormat();
    o.popupHint = file.flag("PopupHint");
    o.escAction = file.flag("ESC_Action");
    o.useProxy = file.flag("UseProxy");
    o.proxyAddress = file.text("ProxyAddress");
    o.proxyPort = file.text("ProxyPort");
    o.probabilityView = file.probabilityView();
    if (printer) file.margins(*printer, o.horzMargin, o.vertMargin);
    o.printerName = file.text(kPrinterNameKey);
    o.otherPrinterMargins = file.otherPrinterLines(printer);
    o.defaultDrawCount = file.defaultDrawCount(o.defaultDrawCount);
    o.priorityMode = file.priorityMode();
    target.readRSystem(file.flag("RSystem"));
    o.arrangeMode = file.arrangeMode();
    target.readPastRemove(file.flag("PastRemove"));
    for (int i = 0; i < kUserLinkCount; ++i)
        o.links[static_cast<std::size_t>(i)] = file.link(i + 1, o.links[static_cast<std::size_t>(i)]);
    o.updateUrl = file.text("UpdateUrl");
    o.noticedHistoryConflict = file.text("HistoryConflict");
    o.filters = file.filters();
    o.recentFiles.clear();
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string name = file.text("RecentFile" + std::to_string(i));
        if (!name.empty()) o.recentFiles.push_back(name);
    }
    o.window = file.windowPlace();
}

StoredSettings parseSettings(const std::vector<std::string>& lines, const StoredSettings& current,
                             const PrinterInfo* printer) {
    StoredSettings s = current;
    RecordTarget target(s);
    readSettingsLines(lines, printer, target);
    return s;
}

bool sameSettingKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

std::string lookupSetting(const std::vector<std::string>& lines, std::string_view key) {
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (equalsIgnoringCase(std::string_view(line).substr(0, eq), key)) return line.substr(eq + 1);
    }
    return {};
}

std::string storedPrinterName(const std::filesystem::path& path) {
    try {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) return {};
        return lookupSetting(readSettingsFileLines(path).lines, kPrinterNameKey);
    } catch (const std::exception&) {
        return {};  // the reader reports the file's problem when it reads it
    }
}

bool switchPrinterMargins(Options& options, const PrinterInfo* from, const PrinterInfo& to) {
    std::vector<std::string>& kept = options.otherPrinterMargins;
    const auto keyOf = [](const std::string& line) { return std::string_view(line).substr(0, line.find('=')); };
    const std::string toKey = printerKey(to.name);
    if (from) {
        const std::string fromKey = printerKey(from->name);
        if (equalsIgnoringCase(fromKey, toKey)) return true;  // the same printer keeps its margins
        std::erase_if(kept, [&](const std::string& line) { return equalsIgnoringCase(keyOf(line), fromKey); });
        kept.push_back(marginLine(fromKey, options.horzMargin, options.vertMargin));
    }
    const auto stored = std::find_if(kept.begin(), kept.end(),
                                     [&](const std::string& line) { return equalsIgnoringCase(keyOf(line), toKey); });
    if (stored == kept.end()) return false;
    const std::string value = stored->substr(stored->find('=') + 1);
    kept.erase(stored);
    applyMargins(value, to, options.horzMargin, options.vertMargin);
    return !value.empty();
}

PriorityMode lotModeFromText(std::string_view value) {
    const std::optional<int> n = parseWholeNumber(value);
    if (n && *n != 64) {
        if (*n >= 0 && *n < kPriorityModeCount) return kLotModeLookupOrder[static_cast<std::size_t>(*n)];
        return PriorityMode::PreferPairs;
    }
    for (PriorityMode mode : kLotModeLookupOrder)
        if (value == priorityModeText(mode)) return mode;
    return PriorityMode::PreferPairs;
}

SettingsFileLines readSettingsFileLines(const std::filesystem::path& path) {
    DecodedLines decoded = decodeLinesSkippingBad(readFileBytes(path));
    SettingsFileLines file{std::move(decoded.lines), {}};
    if (decoded.skipped.empty()) return file;
    // At most a few numbers: a file of garbage gets one short message too.
    constexpr std::size_t kListed = 5;
    std::string numbers;
    for (std::size_t i = 0; i < decoded.skipped.size() && i < kListed; ++i)
        numbers += (i == 0 ? "" : ", ") + std::to_string(decoded.skipped[i]);
    numbers += " 行目";
    if (decoded.skipped.size() > kListed) numbers += "など " + std::to_string(decoded.skipped.size()) + " 行";
    file.problem = "設定ファイル「" + path.string() + "」の " + numbers +
                   "は CP932 (Shift-JIS) としても UTF-8 としても読み取れないため読み飛ばしました。"
                   "ほかの設定は読み込みました。読み飛ばした行は消さずに残します。設定を書き換えるときは、"
                   "書き換える前のファイルを「" + settingsBackupPath(path).filename().string() + "」として残します。";
    return file;
}

StoredSettings readSettingsFile(const std::filesystem::path& path, const StoredSettings& current,
                                const PrinterInfo* printer) {
    return parseSettings(readSettingsFileLines(path).lines, current, printer);
}

void writeSettingsFile(const std::filesystem::path& path, const StoredSettings& settings, const PrinterInfo* printer) {
    writeTextFileLines(path, settingsLines(settings, printer));
}

bool ensureSettingsFile(const std::filesystem::path& path, const StoredSettings& current, const PrinterInfo* printer) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec) || ec) {
        // An existing file, or one whose state cannot be told: the reader
        // reports the latter with the system's reason.
        return false;
    }
    writeSettingsFile(path, current, printer);
    return true;
}

}  // namespace tambor
