#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{
std::vector<CString> AttributeNames(const CZOLLibXMLElement& e)
{
    std::vector<CString> names;
    POSITION pos = e.GetAttributeIterator();
    while (pos != nullptr)
        names.push_back(e.GetNextAttribute(pos)->GetName());
    return names;
}
}

TEST(Attribute, AddKeepsFirstCaseAndUpdatesValue)
{
    CZOLLibXMLElement e;
    CZOLLibXMLAttribute* width = e.AddAttribute(u"Width", u"10");
    EXPECT_EQ(width, e.GetAttribute(u"WIDTH"));
    EXPECT_EQ(width, e.AddAttribute(u"WIDTH", u"20"));
    EXPECT_EQ(CString(u"20"), width->GetValue());
    EXPECT_EQ(CString(u"Width"), width->GetName());
    EXPECT_EQ(1, e.GetAttributeCount());
    EXPECT_EQ(&e, width->GetParent());
    EXPECT_EQ(ZXML_ATTRIBUTE, width->GetType());
}

TEST(Attribute, NullValueLeavesNewEmptyAndExistingUnchanged)
{
    CZOLLibXMLElement e;
    EXPECT_TRUE(e.AddAttribute(u"a", nullptr)->GetValue().IsEmpty());
    e.AddAttribute(u"b", u"kept");
    EXPECT_EQ(CString(u"kept"), e.AddAttribute(u"B", nullptr)->GetValue());
}

TEST(Attribute, GetAttributeValueDistinguishesEmptyFromMissing)
{
    CZOLLibXMLElement e;
    e.AddAttribute(u"empty", u"");
    const struct
    {
        LPCWSTR name;
        LPCWSTR fallback;
        LPCWSTR expected;
    } cases[] = {
        {u"empty", u"dflt", u""},
        {u"EMPTY", nullptr, u""},
        {u"missing", u"dflt", u"dflt"},
        {u"missing", nullptr, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CString(c.expected), e.GetAttributeValue(c.name, c.fallback));
}

TEST(Attribute, EnumerationFollowsInsertionOrderAndReplacementKeepsPlace)
{
    CZOLLibXMLElement e;
    for (LPCWSTR name : {u"z", u"y", u"x", u"w", u"v", u"u", u"t", u"s", u"r", u"q", u"p", u"o"})
        e.AddAttribute(name, u"1");
    EXPECT_EQ((std::vector<CString>{u"z", u"y", u"x", u"w", u"v", u"u", u"t", u"s", u"r", u"q", u"p", u"o"}),
              AttributeNames(e));

    auto* replacement = new CZOLLibXMLAttribute(nullptr, u"X");
    EXPECT_EQ(replacement, e.AddAttribute(replacement)); // displaces and frees the old "x"
    EXPECT_EQ(12, e.GetAttributeCount());
    EXPECT_EQ(CString(u"X"), AttributeNames(e)[2]);
    EXPECT_EQ(&e, replacement->GetParent());
}

TEST(Attribute, ManyAttributesStayReachable)
{
    CZOLLibXMLElement e;
    for (int i = 0; i < 5000; ++i)
        e.AddAttribute(CString(u"n") + CString(static_cast<WCHAR>(0x4E00 + i), 1), u"v");
    EXPECT_EQ(5000, e.GetAttributeCount());
    for (int i = 0; i < 5000; i += 97)
        EXPECT_NE(nullptr, e.GetAttribute(CString(u"N") + CString(static_cast<WCHAR>(0x4E00 + i), 1)));
}

TEST(Attribute, AddObjectRefusesLinkedAttribute)
{
    CZOLLibXMLElement e, f;
    CZOLLibXMLAttribute* held = e.AddAttribute(u"k", u"v");
    EXPECT_EQ(nullptr, f.AddAttribute(held));
    CZOLLibXMLAttribute linked(&f, u"q");
    EXPECT_EQ(nullptr, f.AddAttribute(&linked));
    EXPECT_EQ(0, f.GetAttributeCount());
}

TEST(Attribute, RemoveLeavesLinkAndDeleteFrees)
{
    CZOLLibXMLElement e;
    CZOLLibXMLAttribute* a = e.AddAttribute(u"a", u"1");
    e.AddAttribute(u"b", u"2");
    e.RemoveAttribute(a);
    EXPECT_EQ(1, e.GetAttributeCount());
    EXPECT_EQ(&e, a->GetParent());
    delete a;

    e.AddAttribute(u"c", u"3")->Delete();
    e.DeleteAttribute(u"nothing");
    EXPECT_EQ(1, e.GetAttributeCount());
    e.DeleteAttribute(u"B");
    EXPECT_EQ(0, e.GetAttributeCount());
    EXPECT_EQ(nullptr, e.GetAttributeIterator());
}

TEST(Attribute, RenamedAttributeStaysUnderItsOldKey)
{
    CZOLLibXMLElement e;
    CZOLLibXMLAttribute* a = e.AddAttribute(u"x", u"1");
    a->SetName(u"y");
    EXPECT_EQ(nullptr, e.GetAttribute(u"y"));
    EXPECT_EQ(a, e.GetAttribute(u"x"));
}

TEST(Attribute, DeletingRenamedAttributeRemovesItsOwnEntryOnly)
{
    CZOLLibXMLElement e;
    CZOLLibXMLAttribute* x = e.AddAttribute(u"x", u"1");
    CZOLLibXMLAttribute* y = e.AddAttribute(u"y", u"2");
    x->SetName(u"y");
    x->Delete();
    EXPECT_EQ(1, e.GetAttributeCount());
    EXPECT_EQ(nullptr, e.GetAttribute(u"x"));
    EXPECT_EQ(y, e.GetAttribute(u"y"));
}

TEST(Attribute, DeleteAllAttributesEmptiesMap)
{
    CZOLLibXMLElement e;
    for (LPCWSTR name : {u"a", u"b", u"c"})
        e.AddAttribute(name, name);
    e.DeleteAllAttributes();
    EXPECT_EQ(0, e.GetAttributeCount());
    EXPECT_EQ(nullptr, e.GetAttribute(u"a"));
}

TEST(Attribute, SchemaConstants)
{
    EXPECT_EQ(CString(u"xsi:noNamespaceSchemaLocation"), CString(CZOLLibXMLAttribute::schemaName));
    EXPECT_EQ(CString(u"http://www.w3.org/2001/XMLSchema"), CString(CZOLLibXMLAttribute::xmlnsSchema));
    EXPECT_EQ(CString(u"http://www.w3.org/2001/XMLSchema-instance"), CString(CZOLLibXMLAttribute::xmlnsInstance));
}
