#include "ProgramTest.h"

class SkinCommandTest : public ProgramTest, public ::testing::WithParamInterface<SkinCommand>
{
};

TEST_P(SkinCommandTest, StoresThePathBelowTheCurrentDirectoryAndHandsTheBarANewMenu)
{
    for (int nTime = 0; nTime < 2; ++nTime)
    {
        const HMENU hBefore = BarMenu();
        // Checked before any queued message runs: the skin change is sent, not posted.
        ::SendMessageW(Frame(), WM_COMMAND, MAKEWPARAM(GetParam().nID, 0), 0);
        EXPECT_EQ(ToUtf16(CurrentDirectory()) + GetParam().pszRelativePath, ToUtf16(theApp.m_strSkinPath));
        const HMENU hAfter = BarMenu();
        EXPECT_TRUE(::IsMenu(hAfter));
        EXPECT_NE(hBefore, hAfter);
        EXPECT_FALSE(::IsMenu(hBefore)) << "the bar destroys the menu it lets go";
        PumpMessages();
    }
}

INSTANTIATE_TEST_SUITE_P(Skins, SkinCommandTest, ::testing::ValuesIn(kSkinCommands),
                         [](const ::testing::TestParamInfo<SkinCommand>& param) { return param.param.pszName; });

TEST_F(ProgramTest, AtADriveRootThePathsAreJoinedAsTheyAre)
{
    CurrentDirectoryScope scope(L"C:\\");
    ASSERT_EQ(L"C:\\", CurrentDirectory());
    Command(ID_COOLBAR_COLORCOOLBAR);
    EXPECT_EQ(u"C:\\\\Skins\\Coolbar\\ColorCoolbar.xml", ToUtf16(theApp.m_strSkinPath));
}

TEST_F(ProgramTest, EachSkinChangesTheLook)
{
    std::vector<std::vector<std::uint32_t>> looks = {StartLook()};
    std::vector<std::string> names = {"start"};
    for (const SkinCommand& skin : kSkinCommands)
    {
        Command(skin.nID);
        looks.push_back(CaptureWindow(Frame()));
        names.push_back(skin.pszName);
    }
    for (std::size_t i = 0; i < looks.size(); ++i)
    {
        for (std::size_t j = i + 1; j < looks.size(); ++j)
            EXPECT_NE(looks[i], looks[j]) << names[i] << " and " << names[j] << " look the same";
    }
}

TEST_F(ProgramTest, SkinFilesAreLookedUpBelowTheCurrentDirectory)
{
    Command(ID_COOLBAR_COLORCOOLBAR);
    const std::vector<std::uint32_t> look = CaptureWindow(Frame());

    const std::wstring strElsewhere = MakeTempFolder(L"zolui-elsewhere");
    CurrentDirectoryScope scope(strElsewhere);
    Command(ID_FRAME_MEDIAPLAY);
    EXPECT_EQ(ToUtf16(strElsewhere) + u"\\Skins\\Frame\\mediaplay.xml", ToUtf16(theApp.m_strSkinPath));
    EXPECT_EQ(look, CaptureWindow(Frame())) << "no skin file there: the look stays";
}
