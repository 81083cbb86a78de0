#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace
{
// A file name in the working folder, removed when the test ends.
class TemporaryFile
{
public:
    explicit TemporaryFile(LPCWSTR name) : m_name(name), m_path(std::u16string(name))
    {
        std::filesystem::remove(m_path);
    }
    ~TemporaryFile() { std::filesystem::remove(m_path); }
    LPCWSTR Name() const { return m_name; }

private:
    LPCWSTR m_name;
    std::filesystem::path m_path;
};

TEST(CFile, WritesAndReadsBackOnAPath)
{
    const TemporaryFile temporary(u"afx_file_test.bin");
    const Bytes content = HexBytes("00 01 02 03 04 05 06 07 08 09");
    {
        CFile file(temporary.Name(), CFile::modeCreate | CFile::modeWrite);
        file.Write(content.data(), static_cast<UINT>(content.size()));
        file.Close();
    }
    CFile file(temporary.Name(), CFile::modeRead | CFile::shareDenyWrite);
    EXPECT_EQ(content.size(), file.GetLength());
    Bytes loaded(20);
    EXPECT_EQ(content.size(), file.Read(loaded.data(), 20));
    EXPECT_EQ(0u, file.Read(loaded.data(), 20));
    EXPECT_EQ(7u, file.Seek(-3, CFile::end));
    EXPECT_EQ(3u, file.Read(loaded.data(), 20));
    EXPECT_EQ(7, loaded[0]);
}

TEST(CFile, CreateTruncatesUnlessToldNotTo)
{
    const TemporaryFile temporary(u"afx_file_truncate.bin");
    const Bytes content = HexBytes("01 02 03 04");
    CFile(temporary.Name(), CFile::modeCreate | CFile::modeWrite).Write(content.data(), 4);
    EXPECT_EQ(4u, CFile(temporary.Name(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead).GetLength());
    EXPECT_EQ(0u, CFile(temporary.Name(), CFile::modeCreate | CFile::modeReadWrite).GetLength());
}

TEST(CFile, NonAsciiNamesWork)
{
    const TemporaryFile temporary(u"afx_fichier_\u00e9\u4e2d.bin");
    const BYTE byte = 0x5A;
    CFile(temporary.Name(), CFile::modeCreate | CFile::modeWrite).Write(&byte, 1);
    EXPECT_EQ(1u, CFile(temporary.Name(), CFile::modeRead).GetLength());
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path("afx_fichier_\xc3\xa9\xe4\xb8\xad.bin")));
}

TEST(CFile, OpeningFailsWithTheCause)
{
    const TemporaryFile plain(u"afx_file_plain.bin");
    CFile(plain.Name(), CFile::modeCreate | CFile::modeWrite).Close();
    const struct
    {
        LPCWSTR name;
        UINT flags;
        int cause;
    } cases[] = {{u"afx_no_such_file.bin", CFile::modeRead, CFileException::fileNotFound},
                 {u"afx_file_plain.bin/x", CFile::modeRead, CFileException::badPath},
                 {nullptr, CFile::modeRead, CFileException::badPath},
                 {u".", CFile::modeRead, CFileException::accessDenied},
#if !defined(_WIN32)
                 // No UTF-8 form, so no POSIX name: never open another file instead.
                 {u"afx_file_\xD800.bin", CFile::modeCreate | CFile::modeWrite, CFileException::badPath},
#endif
                 {u"afx_file_plain.bin", CFile::modeRead | CFile::shareDenyWrite, kNoException}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        CFile file;
        CFileException error;
        EXPECT_EQ(c.cause == kNoException, file.Open(c.name, c.flags, &error) != FALSE);
        if (c.cause != kNoException)
        {
            EXPECT_EQ(c.cause, error.m_cause);
            EXPECT_EQ(CFile::hFileNull, file.m_hFile);
        }
        EXPECT_EQ(c.cause, ExceptionCause<CFileException>([&] { CFile thrown(c.name, c.flags); }));
    }
}

TEST(CFile, TheShareFlagsKeepOutAWriter)
{
    const TemporaryFile temporary(u"afx_file_shared.bin");
    CFile(temporary.Name(), CFile::modeCreate | CFile::modeWrite).Close();
    const UINT writer = CFile::modeWrite | CFile::shareDenyNone;
    {
        CFile reader(temporary.Name(), CFile::modeRead | CFile::shareDenyWrite);
        EXPECT_EQ(CFileException::sharingViolation,
                  ExceptionCause<CFileException>([&] { CFile denied(temporary.Name(), writer); }));
    }
    EXPECT_EQ(kNoException, ExceptionCause<CFileException>([&] { CFile allowed(temporary.Name(), writer); }));
}

