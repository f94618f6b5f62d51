// The vector renderer and the capsule: disc rims against the exact distance, polygon fans against
// an independent point-in-polygon test (no pixel painted twice), malformed shapes, the opacity
// mask, clipping, and the capsule's shape, shading and symmetry.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "gfx/dib.h"
#include "gfx/shapes.h"

namespace {

const Rgba kWhite{255, 255, 255, 255};

Brush Solid(Rgba c) {
    return {c, c, GradientKind::Linear, 0, 0, 0, 0};
}

TEST(Shapes, DiscCoverageInsideRimOutside) {
    for (int r = 0; r <= 40; ++r) {
        for (int dy = -r - 2; dy <= r + 2; ++dy) {
            for (int dx = -r - 2; dx <= r + 2; ++dx) {
                const double exact = std::sqrt(double(dx * dx + dy * dy));
                const int w = DiscCoverage(dx, dy, r);
                if (exact < r)
                    ASSERT_EQ(w, 256) << r << ": " << dx << "," << dy;
                else if (exact >= r + 1)
                    ASSERT_EQ(w, 0) << r << ": " << dx << "," << dy;
                else
                    ASSERT_EQ(w, 255 - (static_cast<int>(256 * exact) & 255))
                        << r << ": " << dx << "," << dy;
            }
        }
    }
    EXPECT_EQ(DiscCoverage(1, 10, 10), 243); // sqrt(101) = 10.0499
}

class ShapeScene : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dib.Create(64, 48));
        dib.Clear(0);
    }
    int Painted() const {
        int n = 0;
        for (int y = 0; y < dib.m_Height; ++y)
            for (int x = 0; x < dib.m_Width; ++x)
                n += dib.GetPixel(x, y) != 0;
        return n;
    }
    CDib dib;
};

TEST_F(ShapeScene, SceneHoldsTwentyFiveShapesAndRefusesMalformedOnes) {
    Scene scene(0, 0);
    const float tri[6] = {0, 0, 4, 0, 0, 4};
    const float nine[18] = {};
    const float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(scene.AddDisc(1, 1, -1, Solid(kWhite)));
    EXPECT_FALSE(scene.AddPolygon(tri, 2, Solid(kWhite)));
    EXPECT_FALSE(scene.AddPolygon(nine, 9, Solid(kWhite)));
    EXPECT_FALSE(scene.AddPolygon(nullptr, 3, Solid(kWhite)));
    EXPECT_FALSE(scene.AddLine(0, 0, nan, 3, Solid(kWhite)));
    EXPECT_FALSE(scene.AddDisc(1, 1, 1, {kWhite, kWhite, GradientKind::Radial, nan, 0, 0, 0}));
    EXPECT_EQ(scene.ShapeCount(), 0);
    for (int i = 0; i < Scene::kMaxShapes; ++i)
        ASSERT_TRUE(scene.AddPolygon(tri, 3, Solid(kWhite))) << i;
    EXPECT_FALSE(scene.AddDisc(5, 5, 2, Solid(kWhite)));
    EXPECT_EQ(scene.ShapeCount(), Scene::kMaxShapes);
}

// Is (x, y) inside the convex polygon, with the fill's rule for points on an edge: left and top
// edges belong to it, right and bottom edges do not.
bool InsideConvex(const std::vector<double>& v, double x, double y) {
    double xl = std::numeric_limits<double>::infinity(), xr = -xl;
    const size_t n = v.size() / 2;
    for (size_t k = 0; k < n; ++k) {
        double ax = v[2 * k], ay = v[2 * k + 1];
        double bx = v[2 * ((k + 1) % n)], by = v[2 * ((k + 1) % n) + 1];
        if (by < ay)
            std::swap(ax, bx), std::swap(ay, by);
        if (ay <= y && y < by) {
            const double ex = ax + (y - ay) * (bx - ax) / (by - ay);
            xl = std::min(xl, ex);
            xr = std::max(xr, ex);
        }
    }
    return xl <= x && x < xr;
}

