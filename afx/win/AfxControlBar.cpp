#include "AfxControlBar.h"

#include "AfxFrameWnd.h"
#include "AfxWin32Text.h"
#include "AfxWndClasses.h"

CControlBar::~CControlBar()
{
    if (m_pDockSite != nullptr)
        m_pDockSite->RemoveControlBar(this);
}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
    m_dwDockStyle = dwDockStyle;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) != 0 || (GetStyle() & WS_VISIBLE) != 0;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~static_cast<UINT>(delayHide | delayShow);
    const bool bVisible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !bVisible)
        m_nStateFlags |= delayShow;
    else if (!bShow && bVisible)
        m_nStateFlags |= delayHide;
}

void CControlBar::ApplyDelayedShow()
{
    if (m_nStateFlags & delayShow)
        ShowWindow(SW_SHOWNOACTIVATE);
    else if (m_nStateFlags & delayHide)
        ShowWindow(SW_HIDE);
    m_nStateFlags = 0;
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == nullptr)
        cs.lpszClass = AfxWin32Text(AfxControlBarClass());
    // Bars overlap nothing of their siblings' painting.
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}
