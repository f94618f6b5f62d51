// The headless port's clock, message boxes, resources and files. Any thread; the message record
// and the clock are safe to use from several threads at once.
#include "port/headless/headless.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <istream>
#include <mutex>
#include <strings.h>
#include <thread>
#include <utility>
#include <vector>

#include "port/headless/headless_clock.h"

#include "port/headless/headless_reset.h"
#include "port/headless/headless_wave_out.h"
#include "port/messages.h"
#include "port/port.h"

namespace {

std::atomic<bool> realClock{false};
std::atomic<uint32_t> virtualNow{0};
const auto realStart = std::chrono::steady_clock::now();

struct ClockWatchers {
    std::mutex lock;
    std::vector<std::pair<const void*, std::function<void()>>> list;
};

// Never destroyed: a device thread may unregister while static objects are being destroyed.
ClockWatchers& Watchers() {
    static ClockWatchers* watchers = new ClockWatchers;
    return *watchers;
}

void ClockMoved() {
    ClockWatchers& w = Watchers();
    std::lock_guard<std::mutex> guard(w.lock);
    for (const auto& watcher : w.list)
        watcher.second();
}

std::mutex messageLock;
std::vector<headless::ShownMessage> shownMessages;
int messageAnswer = IDOK;

const headless::EmbeddedResource* resourceTable = headless::kProgramResources;
std::size_t resourceCount = headless::kProgramResourcesCount;

} // namespace

namespace headless {

void ResetPort() {
    UseRealClock(false);
    SetTime(0);
    TakeMessages();
    SetMessageAnswer(IDOK);
    SetResourceTable(nullptr, 0);
    ResetInput();
    ResetWindows();
    DestroyControlPanel();
    TakeFrameCloseRequest();
    ForgetPresented();
    SetIdleHook({});
    TakeDispatched();
    SetSaveAnswer(nullptr);
    TakeSaveRequests();
    TakeShownWindows();
    ResetMixer();
    ResetCapture();
    RestoreWaveOutDefaults();
}

void UseRealClock(bool real) {
    realClock = real;
    ClockMoved();
}
// The capture first: a worker that its buffers wake then need not wake again for the time.
void SetTime(uint32_t ms) {
    virtualNow = ms;
    CaptureToNow();
    ClockMoved();
}
void AdvanceTime(uint32_t ms) {
    virtualNow += ms;
    CaptureToNow();
    ClockMoved();
}

bool RealClockInUse() {
    return realClock;
}

void WatchClock(const void* key, std::function<void()> wake) {
    ClockWatchers& w = Watchers();
    std::lock_guard<std::mutex> guard(w.lock);
    w.list.emplace_back(key, std::move(wake));
}

void UnwatchClock(const void* key) {
    ClockWatchers& w = Watchers();
    std::lock_guard<std::mutex> guard(w.lock);
    w.list.erase(std::remove_if(w.list.begin(), w.list.end(),
                                [key](const auto& entry) { return entry.first == key; }),
                 w.list.end());
}

std::vector<ShownMessage> TakeMessages() {
    std::lock_guard<std::mutex> guard(messageLock);
    std::vector<ShownMessage> taken;
    taken.swap(shownMessages);
    return taken;
}

void SetMessageAnswer(int result) {
    std::lock_guard<std::mutex> guard(messageLock);
    messageAnswer = result;
}

// istream::read turns a failing read into the stream's bad state, where reading through the
// buffer directly would throw.
bool ReadAll(std::istream& in, std::string* out) {
    std::string bytes;
    char chunk[1 << 16];
    do {
        in.read(chunk, sizeof chunk);
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    } while (in);
    if (in.bad())
        return false;
    *out = std::move(bytes);
    return true;
}

void SetResourceTable(const EmbeddedResource* table, std::size_t count) {
    if (table == nullptr) {
        resourceTable = kProgramResources;
        resourceCount = kProgramResourcesCount;
    } else {
        resourceTable = table;
        resourceCount = count;
    }
}

} // namespace headless

namespace port {

uint32_t TickCount() {
    if (!realClock)
        return virtualNow;
    const auto elapsed = std::chrono::steady_clock::now() - realStart;
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void SleepMs(uint32_t ms) {
    // The program's own sleeps on the virtual clock leave the capture to the next move of the
    // clock by its controller, so that what a modal loop's animation captures does not depend
    // on the speed of the threads.
    if (realClock) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    } else {
        virtualNow += ms;
        ClockMoved();
    }
}

int ShowMessage(const char* text, const char* caption, unsigned flags) {
    std::lock_guard<std::mutex> guard(messageLock);
    shownMessages.push_back({text ? text : "", caption ? caption : "", flags});
    return messageAnswer;
}

bool FindResourceData(const char* type, const char* name, ResourceData* out) {
    if (type == nullptr || name == nullptr || out == nullptr)
        return false;
    for (std::size_t i = 0; i < resourceCount; ++i) {
        const headless::EmbeddedResource& r = resourceTable[i];
        if (strcasecmp(r.type, type) == 0 && strcasecmp(r.name, name) == 0) {
            out->bytes = r.bytes;
            out->size = r.size;
            return true;
        }
    }
    return false;
}

// A box is a box here: the record does not tell owned from unowned ones.
int ShowMessageWithoutOwner(const char* text, const char* caption, unsigned flags) {
    return ShowMessage(text, caption, flags);
}

std::string FullPath(const char* name) {
    std::error_code failure;
    const std::filesystem::path full = std::filesystem::absolute(name, failure);
    return failure ? std::string() : full.string();
}

bool MoveFileReplacing(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

} // namespace port
