#include "io/settings.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

#include "io/number_text.h"
#include "io/print_margin.h"
#include "io/text_file.h"

namespace tambor {

const std::array<const char*, kLotModeCount> kLotModeTexts = {
    "連対しやすい数字を優先する", "偏差値が高い数字を優先する", "出やすい数字を優先する",
    "優先数字を指定しない",       "出にくい数字を優先する",     "偏差値が低い数字を優先する",
    "連対しにくい数字を優先する",
};

const std::array<const char*, kArrangeModeCount> kArrangeModeTexts = {
    "乱数で並び順を決定する",
    "小さい順に並べる",
    "大きい順に並べる",
};

namespace {

// The reader's lookup table holds the priority modes in this order, and a
// numeric LotMode value is a position in it, not a code.
constexpr std::array<int, kLotModeCount> kLotModeLookupOrder = {0, 2, 3, 4, 6, 1, 5};

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i])) return false;
    return true;
}

std::string intLine(const char* key, int value) { return std::string(key) + "=" + std::to_string(value); }

// An integer key: the whole number stored, or nothing.
std::optional<int> intSetting(const std::vector<std::string>& lines, std::string_view key) {
    return parseWholeNumber(lookupSetting(lines, key));
}

bool boolSetting(const std::vector<std::string>& lines, std::string_view key) {
    return intSetting(lines, key).value_or(0) != 0;
}

// Step 9: the stored text is parsed, shown in its edit and committed, which
// parses the shown text once more.
double readMargin(std::string_view text, double maximum, double current) {
    const double parsed = ParseMargin(text, maximum, current);
    return ParseMargin(formatMargin(parsed), maximum, parsed);
}

std::string linkKey(int slot) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "追加LINK(%d)", slot);
    return buf;
}

}  // namespace

std::filesystem::path settingsPath(const std::filesystem::path& folder) { return folder / "Tambor.ini"; }

std::vector<std::string> settingsLines(const Settings& s, const PrinterInfo* printer) {
    std::vector<std::string> lines;
    lines.reserve(35);
    lines.push_back("[動作モード設定]");
    lines.push_back(intLine("Mini6Mode", static_cast<int>(s.game)));
    lines.push_back("");
    lines.push_back("[保存形式]");
    lines.push_back(intLine("SaveFormat", s.saveFormat));
    lines.push_back("");
    lines.push_back("[ヘルプ]");
    lines.push_back(intLine("PopupHint", s.popupHint ? 1 : 0));
    lines.push_back("");
    lines.push_back("[キー割り当て]");
    lines.push_back(intLine("ESC_Action", s.escAction ? 1 : 0));
    lines.push_back("");
    lines.push_back("[インターネット]");
    lines.push_back(intLine("UseProxy", s.useProxy ? 1 : 0));
    lines.push_back("ProxyAddress=" + s.proxyAddress);
    lines.push_back("ProxyPort=" + s.proxyPort);
    lines.push_back("");
    lines.push_back("[当選確率表示オプション]");
    lines.push_back(intLine("PrizeViewMethod", s.prizeViewMethod));
    lines.push_back("");
    if (printer) {
        lines.push_back("[印刷オプション]");
        lines.push_back(printerKey(printer->name) + "=" + formatMargin(s.horzMargin) + ", " +
                        formatMargin(s.vertMargin));
        lines.push_back("");
    }
    lines.push_back("[抽選オプション]");
    lines.push_back(intLine("DefTimes", s.defTimes));
    if (s.lotMode >= 0 && s.lotMode < kLotModeCount)
        lines.push_back(std::string("LotMode=") + kLotModeTexts[static_cast<std::size_t>(s.lotMode)]);
    lines.push_back(intLine("RSystem", s.rSystem ? 1 : 0));
    if (s.arrangeMode >= 0 && s.arrangeMode < kArrangeModeCount)
        lines.push_back(std::string("ArrangeMode=") + kArrangeModeTexts[static_cast<std::size_t>(s.arrangeMode)]);
    lines.push_back(intLine("PastRemove", s.pastRemove ? 1 : 0));
    lines.push_back("");
    lines.push_back("[追加LINK]");
    for (int i = 0; i < 3; ++i) {
        const UserLink& link = s.links[static_cast<std::size_t>(i)];
        lines.push_back(linkKey(i + 1) + "=" + link.title + "," + link.target);
    }
    lines.push_back("");
    return lines;
}

