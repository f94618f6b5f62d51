// The toolkit's lookup tables. Built once on the user-interface thread; read-only afterwards.
#include "gfx/lookup_tables.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

// Largest r with r * r <= n.
int64_t IntegerSqrt(int64_t n) {
    int64_t r = static_cast<int64_t>(std::sqrt(static_cast<double>(n)));
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

std::unique_ptr<LookupTables> BuildTables() {
    auto t = std::make_unique<LookupTables>();
    const double radiansPerDegree = std::acos(-1.0) / 180.0;
    for (int a = 0; a < 360; ++a) {
        t->sine[a] = static_cast<float>(std::sin(a * radiansPerDegree));
        t->cosine[a] = static_cast<float>(std::cos(a * radiansPerDegree));
    }
    for (int y = 0; y < kDistanceTableSize; ++y)
        for (int x = 0; x < kDistanceTableSize; ++x)
            t->distance[y][x] = static_cast<uint16_t>(IntegerSqrt(x * x + y * y));
    return t;
}

} // namespace

const LookupTables& Tables() {
    static const std::unique_ptr<LookupTables> tables = BuildTables();
    return *tables;
}

int TableDistance(int dx, int dy) {
    const int64_t limit = int64_t{1} << 30;
    const int64_t x = std::min<int64_t>(std::llabs(static_cast<int64_t>(dx)), limit);
    const int64_t y = std::min<int64_t>(std::llabs(static_cast<int64_t>(dy)), limit);
    if (x < kDistanceTableSize && y < kDistanceTableSize)
        return Tables().distance[y][x];
    return static_cast<int>(IntegerSqrt(x * x + y * y));
}
