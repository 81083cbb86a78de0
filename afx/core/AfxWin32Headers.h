// The Windows headers, with their wchar_t-based text types renamed out of
// the way: the layer's WCHAR is char16_t on every platform. Win32's own
// declarations keep wchar_t; the layer's overloads taking WCHAR* forward to
// them (same representation, checked below).
#pragma once

#ifndef NOMINMAX
#  define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#  define WIN32_LEAN_AND_MEAN
#endif
#ifndef UNICODE
#  define UNICODE
#endif
#ifndef _UNICODE
#  define _UNICODE
#endif

#define WCHAR ZOL_WIN32_WCHAR
#define LPWSTR ZOL_WIN32_LPWSTR
#define LPCWSTR ZOL_WIN32_LPCWSTR
#define LPTSTR ZOL_WIN32_LPTSTR
#include <windows.h>
#undef WCHAR
#undef LPWSTR
#undef LPCWSTR
#undef LPTSTR

static_assert(sizeof(wchar_t) == 2, "Win32 text is UTF-16");
