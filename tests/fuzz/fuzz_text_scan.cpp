// The text scan over any bytes: every combination it reports is valid, its
// index round-trips, its own line scans back to it, and the list it fills
// holds each combination once.

#include <string>

#include "core/combination_list.h"
#include "core/text_scan.h"
#include "fuzz_support.h"

using namespace tambor;
using tambor::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const GameMode mode = input.game();
    const GameRules rules = rulesFor(mode);
    const std::string_view text = input.rest();

    std::size_t found = 0;
    scanCombinations(mode, text, [&](const Combination& c) {
        ++found;
        require(isValidCombination(mode, c), "scan found an invalid combination");
        const CombinationIndex index = RankCombination(mode, c);
        require(index >= 0 && index < rules.combinationCount, "rank out of range");
        require(UnrankCombination(mode, index) == c, "unrank(rank(c)) != c");
        const std::string line = FormatCombinationLine(c);
        require(line.size() == static_cast<std::size_t>(rules.pickCount) * 3, "line length");
        int again = 0;
        scanCombinations(mode, line, [&](const Combination& d) {
            ++again;
            require(d == c, "a combination's line scans to another one");
        });
        require(again == 1, "a combination's line does not scan to exactly one");
    });

    // One list for all inputs: its bit sets are large to make anew each time.
    static CombinationList list;
    list.reset(mode);
    const std::size_t listed = list.appendText(text);
    require(listed == list.size(), "appendText count");
    require(list.size() + list.duplicates().size() <= found, "more lines than combinations found");
    for (std::size_t i = 0; i < list.size(); ++i)
        require(list.listedSet().contains(list.items()[i]), "listed line without its bit");
    for (const CombinationIndex index : list.duplicates())
        require(list.listedSet().contains(index), "a repeat of a combination that is not listed");
    return 0;
}
