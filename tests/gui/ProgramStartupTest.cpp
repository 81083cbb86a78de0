#include "ProgramTest.h"

#include <cstring>

TEST_F(ProgramTest, FrameIsShownWithItsTitleAndNoMenuOrClientEdge)
{
    const HWND hFrame = Frame();
    ASSERT_TRUE(::IsWindow(hFrame));
    EXPECT_EQ(hFrame, ::FindWindowW(nullptr, L"Hello, ZOLUI!"));
    EXPECT_EQ(L"Hello, ZOLUI!", WindowText(hFrame));
    EXPECT_TRUE(::IsWindowVisible(hFrame));
    EXPECT_EQ(nullptr, ::GetMenu(hFrame));
    EXPECT_EQ(0, ::GetWindowLongW(hFrame, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(ProgramTest, RunTimeClassesNameTheFrameButNotTheApplication)
{
    const CRuntimeClass* pFrameClass = theApp.m_pMainWnd->GetRuntimeClass();
    EXPECT_STREQ("CMainFrame", pFrameClass->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CZOLUIMainWnd), pFrameClass->m_pfnGetBaseClass());
    EXPECT_EQ(nullptr, pFrameClass->m_pfnCreateObject);
    EXPECT_TRUE(theApp.m_pMainWnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)));
    EXPECT_STREQ("CZOLUIApp", theApp.GetRuntimeClass()->m_lpszClassName);
}

TEST_F(ProgramTest, MenuBarIsAVisibleChildDockedAcrossTheTop)
{
    const HWND hBar = MenuBarWindow();
    ASSERT_NE(nullptr, hBar);
    EXPECT_EQ(Frame(), ::GetParent(hBar));
    EXPECT_TRUE(::IsWindowVisible(hBar));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE),
              ::GetWindowLongW(hBar, GWL_STYLE) & static_cast<LONG>(WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(L"Menubar", WindowText(hBar));

    RECT frame;
    ::GetWindowRect(Frame(), &frame);
    for (const int nWidth : {640, static_cast<int>(frame.right - frame.left)})
    {
        ::SetWindowPos(Frame(), nullptr, 0, 0, nWidth, frame.bottom - frame.top,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        PumpMessages();
        RECT client;
        ::GetClientRect(Frame(), &client);
        const RECT bar = BarArea();
        EXPECT_EQ(0, bar.left) << nWidth;
        EXPECT_EQ(0, bar.top) << nWidth;
        EXPECT_EQ(client.right, bar.right) << nWidth;
        EXPECT_GT(bar.bottom, 10) << nWidth;
    }
}

TEST_F(ProgramTest, MenuBarShowsTheProgramMenuFromTheStart)
{
    const HMENU hMenu = BarMenu();
    ASSERT_TRUE(::IsMenu(hMenu));
    const wchar_t* const labels[] = {L"&File", L"&Edit", L"Skin", L"&Help"};
    ASSERT_EQ(4, ::GetMenuItemCount(hMenu));
    for (int i = 0; i < 4; ++i)
    {
        wchar_t szLabel[64] = {};
        ::GetMenuStringW(hMenu, static_cast<UINT>(i), szLabel, 64, MF_BYPOSITION);
        EXPECT_STREQ(labels[i], szLabel);
    }
}
