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

// The free entry slots of a container whose entries come from a CPlex
// chain. A free slot's first bytes hold the link to the next free slot.
class CPlexFreeList
{
public:
    // A free slot of cbEntry bytes, from a new block of nBlockSize when none is left.
    void* Take(CPlex*& pBlocks, std::size_t nBlockSize, std::size_t cbEntry)
    {
        if (m_pFree == nullptr)
        {
            CPlex* pNewBlock = CPlex::Create(pBlocks, nBlockSize, cbEntry);
            auto* pSlot = static_cast<unsigned char*>(pNewBlock->data()) + nBlockSize * cbEntry;
            for (std::size_t i = 0; i < nBlockSize; ++i)
            {
                pSlot -= cbEntry;
                Give(pSlot);
            }
        }
        void* pSlot = m_pFree;
        m_pFree = *static_cast<void**>(pSlot);
        return pSlot;
    }

    void Give(void* pSlot) noexcept
    {
        *static_cast<void**>(pSlot) = m_pFree;
        m_pFree = pSlot;
    }

    // Forgets every slot, when their blocks are freed.
    void Reset() noexcept { m_pFree = nullptr; }

private:
    void* m_pFree = nullptr;
};
