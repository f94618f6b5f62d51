// Buttons, button sets and the modal click loop of the in-view menus. User-interface thread.
#include "gfx/button.h"

#include <cstring>

#include "gfx/dib.h"
#include "gfx/glyph_font.h"
#include "gfx/shapes.h"
#include "port/messages.h"

Font buttonFont;

namespace {

int16_t LowWord(intptr_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF));
}

int16_t HighWord(intptr_t v) {
    return static_cast<int16_t>(static_cast<uint16_t>((v >> 16) & 0xFFFF));
}

bool IsMouseMessage(uint32_t message) {
    return message >= WM_MOUSEMOVE && message <= WM_MOUSELAST;
}

} // namespace

void Button::Draw(CDib& screen) const {
    const int32_t w = right - left;
    const int32_t h = bottom - top;
    if (!(flags & (ButtonHidden | ButtonLabelOnly))) {
        if (flags & ButtonCapsule) {
            const int32_t r = h >> 1;
            DrawPill(screen, left + r, top + r, r, w - h);
        } else {
            screen.FillRect(left, top, right, bottom, faceColor);
            screen.FrameRect(left, top, right, bottom, frameColor);
            if (!(flags & ButtonFlat)) {
                const uint16_t dark = MakeColor(64, 64, 64);
                const uint16_t mid = MakeColor(128, 128, 128);
                const uint16_t light = MakeColor(255, 255, 255);
                screen.HLine(left + 1, bottom - 1, w - 1, dark);
                screen.VLine(right - 1, top + 1, h - 1, dark);
                screen.HLine(left + 2, bottom - 2, w - 3, mid);
                screen.VLine(right - 2, top + 2, h - 3, mid);
                screen.HLine(left + 1, top + 1, w - 2, light);
                screen.VLine(left + 1, top + 1, h - 2, light);
            }
        }
    }
    if (flags & ButtonHidden)
        return;
    const uint16_t color = (flags & ButtonDisabled) ? disabledColor : textColor;
    if (flags & ButtonGlyphFont) {
        const int32_t length = static_cast<int32_t>(std::strlen(label));
        DrawGlyphText(screen, label, left + (w - 8 * length) / 2, top + (h - 8) / 2, color);
    } else {
        const int32_t x = left + (w - buttonFont.TextWidth(label)) / 2;
        const int32_t y = top + (h - buttonFont.height) / 2;
        buttonFont.DrawText(screen, x, y, label, color, BLIT_PEN);
    }
}

bool ButtonSet::Add(uint16_t id, const char* label, int32_t x, int32_t y, int32_t w, int32_t h,
                    uint8_t flags) {
    if (count >= kCapacity)
        return false;
    Button& b = buttons[count++];
    b.left = x;
    b.top = y;
    b.right = x + w;
    b.bottom = y + h;
    b.flags = flags;
    b.id = id;
    b.textColor = 0;
    b.faceColor = MakeColor(192, 192, 192);
    b.frameColor = 0;
    b.disabledColor = MakeColor(128, 128, 128);
    b.label = label != nullptr ? label : "";
    return true;
}

int ButtonSet::HitTest(int32_t x, int32_t y) const {
    for (int32_t i = 0; i < count; ++i) {
        const Button& b = buttons[i];
        if (b.left <= x && x < b.right && b.top <= y && y < b.bottom)
            return i + 1;
    }
    return 0;
}

int ButtonSet::Find(uint16_t id) const {
    for (int32_t i = 0; i < count; ++i)
        if (buttons[i].id == id)
            return i + 1;
    return 0;
}

void ButtonSet::SetColors(uint16_t id, int32_t text, int32_t face, int32_t frame,
                          int32_t disabled) {
    const int index = Find(id);
    if (index == 0)
        return;
    Button& b = buttons[index - 1];
    if (text != -1)
        b.textColor = static_cast<uint16_t>(text);
    if (face != -1)
        b.faceColor = static_cast<uint16_t>(face);
    if (frame != -1)
        b.frameColor = static_cast<uint16_t>(frame);
    if (disabled != -1)
        b.disabledColor = static_cast<uint16_t>(disabled);
}

void ButtonSet::Draw(CDib& screen) const {
    for (int32_t i = 0; i < count; ++i)
        buttons[i].Draw(screen);
}

int ButtonSet::RunModal(port::WindowHandle window) const {
    int pressed = -1;
    for (;;) {
        port::Message m;
        if (!port::NextMessage(&m)) {
            port::PostQuit(static_cast<int>(m.wParam));
            return 0;
        }
        const uint32_t msg = m.message;
        if (msg == WM_KEYDOWN || msg == WM_KEYUP)
            continue;
        if (!IsMouseMessage(msg)) {
            port::DispatchToWindow(m);
            continue;
        }
        // The left button alone chooses, and only over the window the buttons are drawn in;
        // other mouse input would act on the view frozen behind the menu.
        if (m.window != window)
            continue;
        const int32_t x = LowWord(m.lParam);
        const int32_t y = HighWord(m.lParam);
        if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK) {
            pressed = HitTest(x, y);
        } else if (msg == WM_LBUTTONUP) {
            const int hit = HitTest(x, y);
            if (hit != 0 && hit == pressed)
                return buttons[hit - 1].id;
        }
    }
}
