#include "AfxPool.h"

#include "AfxExceptions.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <new>

namespace
{
// Under AddressSanitizer every block is its own allocation, so that the
// sanitizer sees each one's bounds and lifetime. So it is on Windows: there a
// thread's cache, kept in a DLL's thread-local storage, cannot be handed back
// safely while the thread ends (the runtime frees thread-local storage in an
// order of its own), and the system's heap serves every thread well enough.
#if defined(_WIN32) || defined(__SANITIZE_ADDRESS__)
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
// Regions none of whose pages is in use are kept up to this many (8 MiB),
// for the next tree; the rest go back to the system at once.
constexpr std::size_t kKeptEmptyRegions = 128;

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
// 8 KiB of slots. Looked up, not divided out: every free asks for it.
constexpr std::array<std::uint32_t, kClassCount> MakeBatchLengths()
{
    std::array<std::uint32_t, kClassCount> lengths{};
    for (std::size_t nClass = 0; nClass < kClassCount; ++nClass)
        lengths[nClass] = static_cast<std::uint32_t>(std::max<std::size_t>(32, 8192 / SlotBytes(nClass)));
    return lengths;
}
constexpr std::array<std::uint32_t, kClassCount> kBatchLengths = MakeBatchLengths();

std::uint32_t BatchLength(std::size_t nClass)
{
    return kBatchLengths[nClass];
}

struct FreeSlot
{
    FreeSlot* next;
};

struct PoolRegion;

// The head of every page; the slots follow it (in a region's first page,
// after the region's head). The store keeps the free slots it holds on the
// page they belong to, so that it knows when the page is free as a whole.
struct alignas(16) PoolPage
{
    PoolRegion* region;
    FreeSlot* freeList; // the slots of the page that the store holds
    PoolPage* prev;     // among the pages of its class that have free slots
    PoolPage* next;
    std::uint32_t nSlots;
    std::uint32_t nFree; // the length of freeList
    std::uint32_t nFirstSlot;
    std::uint32_t nIndex; // in its region
};

PoolPage* PageOf(const void* p)
{
    return reinterpret_cast<PoolPage*>(reinterpret_cast<std::uintptr_t>(p) & ~std::uintptr_t{kPageBytes - 1});
}

// kPagesPerRegion pages in one allocation, which goes back to the system
// once none of its pages is in use (beyond the few empty ones kept). Its
// head lies in its first page, behind that page's head.
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

// A list of free slots and its length.
struct SlotList
{
    FreeSlot* head;
    std::uint32_t length;
};

struct StoreClass
{
    std::mutex lock;
    PoolPage* partial = nullptr; // pages that have free slots in the store
};

// What all threads share: the free slots of every class, page by page, and
// the regions.
class PoolStore
{
public:
    // The free slots of one page of the class, or none.
    SlotList TakeSlots(std::size_t nClass) noexcept
    {
        StoreClass& store = m_classes[nClass];
        const std::lock_guard<std::mutex> guard(store.lock);
        PoolPage* page = store.partial;
        if (page == nullptr)
            return SlotList{nullptr, 0};
        UnlinkPage(store, page);
        const SlotList slots{page->freeList, page->nFree};
        page->freeList = nullptr;
        page->nFree = 0;
        return slots;
    }

    // Takes back a list of free slots of the class; a page all of whose
    // slots are back is free again, for any class.
    void GiveSlots(std::size_t nClass, FreeSlot* slot) noexcept
    {
        StoreClass& store = m_classes[nClass];
        const std::lock_guard<std::mutex> guard(store.lock);
        while (slot != nullptr)
        {
            FreeSlot* following = slot->next;
            PoolPage* page = PageOf(slot);
            slot->next = page->freeList;
            page->freeList = slot;
            if (++page->nFree == 1)
            {
                page->prev = nullptr;
                page->next = store.partial;
                if (store.partial != nullptr)
                    store.partial->prev = page;
                store.partial = page;
            }
            if (page->nFree == page->nSlots)
            {
                UnlinkPage(store, page);
                ReleasePage(page);
            }
            slot = following;
        }
    }

    // A fresh page of the class, none of its slots handed out; raises
    // CMemoryException* when none can be had.
    PoolPage* NewPage(std::size_t nClass)
    {
        PoolPage* page = nullptr;
        {
            const std::lock_guard<std::mutex> guard(m_regionLock);
            PoolRegion* region = m_pRegions;
            if (region == nullptr)
            {
                region = m_pEmptyRegions;
                if (region != nullptr)
                {
                    m_pEmptyRegions = region->next;
                    --m_nEmptyRegions;
                }
                else
                {
                    region = NewRegion();
                }
                LinkRegion(region);
            }
            std::uint32_t nPage = 0;
            while ((region->freePages & (1u << nPage)) == 0)
                ++nPage;
            region->freePages &= ~(1u << nPage);
            if (region->freePages == 0)
                UnlinkRegion(region);
            page = reinterpret_cast<PoolPage*>(region->memory + nPage * kPageBytes);
            page->region = region;
            page->nIndex = nPage;
            page->nFirstSlot = static_cast<std::uint32_t>(FirstSlotOffset(nPage));
        }
        page->freeList = nullptr;
        page->prev = page->next = nullptr;
        page->nSlots = static_cast<std::uint32_t>((kPageBytes - page->nFirstSlot) / SlotBytes(nClass));
        page->nFree = 0;
        return page;
    }

