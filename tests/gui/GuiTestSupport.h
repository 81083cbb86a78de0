// Helpers of the GUI tests: running the message loop for a while, acting as
// a user, capturing a window's pixels, and moving between the layer's UTF-16
// text and Win32's.
#pragma once

#include <afx/win/afxwin.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

// Dispatches the thread's messages until none has come for quietMs, or at
// most maxMs. onMessage, when given, sees each message before dispatch.
template <class TOnMessage>
void PumpMessages(DWORD quietMs, DWORD maxMs, TOnMessage onMessage)
{
    const DWORD start = ::GetTickCount();
    DWORD lastMessage = start;
    for (;;)
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            onMessage(msg);
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
            lastMessage = ::GetTickCount();
        }
        const DWORD now = ::GetTickCount();
        if (now - lastMessage >= quietMs || now - start >= maxMs)
            return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

inline void PumpMessages(DWORD quietMs = 100, DWORD maxMs = 3000)
{
    PumpMessages(quietMs, maxMs, [](const MSG&) {});
}

// The window and its children as they show now, one 0x00RRGGBB value a
// pixel, without running the message loop (so also inside a scripted
// user's action).
inline std::vector<std::uint32_t> SnapWindow(HWND hWnd)
{
    RECT rect;
    ::GetWindowRect(hWnd, &rect);
    const int cx = rect.right - rect.left;
    const int cy = rect.bottom - rect.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = -cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    const HDC hWindowDC = ::GetWindowDC(hWnd);
    const HDC hMemoryDC = ::CreateCompatibleDC(hWindowDC);
    void* pBits = nullptr;
    const HBITMAP hBitmap = ::CreateDIBSection(hMemoryDC, &info, DIB_RGB_COLORS, &pBits, nullptr, 0);
    const HGDIOBJ hOld = ::SelectObject(hMemoryDC, hBitmap);
    ::BitBlt(hMemoryDC, 0, 0, cx, cy, hWindowDC, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* pPixels = static_cast<const std::uint32_t*>(pBits);
    std::vector<std::uint32_t> pixels(pPixels, pPixels + static_cast<std::size_t>(cx) * cy);
    for (std::uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    ::SelectObject(hMemoryDC, hOld);
    ::DeleteObject(hBitmap);
    ::DeleteDC(hMemoryDC);
    ::ReleaseDC(hWnd, hWindowDC);
    return pixels;
}

// The window and its children painted afresh.
inline std::vector<std::uint32_t> CaptureWindow(HWND hWnd)
{
    ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpMessages();
    return SnapWindow(hWnd);
}

// The pixels of a rectangle (window coordinates) of a window's snapshot.
inline std::vector<std::uint32_t> CropSnapshot(const std::vector<std::uint32_t>& pixels, HWND hWnd, const RECT& part)
{
    RECT window;
    ::GetWindowRect(hWnd, &window);
    const auto cx = static_cast<std::size_t>(window.right - window.left);
    std::vector<std::uint32_t> cropped;
    for (LONG y = part.top; y < part.bottom; ++y)
    {
        const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * cx);
        cropped.insert(cropped.end(), row + part.left, row + part.right);
    }
    return cropped;
}

// The centre of the part of the window that answers hit-testing with nHit
// (HTCLOSE, HTSYSMENU, ...) in the caption's row, found by asking the window
// as the system does; {-1, -1} when there is none. The window may belong to
// another process.
inline POINT FindHitPoint(HWND hWnd, UINT nHit)
{
    RECT window;
    ::GetWindowRect(hWnd, &window);
    const auto hitAt = [hWnd](LONG x, LONG y) {
        DWORD_PTR nResult = HTNOWHERE;
        ::SendMessageTimeoutW(hWnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 5000, &nResult);
        return static_cast<UINT>(nResult);
    };
    // The caption's rows, in the window's middle.
    const LONG xMiddle = (window.left + window.right) / 2;
    LONG yTop = -1;
    LONG yBottom = -1;
    for (LONG y = window.top; y < window.bottom && (yTop < 0 || y == yBottom + 1); ++y)
    {
        if (hitAt(xMiddle, y) != HTCAPTION)
            continue;
        yTop = yTop < 0 ? y : yTop;
        yBottom = y;
    }
    if (yTop < 0)
        return {-1, -1};
    const auto middleOf = [&](LONG nFrom, LONG nTo, auto hitsAt) {
        LONG nFirst = -1;
        LONG nLast = -1;
        for (LONG n = nFrom; n < nTo; ++n)
        {
            if (!hitsAt(n))
                continue;
            nFirst = nFirst < 0 ? n : nFirst;
            nLast = n;
        }
        return nFirst < 0 ? -1 : (nFirst + nLast) / 2;
    };
    const LONG yRow = (yTop + yBottom) / 2;
    const LONG x = middleOf(window.left, window.right, [&](LONG n) { return hitAt(n, yRow) == nHit; });
    if (x < 0)
        return {-1, -1};
    return {x, middleOf(yTop, yBottom + 1, [&](LONG n) { return hitAt(x, n) == nHit; })};
}

// The work area of the monitor the window is on: the screen less the task
// bar and docked bars.
inline RECT MonitorWorkArea(HWND hWnd)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

// Rectangles in assertions.
inline bool operator==(const RECT& a, const RECT& b)
{
    return ::EqualRect(&a, &b) != FALSE;
}

inline void PrintTo(const RECT& rect, std::ostream* pStream)
{
    *pStream << '(' << rect.left << ',' << rect.top << ")-(" << rect.right << ',' << rect.bottom << ')';
}

// Moves the mouse to a point of the screen, as a user would, pressing or
// releasing buttons there as dwFlags (MOUSEEVENTF_...) say.
inline void SendMouseInput(POINT screen, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwFlags;
    ::SendInput(1, &input, sizeof(input));
}

inline INPUT KeyInput(WORD nKey, bool bDown)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = nKey;
    input.ki.dwFlags = bDown ? 0 : KEYEVENTF_KEYUP;
    return input;
}

