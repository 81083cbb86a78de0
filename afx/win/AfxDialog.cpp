#include "AfxDialog.h"

#include "AfxWin32Text.h"
#include "AfxWinApp.h"
#include <afx/core/AfxExceptions.h>

#include <algorithm>

namespace
{
// Dialogs open centred over their owner, kept on the owner's monitor.
void CenterOnOwner(HWND hDlg)
{
    const HWND hOwner = ::GetWindow(hDlg, GW_OWNER);
    RECT dialog;
    ::GetWindowRect(hDlg, &dialog);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(hOwner != nullptr ? hOwner : hDlg, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT around = monitor.rcWork;
    if (hOwner != nullptr && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &around);
    const LONG cx = dialog.right - dialog.left;
    const LONG cy = dialog.bottom - dialog.top;
    LONG x = (around.left + around.right - cx) / 2;
    LONG y = (around.top + around.bottom - cy) / 2;
    x = std::max(monitor.rcWork.left, std::min(x, monitor.rcWork.right - cx));
    y = std::max(monitor.rcWork.top, std::min(y, monitor.rcWork.bottom - cy));
    ::SetWindowPos(hDlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_pParentWnd(pParentWnd)
{
}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    const HINSTANCE hInstance = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    const CWinApp* pApp = AfxGetApp();
    const CWnd* pOwner = m_pParentWnd != nullptr ? m_pParentWnd : pApp != nullptr ? pApp->m_pMainWnd : nullptr;
    return ::DialogBoxParamW(hInstance, AfxWin32Text(m_lpszTemplateName), pOwner->GetSafeHwnd(), AfxDlgProc,
                             reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult)
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg == WM_INITDIALOG)
    {
        reinterpret_cast<CDialog*>(lParam)->Attach(hWnd);
        CenterOnOwner(hWnd);
        return TRUE; // the system sets the focus
    }
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr)
        return FALSE;

    LRESULT lResult = 0;
    BOOL bHandled = FALSE;
    try
    {
        bHandled = pWnd->OnWndMsg(nMsg, wParam, lParam, &lResult);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    catch (...)
    {
        // As in AfxWndProc: nothing may unwind through the system's frames.
    }
    if (nMsg == WM_NCDESTROY)
        pWnd->Detach();
    if (bHandled)
        ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return bHandled;
}
