// The file functions behave as Win32's: the same tables run against the POSIX
// layer natively and against the real kernel under Wine.
#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <filesystem>
#include <string>

#if !defined(_WIN32)
#  include <sys/stat.h>
#endif

namespace
{
HANDLE Open(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileW(path.u16string().c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

template <class Case>
std::string CaseName(const testing::TestParamInfo<Case>& tested)
{
    return tested.param.name;
}

struct OpenCase
{
    const char* name;
    DWORD access;
    DWORD disposition;
    bool exists;
    DWORD error; // NO_ERROR when the open succeeds
    std::uintmax_t sizeAfter;
};

class FileOpening : public testing::TestWithParam<OpenCase>
{
};

TEST_P(FileOpening, FollowsTheCreationDisposition)
{
    const OpenCase& c = GetParam();
    ScratchDirectory dir;
    const auto path = dir.Path("f.txt");
    if (c.exists)
        dir.Write("f.txt", "12345");
    const HANDLE h = Open(path, c.access, FILE_SHARE_READ, c.disposition);
    if (c.error == NO_ERROR)
    {
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        EXPECT_TRUE(CloseHandle(h));
        EXPECT_EQ(c.sizeAfter, std::filesystem::file_size(path));
    }
    else
    {
        EXPECT_EQ(INVALID_HANDLE_VALUE, h);
        EXPECT_EQ(c.error, GetLastError());
    }
}

const DWORD R = GENERIC_READ;
const DWORD W = GENERIC_WRITE;

INSTANTIATE_TEST_SUITE_P(
    Table, FileOpening,
    testing::Values(OpenCase{"OpenMissing", R, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, 0},
                    OpenCase{"OpenExisting", R, OPEN_EXISTING, true, NO_ERROR, 5},
                    OpenCase{"NewOverExisting", W, CREATE_NEW, true, ERROR_FILE_EXISTS, 0},
                    OpenCase{"NewMissing", W, CREATE_NEW, false, NO_ERROR, 0},
                    OpenCase{"AlwaysTruncates", W, CREATE_ALWAYS, true, NO_ERROR, 0},
                    OpenCase{"OpenAlwaysCreates", R | W, OPEN_ALWAYS, false, NO_ERROR, 0},
                    OpenCase{"OpenAlwaysKeeps", R, OPEN_ALWAYS, true, NO_ERROR, 5},
                    OpenCase{"Truncate", W, TRUNCATE_EXISTING, true, NO_ERROR, 0},
                    OpenCase{"TruncateMissing", W, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, 0}),
    CaseName<OpenCase>);

struct ShareCase
{
    const char* name;
    DWORD firstAccess;
    DWORD firstShare;
    DWORD secondAccess;
    DWORD secondShare;
    bool secondOpens;
};

class FileSharing : public testing::TestWithParam<ShareCase>
{
};

TEST_P(FileSharing, RefusesWhatTheOtherHandleDenies)
{
    const ShareCase& c = GetParam();
    ScratchDirectory dir;
    const auto path = dir.Write("f.txt", "x");
    const HANDLE first = Open(path, c.firstAccess, c.firstShare, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, first);
    const HANDLE second = Open(path, c.secondAccess, c.secondShare, OPEN_EXISTING);
    if (c.secondOpens)
    {
        EXPECT_NE(INVALID_HANDLE_VALUE, second);
        CloseHandle(second);
    }
    else
    {
        EXPECT_EQ(INVALID_HANDLE_VALUE, second);
        EXPECT_EQ(ERROR_SHARING_VIOLATION, GetLastError());
    }
    CloseHandle(first);
    // Closing gives the file back.
    const HANDLE again = Open(path, c.secondAccess, c.secondShare, OPEN_EXISTING);
    EXPECT_NE(INVALID_HANDLE_VALUE, again);
    CloseHandle(again);
}

const DWORD SR = FILE_SHARE_READ;
const DWORD SRW = FILE_SHARE_READ | FILE_SHARE_WRITE;

INSTANTIATE_TEST_SUITE_P(Table, FileSharing,
                         testing::Values(ShareCase{"Readers", R, SR, R, SR, true},
                                         ShareCase{"ReaderDeniesWriter", R, SR, W, SRW, false},
                                         ShareCase{"WriterRefusesDenyingReader", W, SRW, R, SR, false},
                                         ShareCase{"SharingReaderAdmitsWriter", R, SRW, W, SRW, true},
                                         ShareCase{"WriterAdmitsSharingReader", W, SRW, R, SRW, true}),
                         CaseName<ShareCase>);

TEST(FileOpening, RefusesADirectory)
{
    ScratchDirectory dir;
    EXPECT_EQ(INVALID_HANDLE_VALUE, Open(dir.Path("."), R, SR, OPEN_EXISTING));
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
}

#if !defined(_WIN32)
TEST(FileOpening, RefusesFifosAndDevicesWithoutWaiting)
{
    ScratchDirectory dir;
    const auto fifo = dir.Path("fifo");
    ASSERT_EQ(0, mkfifo(fifo.c_str(), 0600));
    for (const std::filesystem::path& path : {fifo, std::filesystem::path("/dev/null")})
    {
        EXPECT_EQ(INVALID_HANDLE_VALUE, Open(path, R, SR, OPEN_EXISTING)) << path;
        EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
    }
}

TEST(FileOpening, RefusesALoneSurrogateRatherThanOpenAnotherName)
{
    ScratchDirectory dir;
    const std::u16string path = dir.Path("x").u16string() + u"\xD800";
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileW(path.c_str(), W, SR, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_EQ(ERROR_INVALID_NAME, GetLastError());
}
#endif

TEST(FileOpening, NamesReachTheFileSystemIntact)
{
    ScratchDirectory dir;
    const auto path = dir.Path(u"\u00FC-\u6587\U0001F600.txt");
    const HANDLE h = Open(path, W, SR, CREATE_NEW);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(FileReading, ReadsSizesAndSeeksAsWin32)
{
    ScratchDirectory dir;
    const HANDLE h = Open(dir.Write("f.txt", "0123456789"), R, SR, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);

    DWORD high = 7;
    EXPECT_EQ(10u, GetFileSize(h, &high));
    EXPECT_EQ(0u, high);

    char buffer[16] = {};
    DWORD nRead = 0;
    ASSERT_TRUE(ReadFile(h, buffer, 4, &nRead, nullptr));
    EXPECT_EQ(4u, nRead);
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &nRead, nullptr)); // short at the end: not an error
    EXPECT_EQ(6u, nRead);
    EXPECT_EQ("456789", std::string(buffer, nRead));
    ASSERT_TRUE(ReadFile(h, buffer, sizeof buffer, &nRead, nullptr));
    EXPECT_EQ(0u, nRead);

    struct Seek
    {
        LONG distance;
        DWORD method;
        DWORD position;
        DWORD error;
    };
    const Seek seeks[] = {{3, FILE_BEGIN, 3, NO_ERROR},
                          {-1, FILE_CURRENT, 2, NO_ERROR},
                          {-2, FILE_END, 8, NO_ERROR},
                          {20, FILE_BEGIN, 20, NO_ERROR}, // past the end is allowed
                          {-1, FILE_BEGIN, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK}};
    for (const Seek& s : seeks)
    {
        EXPECT_EQ(s.position, SetFilePointer(h, s.distance, nullptr, s.method)) << s.distance;
        EXPECT_EQ(s.error, GetLastError()) << s.distance;
    }
    EXPECT_EQ(20u, SetFilePointer(h, 0, nullptr, FILE_CURRENT)); // a refused seek does not move

    LONG distanceHigh = 1;
    EXPECT_EQ(5u, SetFilePointer(h, 5, &distanceHigh, FILE_BEGIN)); // 4 GiB + 5
    EXPECT_EQ(1, distanceHigh);

    EXPECT_TRUE(CloseHandle(h));
}

TEST(CurrentDirectory, ReportsTheSizeItNeedsThenTheDirectory)
{
    const std::u16string expected = std::filesystem::current_path().u16string();
    const DWORD needed = GetCurrentDirectoryW(0, static_cast<LPWSTR>(nullptr));
    ASSERT_EQ(expected.size() + 1, needed);
    std::u16string buffer(needed, u'#');
    EXPECT_EQ(needed, GetCurrentDirectoryW(needed - 1, &buffer[0]));
    EXPECT_EQ(needed - 1, GetCurrentDirectoryW(needed, &buffer[0]));
    EXPECT_EQ(expected + u'\0', buffer);
}
} // namespace
