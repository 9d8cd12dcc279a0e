#pragma once
// Binomial coefficients: the exact integer one the tables are built from,
// and the floating one the counts shown to the user are computed with.

#include <cstdint>

namespace tambor {

// C(n, k) exactly; 0 when k < 0, n < 0 or k > n. Exact for every value
// the two games need (at most C(43, 21)).
constexpr std::int64_t exactBinomial(int n, int k) {
    if (k < 0 || n < 0 || k > n) return 0;
    std::int64_t r = 1;
    for (int i = 1; i <= k; ++i) r = r * (n - i + 1) / i;
    return r;
}

// C(n, k) as a running product over i = 1..k of (n - i + 1) / i in
// extended precision: 1 for k = 0, 0 for k > n (a factor becomes 0).
long double Binomial(int n, int k);

}  // namespace tambor
