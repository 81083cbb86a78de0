// Basic Win32-style types shared by the platform layer and everything above it.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#  if defined(ZOLAFX_BUILD)
#    define AFX_CORE_API __declspec(dllexport)
#  else
#    define AFX_CORE_API __declspec(dllimport)
#  endif
#  include "AfxWin32Headers.h"
#else
#  define AFX_CORE_API __attribute__((visibility("default")))
#  include "AfxPosixTypes.h"
#endif

// Text is UTF-16 everywhere, and literals are written u"...". On Windows the
// layer hands these pointers to the ...W functions of Win32, whose wchar_t
// has the same representation.
typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
// MFC builds for Unicode here, so its TCHAR text is the same UTF-16.
typedef WCHAR* LPTSTR;

static_assert(sizeof(WCHAR) == 2, "UTF-16 code units are 16 bits");
static_assert(sizeof(DWORD) == 4 && sizeof(LONG) == 4, "Win32 fixes these at 32 bits");

// MFC's opaque cursor for walking lists and maps.
struct __POSITION {};
typedef __POSITION* POSITION;
