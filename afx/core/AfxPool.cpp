#include "AfxPool.h"

#include "AfxExceptions.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>
#include <vector>

namespace
{
// Under AddressSanitizer every block is its own allocation, so that the
// sanitizer sees each one's bounds and lifetime.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kEveryBlockApart = true;
#elif defined(__has_feature)
#  if __has_feature(address_sanitizer)
constexpr bool kEveryBlockApart = true;
#  else
constexpr bool kEveryBlockApart = false;
#  endif
#else
constexpr bool kEveryBlockApart = false;
#endif

constexpr std::size_t kPageBytes = 4096;
constexpr std::size_t kPagesPerRegion = 16;
constexpr std::size_t kRegionBytes = kPageBytes * kPagesPerRegion;
// The shared store keeps this much in free slots before it looks for whole
// free pages to give back.
constexpr std::size_t kRetainedBytes = 32 * 1024 * 1024;

// Slot sizes: every 8 bytes from 16 to 128, every 16 bytes to 256.
constexpr std::size_t kClassCount = 23;

constexpr std::size_t SlotBytes(std::size_t nClass)
{
    return nClass < 15 ? 16 + 8 * nClass : 128 + 16 * (nClass - 14);
}
static_assert(SlotBytes(kClassCount - 1) == kAfxPoolLargest, "the largest class takes the largest pooled block");

// The class of each size, by its count of 8-byte units.
constexpr std::array<std::uint8_t, kAfxPoolLargest / 8 + 1> MakeClassTable()
{
    std::array<std::uint8_t, kAfxPoolLargest / 8 + 1> table{};
    std::size_t nClass = 0;
    for (std::size_t units = 0; units < table.size(); ++units)
    {
        while (SlotBytes(nClass) < units * 8)
            ++nClass;
        table[units] = static_cast<std::uint8_t>(nClass);
    }
    return table;
}
constexpr std::array<std::uint8_t, kAfxPoolLargest / 8 + 1> kClassOfUnits = MakeClassTable();

std::size_t ClassOf(std::size_t nBytes)
{
    return kClassOfUnits[(nBytes + 7) / 8];
}

// A thread's cache holds up to two batches of a class; a batch is about
// 8 KiB of slots.
constexpr std::uint32_t BatchLength(std::size_t nClass)
{
    return static_cast<std::uint32_t>(std::max<std::size_t>(32, 8192 / SlotBytes(nClass)));
}

struct FreeSlot
{
    FreeSlot* next;
};

struct PoolRegion;

// The head of every page; the slots follow it (in a region's first page,
// after the region's head).
struct alignas(16) PoolPage
{
    PoolRegion* region;
    std::uint32_t nSlots;
    // While the store looks for free pages: how many of this page's slots it holds.
    std::uint32_t nSeenFree;
    std::uint32_t nFirstSlot; // offset of the first slot
};

PoolPage* PageOf(const void* p)
{
    return reinterpret_cast<PoolPage*>(reinterpret_cast<std::uintptr_t>(p) & ~std::uintptr_t{kPageBytes - 1});
}

// kPagesPerRegion pages in one allocation; a region goes back to the system
// once none of its pages is in use. Its head lies in its first page, behind
// that page's head.
struct alignas(16) PoolRegion
{
    unsigned char* memory;
    std::uint32_t freePages; // one bit a page
    PoolRegion* prev;        // among the regions that have free pages
    PoolRegion* next;
};
constexpr std::uint32_t kAllPagesFree = (1u << kPagesPerRegion) - 1;

constexpr std::size_t FirstSlotOffset(std::uint32_t nPage)
{
    return sizeof(PoolPage) + (nPage == 0 ? sizeof(PoolRegion) : 0);
}

struct Batch
{
    FreeSlot* head;
    std::uint32_t length;
};

struct StoreClass
{
    std::mutex lock;
    std::vector<Batch> batches;
};

// What all threads share: batches of free slots per class, and the regions.
class PoolStore
{
public:
    // A batch of free slots, or an empty one when the store has none.
    Batch TakeBatch(std::size_t nClass)
    {
        StoreClass& store = m_classes[nClass];
        const std::lock_guard<std::mutex> guard(store.lock);
        if (store.batches.empty())
            return Batch{nullptr, 0};
        const Batch batch = store.batches.back();
        store.batches.pop_back();
        m_freeBytes.fetch_sub(batch.length * SlotBytes(nClass), std::memory_order_relaxed);
        return batch;
    }