// Presses the keys in order and releases them in reverse, as a user types
// a combination such as Ctrl+Z (VK_CONTROL, 'Z').
inline void SendKeyChord(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs;
    for (const WORD nKey : keys)
        inputs.push_back(KeyInput(nKey, true));
    for (auto it = keys.end(); it != keys.begin();)
        inputs.push_back(KeyInput(*--it, false));
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Presses or releases one key and holds it so.
inline void SendKeyEvent(WORD nKey, bool bDown)
{
    INPUT input = KeyInput(nKey, bDown);
    ::SendInput(1, &input, sizeof(input));
}

// A user's actions, taken one at a time, each once everything before it has
// been handled, as a person would. A timer takes them, so they go on inside
// modal loops too (a popup menu's, the system's move loop). When all are
// taken, finishing runs at each tick for as long as it returns true, to end
// what a fault could leave open. One at a time per thread.
class ScriptedUser
{
public:
    explicit ScriptedUser(std::vector<std::function<void()>> actions,
                          std::function<bool()> finishing = [] { return false; })
        : m_actions(std::move(actions)), m_finishing(std::move(finishing))
    {
        s_pCurrent = this;
        m_nTimer = ::SetTimer(nullptr, 0, 40, Tick);
    }
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;
    ~ScriptedUser()
    {
        if (m_nTimer != 0)
            ::KillTimer(nullptr, m_nTimer);
        s_pCurrent = nullptr;
    }

    std::size_t Taken() const { return m_nNext; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        ScriptedUser* pUser = s_pCurrent;
        if (pUser == nullptr || pUser->m_nTimer == 0 || HIWORD(::GetQueueStatus(QS_POSTMESSAGE | QS_INPUT)) != 0)
            return;
        if (pUser->m_nNext < pUser->m_actions.size())
            pUser->m_actions[pUser->m_nNext++]();
        else if (!pUser->m_finishing())
        {
            // Stopped, so that the thread falls quiet.
            ::KillTimer(nullptr, pUser->m_nTimer);
            pUser->m_nTimer = 0;
        }
    }

    static inline ScriptedUser* s_pCurrent = nullptr;
    std::vector<std::function<void()>> m_actions;
    std::function<bool()> m_finishing;
    std::size_t m_nNext = 0;
    UINT_PTR m_nTimer = 0;
};

// A hook on this thread (WH_CALLWNDPROC, WH_GETMESSAGE, ...) for the life of
// the object.
class ThreadHookScope
{
public:
    ThreadHookScope(int idHook, HOOKPROC pfnHook)
        : m_hHook(::SetWindowsHookExW(idHook, pfnHook, nullptr, ::GetCurrentThreadId()))
    {
    }
    ThreadHookScope(const ThreadHookScope&) = delete;
    ThreadHookScope& operator=(const ThreadHookScope&) = delete;
    ~ThreadHookScope() { ::UnhookWindowsHookEx(m_hHook); }

private:
    HHOOK m_hHook;
};

struct ClassSearch
{
    const wchar_t* pszClass;
    HWND hFound;
};

inline BOOL CALLBACK MatchClass(HWND hWnd, LPARAM lParam)
{
    auto* pSearch = reinterpret_cast<ClassSearch*>(lParam);
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    if (std::wstring(szClass) != pSearch->pszClass || !::IsWindowVisible(hWnd))
        return TRUE;
    pSearch->hFound = hWnd;
    return FALSE;
}

// A shown top-level window of this thread of the window class ("#32770" for
// a dialog, "#32768" for a popup menu); null if there is none.
inline HWND FindThreadWindowOfClass(const wchar_t* pszClass)
{
    ClassSearch search = {pszClass, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

inline std::u16string ToUtf16(const std::wstring& str)
{
    return std::u16string(str.begin(), str.end());
}

inline std::u16string ToUtf16(const CString& str)
{
    return std::u16string(str.GetString(), static_cast<std::size_t>(str.GetLength()));
}

inline std::wstring WindowText(HWND hWnd)
{
    wchar_t szText[512] = {};
    ::GetWindowTextW(hWnd, szText, 512);
    return szText;
}

inline std::wstring CurrentDirectory()
{
    wchar_t szPath[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, szPath);
    return szPath;
}

// A new empty folder below the system's temporary folder.
inline std::wstring MakeTempFolder(const wchar_t* pszName)
{
    wchar_t szTemp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, szTemp);
    const std::wstring strFolder = std::wstring(szTemp) + pszName + L"-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(strFolder.c_str(), nullptr);
    return strFolder;
}

inline void WriteTextFile(const std::wstring& strPath, const std::string& strContent)
{
    const HANDLE hFile = ::CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD nWritten = 0;
    ::WriteFile(hFile, strContent.data(), static_cast<DWORD>(strContent.size()), &nWritten, nullptr);
    ::CloseHandle(hFile);
}
