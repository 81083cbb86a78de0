// CZOLUIMainWnd: a frame window that the skin draws entirely: its caption,
// border and client background, and the menu bar docked at its top.
#pragma once

#include "ZOLUICoolMenuBar.h"
#include "ZOLUIExport.h"

#include <afx/win/AfxFrameWnd.h>

#include <memory>

struct CZOLUISkin;

// Sent to the frame after CZOLUIApp::m_strSkinPath has been set: apply the
// skin it names.
constexpr UINT WM_SKINCHANGED = WM_USER + 106;

class ZOLUI_API CZOLUIMainWnd : public CFrameWnd
{
    DECLARE_DYNAMIC(CZOLUIMainWnd)

public:
    CZOLUIMainWnd();
    ~CZOLUIMainWnd() override;

    // The skin draws caption and border itself, so the window gets neither
    // from the system; without a position, the frame is centred.
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    // Prepares the frame for docking and posts it WM_SKINCHANGED, so that the
    // library's own look is applied, and a menu given, once the frame runs.
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    // Applies the skin file named by the application's m_strSkinPath; a file
    // that is missing or malformed keeps the current look.
    LRESULT OnSkinChanged(WPARAM wParam, LPARAM lParam);

    LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);
    LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);
    LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnSysKeyUp(WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    std::unique_ptr<CZOLUISkin> m_pSkin;
    CZOLUICoolMenuBar m_wndMenuBar;

private:
    void ApplySkin();
    void PaintNonClient();
    void UpdateRegion();
    SIZE MinimumSize() const;
    // What the point of the screen is of the frame (an HT code).
    UINT HitTestScreen(POINT point) const;
    // Shows the caption button at nHit hot (none when nHit is not one).
    void SetHotButton(UINT nHit);
    // Opens the system menu below the caption icon; bFromClick when a click
    // on the icon opened it.
    void TrackSystemMenu(bool bFromClick);
    // Tells the menu bar whether Alt is held, then handles the key message.
    LRESULT KeyMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bActive = true;
    // Border dragging: the hit-test code being dragged, 0 when none.
    UINT m_nSizingHit = 0;
    POINT m_ptSizingStart = {0, 0};
    RECT m_rcSizingStart = {0, 0, 0, 0};
    // Caption buttons (HTMINBUTTON, HTMAXBUTTON, HTCLOSE; 0 for none): the
    // one under the mouse, and the one the left button went down on while
    // it is held, with whether the mouse is over it. A button acts when the
    // button is released over it.
    UINT m_nHotButton = 0;
    UINT m_nPressedButton = 0;
    bool m_bOverPressedButton = false;
    bool m_bTrackingNcLeave = false;
    // The time of the click that opened the system menu from the icon.
    DWORD m_dwIconClickTime = 0;
    // The program's icon (resource 128, shared), drawn in the caption.
    HICON m_hSmallIcon = nullptr;
};
