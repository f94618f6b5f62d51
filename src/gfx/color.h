// The toolkit's colour word: 16-bit 5-5-5 direct colour (red in bits 14-10, green 9-5, blue 4-0)
// and the per-channel blends every blit and fill uses. Pure functions; any thread.
#pragma once

#include <cstdint>

constexpr uint16_t MakeColor(int r, int g, int b) {
    return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
}

// 8-bit channels whose low three bits are 0.
inline void SplitColor(uint16_t c, int& r, int& g, int& b) {
    r = (c & 0x7C00) >> 7;
    g = (c & 0x03E0) >> 2;
    b = (c & 0x1F) << 3;
}

// d + (target - d) * a / 255 for one 5-bit channel, rounded; exact at a = 0 and a = 255.
inline int BlendChannel(int d, int target, int a) {
    const int t = (target - d) * a + 128;
    return d + ((t + (t >> 8)) >> 8);
}

// s laid over d with opacity a (0..255).
inline uint16_t BlendColor(uint16_t d, uint16_t s, int a) {
    const int r = BlendChannel((d >> 10) & 31, (s >> 10) & 31, a);
    const int g = BlendChannel((d >> 5) & 31, (s >> 5) & 31, a);
    const int b = BlendChannel(d & 31, s & 31, a);
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}

// The photographic "screen" of s over d (never darker than either), faded in with opacity a.
inline int ScreenChannel(int d, int s, int a) {
    return BlendChannel(d, 31 - (((31 - s) * (31 - d)) >> 5), a);
}

inline uint16_t ScreenColor(uint16_t d, uint16_t s, int a) {
    const int r = ScreenChannel((d >> 10) & 31, (s >> 10) & 31, a);
    const int g = ScreenChannel((d >> 5) & 31, (s >> 5) & 31, a);
    const int b = ScreenChannel(d & 31, s & 31, a);
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}
