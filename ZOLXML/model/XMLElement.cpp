#include "AttributeKey.h"
#include "TreeBuilder.h"
#include <ZOLXML/ZOLLibXML.h>

CZOLLibXMLElement::CZOLLibXMLElement(CZOLLibXMLElement* pParent, LPCWSTR pszName)
    : CZOLLibXMLNode(pParent, pszName)
{
    m_type = ZXML_ELEMENT;
}

CZOLLibXMLElement::~CZOLLibXMLElement()
{
    DeleteAllElements();
    DeleteAllAttributes();
}

CZOLLibXMLElement* CZOLLibXMLElement::AddElement(LPCWSTR pszName)
{
    return ZolCreateAndFile<CZOLLibXMLElement>(this, pszName, [this](CZOLLibXMLElement& element) {
        m_elements.AddTail(&element);
        return true;
    });
}

CZOLLibXMLElement* CZOLLibXMLElement::AddElement(CZOLLibXMLElement* pElement)
{
    if (pElement == nullptr || pElement->m_parent != nullptr)
        return nullptr;
    // A parentless element can only be an ancestor of this one by being its root.
    for (const CZOLLibXMLElement* p = this; p != nullptr; p = p->m_parent)
        if (p == pElement)
            return nullptr;
    m_elements.AddTail(pElement);
    pElement->m_parent = this;
    return pElement;
}

int CZOLLibXMLElement::GetElementCount() const
{
    return static_cast<int>(m_elements.GetCount());
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) CZOLLibXMLElement* CZOLLibXMLElement::GetFirstElement() const
{
    if (this == nullptr || m_elements.IsEmpty())
        return nullptr;
    return static_cast<CZOLLibXMLElement*>(m_elements.GetHead());
}

CZOLLibXMLElement* CZOLLibXMLElement::GetElementByName(LPCWSTR pszName) const
{
    POSITION pos = m_elements.GetHeadPosition();
    while (pos != nullptr)
    {
        auto* pChild = static_cast<CZOLLibXMLElement*>(m_elements.GetNext(pos));
        if (pChild->m_name.CompareNoCase(pszName) == 0)
            return pChild;
    }
    return nullptr;
}

CZOLLibXMLElement* CZOLLibXMLElement::GetElementByName(LPCWSTR pszName, int bCreate)
{
    CZOLLibXMLElement* pChild = static_cast<const CZOLLibXMLElement*>(this)->GetElementByName(pszName);
    if (pChild == nullptr && bCreate)
        pChild = AddElement(pszName);
    return pChild;
}

void CZOLLibXMLElement::RemoveElement(CZOLLibXMLElement* pElement)
{
    POSITION pos = m_elements.Find(pElement);
    if (pos != nullptr)
        m_elements.RemoveAt(pos);
}

CZOLLibXMLElement* CZOLLibXMLElement::Detach()
{
    if (m_parent != nullptr)
        m_parent->RemoveElement(this);
    m_parent = nullptr;
    return this;
}

void CZOLLibXMLElement::DeleteAllElements()
{
    // Destroys the subtree depth-first, children first to last, without
    // recursion: descend by taking each element's first child off its list,
    // and destroy an element only once its list is empty, so that no
    // destructor below this one has children left to destroy.
    CZOLLibXMLElement* pCurrent = this;
    while (true)
    {
        if (!pCurrent->m_elements.IsEmpty())
        {
            auto* pChild = static_cast<CZOLLibXMLElement*>(pCurrent->m_elements.RemoveHead());
            pChild->m_parent = pCurrent; // the way back up, whatever the link said before
            pCurrent = pChild;
        }
        else if (pCurrent == this)
        {
            break;
        }
        else
        {
            CZOLLibXMLElement* pParent = pCurrent->m_parent;
            delete pCurrent;
            pCurrent = pParent;
        }
    }
}

