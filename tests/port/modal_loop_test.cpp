// The modal message loop of the port, as the in-view menus use it: messages come out in the
// order posted, the quit message ends the loop with its exit code and can be posted again.
#include <gtest/gtest.h>

#include "port/messages.h"
#include "port/port.h"

namespace {

void DrainOwnQueue() {
    port::Message m;
    while (port::PeekOwnMessage(&m)) {
    }
}

TEST(PortModalLoop, ThreadMessagesComeOutInOrderThenTheQuit) {
    DrainOwnQueue();
    const uint32_t self = port::CurrentThreadId();
    ASSERT_TRUE(port::PostToThread(self, WM_TIMER, 7, 70));
    ASSERT_TRUE(port::PostToThread(self, WM_COMMAND, 8, 80));
    port::PostQuit(3);

    port::Message m{};
    ASSERT_TRUE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_TIMER));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(m.lParam, 70);
    ASSERT_TRUE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_COMMAND));
    EXPECT_EQ(m.lParam, 80);
    EXPECT_FALSE(port::NextMessage(&m));
    EXPECT_EQ(m.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(m.wParam, 3u);
    DrainOwnQueue();
}

TEST(PortModalLoop, AQuitPostedAgainReachesTheOuterLoop) {
    DrainOwnQueue();
    port::PostQuit(0);
    port::Message m{};
    ASSERT_FALSE(port::NextMessage(&m));
    port::PostQuit(static_cast<int>(m.wParam));
    // The outer loop peeks, as the main loop does.
    bool sawQuit = false;
    while (port::PeekOwnMessage(&m))
        sawQuit = sawQuit || m.message == WM_QUIT;
    EXPECT_TRUE(sawQuit);
}

TEST(PortModalLoop, DispatchedThreadMessagesAreConsumed) {
    DrainOwnQueue();
    ASSERT_TRUE(port::PostToThread(port::CurrentThreadId(), WM_TIMER, 1, 0));
    port::Message m{};
    ASSERT_TRUE(port::NextMessage(&m));
    port::DispatchToWindow(m);
    EXPECT_FALSE(port::PeekOwnMessage(&m));
}

} // namespace
