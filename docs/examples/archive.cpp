// The archive form: a tree stored in a CArchive and loaded back.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>
#include <afx/core/AfxFile.h>

#include "ExampleOutput.h"

int main()
{
    CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromString(u"<a b='y'><c/>x</a>", 0);
    if (pRoot == nullptr)
        return 1;

    // Storing: the record goes where the archive stands. It has no header,
    // so whoever loads it must know that an element record comes next.
    {
        CFile file(u"archive-example.bin", CFile::modeCreate | CFile::modeWrite);
        CArchive archive(&file, CArchive::store);
        pRoot->Serialize(archive);
        archive.Close(); // a destructor cannot report a failed write; Close can
    }

    // Loading into a new element with no parent.
    CZOLLibXMLElement* pLoaded = new CZOLLibXMLElement(nullptr, nullptr);
    ULONGLONG nBytes = 0;
    {
        CFile file(u"archive-example.bin", CFile::modeRead);
        nBytes = file.GetLength();
        CArchive archive(&file, CArchive::load);
        pLoaded->Serialize(archive);
    }
    std::printf("record: %u bytes\n", static_cast<unsigned>(nBytes));
    PrintLine("loaded: ", pLoaded->ToString(0, 0));
    const int bEqual = pRoot->Equals(pLoaded);
    std::printf("equal: %d\n", bEqual);

    pLoaded->Delete();
    pRoot->Delete();
    return nBytes == 42 && bEqual == 1 ? 0 : 1;
}
