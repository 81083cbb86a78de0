#include "AfxWnd.h"

#include "AfxWin32Text.h"
#include <afx/core/AfxExceptions.h>
#include "AfxWinApp.h"

#include <unordered_map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace
{
// Window objects by handle. Windows live on the user-interface thread only.
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object whose window CreateEx is making: it is attached when its window
// receives its first message, so that WM_NCCREATE and WM_CREATE reach it.
thread_local CWnd* t_pWndInit = nullptr;
// The window whose creation is under way (the innermost); a window that
// fails to be created leaves its object to the creator.
thread_local CWnd* t_pWndCreating = nullptr;

class CreationScope
{
public:
    explicit CreationScope(CWnd* pWnd) : m_pOuterInit(t_pWndInit), m_pOuterCreating(t_pWndCreating)
    {
        t_pWndInit = pWnd;
        t_pWndCreating = pWnd;
    }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;
    ~CreationScope()
    {
        t_pWndInit = m_pOuterInit;
        t_pWndCreating = m_pOuterCreating;
    }

private:
    CWnd* m_pOuterInit;
    CWnd* m_pOuterCreating;
};
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) HWND CWnd::GetSafeHwnd() const noexcept
{
    return this == nullptr ? nullptr : m_hWnd;
}

CWnd::~CWnd()
{
    if (m_hWnd != nullptr)
        ::DestroyWindow(Detach());
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    const auto& map = HandleMap();
    const auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == nullptr || m_hWnd != nullptr)
        return FALSE;
    HandleMap()[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    const HWND hWnd = m_hWnd;
    if (hWnd != nullptr)
        HandleMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    CREATESTRUCT cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = AfxWin32Text(lpszClassName);
    cs.lpszName = AfxWin32Text(lpszWindowName);
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    HWND hWnd;
    {
        CreationScope scope(this);
        hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x,
                                 cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    return hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    // The object may be deleted while its window is destroyed: touch no member afterwards.
    const HWND hWnd = m_hWnd;
    return hWnd != nullptr && ::DestroyWindow(hWnd);
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

void CWnd::SetWindowText(LPCWSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, lpszString);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    const DWORD dwStyle = GetExStyle();
    const DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(dwNewStyle));
    if (nFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }

    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(message, 0, 0);
    if (pEntry == nullptr)
        return FALSE;
    *pResult = pEntry->pfn(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    // Menus send code 0 and accelerators 1: both are plain commands.
    const int nCode = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return nID != 0 && OnCmdMsg(nID, nCode);
}

void CWnd::PostNcDestroy()
{
}

int CWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return static_cast<int>(DefWindowProc(WM_CREATE, 0, reinterpret_cast<LPARAM>(lpCreateStruct)));
}

void CWnd::OnNcDestroy()
{
    // The main window's end ends the program.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
    {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
    const bool bCreationFailed = this == t_pWndCreating;
    Detach();
    if (!bCreationFailed)
        PostNcDestroy();
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr && t_pWndInit != nullptr)
    {
        pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        pWnd->Attach(hWnd);
    }
    if (pWnd == nullptr)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);

    LRESULT lResult = 0;
    try
    {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    }
    catch (CException* e)
    {
        // An exception must not unwind through the system's frames; the
        // message counts as unhandled.
        e->Delete();
    }
    catch (...)
    {
        // Nor may one of the standard library's (std::bad_alloc from a
        // container in a handler).
    }
    if (nMsg == WM_NCDESTROY)
        pWnd->OnNcDestroy();
    return lResult;
}
