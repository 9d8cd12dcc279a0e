// The filter conditions' text: any text is refused with a message or reads
// into ranges that make sense, and those ranges written out read back the
// same; every combination's statistics stay within their bounds.

#include <bit>
#include <string>

#include "core/combination.h"
#include "fuzz_support.h"
#include "generate/filter_text.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const GameMode game = input.game();
    // A combination from the next bytes, for the statistics.
    const GameRules rules = rulesFor(game);
    std::uint32_t pick = 0;
    for (int i = 0; i < 4; ++i) pick = pick << 8 | input.byte();
    const auto index = static_cast<CombinationIndex>(pick % static_cast<std::uint32_t>(rules.combinationCount));
    std::uint64_t mask = 0;
    for (int v : UnrankCombination(game, index)) mask |= std::uint64_t{1} << (v - 1);
    require(std::popcount(mask) == rules.pickCount, "unranked combination of another size");

    FilterSettings settings;
    try {
        settings = parseFilterText(game, input.rest());
    } catch (const FilterTextError& e) {
        require(std::string(e.what()).find("絞り込み条件") != std::string::npos, "a refusal without its subject");
        return 0;
    }
    require(settings.anyEnabled(), "an accepted text without a condition");
    for (int c = 0; c < kFilterConditionCount; ++c) {
        const FilterRange& r = settings.ranges[static_cast<std::size_t>(c)];
        const FilterBounds b = filterBounds(game, filterConditionAt(c));
        require(r.min >= 0 && r.min <= r.max, "a range turned over");
        if (r.enabled) require(r.max >= b.min && r.min <= b.max, "a range no combination can meet");
    }
    require(parseFilterText(game, formatFilterText(settings)) == settings, "written conditions read back differently");

    const CombinationFilter filter(game, settings, mask);
    const FilterStatistics s = filter.statistics(mask);
    bool all = true;
    for (int c = 0; c < kFilterConditionCount; ++c) {
        const FilterBounds b = filterBounds(game, filterConditionAt(c));
        const int value = s[static_cast<std::size_t>(c)];
        require(value >= b.min && value <= b.max, "a statistic outside its bounds");
        const FilterRange& r = settings.ranges[static_cast<std::size_t>(c)];
        all = all && (!r.enabled || r.contains(value));
    }
    require(filter.passes(mask) == all, "passes() disagrees with the ranges");
    return 0;
}
