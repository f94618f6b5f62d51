// The toolkit's lookup tables: sine and cosine per whole degree and the integer distances that
// discs and radial gradients are measured with. Built once on the user-interface thread at
// start-up; read-only afterwards.
#pragma once

#include <cstdint>

constexpr int kDistanceTableSize = 320;

struct LookupTables {
    // One entry per whole degree, 0..359, for shapes drawn at an angle.
    float sine[360];
    float cosine[360];
    // distance[y][x] = trunc(sqrt(x * x + y * y)) for 0 <= x, y < kDistanceTableSize.
    uint16_t distance[kDistanceTableSize][kDistanceTableSize];
};

// The tables, built on first use; the start-up code calls it once so no drawing pays for it.
const LookupTables& Tables();

// trunc(sqrt(dx * dx + dy * dy)) for any offset: from the table inside it, computed beyond it
// (offsets are taken at most 2^30 in size, so the square cannot overflow).
int TableDistance(int dx, int dy);
