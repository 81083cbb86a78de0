// CDialog: a modal dialog box made from a dialog template resource.
#pragma once

#include "AfxWnd.h"

class AFX_CORE_API CDialog : public CWnd
{
public:
    // Without a parent the dialog belongs to the application's main window.
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog until EndDialog; returns its result, or -1 when the
    // template cannot be found or the dialog not created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

protected:
    // IDOK and IDCANCEL end the dialog with that result.
    virtual void OnOK();
    virtual void OnCancel();

    DECLARE_MESSAGE_MAP()

    LPCWSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;
};

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
