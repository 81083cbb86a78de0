#include "TestSupport.h"
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
struct ElementTextCase
{
    const char* what;
    TreeSpec tree;
    int lineBreaks;
    std::u16string expected;
    int indent = 0; // the compact form
};

class ElementTextTable : public testing::TestWithParam<ElementTextCase>
{
};

TEST_P(ElementTextTable, WritesElementText)
{
    const ElementTextCase& c = GetParam();
    const ElementPtr root = BuildTree(c.tree);
    CString out;
    root->ToString(out, c.lineBreaks, c.indent);
    EXPECT_EQ(c.expected, Units(out)) << c.what;
}

// Lines and indentation where they change nothing on a read-back, one line
// where they would.
const TreeSpec kShelf = {u"shelf",
                         {{u"room", u"2"}},
                         u"",
                         {{u"book", {{u"id", u"1"}}, u"Tea"},
                          {u"box", {}, u"", {{u"book"}, {u"book", {}, u"", {{u"page"}}}}},
                          {u"sep"}}};

INSTANTIATE_TEST_SUITE_P(
    Forms, ElementTextTable,
    testing::Values(
        ElementTextCase{"lone element", {u"e"}, 0, u"<e/>"},
        ElementTextCase{"lone element, line break", {u"e"}, 1, u"<e/>\r\n"},
        ElementTextCase{"attributes keep the empty form", {u"e", {{u"a", u"1"}}}, 0, u"<e a=\"1\"/>"},
        ElementTextCase{"value only", {u"e", {}, u"v"}, 0, u"<e>v</e>"},
        ElementTextCase{"value only, line break after the end tag", {u"e", {}, u"v"}, 1, u"<e>v</e>\r\n"},
        ElementTextCase{"a space is a value", {u"e", {}, u" "}, 0, u"<e> </e>"},
        ElementTextCase{"value after the last child", {u"e", {}, u"v", {{u"c"}, {u"d", {}, u"w"}}}, 0,
                        u"<e><c/><d>w</d>v</e>"},
        ElementTextCase{"value after the last child, line breaks", {u"e", {}, u"v", {{u"c"}, {u"d", {}, u"w"}}}, 1,
                        u"<e>\r\n<c/>\r\n<d>w</d>\r\nv</e>\r\n"},
        ElementTextCase{"nested, no indentation", {u"a", {}, u"", {{u"b", {}, u"", {{u"c", {{u"k", u"v"}}}}}}}, 1,
                        u"<a>\r\n<b>\r\n<c k=\"v\"/>\r\n</b>\r\n</a>\r\n"},
        ElementTextCase{"attributes in the order they were added", {u"e", {{u"z", u"1"}, {u"a", u"2"}, {u"M", u"3"}}},
                        0, u"<e z=\"1\" a=\"2\" M=\"3\"/>"},
        ElementTextCase{"replacing an attribute keeps its name and place", {u"e", {{u"Id", u"1"}, {u"x", u"2"}, {u"ID", u"3"}}},
                        0, u"<e Id=\"3\" x=\"2\"/>"},
        ElementTextCase{"quotes in attribute values", {u"e", {{u"q", u"say \"hi\" it's"}}}, 0,
                        u"<e q=\"say &quot;hi&quot; it&apos;s\"/>"},
        ElementTextCase{"values escaped, quotes in text too", {u"e", {{u"a", u"\u00E9"}}, u"<\"'&>\U0001F600"}, 0,
                        u"<e a=\"&#233;\">&lt;&quot;&apos;&amp;&gt;&#55357;&#56832;</e>"},
        ElementTextCase{"names written unchanged", {u"a&b", {{u"x<y", u"1"}}, u"", {{u"\u00E9l\u00E8ve"}}}, 0,
                        u"<a&b x<y=\"1\"><\u00E9l\u00E8ve/></a&b>"},
        ElementTextCase{"indented: lone element", {u"e"}, 0, u"<e/>\r\n", 2},
        ElementTextCase{"indented: value only", {u"e", {}, u"v"}, 0, u"<e>v</e>\r\n", 2},
        ElementTextCase{"indented: children without a value, two levels", kShelf, 0,
                        u"<shelf room=\"2\">\r\n"
                        u"  <book id=\"1\">Tea</book>\r\n"
                        u"  <box>\r\n"
                        u"    <book/>\r\n"
                        u"    <book>\r\n"
                        u"      <page/>\r\n"
                        u"    </book>\r\n"
                        u"  </box>\r\n"
                        u"  <sep/>\r\n"
                        u"</shelf>\r\n",
                        2},
        ElementTextCase{"indented: another step, line breaks asked for", {u"a", {}, u"", {{u"b", {}, u"", {{u"c"}}}}}, 1,
                        u"<a>\r\n   <b>\r\n      <c/>\r\n   </b>\r\n</a>\r\n", 3},
        ElementTextCase{"indented: a value keeps the subtree on one line",
                        {u"a", {}, u"", {{u"p", {}, u"text", {{u"b", {}, u"", {{u"i"}}}, {u"c"}}}, {u"q"}}}, 0,
                        u"<a>\r\n <p><b><i/></b><c/>text</p>\r\n <q/>\r\n</a>\r\n", 1},
        ElementTextCase{"indented: a value at the root", {u"a", {}, u"v", {{u"b", {}, u"", {{u"c"}}}}}, 0,
                        u"<a><b><c/></b>v</a>\r\n", 2},
        ElementTextCase{"no indentation is the compact form", kShelf, 1,
                        u"<shelf room=\"2\">\r\n<book id=\"1\">Tea</book>\r\n<box>\r\n<book/>\r\n<book>\r\n<page/>\r\n"
                        u"</book>\r\n</box>\r\n<sep/>\r\n</shelf>\r\n",
                        0},
        ElementTextCase{"below zero too", {u"a", {}, u"", {{u"b"}}}, 0, u"<a><b/></a>", -4}));

