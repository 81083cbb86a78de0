// The resources of the built TestZOLUILib.exe, read back from the file.
#include "GuiTestSupport.h"

#include <afx/win/afxres.h>
#include <resource.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

namespace
{
constexpr WORD kUsEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::wstring ProgramPath()
{
    wchar_t szPath[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring strPath = szPath;
    return strPath.substr(0, strPath.find_last_of(L'\\') + 1) + L"TestZOLUILib.exe";
}

class ResourceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_hProgram = ::LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { ::FreeLibrary(s_hProgram); }

    void SetUp() override { ASSERT_NE(nullptr, s_hProgram); }

    // The resource's bytes, in US English.
    static std::vector<BYTE> Resource(LPCWSTR lpszType, WORD nID)
    {
        const HRSRC hInfo =
            ::FindResourceExW(s_hProgram, AfxWin32Text(lpszType), AfxWin32Text(MAKEINTRESOURCE(nID)), kUsEnglish);
        if (hInfo == nullptr)
            return {};
        const auto* pData = static_cast<const BYTE*>(::LockResource(::LoadResource(s_hProgram, hInfo)));
        return std::vector<BYTE>(pData, pData + ::SizeofResource(s_hProgram, hInfo));
    }

    static HMODULE s_hProgram;
};

HMODULE ResourceTest::s_hProgram = nullptr;

// One menu item as a line: label and command, popups with their items indented.
void DescribeMenu(HMENU hMenu, const std::wstring& strIndent, std::vector<std::wstring>& lines)
{
    for (int i = 0; i < ::GetMenuItemCount(hMenu); ++i)
    {
        wchar_t szLabel[128] = {};
        MENUITEMINFOW item = {};
        item.cbSize = sizeof(item);
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = szLabel;
        item.cch = 128;
        ::GetMenuItemInfoW(hMenu, static_cast<UINT>(i), TRUE, &item);
        if (item.fType & MFT_SEPARATOR)
            lines.push_back(strIndent + L"---");
        else if (item.hSubMenu != nullptr)
        {
            lines.push_back(strIndent + szLabel);
            DescribeMenu(item.hSubMenu, strIndent + L"  ", lines);
        }
        else
            lines.push_back(strIndent + szLabel + L" = " + std::to_wstring(item.wID));
    }
}

template <class T>
T Read(const std::vector<BYTE>& data, std::size_t& offset)
{
    T value;
    std::memcpy(&value, data.data() + offset, sizeof(T));
    offset += sizeof(T);
    return value;
}

// A dialog template's "sz_Or_Ord": an ordinal as "#n", a string as itself.
std::wstring ReadNameOrOrdinal(const std::vector<BYTE>& data, std::size_t& offset)
{
    const WORD nFirst = Read<WORD>(data, offset);
    if (nFirst == 0xFFFF)
        return L"#" + std::to_wstring(Read<WORD>(data, offset));
    std::wstring str;
    for (WORD ch = nFirst; ch != 0; ch = Read<WORD>(data, offset))
        str += static_cast<wchar_t>(ch);
    return str;
}

struct DialogItem
{
    DWORD nStyle;
    DWORD nExStyle;
    short x, y, cx, cy;
    DWORD nID;
    std::wstring strClass;
    std::wstring strText;

    bool operator==(const DialogItem& o) const
    {
        return nStyle == o.nStyle && nExStyle == o.nExStyle && x == o.x && y == o.y && cx == o.cx && cy == o.cy &&
               nID == o.nID && strClass == o.strClass && strText == o.strText;
    }
};

std::ostream& operator<<(std::ostream& out, const DialogItem& item)
{
    const auto narrow = [](const std::wstring& str) { return std::string(str.begin(), str.end()); };
    return out << std::hex << "{style 0x" << item.nStyle << ", ex 0x" << item.nExStyle << std::dec << ", " << item.x
               << "," << item.y << " " << item.cx << "x" << item.cy << ", id " << item.nID << ", class "
               << narrow(item.strClass) << ", text " << narrow(item.strText) << "}";
}

std::wstring VersionString(const std::vector<BYTE>& block, const wchar_t* pszName)
{
    void* pValue = nullptr;
    UINT nLength = 0;
    const std::wstring strKey = std::wstring(L"\\StringFileInfo\\040904e4\\") + pszName;
    if (!::VerQueryValueW(block.data(), strKey.c_str(), &pValue, &nLength))
        return L"(missing)";
    return static_cast<const wchar_t*>(pValue);
}
}