    // False when the store has no room for the batch; its slots stay the caller's.
    bool GiveBatch(std::size_t nClass, Batch batch) noexcept
    {
        {
            StoreClass& store = m_classes[nClass];
            const std::lock_guard<std::mutex> guard(store.lock);
            try
            {
                store.batches.push_back(batch);
            }
            catch (...)
            {
                return false;
            }
        }
        const std::size_t nFree =
            m_freeBytes.fetch_add(batch.length * SlotBytes(nClass), std::memory_order_relaxed) + batch.length * SlotBytes(nClass);
        if (nFree > m_scavengeAt.load(std::memory_order_relaxed))
        {
            std::unique_lock<std::mutex> scavenging(m_scavengeLock, std::try_to_lock);
            if (scavenging.owns_lock())
                Scavenge();
        }
        return true;
    }

    // A fresh page of the class; raises CMemoryException* when none can be had.
    PoolPage* NewPage(std::size_t nClass)
    {
        PoolPage* page = nullptr;
        {
            const std::lock_guard<std::mutex> guard(m_regionLock);
            if (m_pPartial == nullptr)
                AddRegion();
            PoolRegion* region = m_pPartial;
            std::uint32_t nPage = 0;
            while ((region->freePages & (1u << nPage)) == 0)
                ++nPage;
            region->freePages &= ~(1u << nPage);
            if (region->freePages == 0)
                Unlink(region);
            page = reinterpret_cast<PoolPage*>(region->memory + nPage * kPageBytes);
            page->region = region;
            page->nFirstSlot = static_cast<std::uint32_t>(FirstSlotOffset(nPage));
        }
        page->nSlots = static_cast<std::uint32_t>((kPageBytes - page->nFirstSlot) / SlotBytes(nClass));
        page->nSeenFree = 0;
        return page;
    }

    void TrimAll() noexcept
    {
        const std::lock_guard<std::mutex> scavenging(m_scavengeLock);
        Scavenge();
    }

    std::size_t ReservedBytes() const noexcept { return m_reservedBytes.load(std::memory_order_relaxed); }

private:
    void AddRegion()
    {
        auto* memory = static_cast<unsigned char*>(::operator new(kRegionBytes, std::align_val_t{kPageBytes}, std::nothrow));
        if (memory == nullptr)
            AfxThrowMemoryException();
        auto* region = new (memory + sizeof(PoolPage)) PoolRegion{memory, kAllPagesFree, nullptr, nullptr};
        LinkFirst(region);
        m_reservedBytes.fetch_add(kRegionBytes, std::memory_order_relaxed);
    }

    void LinkFirst(PoolRegion* region) noexcept
    {
        region->prev = nullptr;
        region->next = m_pPartial;
        if (m_pPartial != nullptr)
            m_pPartial->prev = region;
        m_pPartial = region;
    }

    void Unlink(PoolRegion* region) noexcept
    {
        if (region->prev != nullptr)
            region->prev->next = region->next;
        else
            m_pPartial = region->next;
        if (region->next != nullptr)
            region->next->prev = region->prev;
    }

    void ReleasePage(PoolPage* page) noexcept
    {
        const std::lock_guard<std::mutex> guard(m_regionLock);
        PoolRegion* region = page->region;
        const auto nPage = static_cast<std::uint32_t>((reinterpret_cast<unsigned char*>(page) - region->memory) / kPageBytes);
        if (region->freePages == 0)
            LinkFirst(region);
        region->freePages |= 1u << nPage;
        if (region->freePages == kAllPagesFree)
        {
            Unlink(region);
            ::operator delete(region->memory, std::align_val_t{kPageBytes});
            m_reservedBytes.fetch_sub(kRegionBytes, std::memory_order_relaxed);
        }
    }

    // Gives back every page all of whose slots the store holds. Runs under
    // m_scavengeLock.
    void Scavenge() noexcept
    {
        for (std::size_t nClass = 0; nClass < kClassCount; ++nClass)
            ScavengeClass(nClass);
        m_scavengeAt.store(std::max(kRetainedBytes, 2 * m_freeBytes.load(std::memory_order_relaxed)),
                           std::memory_order_relaxed);
    }

