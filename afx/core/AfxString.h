/// @file
/// CString: a string of UTF-16 code units.
#pragma once

#include "AfxTypes.h"

#include <atomic>
#include <climits>
#include <cstddef>
#include <string_view>

#if defined(__has_include)
#  if __has_include(<sys/single_threaded.h>)
#    include <sys/single_threaded.h>
#  endif
#endif

/// The head of a string's buffer; the units and a NUL follow it.
struct CStringData
{
    std::atomic<int> nRefs; ///< the strings that share the buffer
    int nDataLength;        ///< units of text
    int nAllocLength;       ///< units of room, not counting the NUL

    /// The units.
    WCHAR* data() noexcept { return reinterpret_cast<WCHAR*>(this + 1); }
};

/// A string of UTF-16 code units with the CStringW interface that the toolkit
/// uses. It may hold embedded NUL units; GetString() is always NUL-terminated.
///
/// Copies share one buffer until one of them is changed, as MFC's CString
/// does: a copy costs no allocation, only a count of references, which is
/// atomic once the process has more than one thread, so copies may live on
/// different threads. Buffers come from the layer's pool. A CString is one
/// pointer wide. Exhaustion, and lengths beyond an int, raise
/// CMemoryException*; bad indexes and negative lengths raise
/// CInvalidArgException*. A pointer from GetString() stays valid until the
/// string changes or is destroyed.
class AFX_CORE_API CString
{
public:
    /// The empty string; no allocation.
    CString() noexcept : m_pData(Nil()) {}
    /// A copy of the NUL-terminated text; empty when psz is null.
    CString(LPCWSTR psz) : m_pData(Nil())
    {
        if (psz != nullptr && *psz != 0)
            *this = psz;
    }
    /// The nLength units at pch, NULs included.
    CString(LPCWSTR pch, int nLength);
    /// nRepeat copies of ch.
    CString(WCHAR ch, int nRepeat = 1);
    /// Shares str's buffer.
    CString(const CString& str) noexcept : m_pData(str.m_pData) { AddRef(m_pData); }
    /// Takes str's buffer over, leaving str empty.
    CString(CString&& str) noexcept : m_pData(str.m_pData) { str.m_pData = Nil(); }
    /// Lets go of the buffer, freed with the last string that shares it.
    ~CString() { Release(m_pData); }

    /// Shares str's buffer.
    CString& operator=(const CString& str) noexcept
    {
        AddRef(str.m_pData);
        Release(m_pData);
        m_pData = str.m_pData;
        return *this;
    }
    /// Exchanges buffers with str.
    CString& operator=(CString&& str) noexcept
    {
        CStringData* pOld = m_pData;
        m_pData = str.m_pData;
        str.m_pData = pOld;
        return *this;
    }
    /// A copy of the text (empty when null), which may lie in this string.
    CString& operator=(LPCWSTR psz);
    /// The one unit ch.
    CString& operator=(WCHAR ch);

    /// The number of units.
    int GetLength() const noexcept { return m_pData->nDataLength; }
    /// Whether the string has no units.
    BOOL IsEmpty() const noexcept { return m_pData->nDataLength == 0; }
    /// Makes the string empty.
    void Empty() noexcept
    {
        Release(m_pData);
        m_pData = Nil();
    }
    /// The units, followed by a NUL.
    LPCWSTR GetString() const noexcept { return m_pData->data(); }
    /// The units, followed by a NUL.
    operator LPCWSTR() const noexcept { return m_pData->data(); }

    /// The unit at iChar (0 to GetLength() - 1).
    WCHAR GetAt(int iChar) const;
    /// The unit at iChar.
    WCHAR operator[](int iChar) const { return GetAt(iChar); }
    /// Sets the unit at iChar.
    void SetAt(int iChar, WCHAR ch);

    /// Appends str.
    CString& operator+=(const CString& str) { Append(str); return *this; }
    /// Appends the text (nothing when null).
    CString& operator+=(LPCWSTR psz) { Append(psz); return *this; }
    /// Appends one unit.
    CString& operator+=(WCHAR ch) { AppendChar(ch); return *this; }
    /// Appends str, NULs included; an empty string takes str's buffer.
    void Append(const CString& str);
    /// Appends the text (nothing when null).
    void Append(LPCWSTR psz);
    /// Appends nLength units, which may lie in this string.
    void Append(LPCWSTR pch, int nLength);
    /// Appends one unit.
    void AppendChar(WCHAR ch);

