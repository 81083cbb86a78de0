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

TEST(CFile, OpeningAMissingFileFails)
{
    CFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(u"afx_no_such_file.bin", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    EXPECT_EQ(CFile::hFileNull, file.m_hFile);

    EXPECT_EQ(CFileException::fileNotFound,
              ExceptionCause<CFileException>([] { CFile missing(u"afx_no_such_file.bin", CFile::modeRead); }));
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
