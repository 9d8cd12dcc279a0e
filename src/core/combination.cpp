#include "core/combination.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace tambor {
namespace {

// Unranking splits a combination into a prefix (all but the last three
// numbers) and a suffix of three. The prefixes' first indices are kept in
// order, with a bucket table that jumps close to the right prefix, and
// every suffix is looked up in a table of triples: a few look-ups per call.
struct UnrankTables {
    static constexpr int kSuffix = 3;
    static constexpr int kBucketShift = 9;
    int prefixLength = 0;
    std::vector<std::int32_t> prefixStart;                 // first index of each prefix, plus the total
    std::vector<std::array<std::uint8_t, kMaxPick - kSuffix>> prefixNumbers;  // the prefix itself
    std::vector<std::int32_t> bucketPrefix;                // index >> shift → a prefix at or before it
    std::array<std::int32_t, kBoardSize + 1> suffixOffset{};  // after number s, where its triples start
    std::vector<std::array<std::uint8_t, 3>> suffixes;      // 3 of s+1..N in lexicographic order
};

UnrankTables buildUnrankTables(GameMode mode) {
    const GameRules rules = rulesFor(mode);
    const int n = rules.maxNumber;
    UnrankTables t;
    t.prefixLength = rules.pickCount - UnrankTables::kSuffix;
    for (int s = 0; s <= n; ++s) {
        t.suffixOffset[static_cast<std::size_t>(s)] = static_cast<std::int32_t>(t.suffixes.size());
        for (int a = s + 1; a <= n; ++a)
            for (int b = a + 1; b <= n; ++b)
                for (int c = b + 1; c <= n; ++c)
                    t.suffixes.push_back({static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), static_cast<std::uint8_t>(c)});
    }
    std::array<int, kMaxPick - UnrankTables::kSuffix> prefix{};
    std::int32_t start = 0;
    // Prefixes in lexicographic order, each followed by C(N - last, 3) suffixes.
    auto visit = [&](auto&& self, int depth, int previous) -> void {
        if (depth == t.prefixLength) {
            t.prefixStart.push_back(start);
            std::array<std::uint8_t, kMaxPick - UnrankTables::kSuffix> numbers{};
            for (std::size_t i = 0; i < numbers.size(); ++i) numbers[i] = static_cast<std::uint8_t>(prefix[i]);
            t.prefixNumbers.push_back(numbers);
            start += static_cast<std::int32_t>(exactBinomial(n - previous, UnrankTables::kSuffix));
            return;
        }
        for (int v = previous + 1; v <= n - (rules.pickCount - depth - 1); ++v) {
            prefix[static_cast<std::size_t>(depth)] = v;
            self(self, depth + 1, v);
        }
    };
    visit(visit, 0, 0);
    t.prefixStart.push_back(start);
    const std::int32_t buckets = (start >> UnrankTables::kBucketShift) + 1;
    std::size_t p = 0;
    for (std::int32_t b = 0; b < buckets; ++b) {
        const std::int32_t first = b << UnrankTables::kBucketShift;
        while (p + 1 < t.prefixNumbers.size() && t.prefixStart[p + 1] <= first) ++p;
        t.bucketPrefix.push_back(static_cast<std::int32_t>(p));
    }
    return t;
}

// Built on first use, one game at a time, so a session that never plays a
// game never pays for its tables.
template <GameMode Mode>
const UnrankTables& unrankTables() {
    static const UnrankTables tables = buildUnrankTables(Mode);
    return tables;
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
    return RankTable::of(mode).rank(c.numbers.data(), c.size);
}

namespace {

// The prefix length is a template argument so the copies unroll.
template <int PrefixLength>
Combination unrankWith(const UnrankTables& t, CombinationIndex index) {
    std::size_t p = static_cast<std::size_t>(t.bucketPrefix[static_cast<std::size_t>(index >> UnrankTables::kBucketShift)]);
    const std::int32_t* start = t.prefixStart.data();
    while (start[p + 1] <= index) ++p;
    const auto& prefix = t.prefixNumbers[p];
    const int last = prefix[PrefixLength - 1];
    const auto& suffix = t.suffixes[static_cast<std::size_t>(t.suffixOffset[static_cast<std::size_t>(last)] + (index - start[p]))];
    Combination c;
    c.size = PrefixLength + UnrankTables::kSuffix;
    for (int i = 0; i < PrefixLength; ++i) c.numbers[static_cast<std::size_t>(i)] = prefix[static_cast<std::size_t>(i)];
    for (int i = 0; i < UnrankTables::kSuffix; ++i)
        c.numbers[static_cast<std::size_t>(PrefixLength + i)] = suffix[static_cast<std::size_t>(i)];
    return c;
}

template <GameMode Mode>
Combination unrankIn(CombinationIndex index) {
    static const UnrankTables& tables = unrankTables<Mode>();
    return unrankWith<rulesFor(Mode).pickCount - UnrankTables::kSuffix>(tables, index);
}

// One unranking function per game, indexed by the game's number.
using UnrankFunction = Combination (*)(CombinationIndex);
template <std::size_t... I>
constexpr std::array<UnrankFunction, kGameCount> unrankFunctions(std::index_sequence<I...>) {
    return {&unrankIn<kAllGames[I]>...};
}
constexpr std::array<UnrankFunction, kGameCount> kUnrank = unrankFunctions(std::make_index_sequence<kGameCount>());

}  // namespace

Combination UnrankCombination(GameMode mode, CombinationIndex index) {
    return kUnrank[static_cast<std::size_t>(mode)](index);
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

}  // namespace tambor
