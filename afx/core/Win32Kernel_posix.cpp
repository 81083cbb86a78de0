// Win32's file functions over POSIX.
//
// A handle is a file descriptor plus one, so that it is never null nor
// INVALID_HANDLE_VALUE. Opening never blocks (O_NONBLOCK while opening, so a
// FIFO without a writer cannot hang it) and only regular files are kept.
//
// Share modes: POSIX has no mandatory ones. A handle that denies writing to
// others (no FILE_SHARE_WRITE) takes a shared flock(), and a handle with write
// access an exclusive one; a conflict fails with ERROR_SHARING_VIOLATION. This
// binds the handles of this layer and other programs that use flock(), in
// this process or another; it cannot stop a program that writes without
// asking, and it does not enforce denying readers (no FILE_SHARE_READ) or
// let two writers that both share writing hold the file at once.

// File offsets and sizes of 64 bits on 32-bit systems too, set before any
// system header is read, so that files beyond 2 GiB open, report their size
// and seek there as they do with Win32.
#define _FILE_OFFSET_BITS 64

#include "Win32Kernel.h"

#include "AfxString.h"
#include "TextConversion.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

static_assert(sizeof(off_t) == 8, "file offsets of 64 bits");

namespace
{
thread_local DWORD t_lastError = NO_ERROR;

DWORD ErrorFromErrno(int error)
{
    switch (error)
    {
    case ENOENT:
        return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ENXIO:
    case ETXTBSY:
        return ERROR_ACCESS_DENIED;
    case EEXIST:
        return ERROR_FILE_EXISTS;
    case EMFILE:
    case ENFILE:
        return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case EWOULDBLOCK:
        return ERROR_SHARING_VIOLATION;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ESPIPE:
        return ERROR_SEEK_ON_DEVICE;
    case EIO:
        return ERROR_IO_DEVICE;
    default:
        return ERROR_GEN_FAILURE;
    }
}

void SetError(DWORD error)
{
    t_lastError = error;
}

void SetErrorFromErrno()
{
    SetError(ErrorFromErrno(errno));
}

// POSIX refuses a transfer the descriptor was not opened for with EBADF,
// Win32 with ERROR_ACCESS_DENIED: a descriptor that is open tells them apart.
void SetTransferError(int fd, int error)
{
    SetError(error == EBADF && fcntl(fd, F_GETFL) != -1 ? ERROR_ACCESS_DENIED : ErrorFromErrno(error));
}

// The file system's form of a path; false, with the error set, when it has
// none or memory runs out.
bool EncodePath(LPCWSTR lpFileName, CUtf8String& path)
{
    if (lpFileName == nullptr || lpFileName[0] == 0)
    {
        SetError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    try
    {
        // A lone surrogate has no UTF-8 form: never reach another file in its place.
        if (!AfxEncodeUtf8(lpFileName, std::char_traits<WCHAR>::length(lpFileName), path))
        {
            SetError(ERROR_INVALID_NAME);
            return false;
        }
    }
    catch (CException* e)
    {
        e->Delete();
        SetError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

// Puts the folder entries of a path on the device: the folder itself is
// synchronised. A file system that cannot do so, or a folder that may be
// written but not read, has nothing to wait for. The path is cut to its
// folder's (which needs no memory).
bool SynchroniseFolderOf(CUtf8String& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash != CUtf8String::npos)
        path.resize(slash == 0 ? 1 : slash);
    const int fd = open(slash == CUtf8String::npos ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd == -1)
        return true;
    const bool bDone = fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    close(fd);
    errno = error;
    return bDone;
}

HANDLE HandleFromDescriptor(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(fd) + 1);
}

// The descriptor of a handle, or -1 (with ERROR_INVALID_HANDLE) for one that
// cannot be one of ours.
int DescriptorFromHandle(HANDLE hFile)
{
    const INT_PTR fd = reinterpret_cast<INT_PTR>(hFile) - 1;
    if (hFile == INVALID_HANDLE_VALUE || fd < 0 || fd > INT_MAX)
    {
        SetError(ERROR_INVALID_HANDLE);
        return -1;
    }
    return static_cast<int>(fd);
}

int OpenFlags(DWORD dwDesiredAccess, DWORD dwCreationDisposition)
{
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (dwDesiredAccess & (GENERIC_READ | GENERIC_WRITE))
    {
    case GENERIC_READ:
        flags |= O_RDONLY;
        break;
    case GENERIC_WRITE:
        flags |= O_WRONLY;
        break;
    default:
        flags |= O_RDWR;
        break;
    }
    // Truncation waits until the share mode has been granted (see CreateFileW).
    switch (dwCreationDisposition)
    {
    case CREATE_NEW:
        return flags | O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        return flags | O_CREAT;
    default:
        return flags;
    }
}

bool IsValidRequest(DWORD dwDesiredAccess, DWORD dwCreationDisposition)
{
    const DWORD access = GENERIC_READ | GENERIC_WRITE;
    if ((dwDesiredAccess & access) == 0 || (dwDesiredAccess & ~access) != 0)
        return false;
    if (dwCreationDisposition == TRUNCATE_EXISTING)
        return (dwDesiredAccess & GENERIC_WRITE) != 0;
    return dwCreationDisposition >= CREATE_NEW && dwCreationDisposition <= TRUNCATE_EXISTING;
}

// Refuses what is not a regular file, takes the share lock, truncates where
// asked and makes the descriptor blocking again. Returns 0 or an error.
DWORD PrepareOpenedFile(int fd, DWORD dwDesiredAccess, DWORD dwShareMode, DWORD dwCreationDisposition)
{
    struct stat status;
    if (fstat(fd, &status) != 0)
        return ErrorFromErrno(errno);
    if (!S_ISREG(status.st_mode))
        return ERROR_ACCESS_DENIED;

    int lock = 0;
    if ((dwDesiredAccess & GENERIC_WRITE) != 0)
        lock = LOCK_EX;
    else if ((dwShareMode & FILE_SHARE_WRITE) == 0)
        lock = LOCK_SH;
    // A file system without flock() support opens without the promise.
    if (lock != 0 && flock(fd, lock | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return ERROR_SHARING_VIOLATION;

    if ((dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING) &&
        ftruncate(fd, 0) != 0)
        return ErrorFromErrno(errno);

    const int flags = fcntl(fd, F_GETFL);
    if (flags == -1 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == -1)
        return ErrorFromErrno(errno);
    return NO_ERROR;
}

// A synchronous transfer as Win32 makes it: read() and write() may move part
// of a request, Win32 goes on until all of it is moved, the file ends (a
// step moving nothing) or an error stops it. step(fd, nDone, nLeft) moves
// bytes at offset nDone of the caller's buffer.
template <class Step>
BOOL TransferFile(HANDLE hFile, bool bHasBuffer, DWORD nCount, LPDWORD lpDone, LPOVERLAPPED lpOverlapped, Step step)
{
    if (lpDone == nullptr || lpOverlapped != nullptr)
    {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpDone = 0;
    const int fd = DescriptorFromHandle(hFile);
    if (fd == -1)
        return FALSE;
    if (!bHasBuffer && nCount != 0)
    {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }

    DWORD nDone = 0;
    while (nDone < nCount)
    {
        const ssize_t n = step(fd, nDone, nCount - nDone);
        if (n == 0)
            break;
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            SetTransferError(fd, errno);
            *lpDone = nDone;
            return FALSE;
        }
        nDone += static_cast<DWORD>(n);
    }
    *lpDone = nDone;
    return TRUE;
}
} // namespace

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD, HANDLE)
{
    if (!IsValidRequest(dwDesiredAccess, dwCreationDisposition))
    {
        SetError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }

    CUtf8String path;
    if (!EncodePath(lpFileName, path))
        return INVALID_HANDLE_VALUE;

    int fd;
    do
        fd = open(path.c_str(), OpenFlags(dwDesiredAccess, dwCreationDisposition), 0666);
    while (fd == -1 && errno == EINTR);
    if (fd == -1)
    {
        SetErrorFromErrno();
        return INVALID_HANDLE_VALUE;
    }

    const DWORD error = PrepareOpenedFile(fd, dwDesiredAccess, dwShareMode, dwCreationDisposition);
    if (error != NO_ERROR)
    {
        close(fd);
        SetError(error);
        return INVALID_HANDLE_VALUE;
    }
    return HandleFromDescriptor(fd);
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    const int fd = DescriptorFromHandle(hFile);
    if (fd == -1)
        return INVALID_FILE_SIZE;
    struct stat status;
    if (fstat(fd, &status) != 0)
    {
        SetErrorFromErrno();
        return INVALID_FILE_SIZE;
    }
    const auto size = static_cast<ULONGLONG>(status.st_size);
    if (lpFileSizeHigh != nullptr)
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    // INVALID_FILE_SIZE is also a size: callers tell them apart by the error.
    SetError(NO_ERROR);
    return static_cast<DWORD>(size);
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped)
{
    auto* pBytes = static_cast<BYTE*>(lpBuffer);
    return TransferFile(hFile, lpBuffer != nullptr, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped,
                        [pBytes](int fd, DWORD nDone, DWORD nLeft) { return read(fd, pBytes + nDone, nLeft); });
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped)
{
    const auto* pBytes = static_cast<const BYTE*>(lpBuffer);
    return TransferFile(hFile, lpBuffer != nullptr, nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped,
                        [pBytes](int fd, DWORD nDone, DWORD nLeft) { return write(fd, pBytes + nDone, nLeft); });
}

BOOL FlushFileBuffers(HANDLE hFile)
{
    const int fd = DescriptorFromHandle(hFile);
    if (fd == -1)
        return FALSE;
    const int flags = fcntl(fd, F_GETFL);
    if (flags == -1)
    {
        SetErrorFromErrno();
        return FALSE;
    }
    if ((flags & O_ACCMODE) == O_RDONLY)
    {
        SetError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // EINVAL: the file system cannot synchronise this file, so there is nothing to wait for.
    if (fsync(fd) != 0 && errno != EINVAL)
    {
        SetErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    const int fd = DescriptorFromHandle(hFile);
    if (fd == -1)
        return INVALID_SET_FILE_POINTER;
    int whence;
    switch (dwMoveMethod)
    {
    case FILE_BEGIN:
        whence = SEEK_SET;
        break;
    case FILE_CURRENT:
        whence = SEEK_CUR;
        break;
    case FILE_END:
        whence = SEEK_END;
        break;
    default:
        SetError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }

    // Without the high part the distance is a signed 32-bit value.
    long long distance = lDistanceToMove;
    if (lpDistanceToMoveHigh != nullptr)
        distance = static_cast<long long>((static_cast<ULONGLONG>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                          static_cast<DWORD>(lDistanceToMove));

    const off_t previous = lseek(fd, 0, SEEK_CUR);
    const off_t position = previous == -1 ? -1 : lseek(fd, static_cast<off_t>(distance), whence);
    if (position == -1)
    {
        SetError(errno == EINVAL ? ERROR_NEGATIVE_SEEK : ErrorFromErrno(errno));
        return INVALID_SET_FILE_POINTER;
    }
    const auto newPosition = static_cast<ULONGLONG>(position);
    if (lpDistanceToMoveHigh == nullptr && newPosition > 0xFFFFFFFFULL)
    {
        // The position could not be reported: Win32 does not move then.
        lseek(fd, previous, SEEK_SET);
        SetError(ERROR_INVALID_PARAMETER);
        return INVALID_SET_FILE_POINTER;
    }
    if (lpDistanceToMoveHigh != nullptr)
        *lpDistanceToMoveHigh = static_cast<LONG>(newPosition >> 32);
    SetError(NO_ERROR);
    return static_cast<DWORD>(newPosition);
}

BOOL CloseHandle(HANDLE hObject)
{
    const int fd = DescriptorFromHandle(hObject);
    if (fd == -1)
        return FALSE;
    // Linux releases the descriptor even when close() reports an error.
    if (close(fd) != 0 && errno == EBADF)
    {
        SetError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer)
{
    std::unique_ptr<char[]> path;
    for (std::size_t capacity = 256;; capacity *= 2)
    {
        path.reset(new (std::nothrow) char[capacity]);
        if (path == nullptr)
        {
            SetError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        if (getcwd(path.get(), capacity) != nullptr)
            break;
        if (errno != ERANGE)
        {
            SetErrorFromErrno();
            return 0;
        }
    }

    const std::size_t nBytes = std::strlen(path.get());
    std::unique_ptr<WCHAR[]> wide(new (std::nothrow) WCHAR[nBytes]);
    if (wide == nullptr)
    {
        SetError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    const auto nUnits = static_cast<DWORD>(AfxDecodeUtf8(reinterpret_cast<const BYTE*>(path.get()), nBytes, wide.get()));
    // Too small a buffer: report the size needed, terminating NUL included.
    if (lpBuffer == nullptr || nBufferLength <= nUnits)
        return nUnits + 1;
    std::memcpy(lpBuffer, wide.get(), nUnits * sizeof(WCHAR));
    lpBuffer[nUnits] = 0;
    return nUnits;
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags)
{
    if ((dwFlags & MOVEFILE_REPLACE_EXISTING) == 0 ||
        (dwFlags & ~(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) != 0)
    {
        SetError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    CUtf8String from;
    CUtf8String to;
    if (!EncodePath(lpExistingFileName, from) || !EncodePath(lpNewFileName, to))
        return FALSE;
    if (rename(from.c_str(), to.c_str()) != 0 ||
        ((dwFlags & MOVEFILE_WRITE_THROUGH) != 0 && !SynchroniseFolderOf(to)))
    {
        SetErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR lpFileName)
{
    CUtf8String path;
    if (!EncodePath(lpFileName, path))
        return FALSE;
    if (unlink(path.c_str()) != 0)
    {
        SetErrorFromErrno();
        return FALSE;
    }
    return TRUE;
}

DWORD GetLastError()
{
    return t_lastError;
}
