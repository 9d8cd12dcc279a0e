#include "calc/purchase_calculator.h"

#include <array>
#include <climits>
#include <cmath>
#include <cstdio>

#include "core/combination.h"
#include "core/japanese_count.h"
#include "core/whole_number.h"
#include "history/prize_check.h"

namespace tambor {
namespace {

constexpr const char* kImpossible = "ありえない";
constexpr const char* kNoCount = "--本";
constexpr const char* kNoAmount = "--円";

// C(n, k) as the calculator uses it: 0 whenever k is outside 0..n.
long double choose(int n, int k) {
    if (k < 0 || k > n) return 0.0L;
    return Binomial(n, k);
}

template <typename... Args>
std::string format(const char* fmt, Args... args) {
    char buf[64];
    const int len = std::snprintf(buf, sizeof buf, fmt, args...);
    return std::string(buf, static_cast<std::size_t>(len < 0 ? 0 : len));
}

// One way the draw can fall on the n picked numbers.
struct Pattern {
    bool possible = false;
    long double favourable = 0;  // n-number selections (out of C(N, n)) that produce it
    std::array<long double, kMaxGrades> tickets{};  // tickets winning each grade
};

}  // namespace

CalculatorLayout LayoutCalculatorGrid(GameMode mode) {
    CalculatorLayout l;
    const bool mini = mode == GameMode::MiniLoto;
    l.rows = mini ? 7 : 8;
    l.columns = mini ? 7 : 8;
    l.patternRows = mini ? 5 : 6;
    l.gradeCount = prizeGradeCount(mode);
    l.amountColumn = l.columns - 1;
    l.totalsRow = l.rows - 1;
    l.columnCaptions = {"当選パターン ", " 当選確率(X) ", "     1等     ", "     2等     ", "     3等     ", "     4等     "};
    if (!mini) l.columnCaptions.emplace_back("     5等     ");
    l.columnCaptions.emplace_back("理論上の当選金額");
    if (mini)
        l.rowCaptions = {"当選パターン ", "本5個+ボ1個", "本5個", "本4個+ボ1個", "本4個", "本3個", " 当選確率(X) "};
    else
        l.rowCaptions = {"当選パターン ", "本6個+ボ1個", "本6個", "本5個+ボ1個", "本5個", "本4個", "本3個", " 当選確率(X) "};
    return l;
}

bool calculatorCellRightAligned(const CalculatorLayout& layout, int row, int column) {
    return column >= 2 && row >= 1 && row <= layout.patternRows;
}

std::string trimCaption(std::string_view caption) {
    const auto first = caption.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = caption.find_last_not_of(' ');
    return std::string(caption.substr(first, last - first + 1));
}

std::string calculatorPickLabel(GameMode mode) {
    return format("個の中から%d個を選ぶ組み合わせの数は", rulesFor(mode).pickCount);
}

int CalculatorPickFromText(std::string_view text, GameMode mode, int boardCandidates) {
    const GameRules rules = rulesFor(mode);
    const std::optional<int> typed = parseWholeNumber(text);
    long long n = typed ? *typed : boardCandidates;
    if (n > rules.maxNumber) n = rules.maxNumber;
    if (n < rules.pickCount) n = rules.pickCount;
    return static_cast<int>(n);
}

std::string FormatProbability(long double total, long double favourable, ProbabilityView view) {
    if (view == ProbabilityView::Fraction) return format("%0.12g", static_cast<double>(favourable));
    const long double steps = std::ceil(total * 100 / favourable);
    return format("%0.8g", static_cast<double>(steps) * 0.01);
}

std::string FormatTicketCount(double value) { return format("%g本", value); }

CalculatorPage ComputeCalculator(GameMode mode, int n, ProbabilityView view) {
    const GameRules rules = rulesFor(mode);
    const int K = rules.pickCount;
    const int N = rules.maxNumber;
    if (n > N) n = N;
    if (n < K) n = K;
    const CalculatorLayout layout = LayoutCalculatorGrid(mode);

    CalculatorPage page;
    page.n = n;
    const long double tickets = Binomial(n, K);
    page.combinationCountText = FormatJapaneseCount(static_cast<std::int64_t>(tickets));
    page.totalCostText = FormatJapaneseCount(static_cast<std::int64_t>(tickets * kTicketPrice));

    const long double total = Binomial(N, n);

    // Main numbers (m) and bonus (1, 0, or -1 when either way) each pattern
    // puts among the picked numbers.
    constexpr std::array<int, 6> kMissingMain{0, 0, 1, 1, 2, 3};
    constexpr std::array<int, 6> kBonus{1, 0, 1, 0, -1, -1};
    std::vector<Pattern> patterns(static_cast<std::size_t>(layout.patternRows));
    for (int p = 0; p < layout.patternRows; ++p) {
        Pattern& pat = patterns[static_cast<std::size_t>(p)];
        switch (p) {
        case 0:
            pat.possible = n > K;
            pat.favourable = choose(N - K - 1, n - K - 1);
            break;
        case 1:
            pat.possible = n < N;
            pat.favourable = choose(N - K - 1, n - K);
            break;
        case 2:
            pat.possible = n < N;
            pat.favourable = K * choose(N - K - 1, n - K);
            break;
        case 3:
            pat.possible = n < N - 1;
            pat.favourable = K * choose(N - K - 1, n - K + 1);
            break;
        case 4:
            pat.possible = n < N - 1;
            pat.favourable = choose(K, 2) * choose(N - K, n - K + 2);
            break;
        default:
            pat.possible = n < N - 2;
            pat.favourable = choose(K, 3) * choose(N - K, n - K + 3);
            break;
        }
        const int m = K - kMissingMain[static_cast<std::size_t>(p)];
        const int bonus = kBonus[static_cast<std::size_t>(p)];
        const int b = bonus == 1 ? 1 : 0;
        pat.tickets[0] = m == K ? 1.0L : 0.0L;
        pat.tickets[1] = bonus == 1 ? choose(m, K - 1) : 0.0L;
        pat.tickets[2] = choose(m, K - 1) * (n - m - b);
        pat.tickets[3] = choose(m, K - 2) * choose(n - m, 2);
        pat.tickets[4] = choose(m, K - 3) * choose(n - m, 3);
    }

    page.grid.assign(static_cast<std::size_t>(layout.rows),
                     std::vector<std::string>(static_cast<std::size_t>(layout.columns)));
    auto cell = [&](int row, int column) -> std::string& {
        return page.grid[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    };
    for (int c = 0; c < layout.columns; ++c) cell(0, c) = trimCaption(layout.columnCaptions[static_cast<std::size_t>(c)]);
    for (int r = 1; r < layout.rows; ++r) cell(r, 0) = trimCaption(layout.rowCaptions[static_cast<std::size_t>(r)]);

    long double anyFavourable = 0;
    std::array<long double, kMaxGrades> gradeFavourable{};
    for (int p = 0; p < layout.patternRows; ++p) {
        const Pattern& pat = patterns[static_cast<std::size_t>(p)];
        const int row = p + 1;
        if (!pat.possible) {
            cell(row, 1) = kImpossible;
            for (int g = 0; g < layout.gradeCount; ++g) cell(row, 2 + g) = kNoCount;
            cell(row, layout.amountColumn) = kNoAmount;
            continue;
        }
        cell(row, 1) = FormatProbability(total, pat.favourable, view);
        anyFavourable += pat.favourable;
        std::int64_t amount = 0;
        for (int g = 0; g < layout.gradeCount; ++g) {
            const long double count = pat.tickets[static_cast<std::size_t>(g)];
            cell(row, 2 + g) = FormatTicketCount(static_cast<double>(count));
            amount += static_cast<std::int64_t>(count) * prizeGradeAmount(mode, g + 1);
            if (count > 0) gradeFavourable[static_cast<std::size_t>(g)] += pat.favourable;
        }
        // The ロト６ three-main row wins only the fixed fifth prize.
        const bool fixedOnly = mode == GameMode::Loto6 && p == 5;
        cell(row, layout.amountColumn) = (fixedOnly ? "" : "約 ") + FormatJapaneseCount(amount) + "円";
    }

    const int last = layout.totalsRow;
    cell(last, 1) = FormatProbability(total, anyFavourable, view);
    for (int g = 0; g < layout.gradeCount; ++g)
        cell(last, 2 + g) = FormatProbability(total, gradeFavourable[static_cast<std::size_t>(g)], view);
    cell(last, layout.amountColumn) =
        view == ProbabilityView::Reciprocal ? std::string("P=1/X") : format("P=X/%0.13g", static_cast<double>(total));
    return page;
}

}  // namespace tambor
