#include "ZOLUICoolMenuBar.h"

#include "FrameGeometry.h"
#include "SkinPainter.h"
#include "ZOLUISkin.h"

#include <cwctype>
#include <string>
#include <utility>

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

// The bar whose popup is open on this thread, for the message filter.
thread_local CZOLUICoolMenuBar* t_pTrackingBar = nullptr;

// The message filter of an open popup, installed for its life.
class MenuFilterScope
{
public:
    MenuFilterScope(CZOLUICoolMenuBar* pBar, HOOKPROC pfnFilter)
        : m_pPrevious(std::exchange(t_pTrackingBar, pBar)),
          m_hHook(::SetWindowsHookExW(WH_MSGFILTER, pfnFilter, nullptr, ::GetCurrentThreadId()))
    {
    }
    MenuFilterScope(const MenuFilterScope&) = delete;
    MenuFilterScope& operator=(const MenuFilterScope&) = delete;
    ~MenuFilterScope()
    {
        if (m_hHook != nullptr)
            ::UnhookWindowsHookEx(m_hHook);
        t_pTrackingBar = m_pPrevious;
    }

private:
    CZOLUICoolMenuBar* m_pPrevious;
    HHOOK m_hHook;
};
}

BEGIN_MESSAGE_MAP(CZOLUICoolMenuBar, CControlBar)
    ON_MESSAGE(WM_PAINT, OnPaint)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
    ON_MESSAGE(WM_MENUSELECT, OnMenuSelect)
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
            const std::wstring strLabel = ItemLabel(m_menu.m_hMenu, static_cast<int>(i));
            ::DrawTextW(hDC, strLabel.c_str(), -1, &text, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
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
    SetHotItem(HitTest(PointFromLParam(lParam)));
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingLeave = false;
    SetHotItem(-1);
    return 0;
}

LRESULT CZOLUICoolMenuBar::OnLButtonDown(WPARAM, LPARAM lParam)
{
    const int nItem = HitTest(PointFromLParam(lParam));
    if (nItem >= 0)
        TrackItem(nItem);
    return 0;
}

void CZOLUICoolMenuBar::SetHotItem(int nItem)
{
    if (nItem == m_nHot)
        return;
    m_nHot = nItem;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

BOOL CZOLUICoolMenuBar::OpenByMnemonic(WCHAR chMnemonic)
{
    if (m_itemRects.empty())
        return FALSE;
    if (chMnemonic == 0)
    {
        TrackItem(0);
        return TRUE;
    }
    const auto chWanted = std::towupper(static_cast<wint_t>(chMnemonic));
    for (std::size_t i = 0; i < m_itemRects.size(); ++i)
    {
        const wchar_t chItem = Mnemonic(ItemLabel(m_menu.m_hMenu, static_cast<int>(i)));
        if (chItem != 0 && std::towupper(static_cast<wint_t>(chItem)) == chWanted)
        {
            TrackItem(static_cast<int>(i));
            return TRUE;
        }
    }
    return FALSE;
}

void CZOLUICoolMenuBar::TrackItem(int nItem)
{
    const HWND hBar = m_hWnd;
    UINT nCommand = 0;
    // A popup closed for a neighbour's (arrow keys, or the mouse on another
    // item) opens the neighbour's in its place.
    while (nItem >= 0)
    {
        m_nPressed = nItem;
        m_nTrackNext = -1;
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        ::UpdateWindow(m_hWnd);

        // Read on each pass: a skin change may have replaced the menu.
        const HMENU hMenu = m_menu.m_hMenu;
        const HMENU hPopup = ::GetSubMenu(hMenu, nItem);
        if (hPopup == nullptr)
        {
            nCommand = ::GetMenuItemID(hMenu, nItem);
            break;
        }
        m_hSelectionMenu = hPopup;
        m_bSelectionOpensSubmenu = false;
        RECT item = m_itemRects[static_cast<std::size_t>(nItem)];
        ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
        TPMPARAMS params = {sizeof(params), item};
        {
            MenuFilterScope filter(this, MenuMessageFilter);
            nCommand = static_cast<UINT>(::TrackPopupMenuEx(
                hPopup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_RETURNCMD | TPM_LEFTBUTTON, item.left,
                item.bottom, m_hWnd, &params));
        }
        // The popup's loop runs every message: the frame, and this bar with
        // it, may have been closed and destroyed meanwhile.
        if (!::IsWindow(hBar))
            return;
        nItem = m_nTrackNext;
    }

    m_nPressed = -1;
    m_nHot = -1;
    m_nTrackNext = -1;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    // Posted, as a window menu does: the command may replace this very menu.
    if (nCommand != 0 && nCommand != static_cast<UINT>(-1))
        ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
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

int CZOLUICoolMenuBar::NeighbourPopupItem(int nStep) const
{
    const int nCount = static_cast<int>(m_itemRects.size());
    for (int i = 1; i < nCount; ++i)
    {
        const int nItem = ((m_nPressed + nStep * i) % nCount + nCount) % nCount;
        if (::GetSubMenu(m_menu.m_hMenu, nItem) != nullptr)
            return nItem;
    }
    return m_nPressed;
}

bool CZOLUICoolMenuBar::FilterMenuMessage(const MSG& msg)
{
    int nNext = -1;
    if (msg.message == WM_KEYDOWN)
    {
        // Left leaves the bar's own popup, not a submenu; right goes on
        // unless the selected item opens a submenu.
        if (msg.wParam == VK_LEFT && m_hSelectionMenu == ::GetSubMenu(m_menu.m_hMenu, m_nPressed))
            nNext = NeighbourPopupItem(-1);
        else if (msg.wParam == VK_RIGHT && !m_bSelectionOpensSubmenu)
            nNext = NeighbourPopupItem(+1);
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

LRESULT CALLBACK CZOLUICoolMenuBar::MenuMessageFilter(int nCode, WPARAM wParam, LPARAM lParam)
{
    CZOLUICoolMenuBar* pBar = t_pTrackingBar;
    if (nCode == MSGF_MENU && pBar != nullptr && pBar->FilterMenuMessage(*reinterpret_cast<const MSG*>(lParam)))
        return TRUE;
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}
