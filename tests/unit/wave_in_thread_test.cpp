// The capture thread over the headless device: start and stop, the ring, halts on a full ring and
// restarts, short buffers, stray messages, a reader beside the worker (run under ThreadSanitizer);
// every test checks that the worker allocates nothing once it records. Test thread and worker.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "alloc_counter.h"
#include "audio/wave_in_thread.h"
#include "port/headless/headless.h"
#include "port/messages.h"
#include "port/port.h"
#include "state/alloc.h"

namespace {

// 8000 Hz stereo 16-bit in buffers of 512 frames: one buffer every 64 ms of the clock.
constexpr uint32_t kRate = 8000;
constexpr uint32_t kBlockFrames = 512;
constexpr uint32_t kBlockBytes = kBlockFrames * 4;
constexpr uint32_t kBlockMs = 64;

// What the callback saw; the callback is a plain function, so this is global.
struct Events {
    std::atomic<int> stored{0};
    std::atomic<int> full{0};
    std::atomic<uint32_t> workerId{0};
    std::atomic<int> priorityWhenFull{-99};
    CWaveInThread* resumeOnFull = nullptr; // the program's answer to a full ring
    std::function<void()> onFirstStored;   // runs once on the worker
};
std::optional<Events> events;

// Counts the worker's allocations from its first callback on.
void OnEvent(uint32_t result) {
    alloc_counter::CountThisThread();
    events->workerId = port::CurrentThreadId();
    if (result == CWaveInThread::kResultStored) {
        if (events->stored++ == 0 && events->onFirstStored)
            events->onFirstStored();
    } else if (result == CWaveInThread::kResultRingFull) {
        events->priorityWhenFull = headless::WorkerPriority(port::CurrentThreadId());
        if (events->resumeOnFull != nullptr)
            events->resumeOnFull->Resume();
        ++events->full;
    }
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Frame n of the sequence source holds n & 0xFFFF, then n >> 16, as 16-bit little-endian samples:
// n as 32-bit little-endian.
uint32_t FrameNumber(const uint8_t* f) {
    return f[0] | f[1] << 8 | f[2] << 16 | uint32_t{f[3]} << 24;
}

class Capture : public ::testing::Test {
protected:
    void SetUp() override {
        headless::ResetPort();
        headless::CaptureSource sequence;
        sequence.kind = headless::CaptureSource::Kind::Sequence;
        headless::SetCaptureSource(sequence);
        events.emplace();
        alloc_counter::Reset();
    }
    void TearDown() override {
        capture.Stop();
        alloc::FailAfter(-1);
        EXPECT_EQ(alloc_counter::Counted(), 0) << "the worker allocated while recording";
    }

    bool ConfigureAndStart() {
        return capture.Configure(OnEvent, port::kPriorityHighest, 4, kBlockBytes, 2, kRate, 16) &&
               capture.Start();
    }
    // Lets blocks' worth of time pass and the worker take what the device finished.
    void Pass(uint32_t blocks) {
        headless::AdvanceTime(blocks * kBlockMs);
        ASSERT_TRUE(headless::WaitCaptureIdle());
    }
    // Expects the next block to hold frames first .. first + recorded - 1, then zeros.
    void ExpectBlock(uint32_t first, uint32_t recorded = kBlockFrames) {
        std::vector<uint8_t> block(kBlockBytes);
        ASSERT_TRUE(capture.Read(block.data(), kBlockBytes))
            << "no block ready where frame " << first << " was expected";
        for (uint32_t i = 0; i < kBlockFrames; ++i)
            ASSERT_EQ(FrameNumber(&block[i * 4]), i < recorded ? first + i : 0u)
                << "frame " << i << " of the block";
    }

    CWaveInThread capture;
};

TEST_F(Capture, StartFailuresLeaveNothingBehind) {
    struct Case {
        const char* what;
        uint32_t devices;
        uint32_t refusing;
        int failAllocation; // -1: none
        bool starts;
        uint32_t openedId;
    } cases[] = {
        {"no device", 0, 0, -1, false, 0},
        {"every device refuses", 3, 7, -1, false, 0},
        {"first two refuse", 3, 3, -1, true, 2},
        {"device memory", 1, 0, 0, false, 0},
        {"ring", 1, 0, 1, false, 0},
        {"headers", 1, 0, 2, false, 0},
        {"buffer marks", 1, 0, 3, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::SetCaptureDevices(c.devices, c.refusing);
        ASSERT_TRUE(capture.Configure(OnEvent, 2, 4, kBlockBytes, 2, kRate, 16));
        alloc::FailAfter(c.failAllocation);
        EXPECT_EQ(capture.Start(), c.starts);
        alloc::FailAfter(-1);
        EXPECT_EQ(capture.IsRunning(), c.starts);
        const headless::CaptureStats stats = headless::GetCaptureStats();
        EXPECT_EQ(stats.openDevices, c.starts ? 1u : 0u);
        if (c.starts) {
            EXPECT_EQ(stats.lastDeviceId, c.openedId);
        }
        EXPECT_EQ(capture.Stop(), c.starts) << "Stop after a failed Start has nothing to stop";
        EXPECT_EQ(capture.Available(), 0u);
        // The object is as good as new: with a device it starts.
        headless::SetCaptureDevices(1, 0);
        EXPECT_TRUE(capture.Start());
        EXPECT_TRUE(capture.Stop());
        EXPECT_EQ(headless::GetCaptureStats().openDevices, 0u);
    }
}

TEST_F(Capture, ReadsOfAnySizeGiveTheUnbrokenStream) {
    ASSERT_TRUE(ConfigureAndStart());
    uint8_t first[4];
    EXPECT_FALSE(capture.Read(first, 4)) << "nothing recorded yet";
    // Sizes that cut blocks and frames anywhere and cross the end of the ring; up to three
    // blocks, so that the ring can always take another buffer before the read.
    const uint32_t sizes[] = {1, 3, 2048, 4095, 2047, 6000, 1, 6143, 5, 2, 1000, 6144, 3333};
    std::vector<uint8_t> got;
    for (uint32_t size : sizes) {
        while (capture.Available() < size)
            Pass(1);
        ASSERT_EQ(events->full, 0);
        std::vector<uint8_t> part(size + 8, 0xEE);
        ASSERT_TRUE(capture.Read(part.data(), size)) << size;
        EXPECT_EQ(part[size], 0xEE) << "Read wrote past count";
        got.insert(got.end(), part.begin(), part.begin() + size);
    }
    for (std::size_t k = 0; k < got.size(); ++k)
        ASSERT_EQ(got[k], static_cast<uint8_t>(k / 4 >> 8 * (k % 4))) << "byte " << k;
    const auto blocks = static_cast<uint32_t>((got.size() + capture.Available()) / kBlockBytes);
    EXPECT_TRUE(WaitFor([blocks] { return events->stored == static_cast<int>(blocks); }))
        << "one callback per stored block; the last may lag";
    EXPECT_EQ(events->full, 0);
}

TEST_F(Capture, FullRingHaltsAndAFreedSlotRestarts) {
    ASSERT_TRUE(ConfigureAndStart());
    Pass(4);
    const uint32_t worker = events->workerId;
    ASSERT_NE(worker, 0u);
    EXPECT_EQ(headless::WorkerPriority(worker), port::kPriorityHighest);
    EXPECT_TRUE(headless::GetCaptureStats().recording);
    EXPECT_EQ(capture.Available(), 4 * kBlockBytes);

    Pass(1); // frames 2048 .. 2559 find no room
    ASSERT_TRUE(WaitFor([] { return events->full == 1; }));
    EXPECT_EQ(events->priorityWhenFull, port::kPriorityNormal);
    EXPECT_FALSE(headless::GetCaptureStats().recording);
    EXPECT_EQ(capture.Available(), 4 * kBlockBytes) << "the dropped buffer took no room";
    Pass(3); // halted: nothing is recorded
    EXPECT_EQ(events->stored, 4);

    ExpectBlock(0);
    EXPECT_TRUE(headless::GetCaptureStats().recording) << "a free slot restarts recording";
    EXPECT_EQ(headless::WorkerPriority(worker), port::kPriorityHighest);
    Pass(1);
    // The unread blocks come first and intact, then what was recorded after the restart.
    for (const uint32_t first : {512u, 1024u, 1536u, 2560u})
        ExpectBlock(first);
    EXPECT_EQ(capture.Available(), 0u);
}

TEST_F(Capture, ResumeFromTheCallbackDropsTheBufferCutShortByTheHalt) {
    events->resumeOnFull = &capture;
    ASSERT_TRUE(ConfigureAndStart());
    Pass(4);
    // Half a block more: the full ring halts recording, which hands back the half-filled buffer
    // (frames 2560 .. 2815); the callback resumes at once.
    headless::AdvanceTime(kBlockMs + kBlockMs / 2);
    ASSERT_TRUE(headless::WaitCaptureIdle());
    ASSERT_TRUE(WaitFor([] { return events->full == 1; }));
    EXPECT_TRUE(headless::GetCaptureStats().recording);
    EXPECT_EQ(capture.Available(), 0u);
    Pass(2);
    // Recording went on at frame 2816; the halted buffer's frames and its zeros never appear.
    ExpectBlock(2816);
    ExpectBlock(3328);
    EXPECT_EQ(events->full, 1);
}

TEST_F(Capture, ResumeDropsBuffersFinishedBeforeIt) {
    // The worker is held in its first callback while the device finishes two more buffers;
    // their messages wait in its queue when Resume comes.
    std::atomic<bool> release{false};
    events->onFirstStored = [&release] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    };
    ASSERT_TRUE(ConfigureAndStart());
    headless::AdvanceTime(kBlockMs);
    ASSERT_TRUE(WaitFor([] { return events->stored == 1; }));
    headless::AdvanceTime(2 * kBlockMs);
    ASSERT_TRUE(WaitFor([] { return headless::GetCaptureStats().buffersFinished == 3; }));
    capture.Resume();
    release = true;
    ASSERT_TRUE(headless::WaitCaptureIdle());
    EXPECT_EQ(capture.Available(), 0u) << "frames 512 .. 1535 were recorded before Resume";
    Pass(1);
    ExpectBlock(1536);
}

TEST_F(Capture, ShortBuffersArePaddedWithZerosAndStopStartsAfresh) {
    const std::pair<uint32_t, uint32_t> cases[] = {{3, 400}, {2, 4}, {1, 2044}, {4, 0}};
    for (const auto& [every, bytes] : cases) {
        SCOPED_TRACE(testing::Message() << "every " << every << " buffers, " << bytes);
        headless::SetCaptureShortBuffers(every, bytes);
        ASSERT_TRUE(ConfigureAndStart());
        uint32_t next = 0; // the source frame the next buffer starts with
        for (uint32_t b = 1; b <= 8; ++b) {
            while (capture.Available() < kBlockBytes)
                Pass(1);
            SCOPED_TRACE(testing::Message() << "buffer " << b);
            const uint32_t recorded = b % every == 0 ? bytes / 4 : kBlockFrames;
            ASSERT_NO_FATAL_FAILURE(ExpectBlock(next, recorded));
            next += recorded;
        }
        // Stop ends the worker and the device and drops what is unread: the next case's start
        // records afresh from frame 0.
        Pass(2);
        const uint32_t worker = events->workerId;
        ASSERT_TRUE(capture.Stop());
        EXPECT_FALSE(capture.IsRunning());
        EXPECT_EQ(headless::GetCaptureStats().openDevices, 0u);
        EXPECT_EQ(headless::WorkerPriority(worker), port::kPriorityNormal) << "worker ended";
        EXPECT_EQ(capture.Available(), 0u);
    }
}

TEST_F(Capture, WorkerHandlesOnlyItsOwnBuffers) {
    ASSERT_TRUE(ConfigureAndStart());
    Pass(1);
    // A stray buffer-done message with a header that is not the capture's own, and another
    // message kind, are passed over.
    port::WaveHeader stray{};
    uint8_t bytes[kBlockBytes] = {};
    stray.data = bytes;
    stray.bufferLength = kBlockBytes;
    stray.bytesRecorded = kBlockBytes;
    ASSERT_TRUE(WaitFor([] { return events->stored == 1; }));
    const uint32_t worker = events->workerId;
    ASSERT_TRUE(port::PostToThread(worker, MM_WIM_DATA, 0, reinterpret_cast<intptr_t>(&stray)));
    ASSERT_TRUE(port::PostToThread(worker, MM_WOM_DONE, 0, 0));
    Pass(1);
    EXPECT_EQ(capture.Available(), 2 * kBlockBytes);
    ExpectBlock(0);
    ExpectBlock(512);
}

// Moved on only while the ring has room, the clock lets nothing be dropped: every frame arrives
// once, in order. A worker that never waits for a lagging reader, with the program's answer
// (Resume) to every full ring, may drop blocks, but only at a Resume, and never duplicates,
// reorders, tears or zero-pads them.
TEST_F(Capture, AReaderBesideTheWorkerLosesOnlyWhatResumeDrops) {
    for (const bool lag : {false, true}) {
        SCOPED_TRACE(lag ? "lagging reader" : "reader keeping up");
        events.emplace();
        events->resumeOnFull = lag ? &capture : nullptr;
        ASSERT_TRUE(ConfigureAndStart());
        // A block that does not follow the one before counts as a gap. The lagging reader sleeps
        // now and then, so that the ring fills.
        std::atomic<bool> done{false};
        bool sound = true; // the reader's until it is joined
        uint32_t blocks = 0, gaps = 0;
        std::thread reader([&] {
            uint32_t next = 0;
            std::vector<uint8_t> block(kBlockBytes);
            while (!done || capture.Available() >= kBlockBytes) {
                if (lag && blocks % 8 == 7)
                    std::this_thread::sleep_for(std::chrono::milliseconds(80));
                if (!capture.Read(block.data(), kBlockBytes)) {
                    std::this_thread::yield();
                    continue;
                }
                const uint32_t start = FrameNumber(&block[0]);
                for (uint32_t i = 1; i < kBlockFrames; ++i)
                    sound = sound && FrameNumber(&block[i * 4]) == start + i;
                sound = sound && start >= next;
                gaps += start != next;
                next = start + kBlockFrames;
                ++blocks;
            }
        });
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        uint32_t passed = 0;
        while (std::chrono::steady_clock::now() < end) {
            EXPECT_TRUE(headless::WaitCaptureIdle());
            if (lag || capture.Available() <= 2 * kBlockBytes) {
                headless::AdvanceTime(2 * kBlockMs);
                passed += 2;
            }
        }
        EXPECT_TRUE(headless::WaitCaptureIdle());
        done = true;
        reader.join();
        EXPECT_TRUE(sound) << "a block torn, zero-padded, repeated or out of order";
        if (lag) {
            EXPECT_GT(events->full, 0) << "the reader never fell behind; the test proves nothing";
            EXPECT_LE(gaps, static_cast<uint32_t>(events->full));
            EXPECT_GT(blocks, 20u);
            EXPECT_EQ(headless::GetCaptureStats().framesLost, 0u)
                << "the device always had a buffer";
        } else {
            EXPECT_EQ(gaps, 0u);
            EXPECT_EQ(events->full, 0);
            EXPECT_EQ(blocks, passed);
            EXPECT_GT(passed, 100u);
        }
        ASSERT_TRUE(capture.Stop());
    }
}

} // namespace
