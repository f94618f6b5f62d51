// Array allocation that reports failure with a null pointer instead of an exception, with a
// fault-injection switch so that tests can make any chosen allocation fail. Any thread.
#pragma once

#include <cstddef>
#include <new>

namespace alloc {

// True when the allocation about to be made must fail (the fault injection below).
bool ShouldFail();

// Makes the allocation after the next n succeed-or-fail checks fail (n = 0: the very next one);
// a negative n switches fault injection off. Tests only.
void FailAfter(int n);

} // namespace alloc

// count default-initialised elements, or null when the memory cannot be had.
template <class T> T* AllocArray(std::size_t count) {
    if (alloc::ShouldFail())
        return nullptr;
    return new (std::nothrow) T[count];
}

template <class T> void FreeArray(T*& p) {
    delete[] p;
    p = nullptr;
}
