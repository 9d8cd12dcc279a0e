#include "generate/guarantee_cover.h"

#include <algorithm>
#include <array>
#include <bit>
#include <climits>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>

#include "core/binomial.h"
#include "core/combination.h"
#include "core/combination_rank.h"

namespace tambor {
namespace {

std::uint64_t bitOf(int position) { return std::uint64_t{1} << position; }

// The combinations of the candidates: the axis numbers and k of the T
// together numbers. A combination is held as a mask of together positions
// (bit i for the i-th together number as arranged); its index is the
// lexicographic rank among the C(T, k) masks, a sum of one table term per
// position, so a neighbour (one position swapped for another) is ranked
// with a few look-ups.
class CandidateSpace {
public:
    // The together numbers take positions in the order given: the index
    // order is the lexicographic order of that arrangement.
    CandidateSpace(GameMode game, const std::vector<int>& axis, const std::vector<int>& numbers)
        : game_(game), t_(static_cast<int>(numbers.size())),
          k_(rulesFor(game).pickCount - static_cast<int>(axis.size())) {
        for (int i = 0; i < t_; ++i) {
            numbers_[static_cast<std::size_t>(i)] = numbers[static_cast<std::size_t>(i)];
            positionOf_[static_cast<std::size_t>(numbers[static_cast<std::size_t>(i)])] = i;
            togetherMask_ |= bitOf(numbers[static_cast<std::size_t>(i)] - 1);
        }
        for (int n : axis) axisMask_ |= bitOf(n - 1);
        size_ = exactBinomial(t_, k_);
        last_ = static_cast<std::int32_t>(size_ - 1);
        full_ = t_ == 0 ? 0 : (~std::uint64_t{0} >> (64 - t_));
        for (int p = 0; p < k_; ++p)
            for (int i = 0; i < t_; ++i)
                term_[static_cast<std::size_t>(p)][static_cast<std::size_t>(i)] =
                    static_cast<std::int32_t>(exactBinomial(t_ - 1 - i, k_ - p));
    }

    std::int64_t size() const { return size_; }
    int together() const { return t_; }
    int k() const { return k_; }
    // A combination and the combinations that differ from it in one number.
    int degree() const { return 1 + k_ * (t_ - k_); }

    std::int32_t rank(std::uint64_t mask) const {
        std::int32_t sum = 0;
        for (int p = 0; mask != 0; ++p, mask &= mask - 1) sum += term(p, std::countr_zero(mask));
        return last_ - sum;
    }

    std::uint64_t unrank(std::int32_t index) const {
        std::uint64_t mask = 0;
        std::int64_t rest = index;
        int i = 0;
        for (int p = 0; p < k_; ++p, ++i) {
            // Combinations whose p-th position is i come before those with a later one.
            for (std::int64_t before; (before = exactBinomial(t_ - 1 - i, k_ - 1 - p)) <= rest; ++i) rest -= before;
            mask |= bitOf(i);
        }
        return mask;
    }

    // The together positions of a game combination's numbers.
    std::uint64_t localOf(std::uint64_t gameMask) const {
        std::uint64_t local = 0;
        for (std::uint64_t m = gameMask & togetherMask_; m != 0; m &= m - 1)
            local |= bitOf(positionOf_[static_cast<std::size_t>(std::countr_zero(m) + 1)]);
        return local;
    }
    std::uint64_t gameMaskOf(std::uint64_t local) const {
        std::uint64_t mask = axisMask_;
        for (; local != 0; local &= local - 1)
            mask |= bitOf(numbers_[static_cast<std::size_t>(std::countr_zero(local))] - 1);
        return mask;
    }
    CombinationIndex gameIndexOf(std::uint64_t local) const { return RankTable::of(game_).rankMask(gameMaskOf(local)); }

