// quickstart.cpp: loads the XML file named on the command line, prints its
// elements, adds one and saves the document, indented, to a second file.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextConversion.h>

#include <cstdio>

// The library's text is UTF-16; the terminal wants UTF-8.
static CUtf8String Utf8(const CString& text)
{
    CUtf8String bytes;
    AfxEncodeUtf8(text.GetString(), text.GetLength(), bytes);
    return bytes;
}

int main(int argc, char** argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: quickstart IN.xml OUT.xml\n");
        return 2;
    }
    // A path in UTF-8, as the command line gives it. The report says where
    // and why a document does not load.
    CZOLLibXMLLoadReport report;
    CZOLLibXMLElement* root = CZOLLibXMLElement::FromFile(argv[1], 0, report);
    if (root == nullptr)
    {
        if (report.HasPlace())
            std::fprintf(stderr, "%s:%d:%d: %s\n", argv[1], report.m_nLine, report.m_nColumn,
                         Utf8(report.m_strMessage).c_str());
        else
            std::fprintf(stderr, "%s: %s\n", argv[1], Utf8(report.m_strMessage).c_str());
        return 1;
    }

    std::printf("<%s> has %d elements:\n", Utf8(root->GetName()).c_str(), root->GetElementCount());
    POSITION pos = root->GetElementIterator();
    while (pos != nullptr)
    {
        CZOLLibXMLElement* child = root->GetNextElement(pos);
        std::printf("  %s id=%s: %s\n", Utf8(child->GetName()).c_str(),
                    Utf8(child->GetAttributeValue(u"id", u"-")).c_str(), Utf8(child->GetValue()).c_str());
    }

    CZOLLibXMLElement* book = root->AddElement(u"book");
    book->AddAttribute(u"id", u"3");
    book->SetValue(u"Caf\u00E9 au lait");

    // Written beside OUT.xml and renamed into place: all or nothing.
    int status = 0;
    try
    {
        root->ToFile(argv[2], 1, 0, 2);
        std::printf("saved %s\n", argv[2]);
    }
    catch (CException* e)
    {
        WCHAR message[512];
        e->GetErrorMessage(message, 512);
        std::fprintf(stderr, "%s\n", Utf8(message).c_str());
        e->Delete();
        status = 1;
    }
    root->Delete();
    return status;
}
