// CString: a string of UTF-16 code units with the CStringW interface that the
// toolkit uses. It may hold embedded NUL units; GetString() is always
// NUL-terminated. Short strings live inside the object without allocation.
#pragma once

#include "AfxAllocator.h"
#include "AfxTypes.h"

#include <string>

class AFX_CORE_API CString
{
public:
    typedef std::basic_string<WCHAR, std::char_traits<WCHAR>, CAfxAllocator<WCHAR>> Storage;

    CString() noexcept = default;
    CString(LPCWSTR psz) { Assign(psz); }
    CString(LPCWSTR pch, int nLength);
    CString(WCHAR ch, int nRepeat = 1);
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    ~CString() = default;

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz) { Assign(psz); return *this; }
    CString& operator=(WCHAR ch) { m_str.assign(1, ch); return *this; }

    int GetLength() const noexcept { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const noexcept { return m_str.empty(); }
    void Empty() noexcept { m_str.clear(); }
    LPCWSTR GetString() const noexcept { return m_str.c_str(); }
    operator LPCWSTR() const noexcept { return m_str.c_str(); }

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

    // Direct access to the buffer, for code that writes characters in place.
    // GetBuffer(n) makes room for at least n units and keeps the content;
    // ReleaseBuffer(n) sets the length to n, or to the first NUL when n is -1.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufferLength);
    LPWSTR GetBufferSetLength(int nLength);
    void ReleaseBuffer(int nNewLength = -1);
    void Preallocate(int nLength);
    void Truncate(int nNewLength);
    int GetAllocLength() const noexcept { return static_cast<int>(m_str.capacity()); }

    friend bool operator==(const CString& a, const CString& b) noexcept { return a.m_str == b.m_str; }
    friend bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
    friend bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
    friend bool operator!=(const CString& a, LPCWSTR b) { return a.Compare(b) != 0; }
    friend bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
    friend bool operator!=(LPCWSTR a, const CString& b) { return b.Compare(a) != 0; }

    friend CString operator+(const CString& a, const CString& b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(const CString& a, LPCWSTR b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(LPCWSTR a, const CString& b) { CString r(a); r.Append(b); return r; }
    friend CString operator+(const CString& a, WCHAR b) { CString r(a); r.AppendChar(b); return r; }

    // The units as a standard string view, for hashing and bulk comparison.
    const Storage& Units() const noexcept { return m_str; }

private:
    void Assign(LPCWSTR psz);
    static void CheckLength(int nLength);
    void CheckGrowth(std::size_t nExtra) const;

    Storage m_str;
};

// Length of a NUL-terminated UTF-16 text; null counts as empty.
inline int AfxStringLength(LPCWSTR psz) noexcept
{
    return psz == nullptr ? 0 : static_cast<int>(std::char_traits<WCHAR>::length(psz));
}
