// Replaces malloc's family in this program; the libraries it loads resolve
// their calls to these, which count and hand on to the C library's own.
#include "CountingAllocator.h"

#include <afx/core/AfxPool.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <malloc.h>

extern "C"
{
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace
{
std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> peakBytes{0};
std::atomic<std::size_t> allocations{0};

void* Counted(void* p)
{
    if (p != nullptr)
    {
        const std::size_t live = liveBytes.fetch_add(malloc_usable_size(p)) + malloc_usable_size(p);
        allocations.fetch_add(1);
        std::size_t peak = peakBytes.load();
        while (live > peak && !peakBytes.compare_exchange_weak(peak, live))
        {
        }
    }
    return p;
}

void Uncounted(void* p)
{
    if (p != nullptr)
        liveBytes.fetch_sub(malloc_usable_size(p));
}
} // namespace

void CountLayerBlocks()
{
    if (AfxPoolUsesSystemHeap())
        return; // malloc sees them already
    static const AfxPoolHooks hooks = {
        nullptr,
        [](std::size_t nBytes) noexcept {
            const std::size_t live = liveBytes.fetch_add(nBytes) + nBytes;
            allocations.fetch_add(1);
            std::size_t peak = peakBytes.load();
            while (live > peak && !peakBytes.compare_exchange_weak(peak, live))
            {
            }
        },
        [](std::size_t nBytes) noexcept { liveBytes.fetch_sub(nBytes); },
    };
    AfxPoolSetHooks(&hooks);
}

HeapCounters ReadHeapCounters()
{
    return {liveBytes.load(), peakBytes.load(), allocations.load()};
}

void ResetHeapPeak()
{
    peakBytes.store(liveBytes.load());
}

extern "C"
{
void* malloc(std::size_t size)
{
    return Counted(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size)
{
    return Counted(__libc_calloc(count, size));
}

void* realloc(void* p, std::size_t size)
{
    Uncounted(p);
    void* q = __libc_realloc(p, size);
    if (q == nullptr && size != 0)
        return Counted(p); // p stays allocated
    return Counted(q);
}

void free(void* p)
{
    Uncounted(p);
    __libc_free(p);
}

void* memalign(std::size_t alignment, std::size_t size)
{
    return Counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size)
{
    return Counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size)
{
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* p = Counted(__libc_memalign(alignment, size));
    if (p == nullptr)
        return ENOMEM;
    *result = p;
    return 0;
}
}
