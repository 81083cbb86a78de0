// Control bars: child windows that a frame lays out along its edges.
#pragma once

#include "AfxSize.h"
#include "AfxWnd.h"

class CFrameWnd;

// Control-bar styles, kept in m_dwStyle (the window style keeps the rest).
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD CBRS_ALL = 0x0040FFFF;

class AFX_CORE_API CControlBar : public CWnd
{
public:
    ~CControlBar() override;

    // The sides of a frame the bar may dock at (CBRS_ALIGN_ bits).
    void EnableDocking(DWORD dwDockStyle);
    // TRUE when the bar is shown or about to be shown by a delayed show.
    virtual BOOL IsVisible() const;
    // The bar's size when laid out along a horizontal (bHorz) edge; the
    // frame stretches a bar across its edge when bStretch is TRUE.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Shows or hides the bar the next time its frame lays out.
    void DelayShow(BOOL bShow);

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;

protected:
    CControlBar() = default;

private:
    friend class CFrameWnd;
    // Carries out a pending DelayShow.
    void ApplyDelayedShow();

    enum StateFlags : UINT
    {
        delayHide = 1,
        delayShow = 2,
    };
    UINT m_nStateFlags = 0;
};
