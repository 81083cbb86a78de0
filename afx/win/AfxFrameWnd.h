// CFrameWnd: a top-level window that lays control bars out along its top
// edge and routes commands to itself and then to the application.
#pragma once

#include "AfxControlBar.h"
#include "AfxWnd.h"

#include <vector>

struct CCreateContext;

class AFX_CORE_API CFrameWnd : public CWnd
{
    DECLARE_DYNAMIC(CFrameWnd)

public:
    // Lets the system choose position and size.
    static const RECT rectDefault;

    CFrameWnd() = default;
    ~CFrameWnd() override;

    // Creates the frame's window; lpszMenuName names a menu resource for the
    // window's own menu bar. On success the frame deletes itself when its
    // window is destroyed; when creation fails, the object stays its creator's.
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* pParentWnd = nullptr,
                        LPCWSTR lpszMenuName = nullptr, DWORD dwExStyle = 0,
                        CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // Docks the bar at the top edge (nDockBarID AFX_IDW_DOCKBAR_TOP, or 0 for
    // any side the bar allows) when the bar allows the top. Docked bars stack
    // in docking order; lpRect is not used, as the top edge has no free places.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void RemoveControlBar(CControlBar* pBar);
    // Shows or hides the bar; with bDelay, once the frame's pending messages
    // have been handled.
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Lays the visible docked bars across the top of the client area.
    virtual void RecalcLayout();

    // Commands go to the frame's message map, then to the application's.
    BOOL OnCmdMsg(UINT nID, int nCode) override;

protected:
    void PostNcDestroy() override;

    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnDelayedLayout(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    std::vector<CControlBar*> m_topBars;
    bool m_bLayoutPending = false;
};
