// The record of a node: its name, then its value, in the archive's string form.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>

void CZOLLibXMLNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_name << m_value;
    else
        ar >> m_name >> m_value;
}

void CZOLLibXMLAttribute::Serialize(CArchive& ar)
{
    CZOLLibXMLNode::Serialize(ar);
}
