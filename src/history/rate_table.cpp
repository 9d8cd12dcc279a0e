#include "history/rate_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdint>

namespace tambor {

namespace {

std::int32_t hitsOf(const HitCountTable& hits, int number) { return hits[static_cast<std::size_t>(number - 1)]; }

std::int32_t pairOf(const PairCountTable& pairs, int a, int b) {
    return pairs[static_cast<std::size_t>(a - 1)][static_cast<std::size_t>(b - 1)];
}

}  // namespace

std::vector<int> rankNumbers(const HitCountTable& hits, GameMode mode) {
    std::vector<int> order;
    for (int v = 1; v <= rulesFor(mode).maxNumber; ++v) order.push_back(v);
    // Every pair of numbers compares unequal, so the order is total and the
    // same as that of an exchange sort over the same rule.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (hitsOf(hits, a) != hitsOf(hits, b)) return hitsOf(hits, a) > hitsOf(hits, b);
        return a < b;
    });
    return order;
}

std::vector<int> partnerOrder(const HitCountTable& hits, const PairCountTable& pairs, GameMode mode, int number) {
    std::vector<int> order;
    for (int v = 1; v <= rulesFor(mode).maxNumber; ++v)
        if (v != number) order.push_back(v);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        if (pairOf(pairs, number, a) != pairOf(pairs, number, b)) return pairOf(pairs, number, a) > pairOf(pairs, number, b);
        if (hitsOf(hits, a) != hitsOf(hits, b)) return hitsOf(hits, a) > hitsOf(hits, b);
        return a < b;
    });
    return order;
}

int pairRate(const HitCountTable& hits, const PairCountTable& pairs, int number, int partner) {
    const std::int64_t drawn = hitsOf(hits, number);
    if (drawn == 0) return 0;
    return static_cast<int>(std::int64_t{pairOf(pairs, number, partner)} * 100 / drawn);
}

RateTableCells buildRateTable(const HitCountTable& hits, const PairCountTable& pairs, GameMode mode) {
    const int n = rulesFor(mode).maxNumber;
    RateTableCells cells(static_cast<std::size_t>(n + 1), std::vector<std::string>(static_cast<std::size_t>(n + 1)));
    char buf[64];
    cells[0][0] = "出目ランキング";
    cells[0][1] = "当選数字・回数";
    for (int c = 2; c <= n; ++c) {
        std::snprintf(buf, sizeof buf, "連対率%d位", c - 1);
        cells[0][static_cast<std::size_t>(c)] = buf;
    }
    const std::vector<int> ranking = rankNumbers(hits, mode);
    for (int r = 1; r <= n; ++r) {
        auto& row = cells[static_cast<std::size_t>(r)];
        const int x = ranking[static_cast<std::size_t>(r - 1)];
        std::snprintf(buf, sizeof buf, "第%d位", r);
        row[0] = buf;
        std::snprintf(buf, sizeof buf, "%2d (%3d回)", x, static_cast<int>(hitsOf(hits, x)));
        row[1] = buf;
        const std::vector<int> partners = partnerOrder(hits, pairs, mode, x);
        for (std::size_t k = 0; k < partners.size(); ++k) {
            const int y = partners[k];
            std::snprintf(buf, sizeof buf, "%2d (%3d%%)", y, pairRate(hits, pairs, x, y));
            row[k + 2] = buf;
        }
    }
    return cells;
}

RateTableCells buildRateTable(const HistoryStore& history, GameMode mode) {
    return buildRateTable(history.hitCounts(), history.pairCounts(), mode);
}

}  // namespace tambor
