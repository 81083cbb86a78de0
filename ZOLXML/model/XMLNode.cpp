#include <ZOLXML/ZOLLibXML.h>

#include <afx/core/AfxPool.h>

CZOLLibXMLNode::CZOLLibXMLNode(CZOLLibXMLElement* pParent, LPCWSTR pszName)
    : m_type(ZXML_NODE), m_parent(pParent), m_name(pszName)
{
}

CZOLLibXMLNode::CZOLLibXMLNode(const CZOLLibXMLNode& node) = default;

CZOLLibXMLNode& CZOLLibXMLNode::operator=(const CZOLLibXMLNode& node)
{
    if (this != &node)
    {
        // Copy the strings first: if that fails the node keeps its old type and link.
        CString name(node.m_name);
        CString value(node.m_value);
        m_name = std::move(name);
        m_value = std::move(value);
        m_type = node.m_type;
        m_parent = node.m_parent;
    }
    return *this;
}

CZOLLibXMLNode::~CZOLLibXMLNode() = default;

void* CZOLLibXMLNode::operator new(std::size_t nSize)
{
    return AfxPoolAllocate(nSize);
}

void CZOLLibXMLNode::operator delete(void* p, std::size_t nSize) noexcept
{
    AfxPoolFree(p, nSize);
}

ZXMLNodeType CZOLLibXMLNode::GetType() const
{
    return m_type;
}

CZOLLibXMLNode* CZOLLibXMLNode::AsNode() const
{
    return const_cast<CZOLLibXMLNode*>(this);
}

CZOLLibXMLElement* CZOLLibXMLNode::AsElement() const
{
    return m_type == ZXML_ELEMENT ? static_cast<CZOLLibXMLElement*>(AsNode()) : nullptr;
}

CZOLLibXMLAttribute* CZOLLibXMLNode::AsAttribute() const
{
    return m_type == ZXML_ATTRIBUTE ? static_cast<CZOLLibXMLAttribute*>(AsNode()) : nullptr;
}

CZOLLibXMLElement* CZOLLibXMLNode::GetParent() const
{
    return m_parent;
}

CString CZOLLibXMLNode::GetName() const
{
    return m_name;
}

void CZOLLibXMLNode::SetName(LPCWSTR pszName)
{
    m_name = pszName;
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) int CZOLLibXMLNode::IsNamed(LPCWSTR pszName) const
{
    if (this == nullptr)
        return 0;
    return m_name.CompareNoCase(pszName) == 0 ? 1 : 0;
}

CString CZOLLibXMLNode::GetValue() const
{
    return m_value;
}

void CZOLLibXMLNode::SetValue(LPCWSTR pszValue)
{
    m_value = pszValue;
}

// Defined through a null object pointer too.
__attribute__((no_sanitize("null", "vptr"))) void CZOLLibXMLNode::Delete()
{
    if (this == nullptr)
        return;
    if (m_parent != nullptr)
    {
        if (m_type == ZXML_ELEMENT)
            m_parent->RemoveElement(static_cast<CZOLLibXMLElement*>(this));
        else if (m_type == ZXML_ATTRIBUTE)
            m_parent->RemoveAttribute(static_cast<CZOLLibXMLAttribute*>(this));
    }
    delete this;
}
