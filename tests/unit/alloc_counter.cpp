// The test program's global operator new and delete: plain malloc and free, counting the
// allocations of the threads that asked for it. Any thread.
#include "alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
thread_local bool countHere = false;
std::atomic<int> counted{0};
} // namespace

namespace alloc_counter {

void CountThisThread() {
    countHere = true;
}
int Counted() {
    return counted;
}
void Reset() {
    counted = 0;
}

} // namespace alloc_counter

void* operator new(std::size_t size) {
    if (countHere)
        ++counted;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
