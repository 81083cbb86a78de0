#include "ProgramTest.h"

#include <afx/win/afxres.h>

namespace
{
// One step of a user: a key for an open popup, a key typed on the keyboard
// (alone or with Alt), or the mouse moved onto (or clicked on) a bar item.
struct Step
{
    enum Kind
    {
        Key,
        TypedKey,
        AltKey,
        MouseOnItem,
        ClickOnItem
    } kind;
    int nValue; // the virtual key, or the bar item's position
};

Step Press(int nKey)
{
    return {Step::Key, nKey};
}

// Where the bar stands, and the popups it opened.
struct MenuBarWatch
{
    CZOLUICoolMenuBar* pBar = nullptr;
    int nPopupsOpened = 0;
    bool bPopupOpen = false;
} g_watch;

// Sees the bar told of each popup's modal loop.
LRESULT CALLBACK WatchMenuLoops(int nCode, WPARAM wParam, LPARAM lParam)
{
    const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (nCode == HC_ACTION && message.hwnd == g_watch.pBar->GetSafeHwnd())
    {
        if (message.message == WM_ENTERMENULOOP)
        {
            ++g_watch.nPopupsOpened;
            g_watch.bPopupOpen = true;
        }
        else if (message.message == WM_EXITMENULOOP)
        {
            g_watch.bPopupOpen = false;
        }
    }
    return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
}

// The centre of the bar's item at nItem, in screen coordinates.
POINT ItemCentre(int nItem)
{
    RECT item = {};
    EXPECT_TRUE(g_watch.pBar->GetItemRect(nItem, &item));
    POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(g_watch.pBar->GetSafeHwnd(), &centre);
    return centre;
}

// What the user does for the step, with the keys going to the frame.
std::function<void()> ActionOf(const Step& step, HWND hFrame)
{
    const auto nKey = static_cast<WORD>(step.nValue);
    switch (step.kind)
    {
    case Step::Key:
        return [=] { ::PostMessageW(hFrame, WM_KEYDOWN, nKey, 0); };
    case Step::TypedKey:
        return [=] { SendKeyChord({nKey}); };
    case Step::AltKey:
        return [=] { SendKeyChord({VK_MENU, nKey}); };
    default:
        break;
    }
    const DWORD dwButtons = step.kind == Step::ClickOnItem ? MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP : 0;
    return [=] { SendMouseInput(ItemCentre(step.nValue), dwButtons); };
}

struct NavigationCase
{
    const char* pszName;
    WCHAR chOpen; // the mnemonic of the item the bar opens first; 0: the user opens one
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
    {"AltWithALetterOpensItsMenu", 0, {{Step::AltKey, 'E'}, Press(VK_DOWN), Press(VK_RETURN)}, {ID_EDIT_UNDO}, 1},
    {"F10OpensTheFirstMenu",
     0,
     {{Step::TypedKey, VK_F10}, Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RETURN)},
     {ID_EDIT_UNDO},
     2},
};

class MenuBarNavigation : public ProgramTest, public ::testing::WithParamInterface<NavigationCase>
{
};

TEST_P(MenuBarNavigation, ReachesTheCommandAUserWouldReach)
{
    const NavigationCase& navigation = GetParam();
    g_watch = {&MenuBar(), 0, false};
    const HHOOK hWatch = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchMenuLoops, nullptr, ::GetCurrentThreadId());
    std::vector<std::function<void()>> actions;
    for (const Step& step : navigation.steps)
        actions.push_back(ActionOf(step, Frame()));
    // A popup still open when every step is taken is closed, so that a fault
    // shows as a failure, not a hang.
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();
    ScriptedUser user(actions, [] { return g_watch.bPopupOpen && ::EndMenu(); });
    if (navigation.chOpen != 0)
    {
        ASSERT_TRUE(MenuBar().OpenByMnemonic(navigation.chOpen));
    }
    std::vector<WPARAM> commands;
    PumpMessages(300, 5000, [&](const MSG& msg) {
        if (msg.hwnd == Frame() && msg.message == WM_COMMAND)
            commands.push_back(msg.wParam);
    });
    ::UnhookWindowsHookEx(hWatch);
    EXPECT_EQ(navigation.steps.size(), user.Taken()) << "every step was taken";
    EXPECT_EQ(navigation.commands, commands);
    EXPECT_EQ(navigation.nPopupsOpened, g_watch.nPopupsOpened);
}

INSTANTIATE_TEST_SUITE_P(KeysAndMouse, MenuBarNavigation, ::testing::ValuesIn(kNavigationCases),
                         [](const ::testing::TestParamInfo<NavigationCase>& param) { return param.param.pszName; });
} // namespace
