#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

TEST(Words, AttributesThenChildrenThenOwnText)
{
    CZOLLibXMLElement doc(nullptr, u"doc");
    doc.AddAttribute(u"title", u"Hello");
    doc.AddAttribute(u"xml:lang", u"en");
    doc.AddAttribute(u"ZOLLib", u"7");
    doc.AddElement(u"p")->SetValue(u"first line");
    CZOLLibXMLElement* q = doc.AddElement(u"q");
    q->AddAttribute(u"n", u"");
    q->SetValue(u"end");
    EXPECT_EQ(CString(u"Hello first line  end"), doc.GetRecursiveWords());

    doc.SetValue(u"tail");
    EXPECT_EQ(CString(u"Hello first line  end tail"), doc.GetRecursiveWords());
}

TEST(Words, ExcludedAttributesAnyCase)
{
    CZOLLibXMLElement e;
    e.AddAttribute(u"zollib", u"no");
    e.AddAttribute(u"a:b", u"no");
    e.AddAttribute(u":", u"no");
    e.AddAttribute(u"ok", u"yes");
    EXPECT_EQ(CString(u"yes"), e.GetRecursiveWords());
}

TEST(Words, WhiteSpaceOnlyGivesEmptyAndInnerSpaceIsKept)
{
    CZOLLibXMLElement e;
    e.SetValue(u" \t\r\n ");
    EXPECT_TRUE(e.GetRecursiveWords().IsEmpty());
    e.SetValue(u"  a \t b  ");
    EXPECT_EQ(CString(u"a \t b"), e.GetRecursiveWords());
}

TEST(Words, AddAppendsAfterASpace)
{
    CZOLLibXMLElement e;
    e.SetValue(u"w");
    CString words(u"pre");
    e.AddRecursiveWords(words);
    EXPECT_EQ(CString(u"pre w"), words);
    CString empty;
    CZOLLibXMLElement().AddRecursiveWords(empty);
    EXPECT_TRUE(empty.IsEmpty());
}
