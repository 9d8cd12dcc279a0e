#include "generate/past_winners.h"

#include <algorithm>

#include "core/whole_number.h"

namespace tambor {

std::vector<Combination> pastWinnerCombinations(GameMode mode, std::string_view line) {
    const GameRules rules = rulesFor(mode);
    std::vector<Combination> found;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return found;
    std::string_view rest = line.substr(equals + 1);

    // The K main numbers, then the bonus; 0 marks a place without a number.
    int numbers[kMaxPick + 1] = {};
    for (int p = 0; p <= rules.pickCount; ++p) {
        const std::size_t comma = rest.find(',');
        const int value = historyNumberOrZero(rest.substr(0, comma));
        if (value >= 1 && value <= rules.maxNumber) numbers[p] = value;
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    // Leaving out place `skip` (the bonus first, then each main number in turn).
    for (int skip = rules.pickCount; skip >= 0; --skip) {
        Combination c;
        c.size = rules.pickCount;
        bool usable = true;
        for (int p = 0, q = 0; p <= rules.pickCount; ++p) {
            if (p == skip) continue;
            if (numbers[p] == 0) usable = false;
            c.numbers[static_cast<std::size_t>(q++)] = numbers[p];
        }
        if (!usable) continue;
        sortCombination(c);
        // A bonus equal to a main number (a corrupt line) would repeat the
        // first prize; each combination is given once.
        if (isValidCombination(mode, c) && std::find(found.begin(), found.end(), c) == found.end()) found.push_back(c);
    }
    return found;
}

void addPastWinners(GameMode mode, std::span<const std::string_view> sectionLines, CombinationSet& set) {
    for (const std::string_view line : sectionLines) {
        if (line.empty()) break;
        for (const Combination& c : pastWinnerCombinations(mode, line)) SetAdd(mode, set, c);
    }
}

void RebuildPastWinnerSet(CombinationSet& set, bool enabled, GameMode mode, std::span<const std::string_view> sectionLines) {
    set.clear();
    if (enabled) addPastWinners(mode, sectionLines, set);
}

}  // namespace tambor
