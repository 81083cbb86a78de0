#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Opens the protected scanner steps to the tests.
struct Scanner : CZOLLibXMLNode
{
    using CZOLLibXMLNode::ParseIdentifier;
    using CZOLLibXMLNode::ParseMatch;
};

TEST(ParseMatch, ConsumesTheTokenOrNothing)
{
    const struct
    {
        std::u16string text;
        const char16_t* token;
        int cursorAfter; // 0: refused, the cursor unmoved
    } cases[] = {{u"  \r\n<a", u"<", 5},  {u"  x", u"<", 0},   {u"</a", u"</a>", 0}, // the text ends inside
                 {u"</A>", u"</a>", 0},   {u" \t\r\n", u"<", 0}, {u"\f<", u"<", 0},   // no form feed in markup
                 {u"\t<!--x", u"<!--", 5}, {u"<a", u"", 0}};
    for (const auto& c : cases)
    {
        LPCWSTR cursor = c.text.c_str();
        EXPECT_EQ(c.cursorAfter != 0, Scanner::ParseMatch(cursor, c.token) == 1) << Utf8(c.text.c_str());
        EXPECT_EQ(c.cursorAfter, cursor - c.text.c_str()) << Utf8(c.text.c_str());
    }
}

TEST(ParseIdentifier, ReadsNameCharactersOfAnyScript)
{
    const struct
    {
        std::u16string text;
        const char* name; // "old": refused, the name untouched
        int cursorAfter;
    } cases[] = {{u" ns:item_2 x", "ns:item_2", 10},
                 {u"my-tag", "my", 2},
                 {u"a.b", "a", 1},
                 {u"=x", "old", 0},
                 {u" -x", "old", 0},
                 {u"2abc>", "2abc", 4},
                 {u"\u00E9t\u00E9 \u03B1", "\u00E9t\u00E9", 3},
                 {u"\u6F22\u5B57\u0660/", "\u6F22\u5B57\u0660", 3},
                 {u"\u00A0a", "old", 0}}; // no-break space: neither name nor markup space
    for (const auto& c : cases)
    {
        LPCWSTR cursor = c.text.c_str();
        CString name(u"old");
        EXPECT_EQ(c.cursorAfter != 0, Scanner::ParseIdentifier(cursor, name) == 1) << c.name;
        EXPECT_EQ(c.name, Utf8(name));
        EXPECT_EQ(c.cursorAfter, cursor - c.text.c_str()) << c.name;
    }
}

TEST(StringToValue, DecodesTheSpanAndStopsWhereItSays)
{
    const int kWhole = -1;
    const struct
    {
        std::u16string span;
        int length; // kWhole: the whole span
        std::u16string value;
        int cursorAfter; // kWhole: the span's end
    } cases[] = {
        {u"  a \t\r\n b  ", kWhole, u"a b ", kWhole},
        {u"a\v\fb\u3000\u2003c\u00A0", kWhole, u"a b c\u00A0", kWhole}, // U+00A0 is no white space
        {u"&AMP;&Lt;&gT;&QUOT;&apos;&nbsp;", kWhole, u"&<>\"' ", kWhole},
        {u"&nbsp;&nbsp;x \t", kWhole, u"  x ", kWhole}, // spaces from references stay
        {u"&#65;&#9731;&#65535;", kWhole, u"A\u2603\xFFFF", kWhole},
        {u"&#128512;&#65536;&#1114111;", kWhole, u"\U0001F600\U00010000\U0010FFFF", kWhole}, // beyond U+FFFF: a pair
        {u"&#55357;&#56832;", kWhole, u"\xD83D\xDE00", kWhole},                        // a pair written unit by unit
        {u"&#1114112;&#1179713;", kWhole, std::u16string(u"\0A", 2), kWhole},           // past U+10FFFF: modulo 65536
        {u"&#128512", kWhole, u"\U0001F600", kWhole},
        {u"&#4294967295;&#99999999999999999999;", kWhole, u"\xFFFF\xFFFF", kWhole}, // saturates at 32 bits
        {u"&#65 rest", kWhole, u"A", kWhole},
        {u"&#65xyz;b", kWhole, u"Ab", kWhole},
        {u"a&#x41;b", kWhole, u"a", 3}, // no hexadecimal form: an early stop
        {u"&#;", kWhole, u"", 2},
        {u"x&", kWhole, u"x", kWhole},
        {u"x&#", kWhole, u"x", kWhole},
        {u"AT&T &unknown;", kWhole, u"AT&T &unknown;", kWhole},
        {u"& &&amp;", kWhole, u"& &&", kWhole},
        {u"abc", 0, u"", 0},
        {u"abc", -3, u"", 0},
        {u" \t ", kWhole, u"", kWhole},
        // The span's end is the end of the text for every step.
        {u"&amp;", 4, u"&amp", 4},
        {u"&#65;x", 4, u"A", 4},
        {u"&#6553", 3, u"\x0006", 3},
        {u"a  b", 2, u"a ", 2},
        // So is a NUL inside the span, where the cursor stays.
        {std::u16string(u"ab\0cd", 5), kWhole, u"ab", 2},
        {std::u16string(u"&#65\0;x", 7), kWhole, u"A", 4}};
    for (const auto& c : cases)
    {
        const int length = c.length == kWhole ? static_cast<int>(c.span.size()) : c.length;
        LPCWSTR cursor = c.span.c_str();
        const CString value = CZOLLibXMLNode::StringToValue(cursor, length);
        EXPECT_EQ(c.value, std::u16string(value.GetString(), static_cast<std::size_t>(value.GetLength())))
            << Utf8(c.span.c_str());
        EXPECT_EQ(c.cursorAfter == kWhole ? length : c.cursorAfter, cursor - c.span.c_str()) << Utf8(c.span.c_str());
    }
}
} // namespace
