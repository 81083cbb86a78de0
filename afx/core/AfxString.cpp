#include "AfxString.h"

#include "TextClasses.h"

#include <algorithm>

void CString::CheckLength(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
}

void CString::CheckGrowth(std::size_t nExtra) const
{
    // Lengths are ints, and past max_size() (below INT32_MAX units on 32-bit
    // platforms) the standard string would throw std::length_error: report
    // the request that cannot be met as the layer reports every exhaustion.
    const std::size_t nLimit = std::min<std::size_t>(INT32_MAX, m_str.max_size());
    if (nExtra > nLimit - m_str.size())
        AfxThrowMemoryException();
}

void CString::Assign(LPCWSTR psz)
{
    if (psz == nullptr)
        m_str.clear();
    else
        m_str.assign(psz);
}

CString::CString(LPCWSTR pch, int nLength)
{
    CheckLength(nLength);
    if (nLength > 0 && pch == nullptr)
        AfxThrowInvalidArgException();
    if (nLength > 0)
    {
        CheckGrowth(static_cast<std::size_t>(nLength));
        m_str.assign(pch, static_cast<std::size_t>(nLength));
    }
}

CString::CString(WCHAR ch, int nRepeat)
{
    CheckLength(nRepeat);
    CheckGrowth(static_cast<std::size_t>(nRepeat));
    m_str.assign(static_cast<std::size_t>(nRepeat), ch);
}

WCHAR CString::GetAt(int iChar) const
{
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    return m_str[static_cast<std::size_t>(iChar)];
}

void CString::SetAt(int iChar, WCHAR ch)
{
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    m_str[static_cast<std::size_t>(iChar)] = ch;
}

void CString::Append(const CString& str)
{
    CheckGrowth(str.m_str.size());
    m_str.append(str.m_str);
}

void CString::Append(LPCWSTR psz)
{
    Append(psz, AfxStringLength(psz));
}

void CString::Append(LPCWSTR pch, int nLength)
{
    CheckLength(nLength);
    if (nLength == 0)
        return;
    if (pch == nullptr)
        AfxThrowInvalidArgException();
    CheckGrowth(static_cast<std::size_t>(nLength));
    m_str.append(pch, static_cast<std::size_t>(nLength));
}

void CString::AppendChar(WCHAR ch)
{
    CheckGrowth(1);
    m_str.push_back(ch);
}

int CString::Compare(LPCWSTR psz) const
{
    // As wcscmp does: the comparison ends at the first NUL of either side.
    const WCHAR* a = m_str.c_str();
    const WCHAR* b = psz != nullptr ? psz : u"";
    while (*a != 0 && *a == *b)
    {
        ++a;
        ++b;
    }
    return *a < *b ? -1 : (*a > *b ? 1 : 0);
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    const WCHAR* a = m_str.c_str();
    const WCHAR* b = psz != nullptr ? psz : u"";
    while (*a != 0 && AfxToLowerW(*a) == AfxToLowerW(*b))
    {
        ++a;
        ++b;
    }
    const WCHAR la = AfxToLowerW(*a);
    const WCHAR lb = AfxToLowerW(*b);
    return la < lb ? -1 : (la > lb ? 1 : 0);
}

int CString::Find(WCHAR ch, int iStart) const
{
    if (iStart < 0 || iStart >= GetLength())
        return -1;
    const std::size_t pos = m_str.find(ch, static_cast<std::size_t>(iStart));
    return pos == Storage::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    const std::size_t pos = m_str.find(pszSub, static_cast<std::size_t>(iStart));
    return pos == Storage::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int iFirst, int nCount) const
{
    iFirst = std::max(iFirst, 0);
    nCount = std::max(nCount, 0);
    if (iFirst >= GetLength())
        return CString();
    nCount = std::min(nCount, GetLength() - iFirst);
    return CString(m_str.data() + iFirst, nCount);
}

CString CString::Left(int nCount) const
{
    return Mid(0, nCount);
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::TrimLeft()
{
    const auto first = std::find_if(m_str.begin(), m_str.end(), [](WCHAR ch) { return !AfxIsSpaceW(ch); });
    m_str.erase(m_str.begin(), first);
    return *this;
}

CString& CString::TrimRight()
{
    const auto last = std::find_if(m_str.rbegin(), m_str.rend(), [](WCHAR ch) { return !AfxIsSpaceW(ch); });
    m_str.erase(last.base(), m_str.end());
    return *this;
}

CString& CString::MakeLower()
{
    for (WCHAR& ch : m_str)
        ch = AfxToLowerW(ch);
    return *this;
}

LPWSTR CString::GetBuffer()
{
    return &m_str[0];
}

LPWSTR CString::GetBuffer(int nMinBufferLength)
{
    CheckLength(nMinBufferLength);
    if (static_cast<std::size_t>(nMinBufferLength) > m_str.size())
    {
        CheckGrowth(static_cast<std::size_t>(nMinBufferLength) - m_str.size());
        m_str.resize(static_cast<std::size_t>(nMinBufferLength));
    }
    return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int nLength)
{
    CheckLength(nLength);
    if (static_cast<std::size_t>(nLength) > m_str.size())
        CheckGrowth(static_cast<std::size_t>(nLength) - m_str.size());
    m_str.resize(static_cast<std::size_t>(nLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength == -1)
        nNewLength = static_cast<int>(std::char_traits<WCHAR>::length(m_str.c_str()));
    if (nNewLength < 0 || nNewLength > GetLength())
        AfxThrowInvalidArgException();
    m_str.resize(static_cast<std::size_t>(nNewLength));
}

void CString::Preallocate(int nLength)
{
    CheckLength(nLength);
    if (static_cast<std::size_t>(nLength) > m_str.size())
        CheckGrowth(static_cast<std::size_t>(nLength) - m_str.size());
    m_str.reserve(static_cast<std::size_t>(nLength));
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength < 0 || nNewLength > GetLength())
        AfxThrowInvalidArgException();
    m_str.resize(static_cast<std::size_t>(nNewLength));
}
