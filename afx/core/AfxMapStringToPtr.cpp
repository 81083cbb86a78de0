#include "AfxMapStringToPtr.h"

#include "AfxPlex.h"

#include <chrono>
#include <cstdint>
#include <new>
#include <random>

CMapStringToPtr::CMapStringToPtr(INT_PTR nBlockSize) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}

CMapStringToPtr::~CMapStringToPtr()
{
    RemoveAll();
}

namespace
{
// The hash is keyed with a secret drawn once per process (SipHash-1-3), so
// that nobody can prepare keys that all land in one bucket and make every
// insertion walk them all.
struct SipKey
{
    std::uint64_t k0;
    std::uint64_t k1;
};

SipKey DrawProcessKey() noexcept
{
    SipKey key = {0, 0};
    try
    {
        std::random_device source;
        key.k0 = (std::uint64_t{source()} << 32) ^ source();
        key.k1 = (std::uint64_t{source()} << 32) ^ source();
    }
    catch (...)
    {
        // No entropy source: the clock and the address layout still differ
        // from run to run.
        static const int anchor = 0;
        key.k0 = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
        key.k1 = reinterpret_cast<std::uintptr_t>(&anchor);
    }
    return key;
}

const SipKey& ProcessKey() noexcept
{
    static const SipKey key = DrawProcessKey();
    return key;
}

constexpr std::uint64_t Rotl(std::uint64_t x, int b) noexcept
{
    return (x << b) | (x >> (64 - b));
}

struct SipState
{
    std::uint64_t v0, v1, v2, v3;

    void Round() noexcept
    {
        v0 += v1;
        v1 = Rotl(v1, 13) ^ v0;
        v0 = Rotl(v0, 32);
        v2 += v3;
        v3 = Rotl(v3, 16) ^ v2;
        v0 += v3;
        v3 = Rotl(v3, 21) ^ v0;
        v2 += v1;
        v1 = Rotl(v1, 17) ^ v2;
        v2 = Rotl(v2, 32);
    }

    void Absorb(std::uint64_t m) noexcept
    {
        v3 ^= m;
        Round();
        v0 ^= m;
    }
};
} // namespace

UINT CMapStringToPtr::HashKey(LPCWSTR key) noexcept
{
    const SipKey& secret = ProcessKey();
    SipState state = {secret.k0 ^ 0x736f6d6570736575ULL, secret.k1 ^ 0x646f72616e646f6dULL,
                      secret.k0 ^ 0x6c7967656e657261ULL, secret.k1 ^ 0x7465646279746573ULL};
    // Four code units to a word; the length in bytes tops the last word.
    std::uint64_t word = 0;
    std::uint64_t nUnits = 0;
    for (const WCHAR* p = key != nullptr ? key : u""; *p != 0; ++p, ++nUnits)
    {
        word |= std::uint64_t{*p} << (16 * (nUnits % 4));
        if (nUnits % 4 == 3)
        {
            state.Absorb(word);
            word = 0;
        }
    }
    state.Absorb(word | ((2 * nUnits) << 56));
    state.v2 ^= 0xff;
    for (int i = 0; i < 3; ++i)
        state.Round();
    const std::uint64_t hash = state.v0 ^ state.v1 ^ state.v2 ^ state.v3;
    return static_cast<UINT>(hash ^ (hash >> 32));
}

void CMapStringToPtr::Rehash(UINT nNewSize)
{
    if (static_cast<std::size_t>(nNewSize) > SIZE_MAX / sizeof(CAssoc*))
        AfxThrowMemoryException();
    auto** pNewTable = static_cast<CAssoc**>(AfxAllocateBlock(sizeof(CAssoc*) * nNewSize));
    for (UINT i = 0; i < nNewSize; ++i)
        pNewTable[i] = nullptr;
    const bool bFirstTable = m_pHashTable == nullptr;
    for (CAssoc* p = m_pFirst; p != nullptr; p = p->pNextInOrder)
    {
        if (bFirstTable)
            p->nHashValue = HashKey(p->key);
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
    const WCHAR* k = key != nullptr ? key : u"";
    nHashValue = 0;
    nHashBucket = 0;
    if (m_pHashTable == nullptr)
    {
        // A small map has no table, and its entries no hash yet: its few
        // entries are compared in order.
        for (CAssoc* p = m_pFirst; p != nullptr; p = p->pNextInOrder)
            if (p->key == k)
                return p;
        return nullptr;
    }
    nHashValue = HashKey(k);
    nHashBucket = nHashValue % m_nHashTableSize;
    for (CAssoc* p = m_pHashTable[nHashBucket]; p != nullptr; p = p->pNextInBucket)
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
    {
        Rehash(m_nHashTableSize);
        nHash = HashKey(key);
    }
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
