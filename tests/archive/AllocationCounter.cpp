#include "AllocationCounter.h"

#include <afx/core/AfxPool.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<bool> g_counting{false};
std::atomic<std::size_t> g_bytes{0};

void* Allocate(std::size_t n) noexcept
{
    if (g_counting.load(std::memory_order_relaxed))
        g_bytes.fetch_add(n, std::memory_order_relaxed);
    return std::malloc(n == 0 ? 1 : n);
}

void* AllocateOrThrow(std::size_t n)
{
    void* p = Allocate(n);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
}

// The platform layer's blocks, wherever they come from (where that is the
// system's heap, operator new sees them too and they count twice: the
// counts here are bounds).
const AfxPoolHooks kLayerHooks = {
    nullptr, [](std::size_t n) noexcept { g_bytes.fetch_add(n, std::memory_order_relaxed); }, nullptr};

AllocationCounter::AllocationCounter()
{
    g_bytes = 0;
    g_counting = true;
    AfxPoolSetHooks(&kLayerHooks);
}

AllocationCounter::~AllocationCounter()
{
    AfxPoolSetHooks(nullptr);
    g_counting = false;
}

std::size_t AllocationCounter::Bytes() const
{
    return g_bytes;
}

// Replacements of the global allocation functions, visible to the libraries.
__attribute__((visibility("default"))) void* operator new(std::size_t n)
{
    return AllocateOrThrow(n);
}
__attribute__((visibility("default"))) void* operator new[](std::size_t n)
{
    return AllocateOrThrow(n);
}
__attribute__((visibility("default"))) void* operator new(std::size_t n, const std::nothrow_t&) noexcept
{
    return Allocate(n);
}
__attribute__((visibility("default"))) void* operator new[](std::size_t n, const std::nothrow_t&) noexcept
{
    return Allocate(n);
}
__attribute__((visibility("default"))) void operator delete(void* p) noexcept
{
    std::free(p);
}
__attribute__((visibility("default"))) void operator delete[](void* p) noexcept
{
    std::free(p);
}
__attribute__((visibility("default"))) void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
__attribute__((visibility("default"))) void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
__attribute__((visibility("default"))) void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
// The pool takes its pages aligned.
__attribute__((visibility("default"))) void* operator new(std::size_t n, std::align_val_t alignment, const std::nothrow_t&) noexcept
{
    if (g_counting.load(std::memory_order_relaxed))
        g_bytes.fetch_add(n, std::memory_order_relaxed);
    return std::aligned_alloc(static_cast<std::size_t>(alignment), n);
}
__attribute__((visibility("default"))) void operator delete(void* p, std::align_val_t) noexcept
{
    std::free(p);
}
__attribute__((visibility("default"))) void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
