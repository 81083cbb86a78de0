#include "ZOLUIMainWnd.h"

#include "FrameGeometry.h"
#include "PopupMenuTracking.h"
#include "SkinPainter.h"
#include "ZOLUIApp.h"
#include "ZOLUISkin.h"

#include <afx/win/AfxWin32Text.h>
#include <afx/win/afxres.h>

#include <algorithm>
#include <utility>

namespace
{
// The resource identifier of a program's main frame: its icon.
constexpr WORD kMainFrameResource = 128;
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 560;

CZOLUIApp* SkinApp()
{
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->IsKindOf(RUNTIME_CLASS(CZOLUIApp)) ? static_cast<CZOLUIApp*>(pApp) : nullptr;
}

bool IsSizingHit(UINT nHit)
{
    return nHit >= HTLEFT && nHit <= HTBOTTOMRIGHT;
}

RECT WorkAreaOf(HWND hWnd, POINT* pMonitorOrigin)
{
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    const HMONITOR hMonitor = hWnd != nullptr ? ::MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST)
                                              : ::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    ::GetMonitorInfoW(hMonitor, &info);
    if (pMonitorOrigin != nullptr)
        *pMonitorOrigin = {info.rcMonitor.left, info.rcMonitor.top};
    return info.rcWork;
}

bool IsCaptionButton(UINT nHit)
{
    return nHit == HTMINBUTTON || nHit == HTMAXBUTTON || nHit == HTCLOSE;
}

