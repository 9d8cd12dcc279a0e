#include "history/history_draw.h"

#include <algorithm>
#include <cstdio>

#include "core/whole_number.h"

namespace tambor {

bool HistoryDraw::sameResult(const HistoryDraw& other) const {
    if (mainNumbers != other.mainNumbers || bonusNumbers != other.bonusNumbers) return false;
    return !date || !other.date || *date == *other.date;
}

std::optional<HistoryDraw> readHistoryDraw(GameMode mode, std::string_view line, int round) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    HistoryDraw draw;
    draw.round = round;
    const std::size_t open = line.find('(');
    const std::size_t close = line.find(')', open == std::string_view::npos ? 0 : open);
    if (open != std::string_view::npos && close != std::string_view::npos && close < eq)
        draw.date = parseHistoryEraDate(line.substr(open + 1, close - open - 1));

    const GameRules rules = rulesFor(mode);
    std::vector<int> numbers;
    std::string_view rest = line.substr(eq + 1);
    for (;;) {
        const std::size_t comma = rest.find(',');
        const auto value = parseWholeNumber(rest.substr(0, comma));
        if (!value) return std::nullopt;
        numbers.push_back(*value);
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (numbers.size() != static_cast<std::size_t>(rules.pickCount + bonusCount(mode))) return std::nullopt;
    draw.mainNumbers.assign(numbers.begin(), numbers.begin() + rules.pickCount);
    draw.bonusNumbers.assign(numbers.begin() + rules.pickCount, numbers.end());
    std::sort(draw.mainNumbers.begin(), draw.mainNumbers.end());
    return draw;
}

std::string numbersText(const std::vector<int>& numbers) {
    std::string text;
    for (const int n : numbers) {
        char piece[8];
        std::snprintf(piece, sizeof piece, "%s%02d", text.empty() ? "" : ",", n);
        text += piece;
    }
    return text;
}

std::string historyDrawLine(const HistoryDraw& draw) {
    char round[16];
    std::snprintf(round, sizeof round, "%3d", draw.round);
    std::vector<int> numbers = draw.mainNumbers;
    std::sort(numbers.begin(), numbers.end());
    numbers.insert(numbers.end(), draw.bonusNumbers.begin(), draw.bonusNumbers.end());
    const std::optional<std::string> date = draw.date ? historyEraDateText(*draw.date) : std::nullopt;
    return std::string("第") + round + "回(" + date.value_or("") + ")=" + numbersText(numbers);
}

std::string drawNumbersProblem(GameMode mode, const std::vector<int>& mainNumbers,
                               const std::vector<int>& bonusNumbers) {
    const GameRules rules = rulesFor(mode);
    const int bonus = bonusCount(mode);
    if (mainNumbers.size() != static_cast<std::size_t>(rules.pickCount))
        return "本数字を " + std::to_string(rules.pickCount) + " 個入力してください（" +
               std::to_string(mainNumbers.size()) + " 個あります）。";
    if (bonusNumbers.size() != static_cast<std::size_t>(bonus))
        return "ボーナス数字を " + std::to_string(bonus) + " 個入力してください（" +
               std::to_string(bonusNumbers.size()) + " 個あります）。";
    const std::string range = "1〜" + std::to_string(rules.maxNumber);
    for (const int n : mainNumbers)
        if (n < 1 || n > rules.maxNumber)
            return "本数字 " + std::to_string(n) + " は " + range + " の範囲外です。";
    for (const int n : bonusNumbers)
        if (n < 1 || n > rules.maxNumber)
            return "ボーナス数字 " + std::to_string(n) + " は " + range + " の範囲外です。";
    for (std::size_t i = 0; i < mainNumbers.size(); ++i)
        for (std::size_t j = i + 1; j < mainNumbers.size(); ++j)
            if (mainNumbers[i] == mainNumbers[j])
                return "本数字 " + std::to_string(mainNumbers[i]) + " が 2 回入力されています。";
    for (std::size_t i = 0; i < bonusNumbers.size(); ++i) {
        if (std::find(mainNumbers.begin(), mainNumbers.end(), bonusNumbers[i]) != mainNumbers.end())
            return "ボーナス数字 " + std::to_string(bonusNumbers[i]) + " が本数字と重なっています。";
        for (std::size_t j = i + 1; j < bonusNumbers.size(); ++j)
            if (bonusNumbers[i] == bonusNumbers[j])
                return "ボーナス数字 " + std::to_string(bonusNumbers[i]) + " が 2 回入力されています。";
    }
    return {};
}

}  // namespace tambor
