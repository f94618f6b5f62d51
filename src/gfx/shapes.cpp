// The vector renderer behind the capsule buttons, and the capsule itself. User-interface thread.
#include "gfx/shapes.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "gfx/dib.h"
#include "gfx/lookup_tables.h"

namespace {

int ClampByte(double v) {
    if (!(v > 0.0))
        return 0;
    return v >= 255.0 ? 255 : static_cast<int>(v);
}

int FloorToInt(double v) {
    const double lo = std::numeric_limits<int>::min() / 2;
    const double hi = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(std::floor(std::clamp(v, lo, hi)));
}

int CeilToInt(double v) {
    return -FloorToInt(-v);
}

} // namespace

int GradientPosition(const Brush& brush, int x, int y) {
    if (brush.kind == GradientKind::Radial) {
        const int sx = FloorToInt(brush.startX + 0.5);
        const int sy = FloorToInt(brush.startY + 0.5);
        const int reach =
            TableDistance(FloorToInt(brush.endX + 0.5) - sx, FloorToInt(brush.endY + 0.5) - sy);
        if (reach == 0)
            return 0;
        return ClampByte(255.0 * TableDistance(x - sx, y - sy) / reach);
    }
    const double vx = double{brush.endX} - brush.startX;
    const double vy = double{brush.endY} - brush.startY;
    const double lengthSquared = vx * vx + vy * vy;
    if (lengthSquared == 0.0)
        return 0;
    return ClampByte(255.0 * ((x - brush.startX) * vx + (y - brush.startY) * vy) / lengthSquared);
}

Rgba BrushColor(const Brush& brush, int t) {
    const Rgba& a = brush.colorA;
    const Rgba& b = brush.colorB;
    return {static_cast<uint8_t>(BlendChannel(b.r, a.r, t)),
            static_cast<uint8_t>(BlendChannel(b.g, a.g, t)),
            static_cast<uint8_t>(BlendChannel(b.b, a.b, t)),
            static_cast<uint8_t>(BlendChannel(b.a, a.a, t))};
}

int DiscCoverage(int dx, int dy, int r) {
    const int d = TableDistance(dx, dy);
    if (d < r)
        return 256;
    if (d > r)
        return 0;
    const double exact = std::sqrt(double{1.0} * dx * dx + double{1.0} * dy * dy);
    return 255 - (static_cast<int>(256.0 * exact) & 255);
}