    void ScavengeClass(std::size_t nClass) noexcept
    {
        StoreClass& store = m_classes[nClass];
        const std::lock_guard<std::mutex> guard(store.lock);
        if (store.batches.empty())
            return;
        std::vector<PoolPage*> freePages;
        for (const Batch& batch : store.batches)
        {
            for (FreeSlot* slot = batch.head; slot != nullptr; slot = slot->next)
            {
                PoolPage* page = PageOf(slot);
                if (++page->nSeenFree == page->nSlots)
                {
                    try
                    {
                        freePages.push_back(page);
                    }
                    catch (...)
                    {
                        --page->nSeenFree; // kept for now: it stays in the batches
                    }
                }
            }
        }
        if (freePages.empty())
        {
            for (const Batch& batch : store.batches)
                for (FreeSlot* slot = batch.head; slot != nullptr; slot = slot->next)
                    PageOf(slot)->nSeenFree = 0;
            return;
        }

        // The slots of the other pages, in one list, then cut into batches
        // again; the last one takes what is left when the vector is full, so
        // that nothing here allocates.
        FreeSlot* kept = nullptr;
        for (const Batch& batch : store.batches)
        {
            for (FreeSlot* slot = batch.head; slot != nullptr;)
            {
                FreeSlot* following = slot->next;
                PoolPage* page = PageOf(slot);
                if (page->nSeenFree != page->nSlots)
                {
                    page->nSeenFree = 0;
                    slot->next = kept;
                    kept = slot;
                }
                slot = following;
            }
        }
        const std::size_t nDropped = freePages.size() * freePages.front()->nSlots;
        const std::size_t nRoom = store.batches.size();
        store.batches.clear();
        const std::uint32_t nBatchLength = BatchLength(nClass);
        while (kept != nullptr)
        {
            Batch batch{kept, 1};
            FreeSlot* last = kept;
            const bool bLastRoom = store.batches.size() + 1 == nRoom;
            while (last->next != nullptr && (bLastRoom || batch.length < nBatchLength))
            {
                last = last->next;
                ++batch.length;
            }
            kept = last->next;
            last->next = nullptr;
            store.batches.push_back(batch); // within the capacity it had
        }
        for (PoolPage* page : freePages)
            ReleasePage(page);
        m_freeBytes.fetch_sub(nDropped * SlotBytes(nClass), std::memory_order_relaxed);
    }

    std::array<StoreClass, kClassCount> m_classes;
    std::atomic<std::size_t> m_freeBytes{0};
    std::atomic<std::size_t> m_scavengeAt{kRetainedBytes};
    std::mutex m_scavengeLock;

    std::mutex m_regionLock;
    PoolRegion* m_pPartial = nullptr;
    std::atomic<std::size_t> m_reservedBytes{0};
};

PoolStore& Store()
{
    // Built in place and never destroyed: threads that end after the
    // program's statics still hand their slots back.
    alignas(PoolStore) static unsigned char s_storage[sizeof(PoolStore)];
    static PoolStore* const s_pStore = new (s_storage) PoolStore;
    return *s_pStore;
}

// A thread's own slots: a free list per class, and the part of its newest
// page not handed out yet.
struct ClassCache
{
    FreeSlot* head = nullptr;
    std::uint32_t length = 0;
    unsigned char* bump = nullptr;
    unsigned char* bumpEnd = nullptr;
};

struct ThreadCache
{
    std::array<ClassCache, kClassCount> classes;

    // Everything back to the store: the lists, and the untouched rest of
    // each page as slots, so that the page can be given back once free.
    void Flush() noexcept
    {
        for (std::size_t nClass = 0; nClass < kClassCount; ++nClass)
        {
            ClassCache& cache = classes[nClass];
            for (; cache.bump != cache.bumpEnd; cache.bump += SlotBytes(nClass))
            {
                auto* slot = reinterpret_cast<FreeSlot*>(cache.bump);
                slot->next = cache.head;
                cache.head = slot;
                ++cache.length;
            }
            if (cache.head != nullptr && Store().GiveBatch(nClass, Batch{cache.head, cache.length}))
            {
                cache.head = nullptr;
                cache.length = 0;
            }
        }
    }
};

class CacheOwner
{
public:
    CacheOwner() = default;
    CacheOwner(const CacheOwner&) = delete;
    CacheOwner& operator=(const CacheOwner&) = delete;
    ~CacheOwner();

