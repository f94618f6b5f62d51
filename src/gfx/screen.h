// CScreen, the drawing surface bound to the analyzer view window; the description of the emulated
// device display; and the toolkit's millisecond timer. User-interface thread.
#pragma once

#include <cstdint>

#include "gfx/dib.h"

// The emulated device display: 240 x 320 pixels, 16 bits, 5-5-5 direct colour.
struct DisplayProperties {
    uint32_t width;
    uint32_t height;
    uint32_t xPitch;
    uint32_t yPitch;
    uint32_t bitsPerPixel;
    uint32_t format;
};
constexpr uint32_t kFormat555 = 0x40;

// The copy CScreen takes its first size from; start-up refreshes it with GetDisplayProperties.
extern DisplayProperties displayProperties;
void GetDisplayProperties(DisplayProperties* out);

class CScreen : public CDib {
public:
    CScreen() : m_Window(nullptr) {}

    using CDib::Create;
    // Binds the window and makes a surface of the display's size; 1 when the bitmap exists.
    int Create(port::WindowHandle window);
    // Copies the whole surface to the window; nothing without a bitmap or a window.
    void Present();

    port::WindowHandle m_Window;
};

// One global start time, for the menu animations.
void StartTimer();
uint32_t ElapsedMs();