    // f(index, mask) for kept (k - 1 positions) plus each position of free.
    template <typename F>
    void forEachSwap(std::uint64_t kept, std::uint64_t free, F&& f) const {
        int c[kMaxPick + 1];
        int n = 0;
        for (std::uint64_t m = kept; m != 0; m &= m - 1) c[n++] = std::countr_zero(m);
        c[n] = INT_MAX;  // stops the position search
        // before[q]: the kept positions below slot q stay in their slots;
        // after[q]: those from slot q on move one slot up.
        std::int32_t before[kMaxPick + 1], after[kMaxPick + 1];
        before[0] = 0;
        for (int q = 0; q < n; ++q) before[q + 1] = before[q] + term(q, c[q]);
        after[n] = 0;
        for (int q = n - 1; q >= 0; --q) after[q] = after[q + 1] + term(q + 1, c[q]);
        int q = 0;
        for (std::uint64_t m = free; m != 0; m &= m - 1) {
            const int x = std::countr_zero(m);
            while (c[q] < x) ++q;
            f(last_ - (before[q] + term(q, x) + after[q]), kept | bitOf(x));
        }
    }

    // f(index) for the combination itself and each one a number away: the
    // greedy's inner loop. For each dropped position the replacements come
    // in runs between the kept positions, each run in one slot, so the
    // loop body is a table look-up and a call.
    template <typename F>
    void forEachNeighbourIndex(std::uint64_t mask, F&& f) const {
        int c[kMaxPick];
        int n = 0;
        for (std::uint64_t m = mask; m != 0; m &= m - 1) c[n++] = std::countr_zero(m);
        f(rank(mask));
        for (int d = 0; d < n; ++d) {
            int kept[kMaxPick];
            for (int j = 0, i = 0; j < n; ++j)
                if (j != d) kept[i++] = c[j];
            kept[n - 1] = t_;  // the last run ends after the last position
            std::int32_t before = 0, after = 0;
            for (int q = 0; q < n - 1; ++q) after += term(q + 1, kept[q]);
            int lo = 0;
            for (int q = 0; q < n; ++q) {
                const int hi = kept[q];
                const std::int32_t base = last_ - before - after;
                const std::int32_t* terms = term_[static_cast<std::size_t>(q)].data();
                const int dropped = c[d];
                for (int x = lo; x < hi; ++x)
                    if (x != dropped) f(base - terms[x]);
                if (q < n - 1) {
                    before += term(q, hi);
                    after -= term(q + 1, hi);
                }
                lo = hi + 1;
            }
        }
    }

    // f(index, mask) for the combination itself and each one a number away.
    template <typename F>
    void forEachNeighbour(std::uint64_t mask, F&& f) const {
        f(rank(mask), mask);
        const std::uint64_t free = full_ & ~mask;
        for (std::uint64_t m = mask; m != 0; m &= m - 1) forEachSwap(mask & ~(m & -m), free, f);
    }

    // f(index, mask) for each combination of the candidates that shares at
    // least K - 1 numbers with the ticket (a game mask of K numbers).
    template <typename F>
    void forEachCoveredBy(std::uint64_t ticket, F&& f) const {
        // With m axis numbers missing and o numbers outside the candidates,
        // the ticket holds k + m - o together numbers, and a combination
        // needs k - 1 + m of them: so m and o are at most 1.
        const std::uint64_t outside = ticket & ~(axisMask_ | togetherMask_);
        const std::uint64_t missingAxis = axisMask_ & ~ticket;
        if ((outside & (outside - 1)) != 0 || (missingAxis & (missingAxis - 1)) != 0) return;
        const std::uint64_t local = localOf(ticket);
        if (missingAxis == 0 && outside == 0) {
            forEachNeighbour(local, f);  // k together numbers: itself and a number away
        } else if (missingAxis == 0) {
            forEachSwap(local, full_ & ~local, f);  // k - 1: the outside number replaced
        } else if (outside == 0) {
            // k + 1 together numbers: one of them gives way to the missing axis number.
            for (std::uint64_t m = local; m != 0; m &= m - 1) {
                const std::uint64_t s = local & ~(m & -m);
                f(rank(s), s);
            }
        } else {
            f(rank(local), local);  // k: the outside number gives way to the axis number
        }
    }

