// The plain default reading: the public parse steps and the loads that ask
// for no report.
#include "XMLParser.h"
#include "XMLReader.h"

int CZOLLibXMLAttribute::ParseString(LPCWSTR& pszCursor)
{
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadAttribute(pszCursor, *this, nullptr) ? 1 : 0;
}

int CZOLLibXMLElement::ParseString(LPCWSTR& pszCursor)
{
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadElement(pszCursor, *this) ? 1 : 0;
}

CZOLLibXMLElement* CZOLLibXMLElement::FromString(LPCWSTR pszText, int requireDeclaration)
{
    if (pszText == nullptr)
        return nullptr;
    CZolReader<ZolWideText> reader{ZolWideText()};
    return reader.ReadDocument(pszText, requireDeclaration);
}

CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pEnd, int requireDeclaration)
{
    CZolReader<ZolUtf8Text> reader{ZolUtf8Text(pEnd)};
    return reader.ReadDocument(pBytes, requireDeclaration);
}

