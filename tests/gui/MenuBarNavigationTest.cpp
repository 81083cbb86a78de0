#include "ProgramTest.h"

#include <afx/win/afxres.h>

namespace
{
// One step of a user: a key for an open popup, a key typed on the keyboard
// (alone or with Alt), the mouse moved onto (or clicked on) a bar item, or
// a click in the middle of the frame's client area.
struct Step
{
    enum Kind
    {
        Key,
        TypedKey,
        AltKey,
        MouseOnItem,
        ClickOnItem,
        ClickOnClient
    } kind;
    int nValue; // the virtual key, or the bar item's position
};

Step Press(int nKey)
{
    return {Step::Key, nKey};
}

Step Type(int nKey)
{
    return {Step::TypedKey, nKey};
}

// The centre of the bar's item at nItem, in screen coordinates.
POINT ItemCentre(CZOLUICoolMenuBar& bar, int nItem)
{
    RECT item = {};
    EXPECT_TRUE(bar.GetItemRect(nItem, &item));
    POINT centre = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ::ClientToScreen(bar.GetSafeHwnd(), &centre);
    return centre;
}

POINT ClientCentre(HWND hFrame)
{
    RECT client;
    ::GetClientRect(hFrame, &client);
    POINT centre = {client.right / 2, client.bottom / 2};
    ::ClientToScreen(hFrame, &centre);
    return centre;
}

// What the user does for the step, with the keys going to the frame.
std::function<void()> ActionOf(const Step& step, HWND hFrame, CZOLUICoolMenuBar& bar)
{
    const auto nKey = static_cast<WORD>(step.nValue);
    const DWORD dwClick = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP;
    switch (step.kind)
    {
    case Step::Key:
        return [=] { ::PostMessageW(hFrame, WM_KEYDOWN, nKey, 0); };
    case Step::TypedKey:
        return [=] { SendKeyChord({nKey}); };
    case Step::AltKey:
        return [=] { SendKeyChord({VK_MENU, nKey}); };
    case Step::ClickOnClient:
        return [=] { SendMouseInput(ClientCentre(hFrame), dwClick); };
    default:
        break;
    }
    const DWORD dwButtons = step.kind == Step::ClickOnItem ? dwClick : 0;
    CZOLUICoolMenuBar* pBar = &bar;
    return [=] { SendMouseInput(ItemCentre(*pBar, step.nValue), dwButtons); };
}

constexpr int kNoMode = -1;

struct NavigationCase
{
    const char* pszName;
    WCHAR chOpen; // the mnemonic of the item the bar opens first; 0: the user opens one
    std::vector<Step> steps;
    std::vector<WPARAM> commands; // what the frame is told
    int nPopupsOpened;
    int nKeyboardItem; // highlighted for the keyboard once all steps are taken; kNoMode: no keyboard mode
};

// The bar's items: File, Edit, Skin (CoolBar and Frame submenus), Help.
const NavigationCase kNavigationCases[] = {
    // Between open popups.
    {"RightMovesToTheNextItem", u'f', {Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RETURN)}, {ID_EDIT_UNDO}, 2, kNoMode},
    {"RightFromTheLastItemWrapsToTheFirst",
     u'h',
     {Press(VK_RIGHT), Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RETURN)},
     {ID_EDIT_UNDO},
     3,
     kNoMode},
    {"LeftFromTheFirstItemWrapsToTheLast",
     u'f',
     {Press(VK_LEFT), Press(VK_LEFT), Press(VK_DOWN), Press(VK_DOWN), Press(VK_RIGHT), Press(VK_DOWN),
      Press(VK_RETURN)},
     {ID_FRAME_SKINPLUSPLUS},
     3,
     kNoMode},
    {"RightOpensASubmenuAndLeftClosesIt",
     u'e',
     {Press(VK_RIGHT), Press(VK_DOWN), Press(VK_RIGHT), Press(VK_LEFT), Press(VK_DOWN), Press(VK_RIGHT),
      Press(VK_RETURN)},
     {ID_FRAME_MEDIAPLAY},
     2,
     kNoMode},
    {"TheMouseOnAnotherItemOpensIt",
     u'e',
     {{Step::MouseOnItem, 2}, Press(VK_DOWN), Press(VK_RIGHT), Press(VK_RETURN)},
     {ID_COOLBAR_COLORCOOLBAR},
     2,
     kNoMode},
    {"AClickOnTheOpenItemClosesIt", u'e', {{Step::ClickOnItem, 1}}, {}, 1, kNoMode},
    // The pointer rests on Edit while File opens: the click comes without a
    // move onto Edit, which would open it already (and the click close it).
    {"AClickOnAnotherItemOpensIt",
     0,
     {{Step::MouseOnItem, 1}, {Step::AltKey, 'F'}, {Step::ClickOnItem, 1}, Press(VK_DOWN), Press(VK_RETURN)},
     {ID_EDIT_UNDO},
     2,
     kNoMode},
    {"AClickElsewhereClosesThePopup", u'e', {{Step::ClickOnClient, 0}}, {}, 1, kNoMode},
    {"AltWithALetterOpensItsMenu",
     0,
     {{Step::AltKey, 'E'}, Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
    // Esc closes a popup back to its item, highlighted for the keyboard.
    {"EscapeReturnsFromAPopupToItsItem", u'e', {Press(VK_RIGHT), Press(VK_ESCAPE)}, {}, 2, 2},
    {"EscapeTwiceLeavesTheBar", 0, {{Step::AltKey, 'E'}, Type(VK_ESCAPE), Type(VK_ESCAPE)}, {}, 1, kNoMode},
    {"AfterEscapeTheArrowsGoOnAlongTheBar",
     0,
     {{Step::AltKey, 'E'}, Type(VK_ESCAPE), Type(VK_RIGHT), Type(VK_DOWN), Type(VK_DOWN), Type(VK_DOWN),
      Type(VK_RIGHT), Type(VK_RETURN)},
     {ID_FRAME_MEDIAPLAY},
     2,
     kNoMode},
    // Keyboard mode: the menu key alone highlights the first item.
    {"AltAloneHighlightsTheFirstItemWithoutOpeningIt", 0, {Type(VK_MENU)}, {}, 0, 0},
    {"F10AloneHighlightsTheFirstItemWithoutOpeningIt", 0, {Type(VK_F10)}, {}, 0, 0},
    {"LeftFromTheFirstItemHighlightsTheLast", 0, {Type(VK_MENU), Type(VK_LEFT)}, {}, 0, 3},
    {"RightMovesTheHighlightAroundTheBar",
     0,
     {Type(VK_F10), Type(VK_RIGHT), Type(VK_RIGHT), Type(VK_RIGHT), Type(VK_RIGHT), Type(VK_RIGHT)},
     {},
     0,
     1},
    {"DownOpensTheHighlightedMenu",
     0,
     {Type(VK_F10), Type(VK_RIGHT), Type(VK_DOWN), Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
    {"UpOpensTheHighlightedMenu",
     0,
     {Type(VK_MENU), Type(VK_RIGHT), Type(VK_UP), Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
    {"EnterOpensTheHighlightedMenu",
     0,
     {Type(VK_MENU), Type(VK_RIGHT), Type(VK_RETURN), Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
    {"ALetterOpensItsMenu", 0, {Type(VK_MENU), Type('E'), Type(VK_DOWN), Type(VK_RETURN)}, {ID_EDIT_UNDO}, 1, kNoMode},
    {"ALetterOfNoItemKeepsTheMode", 0, {Type(VK_MENU), Type(VK_RIGHT), Type('Q')}, {}, 0, 1},
    {"AClickOnAnItemOpensIt",
     0,
     {Type(VK_MENU), {Step::ClickOnItem, 1}, Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
    {"EscapeLeavesTheMode", 0, {Type(VK_MENU), Type(VK_RIGHT), Type(VK_ESCAPE)}, {}, 0, kNoMode},
    {"ASecondAltLeavesTheMode", 0, {Type(VK_MENU), Type(VK_MENU)}, {}, 0, kNoMode},
    {"F10AgainLeavesTheMode", 0, {Type(VK_F10), Type(VK_F10)}, {}, 0, kNoMode},
    {"AClickElsewhereLeavesTheMode", 0, {Type(VK_F10), {Step::ClickOnClient, 0}}, {}, 0, kNoMode},
    {"AltWithALetterInTheModeOpensThatMenu",
     0,
     {Type(VK_MENU), {Step::AltKey, 'E'}, Type(VK_DOWN), Type(VK_RETURN)},
     {ID_EDIT_UNDO},
     1,
     kNoMode},
};

class MenuBarNavigation : public ProgramTest, public ::testing::WithParamInterface<NavigationCase>
{
};

TEST_P(MenuBarNavigation, ReachesWhatAUserWouldReach)
{
    const NavigationCase& navigation = GetParam();
    ::SetCursorPos(0, 0);
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();

    MenuLoopWatch popups(Frame());
    std::vector<std::function<void()>> actions;
    for (const Step& step : navigation.steps)
        actions.push_back(ActionOf(step, Frame(), MenuBar()));
    // What is still open when every step is taken is closed, so that a fault
    // shows as a failure, not a hang.
    int nKeyboardItem = kNoMode;
    bool bSeen = false;
    ScriptedUser user(actions, [&] {
        if (!bSeen)
            nKeyboardItem = MenuBar().GetKeyboardItem();
        bSeen = true;
        if (popups.IsOpen())
            return ::EndMenu() != FALSE;
        if (MenuBar().GetKeyboardItem() == kNoMode)
            return false;
        ::SendMessageW(MenuBarWindow(), WM_CANCELMODE, 0, 0);
        return true;
    });
    if (navigation.chOpen != 0)
    {
        ASSERT_TRUE(MenuBar().OpenByMnemonic(navigation.chOpen));
    }
    std::vector<WPARAM> commands;
    PumpMessages(300, 8000, [&](const MSG& msg) {
        if (msg.hwnd == Frame() && msg.message == WM_COMMAND)
            commands.push_back(msg.wParam);
    });
    EXPECT_EQ(navigation.steps.size(), user.Taken()) << "every step was taken";
    EXPECT_EQ(navigation.commands, commands);
    EXPECT_EQ(navigation.nPopupsOpened, popups.Opened());
    EXPECT_EQ(navigation.nKeyboardItem, nKeyboardItem);
    EXPECT_EQ(kNoMode, MenuBar().GetKeyboardItem());
    ::SetCursorPos(0, 0);
    PumpMessages();
}

INSTANTIATE_TEST_SUITE_P(KeysAndMouse, MenuBarNavigation, ::testing::ValuesIn(kNavigationCases),
                         [](const ::testing::TestParamInfo<NavigationCase>& param) { return param.param.pszName; });

TEST_F(ProgramTest, ActivatingAnotherWindowEndsTheKeyboardMode)
{
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();
    HWND hOther = nullptr;
    int nBefore = kNoMode;
    int nAfter = kNoMode;
    ScriptedUser user({[] { SendKeyChord({VK_F10}); },
                       [&] {
                           nBefore = MenuBar().GetKeyboardItem();
                           hOther = ::CreateWindowExW(0, L"STATIC", L"Another window", WS_POPUP | WS_VISIBLE, 0, 0,
                                                      100, 100, nullptr, nullptr, nullptr, nullptr);
                           ::SetForegroundWindow(hOther);
                       },
                       [&] { nAfter = MenuBar().GetKeyboardItem(); }},
                      [] {
                          if (MenuBar().GetKeyboardItem() == kNoMode)
                              return false;
                          ::SendMessageW(MenuBarWindow(), WM_CANCELMODE, 0, 0);
                          return true;
                      });
    PumpMessages(300, 5000);
    ::DestroyWindow(hOther);
    ::SetForegroundWindow(Frame());
    PumpMessages();
    EXPECT_EQ(0, nBefore);
    EXPECT_EQ(kNoMode, nAfter);
}

// The underlined letters of the bar's labels, with the system set to hide
// them until the keyboard is used.
class KeyboardCues : public ProgramTest
{
protected:
    void SetUp() override
    {
        ::SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &m_bSetting, 0);
        ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, nullptr, 0);
        ::SetCursorPos(0, 0);
        ::SetForegroundWindow(Frame());
        ::SetFocus(Frame());
        PumpMessages();
    }
    void TearDown() override
    {
        ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(m_bSetting)), 0);
        PumpMessages();
    }

    // The Help item as painted now: it is never highlighted here, so only its
    // underlined letter can change.
    static std::vector<std::uint32_t> HelpLabel()
    {
        ::InvalidateRect(MenuBarWindow(), nullptr, FALSE);
        ::UpdateWindow(MenuBarWindow());
        RECT item;
        MenuBar().GetItemRect(3, &item);
        return CropSnapshot(SnapWindow(MenuBarWindow()), MenuBarWindow(), item);
    }

private:
    BOOL m_bSetting = FALSE;
};

TEST_F(KeyboardCues, ShowWhileAltIsHeldAndInKeyboardModeOnly)
{
    struct Seen
    {
        bool bShows;
        std::vector<std::uint32_t> label;
    };
    std::vector<Seen> seen;
    const auto look = [&] { seen.push_back({MenuBar().ShowsKeyboardCues() != FALSE, HelpLabel()}); };
    ScriptedUser user({look, [] { SendKeyEvent(VK_MENU, true); }, look, [] { SendKeyEvent(VK_MENU, false); }, look,
                       [] { SendKeyChord({VK_ESCAPE}); }, look});
    PumpMessages(300, 5000);
    ASSERT_EQ(4u, seen.size());
    const Seen& before = seen[0];
    const Seen& altHeld = seen[1];
    const Seen& keyboardMode = seen[2];
    const Seen& after = seen[3];
    EXPECT_FALSE(before.bShows);
    EXPECT_TRUE(altHeld.bShows);
    EXPECT_TRUE(keyboardMode.bShows);
    EXPECT_FALSE(after.bShows);
    EXPECT_NE(before.label, altHeld.label) << "the H of Help is underlined";
    EXPECT_EQ(altHeld.label, keyboardMode.label);
    EXPECT_EQ(before.label, after.label);
}

TEST_F(KeyboardCues, ShowAlwaysWhenTheSystemAsks)
{
    const std::vector<std::uint32_t> hidden = HelpLabel();
    ::SystemParametersInfoW(SPI_SETKEYBOARDCUES, 0, reinterpret_cast<PVOID>(static_cast<INT_PTR>(TRUE)), 0);
    EXPECT_TRUE(MenuBar().ShowsKeyboardCues());
    EXPECT_NE(hidden, HelpLabel());
}
} // namespace
