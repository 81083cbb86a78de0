#include "../model/TreeWalk.h"
#include "ValueEscaping.h"

#include <cstdint>

namespace
{
constexpr WCHAR kDeclaration[] = u"<?xml version=\"1.0\"?>";
constexpr WCHAR kLineBreak[] = u"\r\n";
constexpr int kLineBreakLength = 2;

// name="value": the length when the value needs no escaping.
std::int64_t AttributeTextLength(const CString& name, const CString& value)
{
    return std::int64_t{name.GetLength()} + 3 + value.GetLength();
}

void WriteAttributeText(CZolTextSink& sink, const CString& name, const CString& value)
{
    sink.Write(name);
    sink.Write(u"=\"", 2);
    ZolWriteEscaped(sink, value);
    sink.Write(u'"');
}
}

void CZOLLibXMLAttribute::ToString(CString& strOut) const
{
    CZolTextSink sink(strOut, AttributeTextLength(m_name, m_value), CZolTextSink::Growth::ByPiece);
    WriteAttributeText(sink, m_name, m_value);
}

void CZOLLibXMLElement::ToString(CString& strOut, int bLineBreaks) const
{
    const int nLineBreak = bLineBreaks ? kLineBreakLength : 0;
    auto isEmptyForm = [](const CZOLLibXMLElement& element) {
        return element.m_elements.IsEmpty() && element.m_value.IsEmpty();
    };

    // A first pass sizes the text exactly as long as no value needs escaping,
    // so that one reservation serves the whole text.
    std::int64_t nEstimate = 0;
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& element) {
            nEstimate += 1 + element.m_name.GetLength() + nLineBreak;
            ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                nEstimate += 1 + AttributeTextLength(attribute.m_name, attribute.m_value);
            });
            if (isEmptyForm(element))
                nEstimate += 2;
            else
                nEstimate += 1 + (element.m_elements.IsEmpty() ? 0 : nLineBreak) + element.m_value.GetLength() + 2 +
                             element.m_name.GetLength() + 1;
        },
        [](const CZOLLibXMLElement&) {});

    CZolTextSink sink(strOut, nEstimate, CZolTextSink::Growth::Doubling);
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& element) {
            sink.Write(u'<');
            sink.Write(element.m_name);
            ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                sink.Write(u' ');
                WriteAttributeText(sink, attribute.m_name, attribute.m_value);
            });
            if (isEmptyForm(element))
            {
                sink.Write(u"/>", 2);
                return;
            }
            sink.Write(u'>');
            if (!element.m_elements.IsEmpty())
                sink.Write(kLineBreak, nLineBreak);
        },
        [&](const CZOLLibXMLElement& element) {
            if (!isEmptyForm(element))
            {
                // The value follows the last child.
                ZolWriteEscaped(sink, element.m_value);
                sink.Write(u"</", 2);
                sink.Write(element.m_name);
                sink.Write(u'>');
            }
            sink.Write(kLineBreak, nLineBreak);
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
