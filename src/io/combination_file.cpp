#include "io/combination_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

#include "io/cp932.h"
#include "core/whole_number.h"
#include "io/text_file.h"

namespace tambor {

const char* const kNothingToSaveMessage = "数字の組み合わせがないので保存できません。";

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kJoin = "   || ";

// The header line in cp932; the game names are fixed, so convert once.
const std::string& headerBytes(GameMode mode) {
    static const std::array<std::string, kGameCount> headers = [] {
        std::array<std::string, kGameCount> all;
        for (const GameMode game : kAllGames) all[static_cast<std::size_t>(game)] = utf8ToCp932(fileHeader(game), "");
        return all;
    }();
    return headers[static_cast<std::size_t>(mode)];
}

// The game's card rule (100, 115 or 130 hyphens) and a form feed: one
// character longer than a full line of five combinations.
std::string separatorLine(GameMode mode) {
    const auto hyphens = static_cast<std::size_t>(rulesFor(mode).cardRuleWidth);
    std::string line(hyphens, '-');
    line += '\f';
    return line;
}

// Appends combination lines to a buffer sized in advance, without a stream
// or a temporary string per line.
class LineWriter {
public:
    LineWriter(const CombinationList& list, std::string& out) : list_(list), out_(out) {}
    void combination(std::size_t position) {
        char buf[24];
        const int len = formatCombinationLineTo(UnrankCombination(list_.mode(), list_.items()[position]), buf);
        out_.append(buf, static_cast<std::size_t>(len));
    }

private:
    const CombinationList& list_;
    std::string& out_;
};

void formatCsv(const CombinationList& list, int pages, std::string& out, PercentProgress& progress) {
    const int total = static_cast<int>(list.size());
    LineWriter writer(list, out);
    int end = PageItemCount(0, pages, total) - 1;
    int page = 0;
    for (int i = 0; i < total; ++i) {
        writer.combination(static_cast<std::size_t>(i));
        out += kCrLf;
        if (i >= end) {
            out += kCrLf;  // the empty line after every page, the last one included
            ++page;
            end = PageItemCount(page, pages, total) + i;
        }
        progress.report(static_cast<std::size_t>(i) + 1, static_cast<std::size_t>(total));
    }
}

void formatText(const CombinationList& list, int pages, std::string& out, PercentProgress& progress) {
    const int total = static_cast<int>(list.size());
    const std::string separator = separatorLine(list.mode());
    LineWriter writer(list, out);
    bool lineOpen = false;
    auto closeLine = [&] {
        if (lineOpen) out += kCrLf;
        lineOpen = false;
    };
    int remaining = PageItemCount(0, pages, total) - 1;
    int k = 0;  // position on the current page
    int page = 0;
    for (int j = 0; j < total; ++j) {
        if (k % 5 == 0) {
            closeLine();
            lineOpen = true;
        } else {
            out += kJoin;
        }
        writer.combination(static_cast<std::size_t>(j));
        if (remaining <= 0) {
            // Last combination of its page: a separator unless it is the last of all.
            if (j < total - 1) {
                closeLine();
                out += separator;
                out += kCrLf;
                k = -1;
                ++page;
                remaining = PageItemCount(page, pages, total);
            }
        } else if (k % 25 == 24) {
            closeLine();
            out += kCrLf;  // an empty line after every 25 combinations of a page
        }
        ++k;
        --remaining;
        progress.report(static_cast<std::size_t>(j) + 1, static_cast<std::size_t>(total));
    }
    closeLine();
}

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

FileLayout layoutForFileName(std::string_view fileName) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = fileName.size(); i-- > 0;) {
        if (isPathSeparator(fileName[i])) break;
        if (fileName[i] == '.') {
            dot = i;
            break;
        }
    }
    if (dot == std::string_view::npos) return FileLayout::Text;
    const std::string_view ext = fileName.substr(dot);
    // Upper-casing can only turn ASCII letters into "CSV", so an ASCII
    // case-insensitive comparison is the same test.
    static constexpr std::string_view kCsv = ".CSV";
    if (ext.size() != kCsv.size()) return FileLayout::Text;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        char c = ext[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kCsv[i]) return FileLayout::Text;
    }
    return FileLayout::Csv;
}

FileDialogFilter fileDialogFilter(SaveFormat format) {
    if (format == SaveFormat::Text)
        return {"txt", "テキストファイル(*.txt)|*.txt|CSV (カンマ区切り) (*.csv)|*.csv|すべてのファイル(*.*)|*.*"};
    return {"csv", "CSV (カンマ区切り) (*.csv)|*.csv|テキストファイル(*.txt)|*.txt|すべてのファイル(*.*)|*.*"};
}

