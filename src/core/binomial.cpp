#include "core/binomial.h"

namespace tambor {

long double Binomial(int n, int k) {
    long double result = 1.0L;
    for (int i = 1; i <= k; ++i) result = result * (n - i + 1) / i;
    return result;
}

}  // namespace tambor
