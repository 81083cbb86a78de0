// The skin test program, running in the test process: the environment starts
// it once (InitInstance, then its first skin change), and the tests work on
// its one frame through the same messages a user's actions send.
#pragma once

#include "GuiTestSupport.h"

#include <TestZOLUILib.h>
#include <ZOLUILib/ZOLUILib.h>
#include <resource.h>

#include <gtest/gtest.h>

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
        return *dynamic_cast<CZOLUICoolMenuBar*>(CWnd::FromHandlePermanent(MenuBarWindow()));
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