TEST(CFile, TransfersFailWithTheCause)
{
    const TemporaryFile temporary(u"afx_file_access.bin");
    const BYTE byte = 1;
    CFile(temporary.Name(), CFile::modeCreate | CFile::modeWrite).Write(&byte, 1);
    BYTE buffer = 0;
    const struct
    {
        UINT flags;
        void (*transfer)(CFile&, BYTE&);
        int cause;
    } cases[] = {{CFile::modeWrite, [](CFile& f, BYTE& b) { f.Read(&b, 1); }, CFileException::accessDenied},
                 {CFile::modeRead, [](CFile& f, BYTE& b) { f.Write(&b, 1); }, CFileException::accessDenied},
                 {CFile::modeRead, [](CFile& f, BYTE&) { f.Flush(); }, CFileException::accessDenied},
                 {CFile::modeWrite, [](CFile& f, BYTE&) { f.Flush(); }, kNoException},
                 {CFile::modeRead, [](CFile& f, BYTE&) { f.Seek(-1, CFile::begin); }, CFileException::badSeek},
                 {CFile::modeRead, [](CFile& f, BYTE&) { f.Seek(-2, CFile::end); }, CFileException::badSeek}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(&c - cases);
        CFile file(temporary.Name(), c.flags);
        EXPECT_EQ(c.cause, ExceptionCause<CFileException>([&] { c.transfer(file, buffer); }));
        EXPECT_EQ(0u, file.GetPosition());
    }
}

TEST(CFile, PositionsAndLengthsGoBeyondFourGiB)
{
    const TemporaryFile temporary(u"afx_file_large.bin");
    CFile file(temporary.Name(), CFile::modeCreate | CFile::modeReadWrite);
    const ULONGLONG fourGiB = 0x100000000ULL;
    EXPECT_EQ(fourGiB + 1, file.Seek(static_cast<LONGLONG>(fourGiB) + 1, CFile::begin));
    const BYTE byte = 0x7F;
    file.Write(&byte, 1); // the file system leaves the gap unallocated
    EXPECT_EQ(fourGiB + 2, file.GetLength());
    EXPECT_EQ(fourGiB + 2, file.GetPosition());
    EXPECT_EQ(fourGiB - 1, file.Seek(-3, CFile::current)); // the low part is INVALID_SET_FILE_POINTER
    EXPECT_EQ(fourGiB + 1, file.Seek(-1, CFile::end));
    BYTE read = 0;
    EXPECT_EQ(1u, file.Read(&read, 1));
    EXPECT_EQ(byte, read);

    // Opened again by its name, so large a file is no different.
    file.Close();
    CFile again(temporary.Name(), CFile::modeRead);
    EXPECT_EQ(fourGiB + 2, again.GetLength());
    EXPECT_EQ(fourGiB + 1, again.Seek(-1, CFile::end));
    read = 0;
    EXPECT_EQ(1u, again.Read(&read, 1));
    EXPECT_EQ(byte, read);
}

TEST(CFile, AHandleStaysTheCallersAndOpenAfterward)
{
    const TemporaryFile temporary(u"afx_file_handle.bin");
    CFile owner(temporary.Name(), CFile::modeCreate | CFile::modeReadWrite);
    const BYTE byte = 0x42;
    {
        CFile borrowed(owner.m_hFile);
        borrowed.Write(&byte, 1);
    }
    owner.Write(&byte, 1);
    EXPECT_EQ(2u, owner.GetLength());
}

TEST(CFile, CarriesAnArchive)
{
    const TemporaryFile temporary(u"afx_file_archive.bin");
    {
        CFile file(temporary.Name(), CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << CString(u"name");
        ar.WriteCount(70000);
        ar.Close();
    }
    CFile file(temporary.Name(), CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    CString name;
    ar >> name;
    EXPECT_TRUE(name == u"name");
    EXPECT_EQ(70000u, ar.ReadCount());
    EXPECT_EQ(CArchiveException::endOfFile, ExceptionCause<CArchiveException>([&] { ar.ReadCount(); }));
}
}
