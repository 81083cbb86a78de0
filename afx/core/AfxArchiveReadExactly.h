// Reading a record's fixed part: all of it, or the end-of-file archive
// exception. Internal to the archive's sources.
#pragma once

#include "AfxArchive.h"

inline void AfxReadExactly(CArchive& ar, void* lpBuf, UINT nCount)
{
    if (ar.Read(lpBuf, nCount) != nCount)
        AfxThrowArchiveException(CArchiveException::endOfFile);
}
