// In-view popup menus: a translucent panel with an optional title and a column of capsule
// buttons, opened and closed with a short animation, that returns the id of the chosen item.
// User-interface thread only; Run holds the thread in its own message loop.
#pragma once

#include <cstdint>

#include "gfx/button.h"
#include "gfx/font.h"
#include "gfx/screen.h"

// Flags of Menu::Run.
enum : uint32_t {
    MenuAnimateOpen = 0x01,
    MenuAnimateClose = 0x02,
    MenuChoose = 0x04,
    MenuAll = 0x07,
};

class Menu {
public:
    static constexpr int kMaxItems = ButtonSet::kCapacity;
    static constexpr int kItemTextSize = 512;
    static constexpr int kTitleSize = 84;

    // Loads the menu font.
    Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Parses items ("01Continue,02Exit Program": comma-separated, each a two-digit id and its
    // label) and lays the panel out centred on screen; draws nothing. Returns the item count.
    // What does not fit is cut: the title after 83 and the item text after 511 characters,
    // items after the 24th. An item that does not start with two decimal digits is left out.
    int Build(const CDib& screen, const char* titleText, const char* items);

    // Shows the menu on screen as flags ask, waiting for a choice with MenuChoose, and restores
    // the screen exactly before it returns. Returns the chosen item's id; 0 when there are no
    // items, the screen has no bitmap, nothing was chosen or the program is quitting (the quit
    // message is then posted again).
    int Run(CScreen& screen, const char* titleText, const char* items, uint32_t flags);

    // The menu whose Run waits for a choice now, null when none does: a headless run finds the
    // buttons it answers with here.
    static const Menu* Waiting();

    struct Rect {
        int32_t left, top, right, bottom;
    };

    int32_t itemCount = 0;
    Font font;
    CDib background;
    ButtonSet buttons;
    int32_t itemTop = 0;
    int32_t itemLeft = 0;
    int32_t itemHeight = 0;
    int32_t itemWidth = 0;
    int32_t itemPitch = 0;
    int32_t titleHeight = 0;
    CDib saved;
    Rect frame = {};
    const char* labels[kMaxItems] = {};
    uint8_t ids[kMaxItems] = {};
    char itemText[kItemTextSize] = {};
    char title[kTitleSize] = {};

private:
    void AnimationStep(CScreen& screen, const Rect& band);
};
