#include "AfxFrameWnd.h"

#include "AfxWin32Text.h"
#include "AfxWinApp.h"
#include "AfxWndClasses.h"
#include "afxres.h"

#include <algorithm>

namespace
{
// Posted to a frame to carry out delayed bar changes once its queue is idle.
constexpr UINT WM_IDLEUPDATECMDUI = 0x0363;
}

IMPLEMENT_DYNAMIC(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnDelayedLayout)
END_MESSAGE_MAP()

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

CFrameWnd::~CFrameWnd()
{
    for (CControlBar* pBar : m_topBars)
        pBar->m_pDockSite = nullptr;
}

BOOL CFrameWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCWSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = nullptr;
    if (lpszMenuName != nullptr)
    {
        hMenu = LoadMenuW(AfxFindResourceHandle(lpszMenuName, RT_MENU), lpszMenuName);
        if (hMenu == nullptr)
            return FALSE;
    }

    const bool bDefault = rect.left == rectDefault.left && rect.top == rectDefault.top &&
                          rect.right == rectDefault.right && rect.bottom == rectDefault.bottom;
    const int x = bDefault ? CW_USEDEFAULT : rect.left;
    const int y = bDefault ? CW_USEDEFAULT : rect.top;
    const int cx = bDefault ? CW_USEDEFAULT : rect.right - rect.left;
    const int cy = bDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, pParentWnd->GetSafeHwnd(),
                  hMenu, pContext))
    {
        if (hMenu != nullptr)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxWin32Text(AfxFrameWndClass());
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT)
{
    if (pBar == nullptr || (nDockBarID != 0 && nDockBarID != AFX_IDW_DOCKBAR_TOP) ||
        (pBar->m_dwDockStyle & CBRS_ALIGN_TOP) == 0)
        return;
    if (std::find(m_topBars.begin(), m_topBars.end(), pBar) == m_topBars.end())
        m_topBars.push_back(pBar);
    pBar->m_pDockSite = this;
    RecalcLayout();
}

void CFrameWnd::RemoveControlBar(CControlBar* pBar)
{
    m_topBars.erase(std::remove(m_topBars.begin(), m_topBars.end(), pBar), m_topBars.end());
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay)
{
    if (!bDelay)
    {
        pBar->ShowWindow(bShow ? SW_SHOWNOACTIVATE : SW_HIDE);
        RecalcLayout();
        return;
    }
    pBar->DelayShow(bShow);
    if (!m_bLayoutPending && PostMessage(WM_IDLEUPDATECMDUI))
        m_bLayoutPending = true;
}

void CFrameWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    int top = client.top;
    for (CControlBar* pBar : m_topBars)
    {
        if (pBar->m_hWnd == nullptr || (pBar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        const CSize size = pBar->CalcFixedLayout(TRUE, TRUE);
        ::SetWindowPos(pBar->m_hWnd, nullptr, client.left, top, client.right - client.left, size.cy,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        top += size.cy;
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode))
        return TRUE;
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode);
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

LRESULT CFrameWnd::OnSize(WPARAM wParam, LPARAM)
{
    if (wParam != SIZE_MINIMIZED)
        RecalcLayout();
    return 0;
}

LRESULT CFrameWnd::OnDelayedLayout(WPARAM, LPARAM)
{
    m_bLayoutPending = false;
    for (CControlBar* pBar : m_topBars)
        pBar->ApplyDelayedShow();
    RecalcLayout();
    return 0;
}