TEST_F(ShapeScene, PolygonFanPaintsEachInsidePixelOnce) {
    // Convex polygons whose fans have shared diagonals, placed with an origin offset.
    const std::vector<std::vector<double>> polygons = {
        {2, 3, 12, 3, 12, 8, 2, 8},                          // integer rectangle
        {0.5, 0.3, 20.7, 5.2, 7.1, 17.9},                    // triangle
        {10, 0.5, 20.5, 6, 17.2, 19.4, 4.1, 18.8, 0.2, 7.7}, // pentagon
        {8, 0, 16, 4, 16, 12, 8, 16, 0, 12, 0, 4},           // hexagon on integers
    };
    for (const auto& p : polygons) {
        dib.Clear(0);
        std::vector<float> xy(p.begin(), p.end());
        Scene scene(5, 4);
        // Half-opaque white: a pixel painted twice would come out brighter than the others.
        ASSERT_TRUE(scene.AddPolygon(xy.data(), static_cast<int>(p.size() / 2),
                                     Solid({255, 255, 255, 128})));
        scene.Draw(dib);
        const uint16_t once = BlendColor(0, 0x7FFF, 128);
        for (int y = 0; y < dib.m_Height; ++y) {
            for (int x = 0; x < dib.m_Width; ++x) {
                const bool inside = InsideConvex(p, x - 5, y - 4);
                ASSERT_EQ(dib.GetPixel(x, y), inside ? once : 0)
                    << "polygon " << p.size() / 2 << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(ShapeScene, DiscInteriorIsSolidAndItsRimBlended) {
    const int cx = 20, cy = 20, r = 9;
    Scene scene(0, 0);
    scene.AddDisc(cx, cy, r, Solid(kWhite));
    scene.Draw(dib);
    for (int y = 0; y < dib.m_Height; ++y) {
        for (int x = 0; x < dib.m_Width; ++x) {
            const int weight = DiscCoverage(x - cx, y - cy, r);
            const int opacity = 255 * weight >> 8;
            ASSERT_EQ(dib.GetPixel(x, y), BlendColor(0, 0x7FFF, opacity)) << x << "," << y;
        }
    }
}

TEST_F(ShapeScene, MaskLimitsTheNextShapeAndIsThenForgotten) {
    const float all[8] = {0, 0, 64, 0, 64, 48, 0, 48};
    Scene scene(0, 0);
    scene.AddDisc(10, 10, 4, Solid(kWhite), true);
    scene.AddDisc(14, 10, 4, Solid({255, 255, 255, 128}), true); // overlap keeps the stronger
    scene.AddPolygon(all, 4, Solid(kWhite));                     // painted through the mask
    scene.AddDisc(40, 30, 3, Solid(kWhite), true);               // no shape follows: unseen
    scene.Draw(dib);
    EXPECT_EQ(dib.GetPixel(10, 10), 0x7FFF);
    EXPECT_EQ(dib.GetPixel(12, 10), 0x7FFF);
    // Only the half-opaque disc reaches here: its level is 128 in 5 bits, read back as 132.
    EXPECT_EQ(dib.GetPixel(17, 10), BlendColor(0, 0x7FFF, 255 * 132 / 255));
    EXPECT_EQ(dib.GetPixel(30, 10), 0);
    EXPECT_EQ(dib.GetPixel(40, 30), 0);
    EXPECT_EQ(dib.GetPixel(0, 0), 0);
}

TEST_F(ShapeScene, ShapesAcrossAndFarBeyondTheEdgesClip) {
    Scene scene(-30, -20);
    const float huge[8] = {-1e9f, -1e9f, 1e9f, -1e9f, 1e9f, 1e9f, -1e9f, 1e9f};
    scene.AddDisc(30, 20, 6, Solid(kWhite)); // centred on the corner (0, 0)
    scene.AddDisc(100000, 100000, 5, Solid(kWhite));
    scene.AddLine(-1e9f, 3, 1e9f, 40, Solid(kWhite));
    scene.Draw(dib);
    EXPECT_EQ(dib.GetPixel(0, 0), 0x7FFF);
    EXPECT_EQ(dib.GetPixel(5, 0), 0x7FFF);
    EXPECT_EQ(dib.GetPixel(7, 0), 0);

    Scene cover(0, 0);
    cover.AddPolygon(huge, 4, Solid(kWhite));
    cover.AddDisc(32, 24, 2000000, Solid(kWhite));
    dib.Clear(0);
    cover.Draw(dib);
    EXPECT_EQ(Painted(), dib.m_Width * dib.m_Height);

    CDib empty;
    cover.Draw(empty); // no bitmap: nothing happens
}

TEST_F(ShapeScene, PillFillsItsBoxSymmetricallyDarkAboveLightBelowWithGloss) {
    struct PillCase {
        int r, len;
    };
    const uint16_t background = MakeColor(40, 90, 160);
    DrawPill(dib, 20, 20, -1, 10); // negative sizes draw nothing
    DrawPill(dib, 20, 20, 5, -1);
    EXPECT_EQ(Painted(), 0);
    for (const PillCase c : {PillCase{10, 39}, PillCase{9, 41}, PillCase{10, 0}, PillCase{3, 5}}) {
        dib.Clear(background);
        const int cx = 12, cy = 14;
        DrawPill(dib, cx, cy, c.r, c.len);
        const int left = cx - c.r, top = cy - c.r;
        const int right = cx + c.r + c.len, bottom = cy + c.r; // inclusive
        for (int y = 0; y < dib.m_Height; ++y) {
            for (int x = 0; x < dib.m_Width; ++x) {
                const uint16_t p = dib.GetPixel(x, y);
                if (x < left || x > right || y < top || y > bottom) {
                    ASSERT_EQ(p, background) << "outside the box at " << x << "," << y;
                    continue;
                }
                ASSERT_EQ(p, dib.GetPixel(left + right - x, y)) << "mirror of " << x << "," << y;
            }
        }
        // Body shading along a column clear of the gloss: darker towards the top.
        const int mid = (left + right) / 2;
        EXPECT_LT(dib.GetPixel(mid, cy) & 31, dib.GetPixel(mid, bottom) & 31);
        EXPECT_EQ(dib.GetPixel(mid, bottom), MakeColor(96, 96, 96));
        // The gloss starts white two pixels below the top edge.
        if (c.r >= 9 && c.len > 0) {
            EXPECT_EQ(dib.GetPixel(mid, top + 2), 0x7FFF) << c.r << "," << c.len;
            EXPECT_LT(dib.GetPixel(mid, top + 1) & 31, 31);
        }
    }
}

} // namespace
