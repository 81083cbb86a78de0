// Who owns what: the caller owns every root, an element owns what it holds.
#include <ZOLXML/ZOLLibXML.h>

#include "ExampleOutput.h"

int main()
{
    // Roots from FromString, FromBytes, FromFile, Clone and new are the
    // caller's, to be freed with Delete.
    CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromString(u"<shelf><book>A</book><book>B</book></shelf>", 0);
    CZOLLibXMLElement* pCopy = pRoot->Clone(nullptr);

    // An element owns its children and attributes: AddElement and
    // AddAttribute hand them over, and deleting the element frees them.
    CZOLLibXMLElement* pShelf = new CZOLLibXMLElement(nullptr, u"shelf");
    pShelf->AddElement(new CZOLLibXMLElement(nullptr, u"book"));

    // RemoveElement and Detach only unlink: the child is the caller's
    // again. RemoveElement leaves its parent link, which Detach clears, so
    // that it can be added elsewhere.
    CZOLLibXMLElement* pFirst = pRoot->GetFirstElement();
    pRoot->RemoveElement(pFirst);
    pFirst->Detach();
    pShelf->AddElement(pFirst);

    // Delete on a held node unlinks it from its element and frees it.
    pCopy->GetFirstElement()->Delete();

    // An attribute object added under a name the element holds already (in
    // any case) takes its place, and the displaced attribute is freed.
    pShelf->AddAttribute(u"Owner", u"Ann");
    pShelf->AddAttribute(new CZOLLibXMLAttribute(nullptr, u"OWNER"))->SetValue(u"Bob");
    std::printf("owner attributes: %d\n", pShelf->GetAttributeCount());
    PrintLine("owner: ", pShelf->GetAttributeValue(u"owner"));

    PrintLine("root: ", pRoot->ToString(0, 0));
    PrintLine("copy: ", pCopy->ToString(0, 0));
    PrintLine("shelf: ", pShelf->ToString(0, 0));
    const bool bAsDescribed = pRoot->GetElementCount() == 1 && pCopy->GetElementCount() == 1 &&
                              pShelf->GetElementCount() == 2 && pShelf->GetAttributeCount() == 1;

    pShelf->Delete();
    pCopy->Delete();
    pRoot->Delete();
    return bAsDescribed ? 0 : 1;
}
