// The 7 x 7 glyph-pattern font. User-interface thread.
#include "gfx/glyph_font.h"

#include <cstring>

namespace {

// Glyph order of the pattern table.
const char kGlyphOrder[] = "abcdefghijklmnopqrstuvwxyz0123456789:!?-=+[] .,><#'@/\\%";
constexpr int kBlankGlyph = 44;

// Seven rows per glyph, 'o' a set pixel and ':' a clear one.
const char* const kPatterns[kGlyphCount * kGlyphSize] = {
    "oooo:::", "o:::o::", "o:::o::", "ooooo::",
    "o:::o::", "o:::o::", "o:::o::", // a
    "oooo:::", "o:::o::", "o:::o::", "oooo:::",
    "o:::o::", "o:::o::", "oooo:::", // b
    ":oooo::", "o::::::", "o::::::", "o::::::",
    "o::::::", "o::::::", ":oooo::", // c
    "oooo:::", "o:::o::", "o:::o::", "o:::o::",
    "o:::o::", "o:::o::", "oooo:::", // d
    "ooooo::", "o::::::", "o::::::", "oooo:::",
    "o::::::", "o::::::", "ooooo::", // e
    "ooooo::", "o::::::", "o::::::", "oooo:::",
    "o::::::", "o::::::", "o::::::", // f
    ":oooo::", "o::::::", "o::::::", "o::oo::",
    "o:::o::", "o:::o::", ":ooo:::", // g
    "o:::o::", "o:::o::", "o:::o::", "ooooo::",
    "o:::o::", "o:::o::", "o:::o::", // h
    ":ooo:::", "::o::::", "::o::::", "::o::::",
    "::o::::", "::o::::", ":ooo:::", // i
    "::ooo::", ":::o:::", ":::o:::", ":::o:::",
    ":::o:::", "o::o:::", ":oo::::", // j
    "o:::o::", "o::o:::", "o:o::::", "oo:::::",
    "o:o::::", "o::o:::", "o:::o::", // k
    "o::::::", "o::::::", "o::::::", "o::::::",
    "o::::::", "o::::::", "ooooo::", // l
    "o:::o::", "oo:oo::", "o:o:o::", "o:o:o::",
    "o:::o::", "o:::o::", "o:::o::", // m
    "o:::o::", "oo::o::", "o:o:o::", "o::oo::",
    "o:::o::", "o:::o::", "o:::o::", // n
    ":ooo:::", "o:::o::", "o:::o::", "o:::o::",
    "o:::o::", "o:::o::", ":ooo:::", // o
    "oooo:::", "o:::o::", "o:::o::", "oooo:::",
    "o::::::", "o::::::", "o::::::", // p
    ":ooo:::", "o:::o::", "o:::o::", "o:::o::",
    "o:o:o::", "o::o:::", ":oo:o::", // q
    "oooo:::", "o:::o::", "o:::o::", "oooo:::",
    "o:o::::", "o::o:::", "o:::o::", // r
    ":oooo::", "o::::::", "o::::::", ":ooo:::",
    "::::o::", "::::o::", "oooo:::", // s
    "ooooo::", "::o::::", "::o::::", "::o::::",
    "::o::::", "::o::::", "::o::::", // t
    "o:::o::", "o:::o::", "o:::o::", "o:::o::",
    "o:::o::", "o:::o::", ":ooo:::", // u
    "o:::o::", "o:::o::", "o:::o::", "o:::o::",
    "o:::o::", ":o:o:::", "::o::::", // v
    "o:::o::", "o:::o::", "o:::o::", "o:o:o::",
    "o:o:o::", "oo:oo::", "o:::o::", // w
    "o:::o::", "o:::o::", ":o:o:::", "::o::::",
    ":o:o:::", "o:::o::", "o:::o::", // x
    "o:::o::", "o:::o::", ":o:o:::", "::o::::",
    "::o::::", "::o::::", "::o::::", // y
    "ooooo::", "::::o::", ":::o:::", "::o::::",
    ":o:::::", "o::::::", "ooooo::", // z
    ":ooo:::", "o:::o::", "o::oo::", "o:o:o::",
    "oo::o::", "o:::o::", ":ooo:::", // 0
    "::o::::", ":oo::::", "::o::::", "::o::::",
    "::o::::", "::o::::", ":ooo:::", // 1
    ":ooo:::", "o:::o::", "::::o::", ":::o:::",
    "::o::::", ":o:::::", "ooooo::", // 2
    "oooo:::", "::::o::", "::::o::", ":ooo:::",
    "::::o::", "::::o::", "oooo:::", // 3
    ":::o:::", "::oo:::", ":o:o:::", "o::o:::",
    "ooooo::", ":::o:::", ":::o:::", // 4
    "ooooo::", "o::::::", "oooo:::", "::::o::",
    "::::o::", "o:::o::", ":ooo:::", // 5
    "::oo:::", ":o:::::", "o::::::", "oooo:::",
    "o:::o::", "o:::o::", ":ooo:::", // 6
    "ooooo::", "::::o::", ":::o:::", "::o::::",
    "::o::::", "::o::::", "::o::::", // 7
    ":ooo:::", "o:::o::", "o:::o::", ":ooo:::",
    "o:::o::", "o:::o::", ":ooo:::", // 8
    ":ooo:::", "o:::o::", "o:::o::", ":oooo::",
    "::::o::", ":::o:::", ":oo::::", // 9
    ":::::::", "::o::::", "::o::::", ":::::::",
    "::o::::", "::o::::", ":::::::", // :
    "::o::::", "::o::::", "::o::::", "::o::::",
    "::o::::", ":::::::", "::o::::", // !
    ":ooo:::", "o:::o::", "::::o::", ":::o:::",
    "::o::::", ":::::::", "::o::::", // ?
    ":::::::", ":::::::", ":::::::", "ooooo::",
    ":::::::", ":::::::", ":::::::", // -
    ":::::::", ":::::::", "ooooo::", ":::::::",
    "ooooo::", ":::::::", ":::::::", // =
    ":::::::", "::o::::", "::o::::", "ooooo::",
    "::o::::", "::o::::", ":::::::", // +
    ":ooo:::", ":o:::::", ":o:::::", ":o:::::",
    ":o:::::", ":o:::::", ":ooo:::", // [
    ":ooo:::", ":::o:::", ":::o:::", ":::o:::",
    ":::o:::", ":::o:::", ":ooo:::", // ]
    ":::::::", ":::::::", ":::::::", ":::::::",
    ":::::::", ":::::::", ":::::::", // space
    ":::::::", ":::::::", ":::::::", ":::::::",
    ":::::::", "::oo:::", "::oo:::", // .
    ":::::::", ":::::::", ":::::::", ":::::::",
    "::oo:::", ":::o:::", "::o::::", // ,
    "o::::::", ":o:::::", "::o::::", ":::o:::",
    "::o::::", ":o:::::", "o::::::", // >
    ":::o:::", "::o::::", ":o:::::", "o::::::",
    ":o:::::", "::o::::", ":::o:::", // <
    ":o:o:::", ":o:o:::", "ooooo::", ":o:o:::",
    "ooooo::", ":o:o:::", ":o:o:::", // #
    "::o::::", "::o::::", ":o:::::", ":::::::",
    ":::::::", ":::::::", ":::::::", // '
    ":ooo:::", "o:::o::", "o:ooo::", "o:o:o::",
    "o:ooo::", "o::::::", ":oooo::", // @
    "::::o::", "::::o::", ":::o:::", "::o::::",
    ":o:::::", "o::::::", "o::::::", // /
    "o::::::", "o::::::", ":o:::::", "::o::::",
    ":::o:::", "::::o::", "::::o::", // backslash
    "oo::o::", "oo::o::", ":::o:::", "::o::::", ":o:::::", "o::oo::", "o::oo::", // %
};

// The patterns turned into bit rows once, at start-up.
struct GlyphRows {
    uint8_t rows[kGlyphCount][kGlyphSize];
    GlyphRows() {
        for (int g = 0; g < kGlyphCount; ++g) {
            for (int r = 0; r < kGlyphSize; ++r) {
                uint8_t bits = 0;
                for (int c = 0; c < kGlyphSize; ++c)
                    if (kPatterns[g * kGlyphSize + r][c] == 'o')
                        bits |= static_cast<uint8_t>(0x40 >> c);
                rows[g][r] = bits;
            }
        }
    }
};
const GlyphRows glyphRows;

constexpr int kAdvance = 8;
constexpr int kLinePitch = 9;

} // namespace

