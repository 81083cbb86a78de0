#include <ZOLXML/ZOLLibXML.h>

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace
{
// <doc a="1" b="2">text<x k="v">1</x><y/><z><w/></z></doc>
ElementPtr MakeSample()
{
    ElementPtr doc(new CZOLLibXMLElement(nullptr, u"doc"));
    doc->AddAttribute(u"a", u"1");
    doc->AddAttribute(u"b", u"2");
    doc->SetValue(u"text");
    CZOLLibXMLElement* x = doc->AddElement(u"x");
    x->AddAttribute(u"k", u"v");
    x->SetValue(u"1");
    doc->AddElement(u"y");
    doc->AddElement(u"z")->AddElement(u"w");
    return doc;
}
}

TEST(Equals, IdentityAndNull)
{
    ElementPtr doc = MakeSample();
    EXPECT_EQ(1, doc->Equals(doc.get()));
    EXPECT_EQ(0, doc->Equals(nullptr));
    CZOLLibXMLAttribute* a = doc->GetAttribute(u"a");
    EXPECT_EQ(1, a->Equals(a));
    EXPECT_EQ(0, a->Equals(nullptr));
}

TEST(Equals, EachDifferenceIsSeen)
{
    const std::function<void(CZOLLibXMLElement&)> edits[] = {
        [](CZOLLibXMLElement& d) { d.SetName(u"Doc"); },
        [](CZOLLibXMLElement& d) { d.SetValue(u"Text"); },
        [](CZOLLibXMLElement& d) { d.AddAttribute(u"c", u"3"); },
        [](CZOLLibXMLElement& d) { d.GetAttribute(u"a")->SetValue(u"9"); },
        [](CZOLLibXMLElement& d) { d.GetAttribute(u"a")->SetName(u"A"); },
        [](CZOLLibXMLElement& d) { d.AddElement(u"extra"); },
        [](CZOLLibXMLElement& d) { d.GetElementByName(u"z")->GetFirstElement()->SetValue(u"deep"); },
        [](CZOLLibXMLElement& d) { d.GetElementByName(u"z")->GetFirstElement()->AddElement(u"v"); },
        [](CZOLLibXMLElement& d) { d.GetElementByName(u"x")->AddAttribute(u"k", u"w"); },
        [](CZOLLibXMLElement& d) {
            // same children, other order
            CZOLLibXMLElement* x = d.GetElementByName(u"x")->Detach();
            d.AddElement(x);
        },
    };
    for (std::size_t i = 0; i < std::size(edits); ++i)
    {
        ElementPtr a = MakeSample();
        ElementPtr b = MakeSample();
        EXPECT_EQ(1, a->Equals(b.get()));
        edits[i](*b);
        EXPECT_EQ(0, a->Equals(b.get())) << "edit " << i;
        EXPECT_EQ(0, b->Equals(a.get())) << "edit " << i;
    }
}

TEST(Equals, AttributeOrderAndParentsDoNotMatter)
{
    CZOLLibXMLElement p1, p2;
    CZOLLibXMLElement* a = p1.AddElement(u"e");
    CZOLLibXMLElement* b = p2.AddElement(u"e");
    a->AddAttribute(u"x", u"1");
    a->AddAttribute(u"y", u"2");
    b->AddAttribute(u"y", u"2");
    b->AddAttribute(u"x", u"1");
    EXPECT_EQ(1, a->Equals(b));
}

TEST(Clone, CopiesWholeSubtreeWithOwnObjects)
{
    ElementPtr doc = MakeSample();
    CZOLLibXMLElement holder;
    ElementPtr copy(doc->Clone(&holder));
    EXPECT_EQ(1, copy->Equals(doc.get()));
    EXPECT_EQ(&holder, copy->GetParent());
    EXPECT_EQ(0, holder.GetElementCount());

    CZOLLibXMLAttribute* copied = copy->GetAttribute(u"a");
    EXPECT_NE(doc->GetAttribute(u"a"), copied);
    EXPECT_EQ(copy.get(), copied->GetParent());
    copied->SetValue(u"changed");
    EXPECT_EQ(CString(u"1"), doc->GetAttributeValue(u"a"));

    CZOLLibXMLElement* z = copy->GetElementByName(u"z");
    EXPECT_EQ(copy.get(), z->GetParent());
    EXPECT_EQ(z, z->GetFirstElement()->GetParent());
    EXPECT_EQ(CString(u"x"), copy->GetFirstElement()->GetName());

    copy->Detach(); // holder never held it
}

TEST(Clone, ParentlessCloneCanBeAdded)
{
    ElementPtr doc = MakeSample();
    CZOLLibXMLElement* x = doc->GetElementByName(u"x");
    CZOLLibXMLElement* copy = x->Clone(nullptr);
    EXPECT_EQ(copy, doc->AddElement(copy));
    EXPECT_EQ(4, doc->GetElementCount());
}

TEST(Clone, AttributeCloneIsFreeAndEqual)
{
    CZOLLibXMLElement e;
    CZOLLibXMLAttribute* a = e.AddAttribute(u"Name", u"v");
    std::unique_ptr<CZOLLibXMLAttribute> copy(a->Clone(nullptr));
    EXPECT_EQ(nullptr, copy->GetParent());
    EXPECT_EQ(1, copy->Equals(a));
    EXPECT_EQ(CString(u"Name"), copy->GetName());
    CZOLLibXMLAttribute other(nullptr, u"name");
    other.SetValue(u"v");
    EXPECT_EQ(0, other.Equals(a)); // case of names counts
}
