// The history loader, its statistics and the pair-rate table over any text:
// counts agree with each other, stay in range and describe the section.

#include <algorithm>
#include <cmath>
#include <string>

#include "core/number_board.h"
#include "fuzz_support.h"
#include "history/history_store.h"
#include "history/rate_table.h"
#include "io/cp932.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const GameMode mode = input.game();
    const GameRules rules = rulesFor(mode);
    const int n = rules.maxNumber;
    const int k = rules.pickCount;

    std::string text;
    try {
        text = decodeText(std::string(input.rest()), "lotodata.txt");
    } catch (const TextEncodingError&) {
        return 0;  // the program falls back to the built-in copy
    }
    HistoryStore history;
    history.loadFromText(text, mode);

    const int draws = history.drawCount();
    require(static_cast<std::size_t>(draws) == history.sectionLines(mode).size(), "draw count != section lines");
    require(history.noDrawsMessage().empty() == (draws > 0), "no-draws message");
    std::int64_t hits = 0;
    std::int64_t weights = 0;
    for (int a = 1; a <= kBoardSize; ++a) {
        const int hit = history.hitCount(a);
        require(hit >= 0 && hit <= draws, "hit count out of range");
        require(a <= n || hit == 0, "hit beyond the game's numbers");
        hits += hit;
        if (a <= n) {
            require(history.numberWeights()[static_cast<std::size_t>(a)] == hit + 1, "weight != hits + 1");
            weights += history.numberWeights()[static_cast<std::size_t>(a)];
        }
        require(history.pairCount(a, a) == 0, "pair with itself");
        for (int b = 1; b <= kBoardSize; ++b) {
            const int pair = history.pairCount(a, b);
            require(pair == history.pairCount(b, a), "pair counts not symmetric");
            require(pair >= 0 && pair <= std::min(hit, history.hitCount(b)), "pair count above a hit count");
        }
        require(std::isfinite(history.deviationValue(a)), "deviation not finite");
    }
    require(hits <= static_cast<std::int64_t>(draws) * k, "more hits than main numbers");
    require(history.numberWeights()[0] == weights, "weight sum");

    for (int round = 0; round <= std::min(draws, 40) + 1; ++round) {
        int mains[kMaxPick] = {};
        int count = -1;
        int bonuses[kMaxBonus] = {};
        int bonusCount = -1;
        const bool found = history.drawOnBoard(round, mains, count, bonuses, bonusCount);
        require(found == (round >= 1 && round <= draws), "draw found outside the section");
        require(count >= 0 && count <= k && bonusCount >= 0 && bonusCount <= kMaxBonus, "draw numbers out of range");
        for (int i = 0; i < bonusCount; ++i) require(bonuses[i] >= 1 && bonuses[i] <= n, "bonus number out of range");
        for (int i = 0; i < count; ++i) {
            require(mains[i] >= 1 && mains[i] <= n, "main number out of range");
            for (int j = 0; j < i; ++j) require(mains[i] != mains[j], "main number twice");
        }
        NumberBoard board(mode);
        require(ShowDrawOnBoard(history, round, board) == found, "board and draw disagree");
        require(board.count(Main) == count, "board main count");
    }

    const RateTableCells table = buildRateTable(history, mode);
    require(table.size() == static_cast<std::size_t>(n + 1), "rate table rows");
    for (const auto& row : table) require(row.size() == static_cast<std::size_t>(n + 1), "rate table columns");
    std::vector<int> ranked = rankNumbers(history.hitCounts(), mode);
    std::sort(ranked.begin(), ranked.end());
    for (int v = 1; v <= n; ++v) require(ranked[static_cast<std::size_t>(v - 1)] == v, "ranking is not a permutation");
    // The partners of a few numbers (all of them cost as much as the table).
    for (const int v : {1, 2, n}) {
        std::vector<int> partners = partnerOrder(history.hitCounts(), history.pairCounts(), mode, v);
        require(partners.size() == static_cast<std::size_t>(n - 1), "partner count");
        for (int p : partners) {
            require(p != v && p >= 1 && p <= n, "partner out of range");
            const int rate = pairRate(history.hitCounts(), history.pairCounts(), v, p);
            require(rate >= 0 && rate <= 100, "pair rate out of 0..100");
        }
    }
    return 0;
}