// A list with an attribute, a value and three children, one of them empty.
ElementPtr BuildList()
{
    return BuildTree({u"list",
                      {{u"title", u"Tom & Jerry's"}},
                      u"end",
                      {{u"item", {{u"id", u"1"}}, u"a<b"}, {u"sep"}, {u"item", {{u"id", u"2"}}, u"Caf\u00E9"}}});
}

struct DocumentCase
{
    int declaration;
    int lineBreaks;
    std::u16string expected;
};

class DocumentTable : public testing::TestWithParam<DocumentCase>
{
};

TEST_P(DocumentTable, WritesDocument)
{
    const DocumentCase& c = GetParam();
    EXPECT_EQ(c.expected, Units(BuildList()->ToString(c.declaration, c.lineBreaks)));
}

const std::u16string kListLine =
    u"<list title=\"Tom &amp; Jerry&apos;s\"><item id=\"1\">a&lt;b</item><sep/><item id=\"2\">Caf&#233;</item>end</list>";
const std::u16string kListLines = u"<list title=\"Tom &amp; Jerry&apos;s\">\r\n"
                                  u"<item id=\"1\">a&lt;b</item>\r\n"
                                  u"<sep/>\r\n"
                                  u"<item id=\"2\">Caf&#233;</item>\r\n"
                                  u"end</list>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Flags, DocumentTable,
    testing::Values(DocumentCase{1, 1, u"<?xml version=\"1.0\"?>\r\n" + kListLines},
                    DocumentCase{0, 0, kListLine},
                    DocumentCase{1, 0, u"<?xml version=\"1.0\"?>" + kListLine},
                    DocumentCase{0, 1, u"\r\n" + kListLines},
                    DocumentCase{-7, 2, u"<?xml version=\"1.0\"?>\r\n" + kListLines}));

TEST(ElementText, AppendsToWhatTheOutputHolds)
{
    const ElementPtr e = BuildTree({u"e", {}, u"", {{u"f"}}});
    CString out(u"x");
    e->ToString(out, 0);
    e->ToString(out, 1);
    e->ToString(out, 0, 1);
    EXPECT_EQ(u"x<e><f/></e><e>\r\n<f/>\r\n</e>\r\n<e>\r\n <f/>\r\n</e>\r\n", Units(out));
}

TEST(IndentedText, DocumentBreaksAfterTheDeclarationOnly)
{
    const ElementPtr tree = BuildTree({u"a", {}, u"", {{u"b"}}});
    EXPECT_EQ(u"<?xml version=\"1.0\"?>\r\n<a>\r\n  <b/>\r\n</a>\r\n", Units(tree->ToString(1, 0, 2)));
    EXPECT_EQ(u"<a>\r\n  <b/>\r\n</a>\r\n", Units(tree->ToString(0, 1, 2)));
    EXPECT_EQ(Units(tree->ToString(1, 1)), Units(tree->ToString(1, 1, 0)));
}