    ThreadCache cache;
};

// The calling thread's cache; null before its first use and after the thread
// has begun to end. A plain pointer, so that reading it costs one load.
#if defined(_WIN32)
thread_local ThreadCache* t_pCache = nullptr;
#else
[[gnu::tls_model("initial-exec")]] thread_local ThreadCache* t_pCache = nullptr;
#endif
thread_local bool t_bCacheGone = false;

CacheOwner::~CacheOwner()
{
    t_pCache = nullptr;
    t_bCacheGone = true;
    cache.Flush();
}

[[gnu::noinline]] ThreadCache* AttachCache()
{
    if (t_bCacheGone)
        return nullptr; // the thread is ending: go to the store directly
    thread_local CacheOwner owner;
    t_pCache = &owner.cache;
    return t_pCache;
}

// Refills an empty list from the store's batches, or from a fresh page.
[[gnu::noinline]] void* Refill(ClassCache& cache, std::size_t nClass)
{
    const Batch batch = Store().TakeBatch(nClass);
    if (batch.head != nullptr)
    {
        cache.head = batch.head->next;
        cache.length = batch.length - 1;
        return batch.head;
    }
    PoolPage* page = Store().NewPage(nClass);
    unsigned char* first = reinterpret_cast<unsigned char*>(page) + page->nFirstSlot;
    cache.bump = first + SlotBytes(nClass);
    cache.bumpEnd = first + page->nSlots * SlotBytes(nClass);
    return first;
}

// Gives a batch of the list's most recent slots to the store.
[[gnu::noinline]] void Overflow(ClassCache& cache, std::size_t nClass) noexcept
{
    const std::uint32_t nBatchLength = BatchLength(nClass);
    FreeSlot* last = cache.head;
    for (std::uint32_t i = 1; i < nBatchLength; ++i)
        last = last->next;
    FreeSlot* rest = last->next;
    last->next = nullptr;
    if (Store().GiveBatch(nClass, Batch{cache.head, nBatchLength}))
    {
        cache.head = rest;
        cache.length -= nBatchLength;
    }
    else
    {
        last->next = rest;
    }
}

// For a thread that is ending: a cache for this one block, whose rest
// goes back at once.
[[gnu::noinline]] void* AllocateWithoutCache(std::size_t nClass)
{
    ThreadCache passing;
    void* p = Refill(passing.classes[nClass], nClass);
    passing.Flush();
    return p;
}

// Where the store has no room even for this, the slot is not used again;
// its page stays.
[[gnu::noinline]] void FreeWithoutCache(FreeSlot* slot, std::size_t nClass) noexcept
{
    slot->next = nullptr;
    Store().GiveBatch(nClass, Batch{slot, 1});
}

[[gnu::noinline]] void* AllocateApart(std::size_t nBytes)
{
    void* p = ::operator new(nBytes != 0 ? nBytes : 1, std::nothrow);
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}
} // namespace

namespace
{
// A slot of the class from the calling thread's cache.
inline void* AllocateSlot(std::size_t nClass)
{
    ThreadCache* pCache = t_pCache;
    if (pCache == nullptr && (pCache = AttachCache()) == nullptr)
        return AllocateWithoutCache(nClass);
    ClassCache& cache = pCache->classes[nClass];
    if (FreeSlot* slot = cache.head)
    {
        cache.head = slot->next;
        --cache.length;
        return slot;
    }
    if (cache.bump != cache.bumpEnd)
    {
        void* p = cache.bump;
        cache.bump += SlotBytes(nClass);
        return p;
    }
    return Refill(cache, nClass);
}
} // namespace

void* AfxPoolAllocate(std::size_t nBytes)
{
    if (kEveryBlockApart || nBytes > kAfxPoolLargest)
        return AllocateApart(nBytes);
    return AllocateSlot(ClassOf(nBytes));
}

void* AfxPoolAllocateBlock(std::size_t& rnBytes)
{
    if (kEveryBlockApart || rnBytes > kAfxPoolLargest)
        return AllocateApart(rnBytes);
    const std::size_t nClass = ClassOf(rnBytes);
    rnBytes = SlotBytes(nClass);
    return AllocateSlot(nClass);
}

std::size_t AfxPoolBlockBytes(std::size_t nBytes) noexcept
{
    if (kEveryBlockApart || nBytes > kAfxPoolLargest)
        return nBytes;
    return SlotBytes(ClassOf(nBytes));
}

void AfxPoolFree(void* p, std::size_t nBytes) noexcept
{
    if (p == nullptr)
        return;
    if (kEveryBlockApart || nBytes > kAfxPoolLargest)
        return ::operator delete(p);
    const std::size_t nClass = ClassOf(nBytes);
    auto* slot = static_cast<FreeSlot*>(p);
    ThreadCache* pCache = t_pCache;
    if (pCache == nullptr && (pCache = AttachCache()) == nullptr)
        return FreeWithoutCache(slot, nClass);
    ClassCache& cache = pCache->classes[nClass];
    slot->next = cache.head;
    cache.head = slot;
    if (++cache.length >= 2 * BatchLength(nClass))
        Overflow(cache, nClass);
}

void AfxPoolTrim() noexcept
{
    if (!kEveryBlockApart && t_pCache != nullptr)
        t_pCache->Flush();
    Store().TrimAll();
}

std::size_t AfxPoolReservedBytes() noexcept
{
    return Store().ReservedBytes();
}
