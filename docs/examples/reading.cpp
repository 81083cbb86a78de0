// Reading documents: from wide text, from bytes and from a file.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxFile.h>

#include "ExampleOutput.h"

int main()
{
    // From wide text. The second argument demands the XML declaration when
    // it is nonzero; here it may be left out.
    CZOLLibXMLElement* pLibrary = CZOLLibXMLElement::FromString(
        u"<library Name='City'><book lang='fr'>Cr&#232;me br&#251;l&#233;e</book><book>Tea</book></library>", 0);
    if (pLibrary == nullptr)
        return 1; // the text is not a document the reader accepts

    // Children come in document order; attributes are found by name in any case.
    PrintLine("library: ", pLibrary->GetAttributeValue(u"NAME"));
    POSITION pos = pLibrary->GetElementIterator();
    while (pos != nullptr)
    {
        const CZOLLibXMLElement* pBook = pLibrary->GetNextElement(pos);
        PrintLine("book: ", pBook->GetValue());
        PrintLine("  lang: ", pBook->GetAttributeValue(u"lang", u"(none)"));
    }
    // The caller owns the root and frees the whole tree with Delete.
    pLibrary->Delete();

    // From bytes: UTF-8 unless a byte-order mark says UTF-16. Big-endian
    // input is turned little-endian inside the caller's buffer, behind the
    // mark, which stays as it was.
    BYTE bigEndian[] = {0xFE, 0xFF, 0x00, '<', 0x00, 'a', 0x00, '/', 0x00, '>'};
    CZOLLibXMLElement* pA = CZOLLibXMLElement::FromBytes(bigEndian, sizeof bigEndian, 0);
    const bool bSwapped = bigEndian[0] == 0xFE && bigEndian[2] == '<' && bigEndian[3] == 0x00;
    std::printf("from UTF-16: %s, buffer now little-endian: %s\n", pA != nullptr ? "a" : "(null)",
                bSwapped ? "yes" : "no");
    if (pA != nullptr)
        pA->Delete();

    // From a file of at most 4,194,304 bytes, here one with the declaration,
    // which the second argument demands.
    {
        const char text[] = "<?xml version=\"1.0\"?><note>h\xC3\xA9llo</note>";
        CFile file(u"reading-example.xml", CFile::modeCreate | CFile::modeWrite);
        file.Write(text, sizeof text - 1);
    }
    CZOLLibXMLElement* pNote = CZOLLibXMLElement::FromFile(u"reading-example.xml", 1);
    if (pNote == nullptr)
        return 1; // missing, too large, or not a document
    PrintLine("note: ", pNote->GetValue());
    pNote->Delete();

    // What does not load gives null: here an end tag that does not match.
    const bool bRefused = CZOLLibXMLElement::FromString(u"<a><b></a>", 0) == nullptr;
    std::printf("mismatched tags refused: %s\n", bRefused ? "yes" : "no");
    return pA != nullptr && bSwapped && bRefused ? 0 : 1;
}
