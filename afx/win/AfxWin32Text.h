// Overloads taking the layer's WCHAR text for the Win32 functions that the
// window classes, the skin library and the test program call. Win32's own
// declarations take wchar_t, which has the same representation.
#pragma once

#include <afx/core/AfxTypes.h>

inline const wchar_t* AfxWin32Text(LPCWSTR psz) noexcept
{
    return reinterpret_cast<const wchar_t*>(psz);
}

inline wchar_t* AfxWin32Text(LPWSTR psz) noexcept
{
    return reinterpret_cast<wchar_t*>(psz);
}

inline HMENU LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName)
{
    return ::LoadMenuW(hInstance, AfxWin32Text(lpMenuName));
}

inline BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    return ::SetWindowTextW(hWnd, AfxWin32Text(lpString));
}
