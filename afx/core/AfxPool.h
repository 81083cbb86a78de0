// The allocator behind the layer's blocks: string buffers, list and map
// entries, and the nodes of the library above. The layer keeps no allocator
// of its own:
//
// - On 64-bit Linux the blocks come from mimalloc (Debian's libmimalloc2.0)
//   through its sized API: each thread allocates and frees without a lock,
//   a block may be freed on any thread, and a child of fork() allocates and
//   frees at once, whatever the parent's other threads were doing.
// - On Windows, on 32-bit Linux, in the sanitizer builds (AddressSanitizer,
//   ThreadSanitizer), under a Valgrind tool that replaces malloc (memcheck,
//   helgrind, drd, massif, dhat), and when the environment variable
//   ZOL_SYSTEM_HEAP is 1, every block is an allocation of the global
//   operator new of its own, so that those tools see each one.
//
// Every block is freed with the size it was asked for (or, for
// AfxPoolAllocateBlock, the size granted), on any thread. Exhaustion raises
// CMemoryException*. Every block is aligned for any object of its size:
// alignof(std::max_align_t) when its size is a multiple of that.
//
// Freed memory is kept for the next blocks. A thread that frees most of what
// it held (after holding 64 MiB or more) gives its free pages back itself,
// down to its last block; otherwise mimalloc gives a free page back when its
// thread next frees near it, some tens of milliseconds later, so that a
// thread that stays idle keeps the pages it freed last committed (up to a
// 32 MiB segment; as much as it freed while it keeps blocks spread among
// them). AfxPoolTrim gives back what can be from any thread.
#pragma once

#include "AfxTypes.h"

#include <cstddef>

[[gnu::returns_nonnull]] AFX_CORE_API void* AfxPoolAllocate(std::size_t nBytes);
// The same, rnBytes becoming the size of the block handed out, all of which
// the caller may use (and must then free with that size).
[[gnu::returns_nonnull]] AFX_CORE_API void* AfxPoolAllocateBlock(std::size_t& rnBytes);
// The size of the block that AfxPoolAllocateBlock(nBytes) hands out.
AFX_CORE_API std::size_t AfxPoolBlockBytes(std::size_t nBytes) noexcept;
AFX_CORE_API void AfxPoolFree(void* p, std::size_t nBytes) noexcept;

// Gives back to the system, from any thread, the memory that no block uses:
// mimalloc's empty segments (mi_collect) and the free memory of the C
// library's heap, every thread's arena included (malloc_trim, with glibc).
// After an idle thread has freed a few hundred MiB of trees, the process's
// resident memory is back within a few MiB of where it was.
AFX_CORE_API void AfxPoolTrim() noexcept;

// Whether the blocks come from the system's heap (see above) rather than
// from mimalloc.
AFX_CORE_API bool AfxPoolUsesSystemHeap() noexcept;

// For tests and measurements: functions told of every allocation and free
// of the layer, each given the size of the block (any may be null).
// pfnAllocate is asked before each allocation and refuses it by answering
// false (the allocation then fails as exhaustion does); pfnAllocated is told
// of each block handed out, pfnFreed of each block freed. Set them (or null,
// to stop) while no other thread uses the layer.
struct AfxPoolHooks
{
    bool (*pfnAllocate)(std::size_t nBytes) noexcept;
    void (*pfnAllocated)(std::size_t nBytes) noexcept;
    void (*pfnFreed)(std::size_t nBytes) noexcept;
};
AFX_CORE_API void AfxPoolSetHooks(const AfxPoolHooks* pHooks) noexcept;
