#include "ProgramTest.h"

namespace
{
struct BadSkinFile
{
    const char* pszName;
    const char* pszContent; // null: the file does not exist
};

const BadSkinFile kBadSkinFiles[] = {
    {"Missing", nullptr},
    {"NotXml", "this is not a skin"},
    {"Unterminated", "<skin><frame border=\"4\">"},
    {"OtherRoot", "<theme><client start=\"#FF0000\"/></theme>"},
    {"ShortColour", "<skin><client start=\"#F00\"/></skin>"},
    {"ColourWithoutHash", "<skin><client start=\"FF0000\"/></skin>"},
    {"BorderOutOfRange", "<skin><frame border=\"99\"/></skin>"},
    {"NegativeCaption", "<skin><frame caption=\"-20\"/></skin>"},
    {"BarHeightNotANumber", "<skin><menubar height=\"tall\"/></skin>"},
};

class BadSkinFileTest : public ProgramTest, public ::testing::WithParamInterface<BadSkinFile>
{
};

// Applies the skin file at the path the way the skin commands do.
void ApplySkinFile(HWND hFrame, const std::wstring& strPath)
{
    theApp.m_strSkinPath = reinterpret_cast<LPCWSTR>(strPath.c_str());
    ::SendMessageW(hFrame, WM_SKINCHANGED, 0, 0);
    PumpMessages();
}
}

TEST_P(BadSkinFileTest, KeepsTheCurrentLook)
{
    const std::wstring strPath = MakeTempFolder(L"zolui-skins") + L"\\bad.xml";
    ::DeleteFileW(strPath.c_str());
    if (GetParam().pszContent != nullptr)
        WriteTextFile(strPath, GetParam().pszContent);

    Command(ID_FRAME_SKINPLUSPLUS);
    const std::vector<std::uint32_t> look = CaptureWindow(Frame());
    const HMENU hMenuBefore = BarMenu();
    ApplySkinFile(Frame(), strPath);
    EXPECT_EQ(look, CaptureWindow(Frame()));
    EXPECT_NE(hMenuBefore, BarMenu()) << "the bar still gets a fresh menu";
    EXPECT_TRUE(::IsMenu(BarMenu()));
}

INSTANTIATE_TEST_SUITE_P(Files, BadSkinFileTest, ::testing::ValuesIn(kBadSkinFiles),
                         [](const ::testing::TestParamInfo<BadSkinFile>& param) { return param.param.pszName; });

TEST_F(ProgramTest, SkinFileNamesOnlyWhatItChanges)
{
    const std::wstring strPath = MakeTempFolder(L"zolui-skins") + L"\\red.xml";
    WriteTextFile(strPath, "<?xml version=\"1.0\"?>\n<SKIN><Client Start=\"#FF0000\" end=\"#ff0000\"/></SKIN>");
    ApplySkinFile(Frame(), strPath);

    // The client area below the bar is red; the rest keeps the library's look.
    RECT window;
    ::GetWindowRect(Frame(), &window);
    POINT centre = {0, 0};
    RECT client;
    ::GetClientRect(Frame(), &client);
    centre = {client.right / 2, client.bottom / 2};
    ::ClientToScreen(Frame(), &centre);
    const std::vector<std::uint32_t> look = CaptureWindow(Frame());
    const std::size_t nIndex =
        static_cast<std::size_t>(centre.y - window.top) * static_cast<std::size_t>(window.right - window.left) +
        static_cast<std::size_t>(centre.x - window.left);
    EXPECT_EQ(0xFF0000u, look[nIndex]);
}
