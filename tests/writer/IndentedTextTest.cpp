// The indented element text: lines and indentation where they change nothing
// on a read-back, one line where they would.
#include "WriterTestSupport.h"

#include <gtest/gtest.h>

namespace
{
struct IndentedTextCase
{
    const char* what;
    TreeSpec tree;
    int indent;
    std::u16string expected;
};

class IndentedTextTable : public testing::TestWithParam<IndentedTextCase>
{
};

TEST_P(IndentedTextTable, WritesIndentedText)
{
    const IndentedTextCase& c = GetParam();
    const ElementPtr root = BuildTree(c.tree);
    for (const int lineBreaks : {0, 1})
    {
        CString out(u"x");
        root->ToString(out, lineBreaks, c.indent);
        EXPECT_EQ(u"x" + c.expected, Units(out)) << c.what << ", line breaks " << lineBreaks;
    }
}

const TreeSpec kShelf = {u"shelf",
                         {{u"room", u"2"}},
                         u"",
                         {{u"book", {{u"id", u"1"}}, u"Tea"},
                          {u"box", {}, u"", {{u"book"}, {u"book", {}, u"", {{u"page"}}}}},
                          {u"sep"}}};

INSTANTIATE_TEST_SUITE_P(
    Layouts, IndentedTextTable,
    testing::Values(
        IndentedTextCase{"lone element", {u"e"}, 2, u"<e/>\r\n"},
        IndentedTextCase{"value only", {u"e", {}, u"v"}, 2, u"<e>v</e>\r\n"},
        IndentedTextCase{"children without a value, two levels", kShelf, 2,
                         u"<shelf room=\"2\">\r\n"
                         u"  <book id=\"1\">Tea</book>\r\n"
                         u"  <box>\r\n"
                         u"    <book/>\r\n"
                         u"    <book>\r\n"
                         u"      <page/>\r\n"
                         u"    </book>\r\n"
                         u"  </box>\r\n"
                         u"  <sep/>\r\n"
                         u"</shelf>\r\n"},
        IndentedTextCase{"another step", {u"a", {}, u"", {{u"b", {}, u"", {{u"c"}}}}}, 3,
                         u"<a>\r\n   <b>\r\n      <c/>\r\n   </b>\r\n</a>\r\n"},
        IndentedTextCase{"a value keeps the subtree on one line",
                         {u"a", {}, u"", {{u"p", {}, u"text", {{u"b", {}, u"", {{u"i"}}}, {u"c"}}}, {u"q"}}}, 1,
                         u"<a>\r\n <p><b><i/></b><c/>text</p>\r\n <q/>\r\n</a>\r\n"},
        IndentedTextCase{"a value at the root", {u"a", {}, u"v", {{u"b", {}, u"", {{u"c"}}}}}, 2,
                         u"<a><b><c/></b>v</a>\r\n"}));

TEST(IndentedText, DocumentBreaksAfterTheDeclarationOnly)
{
    const ElementPtr tree = BuildTree({u"a", {}, u"", {{u"b"}}});
    EXPECT_EQ(u"<?xml version=\"1.0\"?>\r\n<a>\r\n  <b/>\r\n</a>\r\n", Units(tree->ToString(1, 0, 2)));
    EXPECT_EQ(u"<a>\r\n  <b/>\r\n</a>\r\n", Units(tree->ToString(0, 1, 2)));
}

TEST(IndentedText, NoIndentationIsTheCompactForm)
{
    const ElementPtr tree = BuildTree(kShelf);
    for (const int indent : {0, -4})
    {
        for (const int lineBreaks : {0, 1})
        {
            CString compact;
            CString text;
            tree->ToString(compact, lineBreaks);
            tree->ToString(text, lineBreaks, indent);
            EXPECT_EQ(Units(compact), Units(text)) << indent << ", " << lineBreaks;
            EXPECT_EQ(Units(tree->ToString(1, lineBreaks)), Units(tree->ToString(1, lineBreaks, indent)));
        }
    }
}


} // namespace
