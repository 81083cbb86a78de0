#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace
{
Bytes Counting(std::size_t n)
{
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<BYTE>(i);
    return bytes;
}

TEST(CMemFile, GrowsAsWrittenAndReadsBack)
{
    for (UINT growBytes : {1u, 16u, 1024u})
    {
        CMemFile file(growBytes);
        const Bytes expected = Counting(5000);
        for (std::size_t at = 0; at < expected.size(); at += 333)
            file.Write(expected.data() + at, static_cast<UINT>(std::min<std::size_t>(333, expected.size() - at)));
        EXPECT_EQ(expected.size(), file.GetLength());
        EXPECT_EQ(expected, FileBytes(file)) << "grow by " << growBytes;
    }
}

TEST(CMemFile, ReadsStopAtTheEnd)
{
    Bytes content = Counting(10);
    CMemFile file(content.data(), static_cast<UINT>(content.size()));
    BYTE buffer[16] = {};
    EXPECT_EQ(4u, file.Read(buffer, 4));
    EXPECT_EQ(6u, file.Read(buffer, sizeof buffer));
    EXPECT_EQ(5, buffer[1]);
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
    file.Seek(100, CFile::begin);
    EXPECT_EQ(0u, file.Read(buffer, sizeof buffer));
}

TEST(CMemFile, FixedBufferHoldsItsBytesAndCannotGrow)
{
    Bytes content = Counting(8);
    CMemFile file(content.data(), static_cast<UINT>(content.size()));
    EXPECT_EQ(8u, file.GetLength());
    file.Seek(6, CFile::begin);
    const BYTE two[2] = {0xAA, 0xBB};
    file.Write(two, 2);
    EXPECT_EQ(0xBB, content[7]) << "written in the caller's buffer";

    bool refused = false;
    try
    {
        file.Write(two, 1);
    }
    catch (CMemoryException* e)
    {
        refused = true;
        e->Delete();
    }
    EXPECT_TRUE(refused);
    EXPECT_EQ(8u, file.GetLength());
}

TEST(CMemFile, AttachedMallocBufferGrowsAndComesBackByDetach)
{
    auto* start = static_cast<BYTE*>(std::malloc(4));
    ASSERT_NE(nullptr, start);
    CMemFile file(start, 4, 16);
    EXPECT_EQ(0u, file.GetLength()) << "a growable attached buffer starts empty";
    const Bytes expected = Counting(100);
    file.Write(expected.data(), 100);
    const auto length = static_cast<std::size_t>(file.GetLength());
    BYTE* buffer = file.Detach();
    ASSERT_EQ(100u, length);
    EXPECT_EQ(0, std::memcmp(buffer, expected.data(), length));
    std::free(buffer);
}

TEST(CMemFile, DetachHandsOverTheBufferAndEmptiesTheFile)
{
    CMemFile file;
    const Bytes expected = Counting(300);
    file.Write(expected.data(), 300);
    BYTE* buffer = file.Detach();
    EXPECT_EQ(0, std::memcmp(buffer, expected.data(), 300));
    std::free(buffer);
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(0u, file.GetPosition());

    file.Write(expected.data(), 3);
    EXPECT_EQ(Counting(3), FileBytes(file)) << "the file goes on with a buffer of its own";
}

TEST(CMemFile, SeeksFromEachOrigin)
{
    CMemFile file;
    const Bytes content = Counting(10);
    file.Write(content.data(), 10);
    EXPECT_EQ(3u, file.Seek(3, CFile::begin));
    EXPECT_EQ(5u, file.Seek(2, CFile::current));
    EXPECT_EQ(8u, file.Seek(-2, CFile::end));
    file.SeekToBegin();
    EXPECT_EQ(0u, file.GetPosition());

    EXPECT_EQ(CFileException::badSeek, ExceptionCause<CFileException>([&] { file.Seek(-1, CFile::current); }));
    EXPECT_EQ(0u, file.GetPosition());
}

TEST(CMemFile, WritingBeyondTheEndFillsTheGapWithZeros)
{
    CMemFile file;
    const BYTE one = 0x11;
    file.Write(&one, 1);
    file.Seek(4, CFile::begin);
    file.Write(&one, 1);
    EXPECT_EQ(HexBytes("11 00 00 00 11"), FileBytes(file));
}
}
