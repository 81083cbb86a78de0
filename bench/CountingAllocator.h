// The heap as the C library's allocator sees it in this process: every
// allocation of every library (operator new, malloc and their aligned forms
// all end in malloc's family), counted by its usable size; and the blocks of
// ZOLXML's platform layer where mimalloc serves them, by their size as
// handed out (mimalloc's bin, as malloc_usable_size gives glibc's).
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
// Counts the ZOLXML platform layer's blocks too where they come from an
// allocator other than malloc (mimalloc), each by its size as handed out.
void CountLayerBlocks();
