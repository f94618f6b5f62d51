// A count of the allocations that chosen threads make through the global operator new, which
// alloc_counter.cpp replaces for the whole test program. Any thread.
#pragma once

namespace alloc_counter {

// Counts the calling thread's allocations from now on.
void CountThisThread();
int Counted();
void Reset();

} // namespace alloc_counter
