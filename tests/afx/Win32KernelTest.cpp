// The file functions behave as Win32's: the same cases run against the POSIX
// layer natively and against the real kernel under Wine.
#include <afx/core/afx.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#if !defined(_WIN32)
#  include <sys/stat.h>
#endif

namespace
{
const DWORD R = GENERIC_READ;
const DWORD W = GENERIC_WRITE;
const DWORD SR = FILE_SHARE_READ;
const DWORD SRW = FILE_SHARE_READ | FILE_SHARE_WRITE;

HANDLE Open(const std::filesystem::path& path, DWORD access, DWORD share, DWORD disposition)
{
    return CreateFileW(path.u16string().c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// NO_ERROR when a call succeeded, else the error it left.
DWORD Outcome(BOOL succeeded)
{
    return succeeded ? NO_ERROR : GetLastError();
}

std::string Contents(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    std::string bytes(file ? static_cast<std::size_t>(file.tellg()) : 0, '\0');
    file.seekg(0);
    file.read(&bytes[0], static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

TEST(CreateFileW, FollowsTheCreationDisposition)
{
    const struct
    {
        DWORD access;
        DWORD disposition;
        bool exists;
        DWORD error; // NO_ERROR when the open succeeds
        std::uintmax_t sizeAfter;
    } cases[] = {{R, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, 0}, {R, OPEN_EXISTING, true, NO_ERROR, 5},
                 {W, CREATE_NEW, true, ERROR_FILE_EXISTS, 5},         {W, CREATE_ALWAYS, true, NO_ERROR, 0},
                 {R | W, OPEN_ALWAYS, false, NO_ERROR, 0},            {W, TRUNCATE_EXISTING, true, NO_ERROR, 0}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.disposition);
        ScratchDirectory dir;
        const auto path = c.exists ? dir.Write("f", "12345") : dir.Path("f");
        const HANDLE h = Open(path, c.access, SR, c.disposition);
        EXPECT_EQ(c.error == NO_ERROR, h != INVALID_HANDLE_VALUE);
        if (h == INVALID_HANDLE_VALUE)
        {
            EXPECT_EQ(c.error, GetLastError());
        }
        else
        {
            EXPECT_TRUE(CloseHandle(h));
        }
        if (std::filesystem::exists(path))
        {
            EXPECT_EQ(c.sizeAfter, std::filesystem::file_size(path));
        }
    }
}

TEST(CreateFileW, RefusesWhatAnotherHandleDenies)
{
    const struct
    {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    } cases[] = {{R, SR, R, SR, true},    {R, SR, W, SRW, false},  {W, SRW, R, SR, false},
                 {R, SRW, W, SRW, true},  {W, SRW, R, SRW, true}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        ScratchDirectory dir;
        const auto path = dir.Write("f", "x");
        const HANDLE first = Open(path, c.firstAccess, c.firstShare, OPEN_EXISTING);
        ASSERT_NE(INVALID_HANDLE_VALUE, first);
        const HANDLE second = Open(path, c.secondAccess, c.secondShare, OPEN_EXISTING);
        EXPECT_EQ(c.secondOpens, second != INVALID_HANDLE_VALUE);
        if (second == INVALID_HANDLE_VALUE)
        {
            EXPECT_EQ(ERROR_SHARING_VIOLATION, GetLastError());
        }
        else
        {
            CloseHandle(second);
        }
        CloseHandle(first); // gives the file back
        const HANDLE again = Open(path, c.secondAccess, c.secondShare, OPEN_EXISTING);
        EXPECT_NE(INVALID_HANDLE_VALUE, again);
        CloseHandle(again);
    }
}

TEST(CreateFileW, RefusesWhatIsNoRegularFileWithoutWaiting)
{
    ScratchDirectory dir;
    std::vector<std::filesystem::path> paths{dir.Path(".")};
#if !defined(_WIN32)
    ASSERT_EQ(0, mkfifo(dir.Path("fifo").c_str(), 0600));
    paths.insert(paths.end(), {dir.Path("fifo"), "/dev/null"});
#endif
    for (const auto& path : paths)
    {
        EXPECT_EQ(INVALID_HANDLE_VALUE, Open(path, R, SR, OPEN_EXISTING)) << path;
        EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError()) << path;
    }
}

TEST(CreateFileW, RefusesNoNameAsAMissingPath)
{
    const WCHAR* const names[] = {nullptr, u""};
    for (const WCHAR* name : names)
    {
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileW(name, R, SR, nullptr, OPEN_ALWAYS, 0, nullptr));
        EXPECT_EQ(ERROR_PATH_NOT_FOUND, GetLastError());
    }
}

#if !defined(_WIN32)
TEST(CreateFileW, RefusesALoneSurrogateRatherThanOpenAnotherName)
{
    ScratchDirectory dir;
    const std::u16string path = dir.Path("x").u16string() + u"\xD800";
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileW(path.c_str(), W, SR, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_EQ(ERROR_INVALID_NAME, GetLastError());
}
#endif

TEST(ReadFile, ReadsSizesAndSeeksAsWin32)
{
    ScratchDirectory dir;
    const HANDLE h = Open(dir.Write("f", "0123456789"), R, SR, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD high = 7;
    EXPECT_EQ(10u, GetFileSize(h, &high));
    EXPECT_EQ(0u, high);

    char buffer[16] = {};
    const DWORD reads[][2] = {{4, 4}, {16, 6}, {16, 0}}; // asked, got: short at the end, then nothing
    for (const auto& read : reads)
    {
        DWORD nRead = 99;
        EXPECT_TRUE(ReadFile(h, buffer, read[0], &nRead, nullptr));
        EXPECT_EQ(read[1], nRead);
    }
    EXPECT_EQ("456789", std::string(buffer, 6));

    const struct
    {
        LONG distance;
        DWORD method, position, error;
    } seeks[] = {{3, FILE_BEGIN, 3, NO_ERROR},
                 {-1, FILE_CURRENT, 2, NO_ERROR},
                 {-2, FILE_END, 8, NO_ERROR},
                 {20, FILE_BEGIN, 20, NO_ERROR},
                 {-1, FILE_BEGIN, INVALID_SET_FILE_POINTER, ERROR_NEGATIVE_SEEK}};
    for (const auto& s : seeks)
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

TEST(WriteFile, TransfersAndFlushesOnlyWhatTheHandleMayAccess)
{
    const struct
    {
        DWORD access;
        DWORD readError, writeError, flushError;
        const char* after;
    } cases[] = {{R, NO_ERROR, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, "0123"},
                 {W, ERROR_ACCESS_DENIED, NO_ERROR, NO_ERROR, "ab23"},
                 {R | W, NO_ERROR, NO_ERROR, NO_ERROR, "01ab"}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.access);
        ScratchDirectory dir;
        const auto path = dir.Write("f", "0123");
        const HANDLE h = Open(path, c.access, SRW, OPEN_EXISTING);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        char buffer[2];
        DWORD nRead = 99;
        EXPECT_EQ(c.readError, Outcome(ReadFile(h, buffer, 2, &nRead, nullptr)));
        EXPECT_EQ(c.readError == NO_ERROR ? 2u : 0u, nRead);
        DWORD nWritten = 99;
        EXPECT_EQ(c.writeError, Outcome(WriteFile(h, "ab", 2, &nWritten, nullptr)));
        EXPECT_EQ(c.writeError == NO_ERROR ? 2u : 0u, nWritten);
        EXPECT_EQ(c.flushError, Outcome(FlushFileBuffers(h)));
        EXPECT_TRUE(CloseHandle(h));
        EXPECT_EQ(c.after, Contents(path));
    }
}

TEST(WriteFile, FillsAGapBeyondTheEndWithZeros)
{
    ScratchDirectory dir;
    const auto path = dir.Write("f", "01");
    const HANDLE h = Open(path, W, SR, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(4u, SetFilePointer(h, 2, nullptr, FILE_END));
    DWORD nWritten = 0;
    EXPECT_TRUE(WriteFile(h, "x", 1, &nWritten, nullptr));
    EXPECT_TRUE(WriteFile(h, "", 0, &nWritten, nullptr));
    EXPECT_EQ(0u, nWritten);
    EXPECT_EQ(5u, GetFileSize(h, nullptr));
    EXPECT_TRUE(CloseHandle(h));
    EXPECT_EQ(std::string("01\0\0x", 5), Contents(path));
}

TEST(MoveFileExW, ReplacesInOneStepOrChangesNothing)
{
    const DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const struct
    {
        const char* what;
        const char* from;
        const char* to;
        DWORD error;
        const char* toAfter; // the content under the new name after the move
    } cases[] = {{"onto a file", "new", "old", NO_ERROR, "new text"},
                 {"to a new name", "new", "fresh", NO_ERROR, "new text"},
                 {"from a missing file", "missing", "old", ERROR_FILE_NOT_FOUND, "old text"},
                 {"onto a folder", "new", "folder", ERROR_ACCESS_DENIED, nullptr}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ScratchDirectory dir;
        dir.Write("old", "old text");
        dir.Write("new", "new text");
        std::filesystem::create_directory(dir.Path("folder"));
        EXPECT_EQ(c.error, Outcome(MoveFileExW(dir.Path(c.from).u16string().c_str(),
                                               dir.Path(c.to).u16string().c_str(), kReplace)));
        if (c.toAfter != nullptr)
        {
            EXPECT_EQ(c.toAfter, ScratchDirectory::Read(dir.Path(c.to)));
        }
        EXPECT_EQ(c.error != NO_ERROR, std::filesystem::exists(dir.Path("new")));
        EXPECT_TRUE(std::filesystem::is_directory(dir.Path("folder")));
    }
}

TEST(DeleteFileW, RemovesAFileAndReportsAMissingOne)
{
    ScratchDirectory dir;
    const auto path = dir.Write("f", "x");
    EXPECT_EQ(NO_ERROR, Outcome(DeleteFileW(path.u16string().c_str())));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, Outcome(DeleteFileW(path.u16string().c_str())));
}

TEST(GetCurrentDirectoryW, ReportsTheSizeItNeedsThenTheDirectory)
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
