// CZOLUICoolMenuBar: a control bar that shows a menu's top-level items in
// the skin's colours or images, opens their popups, and reports a chosen
// item to its frame as WM_COMMAND. It works as a window's own menu bar does:
// while a popup is open, the arrow keys and the mouse move to the
// neighbouring items; the menu key alone highlights the first item for the
// keyboard; the underlined letters show when the keyboard is in use.
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
    // Opens the item whose label has the mnemonic character (Alt with a
    // letter). FALSE when none matches.
    BOOL OpenByMnemonic(WCHAR chMnemonic);
    // The menu key alone (Alt or F10): highlights the first item without
    // opening it and runs the bar's keyboard mode until the user leaves it
    // or has chosen from a menu. WM_CANCELMODE ends the mode, as when the
    // frame is deactivated. FALSE when the bar has no items.
    BOOL EnterKeyboardMode();
    // The item highlighted for the keyboard; -1 when not in keyboard mode.
    int GetKeyboardItem() const;
    // Whether Alt is held down on the frame: the underlined letters show
    // while it is.
    void SetAltKeyDown(BOOL bDown);
    // Whether the labels show their underlined letters now.
    BOOL ShowsKeyboardCues() const;
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
    LRESULT OnCancelMode(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    // How the user came to the bar.
    enum class Start
    {
        Mouse,        // clicked an item: its popup opens
        Mnemonic,     // typed an item's letter: its popup opens
        KeyboardMode, // the menu key: the item is highlighted, not opened
    };

    const CZOLUISkin& Skin() const;
    void LayoutItems();
    int HitTest(POINT point) const;
    int ItemWithMnemonic(WCHAR chMnemonic) const;
    // Runs the bar from the item until the user is done with it, moving
    // between popups and keyboard mode, and reports the choice.
    void Track(int nItem, Start start);
    // Opens the item's popup; returns the command chosen, 0 for none.
    UINT TrackPopup(int nItem);
    // Keyboard mode from the item: the item to open, or -1 when the user
    // left the mode.
    int RunKeyboardMode(int nItem);
    // A message of keyboard mode: true when the mode took it; sets nOpen
    // to an item to open, or m_bLeaveMode.
    bool KeyboardModeMessage(const MSG& msg, int& nOpen);
    void SetHotItem(int nItem);
    void Invalidate();
    // The next item stepping nStep (+1 or -1) around the bar from nFrom; with
    // bPopupsOnly, the next that has a popup (nFrom when no other has one).
    int NeighbourItem(int nFrom, int nStep, bool bPopupsOnly) const;
    // Sees the messages of an open popup first: true when it took the
    // message, which moves to another item's popup or closes this one.
    bool FilterMenuMessage(const MSG& msg);

    CMenu m_menu;
    const CZOLUISkin* m_pSkin = nullptr;
    std::vector<RECT> m_itemRects; // one per top-level item, in menu order
    // Highlighted: under the mouse, or for the keyboard in keyboard mode.
    int m_nHot = -1;
    int m_nPressed = -1; // the item whose popup is open
    bool m_bTrackingLeave = false;
    bool m_bKeyboardMode = false;
    // Ends keyboard mode once the message at hand is handled: Esc, Alt or
    // F10 again, a click elsewhere, WM_CANCELMODE.
    bool m_bLeaveMode = false;
    // Underlined letters: while Alt is held, and while the user works the
    // bar from the keyboard.
    bool m_bAltDown = false;
    bool m_bKeyboardInUse = false;
    // While a popup is open: the item to open once it has closed, whether
    // the last key or button pressed in it was Esc, and the menu holding the
    // selection, with whether the selected item opens a submenu (from
    // WM_MENUSELECT).
    int m_nTrackNext = -1;
    bool m_bEscapeLast = false;
    HMENU m_hSelectionMenu = nullptr;
    bool m_bSelectionOpensSubmenu = false;
};
