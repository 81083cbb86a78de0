#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::u16string kDeclaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::string Read(const std::u16string& text, int requireDeclaration)
{
    return Describe(ElementPtr(CZOLLibXMLElement::FromString(text.c_str(), requireDeclaration)).get());
}

TEST(FromString, ReadsTheTree)
{
    const struct
    {
        std::u16string text;
        const char* tree;
    } cases[] = {
        {u"<a/>", "a"}, {u"< a / >", "a"}, {u"<a></a>", "a"}, {u"<a>1 &lt; 2</a>", "a=\"1 < 2\""},
        {u"<a><b>x</b><c/></a>", "a(b=\"x\",c)"}, {u"<a>x<b/>y</a>", "a=\"x y\"(b)"},
        {u"<a>x<!-- note -->y</a>", "a=\"x y\""}, {u"<a>\r\n  x  \r\n  <b/>\r\n</a>", "a=\"x \"(b)"},
        {u"<a>\n <b/>\n <c/>\n</a>", "a(b,c)"}, {u"<a>x <b/> <c/>y</a>", "a=\"x y\"(b,c)"},
        {u"<a>&nbsp;<b/>x</a>", "a=\" x\"(b)"}, {u"<a>x<b/>&#32;</a>", "a=\"x  \"(b)"},
        {u"<a x='1' X='2'/>", "a{X=2}"}, {u"<a x='1'y='2'/>", "a{x=1,y=2}"},
        {u"<a\tx \r= \n\"1\"  >t</a>", "a{x=1}=\"t\""},
        {u"<a x='say \"hi\"' y=\"it's\"/>", "a{x=say \"hi\",y=it's}"},
        {u"<a x='  p \t q  ' y='&lt;&#65;&gt;' z='<>'/>", "a{x=p q ,y=<A>,z=<>}"},
        {u"<a x='v&# \t'/>", "a{x=v}"}, // the decoder stops early; only white space to the quote
        {u"<a>x</a> trailing <b/>", "a=\"x\""}, {u"<a/><<<", "a"}, {u"  \r\n<a/>", "a"},
        {u"<!-- c --><!DOCTYPE a><!-- d --><a/>", "a"}, {u"<!DOCTYPE a [x]><a/>", "a"},
        {u"<ns:r xmlns:ns='u'><ns:c/></ns:r>", "ns:r{xmlns:ns=u}(ns:c)"},
        {u"<\u00E9l\u00E9ment \u00E4='\u00F6'/>", "\u00E9l\u00E9ment{\u00E4=\u00F6}"},
        {u"<a><a><a/></a></a>", "a(a(a))"}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.tree, Read(c.text, 0));
        EXPECT_EQ("null", Read(c.text, 1)) << c.tree; // no declaration
    }
}

TEST(FromString, ReadsTheDeclarationWhenDemandedOrNot)
{
    const std::u16string texts[] = {kDeclaration + u"<a/>", u" <?xml version=\"?><!--c--><a/>",
                                    kDeclaration + u"\n<!-- c -->\n<!DOCTYPE a SYSTEM \"a.dtd\">\n<a/>\n"};
    for (const auto& text : texts)
        for (int requireDeclaration : {0, 1})
            EXPECT_EQ("a", Read(text, requireDeclaration)) << Utf8(text.c_str());
}

TEST(FromString, Refuses)
{
    const std::u16string texts[] = {
        u"", u" \t\r\n", u"\uFEFF<a/>", u"x<a/>", u"\f<a/>", u"<a x=1/>", u"<my-tag/>", u"<a>b</A>",
        u"<a>b</a >", u"<a>b</ a>", u"<a><![CDATA[x]]></a>", u"<a><?pi x?></a>", u"<a>&#x41;</a>",
        u"<a x='v&#x41;'/>", u"<a>x</a", u"<a>x<", u"<a>x", u"<a", u"<a x", u"<a x=", u"<a x='1", u"<a x='1' /",
        u"<a / x>", u"<a =''/>", u"<a><b></a>", u"<a><b><c/></b>", u"<a><!-- open</a>", u"<!-- open <a/>",
        u"<!DOCTYPE a", u"<!doctype a><a/>", u"<!DOCTYPE a><!DOCTYPE a><a/>", u"<?xml version='1.0'?><a/>",
        u"<?XML version=\"1.0\"?><a/>", u"<?xml version=\"1.0\"<a/>"};
    for (const auto& text : texts)
        for (int requireDeclaration : {0, 1})
            EXPECT_EQ("null", Read(text, requireDeclaration)) << Utf8(text.c_str());
    EXPECT_EQ(nullptr, CZOLLibXMLElement::FromString(nullptr, 0));
}

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
} // namespace