    /// Compares with the text as wcscmp does, up to the first NUL of either:
    /// below 0, 0 or above 0. Null compares as empty.
    int Compare(LPCWSTR psz) const;
    /// The same, ignoring case (the layer's one folding).
    int CompareNoCase(LPCWSTR psz) const;

    /// The index of the first ch at or after iStart, or -1.
    int Find(WCHAR ch, int iStart = 0) const;
    /// The index of the first pszSub at or after iStart, or -1.
    int Find(LPCWSTR pszSub, int iStart = 0) const;
    /// Up to nCount units from iFirst, clamped to the string.
    CString Mid(int iFirst, int nCount) const;
    /// Up to nCount units from the start.
    CString Left(int nCount) const;

    /// Drops white space at both ends (the layer's text white space).
    CString& Trim();
    /// Drops white space at the start.
    CString& TrimLeft();
    /// Drops white space at the end.
    CString& TrimRight();
    /// Lower-cases every unit with the layer's one folding.
    CString& MakeLower();

    /// The buffer, for code that writes units in place; the string stops
    /// sharing it.
    LPWSTR GetBuffer();
    /// The buffer with room for at least nMinBufferLength units; the content
    /// is kept. Set the length with ReleaseBuffer().
    LPWSTR GetBuffer(int nMinBufferLength);
    /// The buffer, the length set to nLength (new units are not set).
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
    /// Sets the length after writing in the buffer: to nNewLength, or to
    /// the first NUL when it is -1.
    void ReleaseBuffer(int nNewLength = -1)
    {
        if (nNewLength >= 0 && nNewLength <= m_pData->nAllocLength && m_pData != Nil() &&
            m_pData->nRefs.load(std::memory_order_acquire) == 1)
            SetLength(nNewLength);
        else
            ReleaseBufferSlowly(nNewLength);
    }
    /// Makes room for nLength units, keeping the content.
    void Preallocate(int nLength);
    /// Gives back the room beyond the content, where a smaller block holds it.
    void FreeExtra();
    /// Shortens the string to nNewLength units.
    void Truncate(int nNewLength);
    /// The units of room.
    int GetAllocLength() const noexcept { return m_pData->nAllocLength; }

    /// Equal when every unit is, NULs included.
    friend bool operator==(const CString& a, const CString& b) noexcept { return a.Units() == b.Units(); }
    /// Not equal.
    friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
    /// Equal to the text, up to the first NUL (see Compare()).
    friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
    /// Not equal to the text.
    friend bool operator!=(const CString& a, LPCWSTR b) { return a.Compare(b) != 0; }
    /// Equal to the text, up to the first NUL.
    friend bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
    /// Not equal to the text.
    friend bool operator!=(LPCWSTR a, const CString& b) { return b.Compare(a) != 0; }

    /// The two joined.
    friend CString operator+(const CString& a, const CString& b) { CString r(a); r.Append(b); return r; }
    /// The two joined.
    friend CString operator+(const CString& a, LPCWSTR b) { CString r(a); r.Append(b); return r; }
    /// The two joined.
    friend CString operator+(LPCWSTR a, const CString& b) { CString r(a); r.Append(b); return r; }
    /// The string and one unit.
    friend CString operator+(const CString& a, WCHAR b) { CString r(a); r.AppendChar(b); return r; }

    /// Every unit, embedded NULs included, for hashing and bulk comparison.
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

/// Raises the shared CMemoryException (see AfxExceptions.h).
[[noreturn]] AFX_CORE_API void AfxThrowMemoryException();

/// The length of a NUL-terminated UTF-16 text; null counts as empty. A text
/// of more units than an int counts (2^31 and more), which no CString can
/// hold, raises CMemoryException*.
inline int AfxStringLength(LPCWSTR psz)
{
    const std::size_t nLength = psz == nullptr ? 0 : std::char_traits<WCHAR>::length(psz);
    if (nLength > static_cast<std::size_t>(INT_MAX))
        AfxThrowMemoryException();
    return static_cast<int>(nLength);
}
