#include "TextSink.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace
{
// Spare room added with every growth, so that a run of short pieces that do
// not fit does not grow the string once per piece.
constexpr std::int64_t kGrowthSlack = 16;
}

CZolTextSink::CZolTextSink(CString& strOut, int nReserve, Growth growth)
    : m_strOut(strOut), m_pBuffer(nullptr), m_nPos(strOut.GetLength()), m_nFree(0), m_growth(growth)
{
    if (static_cast<std::int64_t>(m_nPos) + nReserve > INT_MAX)
        AfxThrowMemoryException();
    m_pBuffer = m_strOut.GetBufferSetLength(m_nPos + nReserve);
    m_nFree = nReserve;
}

CZolTextSink::~CZolTextSink()
{
    m_strOut.ReleaseBuffer(m_nPos);
}

void CZolTextSink::Grow(int nPiece)
{
    const std::int64_t nReserved = static_cast<std::int64_t>(m_nPos) + m_nFree;
    std::int64_t nMore = nPiece + kGrowthSlack;
    if (m_growth == Growth::Doubling)
        nMore = std::max(nMore, nReserved);
    // A string cannot hold more than INT_MAX units: use what is left up to
    // there, and fail only when even that cannot take the piece.
    nMore = std::min(nMore, INT_MAX - nReserved);
    if (m_nFree + nMore < nPiece)
        AfxThrowMemoryException();
    m_pBuffer = m_strOut.GetBufferSetLength(static_cast<int>(nReserved + nMore));
    m_nFree += static_cast<int>(nMore);
}
