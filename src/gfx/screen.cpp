// CScreen, the display description and the millisecond timer. User-interface thread.
#include "gfx/screen.h"

namespace {

constexpr DisplayProperties kDeviceDisplay = {240, 320, 1, 1, 16, kFormat555};

uint32_t timerStart = 0;

} // namespace

DisplayProperties displayProperties = kDeviceDisplay;

void GetDisplayProperties(DisplayProperties* out) {
    *out = kDeviceDisplay;
}

int CScreen::Create(port::WindowHandle window) {
    m_Window = window;
    CDib::Create(static_cast<int>(displayProperties.width),
                 static_cast<int>(displayProperties.height));
    return m_Bits != nullptr ? 1 : 0;
}

void CScreen::Present() {
    if (m_Bits != nullptr && m_Window != nullptr)
        port::PresentSurface(m_Window, m_Info, m_Bits);
}

void StartTimer() {
    timerStart = port::TickCount();
}

uint32_t ElapsedMs() {
    return port::TickCount() - timerStart;
}
