#include "core/combination_set.h"

#include <algorithm>

namespace tambor {

void CombinationSet::clear() { std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0}); }

}  // namespace tambor
