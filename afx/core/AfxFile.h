// CFile: a binary file on a path or on an operating-system handle, with
// MFC's interface for what the toolkit uses. Failures raise CFileException*.
#pragma once

#include "AfxExceptions.h"
#include "AfxTypes.h"

class AFX_CORE_API CFile
{
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,  // for derived classes; CFile is always binary
        typeBinary = 0x8000
    };

    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };

    // The value of m_hFile when no file is open.
    static const HANDLE hFileNull;

    CFile() noexcept;
    // Wraps a handle that stays the caller's: destroying the object leaves it open.
    explicit CFile(HANDLE hFile) noexcept;
    // Opens the file or raises CFileException*.
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    virtual ~CFile();

    // FALSE on failure, with the reason in *pError when given.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);

    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    virtual ULONGLONG GetLength() const;

    // Reads up to nCount bytes; fewer only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual void Flush();
    virtual void Close();

    HANDLE m_hFile;

protected:
    BOOL m_bCloseOnDelete;
};
