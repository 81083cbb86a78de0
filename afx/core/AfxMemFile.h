/// @file
/// CMemFile: a file held in memory.
#pragma once

#include "AfxFile.h"

#include <cstddef>

/// A file held in memory, with MFC's interface. The buffer comes from
/// malloc, so that one handed out by Detach() is released with free. Growth
/// that memory cannot meet raises CMemoryException*.
class AFX_CORE_API CMemFile : public CFile
{
public:
    /// An empty file whose buffer grows in steps of nGrowBytes.
    explicit CMemFile(UINT nGrowBytes = 1024) noexcept;
    /// A file over the caller's buffer, which stays the caller's. With
    /// nGrowBytes 0 the file holds the nBufferSize bytes of the buffer and
    /// cannot grow beyond it; otherwise it starts empty and grows by
    /// reallocating the buffer, which must then come from malloc. Once grown,
    /// the caller's pointer is stale: take the buffer back with Detach() (the
    /// file never frees a buffer it did not allocate).
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0) noexcept;
    /// Frees a buffer that the file allocated.
    ~CMemFile() override;

    /// Hands the buffer to the caller (release it with free) and leaves the
    /// file empty. Ask GetLength() first: the length goes with the buffer.
    BYTE* Detach() noexcept;

    /// The position in bytes from the start.
    ULONGLONG GetPosition() const override;
    /// Moves to lOff bytes from nFrom; a position before the start raises
    /// CFileException*, one past the end is allowed (a write there fills the
    /// gap with zeros).
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    /// The length in bytes.
    ULONGLONG GetLength() const override;
    /// Reads up to nCount bytes; fewer only at the end.
    UINT Read(void* lpBuf, UINT nCount) override;
    /// Writes nCount bytes, growing the file as needed.
    void Write(const void* lpBuf, UINT nCount) override;
    /// Nothing to write out.
    void Flush() override;
    /// Frees a buffer that the file allocated and leaves the file empty.
    void Close() override;

private:
    void GrowFile(std::size_t nNewLength);

    std::size_t m_nGrowBytes;
    std::size_t m_nPosition = 0;
    std::size_t m_nBufferSize;
    std::size_t m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