namespace {

struct Box {
    int left, top, right, bottom; // target coordinates, right and bottom excluded
};

Box Intersect(const Box& a, const Box& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const Box& b) {
    return b.right <= b.left || b.bottom <= b.top;
}

// Where a shape's pixels go: the bitmap dib covering the target coordinates area (dib pixel
// (0, 0) is the area's top-left), and the mask layer that scales their opacity, if any.
struct Canvas {
    CDib* dib;
    Box area;
    const CDib* mask;
    Box maskArea;
    int originX, originY; // target position of shape coordinate (0, 0)
    bool isMask;          // dib is a mask layer: its grey level is the opacity painted there
};

// Paints the pixel at shape coordinates (x, y) with colour c, its opacity scaled by weight
// (0..256) and by the mask's grey level there. Into a mask layer only the opacity is painted.
void Plot(const Canvas& canvas, int x, int y, const Rgba& c, int weight) {
    const int tx = x + canvas.originX;
    const int ty = y + canvas.originY;
    const Box& a = canvas.area;
    if (tx < a.left || tx >= a.right || ty < a.top || ty >= a.bottom)
        return;
    int opacity = c.a * weight >> 8;
    if (canvas.mask != nullptr) {
        const Box& m = canvas.maskArea;
        const bool inMask = tx >= m.left && tx < m.right && ty >= m.top && ty < m.bottom;
        const int level = inMask ? canvas.mask->GetPixel(tx - m.left, ty - m.top) >> 7 : 0;
        opacity = opacity * level / 255;
    }
    if (opacity <= 0)
        return;
    if (canvas.isMask) {
        // Overlapping mask shapes keep the stronger opacity rather than adding up, so where
        // the gloss discs meet the band no brighter patch appears.
        const int level =
            std::max<int>(canvas.dib->GetPixel(tx - a.left, ty - a.top) >> 7, opacity);
        canvas.dib->PutPixel(tx - a.left, ty - a.top, MakeColor(level, level, level));
        return;
    }
    canvas.dib->BlendPixel(tx - a.left, ty - a.top, MakeColor(c.r, c.g, c.b), opacity);
}

void PlotBrush(const Canvas& canvas, const Brush& brush, int x, int y, int weight) {
    Plot(canvas, x, y, BrushColor(brush, GradientPosition(brush, x, y)), weight);
}

// Shape-coordinate rows (or columns) lo..hi-1 narrowed to those that fall inside [first, end)
// of the target.
void ClipRange(int64_t& lo, int64_t& hi, int origin, int first, int end) {
    lo = std::max<int64_t>(lo, int64_t{first} - origin);
    hi = std::min<int64_t>(hi, int64_t{end} - origin);
}

void DrawDisc(const Shape& s, const Canvas& canvas) {
    const int cx = static_cast<int>(s.xy[0]);
    const int cy = static_cast<int>(s.xy[1]);
    const int r = s.radius;
    int64_t top = int64_t{cy} - r, bottom = int64_t{cy} + r + 1;
    int64_t left = int64_t{cx} - r, right = int64_t{cx} + r + 1;
    ClipRange(top, bottom, canvas.originY, canvas.area.top, canvas.area.bottom);
    ClipRange(left, right, canvas.originX, canvas.area.left, canvas.area.right);
    for (int64_t y = top; y < bottom; ++y) {
        for (int64_t x = left; x < right; ++x) {
            const int weight = DiscCoverage(static_cast<int>(x - cx), static_cast<int>(y - cy), r);
            if (weight > 0)
                PlotBrush(canvas, s.brush, static_cast<int>(x), static_cast<int>(y), weight);
        }
    }
}

// Fills the pixels whose centres (integer coordinates) lie inside the triangle, with the
// half-open rule (left and top edges in, right and bottom edges out), so the triangles of a
// fan share their common edges without painting a pixel twice.
void DrawTriangle(const Shape& s, const Canvas& canvas, int ia, int ib, int ic) {
    const int corner[3] = {ia, ib, ic};
    double px[3], py[3];
    for (int k = 0; k < 3; ++k) {
        px[k] = s.xy[2 * corner[k]];
        py[k] = s.xy[2 * corner[k] + 1];
    }
    int64_t top = CeilToInt(std::min({py[0], py[1], py[2]}));
    int64_t bottom = CeilToInt(std::max({py[0], py[1], py[2]}));
    ClipRange(top, bottom, canvas.originY, canvas.area.top, canvas.area.bottom);
    for (int64_t y = top; y < bottom; ++y) {
        double xl = std::numeric_limits<double>::infinity();
        double xr = -xl;
        for (int k = 0; k < 3; ++k) {
            // Each edge is evaluated from its upper end point, whichever triangle it belongs to.
            int p = k, q = (k + 1) % 3;
            if (py[q] < py[p] || (py[q] == py[p] && px[q] < px[p]))
                std::swap(p, q);
            if (!(py[p] <= y && y < py[q]))
                continue;
            const double x = px[p] + (y - py[p]) * (px[q] - px[p]) / (py[q] - py[p]);
            xl = std::min(xl, x);
            xr = std::max(xr, x);
        }
        if (!(xl < xr))
            continue;
        int64_t left = CeilToInt(xl), right = CeilToInt(xr);
        ClipRange(left, right, canvas.originX, canvas.area.left, canvas.area.right);
        for (int64_t x = left; x < right; ++x)
            PlotBrush(canvas, s.brush, static_cast<int>(x), static_cast<int>(y), 256);
    }
}

// A one-pixel line with both neighbours of the exact path shared by distance.
void DrawLine(const Shape& s, const Canvas& canvas) {
    double x1 = s.xy[0], y1 = s.xy[1], x2 = s.xy[2], y2 = s.xy[3];
    const bool steep = std::fabs(y2 - y1) > std::fabs(x2 - x1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const double slope = x2 > x1 ? (y2 - y1) / (x2 - x1) : 0.0;
    int64_t first = FloorToInt(x1 + 0.5), end = int64_t{FloorToInt(x2 + 0.5)} + 1;
    if (steep)
        ClipRange(first, end, canvas.originY, canvas.area.top, canvas.area.bottom);
    else
        ClipRange(first, end, canvas.originX, canvas.area.left, canvas.area.right);
    for (int64_t i = first; i < end; ++i) {
        const double along = y1 + slope * (static_cast<double>(i) - x1);
        const int lower = FloorToInt(along);
        const int upperWeight = static_cast<int>(256.0 * (along - lower));
        const int major = static_cast<int>(i);
        for (int side = 0; side < 2; ++side) {
            const int minor = lower + side;
            const int weight = side == 0 ? 256 - upperWeight : upperWeight;
            if (steep)
                PlotBrush(canvas, s.brush, minor, major, weight);
            else
                PlotBrush(canvas, s.brush, major, minor, weight);
        }
    }
}

void DrawShape(const Shape& s, const Canvas& canvas) {
    switch (s.kind) {
    case Shape::Kind::Disc:
        DrawDisc(s, canvas);
        break;
    case Shape::Kind::Polygon:
        for (int k = 1; k + 1 < s.vertexCount; ++k)
            DrawTriangle(s, canvas, 0, k, k + 1);
        break;
    case Shape::Kind::Line:
        DrawLine(s, canvas);
        break;
    }
}

// The target pixels a shape can touch.
Box Bounds(const Shape& s, int originX, int originY) {
    if (s.kind == Shape::Kind::Disc) {
        const int cx = static_cast<int>(s.xy[0]) + originX;
        const int cy = static_cast<int>(s.xy[1]) + originY;
        return {cx - s.radius, cy - s.radius, cx + s.radius + 1, cy + s.radius + 1};
    }
    double minX = s.xy[0], maxX = s.xy[0], minY = s.xy[1], maxY = s.xy[1];
    for (int k = 1; k < s.vertexCount; ++k) {
        minX = std::min<double>(minX, s.xy[2 * k]);
        maxX = std::max<double>(maxX, s.xy[2 * k]);
        minY = std::min<double>(minY, s.xy[2 * k + 1]);
        maxY = std::max<double>(maxY, s.xy[2 * k + 1]);
    }
    const int margin = s.kind == Shape::Kind::Line ? 1 : 0;
    return {FloorToInt(minX) - margin + originX, FloorToInt(minY) - margin + originY,
            CeilToInt(maxX) + margin + 1 + originX, CeilToInt(maxY) + margin + 1 + originY};
}

bool IsFinite(const float* v, int n) {
    for (int k = 0; k < n; ++k)
        if (!std::isfinite(v[k]))
            return false;
    return true;
}

} // namespace

bool Scene::Add(const Shape& shape) {
    if (count_ >= kMaxShapes || !IsFinite(shape.xy, 2 * shape.vertexCount))
        return false;
    const Brush& b = shape.brush;
    const float points[4] = {b.startX, b.startY, b.endX, b.endY};
    if (!IsFinite(points, 4))
        return false;
    shapes_[count_++] = shape;
    return true;
}

bool Scene::AddDisc(int cx, int cy, int r, const Brush& brush, bool toMask) {
    if (r < 0)
        return false;
    Shape s{Shape::Kind::Disc, toMask, 1, r, {}, brush};
    s.xy[0] = static_cast<float>(cx);
    s.xy[1] = static_cast<float>(cy);
    return Add(s);
}

bool Scene::AddPolygon(const float* xy, int vertexCount, const Brush& brush, bool toMask) {
    if (xy == nullptr || vertexCount < 3 || vertexCount > kMaxShapeVertices)
        return false;
    Shape s{Shape::Kind::Polygon, toMask, vertexCount, 0, {}, brush};
    std::copy(xy, xy + 2 * vertexCount, s.xy);
    return Add(s);
}

bool Scene::AddLine(float x1, float y1, float x2, float y2, const Brush& brush, bool toMask) {
    Shape s{Shape::Kind::Line, toMask, 2, 0, {x1, y1, x2, y2}, brush};
    return Add(s);
}

void Scene::Draw(CDib& target) const {
    if (target.m_Bits == nullptr)
        return;
    const Box whole{0, 0, target.m_Width, target.m_Height};
    const Canvas direct{&target, whole, nullptr, {}, originX_, originY_, false};
    int pending[kMaxShapes];
    int pendingCount = 0;
    for (int i = 0; i < count_; ++i) {
        const Shape& s = shapes_[i];
        if (s.toMask) {
            pending[pendingCount++] = i;
            continue;
        }
        if (pendingCount == 0) {
            DrawShape(s, direct);
            continue;
        }
        // The layer covers only the pixels the mask shapes can reach; the rest of the mask is
        // black.
        Box reach = Bounds(shapes_[pending[0]], originX_, originY_);
        for (int k = 1; k < pendingCount; ++k) {
            const Box b = Bounds(shapes_[pending[k]], originX_, originY_);
            reach = {std::min(reach.left, b.left), std::min(reach.top, b.top),
                     std::max(reach.right, b.right), std::max(reach.bottom, b.bottom)};
        }
        reach = Intersect(reach, whole);
        CDib layer;
        if (!IsEmpty(reach) && layer.Create(reach.right - reach.left, reach.bottom - reach.top)) {
            layer.Clear(0);
            const Canvas into{&layer, reach, nullptr, {}, originX_, originY_, true};
            for (int k = 0; k < pendingCount; ++k)
                DrawShape(shapes_[pending[k]], into);
            DrawShape(s, {&target, whole, &layer, reach, originX_, originY_, false});
        }
        pendingCount = 0;
    }
}

void DrawPill(CDib& screen, int cx, int cy, int r, int len) {
    if (r < 0 || len < 0)
        return;
    const float fr = static_cast<float>(r);
    const float flen = static_cast<float>(len);
    const Rgba black{0, 0, 0, 255};
    const Rgba grey{96, 96, 96, 255};
    const Rgba white{255, 255, 255, 255};
    const Rgba clearWhite{255, 255, 255, 0};
    Scene scene(cx - r, cy - r);

    // Body: lit from below, grey at the bottom point of each end disc and along the bottom edge,
    // black at the top.
    scene.AddDisc(r, r, r, {black, grey, GradientKind::Radial, fr, 2 * fr, fr, 0});
    if (len > 0) {
        scene.AddDisc(r + len, r, r,
                      {black, grey, GradientKind::Radial, fr + flen, 2 * fr, fr + flen, 0});
        // The straight parts span the columns r..r + len (the end discs' centre columns both
        // included), so the capsule is mirror-symmetric.
        const float body[8] = {fr, 0, fr + flen + 1, 0, fr + flen + 1, 2 * fr + 1, fr, 2 * fr + 1};
        scene.AddPolygon(body, 4, {black, grey, GradientKind::Linear, fr, 2 * fr, fr, 0});
    }

    // Gloss: white fading out from 2 pixels below the top edge.
    const int r2 = r / 2;
    const float fr2 = static_cast<float>(r2);
    const Brush discGloss{clearWhite, white, GradientKind::Linear, 0, 2, 0, fr};
    if (len == 0) {
        scene.AddDisc(r, r2 + 2, r2, discGloss);
    } else {
        const Brush bandGloss{clearWhite, white, GradientKind::Linear, 0, 2, 0, 2 * fr2};
        scene.AddDisc(r, r2 + 2, r2, discGloss, true);
        scene.AddDisc(r + len, r2 + 2, r2, discGloss, true);
        const float band[8] = {fr,          2,  fr + flen + 1, 2, fr + flen + 1,
                               2 * fr2 + 3, fr, 2 * fr2 + 3};
        scene.AddPolygon(band, 4, bandGloss, true);
        const float width = flen + 2 * fr + 1;
        const float cover[8] = {0, 0, width, 0, width, 2 * fr2, 0, 2 * fr2};
        scene.AddPolygon(cover, 4, bandGloss);
    }
    scene.Draw(screen);
}
