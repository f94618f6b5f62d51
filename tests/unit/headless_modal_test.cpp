// The headless port's scripted input for modal loops: input posted for a window comes out with
// its window and point, the idle hook runs only when the queue is empty and may feed it, and a
// loop whose input has run dry ends as if the program were quitting.
#include <gtest/gtest.h>

#include "port/headless/headless.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

class HeadlessModal : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        headless::SetIdleHook({});
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
        }
    }
};

struct PointCase {
    int x, y;
    intptr_t lParam;
};

TEST_F(HeadlessModal, MousePointsPackXLowYHigh) {
    const PointCase cases[] = {{0, 0, 0},
                               {5, 7, 0x00070005},
                               {65535, 1, 0x0001FFFF},
                               {-1, 2, 0x0002FFFF},
                               {300, 400, (400 << 16) | 300}};
    int window = 0;
    for (const PointCase& c : cases) {
        headless::PostMouse(&window, WM_LBUTTONDOWN, c.x, c.y);
        port::Message m{};
        ASSERT_TRUE(port::NextMessage(&m));
        EXPECT_EQ(m.window, &window);
        EXPECT_EQ(m.message, static_cast<uint32_t>(WM_LBUTTONDOWN));
        EXPECT_EQ(m.lParam, c.lParam) << c.x << "," << c.y;
    }
}

TEST_F(HeadlessModal, IdleHookFeedsTheLoopOnlyWhenItIsEmpty) {
    int calls = 0;
    headless::SetIdleHook([&] {
        ++calls;
        if (calls == 1)
            headless::PostInput(nullptr, WM_COMMAND, 42, 0);
    });
    port::PostToThread(port::CurrentThreadId(), WM_TIMER, 1, 0);
    port::Message m{};
    ASSERT_TRUE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_TIMER));
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_COMMAND));
    EXPECT_EQ(calls, 1);
    // The hook gives nothing more: the loop ends, as it does with no hook at all.
    EXPECT_FALSE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(calls, 2);
    headless::SetIdleHook({});
    m = port::Message{};
    EXPECT_FALSE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(m.wParam, 0u);
}

} // namespace
