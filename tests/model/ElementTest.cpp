#include <ZOLXML/ZOLLibXML.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
std::vector<CString> ChildNames(const CZOLLibXMLElement& e)
{
    std::vector<CString> names;
    POSITION pos = e.GetElementIterator();
    while (pos != nullptr)
        names.push_back(e.GetNextElement(pos)->GetName());
    return names;
}
}

TEST(Element, ConstructorSetsLinkOnly)
{
    CZOLLibXMLElement parent(nullptr, u"p");
    CZOLLibXMLElement child(&parent, u"c");
    EXPECT_EQ(ZXML_ELEMENT, child.GetType());
    EXPECT_EQ(&parent, child.GetParent());
    EXPECT_EQ(0, parent.GetElementCount());
    EXPECT_TRUE(CZOLLibXMLElement(nullptr, nullptr).GetName().IsEmpty());
}

TEST(Element, ChildrenKeepAppendOrderAndAllowDuplicates)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    root->AddElement(u"a");
    root->AddElement(u"b");
    root->AddElement(u"a");
    EXPECT_EQ(3, root->GetElementCount());
    EXPECT_EQ((std::vector<CString>{u"a", u"b", u"a"}), ChildNames(*root));
    EXPECT_EQ(root.get(), root->GetFirstElement()->GetParent());
}

TEST(Element, IteratorOverOneChildEndsNull)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    EXPECT_EQ(nullptr, root->GetElementIterator());
    EXPECT_EQ(nullptr, root->GetFirstElement());
    CZOLLibXMLElement* only = root->AddElement(u"x");
    POSITION pos = root->GetElementIterator();
    EXPECT_EQ(only, root->GetNextElement(pos));
    EXPECT_EQ(nullptr, pos);
}

TEST(Element, NextElementWithNullCursorThrowsInvalidArgument)
{
    CZOLLibXMLElement e;
    POSITION pos = nullptr;
    try
    {
        e.GetNextElement(pos);
        FAIL() << "no exception";
    }
    catch (CInvalidArgException* ex)
    {
        ex->Delete();
    }
}

TEST(Element, GetElementByNameIgnoresCaseAndCanCreate)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    root->AddElement(u"a");
    CZOLLibXMLElement* b = root->AddElement(u"b");
    root->AddElement(u"B");
    EXPECT_EQ(b, root->GetElementByName(u"B"));
    EXPECT_EQ(nullptr, root->GetElementByName(u"c", 0));
    EXPECT_EQ(3, root->GetElementCount());
    CZOLLibXMLElement* c = root->GetElementByName(u"c", 1);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ((std::vector<CString>{u"a", u"b", u"B", u"c"}), ChildNames(*root));
    EXPECT_EQ(c, root->GetElementByName(u"C", 1));
    EXPECT_EQ(4, root->GetElementCount());
}

TEST(Element, AddElementObjectRefusesLinkedUntilDetached)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    ElementPtr other(new CZOLLibXMLElement(nullptr, u"o"));
    CZOLLibXMLElement* child = root->AddElement(u"c");

    root->RemoveElement(child);
    EXPECT_EQ(0, root->GetElementCount());
    EXPECT_EQ(root.get(), child->GetParent()); // the link stays
    EXPECT_EQ(nullptr, other->AddElement(child));
    EXPECT_EQ(nullptr, root->AddElement(child));

    EXPECT_EQ(child, child->Detach());
    EXPECT_EQ(nullptr, child->GetParent());
    EXPECT_EQ(child, other->AddElement(child));
    EXPECT_EQ(other.get(), child->GetParent());
    EXPECT_EQ(1, other->GetElementCount());
}

TEST(Element, DetachUnlinksHeldChildAndRootAlike)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    ElementPtr child(root->AddElement(u"c")->Detach());
    EXPECT_EQ(0, root->GetElementCount());
    EXPECT_EQ(nullptr, child->GetParent());
    EXPECT_EQ(root.get(), root->Detach());
    EXPECT_EQ(nullptr, root->GetParent());
}

