#include "AfxArchive.h"
#include "AfxArchiveReadExactly.h"

#include <algorithm>
#include <cstring>

namespace
{
// MFC's smallest archive buffer.
constexpr int kMinBufferSize = 128;
}

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize)
    : m_pFile(pFile), m_nMode(nMode), m_buffer(static_cast<std::size_t>(std::max(nBufSize, kMinBufferSize)))
{
    if (pFile == nullptr)
        AfxThrowInvalidArgException();
    m_pCur = m_buffer.data();
    m_pMax = IsLoading() ? m_pCur : m_pCur + m_buffer.size();
}

CArchive::~CArchive()
{
    if (m_pFile == nullptr)
        return;
    try
    {
        Close();
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

CFile& CArchive::GetOpenFile() const
{
    if (m_pFile == nullptr)
        AfxThrowArchiveException(CArchiveException::genericException);
    return *m_pFile;
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return 0;
    if (!IsLoading())
        AfxThrowArchiveException(CArchiveException::writeOnly);
    auto* pOut = static_cast<BYTE*>(lpBuf);
    UINT nLeft = nMax;
    auto takeFromBuffer = [&] {
        const UINT n = std::min(nLeft, static_cast<UINT>(m_pMax - m_pCur));
        if (n != 0)
            std::memcpy(pOut, m_pCur, n);
        m_pCur += n;
        pOut += n;
        nLeft -= n;
    };
    takeFromBuffer();
    if (nLeft == 0)
        return nMax;

    // Whole buffers' worth go straight from the file; the rest through the buffer.
    CFile& file = GetOpenFile();
    const UINT nDirect = nLeft - nLeft % static_cast<UINT>(m_buffer.size());
    UINT nDirectRead = 0;
    while (nDirectRead < nDirect)
    {
        const UINT n = file.Read(pOut + nDirectRead, nDirect - nDirectRead);
        if (n == 0)
            break;
        nDirectRead += n;
    }
    pOut += nDirectRead;
    nLeft -= nDirectRead;
    if (nDirectRead == nDirect && nLeft != 0)
    {
        FillBuffer(nLeft);
        takeFromBuffer();
    }
    return nMax - nLeft;
}

void CArchive::FillBuffer(UINT nNeeded)
{
    CFile& file = GetOpenFile();
    BYTE* const pStart = m_buffer.data();
    const std::size_t nUnread = static_cast<std::size_t>(m_pMax - m_pCur);
    std::memmove(pStart, m_pCur, nUnread);
    m_pCur = pStart;
    m_pMax = pStart + nUnread;
    BYTE* const pEnd = pStart + m_buffer.size();
    while (static_cast<UINT>(m_pMax - m_pCur) < nNeeded && m_pMax < pEnd)
    {
        const UINT n = file.Read(m_pMax, static_cast<UINT>(pEnd - m_pMax));
        if (n == 0)
            break;
        m_pMax += n;
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (nMax == 0)
        return;
    if (!IsStoring())
        AfxThrowArchiveException(CArchiveException::readOnly);
    const auto* pIn = static_cast<const BYTE*>(lpBuf);
    const UINT nRoom = static_cast<UINT>(m_pMax - m_pCur);
    if (nMax <= nRoom)
    {
        std::memcpy(m_pCur, pIn, nMax);
        m_pCur += nMax;
        return;
    }

    // Fill the buffer and write it, write whole buffers' worth straight to
    // the file and keep the rest in the buffer.
    CFile& file = GetOpenFile();
    std::memcpy(m_pCur, pIn, nRoom);
    m_pCur += nRoom;
    pIn += nRoom;
    nMax -= nRoom;
    Flush();
    const UINT nDirect = nMax - nMax % static_cast<UINT>(m_buffer.size());
    file.Write(pIn, nDirect);
    pIn += nDirect;
    nMax -= nDirect;
    std::memcpy(m_pCur, pIn, nMax);
    m_pCur += nMax;
}

void CArchive::Flush()
{
    CFile& file = GetOpenFile();
    BYTE* const pStart = m_buffer.data();
    if (IsLoading())
    {
        if (m_pMax != m_pCur)
            file.Seek(-static_cast<LONGLONG>(m_pMax - m_pCur), CFile::current);
        m_pCur = m_pMax = pStart;
    }
    else
    {
        if (m_pCur != pStart)
            file.Write(pStart, static_cast<UINT>(m_pCur - pStart));
        m_pCur = pStart;
    }
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
    // No room and nothing unread: every later read or write reaches
    // GetOpenFile and fails there.
    m_pCur = m_pMax = m_buffer.data();
}

void CArchive::WriteCount(ULONG_PTR dwCount)
{
    if (dwCount < 0xFFFF)
    {
        *this << static_cast<WORD>(dwCount);
        return;
    }
    if (static_cast<DWORD>(dwCount) != dwCount)
        AfxThrowInvalidArgException(); // the form has 32 bits
    *this << static_cast<WORD>(0xFFFF) << static_cast<DWORD>(dwCount);
}

ULONG_PTR CArchive::ReadCount()
{
    WORD wCount = 0;
    *this >> wCount;
    if (wCount != 0xFFFF)
        return wCount;
    DWORD dwCount = 0;
    *this >> dwCount;
    return dwCount;
}

CArchive& CArchive::operator<<(BYTE by)
{
    Write(&by, 1);
    return *this;
}

CArchive& CArchive::operator<<(WORD w)
{
    const BYTE bytes[2] = {static_cast<BYTE>(w), static_cast<BYTE>(w >> 8)};
    Write(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator<<(DWORD dw)
{
    const BYTE bytes[4] = {static_cast<BYTE>(dw), static_cast<BYTE>(dw >> 8), static_cast<BYTE>(dw >> 16),
                           static_cast<BYTE>(dw >> 24)};
    Write(bytes, sizeof bytes);
    return *this;
}

CArchive& CArchive::operator>>(BYTE& by)
{
    AfxReadExactly(*this, &by, 1);
    return *this;
}

CArchive& CArchive::operator>>(WORD& w)
{
    BYTE bytes[2];
    AfxReadExactly(*this, bytes, sizeof bytes);
    w = static_cast<WORD>(bytes[0] | bytes[1] << 8);
    return *this;
}

CArchive& CArchive::operator>>(DWORD& dw)
{
    BYTE bytes[4];
    AfxReadExactly(*this, bytes, sizeof bytes);
    dw = static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16 |
         static_cast<DWORD>(bytes[3]) << 24;
    return *this;
}
