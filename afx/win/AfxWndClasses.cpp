#include "AfxWndClasses.h"

#include "AfxWin32Text.h"
#include "AfxWinApp.h"

namespace
{
LPCWSTR RegisterOnce(LPCWSTR lpszClassName, UINT nStyle, int nBackgroundColour)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(AfxGetInstanceHandle(), AfxWin32Text(lpszClassName), &wc))
    {
        wc.cbSize = sizeof(wc);
        wc.style = nStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = AfxGetInstanceHandle();
        wc.hCursor = ::LoadCursorW(nullptr, AfxWin32Text(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(nBackgroundColour + 1));
        wc.lpszClassName = AfxWin32Text(lpszClassName);
        ::RegisterClassExW(&wc);
    }
    return lpszClassName;
}
}

LPCWSTR AfxFrameWndClass()
{
    return RegisterOnce(u"AfxFrameOrView", CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, COLOR_WINDOW);
}

LPCWSTR AfxControlBarClass()
{
    return RegisterOnce(u"AfxControlBar", CS_DBLCLKS, COLOR_BTNFACE);
}
