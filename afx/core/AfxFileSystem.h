// The seam between CFile and the operating system: one implementation per
// platform (AfxFileSystem_posix.cpp, AfxFileSystem_win.cpp). Failures raise
// CFileException* with the system's error code.
#pragma once

#include "AfxExceptions.h"
#include "AfxTypes.h"

namespace AfxFileSystem
{
// The handle of the opened file, or CFile::hFileNull with the cause of the
// failure in rException.
HANDLE Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException& rException);
UINT Read(HANDLE hFile, void* lpBuf, UINT nCount);
void Write(HANDLE hFile, const void* lpBuf, UINT nCount);
// The new position; nFrom is CFile::begin, current or end.
ULONGLONG Seek(HANDLE hFile, LONGLONG lOff, UINT nFrom);
ULONGLONG GetLength(HANDLE hFile);
void Flush(HANDLE hFile);
void Close(HANDLE hFile);
}
