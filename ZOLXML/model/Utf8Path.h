// Paths given in UTF-8, as a program holds them on POSIX systems, turned
// into the UTF-16 paths of the platform layer.
#pragma once

#include <afx/core/AfxString.h>

// The UTF-16 form of pszPath; false when pszPath is null or not well-formed
// UTF-8, whose replacement characters would name another file.
bool ZolPathFromUtf8(const char* pszPath, CString& strPath);
