#include "AfxPtrList.h"

#include "AfxPlex.h"

CPtrList::CPtrList(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CPtrList::~CPtrList()
{
    RemoveAll();
}

CPtrList::CNode* CPtrList::ToNode(POSITION pos)
{
    if (pos == nullptr)
        AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(pos);
}

CPtrList::CNode* CPtrList::NewNode(CNode* pPrev, CNode* pNext)
{
    auto* pNode = static_cast<CNode*>(m_freeNodes.Take(m_pBlocks, static_cast<std::size_t>(m_nBlockSize), sizeof(CNode)));
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    pNode->data = nullptr;
    ++m_nCount;
    return pNode;
}

void CPtrList::FreeNode(CNode* pNode) noexcept
{
    m_freeNodes.Give(pNode);
    --m_nCount;
    if (m_nCount == 0)
        RemoveAll();
}

void CPtrList::RemoveAll()
{
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = nullptr;
    m_freeNodes.Reset();
    if (m_pBlocks != nullptr)
        m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
}

void*& CPtrList::GetHead()
{
    if (m_pNodeHead == nullptr)
        AfxThrowInvalidArgException();
    return m_pNodeHead->data;
}

void* CPtrList::GetHead() const
{
    if (m_pNodeHead == nullptr)
        AfxThrowInvalidArgException();
    return m_pNodeHead->data;
}

POSITION CPtrList::AddTail(void* newElement)
{
    CNode* pNewNode = NewNode(m_pNodeTail, nullptr);
    pNewNode->data = newElement;
    if (m_pNodeTail != nullptr)
        m_pNodeTail->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    m_pNodeTail = pNewNode;
    return ToPosition(pNewNode);
}

void* CPtrList::RemoveHead()
{
    if (m_pNodeHead == nullptr)
        AfxThrowInvalidArgException();
    void* data = m_pNodeHead->data;
    RemoveAt(ToPosition(m_pNodeHead));
    return data;
}

void*& CPtrList::GetNext(POSITION& rPosition)
{
    CNode* pNode = ToNode(rPosition);
    rPosition = ToPosition(pNode->pNext);
    return pNode->data;
}

void* CPtrList::GetNext(POSITION& rPosition) const
{
    CNode* pNode = ToNode(rPosition);
    rPosition = ToPosition(pNode->pNext);
    return pNode->data;
}

void CPtrList::RemoveAt(POSITION position)
{
    CNode* pOldNode = ToNode(position);
    if (pOldNode == m_pNodeHead)
        m_pNodeHead = pOldNode->pNext;
    else
        pOldNode->pPrev->pNext = pOldNode->pNext;
    if (pOldNode == m_pNodeTail)
        m_pNodeTail = pOldNode->pPrev;
    else
        pOldNode->pNext->pPrev = pOldNode->pPrev;
    FreeNode(pOldNode);
}

POSITION CPtrList::Find(void* searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter == nullptr ? m_pNodeHead : reinterpret_cast<CNode*>(startAfter)->pNext;
    for (; pNode != nullptr; pNode = pNode->pNext)
        if (pNode->data == searchValue)
            return ToPosition(pNode);
    return nullptr;
}
