#include "WindowLayerTest.h"

#include <afx/win/afxres.h>

namespace
{
constexpr DWORD kVisibleBar = WS_CHILD | WS_VISIBLE | CBRS_TOP;

class FrameLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override { m_pFrame = CreateTestFrame(new RecordingFrame); }
    void TearDown() override { m_pFrame->DestroyWindow(); }

    int ClientWidth() const
    {
        RECT client;
        ::GetClientRect(m_pFrame->m_hWnd, &client);
        return client.right;
    }

    RecordingFrame* m_pFrame = nullptr;
};
}

TEST_F(FrameLayoutTest, DockedBarsStackAcrossTheTop)
{
    TestBar first(24);
    TestBar second(30);
    for (TestBar* pBar : {&first, &second})
    {
        ASSERT_TRUE(pBar->Create(m_pFrame, kVisibleBar, 0xE900));
        pBar->EnableDocking(CBRS_ALIGN_TOP);
    }
    m_pFrame->DockControlBar(&first, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(&second);

    const RECT a = BarRect(first);
    const RECT b = BarRect(second);
    EXPECT_EQ((RECT{0, 0, ClientWidth(), 24}).bottom, a.bottom);
    EXPECT_EQ(0, a.left);
    EXPECT_EQ(0, a.top);
    EXPECT_EQ(ClientWidth(), a.right);
    EXPECT_EQ(24, b.top);
    EXPECT_EQ(54, b.bottom);

    // Resizing the frame keeps them across its width.
    ::SetWindowPos(m_pFrame->m_hWnd, nullptr, 0, 0, 600, 300, SWP_NOMOVE | SWP_NOZORDER);
    PumpMessages();
    EXPECT_EQ(ClientWidth(), BarRect(first).right);
    EXPECT_EQ(ClientWidth(), BarRect(second).right);
}

TEST_F(FrameLayoutTest, OnlyBarsThatAllowTheTopDockThere)
{
    TestBar refusing(20);
    TestBar bottomOnly(20);
    ASSERT_TRUE(refusing.Create(m_pFrame, kVisibleBar, 0xE901));
    ASSERT_TRUE(bottomOnly.Create(m_pFrame, kVisibleBar, 0xE902));
    bottomOnly.EnableDocking(CBRS_ALIGN_TOP);
    m_pFrame->DockControlBar(&refusing, AFX_IDW_DOCKBAR_TOP);
    m_pFrame->DockControlBar(&bottomOnly, 0xE81E); // another side than the top
    EXPECT_EQ(nullptr, refusing.m_pDockSite);
    EXPECT_EQ(nullptr, bottomOnly.m_pDockSite);
    EXPECT_EQ(0, BarRect(refusing).right) << "not laid out";
}

TEST_F(FrameLayoutTest, DelayedShowWaitsForTheQueueAndThenLaysOut)
{
    TestBar upper(20);
    TestBar hidden(26);
    ASSERT_TRUE(upper.Create(m_pFrame, kVisibleBar, 0xE903));
    ASSERT_TRUE(hidden.Create(m_pFrame, WS_CHILD | CBRS_TOP, 0xE904));
    for (TestBar* pBar : {&upper, &hidden})
    {
        pBar->EnableDocking(CBRS_ALIGN_TOP);
        m_pFrame->DockControlBar(pBar, AFX_IDW_DOCKBAR_TOP);
    }
    EXPECT_FALSE(hidden.IsVisible());

    m_pFrame->ShowControlBar(&hidden, TRUE, TRUE);
    EXPECT_TRUE(hidden.IsVisible()) << "about to be shown";
    EXPECT_FALSE(::IsWindowVisible(hidden.m_hWnd)) << "but not yet";
    PumpMessages();
    EXPECT_TRUE(::IsWindowVisible(hidden.m_hWnd));
    EXPECT_EQ(20, BarRect(hidden).top);
    EXPECT_EQ(ClientWidth(), BarRect(hidden).right);

    // Hiding at once closes the gap at once.
    m_pFrame->ShowControlBar(&upper, FALSE, FALSE);
    EXPECT_FALSE(upper.IsVisible());
    EXPECT_EQ(0, BarRect(hidden).top);
}