// The frame's parts for its current size, and its window rectangle.
FrameParts PartsOf(HWND hWnd, const CZOLUISkin& skin, RECT& window)
{
    ::GetWindowRect(hWnd, &window);
    const bool bClientEdge = (::GetWindowLongW(hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    return ComputeFrameParts(skin, window.right - window.left, window.bottom - window.top, bClientEdge);
}

// nPercent of the way from crFrom to crTo.
COLORREF MixColours(COLORREF crFrom, COLORREF crTo, int nPercent)
{
    const auto mix = [nPercent](int nFrom, int nTo) { return nFrom + (nTo - nFrom) * nPercent / 100; };
    return RGB(mix(GetRValue(crFrom), GetRValue(crTo)), mix(GetGValue(crFrom), GetGValue(crTo)),
               mix(GetBValue(crFrom), GetBValue(crTo)));
}

enum class ButtonLook
{
    Normal,
    Hot,     // under the mouse
    Pressed, // held down, with the mouse over it
};

// A caption button: its glyph in the skin's button colour on the caption,
// over a backing of that colour mixed into the caption when hot or pressed.
void DrawCaptionButton(HDC hDC, const RECT& button, UINT nHit, bool bMaximized, ButtonLook look,
                       COLORREF crCaption, COLORREF crGlyph)
{
    RECT glyphArea = button;
    if (look != ButtonLook::Normal)
    {
        const int nBacking = look == ButtonLook::Hot ? 25 : 45;
        GdiHandle<HBRUSH> backing(::CreateSolidBrush(MixColours(crCaption, crGlyph, nBacking)));
        ::FillRect(hDC, &button, backing.get());
        SkinFrameRect(hDC, button, MixColours(crCaption, crGlyph, 60));
        if (look == ButtonLook::Pressed)
            ::OffsetRect(&glyphArea, 1, 1);
    }

    GdiHandle<HPEN> pen(::CreatePen(PS_SOLID, 2, crGlyph));
    GdiSelection selectPen(hDC, pen.get());
    GdiSelection selectBrush(hDC, ::GetStockObject(NULL_BRUSH));
    const int nInset = (glyphArea.bottom - glyphArea.top) / 4 + 1;
    const RECT glyph = {glyphArea.left + nInset, glyphArea.top + nInset, glyphArea.right - nInset,
                        glyphArea.bottom - nInset};
    switch (nHit)
    {
    case HTCLOSE:
        ::MoveToEx(hDC, glyph.left, glyph.top, nullptr);
        ::LineTo(hDC, glyph.right, glyph.bottom);
        ::MoveToEx(hDC, glyph.right, glyph.top, nullptr);
        ::LineTo(hDC, glyph.left, glyph.bottom);
        break;
    case HTMAXBUTTON:
        if (bMaximized)
        {
            const int nStep = (glyph.right - glyph.left) / 3;
            ::Rectangle(hDC, glyph.left, glyph.top + nStep, glyph.right - nStep, glyph.bottom);
            ::MoveToEx(hDC, glyph.left + nStep, glyph.top + nStep, nullptr);
            ::LineTo(hDC, glyph.left + nStep, glyph.top);
            ::LineTo(hDC, glyph.right, glyph.top);
            ::LineTo(hDC, glyph.right, glyph.bottom - nStep);
            ::LineTo(hDC, glyph.right - nStep, glyph.bottom - nStep);
        }
        else
            ::Rectangle(hDC, glyph.left, glyph.top, glyph.right, glyph.bottom);
        break;
    default:
        ::MoveToEx(hDC, glyph.left, glyph.bottom - 1, nullptr);
        ::LineTo(hDC, glyph.right, glyph.bottom - 1);
        break;
    }
}

// The system menu offers what the frame's state allows, as the system does
// for a window of the frame's style. The frame has no sizing frame of the
// system's, which sizing from the keyboard would need: Size is not offered.
void PrepareSystemMenu(HMENU hMenu, HWND hWnd)
{
    const bool bZoomed = ::IsZoomed(hWnd) != FALSE;
    const bool bIconic = ::IsIconic(hWnd) != FALSE;
    const auto enable = [hMenu](UINT nCommand, bool bEnabled) {
        ::EnableMenuItem(hMenu, nCommand, MF_BYCOMMAND | (bEnabled ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, bZoomed || bIconic);
    enable(SC_MOVE, !bZoomed);
    enable(SC_SIZE, false);
    enable(SC_MINIMIZE, !bIconic);
    enable(SC_MAXIMIZE, !bZoomed);
    ::SetMenuDefaultItem(hMenu, SC_CLOSE, FALSE);
}
}

IMPLEMENT_DYNAMIC(CZOLUIMainWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CZOLUIMainWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_SKINCHANGED, OnSkinChanged)
    ON_MESSAGE(WM_NCCALCSIZE, OnNcCalcSize)
    ON_MESSAGE(WM_NCPAINT, OnNcPaint)
    ON_MESSAGE(WM_NCACTIVATE, OnNcActivate)
    ON_MESSAGE(WM_NCHITTEST, OnNcHitTest)
    ON_MESSAGE(WM_NCMOUSEMOVE, OnNcMouseMove)
    ON_MESSAGE(WM_NCMOUSELEAVE, OnNcMouseLeave)
    ON_MESSAGE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
    ON_MESSAGE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
    ON_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
    ON_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
    ON_MESSAGE(WM_SETTEXT, OnSetText)
    ON_MESSAGE(WM_ERASEBKGND, OnEraseBkgnd)
    ON_MESSAGE(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    ON_MESSAGE(WM_WINDOWPOSCHANGING, OnWindowPosChanging)
    ON_MESSAGE(WM_SIZE, OnSize)
    ON_MESSAGE(WM_SYSCOMMAND, OnSysCommand)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
    ON_MESSAGE(WM_SYSKEYUP, OnSysKeyUp)
    ON_MESSAGE(WM_KEYUP, OnKeyUp)
END_MESSAGE_MAP()

CZOLUIMainWnd::CZOLUIMainWnd() : m_pSkin(std::make_unique<CZOLUISkin>())
{
    m_wndMenuBar.SetSkin(m_pSkin.get());
}

CZOLUIMainWnd::~CZOLUIMainWnd() = default;

BOOL CZOLUIMainWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    // A pop-up window without caption or sizing frame: neither the system
    // nor a window manager draws anything of it.
    cs.style = (cs.style & ~static_cast<LONG>(WS_CAPTION | WS_THICKFRAME)) | static_cast<LONG>(WS_POPUP) |
               WS_CLIPCHILDREN;
    if (cs.x == CW_USEDEFAULT || cs.cx == CW_USEDEFAULT)
    {
        // Pop-up windows get no default place from the system.
        const RECT work = WorkAreaOf(nullptr, nullptr);
        cs.cx = std::min<int>(kDefaultWidth, work.right - work.left);
        cs.cy = std::min<int>(kDefaultHeight, work.bottom - work.top);
        cs.x = work.left + (work.right - work.left - cs.cx) / 2;
        cs.y = work.top + (work.bottom - work.top - cs.cy) / 2;
    }
    return TRUE;
}

int CZOLUIMainWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    LPCWSTR lpszIcon = MAKEINTRESOURCE(kMainFrameResource);
    const HINSTANCE hIcons = AfxFindResourceHandle(lpszIcon, RT_GROUP_ICON);
    m_hSmallIcon = static_cast<HICON>(::LoadImageW(hIcons, AfxWin32Text(lpszIcon), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON),
                                                   ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    const auto hBigIcon = static_cast<HICON>(::LoadImageW(hIcons, AfxWin32Text(lpszIcon), IMAGE_ICON, 0, 0,
                                                           LR_SHARED | LR_DEFAULTSIZE));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(hBigIcon));

    UpdateRegion();
    // The menu bar gets its menu with the first skin change: make one as
    // soon as the frame runs, with the library's own look.
    PostMessage(WM_SKINCHANGED);
    return 0;
}

LRESULT CZOLUIMainWnd::OnSkinChanged(WPARAM, LPARAM)
{
    if (const CZOLUIApp* pApp = SkinApp())
    {
        if (std::unique_ptr<CZOLUISkin> pSkin = CZOLUISkin::FromFile(pApp->m_strSkinPath))
            m_pSkin = std::move(pSkin);
    }
    ApplySkin();
    return 0;
}

void CZOLUIMainWnd::ApplySkin()
{
    m_wndMenuBar.SetSkin(m_pSkin.get());
    UpdateRegion();
    // Border and caption sizes may have changed.
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RecalcLayout();
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CZOLUIMainWnd::UpdateRegion()
{
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int nCorner = ::IsZoomed(m_hWnd) ? 0 : m_pSkin->m_nCorner;
    HRGN hRegion = nullptr;
    if (nCorner > 0)
        hRegion = ::CreateRoundRectRgn(0, 0, window.right - window.left + 1, window.bottom - window.top + 1,
                                       2 * nCorner, 2 * nCorner);
    // The window owns the region from here on.
    ::SetWindowRgn(m_hWnd, hRegion, TRUE);
}

SIZE CZOLUIMainWnd::MinimumSize() const
{
    const int nFrame = 2 * m_pSkin->m_nBorder;
    return {std::max(nFrame + 240, 320), nFrame + m_pSkin->m_nCaption + m_pSkin->m_nBarHeight + 60};
}

LRESULT CZOLUIMainWnd::OnNcCalcSize(WPARAM wParam, LPARAM lParam)
{
    RECT* pRect = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                              : reinterpret_cast<RECT*>(lParam);
    const FrameParts parts = ComputeFrameParts(*m_pSkin, pRect->right - pRect->left, pRect->bottom - pRect->top,
                                               (GetExStyle() & WS_EX_CLIENTEDGE) != 0);
    const POINT origin = {pRect->left, pRect->top};
    *pRect = parts.client;
    ::OffsetRect(pRect, origin.x, origin.y);
    return 0;
}

LRESULT CZOLUIMainWnd::OnNcPaint(WPARAM, LPARAM)
{
    PaintNonClient();
    return 0;
}

void CZOLUIMainWnd::PaintNonClient()
{
    RECT window;
    const FrameParts parts = PartsOf(m_hWnd, *m_pSkin, window);
    const int cx = window.right - window.left;
    const int cy = window.bottom - window.top;
    const bool bClientEdge = (GetExStyle() & WS_EX_CLIENTEDGE) != 0;
    const CZOLUISkin& skin = *m_pSkin;

    const HDC hWindowDC = ::GetWindowDC(m_hWnd);
    ::ExcludeClipRect(hWindowDC, parts.client.left, parts.client.top, parts.client.right, parts.client.bottom);
    {
        OffscreenCanvas canvas(hWindowDC, cx, cy);
        const HDC hDC = canvas.GetDC();
        const RECT whole = {0, 0, cx, cy};
        GdiHandle<HBRUSH> fill(::CreateSolidBrush(skin.m_crBorder));
        ::FillRect(hDC, &whole, fill.get());
        if (skin.m_nBorder > 0)
            SkinFrameRect(hDC, whole, skin.m_crOutline);

        SkinFillGradient(hDC, parts.caption, m_bActive ? skin.m_crCaptionStart : skin.m_crInactiveStart,
                         m_bActive ? skin.m_crCaptionEnd : skin.m_crInactiveEnd);
        if (m_hSmallIcon != nullptr)
            ::DrawIconEx(hDC, parts.icon.left, parts.icon.top, m_hSmallIcon, parts.icon.right - parts.icon.left,
                         parts.icon.bottom - parts.icon.top, 0, nullptr, DI_NORMAL);

        wchar_t szTitle[256] = {};
        ::GetWindowTextW(m_hWnd, szTitle, static_cast<int>(std::size(szTitle)));
        GdiSelection font(hDC, skin.m_captionFont.get());
        ::SetBkMode(hDC, TRANSPARENT);
        ::SetTextColor(hDC, m_bActive ? skin.m_crCaptionText : skin.m_crInactiveText);
        RECT title = parts.title;
        ::DrawTextW(hDC, szTitle, -1, &title, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);

        const bool bMaximized = ::IsZoomed(m_hWnd) != FALSE;
        const COLORREF crCaption = m_bActive ? MixColours(skin.m_crCaptionStart, skin.m_crCaptionEnd, 50)
                                             : MixColours(skin.m_crInactiveStart, skin.m_crInactiveEnd, 50);
        const std::pair<const RECT*, UINT> buttons[] = {
            {&parts.minimize, HTMINBUTTON}, {&parts.maximize, HTMAXBUTTON}, {&parts.close, HTCLOSE}};
        for (const auto& [pRect, nHit] : buttons)
        {
            // While one is held, only it changes its look: pressed while the
            // mouse is over it.
            ButtonLook look = ButtonLook::Normal;
            if (m_nPressedButton != 0)
                look = nHit == m_nPressedButton && m_bOverPressedButton ? ButtonLook::Pressed : ButtonLook::Normal;
            else if (nHit == m_nHotButton)
                look = ButtonLook::Hot;
            DrawCaptionButton(hDC, *pRect, nHit, bMaximized, look, crCaption, skin.m_crButtons);
        }

        if (bClientEdge)
        {
            RECT edge = parts.client;
            ::InflateRect(&edge, 2, 2);
            ::DrawEdge(hDC, &edge, EDGE_SUNKEN, BF_RECT);
        }
    }
    ::ReleaseDC(m_hWnd, hWindowDC);
}

LRESULT CZOLUIMainWnd::OnNcActivate(WPARAM wParam, LPARAM)
{
    m_bActive = wParam != 0;
    if (!m_bActive && m_wndMenuBar.m_hWnd != nullptr)
    {
        // The keyboard goes to the window that takes over: the bar leaves
        // its keyboard mode, and Alt may be released there.
        m_wndMenuBar.SendMessage(WM_CANCELMODE);
        m_wndMenuBar.SetAltKeyDown(FALSE);
    }
    PaintNonClient();
    return TRUE;
}

UINT CZOLUIMainWnd::HitTestScreen(POINT point) const
{
    RECT window;
    const FrameParts parts = PartsOf(m_hWnd, *m_pSkin, window);
    point.x -= window.left;
    point.y -= window.top;
    return FrameHitTest(parts, window.right - window.left, window.bottom - window.top, point,
                        !::IsZoomed(m_hWnd));
}

LRESULT CZOLUIMainWnd::OnNcHitTest(WPARAM, LPARAM lParam)
{
    return HitTestScreen(PointFromLParam(lParam));
}

void CZOLUIMainWnd::SetHotButton(UINT nHit)
{
    const UINT nButton = IsCaptionButton(nHit) ? nHit : 0;
    // WM_NCMOUSELEAVE tells when the mouse leaves the caption.
    if (nButton != 0 && !m_bTrackingNcLeave)
    {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, m_hWnd, 0};
        m_bTrackingNcLeave = ::TrackMouseEvent(&track) != FALSE;
    }
    if (nButton == m_nHotButton)
        return;
    m_nHotButton = nButton;
    PaintNonClient();
}

LRESULT CZOLUIMainWnd::OnNcMouseMove(WPARAM wParam, LPARAM lParam)
{
    SetHotButton(static_cast<UINT>(wParam));
    return DefWindowProc(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnNcMouseLeave(WPARAM, LPARAM)
{
    m_bTrackingNcLeave = false;
    SetHotButton(HTNOWHERE);
    return 0;
}

LRESULT CZOLUIMainWnd::OnNcLButtonDown(WPARAM wParam, LPARAM lParam)
{
    const auto nHit = static_cast<UINT>(wParam);
    if (IsCaptionButton(nHit))
    {
        // Pressed: it acts when the button is released over it.
        m_nPressedButton = nHit;
        m_bOverPressedButton = true;
        ::SetCapture(m_hWnd);
        PaintNonClient();
        return 0;
    }
    if (nHit == HTSYSMENU)
    {
        m_dwIconClickTime = static_cast<DWORD>(::GetMessageTime());
        TrackSystemMenu(true);
        return 0;
    }
    if (!IsSizingHit(nHit))
        return DefWindowProc(WM_NCLBUTTONDOWN, wParam, lParam);
    // The window has no sizing frame for the system to drag: drag it here.
    m_nSizingHit = nHit;
    m_ptSizingStart = PointFromLParam(lParam);
    ::GetWindowRect(m_hWnd, &m_rcSizingStart);
    ::SetCapture(m_hWnd);
    return 0;
}

LRESULT CZOLUIMainWnd::OnNcLButtonDblClk(WPARAM wParam, LPARAM lParam)
{
    // The second press of a double-click on a button presses it again; on
    // the icon, the system closes the window; on the caption, it maximizes
    // or restores it.
    if (IsCaptionButton(static_cast<UINT>(wParam)))
        return OnNcLButtonDown(wParam, lParam);
    return DefWindowProc(WM_NCLBUTTONDBLCLK, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnMouseMove(WPARAM wParam, LPARAM lParam)
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    if (m_nPressedButton != 0)
    {
        const bool bOver = HitTestScreen(cursor) == m_nPressedButton;
        if (bOver != m_bOverPressedButton)
        {
            m_bOverPressedButton = bOver;
            PaintNonClient();
        }
        return 0;
    }
    if (m_nSizingHit == 0)
    {
        // In the client area: no caption button is hot (Wine reports the
        // leaving of the caption only after a while).
        SetHotButton(HTCLIENT);
        return DefWindowProc(WM_MOUSEMOVE, wParam, lParam);
    }
    const int dx = cursor.x - m_ptSizingStart.x;
    const int dy = cursor.y - m_ptSizingStart.y;
    const SIZE minimum = MinimumSize();
    RECT rect = m_rcSizingStart;
    const UINT nHit = m_nSizingHit;
    if (nHit == HTLEFT || nHit == HTTOPLEFT || nHit == HTBOTTOMLEFT)
        rect.left = std::min<LONG>(rect.left + dx, rect.right - minimum.cx);
    if (nHit == HTRIGHT || nHit == HTTOPRIGHT || nHit == HTBOTTOMRIGHT)
        rect.right = std::max<LONG>(rect.right + dx, rect.left + minimum.cx);
    if (nHit == HTTOP || nHit == HTTOPLEFT || nHit == HTTOPRIGHT)
        rect.top = std::min<LONG>(rect.top + dy, rect.bottom - minimum.cy);
    if (nHit == HTBOTTOM || nHit == HTBOTTOMLEFT || nHit == HTBOTTOMRIGHT)
        rect.bottom = std::max<LONG>(rect.bottom + dy, rect.top + minimum.cy);
    ::SetWindowPos(m_hWnd, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

LRESULT CZOLUIMainWnd::OnLButtonUp(WPARAM wParam, LPARAM lParam)
{
    if (m_nPressedButton != 0)
    {
        POINT cursor;
        ::GetCursorPos(&cursor);
        const UINT nButton = HitTestScreen(cursor) == m_nPressedButton ? m_nPressedButton : 0;
        ::ReleaseCapture();
        switch (nButton)
        {
        case HTCLOSE:
            PostMessage(WM_SYSCOMMAND, SC_CLOSE);
            break;
        case HTMAXBUTTON:
            PostMessage(WM_SYSCOMMAND, ::IsZoomed(m_hWnd) ? SC_RESTORE : SC_MAXIMIZE);
            break;
        case HTMINBUTTON:
            PostMessage(WM_SYSCOMMAND, SC_MINIMIZE);
            break;
        default:
            break; // released elsewhere: nothing happens
        }
        return 0;
    }
    if (m_nSizingHit == 0)
        return DefWindowProc(WM_LBUTTONUP, wParam, lParam);
    ::ReleaseCapture();
    return 0;
}

LRESULT CZOLUIMainWnd::OnCaptureChanged(WPARAM, LPARAM)
{
    m_nSizingHit = 0;
    if (m_nPressedButton != 0)
    {
        m_nPressedButton = 0;
        // The mouse moved without WM_NCMOUSEMOVE while the button was held,
        // and the capture may have ended the tracking of its leaving.
        POINT cursor;
        ::GetCursorPos(&cursor);
        m_bTrackingNcLeave = false;
        m_nHotButton = 0;
        SetHotButton(HitTestScreen(cursor));
        PaintNonClient();
    }
    return 0;
}

void CZOLUIMainWnd::TrackSystemMenu(bool bFromClick)
{
    const HMENU hMenu = ::GetSystemMenu(m_hWnd, FALSE);
    if (hMenu == nullptr)
        return;
    RECT window;
    const FrameParts parts = PartsOf(m_hWnd, *m_pSkin, window);
    RECT icon = parts.icon;
    ::OffsetRect(&icon, window.left, window.top);
    // Below the caption, at the icon's left edge.
    const RECT anchor = {icon.left, icon.top, icon.right, window.top + parts.caption.bottom};

    const HWND hFrame = m_hWnd;
    const DWORD dwClickTime = m_dwIconClickTime;
    bool bDoubleClick = false;
    UINT nCommand = TrackPopupMenuBelow(hMenu, anchor, m_hWnd, [&](const MSG& msg) {
        if (!IsMouseButtonDown(msg.message) || !::PtInRect(&icon, msg.pt))
            return false;
        // Another click on the icon closes the menu; soon after the click
        // that opened it, it is a double-click, which closes the window.
        bDoubleClick = bFromClick && (msg.message == WM_LBUTTONDOWN || msg.message == WM_LBUTTONDBLCLK ||
                                      msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCLBUTTONDBLCLK) &&
                       msg.time - dwClickTime <= ::GetDoubleClickTime();
        ::EndMenu();
        return true;
    });
    // The menu's loop runs every message: the frame may be gone.
    if (!::IsWindow(hFrame))
        return;
    if (bDoubleClick)
        nCommand = SC_CLOSE;
    if (nCommand != 0)
        PostMessage(WM_SYSCOMMAND, nCommand);
}

LRESULT CZOLUIMainWnd::OnInitMenuPopup(WPARAM wParam, LPARAM lParam)
{
    const auto hMenu = reinterpret_cast<HMENU>(wParam);
    if (hMenu == ::GetSystemMenu(m_hWnd, FALSE))
        PrepareSystemMenu(hMenu, m_hWnd);
    return DefWindowProc(WM_INITMENUPOPUP, wParam, lParam);
}

LRESULT CZOLUIMainWnd::KeyMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_wndMenuBar.SetAltKeyDown(::GetKeyState(VK_MENU) < 0);
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    // Esc while the border is dragged puts the frame back, as the system's
    // own sizing does.
    if (wParam == VK_ESCAPE && m_nSizingHit != 0)
    {
        const RECT& start = m_rcSizingStart;
        ::SetWindowPos(m_hWnd, nullptr, start.left, start.top, start.right - start.left, start.bottom - start.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ::ReleaseCapture();
        return 0;
    }
    return DefWindowProc(WM_KEYDOWN, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnSysKeyDown(WPARAM wParam, LPARAM lParam)
{
    return KeyMessage(WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnSysKeyUp(WPARAM wParam, LPARAM lParam)
{
    return KeyMessage(WM_SYSKEYUP, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnKeyUp(WPARAM wParam, LPARAM lParam)
{
    return KeyMessage(WM_KEYUP, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnSetText(WPARAM wParam, LPARAM lParam)
{
    const LRESULT lResult = DefWindowProc(WM_SETTEXT, wParam, lParam);
    PaintNonClient();
    return lResult;
}

LRESULT CZOLUIMainWnd::OnEraseBkgnd(WPARAM wParam, LPARAM)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    SkinFillGradient(reinterpret_cast<HDC>(wParam), client, m_pSkin->m_crClientStart, m_pSkin->m_crClientEnd);
    return 1;
}

LRESULT CZOLUIMainWnd::OnGetMinMaxInfo(WPARAM, LPARAM lParam)
{
    auto* pInfo = reinterpret_cast<MINMAXINFO*>(lParam);
    // Maximized, the frame covers its monitor's work area, not the taskbar.
    POINT monitor;
    const RECT work = WorkAreaOf(m_hWnd, &monitor);
    pInfo->ptMaxPosition = {work.left - monitor.x, work.top - monitor.y};
    pInfo->ptMaxSize = {work.right - work.left, work.bottom - work.top};
    const SIZE minimum = MinimumSize();
    pInfo->ptMinTrackSize = {minimum.cx, minimum.cy};
    return 0;
}

LRESULT CZOLUIMainWnd::OnWindowPosChanging(WPARAM wParam, LPARAM lParam)
{
    // On a monitor other than the primary, systems read the maximized place
    // of WM_GETMINMAXINFO differently (Wine from the screen's origin, Windows
    // from the monitor's, stretching a size as large as the primary's): the
    // maximized frame is held to its own monitor's work area here.
    auto* pPos = reinterpret_cast<WINDOWPOS*>(lParam);
    if ((GetStyle() & WS_MAXIMIZE) != 0 && (pPos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE))
    {
        const RECT work = WorkAreaOf(m_hWnd, nullptr);
        pPos->x = work.left;
        pPos->y = work.top;
        pPos->cx = work.right - work.left;
        pPos->cy = work.bottom - work.top;
        pPos->flags &= ~static_cast<UINT>(SWP_NOMOVE | SWP_NOSIZE);
    }
    return DefWindowProc(WM_WINDOWPOSCHANGING, wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnSize(WPARAM wParam, LPARAM lParam)
{
    UpdateRegion();
    return CFrameWnd::OnSize(wParam, lParam);
}

LRESULT CZOLUIMainWnd::OnSysCommand(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_KEYMENU)
    {
        // Alt+Space opens the system menu; Alt or F10 alone highlights the
        // menu bar's first item, and Alt with a letter opens that item.
        const auto chKey = static_cast<WCHAR>(lParam);
        if (chKey == u' ')
        {
            TrackSystemMenu(false);
            return 0;
        }
        if (chKey == 0 ? m_wndMenuBar.EnterKeyboardMode() : m_wndMenuBar.OpenByMnemonic(chKey))
            return 0;
    }
    return DefWindowProc(WM_SYSCOMMAND, wParam, lParam);
}
