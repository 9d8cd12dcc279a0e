#include "core/combination.h"

#include <algorithm>

namespace tambor {
namespace {

// For each game, position i (0-based) and previous number p (0..43) and
// current number c: the count of combinations skipped by choosing c after p.
// Ranking is then K look-ups and additions.
struct RankTables {
    // step[i][p][c] = sum over v = p+1 .. c-1 of C(N - v, K - i - 1)
    std::int32_t step[kMaxPick][kBoardSize + 1][kBoardSize + 1]{};
};

std::int64_t exactBinomial(int n, int k) {
    if (k < 0 || k > n) return 0;
    std::int64_t r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - i + 1) / i;
    return r;
}

RankTables buildTables(GameMode mode) {
    const GameRules rules = rulesFor(mode);
    RankTables t;
    for (int i = 0; i < rules.pickCount; ++i)
        for (int p = 0; p <= kBoardSize; ++p) {
            std::int64_t sum = 0;
            for (int c = p + 1; c <= kBoardSize; ++c) {
                t.step[i][p][c] = static_cast<std::int32_t>(sum);
                if (c <= rules.maxNumber) sum += exactBinomial(rules.maxNumber - c, rules.pickCount - i - 1);
            }
        }
    return t;
}

const RankTables& tablesFor(GameMode mode) {
    static const RankTables mini = buildTables(GameMode::MiniLoto);
    static const RankTables loto6 = buildTables(GameMode::Loto6);
    return mode == GameMode::MiniLoto ? mini : loto6;
}

}  // namespace

Combination makeCombination(std::initializer_list<int> numbers) {
    Combination c;
    for (int n : numbers) {
        if (c.size == kMaxPick) break;
        c.numbers[static_cast<std::size_t>(c.size++)] = n;
    }
    sortCombination(c);
    return c;
}

bool isValidCombination(GameMode mode, const Combination& c) {
    const GameRules rules = rulesFor(mode);
    if (c.size != rules.pickCount) return false;
    int previous = 0;
    for (int n : c) {
        if (n <= previous || n > rules.maxNumber) return false;
        previous = n;
    }
    return true;
}

CombinationIndex RankCombination(GameMode mode, const Combination& c) {
    const RankTables& t = tablesFor(mode);
    std::int32_t index = 0;
    int previous = 0;
    for (int i = 0; i < c.size; ++i) {
        const int n = c.numbers[static_cast<std::size_t>(i)];
        index += t.step[i][previous][n];
        previous = n;
    }
    return index;
}

Combination UnrankCombination(GameMode mode, CombinationIndex index) {
    const GameRules rules = rulesFor(mode);
    const RankTables& t = tablesFor(mode);
    Combination c;
    c.size = rules.pickCount;
    int previous = 0;
    for (int i = 0; i < rules.pickCount; ++i) {
        const std::int32_t* row = t.step[i][previous];
        // The largest n whose skipped count still fits in what is left.
        int n = previous + 1;
        const int last = rules.maxNumber - (rules.pickCount - i - 1);
        while (n < last && row[n + 1] <= index) ++n;
        index -= row[n];
        c.numbers[static_cast<std::size_t>(i)] = n;
        previous = n;
    }
    return c;
}

int formatCombinationLineTo(const Combination& c, char* buf) {
    int len = 0;
    for (int i = 0; i < c.size; ++i) {
        const int n = c.numbers[static_cast<std::size_t>(i)];
        buf[len++] = i == 0 ? ' ' : ',';
        buf[len++] = n >= 10 ? static_cast<char>('0' + n / 10) : ' ';
        buf[len++] = static_cast<char>('0' + n % 10);
    }
    buf[len] = '\0';
    return len;
}

std::string FormatCombinationLine(const Combination& c) {
    char buf[24];
    const int len = formatCombinationLineTo(c, buf);
    return std::string(buf, static_cast<std::size_t>(len));
}

long double Binomial(int n, int k) {
    long double result = 1.0L;
    for (int i = 1; i <= k; ++i) result = result * (n - i + 1) / i;
    return result;
}

}  // namespace tambor
