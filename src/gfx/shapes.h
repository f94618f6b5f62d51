// The small vector renderer the capsule buttons are drawn with: discs with anti-aliased rims,
// polygons filled as fans of triangles, and anti-aliased lines, each painted with a two-colour
// gradient brush, directly or through an opacity mask layer. User-interface thread only.
#pragma once

#include <cstdint>

class CDib;

// 8-bit colour with opacity (a = 255 is opaque).
struct Rgba {
    uint8_t r, g, b, a;
};

enum class GradientKind : uint8_t {
    Linear = 0, // position along the line from start to end
    Radial = 2, // distance from start, reaching the end colour at the distance of end
};

// The colour of a pixel runs from colorB at gradient position 0 (the start point) to colorA at
// position 255 (the end point), clamped beyond both; points are in shape coordinates.
struct Brush {
    Rgba colorA;
    Rgba colorB;
    GradientKind kind;
    float startX, startY, endX, endY;
};

// Gradient position 0..255 of the pixel (x, y) in shape coordinates. A brush whose end lies on
// its start gives 0 everywhere.
int GradientPosition(const Brush& brush, int x, int y);

// The brush's colour and opacity at gradient position t, each component taken from colorB to
// colorA with the rounded division by 255 of the colour blend.
Rgba BrushColor(const Brush& brush, int t);

// Weight (0..256, 256 = opaque) of the pixel at offset (dx, dy) from the centre of a disc of
// radius r: 256 inside, a rim pixel (integer distance r) 255 - (trunc(256 * exact distance) & 255),
// 0 outside.
int DiscCoverage(int dx, int dy, int r);

constexpr int kMaxShapeVertices = 8;

// One shape of a scene, in shape coordinates.
struct Shape {
    enum class Kind : uint8_t { Disc, Polygon, Line };
    Kind kind;
    bool toMask;
    int vertexCount; // polygon: its vertices; line: its 2 end points; disc: 1, the centre
    int radius;      // disc only
    float xy[2 * kMaxShapeVertices];
    Brush brush;
};

// Up to kMaxShapes shapes, drawn in the order added. A shape added with toMask is drawn into a
// mask layer instead of the target: a black layer that takes the shape's opacity as grey level
// (where mask shapes overlap, the higher one). The next shape added without toMask is painted
// with its opacity scaled by that layer's grey level, and the layer is started afresh.
class Scene {
public:
    static constexpr int kMaxShapes = 25;

    // Shape coordinate (0, 0) lies at (originX, originY) of the target.
    Scene(int originX, int originY) : originX_(originX), originY_(originY) {}

    // Each returns false, adding nothing, when the scene is full or the shape is malformed
    // (negative radius, fewer than 3 or more than kMaxShapeVertices vertices).
    bool AddDisc(int cx, int cy, int r, const Brush& brush, bool toMask = false);
    // xy holds vertexCount (x, y) pairs; the polygon is filled as the fan of triangles from its
    // first vertex, span by span, without anti-aliasing.
    bool AddPolygon(const float* xy, int vertexCount, const Brush& brush, bool toMask = false);
    bool AddLine(float x1, float y1, float x2, float y2, const Brush& brush, bool toMask = false);

    int ShapeCount() const { return count_; }

    void Draw(CDib& target) const;

private:
    bool Add(const Shape& shape);

    Shape shapes_[kMaxShapes];
    int count_ = 0;
    int originX_;
    int originY_;
};

// A horizontal glossy capsule with anti-aliased edges over the existing pixels: its box runs from
// (cx - r, cy - r) to (cx + r + len, cy + r). The body darkens from grey at the bottom to black
// at the top; a white gloss fades out downward from 2 pixels below the top. Nothing is drawn for
// a negative r or len.
void DrawPill(CDib& screen, int cx, int cy, int r, int len);