    // Gives every empty region back to the system.
    void ReleaseEmptyRegions() noexcept
    {
        const std::lock_guard<std::mutex> guard(m_regionLock);
        while (m_pEmptyRegions != nullptr)
        {
            PoolRegion* region = m_pEmptyRegions;
            m_pEmptyRegions = region->next;
            FreeRegion(region);
        }
        m_nEmptyRegions = 0;
    }

    std::size_t ReservedBytes() const noexcept { return m_reservedBytes.load(std::memory_order_relaxed); }

private:
    static void UnlinkPage(StoreClass& store, PoolPage* page) noexcept
    {
        if (page->prev != nullptr)
            page->prev->next = page->next;
        else
            store.partial = page->next;
        if (page->next != nullptr)
            page->next->prev = page->prev;
    }

    PoolRegion* NewRegion()
    {
        auto* memory = static_cast<unsigned char*>(::operator new(kRegionBytes, std::align_val_t{kPageBytes}, std::nothrow));
        if (memory == nullptr)
            AfxThrowMemoryException();
        m_reservedBytes.fetch_add(kRegionBytes, std::memory_order_relaxed);
        return new (memory + sizeof(PoolPage)) PoolRegion{memory, kAllPagesFree, nullptr, nullptr};
    }

    void FreeRegion(PoolRegion* region) noexcept
    {
        ::operator delete(region->memory, std::align_val_t{kPageBytes});
        m_reservedBytes.fetch_sub(kRegionBytes, std::memory_order_relaxed);
    }

    void LinkRegion(PoolRegion* region) noexcept
    {
        region->prev = nullptr;
        region->next = m_pRegions;
        if (m_pRegions != nullptr)
            m_pRegions->prev = region;
        m_pRegions = region;
    }

    void UnlinkRegion(PoolRegion* region) noexcept
    {
        if (region->prev != nullptr)
            region->prev->next = region->next;
        else
            m_pRegions = region->next;
        if (region->next != nullptr)
            region->next->prev = region->prev;
    }

    void ReleasePage(PoolPage* page) noexcept
    {
        const std::lock_guard<std::mutex> guard(m_regionLock);
        PoolRegion* region = page->region;
        if (region->freePages == 0)
            LinkRegion(region);
        region->freePages |= 1u << page->nIndex;
        if (region->freePages != kAllPagesFree)
            return;
        UnlinkRegion(region);
        if (m_nEmptyRegions >= kKeptEmptyRegions)
        {
            FreeRegion(region);
            return;
        }
        region->next = m_pEmptyRegions;
        m_pEmptyRegions = region;
        ++m_nEmptyRegions;
    }

    std::array<StoreClass, kClassCount> m_classes;
    std::mutex m_regionLock;
    PoolRegion* m_pRegions = nullptr;      // in use, with free pages
    PoolRegion* m_pEmptyRegions = nullptr; // none of whose pages is in use
    std::size_t m_nEmptyRegions = 0;
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
            }
            Store().GiveSlots(nClass, cache.head);
            cache.head = nullptr;
            cache.length = 0;
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

// Refills an empty list from the store's free slots, or from a fresh page.
[[gnu::noinline]] void* Refill(ClassCache& cache, std::size_t nClass)
{
    const SlotList slots = Store().TakeSlots(nClass);
    if (slots.head != nullptr)
    {
        cache.head = slots.head->next;
        cache.length = slots.length - 1;
        return slots.head;
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
    FreeSlot* batch = cache.head;
    cache.head = last->next;
    cache.length -= nBatchLength;
    last->next = nullptr;
    Store().GiveSlots(nClass, batch);
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

[[gnu::noinline]] void FreeWithoutCache(FreeSlot* slot, std::size_t nClass) noexcept
{
    slot->next = nullptr;
    Store().GiveSlots(nClass, slot);
}

[[gnu::noinline]] void* AllocateApart(std::size_t nBytes)
{
    void* p = ::operator new(nBytes != 0 ? nBytes : 1, std::nothrow);
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}

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
        // The next slot is asked for while this one is used: a list of
        // slots freed long ago would otherwise stall every allocation.
        __builtin_prefetch(cache.head, 1);
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
    if (kEveryBlockApart)
        return;
    if (t_pCache != nullptr)
        t_pCache->Flush();
    Store().ReleaseEmptyRegions();
}

std::size_t AfxPoolReservedBytes() noexcept
{
    return Store().ReservedBytes();
}
