#include "AfxPtrList.h"

#include "AfxExceptions.h"
#include "AfxPool.h"

void CPtrList::RefusePosition()
{
    AfxThrowInvalidArgException();
}

void CPtrList::FreeNodes() noexcept
{
    CNode* pNode = m_pTail->pNext;
    m_pTail->pNext = nullptr;
    while (pNode != nullptr)
    {
        CNode* pFollowing = pNode->pNext;
        AfxPoolFree(pNode, sizeof(CNode));
        pNode = pFollowing;
    }
    m_pTail = nullptr;
    m_nCount = 0;
}

void*& CPtrList::GetHead()
{
    if (m_pTail == nullptr)
        AfxThrowInvalidArgException();
    return m_pTail->pNext->data;
}

void* CPtrList::GetHead() const
{
    if (m_pTail == nullptr)
        AfxThrowInvalidArgException();
    return m_pTail->pNext->data;
}

POSITION CPtrList::AddTail(void* newElement)
{
    auto* pNode = static_cast<CNode*>(AfxPoolAllocate(sizeof(CNode)));
    pNode->data = newElement;
    if (m_pTail == nullptr)
    {
        pNode->pNext = pNode;
    }
    else
    {
        pNode->pNext = m_pTail->pNext;
        m_pTail->pNext = pNode;
    }
    m_pTail = pNode;
    ++m_nCount;
    return ToPosition(pNode);
}

void CPtrList::Unlink(CNode* pNode, CNode* pPrev) noexcept
{
    if (pNode == pPrev)
    {
        m_pTail = nullptr; // it was the only one
    }
    else
    {
        pPrev->pNext = pNode->pNext;
        if (pNode == m_pTail)
            m_pTail = pPrev;
    }
    --m_nCount;
    AfxPoolFree(pNode, sizeof(CNode));
}

void* CPtrList::RemoveHead()
{
    if (m_pTail == nullptr)
        AfxThrowInvalidArgException();
    CNode* pHead = m_pTail->pNext;
    void* data = pHead->data;
    Unlink(pHead, m_pTail);
    return data;
}

void CPtrList::RemoveAt(POSITION position)
{
    CNode* pNode = ToNode(position);
    // A position from another list (or none left) is refused, not chased.
    CNode* pPrev = m_pTail;
    for (INT_PTR i = 0; pPrev == nullptr || pPrev->pNext != pNode; ++i)
    {
        if (pPrev == nullptr || i == m_nCount)
            AfxThrowInvalidArgException();
        pPrev = pPrev->pNext;
    }
    Unlink(pNode, pPrev);
}

POSITION CPtrList::Find(void* searchValue, POSITION startAfter) const
{
    if (m_pTail == nullptr)
        return nullptr;
    CNode* pNode = startAfter == nullptr ? m_pTail->pNext : Following(reinterpret_cast<CNode*>(startAfter));
    for (; pNode != nullptr; pNode = Following(pNode))
        if (pNode->data == searchValue)
            return ToPosition(pNode);
    return nullptr;
}
