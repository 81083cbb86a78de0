// The heap as the C library's allocator sees it in this process: every
// allocation of every library (operator new, malloc and their aligned forms
// all end in malloc's family), counted by its usable size.
#pragma once

#include <cstddef>

struct HeapCounters
{
    std::size_t liveBytes;
    std::size_t peakBytes;
    std::size_t allocations;
};

HeapCounters ReadHeapCounters();
// Starts a new peak at the present live size.
void ResetHeapPeak();
