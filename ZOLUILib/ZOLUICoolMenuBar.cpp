#include "ZOLUICoolMenuBar.h"

#include "FrameGeometry.h"
#include "PopupMenuTracking.h"
#include "SkinPainter.h"
#include "ZOLUISkin.h"

#include <cwctype>
#include <string>

namespace
{
constexpr int kBarPadding = 4;  // before the first item
constexpr int kItemPadding = 10; // around each label
constexpr int kItemMargin = 2;   // between an item and the bar's edges

const CZOLUISkin& DefaultSkin()
{
    static const CZOLUISkin skin;
    return skin;
}

std::wstring ItemLabel(HMENU hMenu, int nItem)
{
    wchar_t szLabel[256] = {};
    ::GetMenuStringW(hMenu, static_cast<UINT>(nItem), szLabel, static_cast<int>(std::size(szLabel)), MF_BYPOSITION);
    return szLabel;
}

// The label as shown without its underlined letter: "&&" is one '&', a
// single '&' goes. (DT_HIDEPREFIX would do this, but Wine ignores it.)
std::wstring WithoutMnemonic(const std::wstring& strLabel)
{
    std::wstring strShown;
    for (std::size_t i = 0; i < strLabel.size(); ++i)
    {
        if (strLabel[i] == L'&' && ++i == strLabel.size())
            break;
        strShown += strLabel[i];
    }
    return strShown;
}

// The character after a single '&', or 0.
wchar_t Mnemonic(const std::wstring& strLabel)
{
    for (std::size_t i = 0; i + 1 < strLabel.size(); ++i)
    {
        if (strLabel[i] != L'&')
            continue;
        if (strLabel[i + 1] != L'&')
            return strLabel[i + 1];
        ++i;
    }
    return 0;
}

// Whether the system asks for underlined letters at all times.
bool SystemShowsKeyboardCues()
{
    BOOL bShow = FALSE;
    ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &bShow, 0);
    return bShow != FALSE;
}
}

BEGIN_MESSAGE_MAP(CZOLUICoolMenuBar, CControlBar)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
    ON_MESSAGE(WM_CANCELMODE, OnCancelMode)
END_MESSAGE_MAP()

CZOLUICoolMenuBar::CZOLUICoolMenuBar() = default;

CZOLUICoolMenuBar::~CZOLUICoolMenuBar() = default;

