#include "ArchiveBytes.h"

#include <gtest/gtest.h>

namespace
{
// Pieces around the buffer's size, so that writes and reads fit in the
// buffer, cross it and go straight to the file.
const UINT kPieces[] = {1, 127, 128, 129, 2, 300, 4095, 4096, 4097, 9000, 3};

Bytes Pattern(std::size_t n, BYTE seed)
{
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<BYTE>(seed + i * 7);
    return bytes;
}

class ArchiveBuffer : public testing::TestWithParam<int>
{
};

TEST_P(ArchiveBuffer, PiecesOfAnySizeArriveInOrder)
{
    Bytes expected;
    BYTE seed = 0;
    for (UINT n : kPieces)
        expected = expected + Pattern(n, seed++);

    const Bytes stored = StoredBytes(
        [&](CArchive& ar) {
            std::size_t at = 0;
            for (UINT n : kPieces)
            {
                ar.Write(expected.data() + at, n);
                at += n;
            }
        },
        GetParam());
    EXPECT_EQ(expected, stored);

    LoadingArchive loading(stored, GetParam());
    Bytes loaded(expected.size());
    std::size_t at = 0;
    for (UINT n : kPieces)
    {
        EXPECT_EQ(n, loading.Archive().Read(loaded.data() + at, n));
        at += n;
    }
    EXPECT_EQ(expected, loaded);
    BYTE beyond[8];
    EXPECT_EQ(0u, loading.Archive().Read(beyond, sizeof beyond));
}

INSTANTIATE_TEST_SUITE_P(Sizes, ArchiveBuffer, testing::Values(1, 128, 4096, 100000));

TEST(ArchiveBuffer, ReadReturnsWhatIsLeftAtTheEnd)
{
    for (std::size_t size : {std::size_t{5}, std::size_t{200}, std::size_t{5000}})
    {
        LoadingArchive loading(Pattern(size, 1), 128);
        Bytes loaded(size + 1000);
        EXPECT_EQ(size, loading.Archive().Read(loaded.data(), static_cast<UINT>(loaded.size())));
        EXPECT_EQ(Pattern(size, 1), Bytes(loaded.begin(), loaded.begin() + static_cast<std::ptrdiff_t>(size)));
    }
}

TEST(ArchiveBuffer, StoredBytesReachTheFileOnFlushCloseOrDestruction)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<WORD>(1);
        EXPECT_EQ(0u, file.GetLength()) << "held in the buffer";
        ar.Flush();
        EXPECT_EQ(2u, file.GetLength());
        ar << static_cast<WORD>(2);
        ar.Close();
        EXPECT_EQ(4u, file.GetLength());
    }
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<WORD>(3);
    }
    EXPECT_EQ(HexBytes("01 00 02 00 03 00"), FileBytes(file));
}

TEST(ArchiveBuffer, ClosingALoadingArchiveLeavesTheFileJustBehindWhatWasRead)
{
    LoadingArchive loading(HexBytes("01 00 02 00 03 00"));
    EXPECT_EQ(1u, loading.Archive().ReadCount());
    loading.Archive().Close();
    EXPECT_EQ(2u, loading.File().GetPosition());

    CArchive next(&loading.File(), CArchive::load);
    EXPECT_EQ(2u, next.ReadCount());
}

TEST(ArchiveBuffer, MisuseRaisesArchiveExceptions)
{
    BYTE byte = 0;
    LoadingArchive loading(HexBytes("01"));
    EXPECT_EQ(CArchiveException::readOnly,
              ExceptionCause<CArchiveException>([&] { loading.Archive().Write(&byte, 1); }));

    CMemFile file;
    CArchive storing(&file, CArchive::store);
    EXPECT_EQ(CArchiveException::writeOnly, ExceptionCause<CArchiveException>([&] { storing.Read(&byte, 1); }));

    storing.Close();
    loading.Archive().Close();
    EXPECT_EQ(CArchiveException::genericException, ExceptionCause<CArchiveException>([&] { storing << byte; }));
    EXPECT_EQ(CArchiveException::genericException,
              ExceptionCause<CArchiveException>([&] { loading.Archive() >> byte; }));
    EXPECT_EQ(CArchiveException::genericException, ExceptionCause<CArchiveException>([&] { storing.Flush(); }));
}
}
