// Files over Win32 handles.
#include "AfxFileSystem.h"

#include "AfxFile.h"

namespace
{
int ToCause(DWORD error)
{
    switch (error)
    {
    case ERROR_FILE_NOT_FOUND:
        return CFileException::fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
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

[[noreturn]] void ThrowLastError()
{
    const DWORD error = ::GetLastError();
    AfxThrowFileException(ToCause(error), static_cast<LONG>(error));
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
}

HANDLE AfxFileSystem::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException& rException)
{
    const HANDLE hFile = ::CreateFileW(reinterpret_cast<const wchar_t*>(lpszFileName != nullptr ? lpszFileName : u""),
                                       ToAccess(nOpenFlags), ToShareMode(nOpenFlags), nullptr,
                                       ToCreation(nOpenFlags), FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
    {
        const DWORD error = ::GetLastError();
        rException.m_cause = ToCause(error);
        rException.m_lOsError = static_cast<LONG>(error);
        return CFile::hFileNull;
    }
    return hFile;
}

UINT AfxFileSystem::Read(HANDLE hFile, void* lpBuf, UINT nCount)
{
    DWORD nRead = 0;
    if (!::ReadFile(hFile, lpBuf, nCount, &nRead, nullptr))
    {
        if (::GetLastError() == ERROR_BROKEN_PIPE)
            return 0; // the writing end is closed: the end of the data
        ThrowLastError();
    }
    return nRead;
}

void AfxFileSystem::Write(HANDLE hFile, const void* lpBuf, UINT nCount)
{
    DWORD nWritten = 0;
    if (!::WriteFile(hFile, lpBuf, nCount, &nWritten, nullptr))
        ThrowLastError();
    if (nWritten != nCount)
        AfxThrowFileException(CFileException::diskFull);
}

ULONGLONG AfxFileSystem::Seek(HANDLE hFile, LONGLONG lOff, UINT nFrom)
{
    const DWORD method = nFrom == CFile::end ? FILE_END : nFrom == CFile::current ? FILE_CURRENT : FILE_BEGIN;
    LARGE_INTEGER distance;
    distance.QuadPart = lOff;
    LARGE_INTEGER position;
    if (!::SetFilePointerEx(hFile, distance, &position, method))
        ThrowLastError();
    return static_cast<ULONGLONG>(position.QuadPart);
}

ULONGLONG AfxFileSystem::GetLength(HANDLE hFile)
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(hFile, &size))
        ThrowLastError();
    return static_cast<ULONGLONG>(size.QuadPart);
}

void AfxFileSystem::Flush(HANDLE hFile)
{
    if (!::FlushFileBuffers(hFile))
        ThrowLastError();
}

void AfxFileSystem::Close(HANDLE hFile)
{
    if (!::CloseHandle(hFile))
        ThrowLastError();
}
