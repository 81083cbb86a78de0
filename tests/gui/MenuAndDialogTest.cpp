#include "WindowLayerTest.h"

TEST(Menu, DestructionDestroysTheMenuUnlessDetached)
{
    HMENU hKept = ::CreateMenu();
    HMENU hDestroyed = ::CreateMenu();
    {
        CMenu kept;
        CMenu destroyed;
        EXPECT_TRUE(kept.Attach(hKept));
        EXPECT_FALSE(kept.Attach(hDestroyed)) << "one menu at a time";
        EXPECT_TRUE(destroyed.Attach(hDestroyed));
        EXPECT_EQ(hKept, kept.Detach());
        EXPECT_EQ(nullptr, kept.m_hMenu);
    }
    EXPECT_TRUE(::IsMenu(hKept));
    EXPECT_FALSE(::IsMenu(hDestroyed));
    ::DestroyMenu(hKept);

    CMenu empty;
    EXPECT_FALSE(empty.Attach(nullptr));
    EXPECT_EQ(nullptr, empty.Detach());
}

namespace
{
struct DialogSeen
{
    bool bFound = false;
    POINT centre = {0, 0};
};
DialogSeen g_dialogSeen;
int g_nButtonToPress = IDOK;

BOOL CALLBACK FindTestDialog(HWND hWnd, LPARAM lParam)
{
    if (WindowText(hWnd) != L"Layer dialog" || !::IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

void CALLBACK PressDialogButton(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    HWND hDlg = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindTestDialog, reinterpret_cast<LPARAM>(&hDlg));
    if (hDlg == nullptr)
        return;
    ::KillTimer(nullptr, nTimer);
    RECT rect;
    ::GetWindowRect(hDlg, &rect);
    g_dialogSeen = {true, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}};
    ::SendMessageW(::GetDlgItem(hDlg, g_nButtonToPress), BM_CLICK, 0, 0);
}

class DialogButtonTest : public ::testing::TestWithParam<int>
{
};
}

TEST_P(DialogButtonTest, ButtonEndsTheDialogWithItsIdentifierOverTheOwner)
{
    RecordingFrame* pOwner = CreateTestFrame(new RecordingFrame);
    g_testApp.m_pMainWnd = pOwner;
    g_dialogSeen = DialogSeen();
    g_nButtonToPress = GetParam();

    CDialog dialog(kTestDialog);
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, PressDialogButton);
    EXPECT_EQ(GetParam(), dialog.DoModal());
    ::KillTimer(nullptr, nTimer);
    EXPECT_EQ(nullptr, dialog.m_hWnd);

    ASSERT_TRUE(g_dialogSeen.bFound);
    RECT owner;
    ::GetWindowRect(pOwner->m_hWnd, &owner);
    EXPECT_NEAR((owner.left + owner.right) / 2, g_dialogSeen.centre.x, 1);
    EXPECT_NEAR((owner.top + owner.bottom) / 2, g_dialogSeen.centre.y, 1);

    g_testApp.m_pMainWnd = nullptr;
    pOwner->DestroyWindow();
}

INSTANTIATE_TEST_SUITE_P(Buttons, DialogButtonTest, ::testing::Values(IDOK, IDCANCEL));

TEST(Dialog, MissingTemplateFailsAtOnce)
{
    CDialog dialog(999);
    EXPECT_EQ(-1, dialog.DoModal());
}

TEST(Resources, ProgramModuleHoldsItsResourcesAndIsTheFallback)
{
    const HINSTANCE hProgram = ::GetModuleHandleW(nullptr);
    EXPECT_EQ(hProgram, AfxFindResourceHandle(MAKEINTRESOURCE(kTestDialog), RT_DIALOG));
    EXPECT_EQ(hProgram, AfxFindResourceHandle(MAKEINTRESOURCE(999), RT_DIALOG));
}
