#include <afx/core/TextConversion.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
struct DecodeCase
{
    std::string bytes;
    std::u16string units;
};

std::u16string Decode(const std::string& bytes)
{
    std::vector<WCHAR> out(bytes.size());
    const std::size_t n = AfxDecodeUtf8(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out.data());
    return std::u16string(out.data(), n);
}

const std::u16string R = u"\xFFFD";

class Utf8Decoding : public testing::TestWithParam<DecodeCase>
{
};

TEST_P(Utf8Decoding, ReplacesEachMaximalInvalidSubpart)
{
    EXPECT_EQ(GetParam().units, Decode(GetParam().bytes));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Decoding,
    testing::Values(
        DecodeCase{"", u""}, DecodeCase{std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        DecodeCase{"\xC3\xA9\xE2\x98\x83", u"\u00E9\u2603"},
        DecodeCase{"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // outside the BMP: a surrogate pair
        DecodeCase{"\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},  // U+10FFFF
        DecodeCase{"\xEF\xBB\xBF", u"\xFEFF"},
        // The Unicode Standard's own example of maximal subparts.
        DecodeCase{"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", u"a" + R + R + R + u"b" + R + u"c" + R + R + u"d"},
        DecodeCase{"\xC0\xAF", R + R},               // overlong lead bytes never start a sequence
        DecodeCase{"\xE0\x80\xAF", R + R + R},       // overlong three-byte form
        DecodeCase{"\xED\xA0\x80", R + R + R},       // encoded surrogate
        DecodeCase{"\xF4\x90\x80\x80", R + R + R + R}, // above U+10FFFF
        DecodeCase{"\xF5\xFF\xFE", R + R + R},
        DecodeCase{"\xE2\x82", R},                   // truncated at the end
        DecodeCase{"\xE2\x82x", R + u"x"},           // the breaking byte starts afresh
        DecodeCase{"\xF0\x9F\x98<", R + u"<"},
        // Across the eight-byte ASCII steps.
        DecodeCase{"0123456789abcdef\xC3\xA9", u"0123456789abcdef\u00E9"},
        DecodeCase{"01234567\x80", u"01234567" + R}));

struct EncodeCase
{
    std::u16string units;
    std::string bytes;
    BOOL exact;
};

class Utf8Encoding : public testing::TestWithParam<EncodeCase>
{
};

TEST_P(Utf8Encoding, EncodesAndReportsLoss)
{
    const EncodeCase& c = GetParam();
    CUtf8String out("stale");
    EXPECT_EQ(c.exact, AfxEncodeUtf8(c.units.data(), c.units.size(), out));
    EXPECT_EQ(c.bytes, std::string(out.begin(), out.end()));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Utf8Encoding,
    testing::Values(EncodeCase{u"", "", TRUE}, EncodeCase{u"a/b", "a/b", TRUE},
                    EncodeCase{u"\u00FC\u6587\uFFFF", "\xC3\xBC\xE6\x96\x87\xEF\xBF\xBF", TRUE},
                    EncodeCase{u"\xD83D\xDE00", "\xF0\x9F\x98\x80", TRUE},
                    EncodeCase{u"a\xD800", "a\xEF\xBF\xBD", FALSE},      // high surrogate at the end
                    EncodeCase{u"\xDC00\xD800x", "\xEF\xBF\xBD\xEF\xBF\xBDx", FALSE}));

TEST(Utf8RoundTrip, EveryScalarValueSurvives)
{
    std::u16string all;
    for (char32_t ch = 1; ch <= 0x10FFFF; ++ch)
    {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            continue;
        if (ch < 0x10000)
            all += static_cast<char16_t>(ch);
        else
            all += {static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)),
                    static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF))};
    }
    CUtf8String bytes;
    ASSERT_TRUE(AfxEncodeUtf8(all.data(), all.size(), bytes));
    EXPECT_EQ(all, Decode(std::string(bytes.begin(), bytes.end())));
}
} // namespace
