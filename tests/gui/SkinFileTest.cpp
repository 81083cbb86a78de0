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

// The colour at a point of the frame's client area, as painted now.
std::uint32_t PixelAt(HWND hFrame, POINT point)
{
    RECT window;
    ::GetWindowRect(hFrame, &window);
    ::ClientToScreen(hFrame, &point);
    const std::vector<std::uint32_t> look = CaptureWindow(hFrame);
    return look[static_cast<std::size_t>(point.y - window.top) * static_cast<std::size_t>(window.right - window.left) +
                static_cast<std::size_t>(point.x - window.left)];
}

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
    // Names in any case; an image that cannot be loaded leaves the colours.
    WriteTextFile(strPath, "<?xml version=\"1.0\"?>\n<SKIN><Client Start=\"#FF0000\" end=\"#ff0000\"/>"
                           "<menubar image=\"nowhere.bmp\"/></SKIN>");
    ApplySkinFile(Frame(), strPath);

    RECT client;
    ::GetClientRect(Frame(), &client);
    EXPECT_EQ(0xFF0000u, PixelAt(Frame(), {client.right / 2, client.bottom / 2}));
}

TEST_F(ProgramTest, ImageCoolbarDrawsTheBarFromTheImageBesideIt)
{
    Command(ID_COOLBAR_COLORCOOLBAR);
    const RECT bar = BarArea();
    const POINT top = {(bar.left + bar.right) / 2, bar.top};
    EXPECT_NE(0xFFFFFFu, PixelAt(Frame(), top));
    Command(ID_COOLBAR_IMAGECOOLBAR);
    EXPECT_EQ(0xFFFFFFu, PixelAt(Frame(), top)) << "the image's top row is white";
}
