#include "WindowLayerTest.h"

#include <afx/win/afxres.h>

TEST(MessageMap, CreationReachesTheHandlerWithTheCreateStructure)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame, L"Created");
    ASSERT_NE(nullptr, pFrame->m_hWnd);
    EXPECT_EQ(pFrame, CWnd::FromHandlePermanent(pFrame->m_hWnd));
    EXPECT_EQ(L"Created", pFrame->m_strCreateTitle);
    EXPECT_EQ(std::vector<std::string>{"create"}, pFrame->m_calls);
    pFrame->DestroyWindow();
}

TEST(MessageMap, DerivedEntriesComeFirstAndBaseEntriesHandleTheRest)
{
    RecordingFrame* pFrame = CreateTestFrame(new DerivedFrame);
    pFrame->m_calls.clear();
    EXPECT_EQ(7, pFrame->SendMessage(RecordingFrame::kOverriddenMessage));
    EXPECT_EQ(42, pFrame->SendMessage(RecordingFrame::kBaseOnlyMessage, 41));
    EXPECT_EQ(0, pFrame->SendMessage(WM_APP + 99)) << "unmapped: the default procedure";
    EXPECT_EQ((std::vector<std::string>{"derived", "base only"}), pFrame->m_calls);
    pFrame->DestroyWindow();
}

TEST(MessageMap, CommandsGoToTheFrameThenToTheApplication)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame);
    pFrame->m_calls.clear();
    const int nAppCommands = g_testApp.m_nAppCommands;
    for (const UINT nID : {kFrameCommand, kAppCommand, kUnknownCommand})
        pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0));
    // An accelerator's command (code 1) is a command too.
    pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(kAppCommand, 1));
    EXPECT_EQ(std::vector<std::string>{"frame command"}, pFrame->m_calls);
    EXPECT_EQ(nAppCommands + 2, g_testApp.m_nAppCommands);
    pFrame->DestroyWindow();
}

TEST(MessageMap, FailedCreationLeavesTheObjectToItsCreator)
{
    auto* pFrame = new RecordingFrame;
    pFrame->m_nCreateResult = -1;
    const int nDeleted = RecordingFrame::s_nDeleted;
    const RECT rect = {0, 0, 200, 200};
    EXPECT_FALSE(pFrame->Create(nullptr, u"Fails", WS_OVERLAPPEDWINDOW, rect));
    EXPECT_EQ(nullptr, pFrame->m_hWnd);
    EXPECT_EQ(nDeleted, RecordingFrame::s_nDeleted);
    delete pFrame;
}

TEST(MessageMap, DestroyedFrameDeletesItselfAndExitEndsTheMainWindow)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame);
    g_testApp.m_pMainWnd = pFrame;
    const int nDeleted = RecordingFrame::s_nDeleted;
    const HWND hWnd = pFrame->m_hWnd;

    pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_APP_EXIT, 0));
    EXPECT_FALSE(::IsWindow(hWnd));
    EXPECT_EQ(nDeleted + 1, RecordingFrame::s_nDeleted);
    EXPECT_EQ(nullptr, g_testApp.m_pMainWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the main window's end ends the loop";
    EXPECT_EQ(0u, msg.wParam);
}

TEST(RunTimeClass, ClassesKnowTheirBases)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame);
    EXPECT_STREQ("CFrameWnd", pFrame->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(pFrame->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(pFrame->IsKindOf(RUNTIME_CLASS(CWinApp)));
    EXPECT_TRUE(g_testApp.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_EQ(&g_testApp, AfxGetApp());
    pFrame->DestroyWindow();
}

TEST(Window, NullWindowPointerHasNoHandle)
{
    const CWnd* pNone = nullptr;
    EXPECT_EQ(nullptr, pNone->GetSafeHwnd());
}

TEST(Window, ModifyStyleExReportsAChangeAndRecomputesTheFrame)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame);
    ASSERT_TRUE(pFrame->GetExStyle() & WS_EX_CLIENTEDGE) << "frames start with a client edge";
    RECT before;
    ::GetClientRect(pFrame->m_hWnd, &before);
    EXPECT_TRUE(pFrame->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED));
    EXPECT_FALSE(pFrame->ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED));
    RECT after;
    ::GetClientRect(pFrame->m_hWnd, &after);
    EXPECT_FALSE(pFrame->GetExStyle() & WS_EX_CLIENTEDGE);
    EXPECT_GT(after.right, before.right);
    pFrame->DestroyWindow();
}
