// CWnd: a C++ object attached to a Win32 window. A process-wide handle map
// finds the object of a window, and the window procedure dispatches every
// message through the object's message map.
#pragma once

#include "AfxCmdTarget.h"

class AFX_CORE_API CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd() = default;
    // Destroys a window still attached.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    // The window's handle; null through a null object too.
    HWND GetSafeHwnd() const noexcept;
    // The object attached to the window, or null.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Creates the window after PreCreateWindow has adjusted the parameters;
    // the object receives the window's messages from the first one on.
    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                  int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                  LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL DestroyWindow();

    BOOL ShowWindow(int nCmdShow);
    void SetWindowText(LPCWSTR lpszString);
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Changes the extended style; with nFlags, also SetWindowPos with them so
    // that a frame change takes effect. TRUE when the style changed.
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    friend LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    friend INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Finds and calls the message map's handler; FALSE when none handles it.
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Routes WM_COMMAND to OnCmdMsg.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after the window is gone and the object detached.
    virtual void PostNcDestroy();

    int OnCreate(LPCREATESTRUCT lpCreateStruct);

private:
    void OnNcDestroy();
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
