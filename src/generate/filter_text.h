#pragma once
// The conditions as one line of text, as the command line takes them:
// "sum=100-160,odd=2-4,previous=0-2" (any subset, any order; "odd=3" is
// the range 3-3). Blanks around names and numbers are allowed.

#include <stdexcept>
#include <string>
#include <string_view>

#include "generate/combination_filter.h"

namespace tambor {

// A condition text that cannot be used; the message is Japanese and names
// the part that is wrong and what would be right.
class FilterTextError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The conditions named in text switched on with their ranges, the others
// off at their whole span. Throws FilterTextError for an empty text, an
// unknown name, a name given twice, a range that is not "min-max" of whole
// numbers, a minimum above the maximum, or a range outside every value the
// statistic can take in the game (a range reaching beyond them is kept).
FilterSettings parseFilterText(GameMode mode, std::string_view text);

// The switched-on conditions in the same form, in the fixed order; empty
// when none is on.
std::string formatFilterText(const FilterSettings& settings);

}  // namespace tambor
