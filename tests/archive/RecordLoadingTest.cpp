#include "afx/ArchiveBytes.h"

#include <ZOLXML/ZOLLibXML.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
// The pieces of a record, as the archive writes them.
Bytes Utf16(const std::u16string& text)
{
    return StoredBytes([&](CArchive& ar) { ar << CString(text.c_str(), static_cast<int>(text.size())); });
}

Bytes Count(DWORD count)
{
    return StoredBytes([&](CArchive& ar) { ar.WriteCount(count); });
}

const Bytes kWorkedExample = HexBytes(
    "FF FE FF 01 61 00  FF FE FF 01 78 00  01 00"
    "  FF FE FF 01 62 00  FF FE FF 01 79 00  01 00"
    "  FF FE FF 01 63 00  FF FE FF 00  00 00  00 00");

std::u16string Names(const CZOLLibXMLElement& element)
{
    std::u16string names;
    POSITION pos = element.GetElementIterator();
    while (pos != nullptr)
        names += std::u16string(element.GetNextElement(pos)->GetName()) + u",";
    return names;
}

std::u16string AttributeNames(const CZOLLibXMLElement& element)
{
    std::u16string names;
    POSITION pos = element.GetAttributeIterator();
    while (pos != nullptr)
    {
        const CZOLLibXMLAttribute* attribute = element.GetNextAttribute(pos);
        names += std::u16string(attribute->GetName()) + u"=" + std::u16string(attribute->GetValue()) + u",";
    }
    return names;
}

TEST(ElementLoading, AppendsToWhatTheElementHolds)
{
    CZOLLibXMLElement element(nullptr, u"old");
    element.SetValue(u"old");
    element.AddElement(u"k1");
    element.AddElement(u"k2");
    element.AddAttribute(u"keep", u"1");
    element.AddAttribute(u"B", u"displaced");

    LoadingArchive loading(kWorkedExample);
    element.Serialize(loading.Archive());
    EXPECT_TRUE(element.GetName() == u"a");
    EXPECT_TRUE(element.GetValue() == u"x");
    EXPECT_EQ(u"k1,k2,c,", Names(element));
    EXPECT_EQ(u"keep=1,b=y,", AttributeNames(element)) << "a loaded attribute takes the place of its key";
}

TEST(ElementLoading, AttributeNamesDifferingInCaseLeaveTheLastRead)
{
    const Bytes record = Utf16(u"e") + Utf16(u"") + Count(3) + Utf16(u"ID") + Utf16(u"1") + Utf16(u"id") +
                         Utf16(u"2") + Utf16(u"Id") + Utf16(u"3") + Count(0);
    CZOLLibXMLElement element;
    LoadingArchive loading(record);
    element.Serialize(loading.Archive());
    EXPECT_EQ(u"Id=3,", AttributeNames(element));
    EXPECT_EQ(element.GetAttribute(u"iD"), element.GetAttribute(u"ID"));
    EXPECT_EQ(&element, element.GetAttribute(u"id")->GetParent());
}

TEST(ElementLoading, NegativeCountsMeanNoneFollow)
{
    for (DWORD count : {0x80000000u, 0xFFFFFFFFu})
    {
        const Bytes record = Utf16(u"e") + Utf16(u"v") + Count(count) + Count(count);
        CZOLLibXMLElement element;
        LoadingArchive loading(record + HexBytes("AA"));
        element.Serialize(loading.Archive());
        EXPECT_EQ(0, element.GetAttributeCount());
        EXPECT_EQ(0, element.GetElementCount());
        loading.Archive().Flush();
        EXPECT_EQ(record.size(), loading.File().GetPosition()) << "nothing read past the counts";
    }
}

TEST(ElementLoading, EightBitAndNulCarryingStringsLoad)
{
    const Bytes record = HexBytes("02 E9 80") + Utf16(std::u16string(u"v\0w", 3)) + Count(0) + Count(0);
    CZOLLibXMLElement element;
    LoadingArchive loading(record);
    element.Serialize(loading.Archive());
    EXPECT_TRUE(element.GetName() == u"\u00e9\u20ac");
    EXPECT_TRUE(element.GetValue() == u"v");
    EXPECT_EQ(Utf16(u"\u00e9\u20ac") + Utf16(u"v") + Count(0) + Count(0),
              StoredBytes([&](CArchive& ar) { element.Serialize(ar); }))
        << "stored again in the UTF-16 form";
}

// What the root keeps when the worked example is cut after n bytes: the
// name needs 6 bytes, the value 12, the attribute 26, the child all 42.
struct Kept
{
    std::size_t upTo;
    const char16_t* name;
    const char16_t* value;
    const char16_t* attributes;
};

TEST(ElementLoading, ACutRecordKeepsWhatWasReadBeforeTheCut)
{
    const Kept table[] = {
        {6, u"old", u"old", u""}, {12, u"a", u"old", u""}, {26, u"a", u"x", u""}, {42, u"a", u"x", u"b=y,"}};
    for (std::size_t n = 0; n < kWorkedExample.size(); ++n)
    {
        const Kept* kept = table;
        while (n >= kept->upTo)
            ++kept;
        CZOLLibXMLElement root(nullptr, u"old");
        root.SetValue(u"old");
        LoadingArchive loading(Bytes(kWorkedExample.begin(), kWorkedExample.begin() + static_cast<std::ptrdiff_t>(n)));
        EXPECT_EQ(CArchiveException::endOfFile,
                  ExceptionCause<CArchiveException>([&] { root.Serialize(loading.Archive()); }))
            << n << " bytes";
        EXPECT_TRUE(root.GetName() == kept->name) << n << " bytes";
        EXPECT_TRUE(root.GetValue() == kept->value) << n << " bytes";
        EXPECT_EQ(kept->attributes, AttributeNames(root)) << n << " bytes";
        EXPECT_EQ(0, root.GetElementCount()) << n << " bytes";
    }
}

TEST(ElementLoading, ACutInsideADescendantKeepsTheSiblingsLoadedBeforeIt)
{
    CZOLLibXMLElement source(nullptr, u"root");
    source.AddElement(u"c1")->AddElement(u"g0");
    CZOLLibXMLElement* c2 = source.AddElement(u"c2");
    c2->AddElement(u"g1")->AddAttribute(u"a", u"1");
    c2->AddElement(u"g2")->AddElement(u"h");
    const Bytes bytes = StoredBytes([&](CArchive& ar) { source.Serialize(ar); });

    for (std::size_t cutFromEnd : {std::size_t{1}, std::size_t{12}, std::size_t{30}})
    {
        CZOLLibXMLElement root;
        LoadingArchive loading(Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(cutFromEnd)));
        EXPECT_EQ(CArchiveException::endOfFile,
                  ExceptionCause<CArchiveException>([&] { root.Serialize(loading.Archive()); }));
        EXPECT_EQ(u"c1,", Names(root)) << "cut " << cutFromEnd << " bytes from the end";
        EXPECT_EQ(u"g0,", Names(*root.GetFirstElement()));
    }
}
}
