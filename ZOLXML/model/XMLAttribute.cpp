#include <ZOLXML/ZOLLibXML.h>

const WCHAR* const CZOLLibXMLAttribute::xmlnsSchema = u"http://www.w3.org/2001/XMLSchema";
const WCHAR* const CZOLLibXMLAttribute::xmlnsInstance = u"http://www.w3.org/2001/XMLSchema-instance";
const WCHAR* const CZOLLibXMLAttribute::schemaName = u"xsi:noNamespaceSchemaLocation";

CZOLLibXMLAttribute::CZOLLibXMLAttribute(CZOLLibXMLElement* pParent, LPCWSTR pszName)
    : CZOLLibXMLNode(pParent, pszName)
{
    m_type = ZXML_ATTRIBUTE;
}

CZOLLibXMLAttribute::CZOLLibXMLAttribute(const CZOLLibXMLAttribute& attribute) = default;

CZOLLibXMLAttribute& CZOLLibXMLAttribute::operator=(const CZOLLibXMLAttribute& attribute)
{
    CZOLLibXMLNode::operator=(attribute);
    return *this;
}