CZOLLibXMLAttribute* CZOLLibXMLElement::FileAttribute(CZOLLibXMLAttribute* pAttribute)
{
    return FileAttribute(pAttribute, ZolAttributeKeyOf(pAttribute->m_name));
}

CZOLLibXMLAttribute* CZOLLibXMLElement::FileAttribute(CZOLLibXMLAttribute* pAttribute, const CString& key)
{
    void*& rEntry = m_attributes[key];
    auto* pDisplaced = static_cast<CZOLLibXMLAttribute*>(rEntry);
    rEntry = pAttribute;
    pAttribute->m_parent = this;
    if (pDisplaced != nullptr && pDisplaced != pAttribute)
        delete pDisplaced; // this element owned it, and nothing holds it any more
    return pAttribute;
}

CZOLLibXMLAttribute* CZOLLibXMLElement::AddAttribute(LPCWSTR pszName, LPCWSTR pszValue)
{
    CZOLLibXMLAttribute* pAttribute = GetAttribute(pszName);
    if (pAttribute == nullptr)
    {
        pAttribute = ZolCreateAndFile<CZOLLibXMLAttribute>(this, pszName, [this](CZOLLibXMLAttribute& attribute) {
            m_attributes[ZolAttributeKeyOf(attribute.m_name)] = &attribute;
            return true;
        });
    }
    if (pszValue != nullptr)
        pAttribute->m_value = pszValue;
    return pAttribute;
}

CZOLLibXMLAttribute* CZOLLibXMLElement::AddAttribute(CZOLLibXMLAttribute* pAttribute)
{
    if (pAttribute == nullptr || pAttribute->m_parent != nullptr)
        return nullptr;
    return FileAttribute(pAttribute);
}

int CZOLLibXMLElement::GetAttributeCount() const
{
    return static_cast<int>(m_attributes.GetCount());
}

CZOLLibXMLAttribute* CZOLLibXMLElement::GetAttribute(LPCWSTR pszName) const
{
    if (m_attributes.IsEmpty())
        return nullptr;
    void* pValue = nullptr;
    if (!m_attributes.Lookup(ZolAttributeKey(pszName), pValue))
        return nullptr;
    return static_cast<CZOLLibXMLAttribute*>(pValue);
}

CString CZOLLibXMLElement::GetAttributeValue(LPCWSTR pszName, LPCWSTR pszDefault) const
{
    const CZOLLibXMLAttribute* pAttribute = GetAttribute(pszName);
    if (pAttribute != nullptr)
        return pAttribute->m_value;
    return CString(pszDefault);
}

void CZOLLibXMLElement::RemoveAttribute(CZOLLibXMLAttribute* pAttribute)
{
    if (pAttribute == nullptr)
        return;
    const ZolAttributeKey key(pAttribute->m_name);
    void* pHeld = nullptr;
    if (m_attributes.Lookup(key, pHeld) && pHeld == pAttribute)
    {
        m_attributes.RemoveKey(key);
        return;
    }
    // Renamed since it was filed: find its entry by identity. An entry that
    // holds another attribute is never removed in its place.
    for (const CMapStringToPtr::CPair* p = m_attributes.PGetFirstAssoc(); p != nullptr; p = m_attributes.PGetNextAssoc(p))
    {
        if (p->value == pAttribute)
        {
            m_attributes.RemoveKey(CString(p->key));
            return;
        }
    }
}

void CZOLLibXMLElement::DeleteAttribute(LPCWSTR pszName)
{
    CZOLLibXMLAttribute* pAttribute = GetAttribute(pszName);
    if (pAttribute != nullptr)
    {
        RemoveAttribute(pAttribute);
        delete pAttribute;
    }
}

void CZOLLibXMLElement::DeleteAllAttributes()
{
    for (CMapStringToPtr::CPair* p = m_attributes.PGetFirstAssoc(); p != nullptr; p = m_attributes.PGetNextAssoc(p))
        delete static_cast<CZOLLibXMLAttribute*>(p->value);
    m_attributes.RemoveAll();
}
