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
    ~CMapStringToPtr();

    INT_PTR GetCount() const noexcept;
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
    void RemoveAll() noexcept;

    // Enumeration in insertion order.
    POSITION GetStartPosition() const noexcept;
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;
    // The entry at the position, which moves on; the entry stays valid until
    // the map changes.
    const CPair* GetNextPair(POSITION& rNextPosition) const;
    const CPair* PGetFirstAssoc() const noexcept;
    const CPair* PGetNextAssoc(const CPair* pAssoc) const noexcept;
    CPair* PGetFirstAssoc() noexcept;
    CPair* PGetNextAssoc(const CPair* pAssoc) noexcept;

    // Differs from process to process: it is keyed with a random secret.
    static UINT HashKey(LPCWSTR key) noexcept;

private:
    struct CTable;

    // The entries in place order, removed ones' gaps included.
    CPair* Entries() const noexcept;
    int PlacesUsed() const noexcept;
    CTable* Table() const noexcept;
    bool HoldsOne() const noexcept;
    void SetTable(CTable* pTable) noexcept;

    // The place of the entry with this key, or -1.
    int FindEntry(const WCHAR* pKey, int nLength, UINT& nHash) const;
    void*& Insert(const CString& key, UINT nHash);
    void Regrow(int nCapacity);
    int FirstEntryFrom(int nEntry) const noexcept;

    // Empty: zeros. One entry: that entry. More: the first word is the
    // table's address with its lowest bit set, which a string's never has.
    alignas(CPair) unsigned char m_storage[sizeof(CPair)];
};
