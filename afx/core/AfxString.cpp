#include "AfxString.h"

#include "AfxExceptions.h"
#include "AfxPool.h"
#include "TextClasses.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

CString::CNilData CString::s_nil = {{{1}, 0, 0}, 0};

namespace
{
constexpr std::size_t kHeaderBytes = sizeof(CStringData);

std::size_t BufferBytes(int nAllocLength)
{
    return kHeaderBytes + sizeof(WCHAR) * (static_cast<std::size_t>(nAllocLength) + 1);
}

void CopyUnits(WCHAR* pDest, const WCHAR* pSource, int nCount)
{
    std::memmove(pDest, pSource, sizeof(WCHAR) * static_cast<std::size_t>(nCount));
}
} // namespace

CStringData* CString::AllocData(int nLength)
{
    // A buffer's size in bytes must fit a size_t as well as its length an
    // int: on 32-bit platforms the first limit comes before the second.
    if (static_cast<std::size_t>(nLength) > (SIZE_MAX - kHeaderBytes) / sizeof(WCHAR) - 1)
        AfxThrowMemoryException();
    std::size_t nBytes = BufferBytes(nLength);
    auto* pData = static_cast<CStringData*>(AfxPoolAllocateBlock(nBytes));
    // The whole block is usable: small ones are rounded up to their slot.
    const std::size_t nUnits = (nBytes - kHeaderBytes) / sizeof(WCHAR) - 1;
    new (&pData->nRefs) std::atomic<int>(1);
    pData->nDataLength = 0;
    pData->nAllocLength = static_cast<int>(std::min<std::size_t>(nUnits, INT_MAX));
    pData->data()[0] = 0;
    pData->data()[pData->nAllocLength] = 0; // ends any scan for a NUL
    return pData;
}

void CString::FreeData(CStringData* pData) noexcept
{
    // The room was worked out from the block's whole size.
    const std::size_t nBytes = BufferBytes(pData->nAllocLength);
    pData->nRefs.~atomic();
    AfxPoolFree(pData, nBytes);
}

void CString::CheckLength(int nLength)
{
    if (nLength < 0)
        AfxThrowInvalidArgException();
}

// The length after adding nExtra units; past an int's reach is exhaustion.
int CString::GrownLength(int nLength, int nExtra)
{
    if (nExtra > INT_MAX - nLength)
        AfxThrowMemoryException();
    return nLength + nExtra;
}

// Room for nLength units: a buffer that grows takes half again at least, so
// that appending stays linear.
int CString::RoomFor(int nLength) const noexcept
{
    const int nOldAlloc = m_pData->nAllocLength;
    if (nLength <= nOldAlloc || nOldAlloc == 0)
        return nLength;
    return static_cast<int>(std::max<long long>(nLength, std::min<long long>(INT_MAX, nOldAlloc + nOldAlloc / 2LL)));
}

void CString::Reserve(int nLength, int nKeep)
{
    if (m_pData == Nil())
    {
        m_pData = AllocData(nLength);
        return;
    }
    if (m_pData->nAllocLength >= nLength && m_pData->nRefs.load(std::memory_order_acquire) == 1)
        return;
    CStringData* pNew = AllocData(RoomFor(nLength));
    nKeep = std::min(nKeep, m_pData->nDataLength);
    CopyUnits(pNew->data(), m_pData->data(), nKeep);
    pNew->nDataLength = nKeep;
    pNew->data()[nKeep] = 0;
    Release(m_pData);
    m_pData = pNew;
}

WCHAR* CString::Own()
{
    Reserve(GetLength(), GetLength());
    return m_pData->data();
}

CString::CString(LPCWSTR pch, int nLength) : m_pData(Nil())
{
    CheckLength(nLength);
    if (nLength == 0)
        return;
    if (pch == nullptr)
        AfxThrowInvalidArgException();
    m_pData = AllocData(nLength);
    CopyUnits(m_pData->data(), pch, nLength);
    SetLength(nLength);
}

CString::CString(WCHAR ch, int nRepeat) : m_pData(Nil())
{
    CheckLength(nRepeat);
    if (nRepeat == 0)
        return;
    m_pData = AllocData(nRepeat);
    std::fill_n(m_pData->data(), nRepeat, ch);
    SetLength(nRepeat);
}

CString& CString::operator=(LPCWSTR psz)
{
    const int nLength = AfxStringLength(psz);
    if (nLength == 0)
    {
        Empty();
        return *this;
    }
    // psz may lie in this string's own buffer: copy before letting it go.
    if (m_pData != Nil() && m_pData->nAllocLength >= nLength && m_pData->nRefs.load(std::memory_order_acquire) == 1)
    {
        CopyUnits(m_pData->data(), psz, nLength);
        SetLength(nLength);
        return *this;
    }
    CString copy(psz, nLength);
    *this = std::move(copy);
    return *this;
}

CString& CString::operator=(WCHAR ch)
{
    const WCHAR units[] = {ch, 0};
    CString copy(units, 1);
    *this = std::move(copy);
    return *this;
}

WCHAR CString::GetAt(int iChar) const
{
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    return m_pData->data()[iChar];
}

void CString::SetAt(int iChar, WCHAR ch)
{
    if (iChar < 0 || iChar >= GetLength())
        AfxThrowInvalidArgException();
    Own()[iChar] = ch;
}

