#include "ProgramTest.h"

#include <afx/win/afxres.h>

namespace
{
// One step of a user at an open popup: a key, or the mouse moved onto (or
// clicked on) a bar item.
struct Step
{
    enum Kind
    {
        Key,
        MouseOnItem,
        ClickOnItem
    } kind;
    int nValue; // the virtual key, or the bar item's position
};

Step Press(int nKey)
{
    return {Step::Key, nKey};
}

// The steps still to take, where the bar stands, and the popups it opened.
struct UserScript
{
    std::vector<Step> steps;
    std::size_t nNext = 0;
    HWND hFrame = nullptr;
    CZOLUICoolMenuBar* pBar = nullptr;
    int nPopupsOpened = 0;
    bool bPopupOpen = false;
} g_script;

// Sees the bar told of each popup's modal loop.
LRESULT CALLBACK WatchMenuLoops(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && message.hwnd == g_script.pBar->GetSafeHwnd())
    {
        if (message.message == WM_ENTERMENULOOP)
        {
            ++g_script.nPopupsOpened;
            g_script.bPopupOpen = true;
        }
        else if (message.message == WM_EXITMENULOOP)
        {
            g_script.bPopupOpen = false;
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The centre of the bar's item at nItem, in screen coordinates.
POINT ItemCentre(int nItem)
{
    RECT item = {};
    EXPECT_TRUE(g_script.pBar->GetItemRect(nItem, &item));
    POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(g_script.pBar->GetSafeHwnd(), &centre);
    return centre;
}

void SendMouse(POINT screen, DWORD dwFlags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | dwFlags;
    ::SendInput(1, &input, sizeof(input));
}

// Runs inside the popup's modal loop: takes the next step once everything
// before it has been handled, as a person would. With no step left, a popup
// still open is closed, so that a fault shows as a failure, not a hang.
void CALLBACK TakeNextStep(HWND, UINT, UINT_PTR nTimer, DWORD)
{
    if (HIWORD(::GetQueueStatus(QS_POSTMESSAGE | QS_INPUT)) != 0)
        return;
    if (g_script.nNext >= g_script.steps.size())
    {
        if (g_script.bPopupOpen)
            ::EndMenu();
        else
            ::KillTimer(nullptr, nTimer);
        return;
    }
    const Step step = g_script.steps[g_script.nNext++];
    switch (step.kind)
    {
    case Step::Key:
        ::PostMessageW(g_script.hFrame, WM_KEYDOWN, static_cast<WPARAM>(step.nValue), 0);
        break;
    case Step::MouseOnItem:
        SendMouse(ItemCentre(step.nValue), 0);
        break;
    case Step::ClickOnItem:
        SendMouse(ItemCentre(step.nValue), MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
        break;
    }
}

struct NavigationCase
{
    const char* pszName;
    WCHAR chOpen; // the mnemonic of the item opened first
    std::vector<Step> steps;
    std::vector<WPARAM> commands; // what the frame is told
    int nPopupsOpened;
};

// The bar's items: File, Edit, Skin (CoolBar and Frame submenus), Help.
const NavigationCase kNavigationCases[] = {
    {"RightMovesToTheNextItem", u'f', {Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RETURN)}, {ID_EDIT_UNDO}, 2},
    {"RightFromTheLastItemWrapsToTheFirst",
     u'h',
     {Press(VK_RIGHT), Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RETURN)},
     {ID_EDIT_UNDO},
     3},
    {"LeftFromTheFirstItemWrapsToTheLast",
     u'f',
     {Press(VK_LEFT), Press(VK_LEFT), Press(VK_DOWN), Press(VK_DOWN), Press(VK_RIGHT), Press(VK_DOWN),
      Press(VK_RETURN)},
     {ID_FRAME_SKINPLUSPLUS},
     3},
    {"RightOpensASubmenuAndLeftClosesIt",
     u'e',
     {Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RIGHT), Press(VK_LEFT), Press(VK_DOWN), Press(VK_RIGHT),
      Press(VK_RETURN)},
     {ID_FRAME_MEDIAPLAY},
     2},
    {"EscapeClosesWithoutACommand", u'e', {Press(VK_RIGHT), Press(VK_ESCAPE)}, {}, 2},
    {"TheMouseOnAnotherItemOpensIt",
     u'e',
     {{Step::MouseOnItem, 2}, Press(VK_DOWN), Press(VK_RIGHT), Press(VK_RETURN)},
     {ID_COOLBAR_COLORCOOLBAR},
     2},
    {"AClickOnTheOpenItemClosesIt", u'e', {{Step::ClickOnItem, 1}}, {}, 1},
    {"AClickOnAnotherItemOpensIt", u'f', {{Step::ClickOnItem, 1}, Press(VK_DOWN), Press(VK_RETURN)}, {ID_EDIT_UNDO}, 2},
};

class MenuBarNavigation : public ProgramTest, public ::testing::WithParamInterface<NavigationCase>
{
};

TEST_P(MenuBarNavigation, ReachesTheCommandAUserWouldReach)
{
    const NavigationCase& navigation = GetParam();
    g_script = {navigation.steps, 0, Frame(), &MenuBar(), 0, false};
    const HHOOK hWatch = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchMenuLoops, nullptr, ::GetCurrentThreadId());
    const UINT_PTR nTimer = ::SetTimer(nullptr, 0, 50, TakeNextStep);
    ASSERT_TRUE(MenuBar().OpenByMnemonic(navigation.chOpen));
    std::vector<WPARAM> commands;
    PumpMessages(300, 5000, [&](const MSG& msg) {
        if (msg.hwnd == Frame() && msg.message == WM_COMMAND)
            commands.push_back(msg.wParam);
    });
    ::KillTimer(nullptr, nTimer);
    ::UnhookWindowsHookEx(hWatch);
    EXPECT_EQ(navigation.steps.size(), g_script.nNext) << "every step was taken";
    EXPECT_EQ(navigation.commands, commands);
    EXPECT_EQ(navigation.nPopupsOpened, g_script.nPopupsOpened);
}

INSTANTIATE_TEST_SUITE_P(KeysAndMouse, MenuBarNavigation, ::testing::ValuesIn(kNavigationCases),
                         [](const ::testing::TestParamInfo<NavigationCase>& param) { return param.param.pszName; });
} // namespace
