// CString: a string of UTF-16 code units with the CStringW interface that the
// toolkit uses. It may hold embedded NUL units; GetString() is always
// NUL-terminated.
//
// Copies share one buffer until one of them is changed, as MFC's CString
// does: a copy costs no allocation, only a count of references, which is
// atomic once the process has more than one thread. Buffers come from the
// layer's pool. A CString is one pointer wide.
#pragma once

#include "AfxTypes.h"

#include <atomic>
#include <string_view>

#if defined(__has_include)
#  if __has_include(<sys/single_threaded.h>)
#    include <sys/single_threaded.h>
#  endif
#endif

// The header of a string's buffer; the units and a NUL follow it.
struct CStringData
{
    std::atomic<int> nRefs;
    int nDataLength;
    int nAllocLength; // units, not counting the NUL

    WCHAR* data() noexcept { return reinterpret_cast<WCHAR*>(this + 1); }
};

class AFX_CORE_API CString
{
public:
    CString() noexcept : m_pData(Nil()) {}
    CString(LPCWSTR psz) : m_pData(Nil())
    {
        if (psz != nullptr && *psz != 0)
            *this = psz;
    }
    CString(LPCWSTR pch, int nLength);
    CString(WCHAR ch, int nRepeat = 1);
    CString(const CString& str) noexcept : m_pData(str.m_pData) { AddRef(m_pData); }
    CString(CString&& str) noexcept : m_pData(str.m_pData) { str.m_pData = Nil(); }
    ~CString() { Release(m_pData); }

    CString& operator=(const CString& str) noexcept
    {
        AddRef(str.m_pData);
        Release(m_pData);
        m_pData = str.m_pData;
        return *this;
    }
    CString& operator=(CString&& str) noexcept
    {
        CStringData* pOld = m_pData;
        m_pData = str.m_pData;
        str.m_pData = pOld;
        return *this;
    }
    CString& operator=(LPCWSTR psz);
    CString& operator=(WCHAR ch);

    int GetLength() const noexcept { return m_pData->nDataLength; }
    BOOL IsEmpty() const noexcept { return m_pData->nDataLength == 0; }
    void Empty() noexcept
    {
        Release(m_pData);
        m_pData = Nil();
    }
    LPCWSTR GetString() const noexcept { return m_pData->data(); }
    operator LPCWSTR() const noexcept { return m_pData->data(); }

    WCHAR GetAt(int iChar) const;
    WCHAR operator[](int iChar) const { return GetAt(iChar); }
    void SetAt(int iChar, WCHAR ch);

    CString& operator+=(const CString& str) { Append(str); return *this; }
    CString& operator+=(LPCWSTR psz) { Append(psz); return *this; }
    CString& operator+=(WCHAR ch) { AppendChar(ch); return *this; }
    void Append(const CString& str);
    void Append(LPCWSTR psz);
    void Append(LPCWSTR pch, int nLength);
    void AppendChar(WCHAR ch);

    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;

    int Find(WCHAR ch, int iStart = 0) const;
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    CString Mid(int iFirst, int nCount) const;
    CString Left(int nCount) const;

    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();
    CString& MakeLower();

    // Direct access to the buffer, for code that writes characters in place;
    // the string stops sharing its buffer. GetBuffer(n) makes room for at
    // least n units and keeps the content; ReleaseBuffer(n) sets the length
    // to n, or to the first NUL when n is -1.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength)
    {
        if (nLength >= 0 && nLength <= m_pData->nAllocLength && m_pData != Nil() &&
            m_pData->nRefs.load(std::memory_order_acquire) == 1)
        {
            SetLength(nLength);
            return m_pData->data();
        }
        return GrowBufferSetLength(nLength);
    }
    void ReleaseBuffer(int nNewLength = -1)
    {
        if (nNewLength >= 0 && nNewLength <= m_pData->nAllocLength && m_pData != Nil() &&
            m_pData->nRefs.load(std::memory_order_acquire) == 1)
            SetLength(nNewLength);
        else
            ReleaseBufferSlowly(nNewLength);
    }
    void Preallocate(int nLength);
    // Gives back the room beyond the content, where a smaller block holds it.
    void FreeExtra();
    void Truncate(int nNewLength);
    int GetAllocLength() const noexcept { return m_pData->nAllocLength; }

    friend bool operator==(const CString& a, const CString& b) noexcept { return a.Units() == b.Units(); }
    friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, LPCWSTR b) { return a.Compare(b) != 0; }
    friend bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(LPCWSTR a, const CString& b) { return b.Compare(a) != 0; }

    friend CString operator+(const CString& a, const CString& b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(const CString& a, LPCWSTR b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(LPCWSTR a, const CString& b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(const CString& a, WCHAR b) { CString r(a); r.AppendChar(b); return r; }

    // Every unit, embedded NULs included, for hashing and bulk comparison.
    std::basic_string_view<WCHAR> Units() const noexcept
    {
        return std::basic_string_view<WCHAR>(m_pData->data(), static_cast<std::size_t>(m_pData->nDataLength));
    }

private:
    // The buffer of every empty string, never freed nor written.
    struct CNilData
    {
        CStringData header;
        WCHAR nul;
    };
    static CNilData s_nil;
    static CStringData* Nil() noexcept { return &s_nil.header; }

    // Before the first thread starts, counts need no atomic operations.
    static bool SingleThreaded() noexcept
    {
#if defined(__GLIBC__) && defined(__GLIBC_MINOR__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 32)
        return __libc_single_threaded != 0;
#else
        return false;
#endif
    }

    static void AddRef(CStringData* pData) noexcept
    {
        if (pData == Nil())
            return;
        if (SingleThreaded())
            pData->nRefs.store(pData->nRefs.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        else
            pData->nRefs.fetch_add(1, std::memory_order_relaxed);
    }

    static void Release(CStringData* pData) noexcept
    {
        if (pData == Nil())
            return;
        if (SingleThreaded())
        {
            const int nRefs = pData->nRefs.load(std::memory_order_relaxed) - 1;
            pData->nRefs.store(nRefs, std::memory_order_relaxed);
            if (nRefs == 0)
                FreeData(pData);
        }
        else if (pData->nRefs.fetch_sub(1, std::memory_order_acq_rel) == 1)
        {
            FreeData(pData);
        }
    }

    static CStringData* AllocData(int nLength);
    static void FreeData(CStringData* pData) noexcept;
    static void CheckLength(int nLength);
    static int GrownLength(int nLength, int nExtra);
    int RoomFor(int nLength) const noexcept;

    // Makes the buffer this string's own with room for nLength units,
    // keeping the first nKeep units; the length is left as it was.
    void Reserve(int nLength, int nKeep);
    // This string's own buffer, unshared, with room for its content.
    WCHAR* Own();
    LPWSTR GrowBufferSetLength(int nLength);
    void ReleaseBufferSlowly(int nNewLength);
    void SetLength(int nLength) noexcept
    {
        m_pData->nDataLength = nLength;
        m_pData->data()[nLength] = 0;
    }

    CStringData* m_pData;
};

// Length of a NUL-terminated UTF-16 text; null counts as empty.
inline int AfxStringLength(LPCWSTR psz) noexcept
{
    return psz == nullptr ? 0 : static_cast<int>(std::char_traits<WCHAR>::length(psz));
}
