// Why a document does not load: the load report's reason, place and message.
#include <ZOLXML/ZOLLibXML.h>

#include "ExampleOutput.h"

int main()
{
    CZOLLibXMLLoadReport report;
    CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromString(u"<order>\n  <item id=\"1\">\n</order>", 0, report);
    if (pRoot != nullptr || report.m_error != ZXML_LOAD_MISMATCHED_CLOSING_TAG)
        return 1;
    // Where and why, as a compiler would say it.
    std::printf("line %d, column %d: ", report.m_nLine, report.m_nColumn);
    PrintLine("", report.m_strMessage);
    PrintLine("  ", report.m_strLineText);
    std::printf("  %*s^\n", report.m_nColumn - 1, "");

    // Well-formed XML that this reader does not read is told apart from a
    // broken document.
    pRoot = CZOLLibXMLElement::FromString(u"<page><![CDATA[a < b]]></page>", 0, report);
    if (pRoot != nullptr || report.IsNotReadByDesign() == 0)
        return 1;
    PrintLine("not read by design: ", report.m_strMessage);

    // A document that loads leaves the report saying so.
    pRoot = CZOLLibXMLElement::FromString(u"<page/>", 0, report);
    if (pRoot == nullptr || report.IsLoaded() == 0)
        return 1;
    pRoot->Delete();
    return 0;
}
