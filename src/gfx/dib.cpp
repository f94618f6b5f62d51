// CDib allocation and drawing primitives. User-interface thread.
#include "gfx/dib.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "port/messages.h"

namespace {

// Largest pixel count the bitmap's 32-bit image size field can describe.
constexpr int64_t kMaxPixels = 0x7FFFFFFF / 2;

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Clips the span [start, start + length) to [0, limit); false when nothing is left.
bool ClipSpan(int64_t start, int64_t length, int limit, int* from, int* to) {
    const int64_t a = std::max<int64_t>(start, 0);
    const int64_t b = std::min<int64_t>(start + length, limit);
    if (a >= b)
        return false;
    *from = static_cast<int>(a);
    *to = static_cast<int>(b);
    return true;
}

// The walk shared by Line and LineClipped: n float steps from (x1, y1) downward. Differences past
// float precision, and coordinates that are not finite, cannot be walked and draw nothing.
template <class Plot> void WalkLine(float x1, float y1, float x2, float y2, Plot plot) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const float spanX = std::fabs(x2 - x1);
    const float spanY = std::fabs(y2 - y1);
    constexpr float kMaxSteps = 16777216.0f; // 2^24
    if (!(spanX < kMaxSteps) || !(spanY < kMaxSteps))
        return;
    const int n = std::max(static_cast<int>(spanX), static_cast<int>(spanY));
    if (n == 0)
        return;
    const float dx = (x2 - x1) / n;
    const float dy = (y2 - y1) / n;
    float x = x1;
    float y = y1;
    for (int i = 0; i < n; ++i) {
        plot(x, y);
        x += dx;
        y += dy;
    }
}

// Clips columns x1..x2-1 and rows y1..y2-1 to the bitmap; false when nothing is left.
bool ClipRect(int* x1, int* y1, int* x2, int* y2, int w, int h) {
    *x1 = std::max(*x1, 0);
    *y1 = std::max(*y1, 0);
    *x2 = std::min(*x2, w);
    *y2 = std::min(*y2, h);
    return *x1 < *x2 && *y1 < *y2;
}

// Scales each channel of n pixels by m / 65536 in place: the high half of field * m keeps every
// channel in its own bits, and that 16-bit multiply-high runs on whole vectors of pixels. Kept out
// of line so that the compiler sees m as the 16-bit value the multiply-high needs.
#if defined(_MSC_VER)
#define TONALYX_NOINLINE __declspec(noinline)
#else
#define TONALYX_NOINLINE __attribute__((noinline))
#endif
TONALYX_NOINLINE void FadeRow(uint16_t* row, int n, uint16_t m) {
    for (int x = 0; x < n; ++x) {
        const uint16_t p = row[x];
        const uint16_t r = static_cast<uint16_t>((uint32_t(uint16_t(p & 0x7C00)) * m) >> 16);
        const uint16_t g = static_cast<uint16_t>((uint32_t(uint16_t(p & 0x03E0)) * m) >> 16);
        const uint16_t b = static_cast<uint16_t>((uint32_t(uint16_t(p & 0x001F)) * m) >> 16);
        row[x] = static_cast<uint16_t>((r & 0x7C00) | (g & 0x03E0) | b);
    }
}

} // namespace

CDib::CDib()
    : m_Bits(nullptr), m_Info(), m_Bitmap(nullptr), m_Width(0), m_Height(0), m_PenColor(0),
      m_ColorKey(0), m_Alpha(255) {}

CDib::~CDib() {
    Destroy();
}

int CDib::Create(int width, int height) {
    if (width == 0 || height == 0)
        return 0;
    Destroy();
    // A negative or oversized request is refused like any allocation the platform cannot make.
    const int64_t evenWidth = (static_cast<int64_t>(width) + 1) & ~int64_t(1);
    if (width > 0 && height > 0 && evenWidth * height <= kMaxPixels) {
        m_Info.size = 40;
        m_Info.width = static_cast<int32_t>(evenWidth);
        m_Info.height = -height;
        m_Info.planes = 1;
        m_Info.bitCount = 16;
        m_Info.compression = 0;
        m_Info.sizeImage = static_cast<uint32_t>(evenWidth * height * 2);
        m_Bitmap = port::CreateSurfaceBitmap(m_Info, &m_Bits);
    }
    if (m_Bitmap == nullptr || m_Bits == nullptr) {
        port::ShowMessage("CDib::Create Failed", "m_Bitmap = NULL", MB_OK);
        Destroy();
        return 0;
    }
    m_Width = static_cast<int32_t>(evenWidth);
    m_Height = height;
    return 1;
}

int CDib::Destroy() {
    port::DeleteSurfaceBitmap(m_Bitmap);
    m_Bitmap = nullptr;
    m_Bits = nullptr;
    m_Width = 0;
    m_Height = 0;
    m_Info = port::SurfaceInfo();
    return 1;
}

