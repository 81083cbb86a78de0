#include "WriterTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct UniformCase
{
    const char* what;
    std::u16string input;
    std::u16string expected;
};

class UniformStringTable : public testing::TestWithParam<UniformCase>
{
};

TEST_P(UniformStringTable, Normalises)
{
    const UniformCase& c = GetParam();
    CString text(c.input.data(), static_cast<int>(c.input.size()));
    CZOLLibXMLNode::UniformString(text);
    EXPECT_EQ(c.expected, Units(text)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Normalising, UniformStringTable,
    testing::Values(
        UniformCase{"trim, collapse, drop", u"  Hello,   World!  ", u"Hello, World"},
        UniformCase{"tab and symbols", u"Price:\t$5.00 (net)", u"Price 500 (net)"},
        UniformCase{"line breaks", u"a\r\n\r\nb", u"a b"},
        UniformCase{"removed character between runs", u"a + b", u"a b"},
        UniformCase{"trailing space stays after a removal", u"x ?", u"x "},
        UniformCase{"kept punctuation", u"Tom & Jerry's #1/2; (c)", u"Tom & Jerry's #1/2; (c)"},
        UniformCase{"hyphen and comma kept", u"well-known, fine", u"well-known, fine"},
        UniformCase{"accented letters", u"Cr\u00E8me br\u00FBl\u00E9e", u"Cr\u00E8me br\u00FBl\u00E9e"},
        UniformCase{"only removable", u"!?", u""},
        UniformCase{"empty", u"", u""},
        UniformCase{"white space only", u" \t\r\n\v\f ", u""},
        UniformCase{"case unchanged", u"MiXeD CaSe", u"MiXeD CaSe"},
        UniformCase{"non-Latin text", u"\u6F22\u5B57 \u30C6\u30B9\u30C8 \u0416\u0438\u0437\u043D\u044C",
                    u"\u6F22\u5B57 \u30C6\u30B9\u30C8 \u0416\u0438\u0437\u043D\u044C"},
        UniformCase{"from 0xC0 kept, symbols too", u"a\u00D7b\u2603", u"a\u00D7b\u2603"},
        UniformCase{"lone tab between words", u"a\tb", u"a b"},
        UniformCase{"control character first", u"\x01" u"a", u"a"},
        UniformCase{"control character between words", u"a\x01" u"b", u"a b"},
        UniformCase{"control character last", u"a\x01", u"a "},
        UniformCase{"embedded NUL is a break", std::u16string(u"a\0b", 3), u"a b"},
        UniformCase{"DEL removed", u"a\x7F" u"b", u"ab"},
        UniformCase{"0x80 to 0xBF: letters kept, others removed", u"\u00AA\u00A7\u00B5\u00BF!", u"\u00AA\u00B5"},
        UniformCase{"wide spaces trimmed, kept inside from 0xC0", u"\u3000a\u3000b\u3000", u"a\u3000b"},
        UniformCase{"next line is space at the ends, removed inside", u"\u0085a\u0085b\u0085", u"ab"}));
}
