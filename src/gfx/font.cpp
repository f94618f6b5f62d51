// Bitmap fonts from metrics resources and marker rows, and platform-font text.
// User-interface thread.
#include "gfx/font.h"

#include <algorithm>
#include <cstring>

#include "gfx/glyph_font.h"

namespace {

// Glyph rows are copied from row 2 of a marked strip on; rows 0 and 1 hold the markers.
constexpr int kMarkedFirstRow = 2;
// Each marker cell ends in three key-colour columns that are not part of the glyph.
constexpr int kCellGap = 3;

} // namespace

const uint8_t kMarkerOrder[kMarkerOrderLength] = {
    // printable ASCII from space to '~'
    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
    0x60, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E,
    // '_' once more, then accented letters, currency and punctuation
    0x5F, 0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4,
    0xC5, 0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xA2, 0xA3, 0xA5, 0x50,
    0x83, 0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAC, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB,
    0xBB};

Font::Font() : count(0), height(0), srcY(0), xOffset(), width() {}

void Font::ClearTables() {
    std::memset(xOffset, 0, sizeof(xOffset));
    std::memset(width, 0, sizeof(width));
}

int Font::LoadText(port::ModuleHandle instance, const char* name) {
    ClearTables();
    if (!strip.LoadFromResource(instance, name))
        return 0;
    strip.SetColorKey(strip.GetPixel(0, 0));
    strip.SetAlpha(255);
    port::ResourceData metrics{};
    if (!port::FindResourceData("TEXT", name, &metrics) || metrics.size < 2)
        return 0;
    const uint8_t n = metrics.bytes[0];
    // A table that claims more entries than it holds is not read past its end.
    if (metrics.size < 2 + 2 * static_cast<std::size_t>(n))
        return 0;
    count = n;
    height = metrics.bytes[1];
    srcY = 0;
    int x = 0;
    for (int i = 0; i < n; ++i) {
        const uint8_t code = metrics.bytes[2 + 2 * i];
        const uint8_t w = metrics.bytes[3 + 2 * i];
        xOffset[code] = static_cast<uint16_t>(x);
        width[code] = w;
        x += w;
    }
    return 1;
}

int Font::LoadMarked(port::ModuleHandle instance, const char* name) {
    ClearTables();
    const int loaded =
        instance != nullptr ? strip.LoadFromResource(instance, name) : strip.LoadFromFile(name);
    // A strip needs a glyph row below its two marker rows, and its height must fit the table.
    if (!loaded || strip.m_Height <= kMarkedFirstRow || strip.m_Height > 255 + kMarkedFirstRow)
        return 0;
    strip.SetColorKey(strip.GetPixel(0, 0));
    count = 145;
    srcY = kMarkedFirstRow;
    height = static_cast<uint8_t>(strip.m_Height - kMarkedFirstRow);

    const int stripWidth = strip.m_Width;
    bool inCell = true;
    int start = 1;
    int index = 0;
    uint16_t prev = strip.GetPixel(1, 0);
    // Cells beyond the order string have no character and are passed over.
    for (int x = 1; x < stripWidth && index < kMarkerOrderLength; ++x) {
        const uint16_t p = strip.GetPixel(x, 0);
        if (p == prev)
            continue;
        inCell = !inCell;
        prev = p;
        if (inCell) {
            const uint8_t c = kMarkerOrder[index++];
            xOffset[c] = static_cast<uint16_t>(start);
            width[c] = static_cast<uint16_t>(std::max(x - start - kCellGap, 0));
            start = x;
        }
    }
    if (index < kMarkerOrderLength && stripWidth - start > kCellGap) {
        const uint8_t c = kMarkerOrder[index];
        xOffset[c] = static_cast<uint16_t>(start);
        width[c] = static_cast<uint16_t>(stripWidth - start - kCellGap);
    }
    return 1;
}

int Font::TextWidth(const char* text) const {
    int total = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c)
        total += width[*c];
    return total;
}

void Font::DrawText(CDib& target, int x, int y, const char* text, uint16_t color,
                    uint8_t mode) const {
    int shift = 0;
    if (x < 0) {
        shift = -x - 1;
        x = (target.m_Width - TextWidth(text)) >> 1;
    }
    target.m_PenColor = color;
    int advance = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        const int w = width[*c];
        if (*c != ' ')
            target.Blit(x + advance + shift, y + shift, w, height, strip, xOffset[*c], srcY, mode);
        advance += w;
    }
}

void DrawSystemText(CDib& target, int x, int y, uint32_t colorRef, const char* text) {
    if (target.m_Bits == nullptr || text == nullptr)
        return;
    if (port::DrawSystemText(target.m_Bitmap, target.m_Info, x, y, colorRef, text))
        return;
    const uint16_t color =
        MakeColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
    DrawGlyphText(target, text, x, y, color);
}
