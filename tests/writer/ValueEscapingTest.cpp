#include "WriterTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct EscapeCase
{
    const char* what;
    std::u16string before;
    std::u16string value;
    std::u16string expected;
};

class ValueToStringTable : public testing::TestWithParam<EscapeCase>
{
};

TEST_P(ValueToStringTable, AppendsEscapedValue)
{
    const EscapeCase& c = GetParam();
    CString out(c.before.c_str());
    CZOLLibXMLNode::ValueToString(c.value.c_str(), out);
    EXPECT_EQ(c.expected, Units(out)) << c.what;
}

const std::u16string kManyAccents(300, u'\u00E9');
std::u16string Repeat(const std::u16string& piece, int n)
{
    std::u16string text;
    for (int i = 0; i < n; ++i)
        text += piece;
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Escaping, ValueToStringTable,
    testing::Values(
        EscapeCase{"appends behind the content", u"a=", u"x<y", u"a=x&lt;y"},
        EscapeCase{"empty value, empty output", u"", u"", u""},
        EscapeCase{"empty value keeps the output", u"keep", u"", u"keep"},
        EscapeCase{"five entities", u"", u"&<>\"'", u"&amp;&lt;&gt;&quot;&apos;"},
        EscapeCase{"entities are escaped again", u"", u"&amp;&#233;", u"&amp;amp;&amp;#233;"},
        EscapeCase{"mixed", u"", u"Tom & Jerry's <best>", u"Tom &amp; Jerry&apos;s &lt;best&gt;"},
        EscapeCase{"references from 128 up", u"", u"\u0080\u00A0\u00E9\uFFFF", u"&#128;&#160;&#233;&#65535;"},
        EscapeCase{"references of every width", u"", u"\u03E7\u03E8\u270F\u2710", u"&#999;&#1000;&#9999;&#10000;"},
        EscapeCase{"surrogates one by one", u"", u"\U0001F600", u"&#55357;&#56832;"},
        EscapeCase{"lone surrogate", u"", std::u16string{0xDC00, u'x'}, u"&#56320;x"},
        EscapeCase{"controls and DEL unchanged", u"", u"\x01\t\r\n\x1F\x7F", u"\x01\t\r\n\x1F\x7F"},
        EscapeCase{"growth past the reservation", u"<", kManyAccents + u"!", u"<" + Repeat(u"&#233;", 300) + u"!"},
        EscapeCase{"growth with long plain runs", u"", Repeat(u"\u4E00abcdefghijklmnopqrstuvwxyz", 50),
                   Repeat(u"&#19968;abcdefghijklmnopqrstuvwxyz", 50)}));

TEST(ValueToString, StopsAtTheFirstNul)
{
    const CString value(u"a<\0b>", 5);
    CString out;
    CZOLLibXMLNode::ValueToString(value, out);
    EXPECT_EQ(u"a&lt;", Units(out));
}

TEST(ValueToString, NullValueAppendsNothing)
{
    CString out(u"x");
    CZOLLibXMLNode::ValueToString(nullptr, out);
    EXPECT_EQ(u"x", Units(out));
}

TEST(ValueToString, ValueFromTheOutputItself)
{
    // The output grows while the value is read: the value must not move.
    CString out(u"a<\u00E9");
    CZOLLibXMLNode::ValueToString(out, out);
    EXPECT_EQ(u"a<\u00E9a&lt;&#233;", Units(out));
    CString tail(u"xy&");
    CZOLLibXMLNode::ValueToString(tail.GetString() + 1, tail);
    EXPECT_EQ(u"xy&y&amp;", Units(tail));
}

TEST(ValueToString, PlainValueNeedsNoMoreThanItsLength)
{
    const std::u16string value(1000, u'v');
    CString out(u"a=");
    out.Preallocate(2 + 1000);
    const LPCWSTR pBefore = out.GetString();
    CZOLLibXMLNode::ValueToString(value.c_str(), out);
    EXPECT_EQ(pBefore, out.GetString());
    EXPECT_EQ(u"a=" + value, Units(out));
}
}