TEST(ElementText, SubtreeIgnoresItsParent)
{
    const ElementPtr list = BuildList();
    const CZOLLibXMLElement* pItem = list->GetFirstElement();
    const ElementPtr copy(pItem->Clone(nullptr));
    CString inTree(u"<");
    CString alone(u"<");
    pItem->ToString(inTree, 1);
    copy->ToString(alone, 1);
    EXPECT_EQ(u"<<item id=\"1\">a&lt;b</item>\r\n", Units(inTree));
    EXPECT_EQ(Units(inTree), Units(alone));
}

TEST(AttributeText, AppendsNameAndEscapedValue)
{
    const ElementPtr e = BuildTree({u"e", {{u"Title", u"a \"b\""}}});
    CString out(u"<e ");
    e->GetAttribute(u"title")->ToString(out);
    EXPECT_EQ(u"<e Title=\"a &quot;b&quot;\"", Units(out));
}

TEST(ElementText, ManyEscapesOutgrowTheFirstReservation)
{
    // The first reservation counts every value unescaped; here the values
    // grow fivefold and more, so the text must grow well past it.
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    std::u16string attributes;
    std::u16string children;
    for (int i = 0; i < 2000; ++i)
    {
        std::u16string name = u"a";
        for (const char digit : std::to_string(i))
            name += static_cast<char16_t>(digit);
        root->AddAttribute(name.c_str(), u"&");
        root->AddElement(u"v")->SetValue(u"\u00E9\u00E9<");
        attributes += u" " + name + u"=\"&amp;\"";
        children += u"<v>&#233;&#233;&lt;</v>";
    }
    CString out;
    root->ToString(out, 0);
    EXPECT_EQ(u"<r" + attributes + u">" + children + u"</r>", Units(out));
}

// Where size_t has 32 bits a string holds fewer than INT_MAX units (2^29 - 1
// with this standard library). A text within that limit is written even when
// the room reserved ahead of it, doubled as it grows, would pass the limit.
TEST(ElementText, FillsAStringUpToItsLimit)
{
    if (sizeof(std::size_t) > 4)
        GTEST_SKIP() << "a string's limit here is INT_MAX units, more than a test may fill";
    // The first reservation, the text without its escapes (290 million
    // units), is more than half the limit; each "&" takes five units, so the
    // text (330 million) outgrows it and doubling would ask for 580 million.
    const int nPlain = 280000000;
    const int nEscaped = 10000000;
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    {
        CString value;
        LPWSTR pValue = value.GetBufferSetLength(nPlain + nEscaped);
        std::fill(pValue, pValue + nPlain, u'a');
        std::fill(pValue + nPlain, pValue + nPlain + nEscaped, u'&');
        root->SetValue(value);
    }
    CString out;
    root->ToString(out, 0);
    ASSERT_EQ(3 + nPlain + 5 * nEscaped + 4, out.GetLength());
    EXPECT_TRUE(out.Left(4) == u"<r>a");
    EXPECT_TRUE(out.Mid(2 + nPlain, 6) == u"a&amp;");
    EXPECT_TRUE(out.Mid(out.GetLength() - 9, 9) == u"&amp;</r>");
}

TEST(ElementText, DeepChainOnASmallStack)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"a"));
    CZOLLibXMLElement* pLeaf = root.get();
    for (int i = 1; i < kDeepLevels; ++i)
        pLeaf = pLeaf->AddElement(u"a");
    pLeaf->SetValue(u"v");
    CString out;
    RunOnSmallStack(kSmallStack, [&] { root->ToString(out, 0); });
    const std::u16string text = Units(out);
    ASSERT_EQ(static_cast<std::size_t>(kDeepLevels) * 7 + 1, text.size());
    EXPECT_EQ(u"<a><a><a>", text.substr(0, 9));
    EXPECT_EQ(u"<a>v</a></a>", text.substr(static_cast<std::size_t>(kDeepLevels - 1) * 3, 12));
    EXPECT_EQ(u"</a></a>", text.substr(text.size() - 8));
}
}
