// Files over POSIX descriptors. A handle is the descriptor plus one, as the
// layer's Win32 file functions make them, so that no open file has the null
// handle and CFile::hFileNull is no descriptor.
#include "AfxFileSystem.h"

#include "AfxFile.h"
#include "AfxString.h"
#include "TextConversion.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
int ToDescriptor(HANDLE hFile)
{
    return static_cast<int>(reinterpret_cast<INT_PTR>(hFile) - 1);
}

HANDLE ToHandle(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(fd) + 1);
}

int ToCause(int error)
{
    switch (error)
    {
    case ENOENT:
        return CFileException::fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return CFileException::badPath;
    case EMFILE:
    case ENFILE:
        return CFileException::tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return CFileException::accessDenied;
    case EBADF:
        return CFileException::invalidFile;
    case EINVAL:
    case ESPIPE:
        return CFileException::badSeek;
    case EIO:
        return CFileException::hardIO;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return CFileException::diskFull;
    default:
        return CFileException::genericException;
    }
}

[[noreturn]] void ThrowLastError()
{
    const int error = errno;
    AfxThrowFileException(ToCause(error), static_cast<LONG>(error));
}

int ToOpenFlags(UINT nOpenFlags)
{
    int flags = O_CLOEXEC;
    switch (nOpenFlags & 3)
    {
    case CFile::modeWrite:
        flags |= O_WRONLY;
        break;
    case CFile::modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if (nOpenFlags & CFile::modeCreate)
        flags |= (nOpenFlags & CFile::modeNoTruncate) ? O_CREAT : O_CREAT | O_TRUNC;
    return flags;
}
}

HANDLE AfxFileSystem::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException& rException)
{
    // POSIX has no sharing modes: the share flags have nothing to map to.
    // File names are UTF-8 here. A name holding an unpaired surrogate has no
    // UTF-8 form: refuse it rather than open another file.
    CUtf8String path;
    if (!AfxEncodeUtf8(lpszFileName, static_cast<std::size_t>(AfxStringLength(lpszFileName)), path))
    {
        rException.m_cause = CFileException::badPath;
        rException.m_lOsError = EILSEQ;
        return CFile::hFileNull;
    }
    int fd;
    do
        fd = ::open(path.c_str(), ToOpenFlags(nOpenFlags), 0666);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
    {
        rException.m_cause = ToCause(errno);
        rException.m_lOsError = static_cast<LONG>(errno);
        return CFile::hFileNull;
    }
    return ToHandle(fd);
}

UINT AfxFileSystem::Read(HANDLE hFile, void* lpBuf, UINT nCount)
{
    // A short read is not yet the end of the file: only a zero read is.
    auto* p = static_cast<char*>(lpBuf);
    UINT nRead = 0;
    while (nRead < nCount)
    {
        const ssize_t n = ::read(ToDescriptor(hFile), p + nRead, nCount - nRead);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowLastError();
        if (n == 0)
            break;
        nRead += static_cast<UINT>(n);
    }
    return nRead;
}

void AfxFileSystem::Write(HANDLE hFile, const void* lpBuf, UINT nCount)
{
    const auto* p = static_cast<const char*>(lpBuf);
    UINT nWritten = 0;
    while (nWritten < nCount)
    {
        const ssize_t n = ::write(ToDescriptor(hFile), p + nWritten, nCount - nWritten);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowLastError();
        nWritten += static_cast<UINT>(n);
    }
}

ULONGLONG AfxFileSystem::Seek(HANDLE hFile, LONGLONG lOff, UINT nFrom)
{
    static_assert(sizeof(off_t) == 8, "files beyond 2 GiB need a 64-bit off_t");
    const int whence = nFrom == CFile::end ? SEEK_END : nFrom == CFile::current ? SEEK_CUR : SEEK_SET;
    const off_t position = ::lseek(ToDescriptor(hFile), static_cast<off_t>(lOff), whence);
    if (position < 0)
        ThrowLastError();
    return static_cast<ULONGLONG>(position);
}

ULONGLONG AfxFileSystem::GetLength(HANDLE hFile)
{
    struct stat status;
    if (::fstat(ToDescriptor(hFile), &status) != 0)
        ThrowLastError();
    return static_cast<ULONGLONG>(status.st_size);
}

void AfxFileSystem::Flush(HANDLE hFile)
{
    if (::fsync(ToDescriptor(hFile)) != 0 && errno != EINVAL)
        ThrowLastError();
}

void AfxFileSystem::Close(HANDLE hFile)
{
    // The descriptor is gone even when close reports an error, so it is never retried.
    if (::close(ToDescriptor(hFile)) != 0 && errno != EINTR)
        ThrowLastError();
}