int pageCountFromText(std::string_view text) {
    const std::optional<int> value = parseWholeNumber(text);
    if (!value || *value <= 0) return 1;
    return *value;
}

int PageItemCount(int page, int pages, int total) {
    // 64-bit so that an absurd page count cannot overflow pages * 5.
    const std::int64_t p = pages <= 0 ? 1 : pages;
    const std::int64_t r = total % (p * 5);
    const std::int64_t base = (total - r) / p;
    if (page < r / 5) return static_cast<int>(base + 5);
    if (page == r / 5) return static_cast<int>(base + r % 5);
    return static_cast<int>(base);
}

std::string formatCombinationFile(const CombinationList& list, FileLayout layout, int pages,
                                  const ProgressCallback& progress) {
    if (pages <= 0) pages = 1;
    const std::string& header = headerBytes(list.mode());
    const auto lineLength = static_cast<std::size_t>(3 * rulesFor(list.mode()).pickCount);
    const std::size_t n = list.size();
    // Room for the file: a text line holds five combinations and four joins;
    // each non-empty page may add a separator (at most 132 bytes) and empty lines.
    const std::size_t usedPages = std::min<std::size_t>(static_cast<std::size_t>(pages), n);
    const std::size_t estimate = layout == FileLayout::Csv
                                     ? n * (lineLength + 2) + usedPages * 2
                                     : n * (lineLength + kJoin.size()) + (n / 5 + n / 25 + 2) * 2 + usedPages * 120;
    std::string out;
    out.reserve(header.size() + 4 + estimate);
    out += header;
    out += kCrLf;
    out += kCrLf;
    PercentProgress report(progress);
    if (layout == FileLayout::Csv)
        formatCsv(list, pages, out, report);
    else
        formatText(list, pages, out, report);
    return out;
}

bool saveCombinationFileUnlessStopped(const std::string& path, CombinationList& list, int pages,
                                      const ProgressCallback& progress) {
    if (list.empty()) throw FileError(kNothingToSaveMessage);
    // Formatting fills the first half of the gauge, writing the second.
    bool stopped = false;
    const ProgressCallback formatting = [&](int percent) {
        if (progress && !progress(percent / 2)) stopped = true;
        return !stopped;
    };
    const ProgressCallback writing = [&](int percent) { return !progress || progress(50 + percent / 2); };
    std::string bytes;
    try {
        bytes = formatCombinationFile(list, layoutForFileName(path), pages, formatting);
    } catch (const std::bad_alloc&) {
        throw FileError("ファイル「" + path + "」に書き込めません: メモリが足りません");
    }
    if (stopped || !writeFileBytesAtomic(path, bytes, writing)) return false;
    list.setChanged(false);
    return true;
}

void saveCombinationFile(const std::string& path, CombinationList& list, int pages,
                         const ProgressCallback& progress) {
    // The answers are not read: a save that was asked for is finished.
    const ProgressCallback show = [&](int percent) {
        if (progress) progress(percent);
        return true;
    };
    saveCombinationFileUnlessStopped(path, list, pages, show);
}

std::optional<GameMode> headerGameOf(std::string_view bytes) {
    // A file saved by a modern editor is UTF-8, often with a byte-order mark.
    if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
    std::size_t end = 0;
    while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n') ++end;
    const std::string_view first = bytes.substr(0, end);
    for (const GameMode mode : kAllGames)
        if (first == headerBytes(mode) || first == fileHeader(mode)) return mode;
    return std::nullopt;
}

CombinationFile readCombinationFile(const std::string& path) {
    CombinationFile file;
    file.path = path;
    file.bytes = textBytesOf(readFileBytes(path), path);
    file.headerGame = headerGameOf(file.bytes);
    return file;
}

LoadResult appendCombinationFile(CombinationList& list, const CombinationFile& file,
                                 const ProgressCallback& progress) {
    const bool wasEmpty = list.empty();
    LoadResult result;
    PercentProgress report(progress);
    // Count first so that the gauge can show the share of lines done.
    forEachLine(file.bytes, [&](std::string_view) { ++result.lineCount; });
    std::size_t done = 0;
    forEachLine(file.bytes, [&](std::string_view line) {
        if (!result.completed) return;
        result.listed += list.appendText(line, &result.found);
        if (!report.report(++done, result.lineCount)) result.completed = false;
    });
    // A list that holds the whole file equals it; a part of it does not.
    if (wasEmpty && result.completed) list.setChanged(false);
    return result;
}

}  // namespace tambor