int CDib::CopyFrom(const CDib& source) {
    if (m_Width != source.m_Width || m_Height != source.m_Height) {
        if (!Create(source.m_Width, source.m_Height))
            return 0;
    }
    if (m_Bits != nullptr && source.m_Bits != nullptr)
        std::memcpy(m_Bits, source.m_Bits, static_cast<std::size_t>(m_Width) * m_Height * 2);
    return 1;
}

void CDib::Clear(uint16_t color) {
    if (m_Bits != nullptr)
        std::fill_n(m_Bits, static_cast<std::size_t>(m_Width) * m_Height, color);
}

void CDib::FillRect(int x1, int y1, int x2, int y2, uint16_t color) {
    x1 = Clamp(x1, 0, m_Width - 1);
    x2 = Clamp(x2, 0, m_Width - 1);
    y1 = Clamp(y1, 0, m_Height - 1);
    y2 = Clamp(y2, 0, m_Height - 1);
    if (x2 <= x1 || y2 <= y1)
        return;
    for (int y = y1; y < y2; ++y)
        std::fill(m_Bits + y * m_Width + x1, m_Bits + y * m_Width + x2, color);
}

void CDib::BlendRect(int x1, int y1, int x2, int y2, uint16_t color, int alpha) {
    if (!ClipRect(&x1, &y1, &x2, &y2, m_Width, m_Height))
        return;
    for (int y = y1; y < y2; ++y) {
        uint16_t* row = m_Bits + y * m_Width;
        for (int x = x1; x < x2; ++x)
            row[x] = BlendColor(row[x], color, alpha);
    }
}

void CDib::FadeRect(int x1, int y1, int x2, int y2, float factor) {
    FillRect(0, 0, m_Width, y1, 0);
    FillRect(0, y1, x1, m_Height, 0);
    FillRect(x2, y1, m_Width, m_Height, 0);
    FillRect(x1, y2, x2, m_Height, 0);
    if (!ClipRect(&x1, &y1, &x2, &y2, m_Width, m_Height))
        return;
    // trunc(channel * factor) for the 32 channel values.
    int scaled[32];
    for (int c = 0; c < 32; ++c)
        scaled[c] = Clamp(static_cast<int>(static_cast<float>(c) * factor), 0, 31);
    // The same table as one multiplication, (c * m) >> 16, when some m reproduces it exactly
    // (it does for ordinary fade factors): that form runs on whole rows of pixels at once.
    uint32_t m = 0;
    bool exact = false;
    if (factor >= 0.0f && factor < 1.0f) {
        const uint32_t guess = static_cast<uint32_t>(std::ceil(factor * 65536.0f));
        for (uint32_t candidate = guess > 0 ? guess - 1 : 0;
             !exact && candidate <= std::min<uint32_t>(guess + 1, 0xFFFF); ++candidate) {
            exact = true;
            for (uint32_t c = 0; c < 32 && exact; ++c)
                exact = static_cast<int>((c * candidate) >> 16) == scaled[c];
            m = candidate;
        }
    }
    for (int y = y1; y < y2; ++y) {
        uint16_t* row = m_Bits + y * m_Width;
        if (exact) {
            FadeRow(row + x1, x2 - x1, static_cast<uint16_t>(m));
        } else {
            for (int x = x1; x < x2; ++x) {
                const uint16_t p = row[x];
                row[x] = static_cast<uint16_t>(scaled[(p >> 10) & 31] << 10 |
                                               scaled[(p >> 5) & 31] << 5 | scaled[p & 31]);
            }
        }
    }
}

void CDib::BlendPixel(int x, int y, uint16_t color, int alpha) {
    if (x < 0 || y < 0 || x >= m_Width || y >= m_Height)
        return;
    uint16_t& p = m_Bits[y * m_Width + x];
    p = alpha == 255 ? color : BlendColor(p, color, alpha);
}

void CDib::HLine(int x, int y, int length, uint16_t color) {
    int from, to;
    if (y < 0 || y >= m_Height || !ClipSpan(x, length, m_Width, &from, &to))
        return;
    std::fill(m_Bits + y * m_Width + from, m_Bits + y * m_Width + to, color);
}

void CDib::VLine(int x, int y, int length, uint16_t color) {
    int from, to;
    if (x < 0 || x >= m_Width || !ClipSpan(y, length, m_Height, &from, &to))
        return;
    for (int row = from; row < to; ++row)
        m_Bits[row * m_Width + x] = color;
}

void CDib::VLineClipped(int x, int y, int length, uint16_t color, int left, int top, int right,
                        int bottom) {
    if (x < left || x >= right || x < 0 || x >= m_Width)
        return;
    const int y0 = std::max(y, top);
    int64_t run = length;
    if (y0 + run > bottom)
        run = static_cast<int64_t>(bottom) - y0;
    int from, to;
    if (!ClipSpan(y0, run, m_Height, &from, &to))
        return;
    for (int row = from; row < to; ++row)
        m_Bits[row * m_Width + x] = color;
}

