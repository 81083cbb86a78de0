#include "ProgramTest.h"

namespace
{
// One step of a user: a key typed, Alt+Space, one or two quick clicks on
// the caption icon, or a pause longer than a double-click.
struct Step
{
    enum Kind
    {
        TypedKey,
        AltSpace,
        IconClick,
        IconDoubleClick,
        Pause
    } kind;
    WORD nKey;
};

Step Type(WORD nKey)
{
    return {Step::TypedKey, nKey};
}

constexpr Step kAltSpace = {Step::AltSpace, 0};
constexpr Step kIconClick = {Step::IconClick, 0};
constexpr Step kIconDoubleClick = {Step::IconDoubleClick, 0};
constexpr Step kPause = {Step::Pause, 0};

std::function<void()> ActionOf(const Step& step, HWND hFrame)
{
    switch (step.kind)
    {
    case Step::TypedKey:
        return [nKey = step.nKey] { SendKeyChord({nKey}); };
    case Step::AltSpace:
        return [] { SendKeyChord({VK_MENU, VK_SPACE}); };
    case Step::Pause:
        return [] { ::Sleep(::GetDoubleClickTime() + 200); };
    default:
        break;
    }
    const int nClicks = step.kind == Step::IconDoubleClick ? 2 : 1;
    return [=] {
        const POINT icon = FindHitPoint(hFrame, HTSYSMENU);
        SendMouseInput(icon, 0);
        for (int i = 0; i < nClicks; ++i)
            SendMouseInput(icon, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    };
}

struct SystemMenuCase
{
    const char* pszName;
    bool bMaximized; // the frame is maximized before the first step
    std::vector<Step> steps;
    std::vector<UINT> commands; // the system commands the frame is given
    int nMenusOpened;
    bool bZoomedAfter;
    bool bIconicAfter;
    SIZE movedBy; // of the frame, when neither maximized nor minimized
};

// The menu's items: Restore, Move, Size, Minimize, Maximize, Close; the move
// loop moves the frame 8 pixels for each arrow key.
const SystemMenuCase kSystemMenuCases[] = {
    {"AltSpaceThenMoveFromTheKeyboard",
     false,
     {kAltSpace, Type('M'), Type(VK_RIGHT), Type(VK_RIGHT), Type(VK_DOWN), Type(VK_RETURN)},
     {SC_MOVE},
     1,
     false,
     false,
     {16, 8}},
    {"IconThenMoveFromTheKeyboard",
     false,
     {kIconClick, Type('M'), Type(VK_LEFT), Type(VK_UP), Type(VK_UP), Type(VK_RETURN)},
     {SC_MOVE},
     1,
     false,
     false,
     {-8, -16}},
    {"EscapeEndsTheMoveWhereItBegan",
     false,
     {kIconClick, Type('M'), Type(VK_RIGHT), Type(VK_ESCAPE)},
     {SC_MOVE},
     1,
     false,
     false,
     {0, 0}},
    {"Maximize", false, {kIconClick, Type('X')}, {SC_MAXIMIZE}, 1, true, false, {0, 0}},
    {"Minimize", false, {kAltSpace, Type('N')}, {SC_MINIMIZE}, 1, false, true, {0, 0}},
    {"RestoreTheMaximized", true, {kIconClick, Type('R')}, {SC_RESTORE}, 1, false, false, {0, 0}},
    {"Close", false, {kAltSpace, Type('C')}, {SC_CLOSE}, 1, false, false, {0, 0}},
    {"EscapeClosesTheMenu", false, {kIconClick, Type(VK_ESCAPE)}, {}, 1, false, false, {0, 0}},
    {"ASecondClickOnTheIconClosesTheMenu", false, {kIconClick, kPause, kIconClick}, {}, 1, false, false, {0, 0}},
    {"ADoubleClickOnTheIconCloses", false, {kIconDoubleClick}, {SC_CLOSE}, 1, false, false, {0, 0}},
};

class SystemMenuTest : public ProgramTest, public ::testing::WithParamInterface<SystemMenuCase>
{
};

TEST_P(SystemMenuTest, ItsItemsWork)
{
    const SystemMenuCase& menu = GetParam();
    FramePlacementScope placement(Frame());
    if (menu.bMaximized)
    {
        ::ShowWindow(Frame(), SW_MAXIMIZE);
        PumpMessages();
    }
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();
    RECT before;
    ::GetWindowRect(Frame(), &before);

    MenuLoopWatch menus(Frame());
    SysCommandWatch sysCommands(Frame());
    std::vector<std::function<void()>> actions;
    for (const Step& step : menu.steps)
        actions.push_back(ActionOf(step, Frame()));
    ScriptedUser user(actions, [&] { return menus.IsOpen() && ::EndMenu(); });
    PumpMessages(300, 8000);

    EXPECT_EQ(actions.size(), user.Taken());
    EXPECT_EQ(menu.commands, sysCommands.Commands());
    EXPECT_EQ(menu.nMenusOpened, menus.Opened());
    EXPECT_EQ(menu.bZoomedAfter, ::IsZoomed(Frame()) != FALSE);
    EXPECT_EQ(menu.bIconicAfter, ::IsIconic(Frame()) != FALSE);
    if (!menu.bZoomedAfter && !menu.bIconicAfter && !menu.bMaximized)
    {
        RECT after;
        ::GetWindowRect(Frame(), &after);
        EXPECT_EQ(before.left + menu.movedBy.cx, after.left);
        EXPECT_EQ(before.top + menu.movedBy.cy, after.top);
        EXPECT_EQ(before.right - before.left, after.right - after.left);
        EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
    }
}

INSTANTIATE_TEST_SUITE_P(KeysAndMouse, SystemMenuTest, ::testing::ValuesIn(kSystemMenuCases),
                         [](const ::testing::TestParamInfo<SystemMenuCase>& param) { return param.param.pszName; });

// What the open system menu showed: where it was, and which items it offered.
struct SystemMenuSeen
{
    RECT rect = {0, 0, 0, 0};
    std::vector<UINT> offered;
};

SystemMenuSeen SeeSystemMenu(HWND hFrame, bool bMaximized)
{
    FramePlacementScope placement(hFrame);
    if (bMaximized)
        ::ShowWindow(hFrame, SW_MAXIMIZE);
    ::SetForegroundWindow(hFrame);
    PumpMessages();
    SystemMenuSeen seen;
    const auto see = [&] {
        const HWND hPopup = FindThreadWindowOfClass(L"#32768");
        if (hPopup != nullptr)
            ::GetWindowRect(hPopup, &seen.rect);
        const HMENU hMenu = ::GetSystemMenu(hFrame, FALSE);
        for (const UINT nCommand : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
        {
            if ((::GetMenuState(hMenu, nCommand, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0)
                seen.offered.push_back(nCommand);
        }
    };
    ScriptedUser user({ActionOf(kIconClick, hFrame), see, [] { SendKeyChord({VK_ESCAPE}); }});
    PumpMessages(300, 5000);
    return seen;
}

TEST_F(ProgramTest, SystemMenuOpensBelowTheIconAndOffersWhatTheFrameAllows)
{
    // The icon's left edge: the first point of the caption's row that is the icon.
    const POINT icon = FindHitPoint(Frame(), HTSYSMENU);
    LONG xIconLeft = icon.x;
    while (::SendMessageW(Frame(), WM_NCHITTEST, 0, MAKELPARAM(xIconLeft - 1, icon.y)) == HTSYSMENU)
        --xIconLeft;
    POINT clientOrigin = {0, 0};
    ::ClientToScreen(Frame(), &clientOrigin);

    const SystemMenuSeen normal = SeeSystemMenu(Frame(), false);
    EXPECT_EQ(xIconLeft, normal.rect.left);
    EXPECT_EQ(clientOrigin.y, normal.rect.top) << "right below the caption";
    EXPECT_EQ((std::vector<UINT>{SC_MOVE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}), normal.offered);

    const SystemMenuSeen maximized = SeeSystemMenu(Frame(), true);
    EXPECT_EQ((std::vector<UINT>{SC_RESTORE, SC_MINIMIZE, SC_CLOSE}), maximized.offered);
}
} // namespace
