// Writing documents: building a tree and turning it into text.
#include <ZOLXML/ZOLLibXML.h>

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

    // Laid out for reading, two spaces a level: an element with a value
    // keeps its line.
    PrintLine("", pList->ToString(0, 0, 2));

    // Saved in one call, as UTF-8: the file appears whole or not at all.
    pList->ToFile(u"writing-example.xml", 1, 0, 2);

    // Read back, the tree is equal to the one written.
    CZOLLibXMLElement* pRead = CZOLLibXMLElement::FromFile(u"writing-example.xml", 1);
    const int bEqual = pList->Equals(pRead);
    std::printf("read back equal: %d\n", bEqual);

    pRead->Delete();
    pList->Delete();
    return compact == u"<list title=\"Tom &amp; Jerry&apos;s\"><item>a&lt;b</item><sep/><item id=\"2\">Caf&#233;</item></list>" &&
                   bEqual == 1
               ? 0
               : 1;
}
