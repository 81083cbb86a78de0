#include "TextSink.h"

#include <algorithm>
#include <climits>
#include <string>

namespace
{
// Spare room added with every growth, so that a run of short pieces that do
// not fit does not grow the reservation once per piece.
constexpr std::int64_t kGrowthSlack = 16;
// The string's length runs ahead of the writing by this much at most: setting
// a length fills the new units, and a short stretch is filled while it is in
// the cache, just before it is written over.
constexpr int kLengthStep = 4096;
}

CZolTextSink::CZolTextSink(CString& strOut, std::int64_t nReserve, Growth growth)
    : m_strOut(strOut), m_pBuffer(nullptr), m_nPos(strOut.GetLength()), m_nEnd(m_nPos), m_nReserved(0),
      m_growth(growth)
{
    m_nReserved = static_cast<int>(std::min<std::int64_t>(m_nPos + nReserve, INT_MAX));
    // Asking for less than the capacity may shrink the buffer: never do.
    if (m_nReserved > m_strOut.GetAllocLength())
        m_strOut.Preallocate(m_nReserved);
    m_pBuffer = m_strOut.GetBuffer();
}

CZolTextSink::~CZolTextSink()
{
    m_strOut.ReleaseBuffer(m_nPos);
}

void CZolTextSink::CopyUnits(LPWSTR pOut, LPCWSTR pch, int nCount)
{
    std::char_traits<WCHAR>::copy(pOut, pch, static_cast<std::size_t>(nCount));
}

void CZolTextSink::Reserve(std::int64_t nNeeded, std::int64_t nWanted)
{
    // A string may hold fewer units than nWanted (below INT_MAX where size_t
    // has 32 bits): halve the room asked beyond the need until it is granted.
    while (nWanted > m_strOut.GetAllocLength())
    {
        try
        {
            m_strOut.Preallocate(static_cast<int>(nWanted));
        }
        catch (CMemoryException* e)
        {
            if (nWanted == nNeeded)
                throw;
            e->Delete();
            nWanted = nNeeded + (nWanted - nNeeded) / 2;
        }
    }
    m_nReserved = static_cast<int>(nWanted);
}

void CZolTextSink::MakeRoom(int nPiece)
{
    const std::int64_t nNeeded = static_cast<std::int64_t>(m_nPos) + nPiece;
    if (nNeeded > m_nReserved)
    {
        std::int64_t nMore = nPiece + kGrowthSlack;
        if (m_growth == Growth::Doubling)
            nMore = std::max<std::int64_t>(nMore, m_nReserved);
        // Lengths are ints: take what is left up to INT_MAX, and fail only
        // when even that cannot take the piece.
        const std::int64_t nWanted = std::min<std::int64_t>(m_nReserved + nMore, INT_MAX);
        if (nWanted < nNeeded)
            AfxThrowMemoryException();
        Reserve(nNeeded, nWanted);
    }
    const std::int64_t nEnd = std::min<std::int64_t>(m_nReserved, std::max<std::int64_t>(nNeeded, m_nEnd + kLengthStep));
    m_pBuffer = m_strOut.GetBufferSetLength(static_cast<int>(nEnd));
    m_nEnd = static_cast<int>(nEnd);
}