    // f(index, mask) for every combination, in no particular order.
    template <typename F>
    void forEachCombination(F&& f) const {
        if (k_ == 0) {
            f(rank(0), 0);
            return;
        }
        const std::uint64_t end = bitOf(t_);
        for (std::uint64_t m = (std::uint64_t{1} << k_) - 1; m < end;) {
            f(rank(m), m);
            const std::uint64_t low = m & -m;
            const std::uint64_t r = m + low;
            m = (((r ^ m) >> 2) / low) | r;
        }
    }

    // The table term of together position `position` at slot `slot`; the
    // index is last() minus the sum of a combination's terms.
    std::int32_t term(int slot, int position) const {
        return term_[static_cast<std::size_t>(slot)][static_cast<std::size_t>(position)];
    }
    std::int32_t last() const { return last_; }
    std::uint64_t full() const { return full_; }

private:
    GameMode game_;
    int t_;
    int k_;
    std::int64_t size_ = 0;
    std::int32_t last_ = -1;
    std::uint64_t full_ = 0;
    std::uint64_t axisMask_ = 0;
    std::uint64_t togetherMask_ = 0;
    std::array<int, kBoardSize> numbers_{};
    std::array<int, kBoardSize + 1> positionOf_{};
    // [slot 0..K][position 0..T-1]; slots from k on are zero.
    std::array<std::array<std::int32_t, kBoardSize>, kMaxPick + 2> term_{};
};

void validate(GameMode game, const std::vector<int>& axis, const std::vector<int>& together) {
    const GameRules rules = rulesFor(game);
    if (static_cast<int>(axis.size()) > rules.pickCount) throw std::invalid_argument("too many axis numbers");
    std::uint64_t seen = 0;
    for (const auto* numbers : {&axis, &together})
        for (int n : *numbers) {
            if (n < 1 || n > rules.maxNumber) throw std::invalid_argument("number out of range");
            if (seen & bitOf(n - 1)) throw std::invalid_argument("number given twice");
            seen |= bitOf(n - 1);
        }
}

std::uint64_t ticketMask(GameMode game, CombinationIndex index) {
    std::uint64_t mask = 0;
    for (int n : UnrankCombination(game, index)) mask |= bitOf(n - 1);
    return mask;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

// BuildFewestCover's counts from an empty list without past winners, by
// candidate count 0..maxNumber.
constexpr std::array<std::int32_t, 32> kMiniFewest{0,   0,   0,    0,    0,    1,    1,    3,    5,    11,  19,
                                                   27,  40,  61,   86,   123,  169,  225,  293,  376,  481, 593,
                                                   735, 901, 1094, 1310, 1557, 1841, 2158, 2531, 2922, 3383};
constexpr std::array<std::int32_t, 44> kLoto6Fewest{
    0,     0,     0,     0,     0,     0,     1,     1,     4,     8,     15,    27,    46,    79,   125,
    190,   280,   401,   569,   783,   1068,  1423,  1876,  2422,  3103,  3909,  4893,  6069,  7437, 9064,
    10970, 13161, 15687, 18621, 21936, 25726, 30049, 34933, 40427, 46570, 53460, 61141, 69689, 79155};
constexpr std::array<std::int32_t, 38> kLoto7Fewest{
    0, 0, 0, 0, 0, 0, 0, 1, 1, 4, 9, 21, 40, 79, 146, 238, 386, 603, 912, 1346, 1984, 2808, 3920,
    5383, 7269, 9691, 12729, 16544, 21299, 27114, 34186, 42756, 53028, 65305, 79838, 96979, 117075,
    140633};
constexpr std::array<std::span<const std::int32_t>, kGameCount> kFewest{kMiniFewest, kLoto6Fewest, kLoto7Fewest};

}  // namespace

std::int64_t guaranteeLowerBound(int candidates, int pick) {
    const int v = candidates, k = pick;
    if (k < 0 || v < k) return 0;
    const std::int64_t all = exactBinomial(v, k);
    std::int64_t bound = ceilDiv(all, 1 + std::int64_t{k} * (v - k));
    if (k >= 2) bound = std::max(bound, ceilDiv(all, std::int64_t{k - 1} * (v - k + 2)));
    return bound;
}

std::int32_t fewestLineCount(GameMode mode, int candidates) {
    if (candidates < 0) return 0;
    const std::span<const std::int32_t> table = kFewest[static_cast<std::size_t>(mode)];
    return candidates < static_cast<int>(table.size()) ? table[static_cast<std::size_t>(candidates)] : table.back();
}

std::string guaranteeResultLine(std::int64_t kept, std::int64_t lowerBound) {
    auto grouped = [](std::int64_t value) {
        std::string digits = std::to_string(value);
        for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
            digits.insert(static_cast<std::size_t>(i), ",");
        return digits;
    };
    return grouped(kept) + " 組（下限 " + grouped(lowerBound) + " 組）";
}

GuaranteeCheck CheckGuarantee(GameMode game, const std::vector<int>& axis, const std::vector<int>& together,
                              const std::vector<CombinationIndex>& tickets, const ProgressCallback& progress) {
    validate(game, axis, together);
    GuaranteeCheck check;
    check.candidates = static_cast<int>(axis.size() + together.size());
    check.lines = tickets.size();
    const CandidateSpace space(game, axis, together);
    check.combinations = space.size();
    check.lowerBound = guaranteeLowerBound(space.together(), space.k());
    if (space.size() == 0) return check;

    std::vector<std::uint8_t> covered(static_cast<std::size_t>(space.size()), 0);
    PercentProgress percent(progress);
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        space.forEachCoveredBy(ticketMask(game, tickets[i]), [&](std::int32_t index, std::uint64_t) {
            covered[static_cast<std::size_t>(index)] = 1;
        });
        if ((i & 1023) == 0 && !percent.report(i, tickets.size())) {
            check.completed = false;
            return check;
        }
    }
    // The smallest few game indices of the uncovered ones, kept short as
    // they come (an empty list leaves every combination uncovered).
    std::vector<CombinationIndex> sample;
    auto trim = [&sample] {
        std::nth_element(sample.begin(), sample.begin() + kUncoveredSampleSize - 1, sample.end());
        sample.resize(kUncoveredSampleSize);
    };
    space.forEachCombination([&](std::int32_t index, std::uint64_t mask) {
        if (covered[static_cast<std::size_t>(index)]) return;
        ++check.uncovered;
        sample.push_back(space.gameIndexOf(mask));
        if (sample.size() == 64 * kUncoveredSampleSize) trim();
    });
    if (sample.size() > kUncoveredSampleSize) trim();
    std::sort(sample.begin(), sample.end());
    check.uncoveredSample = std::move(sample);
    percent.reportPercent(100);
    return check;
}

namespace {

// The state both tie orders start from.
struct CoverStart {
    std::vector<std::uint8_t> covered;  // by the listed tickets
    std::vector<std::uint8_t> gain;     // uncovered combinations within one number
    std::vector<std::uint8_t> blocked;  // listed or a past winner: never chosen
    std::int64_t coveredCount = 0;
    std::int64_t target = 0;  // combinations that can be covered
};

// Newly covered combinations below this many are handled one by one; from
// it on the gains are lowered once per combination around the chosen one.
constexpr int kAggregateFrom = 32;

// Covers the chosen combination and everything a number away from it, and
// lowers every gain accordingly; returns how many were newly covered.
//
// A newly covered u lowers the gain of every combination within one
// number of u, so the gains that change are those within two numbers of
// the chosen c. With many newly covered, each of those is lowered once by
// how many of them it is near, which is known from the pattern alone: with
// F[a][b] = 1 when c with its a-th number replaced by the b-th free one was
// newly covered,
//   c itself                  loses the count of newly covered;
//   c with a → b              loses [c newly covered] + row a + column b - F[a][b];
//   c with a, a2 → b, b2      loses F[a][b] + F[a][b2] + F[a2][b] + F[a2][b2].
// Near the end few are new each time and the one-by-one way is cheaper.
int coverAround(const CandidateSpace& space, std::uint64_t chosen, std::uint8_t* done, std::uint8_t* gains) {
    const int k = space.k();
    const std::int32_t last = space.last();
    int c[kMaxPick];
    int size = 0;
    for (std::uint64_t m = chosen; m != 0; m &= m - 1) c[size++] = std::countr_zero(m);
    int free[kBoardSize];
    int freeCount = 0;
    for (std::uint64_t m = space.full() & ~chosen; m != 0; m &= m - 1) free[freeCount++] = std::countr_zero(m);

    const std::int32_t self = space.rank(chosen);
    int fresh = 0;
    const int selfFresh = done[self] ? 0 : 1;
    done[self] = 1;
    fresh += selfFresh;
    std::int32_t near[kMaxPick][kBoardSize];
    std::uint8_t newly[kMaxPick][kBoardSize];
    for (int a = 0; a < k; ++a) {
        // kept: c without its a-th position; a free position y goes into
        // slot s = the kept positions below it, the kept ones from s move up.
        const std::uint64_t kept = chosen & ~(std::uint64_t{1} << c[a]);
        std::int32_t stay[kMaxPick + 1], move[kMaxPick + 1];
        stay[0] = move[0] = 0;
        int q = 0;
        for (std::uint64_t m = kept; m != 0; m &= m - 1, ++q) {
            stay[q + 1] = stay[q] + space.term(q, std::countr_zero(m));
            move[q + 1] = move[q] + space.term(q + 1, std::countr_zero(m));
        }
        // The free positions ascend, so each one's slot is counted on.
        std::uint64_t below = kept;
        int slot = 0;
        for (int b = 0; b < freeCount; ++b) {
            const int y = free[b];
            for (; below != 0 && std::countr_zero(below) < y; below &= below - 1) ++slot;
            const std::int32_t index = last - (stay[slot] + space.term(slot, y) + move[q] - move[slot]);
            near[a][b] = index;
            newly[a][b] = done[index] ? 0 : 1;
            done[index] = 1;
            fresh += newly[a][b];
        }
    }
    if (fresh == 0) return 0;
    auto decrement = [gains](std::int32_t x) { --gains[x]; };
    if (fresh < kAggregateFrom) {
        if (selfFresh) space.forEachNeighbourIndex(chosen, decrement);
        for (int a = 0; a < k; ++a)
            for (int b = 0; b < freeCount; ++b)
                if (newly[a][b])
                    space.forEachNeighbourIndex((chosen & ~(std::uint64_t{1} << c[a])) | (std::uint64_t{1} << free[b]),
                                                decrement);
        return fresh;
    }

    int row[kMaxPick] = {}, column[kBoardSize] = {};
    for (int a = 0; a < k; ++a)
        for (int b = 0; b < freeCount; ++b) {
            row[a] += newly[a][b];
            column[b] += newly[a][b];
        }
    gains[self] = static_cast<std::uint8_t>(gains[self] - fresh);
    for (int a = 0; a < k; ++a)
        for (int b = 0; b < freeCount; ++b)
            gains[near[a][b]] =
                static_cast<std::uint8_t>(gains[near[a][b]] - (selfFresh + row[a] + column[b] - newly[a][b]));
    for (int a = 0; a < k; ++a)
        for (int a2 = a + 1; a2 < k; ++a2) {
            // kept: c without positions a and a2. For free y1 < y2 in slots
            // s1 <= s2 the index is last - A(y1) - B(y2): kept positions
            // below s1 stay, those from s1 move up one slot, from s2 two.
            const std::uint64_t kept = chosen & ~(std::uint64_t{1} << c[a]) & ~(std::uint64_t{1} << c[a2]);
            std::int32_t p0[kMaxPick + 1], p1[kMaxPick + 1], p2[kMaxPick + 1];
            p0[0] = p1[0] = p2[0] = 0;
            int q = 0;
            for (std::uint64_t m = kept; m != 0; m &= m - 1, ++q) {
                const int x = std::countr_zero(m);
                p0[q + 1] = p0[q] + space.term(q, x);
                p1[q + 1] = p1[q] + space.term(q + 1, x);
                p2[q + 1] = p2[q] + space.term(q + 2, x);
            }
            std::int32_t first[kBoardSize], second[kBoardSize];
            int both[kBoardSize];
            std::uint64_t below = kept;
            int slot = 0;
            for (int b = 0; b < freeCount; ++b) {
                const int y = free[b];
                for (; below != 0 && std::countr_zero(below) < y; below &= below - 1) ++slot;
                first[b] = p0[slot] - p1[slot] + space.term(slot, y);
                second[b] = p1[slot] - p2[slot] + p2[q] + space.term(slot + 1, y);
                both[b] = newly[a][b] + newly[a2][b];
            }
            for (int b = 0; b < freeCount; ++b) {
                const std::int32_t base = last - first[b];
                const int here = both[b];
                for (int b2 = b + 1; b2 < freeCount; ++b2) {
                    const int loss = here + both[b2];
                    if (loss != 0) {
                        std::uint8_t& g = gains[base - second[b2]];
                        g = static_cast<std::uint8_t>(g - loss);
                    }
                }
            }
        }
    return fresh;
}

// Max-gain greedy from start. Among the combinations of the largest gain
// the first in index order is taken (the last with descending). Gains only
// fall, so a combination may sit in a bucket above its gain: it moves down
// when its bucket is the top one. No entry enters the top bucket while it
// is the top, so the top bucket is spread into a bit map and read in index
// order. Returns the chosen combinations in the order chosen, or nothing
// when stopped.
std::optional<std::vector<std::int32_t>> greedyCover(const CandidateSpace& space, CoverStart start, bool descending,
                                                     const std::function<bool(double)>& progress) {
    const auto n = start.gain.size();
    const int degree = space.degree();
    std::vector<std::uint8_t>& covered = start.covered;
    std::vector<std::uint8_t>& gain = start.gain;
    std::vector<std::int64_t> sizes(static_cast<std::size_t>(degree) + 1, 0);
    for (std::size_t w = 0; w < n; ++w)
        if (!start.blocked[w]) ++sizes[gain[w]];
    std::vector<std::vector<std::int32_t>> buckets(static_cast<std::size_t>(degree) + 1);
    for (int g = 1; g <= degree; ++g)
        buckets[static_cast<std::size_t>(g)].reserve(static_cast<std::size_t>(sizes[static_cast<std::size_t>(g)]));
    for (std::size_t w = 0; w < n; ++w)
        if (!start.blocked[w] && gain[w] > 0) buckets[gain[w]].push_back(static_cast<std::int32_t>(w));
    std::vector<std::uint8_t>().swap(start.blocked);
    std::vector<std::uint64_t> topMap((n + 63) / 64, 0);
    const auto words = static_cast<std::ptrdiff_t>(topMap.size());

    // A byte store may alias anything: the loops work on plain pointers.
    std::uint8_t* const gains = gain.data();
    std::uint8_t* const done = covered.data();
    std::vector<std::int32_t> chosen;
    std::int64_t coveredCount = start.coveredCount;
    const std::int64_t from = coveredCount, to = std::max<std::int64_t>(start.target, from + 1);
    for (int top = degree; top > 0 && coveredCount < start.target; --top) {
        std::vector<std::int32_t>& bucket = buckets[static_cast<std::size_t>(top)];
        if (bucket.empty()) continue;
        for (std::int32_t w : bucket) topMap[static_cast<std::size_t>(w) >> 6] |= std::uint64_t{1} << (w & 63);
        std::vector<std::int32_t>().swap(bucket);
        for (std::ptrdiff_t i = 0; i < words; ++i) {
            const auto word = static_cast<std::size_t>(descending ? words - 1 - i : i);
            std::uint64_t bits = topMap[word];
            if (bits == 0) continue;
            topMap[word] = 0;
            for (; bits != 0 && coveredCount < start.target;) {
                const int bit = descending ? 63 - std::countl_zero(bits) : std::countr_zero(bits);
                bits &= ~(std::uint64_t{1} << bit);
                const auto w = static_cast<std::int32_t>(word * 64 + static_cast<std::size_t>(bit));
                const int g = gains[w];
                if (g != top) {
                    if (g > 0) buckets[static_cast<std::size_t>(g)].push_back(w);
                    continue;
                }
                chosen.push_back(w);
                coveredCount += coverAround(space, space.unrank(w), done, gains);
                if ((chosen.size() & 63) == 0 &&
                    !progress(static_cast<double>(coveredCount - from) / static_cast<double>(to - from)))
                    return std::nullopt;
            }
            if (coveredCount >= start.target) break;
        }
    }
    return chosen;
}

// Drops, the last chosen first, every chosen ticket whose combinations all
// have another ticket within one number; returns the others.
std::vector<std::int32_t> dropRedundant(const CandidateSpace& space, const std::vector<std::int32_t>& chosen,
                                        const std::vector<std::uint64_t>& held) {
    // At most 1 + K(N - K) <= 223 tickets are within one number of a
    // combination, so a byte holds the count.
    std::vector<std::uint8_t> count(static_cast<std::size_t>(space.size()), 0);
    auto add = [&](std::int32_t u, std::uint64_t) { ++count[static_cast<std::size_t>(u)]; };
    for (std::uint64_t ticket : held) space.forEachCoveredBy(ticket, add);
    for (std::int32_t w : chosen) space.forEachNeighbour(space.unrank(w), add);
    std::vector<std::int32_t> kept;
    for (auto it = chosen.rbegin(); it != chosen.rend(); ++it) {
        const std::uint64_t mask = space.unrank(*it);
        bool redundant = true;
        space.forEachNeighbourIndex(
            mask, [&](std::int32_t u) { redundant = redundant && count[static_cast<std::size_t>(u)] >= 2; });
        if (redundant)
            space.forEachNeighbourIndex(mask, [&](std::int32_t u) { --count[static_cast<std::size_t>(u)]; });
        else
            kept.push_back(*it);
    }
    return kept;
}

// Below this much work (combinations × neighbourhood) the build also tries
// the descending tie order, which is better for some candidate counts, and
// keeps the smaller set; one order over 43 numbers is 1.4 billion steps.
constexpr std::int64_t kBothOrdersWork = std::int64_t{1} << 27;

}  // namespace

FewestCover BuildFewestCover(GameMode game, const std::vector<int>& axis, const std::vector<int>& together,
                             const CombinationList& list, const CombinationSet& pastWinners, RandomGenerator& random,
                             const ProgressCallback& progress) {
    validate(game, axis, together);
    // Ties go by the lexicographic order of the together numbers arranged
    // at random, as the random scan order arranges them: the same seed gives
    // the same tickets, another seed another set of the same quality.
    const GameRules rules = rulesFor(game);
    std::vector<int> order(static_cast<std::size_t>(rules.maxNumber));
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i) + 1;
    for (std::size_t i = 0; i < order.size(); ++i)
        std::swap(order[i], order[static_cast<std::size_t>(random.RandomBelow(rules.maxNumber))]);
    std::vector<int> arranged;
    for (int number : order)
        if (std::find(together.begin(), together.end(), number) != together.end()) arranged.push_back(number);
    const CandidateSpace space(game, axis, arranged);

