// The skin test program, running in the test process: the environment starts
// it once (InitInstance, then its first skin change), and the tests work on
// its one frame through the same messages a user's actions send.
#pragma once

#include "GuiTestSupport.h"

#include <TestZOLUILib.h>
#include <ZOLUILib/ZOLUILib.h>
#include <resource.h>

#include <gtest/gtest.h>

#include <stdexcept>

constexpr int kMenuBarId = 0xE810;

struct SkinCommand
{
    const char* pszName;
    UINT nID;
    const char16_t* pszRelativePath;
};

inline constexpr SkinCommand kSkinCommands[] = {
    {"ColorCoolbar", ID_COOLBAR_COLORCOOLBAR, u"\\Skins\\Coolbar\\ColorCoolbar.xml"},
    {"ImageCoolbar", ID_COOLBAR_IMAGECOOLBAR, u"\\Skins\\Coolbar\\ImageCoolbar.xml"},
    {"MediaPlay", ID_FRAME_MEDIAPLAY, u"\\Skins\\Frame\\mediaplay.xml"},
    {"SkinPlusPlus", ID_FRAME_SKINPLUSPLUS, u"\\Skins\\Frame\\Skin++.xml"},
};

// The frame's look before any test changed the skin.
const std::vector<std::uint32_t>& StartLook();

class ProgramTest : public ::testing::Test
{
protected:
    static HWND Frame() { return theApp.m_pMainWnd->GetSafeHwnd(); }
    static HWND MenuBarWindow() { return ::GetDlgItem(Frame(), kMenuBarId); }
    static CZOLUICoolMenuBar& MenuBar()
    {
        auto* pBar = dynamic_cast<CZOLUICoolMenuBar*>(CWnd::FromHandlePermanent(MenuBarWindow()));
        if (pBar == nullptr)
            throw std::runtime_error("the frame has no menu bar");
        return *pBar;
    }
    static HMENU BarMenu() { return MenuBar().GetMenu(); }
    // The menu bar's rectangle in the frame's client coordinates.
    static RECT BarArea()
    {
        RECT rect;
        ::GetWindowRect(MenuBarWindow(), &rect);
        ::MapWindowPoints(nullptr, Frame(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }

    // Gives the frame a menu command, as the menu bar does, and lets it settle.
    static void Command(UINT nID)
    {
        ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(nID, 0), 0);
        PumpMessages();
    }
};

// Counts the popup menus opened for the frame or one of its windows (each
// runs a modal loop that begins with WM_ENTERMENULOOP sent to its owner),
// and tells whether one is open, for the life of the object.
class MenuLoopWatch
{
public:
    explicit MenuLoopWatch(HWND hFrame) : m_hFrame(hFrame), m_hook(WH_CALLWNDPROC, Watch) { s_pCurrent = this; }
    MenuLoopWatch(const MenuLoopWatch&) = delete;
    MenuLoopWatch& operator=(const MenuLoopWatch&) = delete;
    ~MenuLoopWatch() { s_pCurrent = nullptr; }

    int Opened() const { return m_nOpened; }
    bool IsOpen() const { return m_bOpen; }

private:
    static LRESULT CALLBACK Watch(int nCode, WPARAM wParam, LPARAM lParam)
    {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        MenuLoopWatch* pWatch = s_pCurrent;
        if (nCode == HC_ACTION && pWatch != nullptr &&
            (message.hwnd == pWatch->m_hFrame || ::IsChild(pWatch->m_hFrame, message.hwnd)))
        {
            if (message.message == WM_ENTERMENULOOP)
            {
                ++pWatch->m_nOpened;
                pWatch->m_bOpen = true;
            }
            else if (message.message == WM_EXITMENULOOP)
            {
                pWatch->m_bOpen = false;
            }
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline MenuLoopWatch* s_pCurrent = nullptr;
    HWND m_hFrame;
    int m_nOpened = 0;
    bool m_bOpen = false;
    ThreadHookScope m_hook;
};

// Records the system commands posted to the frame (minimize, maximize,
// close, ...) for the life of the object. A close is recorded and then
// dropped: every test of this program shares its one frame.
class SysCommandWatch
{
public:
    explicit SysCommandWatch(HWND hFrame) : m_hFrame(hFrame), m_hook(WH_GETMESSAGE, Watch) { s_pCurrent = this; }
    SysCommandWatch(const SysCommandWatch&) = delete;
    SysCommandWatch& operator=(const SysCommandWatch&) = delete;
    ~SysCommandWatch() { s_pCurrent = nullptr; }

    const std::vector<UINT>& Commands() const { return m_commands; }

private:
    static LRESULT CALLBACK Watch(int nCode, WPARAM wParam, LPARAM lParam)
    {
        auto& msg = *reinterpret_cast<MSG*>(lParam);
        SysCommandWatch* pWatch = s_pCurrent;
        if (nCode == HC_ACTION && wParam == PM_REMOVE && pWatch != nullptr && msg.hwnd == pWatch->m_hFrame &&
            msg.message == WM_SYSCOMMAND)
        {
            pWatch->m_commands.push_back(static_cast<UINT>(msg.wParam & 0xFFF0));
            if ((msg.wParam & 0xFFF0) == SC_CLOSE)
                msg.message = WM_NULL;
        }
        return ::CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    static inline SysCommandWatch* s_pCurrent = nullptr;
    HWND m_hFrame;
    std::vector<UINT> m_commands;
    ThreadHookScope m_hook;
};

// Puts the frame back where and as it was, active and with the mouse away
// from it, when the scope ends.
class FramePlacementScope
{
public:
    explicit FramePlacementScope(HWND hFrame) : m_hFrame(hFrame) { ::GetWindowRect(hFrame, &m_rect); }
    FramePlacementScope(const FramePlacementScope&) = delete;
    FramePlacementScope& operator=(const FramePlacementScope&) = delete;
    ~FramePlacementScope()
    {
        if (::IsZoomed(m_hFrame) || ::IsIconic(m_hFrame))
            ::ShowWindow(m_hFrame, SW_RESTORE);
        ::SetWindowPos(m_hFrame, nullptr, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                       m_rect.bottom - m_rect.top, SWP_NOZORDER);
        ::SetForegroundWindow(m_hFrame);
        ::SetCursorPos(0, 0);
        PumpMessages();
    }

private:
    HWND m_hFrame;
    RECT m_rect;
};

// Changes the current directory for the life of the scope.
class CurrentDirectoryScope
{
public:
    explicit CurrentDirectoryScope(const std::wstring& strFolder) : m_strPrevious(CurrentDirectory())
    {
        ::SetCurrentDirectoryW(strFolder.c_str());
    }
    CurrentDirectoryScope(const CurrentDirectoryScope&) = delete;
    CurrentDirectoryScope& operator=(const CurrentDirectoryScope&) = delete;
    ~CurrentDirectoryScope() { ::SetCurrentDirectoryW(m_strPrevious.c_str()); }

private:
    std::wstring m_strPrevious;
};
