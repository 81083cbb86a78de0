// The application object: one per process, built statically by the program;
// AfxWinMain initialises it, runs its message loop and ends it.
#pragma once

#include "AfxWnd.h"

class AFX_CORE_API CWinApp : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinApp)

public:
    // Becomes the process's application object.
    CWinApp();
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop; ends with ExitInstance when WM_QUIT arrives.
    virtual int Run();
    // Returns the exit code that WM_QUIT carried.
    virtual int ExitInstance();

    CWnd* m_pMainWnd = nullptr;
    HINSTANCE m_hInstance;

protected:
    // ID_APP_EXIT: closes the main window, which ends the program.
    void OnAppExit();

    DECLARE_MESSAGE_MAP()

private:
    int m_nExitCode = 0;
};

AFX_CORE_API CWinApp* AfxGetApp();
AFX_CORE_API int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
// The module holding the resource: the program's own first, then the
// extension libraries of the chain; the program's when none has it.
AFX_CORE_API HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType);
// The module whose window classes the layer registers: the program's.
AFX_CORE_API HINSTANCE AfxGetInstanceHandle();
