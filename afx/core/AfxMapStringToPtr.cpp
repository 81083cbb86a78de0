#include "AfxMapStringToPtr.h"

#include "AfxPlex.h"

#include <new>

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CMapStringToPtr::~CMapStringToPtr()
{
    RemoveAll();
}

UINT CMapStringToPtr::HashKey(LPCWSTR key) noexcept
{
    UINT nHash = 0;
    if (key != nullptr)
        while (*key != 0)
            nHash = (nHash << 5) + nHash + *key++;
    return nHash;
}

void CMapStringToPtr::Rehash(UINT nNewSize)
{
    if (static_cast<std::size_t>(nNewSize) > SIZE_MAX / sizeof(CAssoc*))
        AfxThrowMemoryException();
    auto** pNewTable = static_cast<CAssoc**>(AfxAllocateBlock(sizeof(CAssoc*) * nNewSize));
    for (UINT i = 0; i < nNewSize; ++i)
        pNewTable[i] = nullptr;
    for (CAssoc* p = m_pFirst; p != nullptr; p = p->pNextInOrder)
    {
        const UINT nBucket = p->nHashValue % nNewSize;
        p->pNextInBucket = pNewTable[nBucket];
        pNewTable[nBucket] = p;
    }
    ::operator delete(m_pHashTable);
    m_pHashTable = pNewTable;
    m_nHashTableSize = nNewSize;
}

void CMapStringToPtr::RemoveAll()
{
    for (CAssoc* p = m_pFirst; p != nullptr;)
    {
        CAssoc* pNext = p->pNextInOrder;
        p->~CAssoc();
        p = pNext;
    }
    ::operator delete(m_pHashTable);
    m_pHashTable = nullptr;
    m_nCount = 0;
    m_pFirst = m_pLast = nullptr;
    m_freeAssocs.Reset();
    if (m_pBlocks != nullptr)
        m_pBlocks->FreeDataChain();
    m_pBlocks = nullptr;
}

CMapStringToPtr::CAssoc* CMapStringToPtr::NewAssoc(LPCWSTR key, UINT nHashValue)
{
    void* pSlot = m_freeAssocs.Take(m_pBlocks, static_cast<std::size_t>(m_nBlockSize), sizeof(CAssoc));
    CAssoc* pAssoc = nullptr;
    try
    {
        pAssoc = new (pSlot) CAssoc(key, nHashValue);
    }
    catch (...)
    {
        m_freeAssocs.Give(pSlot);
        throw;
    }
    ++m_nCount;
    return pAssoc;
}

void CMapStringToPtr::FreeAssoc(CAssoc* pAssoc) noexcept
{
    pAssoc->~CAssoc();
    m_freeAssocs.Give(pAssoc);
    --m_nCount;
    if (m_nCount == 0)
        RemoveAll();
}

CMapStringToPtr::CAssoc* CMapStringToPtr::GetAssocAt(LPCWSTR key, UINT& nHashBucket, UINT& nHashValue) const
{
    nHashValue = HashKey(key);
    nHashBucket = nHashValue % m_nHashTableSize;
    const WCHAR* k = key != nullptr ? key : u"";
    // A small map has no table yet: its few entries are compared in order.
    CAssoc* p = m_pHashTable != nullptr ? m_pHashTable[nHashBucket] : m_pFirst;
    for (; p != nullptr; p = m_pHashTable != nullptr ? p->pNextInBucket : p->pNextInOrder)
        if (p->nHashValue == nHashValue && p->key == k)
            return p;
    return nullptr;
}

BOOL CMapStringToPtr::Lookup(LPCWSTR key, void*& rValue) const
{
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (pAssoc == nullptr)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

void*& CMapStringToPtr::operator[](LPCWSTR key)
{
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (pAssoc != nullptr)
        return pAssoc->value;

    // Most maps stay small; they get a table only once a scan would be long.
    if (m_pHashTable == nullptr && m_nCount >= kLinearLimit)
        Rehash(m_nHashTableSize);
    else if (m_pHashTable != nullptr && static_cast<UINT>(m_nCount) >= m_nHashTableSize && m_nHashTableSize < 0x40000000u)
        Rehash(m_nHashTableSize * 2 + 1); // keep chains short for elements with many attributes
    nBucket = nHash % m_nHashTableSize;

    pAssoc = NewAssoc(key != nullptr ? key : u"", nHash);
    if (m_pHashTable != nullptr)
    {
        pAssoc->pNextInBucket = m_pHashTable[nBucket];
        m_pHashTable[nBucket] = pAssoc;
    }
    pAssoc->pPrevInOrder = m_pLast;
    if (m_pLast != nullptr)
        m_pLast->pNextInOrder = pAssoc;
    else
        m_pFirst = pAssoc;
    m_pLast = pAssoc;
    return pAssoc->value;
}

BOOL CMapStringToPtr::RemoveKey(LPCWSTR key)
{
    UINT nBucket, nHash;
    CAssoc* pAssoc = GetAssocAt(key, nBucket, nHash);
    if (pAssoc == nullptr)
        return FALSE;

    if (m_pHashTable != nullptr)
    {
        CAssoc** ppLink = &m_pHashTable[nBucket];
        while (*ppLink != pAssoc)
            ppLink = &(*ppLink)->pNextInBucket;
        *ppLink = pAssoc->pNextInBucket;
    }

    if (pAssoc->pPrevInOrder != nullptr)
        pAssoc->pPrevInOrder->pNextInOrder = pAssoc->pNextInOrder;
    else
        m_pFirst = pAssoc->pNextInOrder;
    if (pAssoc->pNextInOrder != nullptr)
        pAssoc->pNextInOrder->pPrevInOrder = pAssoc->pPrevInOrder;
    else
        m_pLast = pAssoc->pPrevInOrder;

    FreeAssoc(pAssoc);
    return TRUE;
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const
{
    if (rNextPosition == nullptr)
        AfxThrowInvalidArgException();
    CAssoc* pAssoc = FromPair(reinterpret_cast<CPair*>(rNextPosition));
    rKey = pAssoc->key;
    rValue = pAssoc->value;
    rNextPosition = ToPosition(pAssoc->pNextInOrder);
}

const CMapStringToPtr::CPair* CMapStringToPtr::PGetFirstAssoc() const noexcept
{
    return m_pFirst;
}

const CMapStringToPtr::CPair* CMapStringToPtr::PGetNextAssoc(const CPair* pAssoc) const noexcept
{
    return pAssoc == nullptr ? m_pFirst : FromPair(pAssoc)->pNextInOrder;
}

CMapStringToPtr::CPair* CMapStringToPtr::PGetFirstAssoc() noexcept
{
    return m_pFirst;
}

CMapStringToPtr::CPair* CMapStringToPtr::PGetNextAssoc(const CPair* pAssoc) noexcept
{
    return pAssoc == nullptr ? m_pFirst : FromPair(pAssoc)->pNextInOrder;
}
