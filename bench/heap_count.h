// Counts the heap allocations of the benchmark program: heap_count.cpp replaces the global
// operator new for the whole program. Any thread.
#pragma once

#include <cstddef>

// Allocations made through operator new since the program started.
std::size_t HeapAllocations();
