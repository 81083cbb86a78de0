/// @file
/// CArchive: a buffered stream of bytes in MFC's archive format.
#pragma once

#include "AfxAllocator.h"
#include "AfxFile.h"
#include "AfxString.h"

#include <vector>

/// A buffered stream of bytes to or from a CFile in MFC's archive format:
/// little-endian numbers, MFC's count form and MFC's string form. A read that
/// the file cannot satisfy in full raises CArchiveException* with the cause
/// CArchiveException::endOfFile; the file's own failures pass through.
class AFX_CORE_API CArchive
{
public:
    /// Which way the archive goes.
    enum Mode
    {
        store = 0, ///< writing to the file
        load = 1   ///< reading from the file
    };

    /// An archive on the file from its current position; the file stays the
    /// caller's and must outlive the archive.
    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    /// Closes the archive if Close() was not called. A destructor cannot
    /// report a failure to write, so callers that need to know call Close().
    ~CArchive();

    /// Whether the archive reads.
    BOOL IsLoading() const noexcept { return (m_nMode & load) != 0; }
    /// Whether the archive writes.
    BOOL IsStoring() const noexcept { return (m_nMode & load) == 0; }

    /// Reads up to nMax bytes; fewer only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    /// Writes nMax bytes.
    void Write(const void* lpBuf, UINT nMax);

    /// Writes a count: below 0xFFFF as 16 bits; any other as 0xFFFF, then 32 bits.
    void WriteCount(ULONG_PTR dwCount);
    /// Reads a count in that form.
    ULONG_PTR ReadCount();

    /// Writes one byte.
    CArchive& operator<<(BYTE by);
    /// Writes 16 bits, little-endian.
    CArchive& operator<<(WORD w);
    /// Writes 32 bits, little-endian.
    CArchive& operator<<(DWORD dw);
    /// Reads one byte.
    CArchive& operator>>(BYTE& by);
    /// Reads 16 bits, little-endian.
    CArchive& operator>>(WORD& w);
    /// Reads 32 bits, little-endian.
    CArchive& operator>>(DWORD& dw);

    /// Storing: writes what the buffer holds to the file. Loading: gives back
    /// to the file what the buffer read ahead, so that the file stands just
    /// behind the bytes read.
    void Flush();
    /// Flushes and lets go of the file, which stays open. Any later reading
    /// or writing raises CArchiveException*.
    void Close();

private:
    CFile& GetOpenFile() const;
    // Loads the buffer from the file until it holds at least nNeeded unread
    // bytes or the file ends.
    void FillBuffer(UINT nNeeded);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE, CAfxAllocator<BYTE>> m_buffer;
    // Loading: the unread bytes are [m_pCur, m_pMax). Storing: the bytes to
    // write are [m_buffer start, m_pCur) and the room left is [m_pCur, m_pMax).
    BYTE* m_pCur;
    BYTE* m_pMax;
};

/// MFC's string prefix. Writes the length of a string in characters, preceded
/// by the UTF-16 tag when bUnicode is set: below 255 one byte; below 0xFFFE
/// 0xFF and 16 bits; otherwise 0xFF, 0xFFFF and 32 bits.
AFX_CORE_API void AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode);
/// Reads a prefix in any of those forms; nCharSize becomes 2 for UTF-16 and 1
/// for 8-bit text.
AFX_CORE_API UINT_PTR AfxReadStringLength(CArchive& ar, int& nCharSize);

/// Writes a string as its UTF-16 prefix and code units.
AFX_CORE_API CArchive& operator<<(CArchive& ar, const CString& str);
/// Reads a string, UTF-16 or 8-bit (Windows-1252); the result ends at the
/// first NUL it holds. str is replaced only once the whole string has been read.
AFX_CORE_API CArchive& operator>>(CArchive& ar, CString& str);
