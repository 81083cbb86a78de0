#include "ArchiveBytes.h"

#include <gtest/gtest.h>

namespace
{
struct CountForm
{
    DWORD count;
    const char* hex;
};

class ArchiveCount : public testing::TestWithParam<CountForm>
{
};

TEST_P(ArchiveCount, StoresAndLoadsMfcCountForm)
{
    const CountForm form = GetParam();
    const Bytes bytes = StoredBytes([&](CArchive& ar) { ar.WriteCount(form.count); });
    EXPECT_EQ(HexBytes(form.hex), bytes);

    LoadingArchive loading(bytes + HexBytes("AA"));
    EXPECT_EQ(form.count, loading.Archive().ReadCount());
    BYTE next = 0;
    loading.Archive() >> next;
    EXPECT_EQ(0xAA, next);
}

INSTANTIATE_TEST_SUITE_P(Edges, ArchiveCount,
                         testing::Values(CountForm{0, "00 00"}, CountForm{1, "01 00"}, CountForm{0xFFFE, "FE FF"},
                                         CountForm{0xFFFF, "FF FF FF FF 00 00"},
                                         CountForm{0x10000, "FF FF 00 00 01 00"},
                                         CountForm{0x7FFFFFFF, "FF FF FF FF FF 7F"},
                                         CountForm{0xFFFFFFFF, "FF FF FF FF FF FF"}));

TEST(ArchiveCount, CutShortRaisesEndOfFile)
{
    for (const char* hex : {"", "01", "FF FF", "FF FF 00 00 01"})
    {
        LoadingArchive loading(HexBytes(hex));
        EXPECT_EQ(CArchiveException::endOfFile,
                  ExceptionCause<CArchiveException>([&] { loading.Archive().ReadCount(); }))
            << '"' << hex << '"';
    }
}

TEST(ArchiveNumbers, AreLittleEndian)
{
    const Bytes bytes = StoredBytes([](CArchive& ar) {
        ar << static_cast<BYTE>(0x12) << static_cast<WORD>(0x3456) << static_cast<DWORD>(0x789ABCDE);
    });
    EXPECT_EQ(HexBytes("12 56 34 DE BC 9A 78"), bytes);

    LoadingArchive loading(bytes);
    BYTE by = 0;
    WORD w = 0;
    DWORD dw = 0;
    loading.Archive() >> by >> w >> dw;
    EXPECT_EQ(0x12, by);
    EXPECT_EQ(0x3456, w);
    EXPECT_EQ(0x789ABCDEu, dw);
}
}
