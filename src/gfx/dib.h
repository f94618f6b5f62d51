// CDib: the toolkit's 16-bit 5-5-5 top-down off-screen bitmap with its drawing primitives and
// blits, and the BMP loaders that fill one from a resource or a file. User-interface thread.
#pragma once

#include <cstdint>

#include "gfx/color.h"
#include "port/port.h"

// Blit modes (the mode byte of CDib::Blit); any other value draws nothing.
constexpr uint8_t BLIT_COPY = 0;
constexpr uint8_t BLIT_KEYED = 1; // source pixels equal to the source's key are skipped
constexpr uint8_t BLIT_ALPHA = 2; // blended with the source's constant alpha
constexpr uint8_t BLIT_KEYED_ALPHA = 3;
constexpr uint8_t BLIT_SCREEN = 4; // screened with the source's constant alpha
constexpr uint8_t BLIT_KEYED_SCREEN = 5;
constexpr uint8_t BLIT_PEN = 8; // non-key source pixels take the destination's pen colour

// Operations return 1 on success and 0 on failure. Those documented as unchecked trust the caller
// to keep their arguments inside the bitmap; everything else clips.
class CDib {
public:
    CDib();
    ~CDib();
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    // A bitmap of width x height (an odd width grows by one). 0 for a zero size, which keeps the
    // old bitmap; a size the platform cannot allocate shows "CDib::Create Failed" and leaves the
    // bitmap empty. The new pixels are 0 (black).
    int Create(int width, int height);
    int Destroy();
    // Bitmap resource of the program module, or a .bmp file. Uncompressed 1, 4, 8, 16, 24 and
    // 32 bits per pixel; anything malformed is refused without a message.
    int LoadFromResource(port::ModuleHandle instance, const char* name);
    int LoadFromFile(const char* path);
    // Copies the pixels (not key, alpha or pen), re-creating this bitmap at the source's size.
    int CopyFrom(const CDib& source);

    void SetColorKey(uint16_t color) { m_ColorKey = color; }
    void SetAlpha(uint8_t alpha) { m_Alpha = alpha; }

    void Clear(uint16_t color);
    // Coordinates are clamped to 0..W-1 and 0..H-1, so the last column and row are never filled.
    void FillRect(int x1, int y1, int x2, int y2, uint16_t color);
    void BlendRect(int x1, int y1, int x2, int y2, uint16_t color, int alpha);
    // Blackens everything around the rectangle (through FillRect) and scales each channel
    // inside it by factor, truncated.
    void FadeRect(int x1, int y1, int x2, int y2, float factor);
    // Unchecked.
    void PutPixel(int x, int y, uint16_t color) { m_Bits[y * m_Width + x] = color; }
    uint16_t GetPixel(int x, int y) const { return m_Bits[y * m_Width + x]; }
    void BlendPixel(int x, int y, uint16_t color, int alpha);
    void HLine(int x, int y, int length, uint16_t color);
    void VLine(int x, int y, int length, uint16_t color);
    // A vertical run inside the clip rectangle; the length is not shortened by the part above top.
    void VLineClipped(int x, int y, int length, uint16_t color, int left, int top, int right,
                      int bottom);
    // Outline with inclusive corners.
    void FrameRect(int x1, int y1, int x2, int y2, uint16_t color);
    // Walked downward in max(|dx|, |dy|) steps; the far end point is not plotted.
    void Line(float x1, float y1, float x2, float y2, uint16_t color);
    void LineClipped(float x1, float y1, float x2, float y2, uint16_t color, int left, int top,
                     int right, int bottom);
    // Copies w x h pixels of source from (srcX, srcY) to (x, y) of this bitmap in the given
    // mode; 0 when nothing is left after clipping.
    int Blit(int x, int y, int w, int h, const CDib& source, int srcX, int srcY, uint8_t mode);

    uint16_t* m_Bits;
    port::SurfaceInfo m_Info;
    port::BitmapHandle m_Bitmap;
    int32_t m_Width;
    int32_t m_Height;
    uint16_t m_PenColor;
    uint16_t m_ColorKey;
    uint8_t m_Alpha;

private:
    int Decode(const uint8_t* data, std::size_t size);
};
