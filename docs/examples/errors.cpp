// Errors: results for what is absent or refused, exceptions thrown as
// pointers for what cannot go on.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>
#include <afx/core/AfxExceptions.h>
#include <afx/core/AfxMemFile.h>

#include "ExampleOutput.h"

#include <cstdlib>

int main()
{
    int nFaults = 0;

    // Results: null, 0 or an empty string.
    CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromString(u"<a><b k='v'/></a>", 0);
    if (CZOLLibXMLElement::FromString(u"<a>", 0) != nullptr)
        ++nFaults; // a document that does not load gives null
    if (pRoot->GetElementByName(u"missing") != nullptr || !pRoot->GetAttributeValue(u"missing").IsEmpty())
        ++nFaults;

    // Exceptions are pointers: catch them as CException* (or a class
    // derived from it) and dispose of them with Delete.
    POSITION pos = nullptr;
    try
    {
        pRoot->GetNextElement(pos); // a null cursor
        ++nFaults;
    }
    catch (CInvalidArgException* e)
    {
        std::printf("GetNextElement with a null cursor: CInvalidArgException\n");
        e->Delete();
    }

    // An archive cut short raises CArchiveException with the cause endOfFile;
    // the element keeps what was loaded before the cut.
    CMemFile stored;
    {
        CArchive archive(&stored, CArchive::store);
        pRoot->Serialize(archive);
        archive.Close();
    }
    const auto nCut = static_cast<UINT>(stored.GetLength() - 1);
    BYTE* pBytes = stored.Detach(); // from malloc: the caller frees it
    CZOLLibXMLElement* pLoaded = new CZOLLibXMLElement(nullptr, nullptr);
    {
        CMemFile cut(pBytes, nCut); // all but the last byte
        try
        {
            CArchive archive(&cut, CArchive::load);
            pLoaded->Serialize(archive);
            ++nFaults;
        }
        catch (CArchiveException* e)
        {
            std::printf("archive cut short: CArchiveException, cause %d (endOfFile is %d)\n", e->m_cause,
                        CArchiveException::endOfFile);
            if (e->m_cause != CArchiveException::endOfFile)
                ++nFaults;
            e->Delete();
        }
    }
    std::free(pBytes);
    PrintLine("loaded before the cut: ", pLoaded->GetName());
    pLoaded->Delete();

    // A file that cannot be written raises CFileException; GetErrorMessage
    // says which file and why, and an earlier file stays as it was.
    try
    {
        pRoot->ToFile(u"no-such-folder/out.xml", 1, 0);
        ++nFaults;
    }
    catch (CFileException* e)
    {
        WCHAR message[200];
        e->GetErrorMessage(message, 200);
        PrintLine("saving failed: ", message);
        e->Delete();
    }

    // Exhausted memory raises CMemoryException from every call that
    // allocates, FromBytes and FromFile included; FromString alone turns it
    // into null. A program that wants to survive it catches it where it can
    // give up the work at hand.
    try
    {
        CZOLLibXMLElement* pCopy = pRoot->Clone(nullptr);
        pCopy->Delete();
    }
    catch (CMemoryException* e)
    {
        std::printf("out of memory\n");
        e->Delete();
    }

    pRoot->Delete();
    return nFaults == 0 ? 0 : 1;
}
