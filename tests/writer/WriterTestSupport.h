// Helpers shared by the writer tests: readable strings and small trees.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

#include "TestSupport.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// The units of a CString, embedded NULs included, in a form GoogleTest prints.
inline std::u16string Units(const CString& str)
{
    return std::u16string(str.GetString(), static_cast<std::size_t>(str.GetLength()));
}


// A small tree written out as a literal.
struct TreeSpec
{
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> attributes = {};
    std::u16string value = {};
    std::vector<TreeSpec> children = {};
};

inline void FillElement(CZOLLibXMLElement& element, const TreeSpec& shape)
{
    for (const auto& [name, value] : shape.attributes)
        element.AddAttribute(name.c_str(), value.c_str());
    element.SetValue(shape.value.c_str());
    for (const TreeSpec& child : shape.children)
        FillElement(*element.AddElement(child.name.c_str()), child);
}

inline ElementPtr BuildTree(const TreeSpec& shape)
{
    ElementPtr root(new CZOLLibXMLElement(nullptr, shape.name.c_str()));
    FillElement(*root, shape);
    return root;
}
