#include "TreeBuilder.h"
#include "TreeWalk.h"
#include <ZOLXML/ZOLLibXML.h>

#include <memory>

CZOLLibXMLAttribute* CZOLLibXMLAttribute::Clone(CZOLLibXMLElement* pNewParent) const
{
    // Copies of strings share their buffers: nothing here allocates but the node.
    auto* pCopy = new CZOLLibXMLAttribute(pNewParent, m_name);
    pCopy->m_value = m_value;
    return pCopy;
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) int CZOLLibXMLAttribute::Equals(const CZOLLibXMLAttribute* pOther) const
{
    if (this == nullptr || pOther == nullptr)
        return 0;
    if (pOther == this)
        return 1;
    return m_name == pOther->m_name && m_value == pOther->m_value ? 1 : 0;
}

CZOLLibXMLElement* CZOLLibXMLElement::Clone(CZOLLibXMLElement* pNewParent) const
{
    std::unique_ptr<CZOLLibXMLElement> root;
    ZolStack<CZOLLibXMLElement*> copies; // the copy of each element on the walk's path
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& source) {
            // Held by its copied parent at once, so a failure below frees it with the root.
            if (copies.empty())
                root = std::make_unique<CZOLLibXMLElement>(pNewParent, source.m_name);
            copies.push_back(copies.empty() ? root.get() : copies.back()->AddElement(source.m_name));
            CZOLLibXMLElement* pCopy = copies.back();
            ZolForEachAttribute(source, [pCopy](const CZOLLibXMLAttribute& attribute) {
                ZolCreateAndFile<CZOLLibXMLAttribute>(nullptr, attribute.m_name, [&](CZOLLibXMLAttribute& copy) {
                    copy.m_value = attribute.m_value;
                    pCopy->FileAttribute(&copy);
                    return true;
                });
            });
        },
        [&](const CZOLLibXMLElement& source) {
            copies.back()->m_value = source.m_value;
            copies.pop_back();
        });
    return root.release();
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) int CZOLLibXMLElement::Equals(const CZOLLibXMLElement* pOther) const
{
    if (this == nullptr || pOther == nullptr)
        return 0;

    // Compares everything but the children of one pair.
    auto sameNode = [](const CZOLLibXMLElement& a, const CZOLLibXMLElement& b) {
        if (&a == &b)
            return true;
        if (a.m_name != b.m_name || a.m_value != b.m_value)
            return false;
        if (a.GetAttributeCount() != b.GetAttributeCount() || a.GetElementCount() != b.GetElementCount())
            return false;
        POSITION pos = a.GetAttributeIterator();
        while (pos != nullptr)
        {
            const CZOLLibXMLAttribute* pMine = a.GetNextAttribute(pos);
            if (!pMine->Equals(b.GetAttribute(pMine->m_name)))
                return false;
        }
        return true;
    };

    // Walk both trees together; equal child counts keep the cursors in step.
    struct Frame
    {
        const CZOLLibXMLElement* a;
        const CZOLLibXMLElement* b;
        POSITION nextA;
        POSITION nextB;
    };
    if (!sameNode(*this, *pOther))
        return 0;
    if (pOther == this)
        return 1;
    ZolStack<Frame> stack;
    stack.push_back(Frame{this, pOther, GetElementIterator(), pOther->GetElementIterator()});
    while (!stack.empty())
    {
        Frame& top = stack.back();
        if (top.nextA == nullptr || top.nextB == nullptr)
        {
            if (top.nextA != top.nextB)
                return 0;
            stack.pop_back();
            continue;
        }
        const CZOLLibXMLElement* pChildA = top.a->GetNextElement(top.nextA);
        const CZOLLibXMLElement* pChildB = top.b->GetNextElement(top.nextB);
        if (!sameNode(*pChildA, *pChildB))
            return 0;
        if (pChildA != pChildB)
            stack.push_back(Frame{pChildA, pChildB, pChildA->GetElementIterator(), pChildB->GetElementIterator()});
    }
    return 1;
}
