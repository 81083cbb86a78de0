#include "AfxWinApp.h"

#include "AfxWin32Text.h"
#include "afxres.h"
#include <afx/core/AfxExtensionModule.h>

namespace
{
CWinApp* g_pApp = nullptr;
}

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_APP_EXIT, OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp() : m_hInstance(::GetModuleHandleW(nullptr))
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    // Without a main window nothing would ever end the loop.
    if (m_pMainWnd == nullptr || m_pMainWnd->GetSafeHwnd() == nullptr)
        ::PostQuitMessage(0);
    MSG msg;
    m_nExitCode = 0;
    for (;;)
    {
        const BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        if (bResult <= 0)
        {
            m_nExitCode = bResult == 0 ? static_cast<int>(msg.wParam) : -1;
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        // The main window's end posts the quit message, but a modal loop
        // running at that moment (a popup menu's) may have taken it.
        if (m_pMainWnd == nullptr)
            break;
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    return m_nExitCode;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return -1;
    pApp->m_hInstance = hInstance;
    if (!pApp->InitInstance())
    {
        if (pApp->m_pMainWnd != nullptr)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

HINSTANCE AfxGetInstanceHandle()
{
    const CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_hInstance : ::GetModuleHandleW(nullptr);
}

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    const HINSTANCE hApp = AfxGetInstanceHandle();
    if (::FindResourceW(hApp, AfxWin32Text(lpszName), AfxWin32Text(lpszType)) != nullptr)
        return hApp;
    for (const CDynLinkLibrary* pDLL = CDynLinkLibrary::GetFirst(); pDLL != nullptr; pDLL = pDLL->GetNext())
    {
        if (!pDLL->m_bSystem && pDLL->m_hResource != nullptr &&
            ::FindResourceW(pDLL->m_hResource, AfxWin32Text(lpszName), AfxWin32Text(lpszType)) != nullptr)
            return pDLL->m_hResource;
    }
    return hApp;
}
