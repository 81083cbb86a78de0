#include "WindowLayerTest.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace
{
// Ends the thread's message loop with a quit message if it is still running
// after a while, so that a fault shows as a failure, not a hang.
class LoopRescue
{
public:
    LoopRescue()
        : m_nThreadId(::GetCurrentThreadId()), m_watch([this] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::seconds(10), [this] { return m_bEnded; }))
              {
                  m_bRescued = true;
                  ::PostThreadMessageW(m_nThreadId, WM_QUIT, 0, 0);
              }
          })
    {
    }
    LoopRescue(const LoopRescue&) = delete;
    LoopRescue& operator=(const LoopRescue&) = delete;
    ~LoopRescue()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bEnded = true;
        }
        m_done.notify_one();
        m_watch.join();
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        {
        }
    }

    bool Rescued() const { return m_bRescued; }

private:
    DWORD m_nThreadId;
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_bEnded = false;
    std::atomic<bool> m_bRescued{false};
    std::thread m_watch;
};

struct MainWindowScope
{
    explicit MainWindowScope(CWnd* pWnd) { g_testApp.m_pMainWnd = pWnd; }
    MainWindowScope(const MainWindowScope&) = delete;
    MainWindowScope& operator=(const MainWindowScope&) = delete;
    ~MainWindowScope() { g_testApp.m_pMainWnd = nullptr; }
};
} // namespace

TEST(ApplicationRun, EndsAtOnceWithoutAMainWindow)
{
    const MainWindowScope noMainWindow(nullptr);
    const LoopRescue rescue;
    EXPECT_EQ(0, g_testApp.Run());
    EXPECT_FALSE(rescue.Rescued());
}

TEST(ApplicationRun, EndsWhenTheMainWindowClosesWhileAPopupMenuIsOpen)
{
    RecordingFrame* pFrame = CreateTestFrame(new RecordingFrame);
    const HWND hFrame = pFrame->m_hWnd;
    const MainWindowScope mainWindow(pFrame);
    const HMENU hPopup = ::CreatePopupMenu();
    ::AppendMenuW(hPopup, MF_STRING, kUnknownCommand, L"Item");
    const int nDeletedBefore = RecordingFrame::s_nDeleted;

    // Another program closes the frame while the popup's own loop runs: the
    // quit message the frame's end posts may go to that loop.
    std::thread closer;
    ScriptedUser user(
        {
            [=] { ::TrackPopupMenuEx(hPopup, TPM_RETURNCMD, 150, 150, hFrame, nullptr); },
            [&] {
                closer = std::thread(
                    [=] { ::SendMessageTimeoutW(hFrame, WM_CLOSE, 0, 0, SMTO_NORMAL, 5000, nullptr); });
            },
        },
        [] { return ::EndMenu() != FALSE; });
    const LoopRescue rescue;
    g_testApp.Run();
    closer.join();
    EXPECT_FALSE(rescue.Rescued()) << "the program went on without its main window";
    EXPECT_EQ(2u, user.Taken());
    EXPECT_FALSE(::IsWindow(hFrame));
    EXPECT_EQ(nDeletedBefore + 1, RecordingFrame::s_nDeleted);
    ::DestroyMenu(hPopup);
}
