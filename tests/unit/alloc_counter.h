// A count of the allocations that chosen threads make through the global operator new, which
// alloc_counter.cpp replaces for the whole test program. Any thread.
#pragma once

namespace alloc_counter {

// Counts the calling thread's allocations from now on (for a worker thread that ends).
void CountThisThread();
// Counts the calling thread's allocations while it lives, so that a test leaves the thread as it
// found it for the tests after it.
class ScopedCount {
public:
    ScopedCount();
    ~ScopedCount();
    ScopedCount(const ScopedCount&) = delete;
    ScopedCount& operator=(const ScopedCount&) = delete;

private:
    bool wasCounting;
};
int Counted();
void Reset();

} // namespace alloc_counter
