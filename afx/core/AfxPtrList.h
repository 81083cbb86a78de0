// CPtrList: a list of untyped pointers with MFC's cursors. Nodes come one at
// a time from the layer's pool, so that an empty list holds nothing and a
// short one little. The nodes form a ring through the tail, whose successor
// is the head: the list itself is two words.
#pragma once

#include "AfxTypes.h"

class AFX_CORE_API CPtrList
{
public:
    CPtrList() noexcept = default;
    CPtrList(const CPtrList&) = delete;
    CPtrList& operator=(const CPtrList&) = delete;
    ~CPtrList() { RemoveAll(); }

    INT_PTR GetCount() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    void*& GetHead();
    void* GetHead() const;

    void* RemoveHead();
    POSITION AddTail(void* newElement);
    void RemoveAll() noexcept
    {
        if (m_pTail != nullptr)
            FreeNodes();
    }

    POSITION GetHeadPosition() const noexcept { return m_pTail != nullptr ? ToPosition(m_pTail->pNext) : nullptr; }
    void*& GetNext(POSITION& rPosition)
    {
        CNode* pNode = ToNode(rPosition);
        rPosition = ToPosition(Following(pNode));
        return pNode->data;
    }
    void* GetNext(POSITION& rPosition) const
    {
        CNode* pNode = ToNode(rPosition);
        rPosition = ToPosition(Following(pNode));
        return pNode->data;
    }
    // Takes linear time: the list keeps no links backwards.
    void RemoveAt(POSITION position);

    // The first entry holding searchValue after startAfter (from the head when null).
    POSITION Find(void* searchValue, POSITION startAfter = nullptr) const;

private:
    struct CNode
    {
        CNode* pNext;
        void* data;
    };

    static POSITION ToPosition(CNode* p) noexcept { return reinterpret_cast<POSITION>(p); }
    static CNode* ToNode(POSITION pos)
    {
        if (pos == nullptr)
            RefusePosition();
        return reinterpret_cast<CNode*>(pos);
    }
    [[noreturn]] static void RefusePosition();
    CNode* Following(const CNode* pNode) const noexcept { return pNode == m_pTail ? nullptr : pNode->pNext; }
    void Unlink(CNode* pNode, CNode* pPrev) noexcept;
    void FreeNodes() noexcept;

    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};
