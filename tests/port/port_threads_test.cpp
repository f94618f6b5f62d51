// Worker threads, thread messages and events of the port, as the capture and sound engines use
// them, and the modal message loop the in-view menus run. Test thread, and one worker that drains
// its queue every few milliseconds until told to stop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "port/messages.h"
#include "port/port.h"

namespace {

struct Drain {
    port::EventHandle stop;
    std::vector<port::Message> received; // written by the worker, read after it ended
    std::atomic<int> count{0};
};

uint32_t DrainProc(void* arg) {
    Drain& d = *static_cast<Drain*>(arg);
    while (!port::WaitForEvent(d.stop, 5)) {
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
            d.received.push_back(m);
            ++d.count;
        }
    }
    return 0;
}

void DrainOwnQueue() {
    port::Message m;
    while (port::PeekOwnMessage(&m)) {
    }
}

TEST(PortThreads, MessagesPostedAtOnceArriveInOrder) {
    Drain d;
    d.stop = port::CreateAutoEvent();
    uint32_t id = 0;
    port::ThreadHandle t = port::CreateWorkerThread(DrainProc, &d, &id);
    ASSERT_NE(t, nullptr);
    ASSERT_NE(id, 0u);
    for (uint32_t i = 0; i < 100; ++i)
        ASSERT_TRUE(port::PostToThread(id, 0x3C0 + i % 2, i, -static_cast<intptr_t>(i)));
    while (d.count < 100)
        port::SleepMs(0);
    port::SignalEvent(d.stop);
    ASSERT_TRUE(port::WaitWorker(t, 10000));
    port::CloseWorker(t);
    port::CloseEvent(d.stop);
    ASSERT_EQ(d.received.size(), 100u);
    for (uint32_t i = 0; i < 100; ++i) {
        EXPECT_EQ(d.received[i].message, 0x3C0 + i % 2);
        EXPECT_EQ(d.received[i].wParam, i);
        EXPECT_EQ(d.received[i].lParam, -static_cast<intptr_t>(i));
    }
    EXPECT_FALSE(port::PostToThread(id, 0x3C0, 0, 0)) << "queue of an ended thread";
}

TEST(PortThreads, EventIsAutoResetAndTimesOut) {
    port::EventHandle e = port::CreateAutoEvent();
    EXPECT_FALSE(port::WaitForEvent(e, 1));
    port::SignalEvent(e);
    EXPECT_TRUE(port::WaitForEvent(e, 1000));
    EXPECT_FALSE(port::WaitForEvent(e, 1));
    port::CloseEvent(e);
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
