// In-view popup menus. User-interface thread; Run blocks in its own message loop.
#include "gfx/menu.h"

#include <algorithm>
#include <cstring>

#include "port/port.h"

namespace {

constexpr int32_t kItemWidth = 160;
constexpr int32_t kStepMs = 10;
constexpr int32_t kStepPixels = 10;

const Menu* waitingMenu = nullptr;

// Copies at most size - 1 characters of text (null taken as empty) and terminates the copy.
void CopyCut(char* to, std::size_t size, const char* text) {
    std::size_t n = text != nullptr ? std::strlen(text) : 0;
    n = std::min(n, size - 1);
    std::memcpy(to, text != nullptr ? text : "", n);
    to[n] = '\0';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// BlendRect with the rectangle first cut to the bitmap, so a panel larger than the view or
// partly outside it cannot write past the pixels.
void BlendInside(CDib& dib, Menu::Rect r, uint16_t color, uint8_t alpha) {
    r.left = std::max(r.left, 0);
    r.top = std::max(r.top, 0);
    r.right = std::min(r.right, dib.m_Width);
    r.bottom = std::min(r.bottom, dib.m_Height);
    if (r.left < r.right && r.top < r.bottom)
        dib.BlendRect(r.left, r.top, r.right, r.bottom, color, alpha);
}

} // namespace

Menu::Menu() {
    font.LoadMarked(port::ProgramModule(), "MENUFONT");
}

int Menu::Build(const CDib& screen, const char* titleText, const char* items) {
    CopyCut(title, sizeof title, titleText);
    CopyCut(itemText, sizeof itemText, items);

    itemCount = 0;
    char* token = itemText;
    while (*token != '\0' && itemCount < kMaxItems) {
        char* end = std::strchr(token, ',');
        char* next = end != nullptr ? end + 1 : token + std::strlen(token);
        if (end != nullptr)
            *end = '\0';
        if (IsDigit(token[0]) && IsDigit(token[1])) {
            ids[itemCount] = static_cast<uint8_t>((token[0] - '0') * 10 + (token[1] - '0'));
            labels[itemCount] = token + 2;
            ++itemCount;
        }
        token = next;
    }

    itemWidth = kItemWidth;
    itemLeft = (screen.m_Width - kItemWidth) / 2;
    itemHeight = itemCount > 8 ? 19 : 21;
    itemPitch = itemCount > 8 ? 25 : 28;
    titleHeight = title[0] != '\0' ? 20 : 0;
    const int32_t block = itemCount * itemPitch - (itemPitch - itemHeight);
    itemTop = (screen.m_Height - block) / 2 + titleHeight / 2;

    buttons.Clear();
    const uint16_t white = MakeColor(255, 255, 255);
    for (int32_t i = 0; i < itemCount; ++i) {
        const uint16_t id = static_cast<uint16_t>(i + 1);
        buttons.Add(id, labels[i], itemLeft, itemTop + i * itemPitch, kItemWidth, itemHeight,
                    ButtonCapsule);
        buttons.SetColors(id, white, -1, -1, -1);
    }
    frame = {itemLeft - 10, itemTop - titleHeight - 10, itemLeft + kItemWidth + 10,
             itemTop + block + 10};
    return itemCount;
}

void Menu::AnimationStep(CScreen& screen, const Rect& band) {
    StartTimer();
    screen.CopyFrom(background);
    BlendInside(screen, band, MakeColor(255, 255, 255), 128);
    screen.Present();
    while (ElapsedMs() < kStepMs)
        port::SleepMs(1);
}

const Menu* Menu::Waiting() {
    return waitingMenu;
}

int Menu::Run(CScreen& screen, const char* titleText, const char* items, uint32_t flags) {
    if (Build(screen, titleText, items) == 0 || screen.m_Bits == nullptr)
        return 0;
    saved.CopyFrom(screen);
    background.CopyFrom(screen);

    const int32_t cx = (frame.left + frame.right) / 2;
    const int32_t cy = (frame.top + frame.bottom) / 2;
    const int32_t halfW = (frame.right - frame.left) / 2;
    const int32_t halfH = (frame.bottom - frame.top) / 2;
    const uint16_t white = MakeColor(255, 255, 255);

    if (flags & MenuAnimateOpen) {
        // A thin line grows to the panel's width, then opens to its height.
        for (int32_t d = 1; d < halfW; d += kStepPixels)
            AnimationStep(screen, {cx - d, cy - 1, cx + d, cy + 1});
        for (int32_t d = 1; d < halfH; d += kStepPixels)
            AnimationStep(screen, {frame.left, cy - d, frame.right, cy + d});
    }

    int position = 0;
    if (flags & MenuChoose) {
        screen.CopyFrom(background);
        screen.FrameRect(frame.left - 1, frame.top - 1, frame.right, frame.bottom,
                         MakeColor(0, 255, 255));
        screen.FrameRect(frame.left - 2, frame.top - 2, frame.right + 1, frame.bottom + 1,
                         MakeColor(0, 0, 255));
        BlendInside(screen, frame, white, 128);
        if (title[0] != '\0')
            font.DrawText(screen, -1, itemTop - titleHeight - 6, title, 0, BLIT_KEYED);
        buttons.Draw(screen);
        screen.Present();
        const Menu* outer = waitingMenu;
        waitingMenu = this;
        position = buttons.RunModal(screen.m_Window);
        waitingMenu = outer;
    }

    if (flags & MenuAnimateClose) {
        for (int32_t d = halfH; d > 0; d -= kStepPixels)
            AnimationStep(screen, {frame.left, cy - d, frame.right, cy + d});
        for (int32_t d = halfW; d >= 0; d -= kStepPixels)
            AnimationStep(screen, {cx - d, cy - 1, cx + d, cy + 1});
    }

    screen.CopyFrom(saved);
    return position >= 1 && position <= itemCount ? ids[position - 1] : 0;
}
