#include "TestZOLUILib.h"

#include "AboutDlg.h"
#include "MainFrm.h"
#include "resource.h"

#include <afx/win/afxwin.h>

#include <new>

BEGIN_MESSAGE_MAP(CTestZOLUILibApp, CZOLUIApp)
    ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
    ON_COMMAND(ID_COOLBAR_COLORCOOLBAR, OnCoolbarColorcoolbar)
    ON_COMMAND(ID_COOLBAR_IMAGECOOLBAR, OnCoolbarImagecoolbar)
    ON_COMMAND(ID_FRAME_MEDIAPLAY, OnFrameMediaplay)
    ON_COMMAND(ID_FRAME_SKINPLUSPLUS, OnFrameSkinplusplus)
END_MESSAGE_MAP()

CTestZOLUILibApp theApp;

BOOL CTestZOLUILibApp::InitInstance()
{
    CZOLUIApp::InitInstance();

    CMainFrame* pFrame = new (std::nothrow) CMainFrame;
    if (pFrame == nullptr)
        return FALSE;
    m_pMainWnd = pFrame;

    pFrame->Create(nullptr, u"Hello, ZOLUI!", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr, nullptr, 0,
                   nullptr);
    pFrame->ShowWindow(SW_SHOW);
    UpdateWindow(pFrame->m_hWnd);
    return TRUE;
}

void CTestZOLUILibApp::OnAppAbout()
{
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

void CTestZOLUILibApp::ChangeSkin(LPCWSTR pszRelativePath)
{
    WCHAR szCurrentDirectory[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, szCurrentDirectory);
    m_strSkinPath = szCurrentDirectory;
    m_strSkinPath += pszRelativePath;
    // Sent, not posted: the skin and the new menu are in place when this returns.
    SendMessageW(m_pMainWnd->GetSafeHwnd(), WM_SKINCHANGED, 0, 0);
}

void CTestZOLUILibApp::OnCoolbarColorcoolbar()
{
    ChangeSkin(u"\\Skins\\Coolbar\\ColorCoolbar.xml");
}

void CTestZOLUILibApp::OnCoolbarImagecoolbar()
{
    ChangeSkin(u"\\Skins\\Coolbar\\ImageCoolbar.xml");
}

void CTestZOLUILibApp::OnFrameMediaplay()
{
    ChangeSkin(u"\\Skins\\Frame\\mediaplay.xml");
}

void CTestZOLUILibApp::OnFrameSkinplusplus()
{
    ChangeSkin(u"\\Skins\\Frame\\Skin++.xml");
}
