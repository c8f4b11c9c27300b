#include "platform/MulDiv.h"

#include <cstdint>
#include <limits>

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    std::int64_t p = std::int64_t(a) * b;
    std::int64_t q = p / c;
    std::int64_t r = p % c;
    // Round half away from zero: compare twice the remainder with the divisor.
    std::int64_t r2 = r < 0 ? -r : r;
    std::int64_t c2 = c < 0 ? -std::int64_t(c) : c;
    if (2 * r2 >= c2) q += (p < 0) != (c < 0) ? -1 : 1;
    if (q < std::numeric_limits<int>::min() || q > std::numeric_limits<int>::max()) return -1;
    return int(q);
}
