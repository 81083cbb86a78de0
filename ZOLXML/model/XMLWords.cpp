#include "TreeWalk.h"
#include <ZOLXML/ZOLLibXML.h>

namespace
{
void AppendWord(CString& strWords, const CString& word)
{
    if (!strWords.IsEmpty())
        strWords.AppendChar(u' ');
    strWords.Append(word);
}

// Qualified names (namespace declarations and the like) and an attribute
// named "ZOLLib", in any case, are taken as markup rather than text: no words.
bool IsWordAttribute(const CString& name)
{
    return name.Find(u':') < 0 && name.CompareNoCase(u"ZOLLib") != 0;
}
}

void CZOLLibXMLElement::AddRecursiveWords(CString& strWords) const
{
    ZolWalkTree(
        *this,
        [&](const CZOLLibXMLElement& element) {
            ZolForEachAttribute(element, [&](const CZOLLibXMLAttribute& attribute) {
                if (IsWordAttribute(attribute.m_name))
                    AppendWord(strWords, attribute.m_value);
            });
        },
        [&](const CZOLLibXMLElement& element) {
            if (!element.m_value.IsEmpty())
                AppendWord(strWords, element.m_value);
        });
}

CString CZOLLibXMLElement::GetRecursiveWords() const
{
    CString strWords;
    AddRecursiveWords(strWords);
    strWords.Trim();
    return strWords;
}
