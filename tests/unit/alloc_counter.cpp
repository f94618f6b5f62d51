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
ScopedCount::ScopedCount() : wasCounting(countHere) {
    countHere = true;
}
ScopedCount::~ScopedCount() {
    countHere = wasCounting;
}
int Counted() {
    return counted;
}
void Reset() {
    counted = 0;
}

} // namespace alloc_counter

namespace {

void* Allocate(std::size_t size) noexcept {
    if (countHere)
        ++counted;
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size) {
    if (void* p = Allocate(size))
        return p;
    throw std::bad_alloc();
}

} // namespace

// Every unaligned form, so that no allocation is paired with another runtime's release.
void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