TEST_F(ResourceTest, MenuHoldsTheProgramsCommands)
{
    const HMENU hMenu = LoadMenuW(s_hProgram, MAKEINTRESOURCE(IDR_MAINFRAME));
    ASSERT_NE(nullptr, hMenu);
    ASSERT_FALSE(Resource(RT_MENU, IDR_MAINFRAME).empty()) << "in US English";
    std::vector<std::wstring> lines;
    DescribeMenu(hMenu, L"", lines);
    ::DestroyMenu(hMenu);
    const std::vector<std::wstring> expected = {
        L"&File",
        L"  E&xit = 57665",
        L"&Edit",
        L"  &Undo\tCtrl+Z = 57643",
        L"  ---",
        L"  Cu&t\tCtrl+X = 57635",
        L"  &Copy\tCtrl+C = 57634",
        L"  &Paste\tCtrl+V = 57637",
        L"Skin",
        L"  CoolBar",
        L"    ColorCoolbar = 32772",
        L"    ImageCoolbar = 32773",
        L"  Frame",
        L"    MediaPlay = 32775",
        L"    Skin++ = 32776",
        L"&Help",
        L"  &About TestZOLUILib... = 57664",
    };
    EXPECT_EQ(expected, lines);
}

TEST_F(ResourceTest, AboutBoxIsAnExtendedTemplate)
{
    const std::vector<BYTE> data = Resource(RT_DIALOG, IDD_ABOUTBOX);
    ASSERT_GT(data.size(), 26u);
    std::size_t offset = 0;
    EXPECT_EQ(1, Read<WORD>(data, offset)) << "dlgVer";
    EXPECT_EQ(0xFFFF, Read<WORD>(data, offset)) << "signature of an extended template";
    EXPECT_EQ(0u, Read<DWORD>(data, offset)) << "helpID";
    EXPECT_EQ(0u, Read<DWORD>(data, offset)) << "exStyle";
    EXPECT_EQ(0x80C800C8u, Read<DWORD>(data, offset)) << "style";
    const WORD nItems = Read<WORD>(data, offset);
    const short rect[4] = {Read<short>(data, offset), Read<short>(data, offset), Read<short>(data, offset),
                           Read<short>(data, offset)};
    EXPECT_EQ((std::vector<short>{0, 0, 235, 55}), std::vector<short>(rect, rect + 4));
    EXPECT_EQ(L"", ReadNameOrOrdinal(data, offset)) << "no menu";
    EXPECT_EQ(L"", ReadNameOrOrdinal(data, offset)) << "the standard class";
    EXPECT_EQ(L"About TestZOLUILib", ReadNameOrOrdinal(data, offset));
    EXPECT_EQ(8, Read<WORD>(data, offset)) << "points";
    Read<WORD>(data, offset); // weight
    Read<BYTE>(data, offset); // italic
    Read<BYTE>(data, offset); // character set
    EXPECT_EQ(L"MS Shell Dlg", ReadNameOrOrdinal(data, offset));

    std::vector<DialogItem> items;
    for (WORD i = 0; i < nItems; ++i)
    {
        offset = (offset + 3) & ~std::size_t{3};
        DialogItem item;
        Read<DWORD>(data, offset); // helpID
        item.nExStyle = Read<DWORD>(data, offset);
        item.nStyle = Read<DWORD>(data, offset);
        item.x = Read<short>(data, offset);
        item.y = Read<short>(data, offset);
        item.cx = Read<short>(data, offset);
        item.cy = Read<short>(data, offset);
        item.nID = Read<DWORD>(data, offset);
        item.strClass = ReadNameOrOrdinal(data, offset);
        item.strText = ReadNameOrOrdinal(data, offset);
        offset += Read<WORD>(data, offset); // creation data
        items.push_back(item);
    }
    const std::vector<DialogItem> expected = {
        {0x50000003, 0, 11, 17, 20, 20, 0xFFFFFFFF, L"#130", L"#128"},
        {0x50020080, 0, 40, 10, 119, 8, 0xFFFFFFFF, L"#130", L"TestZOLUILib Version 1.0"},
        {0x50030001, 0, 178, 7, 50, 16, IDOK, L"#128", L"OK"},
    };
    EXPECT_EQ(expected, items);
}

