// Fault injection for AllocArray. Any thread.
#include "state/alloc.h"

#include <atomic>

namespace {
std::atomic<int> failCountdown{-1};
}

namespace alloc {

bool ShouldFail() {
    int n = failCountdown.load(std::memory_order_relaxed);
    while (n >= 0) {
        if (failCountdown.compare_exchange_weak(n, n - 1, std::memory_order_relaxed))
            return n == 0;
    }
    return false;
}

void FailAfter(int n) {
    failCountdown.store(n, std::memory_order_relaxed);
}

} // namespace alloc
