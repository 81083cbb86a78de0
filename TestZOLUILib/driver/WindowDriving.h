// Driving the test program from another process: finding its windows by
// title and giving them its menu commands by name.
#pragma once

#include "resource.h"

#include <afx/win/afxres.h>

#include <cwchar>
#include <cwctype>
#include <string>
#include <windows.h>

struct NamedCommand
{
    const wchar_t* pszName;
    UINT nID;
};

inline constexpr NamedCommand kNamedCommands[] = {
    {L"colorcoolbar", ID_COOLBAR_COLORCOOLBAR},
    {L"imagecoolbar", ID_COOLBAR_IMAGECOOLBAR},
    {L"mediaplay", ID_FRAME_MEDIAPLAY},
    {L"skin++", ID_FRAME_SKINPLUSPLUS},
    {L"about", ID_APP_ABOUT},
    {L"exit", ID_APP_EXIT},
    {L"undo", ID_EDIT_UNDO},
    {L"cut", ID_EDIT_CUT},
    {L"copy", ID_EDIT_COPY},
    {L"paste", ID_EDIT_PASTE},
};

// The command a name (any case) or a decimal or 0x number stands for; 0 if none.
inline UINT CommandFromText(const wchar_t* pszText)
{
    for (const NamedCommand& command : kNamedCommands)
    {
        if (::_wcsicmp(command.pszName, pszText) == 0)
            return command.nID;
    }
    wchar_t* pszEnd = nullptr;
    const unsigned long nValue = std::wcstoul(pszText, &pszEnd, 0);
    return pszEnd != pszText && *pszEnd == L'\0' && nValue <= 0xFFFF ? static_cast<UINT>(nValue) : 0;
}

struct WindowSearch
{
    const wchar_t* pszTitle;
    DWORD nProcessId; // 0: any process
    HWND hFound;
};

inline BOOL CALLBACK MatchWindow(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    wchar_t szTitle[256] = {};
    ::GetWindowTextW(hWnd, szTitle, 256);
    DWORD nProcess = 0;
    ::GetWindowThreadProcessId(hWnd, &nProcess);
    if (!::IsWindowVisible(hWnd) || std::wcscmp(szTitle, pSearch->pszTitle) != 0 ||
        (pSearch->nProcessId != 0 && nProcess != pSearch->nProcessId))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

// A shown top-level window with the title, of the process when nProcessId
// is not 0; null if there is none.
inline HWND FindShownWindow(const wchar_t* pszTitle, DWORD nProcessId)
{
    WindowSearch search = {pszTitle, nProcessId, nullptr};
    ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// The top-level window with the title (of the process, when nProcessId is not
// 0), waiting up to nTimeoutMs for it to be shown and its program to be back
// in its message loop; null if none came.
inline HWND WaitForWindow(const wchar_t* pszTitle, DWORD nTimeoutMs, DWORD nProcessId = 0)
{
    const DWORD nStart = ::GetTickCount();
    for (;;)
    {
        const HWND hWnd = FindShownWindow(pszTitle, nProcessId);
        DWORD_PTR nResult = 0;
        if (hWnd != nullptr && ::SendMessageTimeoutW(hWnd, WM_NULL, 0, 0, SMTO_NORMAL, nTimeoutMs, &nResult))
            return hWnd;
        if (::GetTickCount() - nStart >= nTimeoutMs)
            return nullptr;
        ::Sleep(50);
    }
}

// Whether the top-level window with the title went away within nTimeoutMs.
inline bool WaitForWindowGone(const wchar_t* pszTitle, DWORD nTimeoutMs)
{
    const DWORD nStart = ::GetTickCount();
    while (::FindWindowW(nullptr, pszTitle) != nullptr)
    {
        if (::GetTickCount() - nStart >= nTimeoutMs)
            return false;
        ::Sleep(50);
    }
    return true;
}

// Sends the command and returns once the window has handled it.
inline bool SendCommand(HWND hWnd, UINT nID)
{
    DWORD_PTR nResult = 0;
    return ::SendMessageTimeoutW(hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0, SMTO_NORMAL, 15000, &nResult) != 0;
}

// Posts the command, for commands that open a modal dialog and return late.
inline bool PostCommand(HWND hWnd, UINT nID)
{
    return ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(nID, 0), 0) != FALSE;
}
