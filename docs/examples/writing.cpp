// Writing documents: building a tree and turning it into text.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxFile.h>
#include <afx/core/TextConversion.h>

#include "ExampleOutput.h"

int main()
{
    // A root made with new is the caller's, like any root.
    CZOLLibXMLElement* pList = new CZOLLibXMLElement(nullptr, u"list");
    pList->AddAttribute(u"title", u"Tom & Jerry's");
    pList->AddElement(u"item")->SetValue(u"a<b");
    pList->AddElement(u"sep");
    CZOLLibXMLElement* pItem = pList->AddElement(u"item");
    pItem->AddAttribute(u"id", u"2");
    pItem->SetValue(u"Caf\u00E9");

    // The compact form: reserved characters as entities, characters above
    // U+007F in values as character references, names as they are.
    const CString compact = pList->ToString(0, 0);
    PrintLine("", compact);
    // With the declaration and CR LF line breaks.
    PrintLine("", pList->ToString(1, 1));

    // Storing the text is the caller's business: here a UTF-8 file.
    CUtf8String bytes;
    AfxEncodeUtf8(compact.GetString(), static_cast<std::size_t>(compact.GetLength()), bytes);
    {
        CFile file(u"writing-example.xml", CFile::modeCreate | CFile::modeWrite);
        file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    }

    // Read back, the tree is equal to the one written.
    CZOLLibXMLElement* pRead = CZOLLibXMLElement::FromFile(u"writing-example.xml", 0);
    const int bEqual = pList->Equals(pRead);
    std::printf("read back equal: %d\n", bEqual);

    pRead->Delete();
    pList->Delete();
    return compact == u"<list title=\"Tom &amp; Jerry&apos;s\"><item>a&lt;b</item><sep/><item id=\"2\">Caf&#233;</item></list>" &&
                   bEqual == 1
               ? 0
               : 1;
}
