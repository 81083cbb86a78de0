// CMapStringToPtr: a map from strings to untyped pointers. It enumerates in
// insertion order (a replaced key keeps its place), so that a document read
// and written again keeps its attribute order.
//
// The entries lie side by side in one block from the layer's pool, which an
// empty map does not have; past sixteen entries an index of hashes finds them.
// A removed entry leaves a gap until the map next grows, so that a walk may
// remove the entry it has just passed. A position is an entry's place in the
// block: one that no longer names an entry is refused, never followed.
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

    CMapStringToPtr() noexcept = default;
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
    // The same, keeping the key's buffer rather than copying its text.
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

    // The place of the entry with this key, or -1.
    int FindEntry(const WCHAR* pKey, int nLength, UINT& nHash) const;
    void*& Insert(const CString& key, UINT nHash);
    void Regrow(int nCapacity);
    int FirstEntryFrom(int nEntry) const noexcept;

    CTable* m_pTable = nullptr;
};
