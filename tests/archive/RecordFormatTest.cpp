#include "afx/ArchiveBytes.h"

#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <memory>

namespace
{
using Tree = std::unique_ptr<CZOLLibXMLElement>;

Bytes Stored(CZOLLibXMLElement& element)
{
    return StoredBytes([&](CArchive& ar) { element.Serialize(ar); });
}

Tree Loaded(const Bytes& bytes)
{
    Tree tree(new CZOLLibXMLElement());
    LoadingArchive loading(bytes);
    tree->Serialize(loading.Archive());
    return tree;
}

const char* const kWorkedExample =
    "FF FE FF 01 61 00  FF FE FF 01 78 00  01 00"
    "  FF FE FF 01 62 00  FF FE FF 01 79 00  01 00"
    "  FF FE FF 01 63 00  FF FE FF 00  00 00  00 00";

Tree WorkedExampleTree()
{
    Tree root(new CZOLLibXMLElement(nullptr, u"a"));
    root->SetValue(u"x");
    root->AddAttribute(u"b", u"y");
    root->AddElement(u"c");
    return root;
}

TEST(ElementRecord, WorkedExampleIsFortyTwoBytes)
{
    Tree root = WorkedExampleTree();
    const Bytes bytes = Stored(*root);
    EXPECT_EQ(42u, bytes.size());
    EXPECT_EQ(HexBytes(kWorkedExample), bytes);
}

TEST(ElementRecord, WorkedExampleLoadsAsTheTree)
{
    Tree expected = WorkedExampleTree();
    Tree loaded = Loaded(HexBytes(kWorkedExample));
    EXPECT_TRUE(loaded->Equals(expected.get()));
    EXPECT_EQ(nullptr, loaded->GetParent());
    EXPECT_EQ(loaded.get(), loaded->GetFirstElement()->GetParent());
    EXPECT_EQ(loaded.get(), loaded->GetAttribute(u"b")->GetParent());
    EXPECT_EQ(ZXML_ATTRIBUTE, loaded->GetAttribute(u"b")->GetType());
    EXPECT_EQ(ZXML_ELEMENT, loaded->GetFirstElement()->GetType());
}

TEST(ElementRecord, LeafIsItsStringsAndTwoZeroCounts)
{
    CZOLLibXMLElement leaf(nullptr, u"n");
    EXPECT_EQ(HexBytes("FF FE FF 01 6E 00  FF FE FF 00  00 00 00 00"), Stored(leaf));
}

TEST(AttributeRecord, IsItsNameAndValueAlone)
{
    CZOLLibXMLElement owner;
    CZOLLibXMLAttribute* attribute = owner.AddAttribute(u"Ab", u"v");
    const Bytes bytes = StoredBytes([&](CArchive& ar) { attribute->Serialize(ar); });
    EXPECT_EQ(HexBytes("FF FE FF 02 41 00 62 00  FF FE FF 01 76 00"), bytes);
}

TEST(AttributeRecord, LoadingReplacesNameAndValueOnly)
{
    CZOLLibXMLElement owner;
    CZOLLibXMLAttribute* attribute = owner.AddAttribute(u"old", u"1");
    LoadingArchive loading(HexBytes("FF FE FF 03 6E 00 65 00 77 00  FF FE FF 01 32 00"));
    attribute->Serialize(loading.Archive());
    EXPECT_TRUE(attribute->GetName() == u"new");
    EXPECT_TRUE(attribute->GetValue() == u"2");
    EXPECT_EQ(&owner, attribute->GetParent());
    EXPECT_EQ(attribute, owner.GetAttribute(u"old")) << "still filed under the key it had";
    EXPECT_EQ(nullptr, owner.GetAttribute(u"new"));
}

// Trees of several shapes, built through the model's own operations.
struct Shape
{
    const char* name;
    Tree (*build)();
};

Tree EmptyRoot()
{
    return Tree(new CZOLLibXMLElement());
}

Tree ManyAttributes()
{
    Tree root(new CZOLLibXMLElement(nullptr, u"r"));
    for (WCHAR c = u'a'; c <= u'z'; ++c)
    {
        const WCHAR name[] = {u'Z', c, 0};
        root->AddAttribute(name, name + 1);
    }
    return root;
}

Tree Nested()
{
    Tree root(new CZOLLibXMLElement(nullptr, u"root"));
    CZOLLibXMLElement* first = root->AddElement(u"first");
    first->AddElement(u"inner")->SetValue(u"deep text");
    first->AddAttribute(u"k", u"");
    root->AddElement(u"second")->AddElement(u"third");
    root->AddElement(u"");
    root->SetValue(u"after");
    return root;
}

Tree LongAndWideStrings()
{
    Tree root(new CZOLLibXMLElement(nullptr, u"\u00e9l\u00e9ment"));
    root->SetValue(CString(u'\u4e2d', 70000));
    root->AddAttribute(u"emoji", u"\U0001F600 \uFFFE \uFFFF");
    root->AddElement(CString(u'n', 255));
    return root;
}

Tree ThousandChildren()
{
    Tree root(new CZOLLibXMLElement(nullptr, u"list"));
    for (int i = 0; i < 1000; ++i)
        root->AddElement(u"item")->AddAttribute(u"i", CString(static_cast<WCHAR>(u'0' + i % 10)));
    return root;
}

class RoundTrip : public testing::TestWithParam<Shape>
{
};

TEST_P(RoundTrip, LoadingStoredBytesGivesAnEqualTreeThatStoresTheSameBytes)
{
    Tree original = GetParam().build();
    const Bytes bytes = Stored(*original);
    Tree loaded = Loaded(bytes);
    EXPECT_TRUE(loaded->Equals(original.get()));
    EXPECT_EQ(bytes, Stored(*loaded)) << "children and attributes keep their order";
}

INSTANTIATE_TEST_SUITE_P(Shapes, RoundTrip,
                         testing::Values(Shape{"EmptyRoot", EmptyRoot}, Shape{"ManyAttributes", ManyAttributes},
                                         Shape{"Nested", Nested}, Shape{"LongAndWideStrings", LongAndWideStrings},
                                         Shape{"ThousandChildren", ThousandChildren}),
                         [](const testing::TestParamInfo<Shape>& shape) { return std::string(shape.param.name); });

TEST(ElementRecord, AttributesGoInEnumerationOrder)
{
    CZOLLibXMLElement element;
    element.AddAttribute(u"z", u"1");
    element.AddAttribute(u"a", u"2");
    element.AddAttribute(u"Z", u"3"); // replaces the value, keeps the place
    const Bytes bytes = Stored(element);
    const Bytes expected = HexBytes("FF FE FF 00  FF FE FF 00  02 00"
                                    "  FF FE FF 01 7A 00  FF FE FF 01 33 00"
                                    "  FF FE FF 01 61 00  FF FE FF 01 32 00  00 00");
    EXPECT_EQ(expected, bytes);
}
}
