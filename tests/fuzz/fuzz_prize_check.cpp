// The prize check against a plain count: for any winning numbers and any
// list, each grade's hits and lines are those of grading every listed
// combination one by one.

#include <array>
#include <string>

#include "core/combination_list.h"
#include "core/text_scan.h"
#include "fuzz_support.h"
#include "history/prize_check.h"

using namespace tambor;
using tambor::fuzz::require;

namespace {

// The grade of one combination (0 for none), by counting matches.
int gradeOf(GameMode mode, const Combination& c, const WinningNumbers& w) {
    int matches = 0;
    bool bonus = false;
    for (int v : c) {
        for (int i = 0; i < w.mainCount; ++i) matches += v == w.main[static_cast<std::size_t>(i)];
        for (int i = 0; i < w.bonusCount; ++i) bonus = bonus || v == w.bonus[static_cast<std::size_t>(i)];
    }
    const int k = rulesFor(mode).pickCount;
    if (matches == k) return 1;
    if (matches == k - 1) return bonus ? 2 : 3;
    if (matches == k - 2) return 4;
    if (matches == k - 3 && mode == GameMode::Loto6) return 5;
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    // ロト６'s check walks 165,613 candidates, ミニロト's 3381: most inputs
    // take the quick one, so more of them run.
    const GameMode mode = (input.byte() & 3) == 3 ? GameMode::Loto6 : GameMode::MiniLoto;
    const GameRules rules = rulesFor(mode);
    int mains[kMaxPick];
    for (int i = 0; i < rules.pickCount; ++i) mains[i] = input.byte() % rules.maxNumber + 1;
    const int bonus = input.byte() % rules.maxNumber + 1;
    const std::optional<WinningNumbers> winning = makeWinningNumbers(mode, mains, rules.pickCount, bonus);
    if (!winning) return 0;

    // One list for all inputs: its bit sets are large to make anew each time.
    static CombinationList list;
    list.reset(mode);
    list.appendText(input.rest());
    const PrizeCheckResult result = RunPrizeCheck(mode, *winning, list.listedSet());
    require(result.completed, "check not completed");

    const int grades = prizeGradeCount(mode);
    std::array<int, kMaxGrades> expected{};
    for (std::size_t i = 0; i < list.size(); ++i) {
        const int grade = gradeOf(mode, list.combinationAt(i), *winning);
        if (grade > 0) ++expected[static_cast<std::size_t>(grade - 1)];
    }
    std::int64_t money = 0;
    int total = 0;
    for (int g = 1; g <= kMaxGrades; ++g) {
        const int hits = result.hits[static_cast<std::size_t>(g - 1)];
        require(hits == expected[static_cast<std::size_t>(g - 1)], "hits differ from the plain count");
        require(g <= grades || hits == 0, "hits in a grade the game does not have");
        if (g <= grades) {
            require(hits <= prizeGradeCandidateCount(mode, g), "more hits than winning combinations");
            money += static_cast<std::int64_t>(hits) * prizeGradeAmount(mode, g);
        }
        total += hits;
    }
    require(result.money == money, "money");
    require(result.lines.size() == static_cast<std::size_t>(grades + total), "result lines");

    // Under each heading, the lines of exactly that grade.
    int grade = 0;
    for (const std::string& line : result.lines) {
        if (grade < grades && line == prizeGradeHeading(grade + 1)) {
            ++grade;
            continue;
        }
        int scanned = 0;
        scanCombinations(mode, line, [&](const Combination& c) {
            ++scanned;
            require(gradeOf(mode, c, *winning) == grade, "a line under the wrong grade");
            require(list.listedSet().contains(RankCombination(mode, c)), "a line not in the list");
        });
        require(scanned == 1, "a result line is not one combination");
    }
    require(grade == grades, "grade headings");
    return 0;
}
