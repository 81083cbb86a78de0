#include "ProgramTest.h"

namespace
{
std::vector<std::uint32_t> g_startLook;

class ProgramEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        // Keep the pointer off the frame, so that no item is drawn hot.
        ::SetCursorPos(0, 0);
        // The skins lie beside the program.
        wchar_t szProgram[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, szProgram, MAX_PATH);
        std::wstring strFolder = szProgram;
        strFolder.resize(strFolder.find_last_of(L'\\'));
        ::SetCurrentDirectoryW(strFolder.c_str());

        ASSERT_TRUE(theApp.InitInstance());
        // The library's first skin change gives the bar its menu.
        PumpMessages(300, 5000);
        ::SetForegroundWindow(theApp.m_pMainWnd->m_hWnd);
        PumpMessages();
        g_startLook = CaptureWindow(theApp.m_pMainWnd->m_hWnd);
    }

    void TearDown() override
    {
        if (theApp.m_pMainWnd != nullptr)
            theApp.m_pMainWnd->DestroyWindow();
        PumpMessages();
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);
}

const std::vector<std::uint32_t>& StartLook()
{
    return g_startLook;
}
