// CZOLUICoolMenuBar: a control bar that shows a menu's top-level items in
// the skin's colours or images, opens their popups, and reports a chosen
// item to its frame as WM_COMMAND.
#pragma once

#include "ZOLUIExport.h"

#include <afx/win/AfxControlBar.h>
#include <afx/win/AfxMenu.h>

#include <vector>

struct CZOLUISkin;

class ZOLUI_API CZOLUICoolMenuBar : public CControlBar
{
public:
    CZOLUICoolMenuBar();
    ~CZOLUICoolMenuBar() override;

    // Creates the bar's window as a child of the frame; dwStyle holds window
    // styles and CBRS_ styles. FALSE on failure.
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

    // Takes ownership of hMenu (null for none) and destroys the menu it held.
    void SetMenu(HMENU hMenu);
    HMENU GetMenu() const { return m_menu.m_hMenu; }
    // The look to paint with; null for the library's own. Not owned.
    void SetSkin(const CZOLUISkin* pSkin);
    // Opens the item whose label has the mnemonic character, or the first
    // item for character 0 (the menu key alone). FALSE when none matches.
    BOOL OpenByMnemonic(WCHAR chMnemonic);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    const CZOLUISkin& Skin() const;
    void LayoutItems();
    int HitTest(POINT point) const;
    // Shows the item pressed, opens its popup and reports the choice.
    void TrackItem(int nItem);
    void SetHotItem(int nItem);

    CMenu m_menu;
    const CZOLUISkin* m_pSkin = nullptr;
    std::vector<RECT> m_itemRects; // one per top-level item, in menu order
    int m_nHot = -1;
    int m_nPressed = -1;
    bool m_bTrackingLeave = false;
};
