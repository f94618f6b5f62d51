// Worker threads with message queues, thread messages and events for the headless port, on the
// standard library. Any thread. A timed wait for an event ends as soon as the event is signalled,
// a message reaches the waiting thread or the clock has passed its time, virtual or real.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "port/headless/headless.h"
#include "port/headless/headless_clock.h"
#include "port/port.h"

namespace {

struct Queue {
    std::mutex lock;
    std::deque<port::Message> messages;
    std::condition_variable wake; // its thread waiting for an event, with the wait lock
};

struct Worker {
    uint32_t id = 0;
    std::mutex lock;
    std::condition_variable ended;
    bool done = false;
};

struct Event {
    bool signalled = false; // under the wait lock
};

// The threads waiting for an event now: a wait also ends when a message reaches its thread or
// the clock passes its time, so a post wakes only the thread it is for, and a move of the clock
// only the threads whose time has come. Never destroyed, like the registry below; made before
// main, so that no thread registers with the clock while holding a lock of its own.
struct Waiting {
    Queue* queue;
    uint32_t start;
    uint32_t timeoutMs;
};

struct Waits {
    std::mutex lock;
    std::vector<Waiting> threads;
    Waits() {
        headless::WatchClock(this, [this] {
            std::lock_guard<std::mutex> guard(lock);
            const uint32_t now = port::TickCount();
            for (const Waiting& w : threads)
                if (now - w.start >= w.timeoutMs)
                    w.queue->wake.notify_one();
        });
    }
};

Waits& waits = *new Waits;

// The registry is never destroyed: a worker may still be ending while the program's static
// objects are destroyed (the sound engine closes its thread from its own destructor), and its
// last act is to remove its queue here.
std::mutex& registryLock = *new std::mutex;
std::map<uint32_t, std::shared_ptr<Queue>>& queues =
    *new std::map<uint32_t, std::shared_ptr<Queue>>;
std::map<uint32_t, int>& priorities = *new std::map<uint32_t, int>;
uint32_t nextThreadId = 1;

thread_local uint32_t ownId = 0;

// Gives the calling thread an id and a queue the first time it asks, as Windows does.
std::shared_ptr<Queue> OwnQueue() {
    std::lock_guard<std::mutex> guard(registryLock);
    if (ownId == 0)
        ownId = nextThreadId++;
    std::shared_ptr<Queue>& q = queues[ownId];
    if (!q)
        q = std::make_shared<Queue>();
    return q;
}

uint32_t RegisterQueue() {
    std::lock_guard<std::mutex> guard(registryLock);
    const uint32_t id = nextThreadId++;
    queues[id] = std::make_shared<Queue>();
    return id;
}

void ForgetQueue(uint32_t id) {
    std::lock_guard<std::mutex> guard(registryLock);
    queues.erase(id);
    priorities.erase(id);
}

} // namespace

namespace port {

ThreadHandle CreateWorkerThread(ThreadProc proc, void* arg, uint32_t* threadId) {
    auto worker = std::make_shared<Worker>();
    const uint32_t id = RegisterQueue();
    worker->id = id;
    try {
        std::thread([worker, proc, arg, id] {
            ownId = id;
            proc(arg);
            ForgetQueue(id);
            std::lock_guard<std::mutex> guard(worker->lock);
            worker->done = true;
            worker->ended.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        ForgetQueue(id);
        return nullptr;
    }
    if (threadId != nullptr)
        *threadId = id;
    return new std::shared_ptr<Worker>(worker);
}

bool SetWorkerPriority(ThreadHandle thread, int priority) {
    if (thread == nullptr)
        return false;
    const uint32_t id = (*static_cast<std::shared_ptr<Worker>*>(thread))->id;
    std::lock_guard<std::mutex> guard(registryLock);
    // A thread that has ended keeps no record.
    if (queues.count(id) != 0)
        priorities[id] = priority;
    return true;
}

bool WaitWorker(ThreadHandle thread, uint32_t timeoutMs) {
    Worker& w = **static_cast<std::shared_ptr<Worker>*>(thread);
    std::unique_lock<std::mutex> guard(w.lock);
    return w.ended.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return w.done; });
}

void TerminateWorker(ThreadHandle thread) {
    Worker& w = **static_cast<std::shared_ptr<Worker>*>(thread);
    std::unique_lock<std::mutex> guard(w.lock);
    w.ended.wait(guard, [&] { return w.done; });
}

void CloseWorker(ThreadHandle thread) {
    delete static_cast<std::shared_ptr<Worker>*>(thread);
}

uint32_t CurrentThreadId() {
    OwnQueue();
    return ownId;
}

bool PeekOwnMessage(Message* out) {
    std::shared_ptr<Queue> q = OwnQueue();
    std::lock_guard<std::mutex> guard(q->lock);
    if (q->messages.empty())
        return false;
    *out = q->messages.front();
    q->messages.pop_front();
    return true;
}

bool PostToThread(uint32_t threadId, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::shared_ptr<Queue> q;
    {
        std::lock_guard<std::mutex> guard(registryLock);
        auto found = queues.find(threadId);
        if (found == queues.end())
            return false;
        q = found->second;
    }
    {
        std::lock_guard<std::mutex> guard(q->lock);
        q->messages.push_back({nullptr, message, wParam, lParam});
    }
    std::lock_guard<std::mutex> guard(waits.lock);
    q->wake.notify_one();
    return true;
}

EventHandle CreateAutoEvent() {
    return new Event;
}

void SignalEvent(EventHandle event) {
    std::lock_guard<std::mutex> guard(waits.lock);
    static_cast<Event*>(event)->signalled = true;
    for (const Waiting& w : waits.threads)
        w.queue->wake.notify_one();
}

// The workers poll their queues between waits for their stop event, so a message for the
// waiting thread ends the wait early; on the virtual clock the time is the clock's, and the
// real timeout remains only for a wait that nothing ends.
bool WaitForEvent(EventHandle event, uint32_t timeoutMs) {
    Event& e = *static_cast<Event*>(event);
    const std::shared_ptr<Queue> own = OwnQueue();
    const uint32_t start = TickCount();
    const auto realEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock<std::mutex> guard(waits.lock);
    waits.threads.push_back({own.get(), start, timeoutMs});
    own->wake.wait_until(guard, realEnd, [&] {
        if (e.signalled || TickCount() - start >= timeoutMs)
            return true;
        std::lock_guard<std::mutex> queueGuard(own->lock);
        return !own->messages.empty();
    });
    for (auto it = waits.threads.begin(); it != waits.threads.end(); ++it) {
        if (it->queue == own.get()) {
            waits.threads.erase(it);
            break;
        }
    }
    const bool signalled = e.signalled;
    e.signalled = false;
    return signalled;
}

void CloseEvent(EventHandle event) {
    delete static_cast<Event*>(event);
}

} // namespace port

namespace headless {

void PostInput(port::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    std::shared_ptr<Queue> q = OwnQueue();
    std::lock_guard<std::mutex> guard(q->lock);
    q->messages.push_back({window, message, wParam, lParam});
}

int WorkerPriority(uint32_t threadId) {
    std::lock_guard<std::mutex> guard(registryLock);
    auto found = priorities.find(threadId);
    return found == priorities.end() ? port::kPriorityNormal : found->second;
}

} // namespace headless
