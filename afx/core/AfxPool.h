// The pool behind the layer's small blocks: string buffers, list and map
// entries, and the nodes of the library above. Blocks of up to
// kAfxPoolLargest bytes come from 4 KiB pages carved into slots of one size,
// handed out and taken back by a cache of the calling thread without locks;
// a cache passes slots to and from a shared store in batches. A block may be
// freed on any thread. Larger blocks come from the global operator new.
//
// Every block is freed with the size it was asked for. Exhaustion raises
// CMemoryException*. On Windows, and under AddressSanitizer, every block is
// an allocation of the global operator new of its own. Free slots that the shared store holds beyond a few
// MiB go back to the system once whole pages of them are free, so the pool
// keeps little once the trees are gone; AfxPoolTrim gives back all it can.
#pragma once

#include "AfxTypes.h"

#include <cstddef>

constexpr std::size_t kAfxPoolLargest = 256;

[[gnu::returns_nonnull]] AFX_CORE_API void* AfxPoolAllocate(std::size_t nBytes);
// The same, rnBytes becoming the size of the block handed out, all of which
// the caller may use (and must then free with that size).
[[gnu::returns_nonnull]] AFX_CORE_API void* AfxPoolAllocateBlock(std::size_t& rnBytes);
// The size of the block that AfxPoolAllocate(nBytes) hands out.
AFX_CORE_API std::size_t AfxPoolBlockBytes(std::size_t nBytes) noexcept;
AFX_CORE_API void AfxPoolFree(void* p, std::size_t nBytes) noexcept;

// Returns to the system every page that holds no block in use, after
// handing the calling thread's cached slots back to the shared store.
AFX_CORE_API void AfxPoolTrim() noexcept;

// Bytes of pages the pool holds from the system, in use or not.
AFX_CORE_API std::size_t AfxPoolReservedBytes() noexcept;