void CDib::FrameRect(int x1, int y1, int x2, int y2, uint16_t color) {
    HLine(x1, y1, x2 - x1 + 1, color);
    HLine(x1, y2, x2 - x1 + 1, color);
    VLine(x1, y1, y2 - y1, color);
    VLine(x2, y1, y2 - y1, color);
}

void CDib::Line(float x1, float y1, float x2, float y2, uint16_t color) {
    const float w = static_cast<float>(m_Width);
    const float h = static_cast<float>(m_Height);
    // trunc(v) lies in 0..W-1 exactly when -1 < v < W.
    WalkLine(x1, y1, x2, y2, [&](float x, float y) {
        if (x > -1.0f && x < w && y > -1.0f && y < h)
            PutPixel(static_cast<int>(x), static_cast<int>(y), color);
    });
}

void CDib::LineClipped(float x1, float y1, float x2, float y2, uint16_t color, int left, int top,
                       int right, int bottom) {
    // The clip rectangle is kept inside the bitmap, so a stray rectangle cannot write outside.
    const float l = static_cast<float>(std::max(left, 0));
    const float t = static_cast<float>(std::max(top, 0));
    const float r = static_cast<float>(std::min(right, m_Width));
    const float b = static_cast<float>(std::min(bottom, m_Height));
    WalkLine(x1, y1, x2, y2, [&](float x, float y) {
        if (x >= l && x < r && y >= t && y < b)
            PutPixel(static_cast<int>(x), static_cast<int>(y), color);
    });
}

namespace {

// One row loop per mode; the mode is chosen once per blit.
template <class Op>
void BlitRows(uint16_t* dst, int dstStride, const uint16_t* src, int srcStride, int cw, int ch,
              Op op) {
    for (int row = 0; row < ch; ++row) {
        uint16_t* d = dst + static_cast<std::ptrdiff_t>(row) * dstStride;
        const uint16_t* s = src + static_cast<std::ptrdiff_t>(row) * srcStride;
        for (int i = 0; i < cw; ++i)
            d[i] = op(d[i], s[i]);
    }
}

} // namespace

int CDib::Blit(int x, int y, int w, int h, const CDib& source, int srcX, int srcY, uint8_t mode) {
    if (m_Bits == nullptr || source.m_Bits == nullptr)
        return 0;
    int64_t dx = x, dy = y, sx = srcX, sy = srcY;
    int64_t cw = dx + w < m_Width ? w : m_Width - dx;
    int64_t ch = dy + h < m_Height ? h : m_Height - dy;
    if (dx < 0) {
        cw += dx;
        sx -= dx;
        dx = 0;
    }
    if (dy < 0) {
        ch += dy;
        sy -= dy;
        dy = 0;
    }
    // Source rectangles reaching outside the source are cut to it, so no read leaves the bitmap.
    if (sx < 0) {
        cw += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        ch += sy;
        dy -= sy;
        sy = 0;
    }
    cw = std::min<int64_t>(cw, source.m_Width - sx);
    ch = std::min<int64_t>(ch, source.m_Height - sy);
    if (cw < 1 || ch < 1)
        return 0;

    uint16_t* dst = m_Bits + dy * m_Width + dx;
    const uint16_t* src = source.m_Bits + sy * source.m_Width + sx;
    const int n = static_cast<int>(cw), rows = static_cast<int>(ch);
    const uint16_t key = source.m_ColorKey;
    const int alpha = source.m_Alpha;
    const uint16_t pen = m_PenColor;
    switch (mode) {
    case BLIT_COPY:
        for (int row = 0; row < rows; ++row)
            std::memmove(dst + static_cast<std::ptrdiff_t>(row) * m_Width,
                         src + static_cast<std::ptrdiff_t>(row) * source.m_Width, n * 2);
        break;
    case BLIT_KEYED:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows,
                 [key](uint16_t d, uint16_t s) { return s != key ? s : d; });
        break;
    case BLIT_ALPHA:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows,
                 [alpha](uint16_t d, uint16_t s) { return BlendColor(d, s, alpha); });
        break;
    case BLIT_KEYED_ALPHA:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows, [key, alpha](uint16_t d, uint16_t s) {
            return s != key ? BlendColor(d, s, alpha) : d;
        });
        break;
    case BLIT_SCREEN:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows,
                 [alpha](uint16_t d, uint16_t s) { return ScreenColor(d, s, alpha); });
        break;
    case BLIT_KEYED_SCREEN:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows, [key, alpha](uint16_t d, uint16_t s) {
            return s != key ? ScreenColor(d, s, alpha) : d;
        });
        break;
    case BLIT_PEN:
        BlitRows(dst, m_Width, src, source.m_Width, n, rows,
                 [key, pen](uint16_t d, uint16_t s) { return s != key ? pen : d; });
        break;
    default:
        break;
    }
    return 1;
}
