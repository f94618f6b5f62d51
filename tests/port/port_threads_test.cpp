// Worker threads, thread messages and events of the port, as the capture and sound engines use
// them: a worker that drains its queue every few milliseconds until told to stop.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "port/port.h"

namespace {

struct Drain {
    port::EventHandle stop;
    std::vector<uint32_t> received; // written by the worker, read after it ended
    std::atomic<int> count{0};
};

uint32_t DrainProc(void* arg) {
    Drain& d = *static_cast<Drain*>(arg);
    while (!port::WaitForEvent(d.stop, 5)) {
        port::Message m;
        while (port::PeekOwnMessage(&m)) {
            d.received.push_back(static_cast<uint32_t>(m.wParam));
            ++d.count;
        }
    }
    return 0;
}

TEST(PortThreads, MessagesPostedAtOnceArriveInOrder) {
    Drain d;
    d.stop = port::CreateAutoEvent();
    uint32_t id = 0;
    port::ThreadHandle t = port::CreateWorkerThread(DrainProc, &d, &id);
    ASSERT_NE(t, nullptr);
    ASSERT_NE(id, 0u);
    for (uint32_t i = 0; i < 100; ++i)
        ASSERT_TRUE(port::PostToThread(id, 0x3C0, i, 0));
    while (d.count < 100)
        port::SleepMs(0);
    port::SignalEvent(d.stop);
    ASSERT_TRUE(port::WaitWorker(t, 10000));
    port::CloseWorker(t);
    port::CloseEvent(d.stop);
    ASSERT_EQ(d.received.size(), 100u);
    for (uint32_t i = 0; i < 100; ++i)
        EXPECT_EQ(d.received[i], i);
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

TEST(PortThreads, OwnQueueOfTheCallingThread) {
    const uint32_t me = port::CurrentThreadId();
    port::Message m;
    while (port::PeekOwnMessage(&m)) {
    }
    ASSERT_TRUE(port::PostToThread(me, 0x3BD, 7, 9));
    ASSERT_TRUE(port::PeekOwnMessage(&m));
    EXPECT_EQ(m.message, 0x3BDu);
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(m.lParam, 9);
    EXPECT_FALSE(port::PeekOwnMessage(&m));
}

} // namespace
