// Bitmap fonts: a strip of glyphs side by side, described either by a "TEXT" metrics resource or
// by a marker row drawn into the strip, drawn onto a CDib with the ordinary blits; and text in
// the platform's own font. User-interface thread.
#pragma once

#include <cstdint>

#include "gfx/dib.h"

class Font {
public:
    Font();

    // Strip from the bitmap resource name, metrics from the "TEXT" resource of the same name.
    int LoadText(port::ModuleHandle instance, const char* name);
    // Strip from the bitmap resource name of instance, or from the file name when instance is
    // null; the cells come from the marker row (row 0) of the strip.
    int LoadMarked(port::ModuleHandle instance, const char* name);
    // Sum of the advances of the text's characters (absent ones count 0).
    int TextWidth(const char* text) const;
    // x < 0 centres the text on the target; x = -k (k > 1) then moves it k - 1 pixels right and
    // down. mode is a blit mode: BLIT_KEYED keeps the glyphs' colours, BLIT_PEN paints them color.
    void DrawText(CDib& target, int x, int y, const char* text, uint16_t color, uint8_t mode) const;

    uint8_t count;
    uint8_t height;
    uint8_t srcY;
    uint16_t xOffset[256];
    uint16_t width[256];
    CDib strip;

private:
    void ClearTables();
};

// Characters of the marker cells of a marked strip, in cell order (a later duplicate wins).
constexpr int kMarkerOrderLength = 144;
extern const uint8_t kMarkerOrder[kMarkerOrderLength];

// Text in the platform's default font at (x, y) in colorRef (0x00BBGGRR); x = -1 centres it on
// the target. Where the platform has no font of its own, the glyph-pattern font stands in.
void DrawSystemText(CDib& target, int x, int y, uint32_t colorRef, const char* text);