    FewestCover result;
    result.combinations = space.size();
    result.lowerBound = guaranteeLowerBound(space.together(), space.k());
    if (space.size() == 0) return result;
    PercentProgress percent(progress);
    auto stop = [&] {
        result.completed = false;
        return result;
    };

    const auto n = static_cast<std::size_t>(space.size());
    std::vector<std::uint64_t> held;
    held.reserve(list.size());
    for (CombinationIndex ticket : list.items()) held.push_back(ticketMask(game, ticket));

    CoverStart start;
    start.covered.assign(n, 0);
    for (std::uint64_t ticket : held)
        space.forEachCoveredBy(ticket,
                               [&](std::int32_t u, std::uint64_t) { start.covered[static_cast<std::size_t>(u)] = 1; });
    start.gain.assign(n, static_cast<std::uint8_t>(space.degree()));  // at most 1 + 6 × 37 = 223
    start.blocked.assign(n, 0);
    std::vector<std::uint64_t> winners;  // uncovered past winners
    std::int64_t visited = 0;
    const auto& pastBytes = pastWinners.bytes();
    const bool anyPast = std::any_of(pastBytes.begin(), pastBytes.end(), [](std::uint8_t b) { return b != 0; });
    if (anyPast || !list.empty())
        space.forEachCombination([&](std::int32_t u, std::uint64_t mask) {
            const auto i = static_cast<std::size_t>(u);
            const CombinationIndex index = space.gameIndexOf(mask);
            if (list.listedSet().contains(index)) {
                start.blocked[i] = 1;
                result.held.push_back(index);
            } else if (pastWinners.contains(index)) {
                start.blocked[i] = 1;
                ++result.pastWinners;
                if (!start.covered[i]) winners.push_back(mask);
            }
            if (start.covered[i]) {
                ++start.coveredCount;
                space.forEachNeighbourIndex(mask, [&](std::int32_t x) { --start.gain[static_cast<std::size_t>(x)]; });
            }
            if ((++visited & 0xFFFF) == 0) percent.reportPercent(static_cast<int>(visited * 5 / space.size()));
        });
    std::sort(result.held.begin(), result.held.end());
    if (!percent.reportPercent(5)) return stop();
    // A past winner is out of reach when every combination a number away
    // is blocked too; every other combination can be covered.
    for (std::uint64_t mask : winners) {
        bool reachable = false;
        space.forEachNeighbourIndex(
            mask, [&](std::int32_t w) { reachable = reachable || !start.blocked[static_cast<std::size_t>(w)]; });
        if (!reachable) ++result.unreachable;
    }
    start.target = space.size() - result.unreachable;

    const bool both = space.size() * space.degree() <= kBothOrdersWork;
    std::optional<std::vector<std::int32_t>> best;
    const int runs = both ? 2 : 1;
    for (int run = 0; run < runs; ++run) {
        const double from = 5 + 90.0 * run / runs, span = 90.0 / runs;
        // The last run may take the start state; an earlier one works on a copy.
        CoverStart state = run + 1 < runs ? start : std::move(start);
        auto chosen = greedyCover(space, std::move(state), run == 1, [&](double done) {
            return percent.reportPercent(static_cast<int>(from + span * done));
        });
        if (!chosen) return stop();
        std::vector<std::int32_t> kept = dropRedundant(space, *chosen, held);
        if (!best || kept.size() < best->size()) best = std::move(kept);
    }
    for (std::int32_t w : *best) result.added.push_back(space.gameIndexOf(space.unrank(w)));
    std::sort(result.added.begin(), result.added.end());
    percent.reportPercent(100);  // the work is done: a stop asked now comes too late
    return result;
}

}  // namespace tambor
