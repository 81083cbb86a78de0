// A chain of raw blocks from which lists and maps carve their entries, so that
// entries are allocated a block at a time rather than one by one.
#pragma once

#include "AfxAllocator.h"

#include <cstddef>

struct CPlex
{
    CPlex* pNext;

    // Links a new block of nMax elements of cbElement bytes at the head of the chain.
    static CPlex* Create(CPlex*& pHead, std::size_t nMax, std::size_t cbElement)
    {
        if (nMax != 0 && cbElement > (SIZE_MAX - sizeof(CPlex)) / nMax)
            AfxThrowMemoryException();
        CPlex* p = static_cast<CPlex*>(AfxAllocateBlock(sizeof(CPlex) + nMax * cbElement));
        p->pNext = pHead;
        pHead = p;
        return p;
    }

    void* data() { return this + 1; }

    // Frees this block and every block after it.
    void FreeDataChain()
    {
        CPlex* p = this;
        while (p != nullptr)
        {
            CPlex* pFollowing = p->pNext;
            ::operator delete(p);
            p = pFollowing;
        }
    }
};
