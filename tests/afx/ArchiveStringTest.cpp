#include "ArchiveBytes.h"

#include <gtest/gtest.h>

namespace
{
// A string of n code units that differ from their neighbours.
CString Units(int n)
{
    CString s;
    for (int i = 0; i < n; ++i)
        s.AppendChar(static_cast<WCHAR>(u'A' + i % 26));
    return s;
}

struct StoredPrefix
{
    int length;
    const char* hex;
};

class ArchiveStringPrefix : public testing::TestWithParam<StoredPrefix>
{
};

TEST_P(ArchiveStringPrefix, StoresUtf16TaggedPrefixAndUnitsAndLoadsThemBack)
{
    const StoredPrefix form = GetParam();
    const CString text = Units(form.length);
    const Bytes bytes = StoredBytes([&](CArchive& ar) { ar << text; });

    const Bytes prefix = HexBytes(form.hex);
    ASSERT_EQ(prefix.size() + 2 * static_cast<std::size_t>(form.length), bytes.size());
    EXPECT_EQ(prefix, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(prefix.size())));
    if (form.length > 0)
    {
        EXPECT_EQ(u'A', bytes[prefix.size()]);
        EXPECT_EQ(0, bytes[prefix.size() + 1]);
    }

    LoadingArchive loading(bytes);
    CString loaded(u"old");
    loading.Archive() >> loaded;
    EXPECT_TRUE(loaded == text);
    loading.Archive().Flush();
    EXPECT_EQ(bytes.size(), loading.File().GetPosition()) << "the string is read exactly";
}

INSTANTIATE_TEST_SUITE_P(Edges, ArchiveStringPrefix,
                         testing::Values(StoredPrefix{0, "FF FE FF 00"}, StoredPrefix{1, "FF FE FF 01"},
                                         StoredPrefix{254, "FF FE FF FE"}, StoredPrefix{255, "FF FE FF FF FF 00"},
                                         StoredPrefix{65533, "FF FE FF FF FD FF"},
                                         StoredPrefix{65534, "FF FE FF FF FF FF FE FF 00 00"},
                                         StoredPrefix{65535, "FF FE FF FF FF FF FF FF 00 00"},
                                         StoredPrefix{100000, "FF FE FF FF FF FF A0 86 01 00"}));

struct AcceptedPrefix
{
    const char* hex;
    UINT_PTR length;
    int charSize;
};

class ArchiveStringLength : public testing::TestWithParam<AcceptedPrefix>
{
};

TEST_P(ArchiveStringLength, ReadsEveryPrefixForm)
{
    const AcceptedPrefix form = GetParam();
    LoadingArchive loading(HexBytes(form.hex) + HexBytes("AA"));
    int charSize = 0;
    EXPECT_EQ(form.length, AfxReadStringLength(loading.Archive(), charSize));
    EXPECT_EQ(form.charSize, charSize);
    BYTE next = 0;
    loading.Archive() >> next;
    EXPECT_EQ(0xAA, next) << "the prefix is read exactly";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveStringLength,
    testing::Values(AcceptedPrefix{"00", 0, 1}, AcceptedPrefix{"FE", 254, 1}, AcceptedPrefix{"FF FF 00", 255, 1},
                    AcceptedPrefix{"FF FD FF", 65533, 1}, AcceptedPrefix{"FF FF FF FE FF 00 00", 65534, 1},
                    AcceptedPrefix{"FF FF FF FF FF FF FF", 0xFFFFFFFF, 1}, AcceptedPrefix{"FF FE FF 00", 0, 2},
                    AcceptedPrefix{"FF FE FF FE", 254, 2}, AcceptedPrefix{"FF FE FF FF 00 01", 256, 2},
                    // Once tagged, 0xFFFE is a length, not a second tag.
                    AcceptedPrefix{"FF FE FF FF FE FF", 65534, 2},
                    AcceptedPrefix{"FF FE FF FF FF FF 00 00 01 00", 65536, 2},
                    AcceptedPrefix{"FF FE FF FF FF FF FF FF FF FF", 0xFFFFFFFF, 2}));