void CString::Append(const CString& str)
{
    if (m_pData == Nil())
        *this = str; // shares its buffer
    else
        Append(str.GetString(), str.GetLength());
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
    if (m_pData == Nil())
    {
        CString copy(pch, nLength);
        *this = std::move(copy);
        return;
    }
    const int nOld = GetLength();
    const int nNew = GrownLength(nOld, nLength);
    if (m_pData != Nil() && m_pData->nAllocLength >= nNew && m_pData->nRefs.load(std::memory_order_acquire) == 1)
    {
        // pch may lie in this buffer, but before its end: no overlap.
        CopyUnits(m_pData->data() + nOld, pch, nLength);
        SetLength(nNew);
        return;
    }
    // The old buffer stays until the new one holds both parts, since pch
    // may lie in it.
    CString grown;
    grown.m_pData = AllocData(RoomFor(nNew));
    CopyUnits(grown.m_pData->data(), m_pData->data(), nOld);
    CopyUnits(grown.m_pData->data() + nOld, pch, nLength);
    grown.SetLength(nNew);
    *this = std::move(grown);
}

void CString::AppendChar(WCHAR ch)
{
    const WCHAR units[] = {ch, 0};
    Append(units, 1);
}

int CString::Compare(LPCWSTR psz) const
{
    // As wcscmp does: the comparison ends at the first NUL of either side.
    const WCHAR* a = GetString();
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
    const WCHAR* a = GetString();
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
    const std::size_t pos = Units().find(ch, static_cast<std::size_t>(iStart));
    return pos == std::basic_string_view<WCHAR>::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR pszSub, int iStart) const
{
    if (pszSub == nullptr || iStart < 0 || iStart > GetLength())
        return -1;
    const std::size_t pos = Units().find(pszSub, static_cast<std::size_t>(iStart));
    return pos == std::basic_string_view<WCHAR>::npos ? -1 : static_cast<int>(pos);
}

CString CString::Mid(int iFirst, int nCount) const
{
    iFirst = std::max(iFirst, 0);
    nCount = std::max(nCount, 0);
    if (iFirst >= GetLength())
        return CString();
    nCount = std::min(nCount, GetLength() - iFirst);
    if (iFirst == 0 && nCount == GetLength())
        return *this;
    return CString(GetString() + iFirst, nCount);
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
    const WCHAR* p = GetString();
    const int nLength = GetLength();
    int nSkip = 0;
    while (nSkip < nLength && AfxIsSpaceW(p[nSkip]))
        ++nSkip;
    if (nSkip != 0)
    {
        WCHAR* pOwn = Own();
        CopyUnits(pOwn, pOwn + nSkip, nLength - nSkip);
        SetLength(nLength - nSkip);
    }
    return *this;
}

CString& CString::TrimRight()
{
    const WCHAR* p = GetString();
    int nLength = GetLength();
    while (nLength > 0 && AfxIsSpaceW(p[nLength - 1]))
        --nLength;
    Truncate(nLength);
    return *this;
}

CString& CString::MakeLower()
{
    const WCHAR* p = GetString();
    const int nLength = GetLength();
    int i = 0;
    while (i < nLength && AfxToLowerW(p[i]) == p[i])
        ++i;
    if (i == nLength)
        return *this; // nothing to change: the buffer stays shared
    WCHAR* pOwn = Own();
    for (; i < nLength; ++i)
        pOwn[i] = AfxToLowerW(pOwn[i]);
    return *this;
}

LPWSTR CString::GetBuffer()
{
    return Own();
}

LPWSTR CString::GetBuffer(int nMinBufferLength)
{
    CheckLength(nMinBufferLength);
    Reserve(std::max(nMinBufferLength, GetLength()), GetLength());
    return m_pData->data();
}

LPWSTR CString::GrowBufferSetLength(int nLength)
{
    CheckLength(nLength);
    Reserve(nLength, nLength);
    SetLength(nLength);
    return m_pData->data();
}

void CString::ReleaseBufferSlowly(int nNewLength)
{
    if (m_pData == Nil())
    {
        if (nNewLength > 0 || nNewLength < -1)
            AfxThrowInvalidArgException();
        return;
    }
    WCHAR* p = Own();
    if (nNewLength == -1)
        nNewLength = static_cast<int>(std::char_traits<WCHAR>::length(p)); // the NUL after the room ends it at the latest
    if (nNewLength < 0 || nNewLength > m_pData->nAllocLength)
        AfxThrowInvalidArgException();
    SetLength(nNewLength);
}

void CString::Preallocate(int nLength)
{
    CheckLength(nLength);
    if (nLength > m_pData->nAllocLength)
        Reserve(nLength, GetLength());
}

void CString::FreeExtra()
{
    const int nLength = GetLength();
    if (m_pData == Nil() || AfxPoolBlockBytes(BufferBytes(nLength)) >= AfxPoolBlockBytes(BufferBytes(m_pData->nAllocLength)))
        return;
    if (nLength == 0)
    {
        Empty();
        return;
    }
    CString exact(GetString(), nLength);
    *this = std::move(exact);
}

void CString::Truncate(int nNewLength)
{
    if (nNewLength < 0 || nNewLength > GetLength())
        AfxThrowInvalidArgException();
    if (nNewLength == GetLength())
        return;
    Own();
    SetLength(nNewLength);
}