std::string lookupSetting(const std::vector<std::string>& lines, std::string_view key) {
    for (const std::string& line : lines) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (equalsIgnoringCase(std::string_view(line).substr(0, eq), key)) return line.substr(eq + 1);
    }
    return {};
}

int lotModeFromText(std::string_view value) {
    const std::optional<int> n = parseWholeNumber(value);
    if (n && *n != 64) {
        if (*n >= 0 && *n < kLotModeCount) return kLotModeLookupOrder[static_cast<std::size_t>(*n)];
        return 0;
    }
    for (int code : kLotModeLookupOrder)
        if (value == kLotModeTexts[static_cast<std::size_t>(code)]) return code;
    return 0;
}

Settings parseSettings(const std::vector<std::string>& lines, const Settings& current, const PrinterInfo* printer) {
    Settings s = current;
    // 1-8: game, save format, hints, ESC, proxy, probability view.
    s.game = intSetting(lines, "Mini6Mode").value_or(0) == 1 ? GameMode::Loto6 : GameMode::MiniLoto;
    s.saveFormat = intSetting(lines, "SaveFormat").value_or(0) == 1 ? 1 : 0;
    s.popupHint = boolSetting(lines, "PopupHint");
    s.escAction = boolSetting(lines, "ESC_Action");
    s.useProxy = boolSetting(lines, "UseProxy");
    s.proxyAddress = lookupSetting(lines, "ProxyAddress");
    s.proxyPort = lookupSetting(lines, "ProxyPort");
    s.prizeViewMethod = intSetting(lines, "PrizeViewMethod").value_or(0) == 1 ? 1 : 0;

    // 9: margins of the current printer; another printer's entry is ignored.
    if (printer) {
        const std::string value = lookupSetting(lines, printerKey(printer->name));
        if (!value.empty()) {
            const std::size_t comma = value.find(',');
            const std::string_view text(value);
            const std::string_view horz = comma == std::string::npos ? std::string_view() : text.substr(0, comma);
            const std::string_view vert = comma == std::string::npos ? text : text.substr(comma + 1);
            s.horzMargin = readMargin(horz, printer->pageWidthMm, current.horzMargin);
            s.vertMargin = readMargin(vert, printer->pageHeightMm, current.vertMargin);
        }
    }

    // 10-14: draw options.
    s.defTimes = std::clamp(intSetting(lines, "DefTimes").value_or(current.defTimes), kDefTimesMin, kDefTimesMax);
    s.lotMode = lotModeFromText(lookupSetting(lines, "LotMode"));
    s.rSystem = boolSetting(lines, "RSystem");
    s.arrangeMode = 0;
    const std::string arrange = lookupSetting(lines, "ArrangeMode");
    for (int code = 0; code < kArrangeModeCount; ++code) {
        if (arrange == kArrangeModeTexts[static_cast<std::size_t>(code)]) {
            s.arrangeMode = code;
            break;
        }
    }
    s.pastRemove = boolSetting(lines, "PastRemove");

    // 15: links, split at the last comma; empty keeps the current captions.
    for (int i = 0; i < 3; ++i) {
        const std::string value = lookupSetting(lines, linkKey(i + 1));
        UserLink& link = s.links[static_cast<std::size_t>(i)];
        if (value.empty()) {
            link = current.links[static_cast<std::size_t>(i)];
            continue;
        }
        const std::size_t comma = value.rfind(',');
        if (comma == std::string::npos) {
            link = {"", value};
        } else {
            link = {value.substr(0, comma), value.substr(comma + 1)};
        }
    }
    return s;
}

Settings readSettingsFile(const std::filesystem::path& path, const Settings& current, const PrinterInfo* printer) {
    return parseSettings(readTextFileLines(path), current, printer);
}

void writeSettingsFile(const std::filesystem::path& path, const Settings& settings, const PrinterInfo* printer) {
    writeTextFileLines(path, settingsLines(settings, printer));
}

bool ensureSettingsFile(const std::filesystem::path& path, const Settings& current, const PrinterInfo* printer) {
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
