// The toolkit's lookup tables against their definitions: every distance entry is the largest
// integer whose square does not exceed x * x + y * y, beyond the table too, and the sines and
// cosines match the double-precision functions.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/lookup_tables.h"

namespace {

TEST(LookupTables, EveryDistanceIsTheTruncatedRoot) {
    const LookupTables& t = Tables();
    for (int64_t y = 0; y < kDistanceTableSize; ++y) {
        for (int64_t x = 0; x < kDistanceTableSize; ++x) {
            const int64_t d = t.distance[y][x];
            const int64_t s = x * x + y * y;
            ASSERT_LE(d * d, s) << x << "," << y;
            ASSERT_GT((d + 1) * (d + 1), s) << x << "," << y;
        }
    }
}

struct DistanceCase {
    int dx, dy, expected;
};

TEST(LookupTables, DistanceOfAnyOffset) {
    const DistanceCase cases[] = {
        {0, 0, 0},          {3, 4, 5},          {-3, 4, 5},           {3, -4, 5},
        {1, 1, 1},          {319, 319, 451},    {320, 0, 320},        {0, -320, 320},
        {1000, 1000, 1414}, {-46341, 0, 46341}, {46341, 46341, 65536}};
    for (const DistanceCase& c : cases)
        EXPECT_EQ(TableDistance(c.dx, c.dy), c.expected) << c.dx << "," << c.dy;
    EXPECT_EQ(TableDistance(2000000000, 0), 1 << 30); // offsets are capped at 2^30
}

TEST(LookupTables, SineAndCosinePerDegree) {
    const LookupTables& t = Tables();
    const double radians = std::acos(-1.0) / 180.0;
    for (int a = 0; a < 360; ++a) {
        ASSERT_NEAR(t.sine[a], std::sin(a * radians), 1e-7) << a;
        ASSERT_NEAR(t.cosine[a], std::cos(a * radians), 1e-7) << a;
    }
    EXPECT_EQ(t.sine[90], 1.0f);
    EXPECT_EQ(t.cosine[180], -1.0f);
}

} // namespace
