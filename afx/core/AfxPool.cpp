#include "AfxPool.h"

#include "AfxExceptions.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#if defined(__GLIBC__)
#  include <malloc.h>
#endif

// The build names the allocator of the platform (afx/core/CMakeLists.txt):
// AFX_HEAP_MIMALLOC where mimalloc serves, else the system's heap alone.
#if AFX_HEAP_MIMALLOC
#  include <mimalloc.h>
#endif

namespace
{
// The system's heap: the global operator new, one allocation a block.
void* SystemAllocate(std::size_t nBytes) noexcept
{
    return ::operator new(nBytes != 0 ? nBytes : 1, std::nothrow);
}

void SystemFree(void* p) noexcept
{
    ::operator delete(p);
}

void SystemTrim() noexcept
{
#if defined(__GLIBC__)
    malloc_trim(0); // every arena, those of idle threads too
#endif
}

// The hooks of tests and measurements, null when there are none.
std::atomic<const AfxPoolHooks*> g_pHooks{nullptr};

#if AFX_HEAP_MIMALLOC
// Under a Valgrind tool that replaces malloc (memcheck, helgrind, drd,
// massif, dhat: each preloads a library of its own beside vgpreload_core),
// or when asked, the system's heap serves, so that the tool sees every block.
bool SystemHeapWanted() noexcept
{
    const char* pszWanted = std::getenv("ZOL_SYSTEM_HEAP");
    if (pszWanted != nullptr && std::strcmp(pszWanted, "1") == 0)
        return true;
    const char* pszPreload = std::getenv("LD_PRELOAD");
    for (const char* p = pszPreload; p != nullptr && (p = std::strstr(p, "vgpreload_")) != nullptr; ++p)
        if (std::strncmp(p, "vgpreload_core", 14) != 0)
            return true;
    return false;
}

// Decided before any block is handed out: the layer's own constructors run
// after this one, and libraries that use the layer after the layer's.
bool g_bSystemHeap = false;
[[gnu::constructor(101)]] void ChooseHeap() noexcept
{
    g_bSystemHeap = SystemHeapWanted();
}

inline bool SystemHeap() noexcept
{
    return g_bSystemHeap;
}

// Blocks come in sizes of their own (mimalloc's bins); asking for the
// whole bin makes all of it the caller's.
inline std::size_t HeapBlockBytes(std::size_t nBytes) noexcept
{
    return SystemHeap() ? nBytes : mi_good_size(nBytes);
}

// mimalloc gives a thread's free pages back to the system when that thread
// next frees into their segment (after its decommit delay); a thread that
// frees its trees and then stays idle would keep up to a segment or so
// (32 MiB) of them, out of reach of any other thread. So a thread that
// lets go of most of what it holds collects its own heap: once the bytes
// it holds fall to a quarter of their peak since it last did, when that
// peak was kLargeHolding or more. A program that reads, uses and frees
// smaller trees in a loop never pays for it.
constexpr std::ptrdiff_t kLargeHolding = std::ptrdiff_t{64} << 20;
constexpr std::ptrdiff_t kSmallHolding = std::ptrdiff_t{1} << 20;

// The bytes that the thread holds (blocks it took less those it freed, so
// that a thread freeing what others took may go below zero), their peak
// since the last collection, and the holding that triggers the next.
struct ThreadHolding
{
    std::ptrdiff_t nHeld;
    std::ptrdiff_t nPeak;
    std::ptrdiff_t nCollectBelow;
};
[[gnu::tls_model("initial-exec")]] thread_local ThreadHolding t_holding = {0, 0, PTRDIFF_MIN};

[[gnu::noinline]] void NewPeak() noexcept
{
    t_holding.nPeak = t_holding.nHeld;
    t_holding.nCollectBelow = t_holding.nPeak >= kLargeHolding ? t_holding.nPeak / 4 : PTRDIFF_MIN;
}

[[gnu::noinline]] void CollectThread() noexcept
{
    mi_collect(true);
    // Once begun, the collections go on as the holding keeps falling, down
    // to the last MiB, and then once more when the thread holds nothing.
    t_holding.nPeak = t_holding.nHeld;
    if (t_holding.nPeak >= kSmallHolding)
        t_holding.nCollectBelow = t_holding.nPeak / 4;
    else
        t_holding.nCollectBelow = t_holding.nPeak > 0 ? 1 : PTRDIFF_MIN;
}

inline void* HeapAllocate(std::size_t nBytes) noexcept
{
    if (SystemHeap())
        return SystemAllocate(nBytes);
    if ((t_holding.nHeld += static_cast<std::ptrdiff_t>(nBytes)) > t_holding.nPeak)
        NewPeak();
    return mi_malloc(nBytes);
}

inline void HeapFree(void* p, std::size_t nBytes) noexcept
{
    if (SystemHeap())
        return SystemFree(p);
    mi_free_size(p, nBytes);
    if ((t_holding.nHeld -= static_cast<std::ptrdiff_t>(nBytes)) < t_holding.nCollectBelow)
        CollectThread();
}

void HeapTrim() noexcept
{
    if (!SystemHeap())
        mi_collect(true);
    SystemTrim(); // the layer's other allocations
}
#else
constexpr bool SystemHeap() noexcept
{
    return true;
}

inline std::size_t HeapBlockBytes(std::size_t nBytes) noexcept
{
    return nBytes;
}

inline void* HeapAllocate(std::size_t nBytes) noexcept
{
    return SystemAllocate(nBytes);
}

inline void HeapFree(void* p, std::size_t) noexcept
{
    SystemFree(p);
}

void HeapTrim() noexcept
{
    SystemTrim();
}
#endif

[[gnu::noinline]] void* AllocateHooked(const AfxPoolHooks* pHooks, std::size_t nBytes)
{
    if (pHooks->pfnAllocate != nullptr && !pHooks->pfnAllocate(nBytes))
        AfxThrowMemoryException();
    void* p = HeapAllocate(nBytes);
    if (p == nullptr)
        AfxThrowMemoryException();
    if (pHooks->pfnAllocated != nullptr)
        pHooks->pfnAllocated(nBytes);
    return p;
}

inline void* Allocate(std::size_t nBytes)
{
    if (const AfxPoolHooks* pHooks = g_pHooks.load(std::memory_order_relaxed))
        return AllocateHooked(pHooks, nBytes);
    void* p = HeapAllocate(nBytes);
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}
} // namespace

void* AfxPoolAllocate(std::size_t nBytes)
{
    return Allocate(g_pHooks.load(std::memory_order_relaxed) != nullptr ? HeapBlockBytes(nBytes) : nBytes);
}

void* AfxPoolAllocateBlock(std::size_t& rnBytes)
{
    rnBytes = HeapBlockBytes(rnBytes);
    return Allocate(rnBytes);
}

std::size_t AfxPoolBlockBytes(std::size_t nBytes) noexcept
{
    return HeapBlockBytes(nBytes);
}

void AfxPoolFree(void* p, std::size_t nBytes) noexcept
{
    if (p == nullptr)
        return;
    HeapFree(p, nBytes);
    if (const AfxPoolHooks* pHooks = g_pHooks.load(std::memory_order_relaxed))
        if (pHooks->pfnFreed != nullptr)
            pHooks->pfnFreed(HeapBlockBytes(nBytes));
}

void AfxPoolTrim() noexcept
{
    HeapTrim();
}

bool AfxPoolUsesSystemHeap() noexcept
{
    return SystemHeap();
}

void AfxPoolSetHooks(const AfxPoolHooks* pHooks) noexcept
{
    g_pHooks.store(pHooks, std::memory_order_relaxed);
}
