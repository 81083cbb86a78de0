// CMapStringToPtr: a hashed map from strings to untyped pointers. It
// enumerates in insertion order (a replaced key keeps its place), so that a
// document read and written again keeps its attribute order.
#pragma once

#include "AfxString.h"
#include "AfxTypes.h"

#include "AfxPlex.h"

class AFX_CORE_API CMapStringToPtr
{
public:
    struct CPair
    {
        const CString key;
        void* value;
    };

    explicit CMapStringToPtr(INT_PTR nBlockSize = 10);
    CMapStringToPtr(const CMapStringToPtr&) = delete;
    CMapStringToPtr& operator=(const CMapStringToPtr&) = delete;
    ~CMapStringToPtr();

    INT_PTR GetCount() const noexcept { return m_nCount; }
    BOOL IsEmpty() const noexcept { return m_nCount == 0; }

    BOOL Lookup(LPCWSTR key, void*& rValue) const;
    void*& operator[](LPCWSTR key);
    void SetAt(LPCWSTR key, void* newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(LPCWSTR key);
    void RemoveAll();

    // Enumeration in insertion order. A position is the address of an entry's CPair.
    POSITION GetStartPosition() const noexcept { return ToPosition(m_pFirst); }
    void GetNextAssoc(POSITION& rNextPosition, CString& rKey, void*& rValue) const;
    const CPair* PGetFirstAssoc() const noexcept;
    const CPair* PGetNextAssoc(const CPair* pAssoc) const noexcept;
    CPair* PGetFirstAssoc() noexcept;
    CPair* PGetNextAssoc(const CPair* pAssoc) noexcept;

    // Differs from process to process: it is keyed with a random secret.
    static UINT HashKey(LPCWSTR key) noexcept;

private:
    struct CAssoc : CPair
    {
        CAssoc(LPCWSTR k, UINT h) : CPair{CString(k), nullptr}, nHashValue(h) {}
        CAssoc* pNextInBucket = nullptr;
        CAssoc* pPrevInOrder = nullptr;
        CAssoc* pNextInOrder = nullptr;
        UINT nHashValue; // set once the map has a table
    };

    CAssoc* GetAssocAt(LPCWSTR key, UINT& nHashBucket, UINT& nHashValue) const;
    CAssoc* NewAssoc(LPCWSTR key, UINT nHashValue);
    void FreeAssoc(CAssoc* pAssoc) noexcept;
    void Rehash(UINT nNewSize);
    static CAssoc* FromPair(const CPair* p) noexcept { return static_cast<CAssoc*>(const_cast<CPair*>(p)); }
    static POSITION ToPosition(CAssoc* p) noexcept { return reinterpret_cast<POSITION>(static_cast<CPair*>(p)); }

    // Up to this many entries are found by a scan of the order list.
    static constexpr INT_PTR kLinearLimit = 8;

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
    CAssoc* m_pFirst = nullptr;
    CAssoc* m_pLast = nullptr;
    CPlexFreeList m_freeAssocs;
    CPlex* m_pBlocks = nullptr;
    INT_PTR m_nBlockSize;
};
