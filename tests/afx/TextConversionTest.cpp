#include <afx/core/TextConversion.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::u16string Decode(const std::string& bytes)
{
    std::vector<WCHAR> out(bytes.size());
    const std::size_t n = AfxDecodeUtf8(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out.data());
    return std::u16string(out.data(), n);
}

TEST(AfxDecodeUtf8, ReplacesEachMaximalInvalidSubpart)
{
    const std::u16string R = u"\xFFFD";
    const struct
    {
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
        {"\xC3\xA9\xE2\x98\x83", u"\u00E9\u2603"},
        {"\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", u"\xD83D\xDE00\xDBFF\xDFFF"}, // surrogate pairs, up to U+10FFFF
        // The Unicode Standard's own example of maximal subparts.
        {"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", u"a" + R + R + R + u"b" + R + u"c" + R + R + u"d"},
        {"\xC0\xAF", R + R},             // overlong lead bytes never start a sequence
        {"\xE0\x80\xAF", R + R + R},     // overlong three-byte form
        {"\xED\xA0\x80", R + R + R},     // encoded surrogate
        {"\xF4\x90\x80\x80", R + R + R + R}, // above U+10FFFF
        {"\xE2\x82", R},                 // truncated at the end
        {"\xF0\x9F\x98<", R + u"<"},     // the breaking byte starts afresh
        {"0123456789abcdef\xC3\xA9", u"0123456789abcdef\u00E9"}, // across the eight-byte ASCII steps
        {"01234567\x80", u"01234567" + R}};
    for (const auto& c : cases)
        EXPECT_EQ(c.units, Decode(c.bytes)) << c.bytes;
}

TEST(AfxEncodeUtf8, EncodesAndReportsLoneSurrogates)
{
    const struct
    {
        std::u16string units;
        std::string bytes;
        BOOL exact;
    } cases[] = {{u"", "", TRUE},
                 {u"\u00FC\u6587\uFFFF", "\xC3\xBC\xE6\x96\x87\xEF\xBF\xBF", TRUE},
                 {u"\xD83D\xDE00", "\xF0\x9F\x98\x80", TRUE},
                 {u"a\xD800", "a\xEF\xBF\xBD", FALSE},
                 {u"\xDC00\xD800x", "\xEF\xBF\xBD\xEF\xBF\xBDx", FALSE}};
    for (const auto& c : cases)
    {
        CUtf8String out("stale");
        EXPECT_EQ(c.exact, AfxEncodeUtf8(c.units.data(), c.units.size(), out)) << c.bytes;
        EXPECT_EQ(c.bytes, std::string(out.begin(), out.end()));
    }
}

TEST(AfxEncodeUtf8, EveryScalarValueRoundTrips)
{
    std::u16string all;
    for (char32_t ch = 1; ch <= 0x10FFFF; ++ch)
    {
        if (ch < 0xD800 || (ch > 0xDFFF && ch < 0x10000))
            all += static_cast<char16_t>(ch);
        else if (ch >= 0x10000)
            all += {static_cast<char16_t>(0xD800 + ((ch - 0x10000) >> 10)),
                    static_cast<char16_t>(0xDC00 + ((ch - 0x10000) & 0x3FF))};
    }
    CUtf8String bytes;
    ASSERT_TRUE(AfxEncodeUtf8(all.data(), all.size(), bytes));
    EXPECT_EQ(all, Decode(std::string(bytes.begin(), bytes.end())));
}
} // namespace
