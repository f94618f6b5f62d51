// In-view menus through the headless port: overlong texts cut to their buffers, and Run with
// scripted input: the chosen id, clicks that choose nothing, double clicks, discarded keys, a
// quit while open, a panel larger than the screen and the screen restored (the open menus are
// drawn in tests/golden/menu_*.png).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gfx/menu.h"
#include "port/headless/headless.h"
#include "port/messages.h"

namespace {

TEST(MenuHostile, LongTextsAreCutToTheirBuffers) {
    CDib screen;
    ASSERT_TRUE(screen.Create(320, 240));
    Menu menu;
    const std::string title(500, 'T');
    std::string items = "01" + std::string(700, 'x');
    ASSERT_EQ(menu.Build(screen, title.c_str(), items.c_str()), 1);
    EXPECT_EQ(std::strlen(menu.title), static_cast<size_t>(Menu::kTitleSize - 1));
    EXPECT_EQ(std::strlen(menu.labels[0]), static_cast<size_t>(Menu::kItemTextSize - 1 - 2));
    // Items cut off by the limit are not seen.
    items = "01" + std::string(600, 'x') + ",02Lost";
    EXPECT_EQ(menu.Build(screen, "", items.c_str()), 1);
}

// ---- Run through the headless port

int windowTag; // any address names the view window

class MenuRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen.Create(&windowTag));
        ASSERT_TRUE(screen.CDib::Create(320, 240));
        for (int y = 0; y < screen.m_Height; ++y)
            for (int x = 0; x < screen.m_Width; ++x)
                screen.PutPixel(x, y, static_cast<uint16_t>((x * 7 + y * 131) & 0x7FFF));
        before.CopyFrom(screen);
        Drain();
        headless::ForgetPresented();
        headless::SetTime(1000);
    }
    void TearDown() override { Drain(); }
    static void Drain() {
        headless::SetIdleHook({});
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
        }
        headless::TakeDispatched();
    }
    // Queues a press on item a and a release on item b (1-based positions of the built menu).
    void Click(const Menu& m, int a, int b, port::WindowHandle window = &windowTag) {
        headless::PostMouse(window, WM_LBUTTONDOWN, ItemX(m, a), ItemY(m, a));
        headless::PostMouse(window, WM_LBUTTONUP, ItemX(m, b), ItemY(m, b));
    }
    static int ItemX(const Menu& m, int i) { return m.itemLeft + 80 + i; }
    static int ItemY(const Menu& m, int i) { return m.itemTop + (i - 1) * m.itemPitch + 5; }
    bool ScreenUnchanged() const {
        return std::memcmp(screen.m_Bits, before.m_Bits,
                           static_cast<size_t>(screen.m_Width) * screen.m_Height * 2) == 0;
    }
    CScreen screen;
    CDib before;
};

struct ChoiceCase {
    const char* items;
    int press, release;
    int expected; // 0: nothing chosen, the loop runs dry
};

TEST_F(MenuRun, ClicksChooseTheItemUnderPressAndRelease) {
    const ChoiceCase cases[] = {
        {"01Continue,02Exit Program", 2, 2, 2}, {"01Continue,02Exit Program", 1, 1, 1},
        {"07Seven,03Three", 1, 1, 7},           {"07Seven,03Three", 2, 2, 3},
        {"07Seven,03Three", 1, 2, 0},           {"07Seven,03Three", 2, 1, 0},
    };
    for (const ChoiceCase& c : cases) {
        Menu menu;
        menu.Build(screen, "Are you Sure?", c.items);
        Click(menu, c.press, c.release);
        EXPECT_EQ(menu.Run(screen, "Are you Sure?", c.items, MenuAll), c.expected)
            << c.items << " " << c.press << "->" << c.release;
        EXPECT_TRUE(ScreenUnchanged());
        Drain();
    }
}

// Keys, other mouse input and clicks in another window are discarded, other messages
// dispatched, and a release away from the press chooses nothing: the menu waits on.
TEST_F(MenuRun, InputThatChoosesNothingLeavesTheMenuOpen) {
    Menu menu;
    const char* items = "01Continue,02Exit Program";
    menu.Build(screen, "", items);
    int other = 0;
    headless::PostInput(&windowTag, WM_KEYDOWN, VK_ESCAPE, 0);
    headless::PostInput(&windowTag, WM_KEYUP, VK_ESCAPE, 0);
    headless::PostMouse(&windowTag, WM_MOUSEMOVE, ItemX(menu, 1), ItemY(menu, 1));
    headless::PostMouse(&windowTag, WM_RBUTTONDOWN, ItemX(menu, 1), ItemY(menu, 1));
    headless::PostInput(&windowTag, WM_TIMER, 1, 0);
    Click(menu, 1, 1, &other); // another window: its coordinates are not the view's
    headless::PostInput(&windowTag, WM_PAINT, 0, 0);
    Click(menu, 1, 2);
    headless::PostMouse(&windowTag, WM_LBUTTONDOWN, 5, 5); // outside every item
    headless::PostMouse(&windowTag, WM_LBUTTONUP, ItemX(menu, 2), ItemY(menu, 2));
    int waits = 0;
    headless::SetIdleHook([&] { // a quick second click: its press comes as a double click
        if (++waits == 1) {
            headless::PostMouse(&windowTag, WM_LBUTTONDBLCLK, ItemX(menu, 2), ItemY(menu, 2));
            headless::PostMouse(&windowTag, WM_LBUTTONUP, ItemX(menu, 2), ItemY(menu, 2));
        }
    });
    EXPECT_EQ(menu.Run(screen, "", items, MenuAll), 2);
    EXPECT_EQ(waits, 1);
    const auto dispatched = headless::TakeDispatched();
    ASSERT_EQ(dispatched.size(), 2u);
    EXPECT_EQ(dispatched[0].message, static_cast<uint32_t>(WM_TIMER));
    EXPECT_EQ(dispatched[1].message, static_cast<uint32_t>(WM_PAINT));
}

TEST_F(MenuRun, QuitWhileOpenReturnsZeroRestoresAndPostsTheQuitAgain) {
    Menu menu;
    port::PostQuit(0);
    EXPECT_EQ(menu.Run(screen, "Are you Sure?", "01Continue,02Exit Program", MenuAll), 0);
    EXPECT_TRUE(ScreenUnchanged());
    port::Message m{};
    ASSERT_TRUE(port::PeekOwnMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_FALSE(port::PeekOwnMessage(&m));
}

TEST_F(MenuRun, PanelLargerThanTheScreenIsClipped) {
    ASSERT_TRUE(screen.CDib::Create(120, 90));
    screen.Clear(MakeColor(0, 64, 0));
    before.CopyFrom(screen);
    std::string items;
    for (int i = 1; i <= 30; ++i)
        items += (i < 10 ? "0" : "") + std::to_string(i) + "Item,";
    Menu menu;
    menu.Build(screen, "A rather long title for so small a view", items.c_str());
    ASSERT_LT(menu.frame.left, 0);
    ASSERT_LT(menu.frame.top, 0);
    // The first item wholly on the screen can be chosen (ids are the positions here).
    int visible = 1;
    while (menu.itemTop + (visible - 1) * menu.itemPitch < 0)
        ++visible;
    ASSERT_LE(visible, 24);
    Click(menu, visible, visible);
    EXPECT_EQ(menu.Run(screen, "A rather long title for so small a view", items.c_str(), MenuAll),
              visible);
    EXPECT_TRUE(ScreenUnchanged());
}

} // namespace