TEST(ArchiveStringLength, WritesUntaggedFormForEightBitText)
{
    const Bytes bytes = StoredBytes([](CArchive& ar) {
        AfxWriteStringLength(ar, 254, FALSE);
        AfxWriteStringLength(ar, 255, FALSE);
        AfxWriteStringLength(ar, 65534, FALSE);
    });
    EXPECT_EQ(HexBytes("FE  FF FF 00  FF FF FF FE FF 00 00"), bytes);
}

// Stores 8-bit text as its untagged prefix and bytes.
Bytes EightBitString(const Bytes& text)
{
    return StoredBytes([&](CArchive& ar) {
        AfxWriteStringLength(ar, text.size(), FALSE);
        ar.Write(text.data(), static_cast<UINT>(text.size()));
    });
}

TEST(ArchiveString, WidensEightBitTextFromWindows1252)
{
    struct Widening
    {
        BYTE byte;
        WCHAR unit;
    };
    const Widening table[] = {{0x41, u'A'},    {0x7F, 0x007F},  {0x80, 0x20AC}, {0x81, 0x0081}, {0x8A, 0x0160},
                              {0x8D, 0x008D},  {0x8F, 0x008F},  {0x90, 0x0090}, {0x92, 0x2019}, {0x99, 0x2122},
                              {0x9D, 0x009D},  {0x9F, 0x0178},  {0xA0, 0x00A0}, {0xE9, 0x00E9}, {0xFF, 0x00FF}};
    Bytes text;
    for (const Widening& w : table)
        text.push_back(w.byte);

    LoadingArchive loading(EightBitString(text));
    CString loaded;
    loading.Archive() >> loaded;
    ASSERT_EQ(static_cast<int>(text.size()), loaded.GetLength());
    for (std::size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ(table[i].unit, loaded[static_cast<int>(i)]) << "byte " << int{table[i].byte};
}

TEST(ArchiveString, LongEightBitTextArrivesWhole)
{
    Bytes text(70000);
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<BYTE>('a' + i % 26);
    LoadingArchive loading(EightBitString(text), 128);
    CString loaded;
    loading.Archive() >> loaded;
    ASSERT_EQ(70000, loaded.GetLength());
    EXPECT_EQ(u'a', loaded[0]);
    EXPECT_EQ(static_cast<WCHAR>('a' + 69999 % 26), loaded[69999]);
}

TEST(ArchiveString, LoadedTextEndsAtFirstNul)
{
    const Bytes wide = HexBytes("FF FE FF 04  61 00 00 00 62 00 63 00");
    const Bytes narrow = HexBytes("04  61 00 62 63");
    for (const Bytes& bytes : {wide, narrow})
    {
        LoadingArchive loading(bytes + HexBytes("FF FE FF 01 7A 00"));
        CString first;
        CString second;
        loading.Archive() >> first >> second;
        EXPECT_TRUE(first == u"a");
        EXPECT_TRUE(second == u"z") << "the units after the NUL are read all the same";
    }
}

TEST(ArchiveString, CutShortRaisesEndOfFileAndKeepsTheTarget)
{
    for (const char* hex : {"", "FF", "FF FE", "FF FE FF", "FF FE FF FF 00", "FF FE FF 02 61 00", "FF FE FF 01 61",
                            "03 61 62", "FF FF FF 00 00 01"})
    {
        LoadingArchive loading(HexBytes(hex));
        CString target(u"old");
        EXPECT_EQ(CArchiveException::endOfFile, ExceptionCause<CArchiveException>([&] { loading.Archive() >> target; }))
            << '"' << hex << '"';
        EXPECT_TRUE(target == u"old");
    }
}

TEST(ArchiveString, HostileLengthFailsAfterReadingWhatIsThere)
{
    for (const char* prefix :
         {"FF FE FF FF FF FF FF FF FF FF", "FF FF FF FF FF FF FF", "FF FE FF FF FF FF FF FF FF 7F"})
    {
        LoadingArchive loading(HexBytes(prefix) + Bytes(100000, 0x41));
        CString target;
        EXPECT_EQ(CArchiveException::endOfFile,
                  ExceptionCause<CArchiveException>([&] { loading.Archive() >> target; }))
            << prefix;
        EXPECT_EQ(loading.File().GetLength(), loading.File().GetPosition());
    }
}
}
