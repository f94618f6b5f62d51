// Rectangular hot areas with labels, drawn as bevelled rectangles or glossy capsules, and the
// modal loop that waits for one of them to be clicked. User-interface thread only.
#pragma once

#include <cstdint>

#include "port/port.h"

#include "gfx/font.h"

class CDib;

// The font of button labels, loaded with the view (TTravixWindow::Create).
extern Font buttonFont;

// Button flags.
enum : uint8_t {
    ButtonHidden = 0x01,    // neither shape nor label is drawn
    ButtonDisabled = 0x02,  // label in disabledColor; not choosable
    ButtonFlat = 0x08,      // rectangle without bevel
    ButtonLabelOnly = 0x10, // no shape
    ButtonCapsule = 0x20,   // glossy capsule instead of a rectangle
    ButtonGlyphFont = 0x40, // label in the 7 x 7 glyph-pattern font
};

struct Button {
    // Hot area: a point hits when left <= x < right and top <= y < bottom.
    int32_t left, top, right, bottom;
    uint8_t flags;
    uint16_t id;
    uint16_t textColor;
    uint16_t faceColor;
    uint16_t frameColor;
    uint16_t disabledColor;
    const char* label; // not owned; outlives the button

    void Draw(CDib& screen) const;
};

class ButtonSet {
public:
    static constexpr int kCapacity = 24;

    void Clear() { count = 0; }
    // False when the set is full. Colours get their defaults; a null label is taken as empty.
    bool Add(uint16_t id, const char* label, int32_t x, int32_t y, int32_t w, int32_t h,
             uint8_t flags);
    // 1-based index of the first button (in the order added) containing (x, y), 0 if none.
    int HitTest(int32_t x, int32_t y) const;
    // 1-based index of the first button with that id, 0 if none.
    int Find(uint16_t id) const;
    // Each colour of -1 is left unchanged; an id not in the set is ignored.
    void SetColors(uint16_t id, int32_t text, int32_t face, int32_t frame, int32_t disabled);
    void Draw(CDib& screen) const;

    // Waits for a click on a button of window: the id of the button under both the press and the
    // release of the left mouse button. Keys and mouse moves are discarded, and so are mouse
    // messages of other windows; everything else is dispatched. On the quit message it posts
    // the quit again, so the caller's loop ends too, and returns 0.
    int RunModal(port::WindowHandle window) const;

    Button buttons[kCapacity];
    int32_t count = 0;
};
