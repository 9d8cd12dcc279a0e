#include "history/history_edit.h"

#include <algorithm>

#include "history/history_store.h"
#include "history/online_update.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {
namespace {

// The file's own problems, worded for the user; empty when fn went through.
template <class Fn>
std::string fileProblem(const std::filesystem::path& path, Fn&& fn) {
    try {
        fn();
        return {};
    } catch (const FileError& e) {
        return "当選番号ファイル「" + path.string() + "」を書き換えられません: " + e.reason() + "。";
    } catch (const TextEncodingError& e) {
        return e.what();
    }
}

std::string dateProblem(const DrawDate& date, const std::optional<HistoryDraw>& before) {
    if (!historyEraDateText(date)) return "日付 " + isoDateText(date) + " は当選番号ファイルに書けません（平成より前です）。";
    if (before && before->date && date <= *before->date)
        return "日付は" + roundAndDateText(*before) + "より後にしてください。";
    return {};
}

}  // namespace

HistorySection findHistorySection(const std::vector<std::string>& lines, GameMode mode) {
    const std::string header = HistoryStore::sectionHeader(mode);
    HistorySection section;
    const auto at = std::find(lines.begin(), lines.end(), header);
    if (at == lines.end()) return section;
    section.found = true;
    section.first = static_cast<std::size_t>(at - lines.begin()) + 1;
    section.end = section.first;
    while (section.end < lines.size() && !lines[section.end].empty()) ++section.end;
    return section;
}

std::vector<std::optional<HistoryDraw>> sectionDraws(const std::vector<std::string>& lines, GameMode mode) {
    const HistorySection section = findHistorySection(lines, mode);
    std::vector<std::optional<HistoryDraw>> draws;
    draws.reserve(section.size());
    for (std::size_t i = section.first; i < section.end; ++i)
        draws.push_back(readHistoryDraw(mode, lines[i], static_cast<int>(i - section.first) + 1));
    return draws;
}

void appendSectionLines(std::vector<std::string>& lines, GameMode mode, const std::vector<std::string>& drawLines) {
    const HistorySection section = findHistorySection(lines, mode);
    if (section.found) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(section.end), drawLines.begin(), drawLines.end());
        return;
    }
    if (!lines.empty() && !lines.back().empty()) lines.emplace_back();
    lines.push_back(HistoryStore::sectionHeader(mode));
    lines.insert(lines.end(), drawLines.begin(), drawLines.end());
    lines.emplace_back();
}

std::vector<std::string> readHistoryLines(const std::filesystem::path& historyPath) {
    return splitLines(readTextFile(historyPath));
}

void writeHistoryLines(const std::filesystem::path& historyPath, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) {
        bytes += utf8ToCp932(line, historyPath.filename().string());
        bytes += "\r\n";
    }
    std::error_code ec;
    if (std::filesystem::exists(historyPath, ec))
        writeFileBytesAtomic(backupPathFor(historyPath), readFileBytes(historyPath));
    writeFileBytesAtomic(historyPath, bytes);
}

std::string roundText(int round) { return "第" + std::to_string(round) + "回"; }

std::string roundAndDateText(const HistoryDraw& draw) {
    return roundText(draw.round) + (draw.date ? "（" + japaneseDateText(*draw.date) + "）" : std::string());
}

std::string addNextDraw(const std::filesystem::path& historyPath, GameMode mode, const DrawEntry& entry) {
    if (std::string problem = drawNumbersProblem(mode, entry.mainNumbers, entry.bonusNumbers); !problem.empty())
        return problem;
    std::vector<std::string> lines;
    if (std::string problem = fileProblem(historyPath, [&] { lines = readHistoryLines(historyPath); });
        !problem.empty())
        return problem;
    const HistorySection section = findHistorySection(lines, mode);
    const int round = static_cast<int>(section.size()) + 1;
    const std::optional<HistoryDraw> newest =
        section.size() > 0 ? readHistoryDraw(mode, lines[section.end - 1], round - 1) : std::nullopt;
    if (std::string problem = dateProblem(entry.date, newest); !problem.empty()) return problem;
    const HistoryDraw draw{round, entry.date, entry.mainNumbers, entry.bonusNumbers};
    appendSectionLines(lines, mode, {historyDrawLine(draw)});
    return fileProblem(historyPath, [&] { writeHistoryLines(historyPath, lines); });
}

std::string correctNewestDraw(const std::filesystem::path& historyPath, GameMode mode, const DrawEntry& entry) {
    if (std::string problem = drawNumbersProblem(mode, entry.mainNumbers, entry.bonusNumbers); !problem.empty())
        return problem;
    std::vector<std::string> lines;
    if (std::string problem = fileProblem(historyPath, [&] { lines = readHistoryLines(historyPath); });
        !problem.empty())
        return problem;
    const HistorySection section = findHistorySection(lines, mode);
    if (section.size() == 0) return std::string(gameName(mode)) + "の当選番号がないため修正できません。";
    const int round = static_cast<int>(section.size());
    const std::optional<HistoryDraw> before =
        round > 1 ? readHistoryDraw(mode, lines[section.end - 2], round - 1) : std::nullopt;
    if (std::string problem = dateProblem(entry.date, before); !problem.empty()) return problem;
    lines[section.end - 1] = historyDrawLine(HistoryDraw{round, entry.date, entry.mainNumbers, entry.bonusNumbers});
    return fileProblem(historyPath, [&] { writeHistoryLines(historyPath, lines); });
}

std::string removeNewestDraw(const std::filesystem::path& historyPath, GameMode mode) {
    std::vector<std::string> lines;
    if (std::string problem = fileProblem(historyPath, [&] { lines = readHistoryLines(historyPath); });
        !problem.empty())
        return problem;
    const HistorySection section = findHistorySection(lines, mode);
    if (section.size() == 0) return std::string(gameName(mode)) + "の当選番号がないため削除できません。";
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(section.end - 1));
    return fileProblem(historyPath, [&] { writeHistoryLines(historyPath, lines); });
}

}  // namespace tambor
