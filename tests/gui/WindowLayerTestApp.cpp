#include "WindowLayerTest.h"

TestApp g_testApp;

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
    ON_COMMAND(kAppCommand, OnAppCommand)
END_MESSAGE_MAP()

int RecordingFrame::s_nDeleted = 0;

BEGIN_MESSAGE_MAP(RecordingFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(kBaseOnlyMessage, OnBaseOnly)
    ON_MESSAGE(kOverriddenMessage, OnOverridden)
    ON_COMMAND(kFrameCommand, OnFrameCommand)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(DerivedFrame, RecordingFrame)
    ON_MESSAGE(kOverriddenMessage, OnOverridden)
END_MESSAGE_MAP()

RecordingFrame* CreateTestFrame(RecordingFrame* pFrame, const wchar_t* pszTitle)
{
    const RECT rect = {100, 100, 500, 400};
    pFrame->Create(nullptr, reinterpret_cast<LPCWSTR>(pszTitle), WS_OVERLAPPEDWINDOW | WS_VISIBLE, rect);
    PumpMessages();
    return pFrame;
}

RECT BarRect(const CControlBar& bar)
{
    RECT rect;
    ::GetWindowRect(bar.m_hWnd, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(bar.m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
