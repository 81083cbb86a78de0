#include "AfxMemFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

CMemFile::CMemFile(UINT nGrowBytes) noexcept
    : m_nGrowBytes(nGrowBytes), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(nullptr), m_bAutoDelete(TRUE)
{
}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes) noexcept
    : m_nGrowBytes(nGrowBytes),
      m_nBufferSize(nBufferSize),
      m_nFileSize(nGrowBytes == 0 ? nBufferSize : 0),
      m_lpBuffer(lpBuffer),
      m_bAutoDelete(FALSE)
{
}

CMemFile::~CMemFile()
{
    Close();
}

BYTE* CMemFile::Detach() noexcept
{
    BYTE* lpBuffer = m_lpBuffer;
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
    m_bAutoDelete = TRUE; // whatever buffer the file gets from now on is its own
    return lpBuffer;
}

ULONGLONG CMemFile::GetPosition() const
{
    return m_nPosition;
}

ULONGLONG CMemFile::Seek(LONGLONG lOff, UINT nFrom)
{
    LONGLONG base = 0;
    if (nFrom == current)
        base = static_cast<LONGLONG>(m_nPosition);
    else if (nFrom == end)
        base = static_cast<LONGLONG>(m_nFileSize);
    // Positions are offsets in memory: refuse what lies before the start or
    // beyond what an address space could hold.
    const LONGLONG limit = std::numeric_limits<INT_PTR>::max();
    if (lOff < -base || lOff > limit - base)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = static_cast<std::size_t>(base + lOff);
    return m_nPosition;
}

ULONGLONG CMemFile::GetLength() const
{
    return m_nFileSize;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize)
        return 0;
    const UINT nRead = static_cast<UINT>(std::min<std::size_t>(nCount, m_nFileSize - m_nPosition));
    if (nRead != 0)
        std::memcpy(lpBuf, m_lpBuffer + m_nPosition, nRead);
    m_nPosition += nRead;
    return nRead;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (nCount > std::numeric_limits<std::size_t>::max() - m_nPosition)
        AfxThrowMemoryException();
    const std::size_t nEnd = m_nPosition + nCount;
    if (nEnd > m_nBufferSize)
        GrowFile(nEnd);
    // Bytes between the old end and a position sought beyond it read as zeros.
    if (m_nPosition > m_nFileSize)
        std::memset(m_lpBuffer + m_nFileSize, 0, m_nPosition - m_nFileSize);
    std::memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition = nEnd;
    m_nFileSize = std::max(m_nFileSize, nEnd);
}

void CMemFile::GrowFile(std::size_t nNewLength)
{
    if (m_nGrowBytes == 0)
        AfxThrowMemoryException(); // a fixed buffer cannot grow
    // Whole steps of nGrowBytes, at least half again the current size, so that
    // a file written in small pieces is not copied over and over.
    const std::size_t nWanted = std::max(nNewLength, m_nBufferSize + m_nBufferSize / 2);
    const std::size_t nSteps = nWanted / m_nGrowBytes + (nWanted % m_nGrowBytes != 0 ? 1 : 0);
    if (nSteps > std::numeric_limits<std::size_t>::max() / m_nGrowBytes)
        AfxThrowMemoryException();
    const std::size_t nNewSize = nSteps * m_nGrowBytes;
    void* lpNew = std::realloc(m_lpBuffer, nNewSize);
    if (lpNew == nullptr)
        AfxThrowMemoryException();
    m_lpBuffer = static_cast<BYTE*>(lpNew);
    m_nBufferSize = nNewSize;
}

void CMemFile::Flush()
{
}

void CMemFile::Close()
{
    if (m_bAutoDelete)
        std::free(m_lpBuffer);
    m_lpBuffer = nullptr;
    m_nBufferSize = 0;
    m_nFileSize = 0;
    m_nPosition = 0;
}
