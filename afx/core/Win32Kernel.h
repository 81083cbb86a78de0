// The Win32 file functions the toolkit calls, with Win32's signatures. On
// Windows they are kernel32's own (plus overloads taking the layer's WCHAR);
// elsewhere Win32Kernel_posix.cpp provides them over POSIX. Paths are UTF-16
// and reach a POSIX file system as UTF-8.
#pragma once

#include "AfxTypes.h"

#if defined(_WIN32)

inline HANDLE CreateFileW(const WCHAR* lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                          LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                          DWORD dwFlagsAndAttributes, HANDLE hTemplateFile)
{
    return ::CreateFileW(reinterpret_cast<const wchar_t*>(lpFileName), dwDesiredAccess, dwShareMode,
                         lpSecurityAttributes, dwCreationDisposition, dwFlagsAndAttributes, hTemplateFile);
}

inline DWORD GetCurrentDirectoryW(DWORD nBufferLength, WCHAR* lpBuffer)
{
    return ::GetCurrentDirectoryW(nBufferLength, reinterpret_cast<wchar_t*>(lpBuffer));
}

inline BOOL MoveFileExW(const WCHAR* lpExistingFileName, const WCHAR* lpNewFileName, DWORD dwFlags)
{
    return ::MoveFileExW(reinterpret_cast<const wchar_t*>(lpExistingFileName),
                         reinterpret_cast<const wchar_t*>(lpNewFileName), dwFlags);
}

inline BOOL DeleteFileW(const WCHAR* lpFileName)
{
    return ::DeleteFileW(reinterpret_cast<const wchar_t*>(lpFileName));
}

#else

struct _SECURITY_ATTRIBUTES;
typedef _SECURITY_ATTRIBUTES SECURITY_ATTRIBUTES;
typedef _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
struct _OVERLAPPED;
typedef _OVERLAPPED OVERLAPPED;
typedef _OVERLAPPED* LPOVERLAPPED;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;

constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;

constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;

constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;

constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;

constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x00000001;
constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x00000008;

constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;

constexpr DWORD NO_ERROR = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_WRITE_PROTECT = 19;
constexpr DWORD ERROR_GEN_FAILURE = 31;
constexpr DWORD ERROR_SHARING_VIOLATION = 32;
constexpr DWORD ERROR_LOCK_VIOLATION = 33;
constexpr DWORD ERROR_HANDLE_EOF = 38;
constexpr DWORD ERROR_HANDLE_DISK_FULL = 39;
constexpr DWORD ERROR_FILE_EXISTS = 80;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_BROKEN_PIPE = 109;
constexpr DWORD ERROR_DISK_FULL = 112;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_NEGATIVE_SEEK = 131;
constexpr DWORD ERROR_SEEK_ON_DEVICE = 132;
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;
constexpr DWORD ERROR_IO_DEVICE = 1117;
constexpr DWORD ERROR_CANT_RESOLVE_FILENAME = 1921;

// Opens a regular file for GENERIC_READ and/or GENERIC_WRITE. A directory, a
// FIFO or a device is refused with ERROR_ACCESS_DENIED, as Win32 refuses a
// directory. The share mode binds only the handles of this layer (see the
// source for what it can promise).
AFX_CORE_API HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode,
                                LPSECURITY_ATTRIBUTES lpSecurityAttributes, DWORD dwCreationDisposition,
                                DWORD dwFlagsAndAttributes, HANDLE hTemplateFile);
AFX_CORE_API DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh);
// Synchronous only: lpOverlapped must be null.
AFX_CORE_API BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                           LPOVERLAPPED lpOverlapped);
// Writes the whole request or fails. Synchronous only: lpOverlapped must be null.
AFX_CORE_API BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite,
                            LPDWORD lpNumberOfBytesWritten, LPOVERLAPPED lpOverlapped);
// Needs a handle with GENERIC_WRITE, as Win32's does.
AFX_CORE_API BOOL FlushFileBuffers(HANDLE hFile);
AFX_CORE_API DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh,
                                  DWORD dwMoveMethod);
AFX_CORE_API BOOL CloseHandle(HANDLE hObject);
AFX_CORE_API DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer);
// Renames a file in one step, replacing a file of the new name (rename());
// with MOVEFILE_WRITE_THROUGH it returns once the folder holding the new name
// is on the device. Only the replacing move is offered: dwFlags must hold
// MOVEFILE_REPLACE_EXISTING.
AFX_CORE_API BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags);
AFX_CORE_API BOOL DeleteFileW(LPCWSTR lpFileName);
AFX_CORE_API DWORD GetLastError();

#endif
