// CPtrList: a doubly linked list of untyped pointers, nodes allocated in blocks.
#pragma once

#include "AfxPlex.h"
#include "AfxTypes.h"

class AFX_CORE_API CPtrList
{
public:
    explicit CPtrList(INT_PTR nBlockSize = 10);
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;
    ~CPtrList();

    INT_PTR GetCount() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    void*& GetHead();
    void* GetHead() const;

    void* RemoveHead();
    POSITION AddTail(void* newElement);
    void RemoveAll();

    POSITION GetHeadPosition() const noexcept { return ToPosition(m_pNodeHead); }
    void*& GetNext(POSITION& rPosition);
    void* GetNext(POSITION& rPosition) const;
    void RemoveAt(POSITION position);

    // The first entry holding searchValue after startAfter (from the head when null).
    POSITION Find(void* searchValue, POSITION startAfter = nullptr) const;

private:
    struct CNode
    {
        CNode* pNext;
        CNode* pPrev;
        void* data;
    };

    static POSITION ToPosition(CNode* p) noexcept { return reinterpret_cast<POSITION>(p); }
    static CNode* ToNode(POSITION pos);
    CNode* NewNode(CNode* pPrev, CNode* pNext);
    void FreeNode(CNode* pNode) noexcept;

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
    CPlexFreeList m_freeNodes;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};
