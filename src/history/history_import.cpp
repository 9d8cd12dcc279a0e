#include "history/history_import.h"

#include <map>

#include "history/history_edit.h"
#include "io/cp932.h"
#include "io/text_file.h"

namespace tambor {
namespace {

// "第12回（2026年9月14日(月)  04,08,10,25,28,33 + 09）"
std::string drawText(const HistoryDraw& draw) {
    return roundText(draw.round) + "（" + (draw.date ? japaneseDateText(*draw.date) + " " : std::string()) +
           numbersText(draw.mainNumbers) + " + " + numbersText(draw.bonusNumbers) + "）";
}

std::string roundsText(int first, int last) {
    return first == last ? roundText(first) : roundText(first) + "〜" + roundText(last);
}

struct Candidate {
    HistoryDraw draw;
    std::string name;
};

}  // namespace

std::string ImportOutcome::summary() const {
    std::string text;
    for (const std::string& line : added) text += (text.empty() ? "" : "\n") + line;
    if (text.empty()) {
        text = "追加する新しい当選番号はありませんでした。";
        if (knownDraws > 0) text += "（" + std::to_string(knownDraws) + " 回分は登録済みです）";
    }
    return text;
}

ImportOutcome planImport(std::vector<std::string>& historyLines, const std::vector<ImportSource>& sources) {
    ImportOutcome outcome;
    std::vector<std::string> conflicts;
    std::map<GameMode, std::map<int, Candidate>> candidates;
    std::map<GameMode, std::vector<std::optional<HistoryDraw>>> known;
    for (const GameMode mode : kAllGames) known[mode] = sectionDraws(historyLines, mode);

    for (const ImportSource& source : sources) {
        if (const std::string* problem = std::get_if<std::string>(&source.content)) {
            outcome.problems.push_back(*problem);
            continue;
        }
        const ResultFileDraw& file = std::get<ResultFileDraw>(source.content);
        const std::string game = gameName(file.mode);
        const std::vector<std::optional<HistoryDraw>>& draws = known[file.mode];
        const int round = file.draw.round;
        if (round <= static_cast<int>(draws.size())) {
            const std::optional<HistoryDraw>& have = draws[static_cast<std::size_t>(round - 1)];
            if (have && have->sameResult(file.draw)) {
                ++outcome.knownDraws;
            } else {
                conflicts.push_back("「" + source.name + "」の" + game + " " + drawText(file.draw) +
                                    "は、当選番号ファイルの" +
                                    (have ? drawText(*have) : roundText(round) + "（読めない行）") + "と違います。");
            }
            continue;
        }
        auto [at, inserted] = candidates[file.mode].try_emplace(round, Candidate{file.draw, source.name});
        if (inserted) continue;
        if (at->second.draw.sameResult(file.draw)) {
            ++outcome.knownDraws;
        } else {
            conflicts.push_back("「" + source.name + "」と「" + at->second.name + "」で" + game + " " +
                                roundText(round) + "の当選番号が違います。");
        }
    }
    if (!conflicts.empty()) {
        conflicts.push_back("当選番号ファイルは変更していません。");
        outcome.problems.insert(outcome.problems.end(), conflicts.begin(), conflicts.end());
        return outcome;
    }

    for (const GameMode mode : kAllGames) {
        const std::vector<std::optional<HistoryDraw>>& draws = known[mode];
        // The newest known date (an unreadable one compares with nothing);
        // kept as a flag and a value, which g++ follows better than an optional.
        bool hasPrevious = !draws.empty() && draws.back() && draws.back()->date;
        DrawDate previous = hasPrevious ? *draws.back()->date : DrawDate{};
        int next = static_cast<int>(draws.size()) + 1;
        const int first = next;
        std::vector<std::string> lines;
        for (const auto& [round, candidate] : candidates[mode]) {
            const std::string game = gameName(mode);
            if (round != next) {
                outcome.problems.push_back(game + " " + roundsText(next, round - 1) + "の結果がないため、" +
                                           roundText(round) + "以降は追加しませんでした。");
                break;
            }
            if (hasPrevious && candidate.draw.date && *candidate.draw.date <= previous) {
                outcome.problems.push_back("「" + candidate.name + "」の" + game + " " + drawText(candidate.draw) +
                                           "の日付が前の回より後ではないため、" + roundText(round) +
                                           "以降は追加しませんでした。");
                break;
            }
            lines.push_back(historyDrawLine(candidate.draw));
            hasPrevious = candidate.draw.date.has_value();
            if (hasPrevious) previous = *candidate.draw.date;
            ++next;
        }
        if (lines.empty()) continue;
        appendSectionLines(historyLines, mode, lines);
        outcome.addedDraws += static_cast<int>(lines.size());
        outcome.added.push_back(std::string(gameName(mode)) + " " + roundsText(first, next - 1) + "（" +
                                std::to_string(lines.size()) + " 回分）を追加しました。");
    }
    return outcome;
}

ImportOutcome importResultFiles(const std::filesystem::path& historyPath,
                                const std::vector<std::filesystem::path>& files) {
    std::vector<ImportSource> sources;
    sources.reserve(files.size());
    for (const std::filesystem::path& file : files) sources.push_back({file.filename().string(), readResultFile(file)});

    ImportOutcome failed;
    const auto fail = [&](const std::string& what) {
        failed.problems.push_back("当選番号ファイル「" + historyPath.string() + "」を" + what);
        return failed;
    };
    std::vector<std::string> lines;
    try {
        lines = readHistoryLines(historyPath);
    } catch (const FileError& e) {
        return fail("読み込めません: " + e.reason() + "。");
    } catch (const TextEncodingError& e) {
        return fail("読み込めません: " + std::string(e.what()));
    }
    ImportOutcome outcome = planImport(lines, sources);
    if (outcome.addedDraws == 0) return outcome;
    try {
        writeHistoryLines(historyPath, lines);
        outcome.written = true;
    } catch (const FileError& e) {
        return fail("書き換えられません: " + e.reason() + "。");
    } catch (const TextEncodingError& e) {
        return fail("書き換えられません: " + std::string(e.what()));
    }
    return outcome;
}

}  // namespace tambor
