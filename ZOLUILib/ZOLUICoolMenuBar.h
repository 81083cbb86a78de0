// CZOLUICoolMenuBar: a control bar that shows a menu's top-level items in
// the skin's colours or images, opens their popups, and reports a chosen
// item to its frame as WM_COMMAND. While a popup is open, the arrow keys and
// the mouse move to the neighbouring items as in a window's own menu bar.
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
    // The item's rectangle in the bar's client coordinates; FALSE when the
    // bar has no item nItem.
    BOOL GetItemRect(int nItem, LPRECT lpRect) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;

protected:
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    const CZOLUISkin& Skin() const;
    void LayoutItems();
    int HitTest(POINT point) const;
    // Shows the item pressed, opens its popup and reports the choice.
    void TrackItem(int nItem);
    void SetHotItem(int nItem);
    // The next item with a popup, stepping nStep (+1 or -1) around the bar
    // from the open one; the open one when no other has a popup.
    int NeighbourPopupItem(int nStep) const;
    // Sees the messages of an open popup first: true when it took the
    // message, which moves to another item's popup or closes this one.
    bool FilterMenuMessage(const MSG& msg);
    static LRESULT CALLBACK MenuMessageFilter(int nCode, WPARAM wParam, LPARAM lParam);

    CMenu m_menu;
    const CZOLUISkin* m_pSkin = nullptr;
    std::vector<RECT> m_itemRects; // one per top-level item, in menu order
    int m_nHot = -1;
    int m_nPressed = -1;
    bool m_bTrackingLeave = false;
    // While a popup is open: the item to open once it has closed, and the
    // menu holding the selection, with whether the selected item opens a
    // submenu (from WM_MENUSELECT).
    int m_nTrackNext = -1;
    HMENU m_hSelectionMenu = nullptr;
    bool m_bSelectionOpensSubmenu = false;
};
