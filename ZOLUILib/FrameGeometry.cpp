#include "FrameGeometry.h"

#include "ZOLUISkin.h"

#include <algorithm>

namespace
{
constexpr int kClientEdge = 2;
constexpr int kButtonInset = 4;
constexpr int kIconSize = 16;
// How far from a corner along an edge a drag sizes both sides.
constexpr int kCornerReach = 12;
}

FrameParts ComputeFrameParts(const CZOLUISkin& skin, int cx, int cy, bool bClientEdge)
{
    const int b = skin.m_nBorder;
    FrameParts parts;
    parts.caption = {b, b, cx - b, b + skin.m_nCaption};

    const int nButton = std::max(skin.m_nCaption - 2 * kButtonInset, 8);
    const int nTop = parts.caption.top + (skin.m_nCaption - nButton) / 2;
    int nRight = parts.caption.right - kButtonInset;
    for (RECT* pButton : {&parts.close, &parts.maximize, &parts.minimize})
    {
        *pButton = {nRight - nButton, nTop, nRight, nTop + nButton};
        nRight -= nButton + 2;
    }

    const int nIconTop = parts.caption.top + (skin.m_nCaption - kIconSize) / 2;
    parts.icon = {parts.caption.left + 6, nIconTop, parts.caption.left + 6 + kIconSize, nIconTop + kIconSize};
    parts.title = {parts.icon.right + 6, parts.caption.top, parts.minimize.left - 6, parts.caption.bottom};

    parts.client = {b, parts.caption.bottom, cx - b, cy - b};
    if (bClientEdge)
        ::InflateRect(&parts.client, -kClientEdge, -kClientEdge);
    parts.client.right = std::max(parts.client.right, parts.client.left);
    parts.client.bottom = std::max(parts.client.bottom, parts.client.top);
    return parts;
}

UINT FrameHitTest(const FrameParts& parts, int cx, int cy, POINT point, bool bSizable)
{
    if (::PtInRect(&parts.close, point))
        return HTCLOSE;
    if (::PtInRect(&parts.maximize, point))
        return HTMAXBUTTON;
    if (::PtInRect(&parts.minimize, point))
        return HTMINBUTTON;
    if (::PtInRect(&parts.icon, point))
        return HTSYSMENU;
    if (::PtInRect(&parts.caption, point))
        return HTCAPTION;
    if (::PtInRect(&parts.client, point))
        return HTCLIENT;
    const RECT window = {0, 0, cx, cy};
    if (!::PtInRect(&window, point))
        return HTNOWHERE;
    if (!bSizable)
        return HTBORDER;

    // The border is what lies outside the caption's left, top and right
    // edges and below the client area's bottom edge.
    const RECT inner = {parts.caption.left, parts.caption.top, parts.caption.right,
                        cy - parts.caption.top};
    const bool bOnLeft = point.x < inner.left;
    const bool bOnRight = point.x >= inner.right;
    const bool bOnTop = point.y < inner.top;
    const bool bOnBottom = point.y >= inner.bottom;
    const bool bLeft = point.x < inner.left + kCornerReach;
    const bool bRight = point.x >= inner.right - kCornerReach;
    const bool bTop = point.y < inner.top + kCornerReach;
    const bool bBottom = point.y >= inner.bottom - kCornerReach;
    if ((bOnTop && bLeft) || (bOnLeft && bTop))
        return HTTOPLEFT;
    if ((bOnTop && bRight) || (bOnRight && bTop))
        return HTTOPRIGHT;
    if ((bOnBottom && bLeft) || (bOnLeft && bBottom))
        return HTBOTTOMLEFT;
    if ((bOnBottom && bRight) || (bOnRight && bBottom))
        return HTBOTTOMRIGHT;
    if (bOnLeft)
        return HTLEFT;
    if (bOnRight)
        return HTRIGHT;
    if (bOnTop)
        return HTTOP;
    if (bOnBottom)
        return HTBOTTOM;
    return HTBORDER; // the client edge
}
