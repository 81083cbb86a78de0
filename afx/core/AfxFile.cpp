// CFile over the Win32 file functions: kernel32's on Windows, the layer's
// own (Win32Kernel_posix.cpp) elsewhere.
#include "AfxFile.h"

#include "Win32Kernel.h"

namespace
{
[[noreturn]] void ThrowLastError(const CString& strFileName)
{
    CFileException::ThrowOsError(static_cast<LONG>(::GetLastError()), strFileName);
}

DWORD ToAccess(UINT nOpenFlags)
{
    switch (nOpenFlags & 3)
    {
    case CFile::modeWrite:
        return GENERIC_WRITE;
    case CFile::modeReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

DWORD ToShareMode(UINT nOpenFlags)
{
    switch (nOpenFlags & 0x70)
    {
    case CFile::shareDenyWrite:
        return FILE_SHARE_READ;
    case CFile::shareDenyRead:
        return FILE_SHARE_WRITE;
    case CFile::shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default:
        return 0; // shareCompat and shareExclusive
    }
}

DWORD ToCreation(UINT nOpenFlags)
{
    if (!(nOpenFlags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (nOpenFlags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

DWORD ToMoveMethod(UINT nFrom)
{
    switch (nFrom)
    {
    case CFile::current:
        return FILE_CURRENT;
    case CFile::end:
        return FILE_END;
    default:
        return FILE_BEGIN;
    }
}

ULONGLONG MoveFilePointer(HANDLE hFile, LONGLONG lOff, UINT nFrom, const CString& strFileName)
{
    // The low part comes back as INVALID_SET_FILE_POINTER on failure, and
    // may also be a position: the error tells them apart.
    LONG nHigh = static_cast<LONG>(lOff >> 32);
    const DWORD nLow =
        ::SetFilePointer(hFile, static_cast<LONG>(static_cast<DWORD>(lOff)), &nHigh, ToMoveMethod(nFrom));
    if (nLow == INVALID_SET_FILE_POINTER && ::GetLastError() != NO_ERROR)
        ThrowLastError(strFileName);
    return (static_cast<ULONGLONG>(static_cast<DWORD>(nHigh)) << 32) | nLow;
}
} // namespace

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (static_cast<DWORD>(lOsError))
    {
    case ERROR_FILE_NOT_FOUND:
        return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_CANT_RESOLVE_FILENAME:
        return CFileException::badPath;
    case ERROR_TOO_MANY_OPEN_FILES:
        return CFileException::tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return CFileException::accessDenied;
    case ERROR_INVALID_HANDLE:
        return CFileException::invalidFile;
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
        return CFileException::badSeek;
    case ERROR_IO_DEVICE:
        return CFileException::hardIO;
    case ERROR_SHARING_VIOLATION:
        return CFileException::sharingViolation;
    case ERROR_LOCK_VIOLATION:
        return CFileException::lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return CFileException::diskFull;
    case ERROR_HANDLE_EOF:
        return CFileException::endOfFile;
    default:
        return CFileException::genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

const HANDLE CFile::hFileNull = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

CFile::CFile() noexcept : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) noexcept : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : CFile()
{
    CFileException failure;
    if (!Open(lpszFileName, nOpenFlags, &failure))
        AfxThrowFileException(failure.m_cause, failure.m_lOsError, lpszFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
    {
        try
        {
            Close();
        }
        catch (CException* e)
        {
            // A destructor cannot report; callers who care call Close.
            e->Delete();
        }
    }
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    // Named first, so that nothing after the handle is granted can fail.
    m_strFileName = lpszFileName;
    const HANDLE hFile = ::CreateFileW(lpszFileName, ToAccess(nOpenFlags), ToShareMode(nOpenFlags), nullptr,
                                       ToCreation(nOpenFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
    {
        if (pError != nullptr)
        {
            const DWORD error = ::GetLastError();
            pError->m_cause = CFileException::OsErrorToException(static_cast<LONG>(error));
            pError->m_lOsError = static_cast<LONG>(error);
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = hFile;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

ULONGLONG CFile::GetPosition() const
{
    return MoveFilePointer(m_hFile, 0, current, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    return MoveFilePointer(m_hFile, lOff, nFrom, m_strFileName);
}

ULONGLONG CFile::GetLength() const
{
    DWORD nHigh = 0;
    const DWORD nLow = ::GetFileSize(m_hFile, &nHigh);
    // As with SetFilePointer, INVALID_FILE_SIZE may be a size.
    if (nLow == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
        ThrowLastError(m_strFileName);
    return (static_cast<ULONGLONG>(nHigh) << 32) | nLow;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD nRead = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &nRead, nullptr))
    {
        if (::GetLastError() == ERROR_BROKEN_PIPE)
            return 0; // the writing end is closed: the end of the data
        ThrowLastError(m_strFileName);
    }
    return nRead;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD nWritten = 0;
    if (!::WriteFile(m_hFile, lpBuf, nCount, &nWritten, nullptr))
        ThrowLastError(m_strFileName);
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !::FlushFileBuffers(m_hFile))
        ThrowLastError(m_strFileName);
}

void CFile::Close()
{
    const HANDLE hFile = m_hFile;
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
    if (hFile != hFileNull && !::CloseHandle(hFile))
        ThrowLastError(m_strFileName);
}