TEST_F(ResourceTest, IconGroupHoldsNineImages)
{
    const std::vector<BYTE> group = Resource(RT_GROUP_ICON, IDR_MAINFRAME);
    ASSERT_GE(group.size(), 6u);
    std::size_t offset = 4;
    const WORD nCount = Read<WORD>(group, offset);
    std::vector<std::pair<int, int>> images; // size and bits per pixel
    for (WORD i = 0; i < nCount; ++i)
    {
        const BYTE nWidth = Read<BYTE>(group, offset);
        const BYTE nHeight = Read<BYTE>(group, offset);
        const BYTE nColours = Read<BYTE>(group, offset);
        Read<BYTE>(group, offset);
        Read<WORD>(group, offset); // planes
        const WORD nBits = Read<WORD>(group, offset);
        Read<DWORD>(group, offset); // bytes
        const WORD nIconID = Read<WORD>(group, offset);
        EXPECT_EQ(nWidth, nHeight);
        EXPECT_EQ(nBits == 4 ? 16 : 0, nColours);
        images.emplace_back(nWidth, nBits);

        // Each image loads as an icon of its size.
        std::vector<BYTE> bits = Resource(RT_ICON, nIconID);
        ASSERT_FALSE(bits.empty());
        const HICON hIcon =
            ::CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()), TRUE, 0x00030000, 0, 0, 0);
        ASSERT_NE(nullptr, hIcon);
        ICONINFO info = {};
        ::GetIconInfo(hIcon, &info);
        BITMAP mask = {};
        ::GetObjectW(info.hbmMask, sizeof(mask), &mask);
        EXPECT_EQ(nWidth, mask.bmWidth);
        ::DeleteObject(info.hbmMask);
        ::DeleteObject(info.hbmColor);
        ::DestroyIcon(hIcon);
    }
    std::sort(images.begin(), images.end());
    const std::vector<std::pair<int, int>> expected = {{16, 4}, {16, 8}, {16, 24}, {32, 4}, {32, 8},
                                                       {32, 24}, {48, 4}, {48, 8}, {48, 24}};
    EXPECT_EQ(expected, images);
}

TEST_F(ResourceTest, VersionBlockNamesTheProgram)
{
    const std::vector<BYTE> block = Resource(RT_VERSION, 1);
    ASSERT_FALSE(block.empty());
    VS_FIXEDFILEINFO* pFixed = nullptr;
    UINT nLength = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&pFixed), &nLength));
    EXPECT_EQ(0x00010000u, pFixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, pFixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, pFixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, pFixed->dwProductVersionLS);

    const WORD* pTranslation = nullptr;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                                 reinterpret_cast<void**>(const_cast<WORD**>(&pTranslation)), &nLength));
    ASSERT_EQ(4u, nLength);
    EXPECT_EQ(0x0409, pTranslation[0]);
    EXPECT_EQ(0x04E4, pTranslation[1]);

    EXPECT_EQ(L"TestZOLUILib.exe", VersionString(block, L"InternalName"));
    EXPECT_EQ(L"TestZOLUILib.exe", VersionString(block, L"OriginalFilename"));
    EXPECT_EQ(L"1.0.0.1", VersionString(block, L"FileVersion"));
    EXPECT_EQ(L"1.0.0.1", VersionString(block, L"ProductVersion"));
}
