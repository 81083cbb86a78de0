// The record of an element: name, value, the attribute count and records,
// the child count and records, depth-first. Neither direction recurses on
// the machine stack, so a tree of any depth fits on a small one.
#include "../model/TreeWalk.h"
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>

#include <memory>

namespace
{
// Counts are read as signed 32-bit numbers; zero or less means none follow.
LONG ReadSignedCount(CArchive& ar)
{
    return static_cast<LONG>(static_cast<DWORD>(ar.ReadCount()));
}
}

void CZOLLibXMLElement::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ZolWalkTree(
            *this,
            [&ar](const CZOLLibXMLElement& element) {
                ar << element.m_name << element.m_value;
                ar.WriteCount(static_cast<ULONG_PTR>(element.m_attributes.GetCount()));
                ZolForEachAttribute(element, [&ar](const CZOLLibXMLAttribute& attribute) {
                    ar << attribute.m_name << attribute.m_value;
                });
                ar.WriteCount(static_cast<ULONG_PTR>(element.m_elements.GetCount()));
            },
            [](const CZOLLibXMLElement&) {});
        return;
    }

    // Reads an element's name, value and attributes into it and returns the
    // number of children that follow. Each attribute is filed under its key
    // once read, displacing (and destroying) one filed under the same key.
    auto loadHead = [&ar](CZOLLibXMLElement& element) {
        element.CZOLLibXMLNode::Serialize(ar);
        for (LONG nAttributes = ReadSignedCount(ar); nAttributes > 0; --nAttributes)
        {
            std::unique_ptr<CZOLLibXMLAttribute> attribute(new CZOLLibXMLAttribute(&element, nullptr));
            attribute->Serialize(ar);
            element.FileAttribute(attribute.get());
            attribute.release();
        }
        return ReadSignedCount(ar);
    };

    // The elements being loaded, from this one down to the deepest, each with
    // the number of its children still to read. A child joins its parent only
    // once its whole record is read, so until then this stack owns it.
    struct OpenElement
    {
        CZOLLibXMLElement* element;
        LONG childrenLeft;
    };
    ZolStack<OpenElement> open;
    try
    {
        open.push_back(OpenElement{this, 0});
        open.back().childrenLeft = loadHead(*this);
        while (true)
        {
            OpenElement& top = open.back();
            if (top.childrenLeft > 0)
            {
                --top.childrenLeft;
                auto* child = new CZOLLibXMLElement(top.element, nullptr);
                try
                {
                    open.push_back(OpenElement{child, 0});
                }
                catch (...)
                {
                    delete child;
                    throw;
                }
                open.back().childrenLeft = loadHead(*child);
            }
            else if (open.size() > 1)
            {
                open[open.size() - 2].element->m_elements.AddTail(top.element);
                open.pop_back();
            }
            else
            {
                break;
            }
        }
    }
    catch (...)
    {
        // What was read before stays in the tree; the elements still open
        // were never attached to it.
        for (std::size_t i = 1; i < open.size(); ++i)
            delete open[i].element;
        throw;
    }
}
