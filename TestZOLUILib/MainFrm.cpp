#include "MainFrm.h"

#include "resource.h"

#include <afx/win/afxwin.h>

namespace
{
// Child-window identifier of the menu bar.
constexpr UINT IDW_MENUBAR = 0xE810;
}

IMPLEMENT_DYNAMIC(CMainFrame, CZOLUIMainWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CZOLUIMainWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_SKINCHANGED, OnSkinChanged)
END_MESSAGE_MAP()

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CZOLUIMainWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    if (!m_wndMenuBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP, IDW_MENUBAR))
        return -1;
    m_wndMenuBar.SetWindowText(u"Menubar");
    m_wndMenuBar.EnableDocking(CBRS_ALIGN_TOP);
    DockControlBar(&m_wndMenuBar, AFX_IDW_DOCKBAR_TOP, nullptr);
    if (!m_wndMenuBar.IsVisible())
        ShowControlBar(&m_wndMenuBar, TRUE, TRUE);

    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return 0;
}

LRESULT CMainFrame::OnSkinChanged(WPARAM wParam, LPARAM lParam)
{
    // The bar lets go of its menu before the skin changes.
    m_wndMenuBar.SetMenu(nullptr);
    CZOLUIMainWnd::OnSkinChanged(wParam, lParam);

    CMenu menu;
    menu.Attach(LoadMenuW(AfxFindResourceHandle(MAKEINTRESOURCE(IDR_MAINFRAME), RT_MENU),
                          MAKEINTRESOURCE(IDR_MAINFRAME)));
    // The bar owns the menu from here on.
    m_wndMenuBar.SetMenu(menu.Detach());
    return 0;
}
