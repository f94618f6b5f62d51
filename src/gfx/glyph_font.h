// The 7 x 7 glyph-pattern font: 55 glyphs drawn pixel by pixel, for labels that must not depend
// on any font resource. User-interface thread.
#pragma once

#include <cstdint>

#include "gfx/dib.h"

// Each glyph advances 8 pixels; a line feed or carriage return starts a new line 9 pixels lower
// at the starting x. x = -1 centres the text horizontally, y = -1 vertically. Upper-case letters
// use the lower-case glyphs; characters without a glyph are blank.
void DrawGlyphText(CDib& target, const char* text, int x, int y, uint16_t color);

constexpr int kGlyphCount = 55;
constexpr int kGlyphSize = 7;
// Index of the glyph drawn for a character.
int GlyphIndex(unsigned char c);
// Row r (0 at the top) of glyph g: bit 6 is the leftmost pixel.
uint8_t GlyphRow(int g, int r);
