/// @file
/// CFile: a binary file on a path or on an operating-system handle.
#pragma once

#include "AfxExceptions.h"
#include "AfxString.h"
#include "AfxTypes.h"

/// A binary file on a path or on an operating-system handle, with MFC's
/// interface for what the toolkit uses. Failures raise CFileException*,
/// naming the file when it was opened by name.
class AFX_CORE_API CFile
{
public:
    /// How Open() opens a file: one access mode, one sharing mode, and the
    /// creation flags.
    enum OpenFlags
    {
        modeRead = 0x0000,       ///< for reading
        modeWrite = 0x0001,      ///< for writing
        modeReadWrite = 0x0002,  ///< for both
        shareCompat = 0x0000,    ///< as shareExclusive
        shareExclusive = 0x0010, ///< nobody else may open it
        shareDenyWrite = 0x0020, ///< others may read only
        shareDenyRead = 0x0030,  ///< others may write only
        shareDenyNone = 0x0040,  ///< others may read and write
        modeCreate = 0x1000,     ///< create it, emptied unless modeNoTruncate
        modeNoTruncate = 0x2000, ///< with modeCreate: keep an existing file's content
        typeText = 0x4000,       ///< for derived classes; CFile is always binary
        typeBinary = 0x8000      ///< binary, as always
    };

    /// Where Seek() counts from.
    enum SeekPosition
    {
        begin = 0x0,   ///< the start
        current = 0x1, ///< the present position
        end = 0x2      ///< the end
    };

    /// The value of m_hFile when no file is open.
    static const HANDLE hFileNull;

    /// No file; open one with Open().
    CFile() noexcept;
    /// Wraps a handle that stays the caller's: destroying the object leaves it open.
    explicit CFile(HANDLE hFile) noexcept;
    /// Opens the file or raises CFileException*.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    /// Closes a file that this object opened.
    virtual ~CFile();

    /// Opens a file; FALSE on failure, with the reason in *pError when given.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    /// The position in bytes from the start.
    virtual ULONGLONG GetPosition() const;
    /// Moves to lOff bytes from nFrom (a SeekPosition); returns the new position.
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    /// Moves to the start.
    void SeekToBegin() { Seek(0, begin); }
    /// The length in bytes.
    virtual ULONGLONG GetLength() const;

    /// Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    /// Writes nCount bytes.
    virtual void Write(const void* lpBuf, UINT nCount);
    /// Writes what the system holds for the file to the device.
    virtual void Flush();
    /// Closes the file.
    virtual void Close();

    HANDLE m_hFile; ///< the operating-system handle, or hFileNull

protected:
    BOOL m_bCloseOnDelete; ///< whether this object opened the file and closes it
    CString m_strFileName; ///< the name it was opened by, which its exceptions carry; empty on a handle
};
