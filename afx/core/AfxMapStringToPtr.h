// CMapStringToPtr: a map from strings to untyped pointers. It enumerates in
// insertion order (a replaced key keeps its place), so that a document read
// and written again keeps its attribute order.
//
// A map of one entry holds it in itself, as most elements with attributes
// have one; more entries lie side by side in one block from the layer's pool,
// past sixteen with an index of hashes to find them. A removed entry leaves a
// gap until the map next grows, so that a walk may remove the entry it has
// just passed. A position is an entry's place in the block: one that no
// longer names an entry is refused, never followed.
#pragma once

#include "AfxString.h"
#include "AfxTypes.h"

#include <cstdint>
#include <cstring>
#include <utility>

class AFX_CORE_API CMapStringToPtr
{
public:
    struct CPair
    {
        const CString key;
        void* value;
    };

    CMapStringToPtr() noexcept;
    CMapStringToPtr(const CMapStringToPtr&) = delete;
    CMapStringToPtr& operator=(const CMapStringToPtr&) = delete;
    ~CMapStringToPtr() { RemoveAll(); }

    INT_PTR GetCount() const noexcept
    {
        int nPlaces;
        const CTable* pTable = Places(nPlaces).second;
        return pTable != nullptr ? pTable->nCount : nPlaces;
    }
    BOOL IsEmpty() const noexcept { return GetCount() == 0; }

    // Makes room for nHashSize entries at once, so that a map whose size is
    // known is allocated once.
    void InitHashTable(UINT nHashSize, BOOL bAllocNow = TRUE);

    BOOL Lookup(LPCWSTR key, void*& rValue) const;
    void*& operator[](LPCWSTR key);
    // The same, keeping the key's buffer rather than copying its text. The
    // key is taken whole: one that holds a NUL is found by no text.
    void*& operator[](const CString& key);
    void SetAt(LPCWSTR key, void* newValue) { (*this)[key] = newValue; }
    void SetAt(const CString& key, void* newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(LPCWSTR key);
    void RemoveAll() noexcept
    {
        if (!IsEmpty())
            RemoveEntries();
    }

    // Enumeration in insertion order.
    POSITION GetStartPosition() const noexcept
    {
        int nPlaces;
        const CPair* pPairs = Places(nPlaces).first;
        return ToPosition(FirstEntryFrom(pPairs, nPlaces, 0));
    }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;
    // The entry at the position, which moves on; the entry stays valid until
    // the map changes.
    const CPair* GetNextPair(POSITION& rNextPosition) const
    {
        int nPlaces;
        const CPair* pPairs = Places(nPlaces).first;
        const std::uintptr_t nPosition = reinterpret_cast<std::uintptr_t>(rNextPosition);
        // A position past the entries, or of a gap, names nothing.
        if (nPosition == 0 || nPosition > static_cast<std::uintptr_t>(nPlaces) || IsGap(pPairs[nPosition - 1]))
            RefusePosition();
        rNextPosition = ToPosition(FirstEntryFrom(pPairs, nPlaces, static_cast<int>(nPosition)));
        return &pPairs[nPosition - 1];
    }
    const CPair* PGetFirstAssoc() const noexcept { return PGetNextAssoc(nullptr); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const noexcept
    {
        int nPlaces;
        const CPair* pPairs = Places(nPlaces).first;
        const int nEntry = FirstEntryFrom(pPairs, nPlaces, pAssoc == nullptr ? 0 : static_cast<int>(pAssoc - pPairs) + 1);
        return nEntry < 0 ? nullptr : &pPairs[nEntry];
    }
    CPair* PGetFirstAssoc() noexcept { return const_cast<CPair*>(static_cast<const CMapStringToPtr*>(this)->PGetFirstAssoc()); }
    CPair* PGetNextAssoc(const CPair* pAssoc) noexcept
    {
        return const_cast<CPair*>(static_cast<const CMapStringToPtr*>(this)->PGetNextAssoc(pAssoc));
    }

    // Differs from process to process: it is keyed with a random secret.
    static UINT HashKey(LPCWSTR key) noexcept;

private:
    // The block of a map of more than one entry: this header, the entries,
    // and past sixteen places an index of 2^nIndexBits places (0: empty, else
    // an entry's place plus one), probed in turn from a key's hash.
    struct CTable
    {
        int nCount;    // entries
        int nUsed;     // places taken, removed entries' gaps included
        int nCapacity; // places
        int nIndexBits;

        CPair* Entries() noexcept { return reinterpret_cast<CPair*>(this + 1); }
        const CPair* Entries() const noexcept { return reinterpret_cast<const CPair*>(this + 1); }
        UINT* Index() noexcept { return reinterpret_cast<UINT*>(Entries() + nCapacity); }
        UINT IndexMask() const noexcept { return (1u << nIndexBits) - 1; }
    };

    // A removed entry's value: no caller can hold this address.
    static char s_gap;
    static bool IsGap(const CPair& pair) noexcept { return pair.value == &s_gap; }

    // The entries in place order, gaps included, and their number; the
    // table when there is one.
    std::pair<const CPair*, const CTable*> Places(int& rnPlaces) const noexcept
    {
        std::uintptr_t word;
        std::memcpy(&word, m_storage, sizeof word);
        const auto* pTable = reinterpret_cast<const CTable*>(word & ~std::uintptr_t{1});
        if ((word & 1) != 0 && pTable != nullptr)
        {
            rnPlaces = pTable->nUsed;
            return {pTable->Entries(), pTable};
        }
        rnPlaces = word != 0 ? 1 : 0;
        return {reinterpret_cast<const CPair*>(m_storage), nullptr};
    }

    static int FirstEntryFrom(const CPair* pPairs, int nPlaces, int nEntry) noexcept
    {
        for (; nEntry < nPlaces; ++nEntry)
            if (!IsGap(pPairs[nEntry]))
                return nEntry;
        return -1;
    }
    static POSITION ToPosition(int nEntry) noexcept
    {
        return nEntry < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<std::uintptr_t>(nEntry) + 1);
    }
    [[noreturn]] static void RefusePosition();

    CPair* Entries() const noexcept { int nPlaces; return const_cast<CPair*>(Places(nPlaces).first); }
    int PlacesUsed() const noexcept { int nPlaces; Places(nPlaces); return nPlaces; }
    CTable* Table() const noexcept { int nPlaces; return const_cast<CTable*>(Places(nPlaces).second); }
    bool HoldsOne() const noexcept { return Table() == nullptr && PlacesUsed() == 1; }
    void SetTable(CTable* pTable) noexcept;
    void RemoveEntries() noexcept;

    // The place of the entry with this key, or -1.
    int FindEntry(const WCHAR* pKey, int nLength, UINT& nHash) const;
    void*& Insert(const CString& key, UINT nHash);
    CTable* Regrow(int nCapacity);

    // Empty: zeros. One entry: that entry. More: the first word is the
    // table's address with its lowest bit set, which a string's never has.
    alignas(CPair) unsigned char m_storage[sizeof(CPair)];
};
