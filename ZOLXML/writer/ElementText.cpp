#include "../model/TreeWalk.h"
#include "ValueEscaping.h"

#include <cstdint>

namespace
{
constexpr WCHAR kDeclaration[] = u"<?xml version=\"1.0\"?>";
constexpr WCHAR kLineBreak[] = u"\r\n";
constexpr int kLineBreakLength = 2;

// name="escaped value"
std::int64_t AttributeTextLength(const CString& name, const CString& value)
{
    return std::int64_t{name.GetLength()} + 3 + ZolEscapedLength(value);
}

WCHAR* WriteAttributeText(WCHAR* pOut, const CString& name, const CString& value)
{
    pOut = ZolWriteUnits(pOut, name);
    *pOut++ = u'=';
    *pOut++ = u'"';
    pOut = ZolWriteEscaped(pOut, value);
    *pOut++ = u'"';
    return pOut;
}

WCHAR* WriteLineBreak(WCHAR* pOut, int nLineBreak)
{
    for (int i = 0; i < nLineBreak; ++i)
        *pOut++ = kLineBreak[i];
    return pOut;
}
}

void CZOLLibXMLAttribute::ToString(CString& strOut) const
{
    WriteAttributeText(ZolExtend(strOut, AttributeTextLength(m_name, m_value)), m_name, m_value);
}

void CZOLLibXMLElement::ToString(CString& strOut, int bLineBreaks) const
{
    const int nLineBreak = bLineBreaks ? kLineBreakLength : 0;
    auto isEmptyForm = [](const CZOLLibXMLElement& element) {
        return element.m_elements.IsEmpty() && element.m_value.IsEmpty();
    };

    // The text's exact length first, so that it is allocated once and
    // written in one pass without a check.
    std::int64_t nLength = 0;
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& element) {
            nLength += 1 + element.m_name.GetLength();
            ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                nLength += 1 + AttributeTextLength(attribute.m_name, attribute.m_value);
            });
            if (isEmptyForm(element))
                nLength += 2;
            else
                nLength += 1 + (element.m_elements.IsEmpty() ? 0 : nLineBreak);
        },
        [&](const CZOLLibXMLElement& element) {
            if (!isEmptyForm(element))
                nLength += ZolEscapedLength(element.m_value) + 3 + element.m_name.GetLength();
            nLength += nLineBreak;
        });

    WCHAR* pOut = ZolExtend(strOut, nLength);
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& element) {
            *pOut++ = u'<';
            pOut = ZolWriteUnits(pOut, element.m_name);
            ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                *pOut++ = u' ';
                pOut = WriteAttributeText(pOut, attribute.m_name, attribute.m_value);
            });
            if (isEmptyForm(element))
            {
                *pOut++ = u'/';
                *pOut++ = u'>';
                return;
            }
            *pOut++ = u'>';
            if (!element.m_elements.IsEmpty())
                pOut = WriteLineBreak(pOut, nLineBreak);
        },
        [&](const CZOLLibXMLElement& element) {
            if (!isEmptyForm(element))
            {
                // The value follows the last child.
                pOut = ZolWriteEscaped(pOut, element.m_value);
                *pOut++ = u'<';
                *pOut++ = u'/';
                pOut = ZolWriteUnits(pOut, element.m_name);
                *pOut++ = u'>';
            }
            pOut = WriteLineBreak(pOut, nLineBreak);
        });
}

CString CZOLLibXMLElement::ToString(int bDeclaration, int bLineBreaks) const
{
    CString strText;
    if (bDeclaration)
        strText = kDeclaration;
    if (bLineBreaks)
        strText += kLineBreak;
    ToString(strText, bLineBreaks);
    return strText;
}
