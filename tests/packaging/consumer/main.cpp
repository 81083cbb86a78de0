// A small program using the installed library: it builds a tree, walks it,
// clones and compares it and prints its words.
#include <ZOLXML/ZOLLibXML.h>

#include <cstdio>
#include <string>

// The package checks build this as C++20: the package must not lower it.
#if defined(ZOL_CONSUMER_CXX20)
static_assert(__cplusplus >= 202002L, "the package lowered the C++ standard");
#endif

namespace
{
std::string ToUtf8(const CString& text)
{
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const unsigned ch = text[i];
        if (ch < 0x80)
            out += static_cast<char>(ch);
        else if (ch < 0x800)
            out += {static_cast<char>(0xC0 | ch >> 6), static_cast<char>(0x80 | (ch & 0x3F))};
        else
            out += {static_cast<char>(0xE0 | ch >> 12), static_cast<char>(0x80 | (ch >> 6 & 0x3F)),
                    static_cast<char>(0x80 | (ch & 0x3F))};
    }
    return out;
}
}

int main()
{
    CZOLLibXMLElement* library = new CZOLLibXMLElement(nullptr, u"library");
    library->AddAttribute(u"Name", u"City");
    CZOLLibXMLElement* book = library->AddElement(u"book");
    book->AddAttribute(u"lang", u"fr");
    book->SetValue(u"Cr\u00E8me br\u00FBl\u00E9e");
    library->AddElement(u"book")->SetValue(u"Tea");

    POSITION pos = library->GetElementIterator();
    while (pos != nullptr)
    {
        const CZOLLibXMLElement* child = library->GetNextElement(pos);
        std::printf("%s: %s\n", ToUtf8(child->GetName()).c_str(), ToUtf8(child->GetValue()).c_str());
    }

    CZOLLibXMLElement* copy = library->Clone(nullptr);
    const int equal = library->Equals(copy);
    copy->GetFirstElement()->SetValue(u"changed");
    const int stillEqual = library->Equals(copy);
    std::printf("clone equal: %d, after change: %d\n", equal, stillEqual);
    std::printf("name attribute: %s\n", ToUtf8(library->GetAttributeValue(u"NAME")).c_str());
    std::printf("words: %s\n", ToUtf8(library->GetRecursiveWords()).c_str());

    copy->Delete();
    library->Delete();
    return equal == 1 && stillEqual == 0 ? 0 : 1;
}
