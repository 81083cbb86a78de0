#include "ProgramTest.h"

namespace
{
struct ControlSeen
{
    std::wstring strClass;
    std::wstring strText;
    int nID;
    LONG nStyle;
    RECT rect; // in the dialog's client coordinates
    bool bHasIcon;
};

// What the probe saw of the open about box.
struct AboutBoxSeen
{
    bool bFound = false;
    std::wstring strCaption;
    HWND hOwner = nullptr;
    bool bOwnerEnabled = true;
    std::vector<ControlSeen> controls;
    std::vector<RECT> templateRects; // the template's rectangles in pixels
};

AboutBoxSeen g_seen;

BOOL CALLBACK RecordControl(HWND hWnd, LPARAM lParam)
{
    const HWND hDlg = reinterpret_cast<HWND>(lParam);
    ControlSeen control;
    wchar_t szClass[64] = {};
    ::GetClassNameW(hWnd, szClass, 64);
    control.strClass = szClass;
    control.strText = WindowText(hWnd);
    control.nID = ::GetDlgCtrlID(hWnd);
    control.nStyle = ::GetWindowLongW(hWnd, GWL_STYLE);
    ::GetWindowRect(hWnd, &control.rect);
    ::MapWindowPoints(nullptr, hDlg, reinterpret_cast<POINT*>(&control.rect), 2);
    control.bHasIcon = ::SendMessageW(hWnd, STM_GETICON, 0, 0) != 0;
    g_seen.controls.push_back(control);
    return TRUE;
}

// Runs inside the dialog's modal loop: records what is shown, then clicks OK.
void CALLBACK ProbeAboutBox(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    const HWND hDlg = FindThreadWindowOfClass(L"#32770");
    if (hDlg == nullptr)
        return; // not open yet
    ::KillTimer(nullptr, nTimer);
    g_seen.bFound = true;
    g_seen.strCaption = WindowText(hDlg);
    g_seen.hOwner = ::GetWindow(hDlg, GW_OWNER);
    g_seen.bOwnerEnabled = ::IsWindowEnabled(g_seen.hOwner) != FALSE;
    ::EnumChildWindows(hDlg, RecordControl, reinterpret_cast<LPARAM>(hDlg));
    for (RECT rect : {RECT{11, 17, 31, 37}, RECT{40, 10, 159, 18}, RECT{178, 7, 228, 23}})
    {
        ::MapDialogRect(hDlg, &rect);
        g_seen.templateRects.push_back(rect);
    }
    ::SendMessageW(::GetDlgItem(hDlg, IDOK), BM_CLICK, 0, 0);
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}

TEST_F(ProgramTest, AboutBoxShowsItsControlsAndOkLeavesTheFrameAsItWas)
{
    ::SetForegroundWindow(Frame());
    PumpMessages();
    const std::vector<std::uint32_t> lookBefore = CaptureWindow(Frame());
    const HMENU hMenuBefore = BarMenu();

    g_seen = AboutBoxSeen();
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 100, ProbeAboutBox);
    // Returns when the modal dialog has ended.
    ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(ID_APP_ABOUT, 0), 0);
    ::KillTimer(nullptr, nTimer);
    PumpMessages(200, 3000);

    ASSERT_TRUE(g_seen.bFound);
    EXPECT_EQ(L"About TestZOLUILib", g_seen.strCaption);
    EXPECT_EQ(Frame(), g_seen.hOwner);
    EXPECT_FALSE(g_seen.bOwnerEnabled) << "the frame waits while the box is open";

    ASSERT_EQ(3u, g_seen.controls.size());
    const ControlSeen& icon = g_seen.controls[0];
    const ControlSeen& text = g_seen.controls[1];
    const ControlSeen& ok = g_seen.controls[2];
    EXPECT_EQ(SS_ICON, icon.nStyle & SS_TYPEMASK);
    EXPECT_TRUE(icon.bHasIcon);
    // An icon control takes its icon's size: only its corner is the template's.
    EXPECT_EQ(g_seen.templateRects[0].left, icon.rect.left);
    EXPECT_EQ(g_seen.templateRects[0].top, icon.rect.top);
    EXPECT_EQ(L"TestZOLUILib Version 1.0", text.strText);
    EXPECT_TRUE(SameRect(g_seen.templateRects[1], text.rect));
    EXPECT_EQ(L"OK", ok.strText);
    EXPECT_EQ(IDOK, ok.nID);
    EXPECT_EQ(BS_DEFPUSHBUTTON, ok.nStyle & BS_TYPEMASK);
    EXPECT_TRUE(SameRect(g_seen.templateRects[2], ok.rect));

    EXPECT_TRUE(::IsWindowEnabled(Frame()));
    EXPECT_EQ(L"Hello, ZOLUI!", WindowText(Frame()));
    EXPECT_EQ(hMenuBefore, BarMenu());
    EXPECT_EQ(lookBefore, CaptureWindow(Frame()));
}
