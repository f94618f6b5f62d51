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
        headless::TakeDispatched();
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

TEST_F(HeadlessModal, InputAndThreadMessagesShareOneQueue) {
    int window = 0;
    headless::PostInput(&window, WM_KEYDOWN, VK_ESCAPE, 0);
    port::PostToThread(port::CurrentThreadId(), WM_TIMER, 1, 0);
    headless::PostMouse(&window, WM_LBUTTONUP, 1, 2);
    const uint32_t expected[] = {WM_KEYDOWN, WM_TIMER, WM_LBUTTONUP};
    for (uint32_t e : expected) {
        port::Message m{};
        ASSERT_TRUE(port::PeekOwnMessage(&m));
        EXPECT_EQ(m.message, e);
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
    // The hook gives nothing more: the loop ends.
    EXPECT_FALSE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(calls, 2);
}

TEST_F(HeadlessModal, DryInputWithoutHookEndsTheLoop) {
    port::Message m{};
    EXPECT_FALSE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(m.wParam, 0u);
}

TEST_F(HeadlessModal, DispatchIsRecordedInOrder) {
    int window = 0;
    port::DispatchToWindow({&window, WM_PAINT, 0, 0});
    port::DispatchToWindow({nullptr, WM_TIMER, 5, 0});
    const auto seen = headless::TakeDispatched();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].window, &window);
    EXPECT_EQ(seen[0].message, static_cast<uint32_t>(WM_PAINT));
    EXPECT_EQ(seen[1].wParam, 5u);
    EXPECT_TRUE(headless::TakeDispatched().empty());
}

} // namespace
