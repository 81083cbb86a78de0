#include "ProgramTest.h"

#include <afx/win/afxres.h>

#include <functional>

namespace
{
// What an action could change: the skin path, the bar's menu, the look and
// the program's windows.
struct ProgramState
{
    std::u16string strSkinPath;
    HMENU hBarMenu;
    std::vector<std::uint32_t> look;
    int nWindows;

    bool operator==(const ProgramState& other) const
    {
        return strSkinPath == other.strSkinPath && hBarMenu == other.hBarMenu && look == other.look &&
               nWindows == other.nWindows;
    }
};

BOOL CALLBACK CountVisible(HWND hWnd, LPARAM lParam)
{
    if (::IsWindowVisible(hWnd))
        ++*reinterpret_cast<int*>(lParam);
    return TRUE;
}

int CountThreadWindows()
{
    int nCount = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&nCount));
    return nCount;
}

ProgramState CurrentState(HWND hFrame, HMENU hBarMenu)
{
    return {ToUtf16(theApp.m_strSkinPath), hBarMenu, CaptureWindow(hFrame), CountThreadWindows()};
}

constexpr UINT kEditCommands[] = {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE};

}

TEST_F(ProgramTest, EditCommandsDoNothing)
{
    const ProgramState before = CurrentState(Frame(), BarMenu());
    for (const UINT nID : kEditCommands)
        EXPECT_EQ(0, ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(nID, 0), 0)) << nID;
    EXPECT_TRUE(before == CurrentState(Frame(), BarMenu()));
}

TEST_F(ProgramTest, EditShortcutKeysTriggerNoCommand)
{
    ::SetForegroundWindow(Frame());
    ::SetFocus(Frame());
    PumpMessages();
    const ProgramState before = CurrentState(Frame(), BarMenu());

    int nKeysSeen = 0;
    int nCommands = 0;
    for (const WORD nKey : {'Z', 'X', 'C', 'V'})
    {
        SendKeyChord({VK_CONTROL, nKey});
        PumpMessages(150, 3000, [&](const MSG& msg) {
            if (msg.message == WM_KEYDOWN && msg.wParam == nKey)
                ++nKeysSeen;
            if (msg.message == WM_COMMAND || msg.message == WM_SYSCOMMAND)
                ++nCommands;
        });
    }
    EXPECT_EQ(4, nKeysSeen) << "the keys must reach the program for this test to mean anything";
    EXPECT_EQ(0, nCommands);
    EXPECT_TRUE(before == CurrentState(Frame(), BarMenu()));
}

TEST_F(ProgramTest, MenuBarReportsTheChosenItemToTheFrame)
{
    // Opened by the bar itself, and by the frame for Alt+E.
    const std::function<void()> openers[] = {
        [] { ASSERT_TRUE(MenuBar().OpenByMnemonic(u'e')); },
        [] { ::SendMessageW(Frame(), WM_SYSCOMMAND, SC_KEYMENU, 'e'); },
    };
    for (const auto& open : openers)
    {
        // Keys waiting in the queue drive the popup once it opens: the first
        // Edit item, Undo, is chosen.
        ::PostMessageW(Frame(), WM_KEYDOWN, VK_DOWN, 0);
        ::PostMessageW(Frame(), WM_KEYDOWN, VK_RETURN, 0);
        open();
        std::vector<WPARAM> commands;
        PumpMessages(100, 3000, [&](const MSG& msg) {
            if (msg.hwnd == Frame() && msg.message == WM_COMMAND)
                commands.push_back(msg.wParam);
        });
        EXPECT_EQ(std::vector<WPARAM>{ID_EDIT_UNDO}, commands);
    }
}

TEST_F(ProgramTest, MenuBarClosedWithoutAChoiceReportsNothing)
{
    // The first Esc closes the popup back to the bar, the second leaves it.
    ::PostMessageW(Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(Frame(), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(MenuBar().OpenByMnemonic(u'F'));
    int nCommands = 0;
    PumpMessages(100, 3000, [&](const MSG& msg) {
        if (msg.message == WM_COMMAND)
            ++nCommands;
    });
    EXPECT_EQ(0, nCommands);
    EXPECT_FALSE(MenuBar().OpenByMnemonic(u'q')) << "no item has that mnemonic";
}
