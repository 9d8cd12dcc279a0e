#include "session/settings_merge.h"

#include <algorithm>
#include <system_error>
#include <unordered_map>
#include <unordered_set>

#include "io/cp932.h"
#include "io/text_file.h"
#include "session/settings_file.h"

namespace tambor {
namespace {

// A key as the reader compares it: ASCII letters folded to upper case.
std::string foldedKey(std::string_view key) {
    std::string folded(key);
    for (char& c : folded)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return folded;
}

// One "key=value" line the program writes, with its section.
struct OwnedValue {
    std::string section;
    std::string key;
    std::string line;
};

// The program's values by key. A key given twice (other printers' lines
// kept as the file had them) counts once, as the reader takes it: the
// first. Looked up by folded key, so that a file of any size stays quick.
class OwnedValues {
public:
    explicit OwnedValues(const std::vector<std::string>& lines) {
        std::string section;
        for (const std::string& line : lines) {
            if (line.starts_with("[")) {
                section = line;
                continue;
            }
            const std::size_t eq = line.find('=');
            if (eq == std::string::npos || eq == 0) continue;
            const std::string key = line.substr(0, eq);
            if (byKey_.emplace(foldedKey(key), list_.size()).second) list_.push_back({section, key, line});
        }
    }
    const std::vector<OwnedValue>& list() const { return list_; }
    const OwnedValue* find(std::string_view key) const {
        const auto it = byKey_.find(foldedKey(key));
        return it == byKey_.end() ? nullptr : &list_[it->second];
    }

private:
    std::vector<OwnedValue> list_;
    std::unordered_map<std::string, std::size_t> byKey_;
};

// The recent files are one list stored as RecentFile1, RecentFile2, …: the
// reader skips a gap, the writer closes it. When the list changes, every
// member the window no longer holds goes, also one the window never saw
// (a gap, or a member written by hand).
constexpr std::string_view kListStem = "RecentFile";

bool isListKey(std::string_view key) {
    if (key.size() <= kListStem.size() || !sameSettingKey(key.substr(0, kListStem.size()), kListStem)) return false;
    const std::string_view number = key.substr(kListStem.size());
    return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A line of the file being rewritten: its bytes as they will be written,
// and its text when it could be decoded.
struct FileLine {
    std::string bytes;
    std::string text;
    bool decoded = false;

    bool blank() const { return bytes.empty(); }
    bool header() const { return decoded && text.starts_with("["); }
    // The key of a readable "key=value" line, as the reader sees it.
    std::optional<std::string_view> key() const {
        if (!decoded || header()) return std::nullopt;
        const std::size_t eq = text.find('=');
        if (eq == std::string::npos || eq == 0) return std::nullopt;
        return std::string_view(text).substr(0, eq);
    }
    // The key of an unreadable line whose bytes before "=" are plain ASCII:
    // the bad byte is in its value, so the line is still known to be that
    // key's.
    std::optional<std::string_view> asciiKey() const {
        if (decoded) return std::nullopt;
        const std::size_t eq = bytes.find('=');
        if (eq == std::string::npos || eq == 0 || bytes.starts_with("[")) return std::nullopt;
        const std::string_view key = std::string_view(bytes).substr(0, eq);
        if (std::any_of(key.begin(), key.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            return std::nullopt;
        return key;
    }
};

// A line the program writes, in the file's own encoding: cp932, or UTF-8
// in a file a user saved as UTF-8, so that the file stays one encoding and
// every line is read back as written.
FileLine newLine(const std::string& text, TextEncoding encoding) {
    return {encoding == TextEncoding::Utf8 ? text : utf8ToCp932(text, "Tambor.ini"), text, true};
}

// The index of the first line after the header at `header` that starts the
// next section (or the end).
std::size_t sectionEnd(const std::vector<FileLine>& lines, std::size_t header) {
    std::size_t i = header + 1;
    while (i < lines.size() && !lines[i].header()) ++i;
    return i;
}

// Adds lines to section: after its last non-blank line when the file has
// the section, else as a new section at the end of the file.
void insertIntoSection(std::vector<FileLine>& lines, const std::string& section, const std::vector<std::string>& added,
                       TextEncoding encoding) {
    std::vector<FileLine> fresh;
    for (const std::string& text : added) fresh.push_back(newLine(text, encoding));
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [&](const FileLine& l) { return l.header() && l.text == section; });
    if (header != lines.end()) {
        const std::size_t start = static_cast<std::size_t>(header - lines.begin());
        std::size_t at = sectionEnd(lines, start);
        while (at > start + 1 && lines[at - 1].blank()) --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), fresh.begin(), fresh.end());
        return;
    }
    if (!lines.empty() && !lines.back().blank()) lines.push_back(FileLine{});
    lines.push_back(newLine(section, encoding));
    lines.insert(lines.end(), fresh.begin(), fresh.end());
    lines.push_back(FileLine{});
}

}  // namespace

std::optional<std::string> mergedSettingsBytes(std::string_view fileBytes, const std::vector<std::string>& readLines,
                                               const std::vector<std::string>& nowLines) {
    const OwnedValues before(readLines);
    const OwnedValues now(nowLines);
    std::vector<const OwnedValue*> changed;
    std::unordered_set<std::string> removed;
    bool listChanged = false;
    for (const OwnedValue& value : now.list()) {
        const OwnedValue* old = before.find(value.key);
        if (old && old->line == value.line) continue;
        changed.push_back(&value);
        listChanged = listChanged || isListKey(value.key);
    }
    for (const OwnedValue& value : before.list()) {
        if (now.find(value.key)) continue;
        removed.insert(foldedKey(value.key));
        listChanged = listChanged || isListKey(value.key);
    }
    if (changed.empty() && removed.empty()) return std::nullopt;

    const TextEncoding encoding = detectTextEncoding(fileBytes);
    std::vector<FileLine> lines;
    for (RawLine& raw : decodeLinesKeepingRaw(fileBytes))
        lines.push_back({std::string(raw.bytes), std::move(raw.text), raw.decoded});
    bool touched = false;

    // Removed keys go wherever the reader would find them; a section of
    // the program that loses its last line goes too.
    std::vector<bool> drop(lines.size(), false);
    std::vector<std::size_t> emptiedHeaders;
    std::optional<std::size_t> header;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].header()) header = i;
        const auto key = lines[i].key();
        if (!key) continue;
        const bool gone = removed.contains(foldedKey(*key)) || (listChanged && isListKey(*key) && !now.find(*key));
        if (!gone) continue;
        drop[i] = true;
        touched = true;
        if (header && (emptiedHeaders.empty() || emptiedHeaders.back() != *header)) emptiedHeaders.push_back(*header);
    }
    for (const std::size_t h : emptiedHeaders) {
        const std::size_t end = sectionEnd(lines, h);
        bool empty = true;
        for (std::size_t i = h + 1; i < end; ++i) empty = empty && (drop[i] || lines[i].blank());
        if (empty)
            for (std::size_t i = h; i < end; ++i) drop[i] = true;
    }
    std::vector<FileLine> kept;
    kept.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (!drop[i]) kept.push_back(std::move(lines[i]));
    lines = std::move(kept);

    // Changed keys replace the line the reader takes (or, failing that, an
    // unreadable line of the key); the rest are added to their sections,
    // in the order the program writes them.
    std::unordered_map<std::string, std::size_t> readable, unreadable;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto key = lines[i].key()) readable.emplace(foldedKey(*key), i);
        if (const auto key = lines[i].asciiKey()) unreadable.emplace(foldedKey(*key), i);
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> pending;
    for (const OwnedValue* value : changed) {
        const std::string key = foldedKey(value->key);
        std::optional<std::size_t> at;
        if (const auto it = readable.find(key); it != readable.end())
            at = it->second;
        else if (const auto bad = unreadable.find(key); bad != unreadable.end())
            at = bad->second;
        if (at) {
            FileLine& line = lines[*at];
            if (line.decoded && line.text == value->line) continue;
            line = newLine(value->line, encoding);
            touched = true;
            continue;
        }
        auto section = std::find_if(pending.begin(), pending.end(), [&](const auto& p) { return p.first == value->section; });
        if (section == pending.end()) section = pending.insert(pending.end(), {value->section, {}});
        section->second.push_back(value->line);
    }
    for (const auto& [section, added] : pending) {
        insertIntoSection(lines, section, added, encoding);
        touched = true;
    }
    if (!touched) return std::nullopt;

    std::string out;
    if (fileBytes.starts_with(kUtf8Bom)) out += kUtf8Bom;
    for (const FileLine& line : lines) out += line.bytes + "\r\n";
    // The file's encoding is decided by the majority of its lines: a UTF-8
    // file that lost non-ASCII lines could tip over and read its other lines
    // as cp932. The byte-order mark keeps it UTF-8.
    if (encoding == TextEncoding::Utf8 && detectTextEncoding(out) != TextEncoding::Utf8) out.insert(0, kUtf8Bom);
    return out;
}

std::filesystem::path settingsBackupPath(const std::filesystem::path& settingsFile) {
    std::filesystem::path backup = settingsFile;
    backup += ".bak";
    return backup;
}

SettingsWrite mergeSettingsFile(const std::filesystem::path& path, const std::vector<std::string>& readLines,
                                const std::vector<std::string>& nowLines) {
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (!exists && !ec) {
        writeTextFileLines(path, nowLines);
        return {true, false};
    }
    // Throws for a file that cannot be read (and for one whose state cannot
    // be told): it is not replaced blindly.
    const std::string bytes = readFileBytes(path);
    const std::optional<std::string> merged = mergedSettingsBytes(bytes, readLines, nowLines);
    if (!merged) return {};
    const std::vector<RawLine> raw = decodeLinesKeepingRaw(bytes);
    const bool hadUnreadable = std::any_of(raw.begin(), raw.end(), [](const RawLine& l) { return !l.decoded; });
    if (hadUnreadable) writeFileBytesAtomic(settingsBackupPath(path), bytes);
    writeFileBytesAtomic(path, *merged);
    return {true, hadUnreadable};
}

}  // namespace tambor
