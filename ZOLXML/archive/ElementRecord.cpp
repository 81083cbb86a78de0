// The record of an element: name, value, the attribute count and records,
// the child count and records, depth-first. Neither direction recurses on
// the machine stack, so a tree of any depth fits on a small one.
#include "../model/TreeBuilder.h"
#include "../model/TreeWalk.h"
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>


namespace
{
// Counts are read as signed 32-bit numbers; zero or less means none follow.
LONG ReadSignedCount(CArchive& ar)
{
    return static_cast<LONG>(static_cast<DWORD>(ar.ReadCount()));
}
}

namespace
{
void StoreRecord(const CZOLLibXMLElement& root, CArchive& ar)
{
    ZolWalkTree(
        root,
        [&ar](const CZOLLibXMLElement& element) {
            ar << element.GetName() << element.GetValue();
            ar.WriteCount(static_cast<ULONG_PTR>(element.GetAttributeCount()));
            ZolForEachAttribute(element, [&ar](const CZOLLibXMLAttribute& attribute) {
                ar << attribute.GetName() << attribute.GetValue();
            });
            ar.WriteCount(static_cast<ULONG_PTR>(element.GetElementCount()));
        },
        [](const CZOLLibXMLElement&) {});
}

// Reads an element's name, value and attributes into it and returns the
// number of children that follow. Each attribute is filed under its key
// once read, displacing (and destroying) one filed under the same key.
LONG LoadHead(CZOLLibXMLElement& element, CArchive& ar)
{
    ar >> CZolTreeBuilder::Name(element) >> CZolTreeBuilder::Value(element);
    for (LONG nAttributes = ReadSignedCount(ar); nAttributes > 0; --nAttributes)
    {
        ZolCreateAndFile<CZOLLibXMLAttribute>(&element, nullptr, [&](CZOLLibXMLAttribute& attribute) {
            attribute.Serialize(ar);
            CZolTreeBuilder::FileAttribute(element, attribute);
            return true;
        });
    }
    return ReadSignedCount(ar);
}

// A child joins its parent once its whole record is read; a record cut short
// leaves what was read before in the tree and frees the elements still open.
void LoadRecord(CZOLLibXMLElement& root, CArchive& ar)
{
    CZolTreeBuilder builder(root);
    ZolStack<LONG> childrenLeft; // of each open element
    childrenLeft.push_back(LoadHead(root, ar));
    for (;;)
    {
        if (childrenLeft.back() > 0)
        {
            --childrenLeft.back();
            CZOLLibXMLElement& child = builder.Open();
            childrenLeft.push_back(0);
            childrenLeft.back() = LoadHead(child, ar);
            continue;
        }
        childrenLeft.pop_back();
        if (!builder.Close())
            return;
    }
}
} // namespace

void CZOLLibXMLElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        StoreRecord(*this, ar);
    else
        LoadRecord(*this, ar);
}