TEST(Element, AddElementRefusesItselfAndItsAncestors)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    CZOLLibXMLElement* deep = root->AddElement(u"a")->AddElement(u"b");
    EXPECT_EQ(nullptr, root->AddElement(root.get()));
    EXPECT_EQ(nullptr, deep->AddElement(root.get()));
    EXPECT_EQ(nullptr, root->GetParent());
    EXPECT_EQ(0, deep->GetElementCount());
}

TEST(Element, DeleteOfHeldChildUnlinksAndFreesSubtree)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    CZOLLibXMLElement* a = root->AddElement(u"a");
    a->AddElement(u"x")->AddElement(u"y");
    a->AddAttribute(u"k", u"v");
    root->AddElement(u"b");
    a->Delete();
    EXPECT_EQ((std::vector<CString>{u"b"}), ChildNames(*root));
}

TEST(Element, DeleteAllElementsEmptiesTheList)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    for (int i = 0; i < 25; ++i) // more than a block of list nodes
        root->AddElement(u"c")->AddElement(u"d");
    root->DeleteAllElements();
    EXPECT_EQ(0, root->GetElementCount());
    EXPECT_EQ(nullptr, root->GetFirstElement());
    root->AddElement(u"again");
    EXPECT_EQ(1, root->GetElementCount());
}

TEST(Element, DestroyingTolerantOfChildLinksChangedByAssignment)
{
    // Node assignment copies the parent link too; destruction must not follow it.
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    ElementPtr stranger(new CZOLLibXMLElement(nullptr, u"s"));
    CZOLLibXMLElement* child = root->AddElement(u"c");
    child->AddElement(u"g");
    CZOLLibXMLNode probe(stranger.get(), u"renamed");
    static_cast<CZOLLibXMLNode&>(*child) = probe;
    EXPECT_EQ(stranger.get(), child->GetParent());
    root.reset();
    EXPECT_EQ(0, stranger->GetElementCount());
}

TEST(Node, KindsAndCasts)
{
    CZOLLibXMLNode bare;
    CZOLLibXMLElement element;
    CZOLLibXMLAttribute attribute(nullptr, u"a");
    EXPECT_EQ(ZXML_NODE, bare.GetType());
    EXPECT_EQ(nullptr, bare.AsElement());
    EXPECT_EQ(nullptr, bare.AsAttribute());
    EXPECT_EQ(&element, element.AsElement());
    EXPECT_EQ(nullptr, element.AsAttribute());
    EXPECT_EQ(&attribute, attribute.AsAttribute());
    EXPECT_EQ(nullptr, attribute.AsElement());
    EXPECT_EQ(&bare, bare.AsNode());
}

TEST(Node, CopyOfHeldNodeKeepsLinkButIsNotHeld)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, u"r"));
    CZOLLibXMLAttribute* held = root->AddAttribute(u"k", u"v");
    CZOLLibXMLAttribute copy(*held);
    EXPECT_EQ(root.get(), copy.GetParent());
    EXPECT_EQ(CString(u"v"), copy.GetValue());
    EXPECT_EQ(1, root->GetAttributeCount());
    EXPECT_EQ(held, root->GetAttribute(u"k"));
}

TEST(Node, NamesAndValuesAcceptNull)
{
    CZOLLibXMLElement e(nullptr, u"n");
    e.SetValue(u"v");
    e.SetValue(nullptr);
    e.SetName(nullptr);
    EXPECT_TRUE(e.GetValue().IsEmpty());
    EXPECT_TRUE(e.GetName().IsEmpty());
}

TEST(Node, IsNamedComparesWholeNamesIgnoringCase)
{
    const struct
    {
        LPCWSTR name;
        LPCWSTR asked;
        int expected;
    } cases[] = {
        {u"Item", u"item", 1},   {u"Item", u"ITEM", 1},  {u"Item", u"Ite", 0},
        {u"Item", u"Items", 0},  {u"", u"", 1},          {u"\u00C9t\u00E9", u"\u00E9T\u00C9", 1},
        {u"a-b", u"A-B", 1},     {u"ab", u"a b", 0},
    };
    for (const auto& c : cases)
    {
        CZOLLibXMLNode node(nullptr, c.name);
        EXPECT_EQ(c.expected, node.IsNamed(c.asked)) << CString(c.name).GetLength();
    }
}
