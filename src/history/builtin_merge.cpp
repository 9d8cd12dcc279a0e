#include "history/builtin_merge.h"

#include <exception>
#include <system_error>

#include "history/history_draw.h"
#include "history/history_edit.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {

std::string BuiltinMergeResult::notice() const {
    if (added.empty()) return {};
    std::string text = "当選番号ファイルに新しい当選番号を追加しました:";
    const char* separator = " ";
    for (const Added& a : added) {
        text += separator;
        text += gameName(a.mode);
        text += " " + roundText(a.firstRound);
        if (a.lastRound != a.firstRound) text += "〜" + roundText(a.lastRound);
        separator = "、";
    }
    return text + "。";
}

std::string BuiltinMergeResult::conflictMessage(const std::filesystem::path& historyPath) const {
    if (!conflict) return {};
    return "当選番号ファイル「" + historyPath.string() + "」の" + gameName(conflict->mode) + " " +
           roundText(conflict->round) +
           "が、このプログラムに内蔵の当選番号と違います。ファイルはそのままにし、新しい回は追加しませんでした。";
}

BuiltinMergeResult mergeNewerBuiltinDraws(const std::filesystem::path& historyPath, std::string_view builtinBytes) {
    BuiltinMergeResult result;
    std::error_code ec;
    if (!std::filesystem::exists(historyPath, ec)) return result;
    std::vector<std::string> lines;
    try {
        lines = readHistoryLines(historyPath);
    } catch (const std::exception&) {
        // A file that cannot be read is the history load's to report; the
        // program then runs on the built-in copy.
        return result;
    }
    try {
        const std::vector<std::string> builtin = splitLines(cp932ToUtf8(builtinBytes, "lotodata.txt (内蔵)"));
        // Nothing newer in the built-in copy: nothing to check or say. A
        // file without a single draw is no history to bring up to date: it
        // is used as it is, as an emptied file always was.
        std::vector<std::vector<std::optional<HistoryDraw>>> fileDraws, builtinDraws;
        bool behind = false;
        std::size_t held = 0;
        for (const GameMode mode : kAllGames) {
            fileDraws.push_back(sectionDraws(lines, mode));
            builtinDraws.push_back(sectionDraws(builtin, mode));
            held += fileDraws.back().size();
            behind = behind || fileDraws.back().size() < builtinDraws.back().size();
        }
        if (!behind || held == 0) return result;
        // Every draw the file has, in every game, must be the built-in one.
        for (std::size_t g = 0; g < kAllGames.size(); ++g) {
            const auto& have = fileDraws[g];
            const auto& known = builtinDraws[g];
            for (std::size_t i = 0; i < have.size() && i < known.size(); ++i) {
                if (!have[i] || !known[i] || !have[i]->sameResult(*known[i])) {
                    result.conflict = BuiltinMergeResult::Conflict{kAllGames[g], static_cast<int>(i) + 1};
                    return result;
                }
            }
        }
        std::vector<BuiltinMergeResult::Added> added;
        for (std::size_t g = 0; g < kAllGames.size(); ++g) {
            const std::size_t have = fileDraws[g].size();
            const HistorySection section = findHistorySection(builtin, kAllGames[g]);
            if (have >= section.size()) continue;
            const std::vector<std::string> newer(builtin.begin() + static_cast<std::ptrdiff_t>(section.first + have),
                                                 builtin.begin() + static_cast<std::ptrdiff_t>(section.end));
            appendSectionLines(lines, kAllGames[g], newer);
            added.push_back({kAllGames[g], static_cast<int>(have) + 1, static_cast<int>(section.size())});
        }
        if (added.empty()) return result;
        writeHistoryLines(historyPath, lines);
        result.added = std::move(added);
    } catch (const FileError& e) {
        result.error = "当選番号ファイル「" + historyPath.string() + "」に新しい当選番号を追加できません: " + e.reason() + "。";
    } catch (const TextEncodingError& e) {
        result.error = e.what();
    }
    return result;
}

}  // namespace tambor
