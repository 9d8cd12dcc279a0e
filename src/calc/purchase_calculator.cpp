#include "calc/purchase_calculator.h"

#include <algorithm>
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

// A row of the table: m main numbers among the picked ones, and b bonus
// numbers (-1: either way, for rows whose tickets do not depend on them).
struct PatternShape {
    int mains;
    int bonuses;
};

// The rows of a game, from the most main numbers down to the fewest any
// grade needs. The bonus numbers split a row where a grade depends on them:
// the rows of K and K - 1 main numbers (second or third grade), and every
// row when a grade needs a bonus number among the others (ロト７ 六等).
std::vector<PatternShape> patternShapes(GameMode mode) {
    const GameRules& rules = rulesFor(mode);
    const int k = rules.pickCount;
    int fewest = k;
    bool bonusEverywhere = false;
    for (int g = 0; g < rules.gradeCount; ++g) {
        const GradeRule& rule = rules.grades[static_cast<std::size_t>(g)];
        fewest = std::min(fewest, rule.mainPick);
        bonusEverywhere = bonusEverywhere || rule.pool == Pool::WithBonus;
    }
    std::vector<PatternShape> shapes;
    for (int m = k; m >= fewest; --m) {
        if (m >= k - 1 || bonusEverywhere) {
            for (int b = rules.bonusCount; b >= 0; --b) shapes.push_back({m, b});
        } else {
            shapes.push_back({m, -1});
        }
    }
    return shapes;
}

}  // namespace

CalculatorLayout LayoutCalculatorGrid(GameMode mode) {
    const GameRules& rules = rulesFor(mode);
    const std::vector<PatternShape> shapes = patternShapes(mode);
    CalculatorLayout l;
    l.gradeCount = rules.gradeCount;
    l.patternRows = static_cast<int>(shapes.size());
    l.rows = l.patternRows + 2;
    l.columns = l.gradeCount + 3;
    l.amountColumn = l.columns - 1;
    l.totalsRow = l.rows - 1;
    l.columnCaptions = {"当選パターン ", " 当選確率(X) "};
    for (int g = 1; g <= l.gradeCount; ++g) l.columnCaptions.push_back(format("     %d等     ", g));
    l.columnCaptions.emplace_back("理論上の当選金額");
    l.rowCaptions = {"当選パターン "};
    for (const PatternShape& shape : shapes)
        l.rowCaptions.push_back(shape.bonuses > 0 ? format("本%d個+ボ%d個", shape.mains, shape.bonuses)
                                                  : format("本%d個", shape.mains));
    l.rowCaptions.emplace_back(" 当選確率(X) ");
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
    page.totalCostText = FormatJapaneseCount(static_cast<std::int64_t>(tickets * rules.price));

    const long double total = Binomial(N, n);

    // Each pattern: how many n-number selections put m main numbers and b
    // bonus numbers among the picked ones, and how many of the C(n, K)
    // tickets then win each grade.
    const int B = rules.bonusCount;
    const std::vector<PatternShape> shapes = patternShapes(mode);
    std::vector<Pattern> patterns(shapes.size());
    for (std::size_t p = 0; p < shapes.size(); ++p) {
        Pattern& pat = patterns[p];
        const int m = shapes[p].mains;
        const int b = std::max(shapes[p].bonuses, 0);
        pat.favourable = shapes[p].bonuses < 0 ? choose(K, m) * choose(N - K, n - m)
                                               : choose(K, m) * choose(B, b) * choose(N - K - B, n - m - b);
        pat.possible = pat.favourable > 0;
        const int others = n - m - b;  // picked numbers neither main nor bonus
        for (int g = 0; g < rules.gradeCount; ++g) {
            const GradeRule& rule = rules.grades[static_cast<std::size_t>(g)];
            const long double mains = choose(m, rule.mainPick);
            long double rest = 1.0L;
            switch (rule.pool) {
            case Pool::None: rest = 1.0L; break;
            case Pool::Bonus: rest = choose(b, rule.poolPick); break;
            case Pool::Others: rest = choose(others, rule.poolPick); break;
            case Pool::NonMain: rest = choose(n - m, rule.poolPick); break;
            case Pool::WithBonus: rest = choose(n - m, rule.poolPick) - choose(others, rule.poolPick); break;
            }
            pat.tickets[static_cast<std::size_t>(g)] = mains * rest;
        }
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
        // A row that wins only the game's fixed prize (ロト６ 本3個) is exact.
        bool fixedOnly = rules.fixedPrizeGrade > 0;
        for (int g = 0; g < layout.gradeCount; ++g)
            if (g + 1 != rules.fixedPrizeGrade && pat.tickets[static_cast<std::size_t>(g)] > 0) fixedOnly = false;
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
