#include "history/draw_keep_check.h"

#include <cstddef>
#include <optional>

#include "core/game.h"
#include "history/draw_date.h"
#include "history/history_edit.h"

namespace tambor {
namespace {

// "2026年9月14日(月) 04,08,10,25,28,33 ボーナス 09"
std::string resultText(const HistoryDraw& draw) {
    std::string text = draw.date ? japaneseDateText(*draw.date) + " " : std::string();
    return text + numbersText(draw.mainNumbers) + " ボーナス " + numbersText(draw.bonusNumbers);
}

// The rounds the server lacks: "第2138回（…）" or "第1598回～第2130回（533 回分）".
std::string missingRoundsText(const std::vector<std::optional<HistoryDraw>>& local, std::size_t from) {
    const int first = static_cast<int>(from) + 1;
    const int last = static_cast<int>(local.size());
    if (first == last) return local.back() ? roundAndDateText(*local.back()) : roundText(last);
    return roundText(first) + "～" + roundText(last) + "（" + std::to_string(last - first + 1) + " 回分）";
}

std::string sectionProblem(const std::vector<std::string>& localLines, const std::vector<std::string>& serverLines,
                           GameMode mode) {
    const std::vector<std::optional<HistoryDraw>> local = sectionDraws(localLines, mode);
    const std::vector<std::optional<HistoryDraw>> server = sectionDraws(serverLines, mode);
    const std::string game = gameName(mode);
    for (std::size_t i = 0; i < local.size() && i < server.size(); ++i) {
        if (!local[i]) continue;
        if (server[i] && server[i]->sameResult(*local[i])) continue;
        return "サーバーの lotodata.txt の" + game + " " + roundText(local[i]->round) +
               "は、この当選番号ファイルと結果が違います（このファイル: " + resultText(*local[i]) + "、サーバー: " +
               (server[i] ? resultText(*server[i]) : std::string("読み取れません")) + "）。";
    }
    // Lines of the local file that do not read as draws are not missed.
    std::size_t kept = server.size();
    while (kept < local.size() && !local[kept]) ++kept;
    if (kept >= local.size()) return {};
    return "サーバーの lotodata.txt には" + game + "の" + missingRoundsText(local, server.size()) +
           "がありません（この当選番号ファイルにはあります）。";
}

}  // namespace

std::string lostDrawProblem(const std::vector<std::string>& localLines, const std::vector<std::string>& serverLines) {
    std::string problems;
    for (GameMode mode : kAllGames) {
        const std::string problem = sectionProblem(localLines, serverLines, mode);
        if (problem.empty()) continue;
        if (!problems.empty()) problems += "\n";
        problems += problem;
    }
    return problems;
}

}  // namespace tambor
