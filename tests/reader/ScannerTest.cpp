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

const int kWhole = -1;

struct MatchCase
{
    std::u16string text;
    const char16_t* token;
    int result;
    int cursorAfter; // where the cursor stands afterwards
};

class ParseMatchTable : public testing::TestWithParam<MatchCase>
{
};

TEST_P(ParseMatchTable, ConsumesTheTokenOrNothing)
{
    const MatchCase& c = GetParam();
    LPCWSTR cursor = c.text.c_str();
    EXPECT_EQ(c.result, Scanner::ParseMatch(cursor, c.token));
    EXPECT_EQ(c.cursorAfter, cursor - c.text.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseMatchTable,
    testing::Values(MatchCase{u"  \r\n<a", u"<", 1, 5}, MatchCase{u"  x", u"<", 0, 0},
                    MatchCase{u"</a", u"</a>", 0, 0},       // the text ends inside the token
                    MatchCase{u"</A>", u"</a>", 0, 0},      // case matters
                    MatchCase{u" \t\r\n", u"<", 0, 0},      // only white space
                    MatchCase{u"", u"<", 0, 0},
                    MatchCase{u"\f<", u"<", 0, 0},          // form feed is no markup white space
                    MatchCase{u"\t<!--x", u"<!--", 1, 5},
                    MatchCase{u"<a", u"", 0, 0}));

struct IdentifierCase
{
    std::u16string text;
    int result;
    const char* name;
    int cursorAfter;
};

class ParseIdentifierTable : public testing::TestWithParam<IdentifierCase>
{
};

TEST_P(ParseIdentifierTable, ReadsNameCharactersOnly)
{
    const IdentifierCase& c = GetParam();
    LPCWSTR cursor = c.text.c_str();
    CString name(u"old");
    EXPECT_EQ(c.result, Scanner::ParseIdentifier(cursor, name));
    EXPECT_EQ(c.name, Utf8(name));
    EXPECT_EQ(c.cursorAfter, cursor - c.text.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseIdentifierTable,
    testing::Values(IdentifierCase{u" ns:item_2 x", 1, "ns:item_2", 10}, IdentifierCase{u"my-tag", 1, "my", 2},
                    IdentifierCase{u"a.b", 1, "a", 1}, IdentifierCase{u"=x", 0, "old", 0},
                    IdentifierCase{u" -x", 0, "old", 0}, IdentifierCase{u"2abc>", 1, "2abc", 4},
                    IdentifierCase{u":_x", 1, ":_x", 3},
                    IdentifierCase{u"\u00E9t\u00E9 \u03B1\u03B2", 1, "\u00E9t\u00E9", 3},
                    IdentifierCase{u"\u6F22\u5B57\u0660/", 1, "\u6F22\u5B57\u0660", 3},
                    IdentifierCase{u"\u00A0a", 0, "old", 0}, // no-break space: neither name nor markup space
                    IdentifierCase{u"\n\n", 0, "old", 0}));

struct ValueCase
{
    std::u16string span;
    int length; // kWhole: the whole span
    std::u16string value;
    int cursorAfter; // kWhole: the span's end
};

class StringToValueTable : public testing::TestWithParam<ValueCase>
{
};

TEST_P(StringToValueTable, DecodesTheSpan)
{
    const ValueCase& c = GetParam();
    const int length = c.length == kWhole ? static_cast<int>(c.span.size()) : c.length;
    LPCWSTR cursor = c.span.c_str();
    const CString value = CZOLLibXMLNode::StringToValue(cursor, length);
    EXPECT_EQ(c.value, std::u16string(value.GetString(), static_cast<std::size_t>(value.GetLength())));
    EXPECT_EQ(c.cursorAfter == kWhole ? length : c.cursorAfter, cursor - c.span.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Table, StringToValueTable,
    testing::Values(
        ValueCase{u"  a \t\r\n b  ", kWhole, u"a b ", kWhole}, ValueCase{u"a\v\fb\u3000\u2003c", kWhole, u"a b c", kWhole},
        ValueCase{u"\u00A0x", kWhole, u"\u00A0x", kWhole}, // U+00A0 is no text white space
        ValueCase{u"&AMP;&Lt;&gT;&QUOT;&apos;&nbsp;", kWhole, u"&<>\"' ", kWhole},
        ValueCase{u"&nbsp;&nbsp;x", kWhole, u"  x", kWhole},
        ValueCase{u"&#65;&#9731;", kWhole, u"A\u2603", kWhole}, ValueCase{u"&#65601;", kWhole, u"A", kWhole},
        ValueCase{u"&#55357;&#56832;", kWhole, u"\xD83D\xDE00", kWhole},
        ValueCase{u"&#4294967295;", kWhole, u"\xFFFF", kWhole},
        ValueCase{u"&#99999999999999999999;", kWhole, u"\xFFFF", kWhole}, // saturates at 32 bits
        ValueCase{u"&#65 rest", kWhole, u"A", kWhole}, ValueCase{u"&#65xyz;b", kWhole, u"Ab", kWhole},
        ValueCase{u"a&#x41;b", kWhole, u"a", 3}, ValueCase{u"&#;", kWhole, u"", 2},
        ValueCase{u"x&", kWhole, u"x", kWhole}, ValueCase{u"x&#", kWhole, u"x", kWhole},
        ValueCase{u"AT&T", kWhole, u"AT&T", kWhole}, ValueCase{u"&unknown;", kWhole, u"&unknown;", kWhole},
        ValueCase{u"& &&amp;", kWhole, u"& &&", kWhole},
        ValueCase{u"abc", 0, u"", 0}, ValueCase{u"abc", -3, u"", 0}, ValueCase{u" \t ", kWhole, u"", kWhole},
        // The span's end is the end of the text for every step.
        ValueCase{u"&amp;", 4, u"&amp", 4}, ValueCase{u"&#65;x", 4, u"A", 4}, ValueCase{u"&#6553", 3, u"\x0006", 3},
        ValueCase{u"a  b", 2, u"a ", 2},
        // A NUL inside the span ends it where it stands.
        ValueCase{std::u16string(u"ab\0cd", 5), kWhole, u"ab", 2},
        ValueCase{std::u16string(u"&#65\0;x", 7), kWhole, u"A", 4}));
} // namespace
