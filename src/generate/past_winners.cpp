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

    // The K main numbers, then the bonus numbers; 0 marks a place without a number.
    int numbers[kMaxPick + kMaxBonus] = {};
    const int count = rules.pickCount + rules.bonusCount;
    for (int p = 0; p < count; ++p) {
        const std::size_t comma = rest.find(',');
        const int value = historyNumberOrZero(rest.substr(0, comma));
        if (value >= 1 && value <= rules.maxNumber) numbers[p] = value;
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    }
    // The main numbers alone (the first prize), then for each bonus number
    // every main number in turn replaced by it (the second prize).
    auto add = [&](int bonusPlace, int skip) {
        Combination c;
        c.size = rules.pickCount;
        for (int p = 0; p < rules.pickCount; ++p) {
            const int value = p == skip ? numbers[bonusPlace] : numbers[p];
            if (value == 0) return;
            c.numbers[static_cast<std::size_t>(p)] = value;
        }
        sortCombination(c);
        // A bonus equal to a main number (a corrupt line) would repeat the
        // first prize; each combination is given once.
        if (isValidCombination(mode, c) && std::find(found.begin(), found.end(), c) == found.end()) found.push_back(c);
    };
    add(0, -1);
    for (int b = rules.pickCount; b < count; ++b)
        for (int skip = rules.pickCount - 1; skip >= 0; --skip) add(b, skip);
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