BOOL CZOLUICoolMenuBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    return CreateEx(0, nullptr, nullptr, (dwStyle & ~CBRS_ALL) | WS_CHILD, 0, 0, 0, 0, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

void CZOLUICoolMenuBar::SetMenu(HMENU hMenu)
{
    if (hMenu != m_menu.m_hMenu)
    {
        m_menu.DestroyMenu();
        m_menu.Attach(hMenu);
    }
    m_nHot = -1;
    m_nPressed = -1;
    LayoutItems();
}

void CZOLUICoolMenuBar::SetSkin(const CZOLUISkin* pSkin)
{
    m_pSkin = pSkin;
    LayoutItems();
}

const CZOLUISkin& CZOLUICoolMenuBar::Skin() const
{
    return m_pSkin != nullptr ? *m_pSkin : DefaultSkin();
}

CSize CZOLUICoolMenuBar::CalcFixedLayout(BOOL, BOOL)
{
    // A top bar stretches across its frame; its height is the skin's.
    return CSize(32767, Skin().m_nBarHeight);
}

void CZOLUICoolMenuBar::LayoutItems()
{
    m_itemRects.clear();
    if (m_hWnd == nullptr)
        return;
    const int nCount = m_menu.m_hMenu != nullptr ? ::GetMenuItemCount(m_menu.m_hMenu) : 0;
    const HDC hDC = ::GetDC(m_hWnd);
    {
        GdiSelection font(hDC, Skin().m_barFont.get());
        int x = kBarPadding;
        for (int i = 0; i < nCount; ++i)
        {
            const std::wstring strLabel = ItemLabel(m_menu.m_hMenu, i);
            RECT text = {0, 0, 0, 0};
            ::DrawTextW(hDC, strLabel.c_str(), -1, &text, DT_SINGLELINE | DT_CALCRECT);
            const int nWidth = text.right - text.left + 2 * kItemPadding;
            m_itemRects.push_back({x, kItemMargin, x + nWidth, Skin().m_nBarHeight - kItemMargin - 1});
            x += nWidth;
        }
    }
    ::ReleaseDC(m_hWnd, hDC);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CZOLUICoolMenuBar::GetItemRect(int nItem, LPRECT lpRect) const
{
    if (nItem < 0 || static_cast<std::size_t>(nItem) >= m_itemRects.size() || lpRect == nullptr)
        return FALSE;
    *lpRect = m_itemRects[static_cast<std::size_t>(nItem)];
    return TRUE;
}

int CZOLUICoolMenuBar::HitTest(POINT point) const
{
    for (std::size_t i = 0; i < m_itemRects.size(); ++i)
    {
        if (::PtInRect(&m_itemRects[i], point))
            return static_cast<int>(i);
    }
    return -1;
}

LRESULT CZOLUICoolMenuBar::OnPaint(WPARAM, LPARAM)
{
    PAINTSTRUCT ps;
    const HDC hTarget = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    {
        const CZOLUISkin& skin = Skin();
        OffscreenCanvas canvas(hTarget, client.right, client.bottom);
        const HDC hDC = canvas.GetDC();
        if (skin.m_barImage != nullptr)
            SkinDrawStretched(hDC, client, skin.m_barImage.get());
        else
            SkinFillGradient(hDC, client, skin.m_crBarStart, skin.m_crBarEnd);
        if (m_dwStyle & CBRS_BORDER_BOTTOM)
        {
            const RECT line = {client.left, client.bottom - 1, client.right, client.bottom};
            SkinFrameRect(hDC, line, skin.m_crBarLine);
        }

        GdiSelection font(hDC, skin.m_barFont.get());
        ::SetBkMode(hDC, TRANSPARENT);
        const bool bCues = ShowsKeyboardCues() != FALSE;
        const UINT nTextFormat = DT_SINGLELINE | DT_CENTER | DT_VCENTER | (bCues ? 0 : DT_NOPREFIX);
        for (std::size_t i = 0; i < m_itemRects.size(); ++i)
        {
            const RECT& item = m_itemRects[i];
            const bool bHighlighted = static_cast<int>(i) == m_nPressed || static_cast<int>(i) == m_nHot;
            if (bHighlighted)
            {
                if (skin.m_itemImage != nullptr)
                    SkinDrawStretched(hDC, item, skin.m_itemImage.get());
                else
                {
                    SkinFillGradient(hDC, item, skin.m_crItemStart, skin.m_crItemEnd);
                    SkinFrameRect(hDC, item, skin.m_crItemOutline);
                }
            }
            RECT text = item;
            if (static_cast<int>(i) == m_nPressed)
                ::OffsetRect(&text, 1, 1);
            ::SetTextColor(hDC, bHighlighted ? skin.m_crItemText : skin.m_crBarText);
            std::wstring strLabel = ItemLabel(m_menu.m_hMenu, static_cast<int>(i));
            if (!bCues)
                strLabel = WithoutMnemonic(strLabel);
            ::DrawTextW(hDC, strLabel.c_str(), -1, &text, nTextFormat);
        }
    }
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnEraseBkgnd(WPARAM, LPARAM)
{
    return 1; // painting covers everything
}

LRESULT CZOLUICoolMenuBar::OnMouseMove(WPARAM, LPARAM lParam)
{
    if (!m_bTrackingLeave)
    {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        m_bTrackingLeave = ::TrackMouseEvent(&track) != FALSE;
    }
    // In keyboard mode the highlight stays on the bar and follows the mouse.
    const int nItem = HitTest(PointFromLParam(lParam));
    if (!m_bKeyboardMode || nItem >= 0)
        SetHotItem(nItem);
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingLeave = false;
    if (!m_bKeyboardMode)
        SetHotItem(-1);
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const int nItem = HitTest(PointFromLParam(lParam));
    if (nItem >= 0)
        Track(nItem, Start::Mouse);
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnCancelMode(WPARAM wParam, LPARAM lParam)
{
    if (m_bKeyboardMode)
    {
        m_bLeaveMode = true;
        // Wakes the mode's loop, which waits for a message to retrieve.
        PostMessage(WM_NULL);
    }
    return DefWindowProc(WM_CANCELMODE, wParam, lParam);
}

void CZOLUICoolMenuBar::Invalidate()
{
    if (m_hWnd != nullptr)
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CZOLUICoolMenuBar::SetHotItem(int nItem)
{
    if (nItem == m_nHot)
        return;
    m_nHot = nItem;
    Invalidate();
}

void CZOLUICoolMenuBar::SetAltKeyDown(BOOL bDown)
{
    const bool bAltDown = bDown != FALSE;
    if (bAltDown == m_bAltDown)
        return;
    m_bAltDown = bAltDown;
    Invalidate();
}

BOOL CZOLUICoolMenuBar::ShowsKeyboardCues() const
{
    return m_bAltDown || m_bKeyboardInUse || SystemShowsKeyboardCues();
}

int CZOLUICoolMenuBar::GetKeyboardItem() const
{
    return m_bKeyboardMode ? m_nHot : -1;
}

int CZOLUICoolMenuBar::ItemWithMnemonic(WCHAR chMnemonic) const
{
    const auto chWanted = std::towupper(static_cast<wint_t>(chMnemonic));
    for (std::size_t i = 0; i < m_itemRects.size(); ++i)
    {
        const wchar_t chItem = Mnemonic(ItemLabel(m_menu.m_hMenu, static_cast<int>(i)));
        if (chItem != 0 && std::towupper(static_cast<wint_t>(chItem)) == chWanted)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CZOLUICoolMenuBar::OpenByMnemonic(WCHAR chMnemonic)
{
    const int nItem = chMnemonic != 0 ? ItemWithMnemonic(chMnemonic) : -1;
    if (nItem < 0)
        return FALSE;
    Track(nItem, Start::Mnemonic);
    return TRUE;
}

BOOL CZOLUICoolMenuBar::EnterKeyboardMode()
{
    if (m_itemRects.empty())
        return FALSE;
    Track(0, Start::KeyboardMode);
    return TRUE;
}

void CZOLUICoolMenuBar::Track(int nItem, Start start)
{
    const HWND hBar = m_hWnd;
    m_bKeyboardInUse = start != Start::Mouse;
    bool bOpen = start != Start::KeyboardMode;
    UINT nCommand = 0;
    while (nItem >= 0)
    {
        if (!bOpen)
        {
            nItem = RunKeyboardMode(nItem);
            // The mode's loop runs every message: the frame, and this bar
            // with it, may have been closed and destroyed meanwhile.
            if (!::IsWindow(hBar))
                return;
            bOpen = true;
            continue;
        }
        nCommand = TrackPopup(nItem);
        // As in keyboard mode, the popup's loop runs every message.
        if (!::IsWindow(hBar))
            return;
        if (nCommand != 0)
            break;
        if (m_nTrackNext >= 0)
        {
            // Closed for a neighbour's popup (arrow keys, or the mouse on
            // another item): that one opens in its place.
            nItem = m_nTrackNext;
        }
        else if (m_bEscapeLast)
        {
            // Esc closes the popup back to its item, highlighted for the
            // keyboard, as in a window's own menu bar.
            bOpen = false;
            m_bKeyboardInUse = true;
        }
        else
        {
            nItem = -1;
        }
    }

    m_nPressed = -1;
    m_nHot = -1;
    m_nTrackNext = -1;
    m_bKeyboardInUse = false;
    // Alt was released, if at all, inside the loops that ran meanwhile.
    m_bAltDown = ::GetKeyState(VK_MENU) < 0;
    Invalidate();
    // Posted, as a window menu does: the command may replace this very menu.
    if (nCommand != 0)
        ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
}

UINT CZOLUICoolMenuBar::TrackPopup(int nItem)
{
    m_nPressed = nItem;
    m_nHot = -1;
    m_nTrackNext = -1;
    m_bEscapeLast = false;
    Invalidate();
    ::UpdateWindow(m_hWnd);

    // Read on each opening: a skin change may have replaced the menu.
    const HMENU hMenu = m_menu.m_hMenu;
    const HMENU hPopup = ::GetSubMenu(hMenu, nItem);
    if (hPopup == nullptr)
    {
        const UINT nID = ::GetMenuItemID(hMenu, nItem);
        return nID != static_cast<UINT>(-1) ? nID : 0;
    }
    m_hSelectionMenu = hPopup;
    m_bSelectionOpensSubmenu = false;
    RECT item = m_itemRects[static_cast<std::size_t>(nItem)];
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
    const HWND hBar = m_hWnd;
    return TrackPopupMenuBelow(hPopup, item, m_hWnd,
                               [this, hBar](const MSG& msg) { return ::IsWindow(hBar) && FilterMenuMessage(msg); });
}

int CZOLUICoolMenuBar::RunKeyboardMode(int nItem)
{
    const HWND hBar = m_hWnd;
    m_bKeyboardMode = true;
    m_bLeaveMode = false;
    m_nPressed = -1;
    SetHotItem(nItem);
    int nOpen = -1;
    while (!m_bLeaveMode && nOpen < 0)
    {
        MSG msg;
        const BOOL bResult = ::GetMessageW(&msg, nullptr, 0, 0);
        // The quit message belongs to the program's own loop.
        if (bResult == 0)
            ::PostQuitMessage(static_cast<int>(msg.wParam));
        // Messages sent while waiting may have destroyed the frame.
        if (bResult <= 0 || !::IsWindow(hBar))
            break;
        if (KeyboardModeMessage(msg, nOpen))
            continue;
        if (m_bLeaveMode)
        {
            m_bKeyboardMode = false;
            SetHotItem(-1);
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        if (!::IsWindow(hBar))
            return -1;
    }
    if (!::IsWindow(hBar))
        return -1;
    m_bKeyboardMode = false;
    SetHotItem(-1);
    return m_bLeaveMode ? -1 : nOpen;
}

bool CZOLUICoolMenuBar::KeyboardModeMessage(const MSG& msg, int& nOpen)
{
    switch (msg.message)
    {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        switch (msg.wParam)
        {
        case VK_LEFT:
        case VK_RIGHT:
            SetHotItem(NeighbourItem(m_nHot, msg.wParam == VK_LEFT ? -1 : +1, false));
            break;
        case VK_DOWN:
        case VK_UP:
        case VK_RETURN:
            nOpen = m_nHot;
            break;
        case VK_ESCAPE:
        case VK_MENU:
        case VK_F10:
            m_bLeaveMode = true;
            break;
        default:
            // Letters come back as WM_CHAR.
            ::TranslateMessage(&msg);
            break;
        }
        return true;
    case WM_CHAR:
    case WM_SYSCHAR:
        nOpen = ItemWithMnemonic(static_cast<WCHAR>(msg.wParam));
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_DEADCHAR:
    case WM_SYSDEADCHAR:
        return true; // the keyboard is the bar's in this mode
    default:
        break;
    }
    if (!IsMouseButtonDown(msg.message))
        return false;
    if (msg.hwnd == m_hWnd && (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK))
    {
        nOpen = HitTest(PointFromLParam(msg.lParam));
        if (nOpen >= 0)
            return true;
    }
    // A click elsewhere leaves the mode and goes on where it was aimed.
    m_bLeaveMode = true;
    return false;
}

LRESULT CZOLUICoolMenuBar::OnMenuSelect(WPARAM wParam, LPARAM lParam)
{
    const UINT nFlags = HIWORD(wParam);
    if (nFlags == 0xFFFF && lParam == 0)
        return 0; // the menu is closing
    m_hSelectionMenu = reinterpret_cast<HMENU>(lParam);
    m_bSelectionOpensSubmenu = (nFlags & MF_POPUP) != 0;
    return 0;
}

int CZOLUICoolMenuBar::NeighbourItem(int nFrom, int nStep, bool bPopupsOnly) const
{
    const int nCount = static_cast<int>(m_itemRects.size());
    for (int i = 1; i < nCount; ++i)
    {
        const int nItem = ((nFrom + nStep * i) % nCount + nCount) % nCount;
        if (!bPopupsOnly || ::GetSubMenu(m_menu.m_hMenu, nItem) != nullptr)
            return nItem;
    }
    return nFrom;
}

bool CZOLUICoolMenuBar::FilterMenuMessage(const MSG& msg)
{
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        m_bEscapeLast = msg.wParam == VK_ESCAPE;
    else if (IsMouseButtonDown(msg.message))
        m_bEscapeLast = false;

    int nNext = -1;
    if (msg.message == WM_KEYDOWN)
    {
        // Left leaves the bar's own popup, not a submenu; right goes on
        // unless the selected item opens a submenu.
        if (msg.wParam == VK_LEFT && m_hSelectionMenu == ::GetSubMenu(m_menu.m_hMenu, m_nPressed))
            nNext = NeighbourItem(m_nPressed, -1, true);
        else if (msg.wParam == VK_RIGHT && !m_bSelectionOpensSubmenu)
            nNext = NeighbourItem(m_nPressed, +1, true);
        else
            return false;
    }
    else if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONDOWN)
    {
        POINT point = msg.pt;
        ::ScreenToClient(m_hWnd, &point);
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        const int nItem = ::PtInRect(&client, point) ? HitTest(point) : -1;
        if (nItem < 0 || ::GetSubMenu(m_menu.m_hMenu, nItem) == nullptr)
            return false;
        if (nItem == m_nPressed)
        {
            if (msg.message == WM_MOUSEMOVE)
                return false;
            ::EndMenu(); // a click on the open item closes it, and does not open it again
            return true;
        }
        nNext = nItem;
    }
    else
    {
        return false;
    }
    if (nNext == m_nPressed)
        return true;
    m_nTrackNext = nNext;
    ::EndMenu();
    return true;
}
