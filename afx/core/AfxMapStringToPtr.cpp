#include "AfxMapStringToPtr.h"

#include "AfxExceptions.h"
#include "AfxPool.h"

#include <chrono>
#include <cstring>
#include <cstdint>
#include <new>
#include <random>
#include <string>

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

namespace
{
UINT HashUnits(const WCHAR* pKey, std::size_t nLength) noexcept
{
    const SipKey& secret = ProcessKey();
    SipState state = {secret.k0 ^ 0x736f6d6570736575ULL, secret.k1 ^ 0x646f72616e646f6dULL,
                      secret.k0 ^ 0x6c7967656e657261ULL, secret.k1 ^ 0x7465646279746573ULL};
    // Four code units to a word; the length in bytes tops the last word.
    std::uint64_t word = 0;
    std::uint64_t nUnits = 0;
    for (; nUnits < static_cast<std::uint64_t>(nLength); ++nUnits)
    {
        word |= std::uint64_t{pKey[nUnits]} << (16 * (nUnits % 4));
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
} // namespace

UINT CMapStringToPtr::HashKey(LPCWSTR key) noexcept
{
    // Measured in a size_t: a text may be longer than an int counts.
    return HashUnits(key != nullptr ? key : u"", key != nullptr ? std::char_traits<WCHAR>::length(key) : 0);
}

namespace
{
// Up to this many places, a map is searched in order.
constexpr int kLinearLimit = 16;


int IndexBitsFor(int nCapacity)
{
    if (nCapacity <= kLinearLimit)
        return 0;
    int nBits = 1;
    while ((std::int64_t{1} << nBits) < 2 * std::int64_t{nCapacity})
        ++nBits;
    return nBits;
}

// The bytes of a table, worked out in 64 bits: where a size_t has 32, the
// index alone of 2^30 places would wrap it.
std::uint64_t TableBytes64(int nCapacity, int nIndexBits)
{
    return std::uint64_t{sizeof(CMapStringToPtr::CPair)} * static_cast<std::uint64_t>(nCapacity) +
           (nIndexBits == 0 ? 0 : std::uint64_t{sizeof(UINT)} << nIndexBits) + 4 * sizeof(int);
}

// The same for a table that exists, and so fits.
std::size_t TableBytes(int nCapacity, int nIndexBits)
{
    return static_cast<std::size_t>(TableBytes64(nCapacity, nIndexBits));
}

// The length of a key given as text; false when it is longer than a
// CString can be, and so no key.
bool KeyLength(LPCWSTR key, int& rnLength) noexcept
{
    const std::size_t nLength = key != nullptr ? std::char_traits<WCHAR>::length(key) : 0;
    rnLength = static_cast<int>(nLength);
    return nLength <= static_cast<std::size_t>(INT32_MAX);
}

bool SameKey(const CString& key, const WCHAR* pKey, int nLength)
{
    if (key.GetLength() != nLength)
        return false;
    // Keys that share a buffer, as the names of one document do, are the same.
    return key.GetString() == pKey ||
           std::char_traits<WCHAR>::compare(key.GetString(), pKey, static_cast<std::size_t>(nLength)) == 0;
}
} // namespace

CMapStringToPtr::CMapStringToPtr() noexcept : m_storage{}
{
}

void CMapStringToPtr::SetTable(CTable* pTable) noexcept
{
    std::memset(m_storage, 0, sizeof m_storage);
    const std::uintptr_t word = reinterpret_cast<std::uintptr_t>(pTable) | (pTable != nullptr ? 1 : 0);
    std::memcpy(m_storage, &word, sizeof word);
}

void CMapStringToPtr::RemoveEntries() noexcept
{
    CTable* pTable = Table();
    CPair* pEntries = Entries();
    for (int i = PlacesUsed(); i-- > 0;)
        pEntries[i].~CPair();
    if (pTable != nullptr)
        AfxPoolFree(pTable, TableBytes(pTable->nCapacity, pTable->nIndexBits));
    SetTable(nullptr);
}

void CMapStringToPtr::InitHashTable(UINT nHashSize, BOOL bAllocNow)
{
    // One entry needs no table.
    const CTable* pTable = Table();
    if (bAllocNow && nHashSize > 1 && nHashSize > static_cast<UINT>(pTable == nullptr ? 0 : pTable->nCapacity))
        Regrow(static_cast<int>(std::min<UINT>(nHashSize, INT32_MAX)));
}

// A new block of nCapacity places holding the entries in order, without
// the gaps of removed ones.
CMapStringToPtr::CTable* CMapStringToPtr::Regrow(int nCapacity)
{
    const int nCount = static_cast<int>(GetCount());
    if (nCapacity < nCount)
        nCapacity = nCount;
    static_assert(sizeof(CTable) == 4 * sizeof(int), "the entries follow the header");
    const int nIndexBits = IndexBitsFor(nCapacity);
    if (nIndexBits >= 31 || TableBytes64(nCapacity, nIndexBits) > static_cast<std::uint64_t>(PTRDIFF_MAX))
        AfxThrowMemoryException();
    auto* pNew = static_cast<CTable*>(AfxPoolAllocate(TableBytes(nCapacity, nIndexBits)));
    pNew->nCount = 0;
    pNew->nUsed = 0;
    pNew->nCapacity = nCapacity;
    pNew->nIndexBits = nIndexBits;
    if (nIndexBits != 0)
        std::char_traits<char>::assign(reinterpret_cast<char*>(pNew->Index()), std::size_t{sizeof(UINT)} << nIndexBits, 0);

    // Copying a key only counts a reference: nothing here can fail.
    CPair* pNewEntries = pNew->Entries();
    CPair* pOld = Entries();
    for (int i = 0, nUsed = PlacesUsed(); i < nUsed; ++i)
    {
        if (IsGap(pOld[i]))
            continue;
        const int nPlace = pNew->nUsed++;
        new (&pNewEntries[nPlace]) CPair{pOld[i].key, pOld[i].value};
        ++pNew->nCount;
        if (nIndexBits != 0)
        {
            UINT nSlot = HashUnits(pOld[i].key.GetString(), pOld[i].key.GetLength()) & pNew->IndexMask();
            while (pNew->Index()[nSlot] != 0)
                nSlot = (nSlot + 1) & pNew->IndexMask();
            pNew->Index()[nSlot] = static_cast<UINT>(nPlace) + 1;
        }
    }
    RemoveAll();
    SetTable(pNew);
    return pNew;
}

int CMapStringToPtr::FindEntry(const WCHAR* pKey, int nLength, UINT& nHash) const
{
    const CTable* pTable = Table();
    if (pTable == nullptr || pTable->nIndexBits == 0)
    {
        const CPair* pEntries = Entries();
        for (int i = 0, nUsed = PlacesUsed(); i < nUsed; ++i)
            if (!IsGap(pEntries[i]) && SameKey(pEntries[i].key, pKey, nLength))
                return i;
        return -1;
    }
    nHash = HashUnits(pKey, nLength);
    const CPair* pEntries = Entries();
    const UINT* pIndex = const_cast<CTable*>(pTable)->Index();
    for (UINT nSlot = nHash & pTable->IndexMask(); pIndex[nSlot] != 0; nSlot = (nSlot + 1) & pTable->IndexMask())
    {
        const int nPlace = static_cast<int>(pIndex[nSlot]) - 1;
        if (!IsGap(pEntries[nPlace]) && SameKey(pEntries[nPlace].key, pKey, nLength))
            return nPlace;
    }
    return -1;
}

void*& CMapStringToPtr::Insert(const CString& key, UINT nHash)
{
    CTable* pTable = Table();
    if (pTable == nullptr && !HoldsOne())
    {
        CPair* pEntry = new (m_storage) CPair{key, nullptr};
        return pEntry->value;
    }
    const bool bHashed = pTable != nullptr && pTable->nIndexBits != 0;
    if (pTable == nullptr)
        pTable = Regrow(2);
    else if (pTable->nUsed == pTable->nCapacity)
        pTable = Regrow(pTable->nCount <= pTable->nUsed / 2 ? pTable->nCapacity
                                                            : static_cast<int>(std::min<std::int64_t>(INT32_MAX, 2 * std::int64_t{pTable->nCapacity})));
    if (pTable->nUsed == pTable->nCapacity)
        AfxThrowMemoryException(); // as many entries as an int counts
    const int nPlace = pTable->nUsed++;
    CPair* pEntry = new (&pTable->Entries()[nPlace]) CPair{key, nullptr};
    ++pTable->nCount;
    if (pTable->nIndexBits != 0)
    {
        if (!bHashed)
            nHash = HashUnits(key.GetString(), key.GetLength());
        UINT* pIndex = pTable->Index();
        UINT nSlot = nHash & pTable->IndexMask();
        while (pIndex[nSlot] != 0)
            nSlot = (nSlot + 1) & pTable->IndexMask();
        pIndex[nSlot] = static_cast<UINT>(nPlace) + 1;
    }
    return pEntry->value;
}

BOOL CMapStringToPtr::Lookup(LPCWSTR key, void*& rValue) const
{
    UINT nHash = 0;
    int nLength;
    if (!KeyLength(key, nLength))
        return FALSE;
    const int nPlace = FindEntry(key != nullptr ? key : u"", nLength, nHash);
    if (nPlace < 0)
        return FALSE;
    rValue = Entries()[nPlace].value;
    return TRUE;
}

void*& CMapStringToPtr::operator[](LPCWSTR key)
{
    const WCHAR* pKey = key != nullptr ? key : u"";
    int nLength;
    if (!KeyLength(key, nLength))
        AfxThrowMemoryException(); // as a CString of it would

    UINT nHash = 0;
    const int nPlace = FindEntry(pKey, nLength, nHash);
    if (nPlace >= 0)
        return Entries()[nPlace].value;
    return Insert(CString(pKey, nLength), nHash);
}

void*& CMapStringToPtr::operator[](const CString& key)
{
    UINT nHash = 0;
    const int nPlace = FindEntry(key.GetString(), key.GetLength(), nHash);
    if (nPlace >= 0)
        return Entries()[nPlace].value;
    return Insert(key, nHash);
}

BOOL CMapStringToPtr::RemoveKey(LPCWSTR key)
{
    UINT nHash = 0;
    int nLength;
    if (!KeyLength(key, nLength))
        return FALSE;
    const int nPlace = FindEntry(key != nullptr ? key : u"", nLength, nHash);
    if (nPlace < 0)
        return FALSE;
    if (GetCount() == 1)
    {
        RemoveAll();
        return TRUE;
    }
    // The gap keeps its place, and its index entry, until the map regrows.
    CPair* pEntry = &Entries()[nPlace];
    pEntry->~CPair();
    new (pEntry) CPair{CString(), &s_gap};
    if (CTable* pTable = Table())
        --pTable->nCount;
    return TRUE;
}

char CMapStringToPtr::s_gap;

void CMapStringToPtr::RefusePosition()
{
    AfxThrowInvalidArgException();
}

void CMapStringToPtr::GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const
{
    const CPair* pPair = GetNextPair(rNextPosition);
    rKey = pPair->key;
    rValue = pPair->value;
}

