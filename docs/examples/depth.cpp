// Depth: no tree is too deep. Every operation walks with a stack of its
// own rather than the machine's, so a document of 200,000 nested elements
// loads, copies, compares, writes, archives and frees like a flat one. A
// program's own walks do the same.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxArchive.h>
#include <afx/core/AfxMemFile.h>

#include <cstdio>
#include <utility>
#include <vector>

// The number of levels below and including pRoot, walking with a stack of
// cursors, one for each open level, instead of recursion.
std::size_t CountLevels(const CZOLLibXMLElement* pRoot)
{
    std::vector<std::pair<const CZOLLibXMLElement*, POSITION>> open;
    open.emplace_back(pRoot, pRoot->GetElementIterator());
    std::size_t nDeepest = 1;
    while (!open.empty())
    {
        auto& [pElement, pos] = open.back();
        if (pos == nullptr)
        {
            open.pop_back();
            continue;
        }
        const CZOLLibXMLElement* pChild = pElement->GetNextElement(pos);
        open.emplace_back(pChild, pChild->GetElementIterator());
        if (open.size() > nDeepest)
            nDeepest = open.size();
    }
    return nDeepest;
}

int main()
{
    const int nLevels = 200000;
    CString text;
    for (int i = 0; i < nLevels; ++i)
        text += u"<e>";
    text += u"bottom";
    for (int i = 0; i < nLevels; ++i)
        text += u"</e>";

    CZOLLibXMLElement* pDeep = CZOLLibXMLElement::FromString(text, 0);
    if (pDeep == nullptr)
        return 1;
    CZOLLibXMLElement* pCopy = pDeep->Clone(nullptr);
    const int bEqual = pDeep->Equals(pCopy);
    const bool bWrittenAsRead = pDeep->ToString(0, 0) == text;
    const std::size_t nCounted = CountLevels(pDeep);

    CMemFile file;
    {
        CArchive archive(&file, CArchive::store);
        pDeep->Serialize(archive);
        archive.Close();
    }
    std::printf("levels: %zu, copy equal: %d, written as read: %s, archive: %llu bytes\n", nCounted, bEqual,
                bWrittenAsRead ? "yes" : "no", static_cast<unsigned long long>(file.GetLength()));

    pCopy->Delete();
    pDeep->Delete();
    return bEqual == 1 && bWrittenAsRead && nCounted == static_cast<std::size_t>(nLevels) ? 0 : 1;
}
