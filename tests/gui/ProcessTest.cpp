// The built TestZOLUILib.exe as a user starts it: from a folder, with nothing
// else set, driven from outside and ended with File > Exit.
#include "GuiTestSupport.h"

#include <WindowDriving.h>

#include <gtest/gtest.h>

namespace
{
std::wstring ProgramFolder()
{
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring strPath = szPath;
    return strPath.substr(0, strPath.find_last_of(L'\\'));
}

// The program, started in a folder; ended with File > Exit by the test or
// terminated when a test fails half-way.
class RunningProgram
{
public:
    explicit RunningProgram(const std::wstring& strFolder)
    {
        std::wstring strCommand = L"\"" + ProgramFolder() + L"\\TestZOLUILib.exe\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        m_bStarted = ::CreateProcessW(nullptr, strCommand.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      strFolder.c_str(), &startup, &m_process) != FALSE;
    }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    ~RunningProgram()
    {
        if (!m_bStarted)
            return;
        if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_process.hProcess, 99);
        ::CloseHandle(m_process.hThread);
        ::CloseHandle(m_process.hProcess);
    }

    bool IsStarted() const { return m_bStarted; }

    // The frame: the program's top-level window with the title.
    HWND Frame() const { return WaitForWindow(L"Hello, ZOLUI!", 20000, m_process.dwProcessId); }

    // The exit code once the program has ended, or -1 when it runs on.
    long ExitCode(DWORD nTimeoutMs) const
    {
        if (::WaitForSingleObject(m_process.hProcess, nTimeoutMs) != WAIT_OBJECT_0)
            return -1;
        DWORD nCode = 0;
        ::GetExitCodeProcess(m_process.hProcess, &nCode);
        return static_cast<long>(nCode);
    }

private:
    bool m_bStarted = false;
    PROCESS_INFORMATION m_process = {};
};

// Where the client area starts inside the frame: the skin's border and caption.
SIZE ClientOffset(HWND hFrame)
{
    RECT window;
    ::GetWindowRect(hFrame, &window);
    POINT origin = {0, 0};
    ::ClientToScreen(hFrame, &origin);
    return {origin.x - window.left, origin.y - window.top};
}

// The MediaPlay skin's border and caption (8 and 8 + 32 pixels).
constexpr SIZE kMediaPlayOffset = {8, 40};

void ExpectEndsWithFileExit(RunningProgram& program, HWND hFrame)
{
    ASSERT_TRUE(PostCommand(hFrame, ID_APP_EXIT));
    EXPECT_EQ(0, program.ExitCode(20000));
}

// The program started from its folder, with its frame shown.
class ProgramProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.IsStarted());
        hFrame = program.Frame();
        ASSERT_NE(nullptr, hFrame);
    }

    RunningProgram program{ProgramFolder()};
    HWND hFrame = nullptr;
};
}

TEST_F(ProgramProcess, StartsFromItsFolderWithItsSkinsAndEndsWithFileExit)
{
    const HWND hBar = ::GetDlgItem(hFrame, 0xE810);
    ASSERT_NE(nullptr, hBar);
    EXPECT_EQ(L"Menubar", WindowText(hBar));
    EXPECT_TRUE(::IsWindowVisible(hBar));

    ASSERT_TRUE(SendCommand(hFrame, ID_FRAME_MEDIAPLAY));
    const SIZE offset = ClientOffset(hFrame);
    EXPECT_EQ(kMediaPlayOffset.cx, offset.cx);
    EXPECT_EQ(kMediaPlayOffset.cy, offset.cy);

    ExpectEndsWithFileExit(program, hFrame);
}

TEST(Process, FromAnotherFolderTheSkinFilesAreNotFound)
{
    RunningProgram program(MakeTempFolder(L"zolui-start"));
    ASSERT_TRUE(program.IsStarted());
    const HWND hFrame = program.Frame();
    ASSERT_NE(nullptr, hFrame);

    const SIZE before = ClientOffset(hFrame);
    ASSERT_TRUE(SendCommand(hFrame, ID_FRAME_MEDIAPLAY));
    const SIZE after = ClientOffset(hFrame);
    EXPECT_EQ(before.cx, after.cx);
    EXPECT_EQ(before.cy, after.cy);

    ExpectEndsWithFileExit(program, hFrame);
}

TEST_F(ProgramProcess, ClosedFromOutsideWhileAMenuIsOpenItEnds)
{
    // Alt+F opens the File menu; the close then reaches the program inside
    // the menu's own loop.
    ASSERT_TRUE(::PostMessageW(hFrame, WM_SYSCOMMAND, SC_KEYMENU, 'f'));
    ::Sleep(500);
    DWORD_PTR nResult = 0;
    ::SendMessageTimeoutW(hFrame, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, &nResult);
    EXPECT_EQ(0, program.ExitCode(20000));
}

TEST_F(ProgramProcess, ReleasingTheCloseButtonEndsIt)
{
    const POINT close = FindHitPoint(hFrame, HTCLOSE);
    ASSERT_GE(close.x, 0);
    SendMouseInput(close, 0);
    SendMouseInput(close, MOUSEEVENTF_LEFTDOWN);
    ::Sleep(300);
    EXPECT_EQ(-1, program.ExitCode(0)) << "pressing the button does not close the program";
    SendMouseInput(close, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0, program.ExitCode(20000));
}

TEST_F(ProgramProcess, DoubleClickOnTheIconEndsIt)
{
    const POINT icon = FindHitPoint(hFrame, HTSYSMENU);
    ASSERT_GE(icon.x, 0);
    SendMouseInput(icon, 0);
    SendMouseInput(icon, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    SendMouseInput(icon, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(0, program.ExitCode(20000));
}