int GlyphIndex(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        c = static_cast<unsigned char>(c - 'A' + 'a');
    const char* found = c != 0 ? std::strchr(kGlyphOrder, c) : nullptr;
    return found != nullptr ? static_cast<int>(found - kGlyphOrder) : kBlankGlyph;
}

uint8_t GlyphRow(int g, int r) {
    return glyphRows.rows[g][r];
}

void DrawGlyphText(CDib& target, const char* text, int x, int y, uint16_t color) {
    const int length = static_cast<int>(std::strlen(text));
    if (x == -1)
        x = (target.m_Width - kAdvance * length) >> 1;
    if (y == -1)
        y = (target.m_Height - kAdvance) / 2;
    int penX = x;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c; ++c) {
        if (*c == '\n' || *c == '\r') {
            penX = x;
            y += kLinePitch;
            continue;
        }
        const int g = GlyphIndex(*c);
        for (int r = 0; r < kGlyphSize; ++r) {
            const int py = y + r;
            for (int col = 0; col < kGlyphSize; ++col) {
                const int px = penX + col;
                if ((glyphRows.rows[g][r] & (0x40 >> col)) && px >= 0 && py >= 0 &&
                    px < target.m_Width && py < target.m_Height)
                    target.PutPixel(px, py, color);
            }
        }
        penX += kAdvance;
    }
}
