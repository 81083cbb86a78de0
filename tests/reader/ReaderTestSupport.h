// Helpers of the reader's tests: owning roots and a one-line picture of a tree.
#pragma once

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextConversion.h>

#include "TestSupport.h"

#include <memory>
#include <string>


// UTF-8 test text as the reader's wide text.
inline CString Wide(const std::string& utf8)
{
    CString wide;
    const std::size_t nUnits = AfxDecodeUtf8(reinterpret_cast<const BYTE*>(utf8.data()), utf8.size(),
                                             wide.GetBufferSetLength(static_cast<int>(utf8.size())));
    wide.ReleaseBuffer(static_cast<int>(nUnits));
    return wide;
}

inline std::string Utf8(const CString& str)
{
    CUtf8String bytes;
    AfxEncodeUtf8(str, static_cast<std::size_t>(str.GetLength()), bytes);
    return std::string(bytes.begin(), bytes.end());
}

// name{attribute=value,...}="value"(child,...), "!" marking a wrong parent
// link or an attribute not found under its lower-cased name; "null" for none.
inline std::string Describe(const CZOLLibXMLElement* pElement)
{
    if (pElement == nullptr)
        return "null";
    std::string out = Utf8(pElement->GetName());
    if (pElement->GetAttributeCount() != 0)
    {
        out += "{";
        for (POSITION pos = pElement->GetAttributeIterator(); pos != nullptr;)
        {
            const CZOLLibXMLAttribute* pAttribute = pElement->GetNextAttribute(pos);
            CString key = pAttribute->GetName();
            if (pAttribute->GetParent() != pElement || pElement->GetAttribute(key.MakeLower()) != pAttribute)
                out += "!";
            out += Utf8(pAttribute->GetName()) + "=" + Utf8(pAttribute->GetValue()) + (pos != nullptr ? "," : "}");
        }
    }
    if (!pElement->GetValue().IsEmpty())
        out += "=\"" + Utf8(pElement->GetValue()) + "\"";
    if (pElement->GetElementCount() != 0)
    {
        out += "(";
        for (POSITION pos = pElement->GetElementIterator(); pos != nullptr;)
        {
            const CZOLLibXMLElement* pChild = pElement->GetNextElement(pos);
            out += (pChild->GetParent() != pElement ? "!" : "") + Describe(pChild) + (pos != nullptr ? "," : ")");
        }
    }
    return out;
}

// The number of levels below and including root, following first children.
inline int Depth(const CZOLLibXMLElement* pRoot)
{
    int depth = 0;
    for (; pRoot != nullptr; pRoot = pRoot->GetFirstElement())
        ++depth;
    return depth;
}

// n nested <a> elements.
inline std::string NestedElements(std::size_t n)
{
    std::string text;
    text.reserve(7 * n);
    for (std::size_t i = 0; i < n; ++i)
        text += "<a>";
    for (std::size_t i = 0; i < n; ++i)
        text += "</a>";
    return text;
}
