// The allocator behind every container of the platform layer: exhaustion
// surfaces as CMemoryException*, never as std::bad_alloc.
#pragma once

#include "AfxExceptions.h"

#include <cstddef>
#include <limits>
#include <new>

template <class T>
struct CAfxAllocator
{
    typedef T value_type;

    CAfxAllocator() noexcept = default;
    template <class U>
    CAfxAllocator(const CAfxAllocator<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        if (n > max_size())
            AfxThrowMemoryException();
        void* p = ::operator new(n * sizeof(T), std::nothrow);
        if (p == nullptr)
            AfxThrowMemoryException();
        return static_cast<T*>(p);
    }

    void deallocate(T* p, std::size_t) noexcept { ::operator delete(p); }

    static constexpr std::size_t max_size() noexcept
    {
        return static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max()) / sizeof(T);
    }

    template <class U>
    bool operator==(const CAfxAllocator<U>&) const noexcept { return true; }
    template <class U>
    bool operator!=(const CAfxAllocator<U>&) const noexcept { return false; }
};

// Raw storage for blocks of list and map entries.
inline void* AfxAllocateBlock(std::size_t bytes)
{
    void* p = ::operator new(bytes, std::nothrow);
    if (p == nullptr)
        AfxThrowMemoryException();
    return p;
}
