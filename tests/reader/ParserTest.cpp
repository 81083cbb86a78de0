#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

struct DocumentCase
{
    std::u16string text;
    const char* tree;        // the tree read without the declaration demanded ("null": refused)
    const char* treeDemanded; // the same with requireDeclaration nonzero
};

class FromStringTable : public testing::TestWithParam<DocumentCase>
{
};

TEST_P(FromStringTable, ReadsTheTreeOrRefuses)
{
    const DocumentCase& c = GetParam();
    EXPECT_EQ(c.tree, Describe(ElementPtr(CZOLLibXMLElement::FromString(c.text.c_str(), 0)).get()));
    EXPECT_EQ(c.treeDemanded, Describe(ElementPtr(CZOLLibXMLElement::FromString(c.text.c_str(), 7)).get()));
}

// Documents without a declaration: refused whenever one is demanded.
DocumentCase Plain(std::u16string text, const char* tree)
{
    return DocumentCase{std::move(text), tree, "null"};
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, FromStringTable,
    testing::Values(
        Plain(u"<a/>", "a"), Plain(u"< a / >", "a"), Plain(u"<a></a>", "a"), Plain(u"<a>1 &lt; 2</a>", "a=\"1 < 2\""),
        Plain(u"<a><b>x</b><c/></a>", "a(b=\"x\",c)"), Plain(u"<a>x<b/>y</a>", "a=\"x y\"(b)"),
        Plain(u"<a>x<!-- note -->y</a>", "a=\"x y\""), Plain(u"<a>\r\n  x  \r\n  <b/>\r\n</a>", "a=\"x \"(b)"),
        Plain(u"<a>\n <b/>\n <c/>\n</a>", "a(b,c)"), Plain(u"<a>x <b/> <c/>y</a>", "a=\"x y\"(b,c)"),
        Plain(u"<a>&nbsp;<b/>x</a>", "a=\" x\"(b)"), Plain(u"<a>x<b/>&#32;</a>", "a=\"x  \"(b)"),
        Plain(u"<a x='1' X='2'/>", "a{X=2}"), Plain(u"<a x='1'y='2'/>", "a{x=1,y=2}"),
        Plain(u"<a\tx \r= \n\"1\"  >t</a>", "a{x=1}=\"t\""),
        Plain(u"<a x='say \"hi\"' y=\"it's\"/>", "a{x=say \"hi\",y=it's}"),
        Plain(u"<a x='  p \t q  ' y='&lt;&#65;&gt;' z='<>'/>", "a{x=p q ,y=<A>,z=<>}"),
        Plain(u"<a x='v&#x41;'/>", "null"), Plain(u"<a x='v&#x '/>", "null"),
        Plain(u"<a x='v&# \t'/>", "a{x=v}"), // the decoder stops early; only white space to the quote
        Plain(u"<a>x</a> trailing <b/>", "a=\"x\""), Plain(u"<a/><<<", "a"), Plain(u"  \r\n<a/>", "a"),
        Plain(u"<!-- c --><!DOCTYPE a><!-- d --><a/>", "a"), Plain(u"<!DOCTYPE a [x]><a/>", "a"),
        Plain(u"<ns:r xmlns:ns='u'><ns:c/></ns:r>", "ns:r{xmlns:ns=u}(ns:c)"),
        Plain(u"<\u00E9l\u00E9ment \u00E4='\u00F6'/>", "\u00E9l\u00E9ment{\u00E4=\u00F6}"),
        Plain(u"<a><a><a/></a></a>", "a(a(a))"),
        DocumentCase{kDeclaration + std::u16string(u"<a/>"), "a", "a"},
        DocumentCase{u" <?xml version=\"?><!--c--><a/>", "a", "a"},
        DocumentCase{kDeclaration + std::u16string(u"\n<!-- c -->\n<!DOCTYPE a SYSTEM \"a.dtd\">\n<a/>\n"), "a", "a"}));

INSTANTIATE_TEST_SUITE_P(
    Refused, FromStringTable,
    testing::Values(Plain(u"", "null"), Plain(u" \t\r\n", "null"), Plain(u"\uFEFF<a/>", "null"),
                    Plain(u"x<a/>", "null"), Plain(u"\f<a/>", "null"), Plain(u"<a x=1/>", "null"),
                    Plain(u"<my-tag/>", "null"), Plain(u"<a>b</A>", "null"), Plain(u"<a>b</a >", "null"),
                    Plain(u"<a>b</ a>", "null"), Plain(u"<a><![CDATA[x]]></a>", "null"), Plain(u"<a><?pi x?></a>", "null"),
                    Plain(u"<a>&#x41;</a>", "null"), Plain(u"<a>x</a", "null"), Plain(u"<a>x<", "null"),
                    Plain(u"<a>x", "null"), Plain(u"<a", "null"), Plain(u"<a x", "null"), Plain(u"<a x=", "null"),
                    Plain(u"<a x='1", "null"), Plain(u"<a x='1' /", "null"), Plain(u"<a / x>", "null"),
                    Plain(u"<a =''/>", "null"), Plain(u"<a><b></a>", "null"), Plain(u"<a><b><c/></b>", "null"),
                    Plain(u"<a><!-- open</a>", "null"), Plain(u"<!-- open <a/>", "null"), Plain(u"<!DOCTYPE a", "null"),
                    Plain(u"<!doctype a><a/>", "null"), Plain(u"<!DOCTYPE a><!DOCTYPE a><a/>", "null"),
                    Plain(u"<?xml version='1.0'?><a/>", "null"), Plain(u"<?XML version=\"1.0\"?><a/>", "null"),
                    DocumentCase{u"<?xml version=\"1.0\"<a/>", "null", "null"}));

TEST(ElementParseString, ParsesOneElementIntoThisAndStopsBehindIt)
{
    CZOLLibXMLElement element(nullptr, u"old");
    element.SetValue(u"v");
    const std::u16string text = u"<b k='1'>x<c/>y</b> rest";
    LPCWSTR cursor = text.c_str();
    EXPECT_EQ(1, element.ParseString(cursor));
    EXPECT_EQ(u" rest", std::u16string(cursor));
    EXPECT_EQ("b{k=1}=\"v x y\"(c)", Describe(&element)); // the value is appended to
}

TEST(ElementParseString, LeavesNoFailedChildBehind)
{
    CZOLLibXMLElement element;
    const std::u16string text = u"<a><b/><c><d>x</d><e></c></a>";
    LPCWSTR cursor = text.c_str();
    EXPECT_EQ(0, element.ParseString(cursor));
    EXPECT_EQ("a(b)", Describe(&element));
}

TEST(AttributeParseString, StopsBehindTheClosingQuote)
{
    CZOLLibXMLAttribute attribute(nullptr, u"old");
    const std::u16string text = u" Key = ' a  b '/>";
    LPCWSTR cursor = text.c_str();
    EXPECT_EQ(1, attribute.ParseString(cursor));
    EXPECT_EQ(u"/>", std::u16string(cursor));
    EXPECT_EQ("Key", Utf8(attribute.GetName()));
    EXPECT_EQ("a b ", Utf8(attribute.GetValue()));
}

TEST(FromString, RefusesNull)
{
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(nullptr, 0));
}
} // namespace
