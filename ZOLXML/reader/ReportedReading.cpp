// The loads that fill a report: the plain build first, the diagnosing one
// when the text does not load, in the default or the standard reading.
#include "XMLParser.h"
#include "XMLReader.h"

#include <cstring>
namespace
{
// A text that the plain build did not load is read again by the diagnosing
// one, which finds the reason and the place.
template <bool kStandard, class Text>
CZOLLibXMLElement* Diagnose(const Text& text, ZolCursor<Text> pStart, ZolCursor<Text> pInputEnd,
                            int requireDeclaration, CZOLLibXMLLoadReport& report, ZolOffsetMap offsets)
{
    try
    {
        CZolReader<Text, true, kStandard> diagnosis{text};
        if (CZOLLibXMLElement* pRoot = diagnosis.ReadDocument(pStart, requireDeclaration))
            return pRoot; // memory that ran out before is there now
        if (!diagnosis.RanOutOfMemory())
        {
            ZolFillReport(report, diagnosis.Failure(), pStart, pInputEnd, offsets);
            return nullptr;
        }
    }
    catch (CException* e)
    {
        e->Delete();
    }
    ZolFillInputReport(report, ZXML_LOAD_OUT_OF_MEMORY);
    return nullptr;
}

// The default reading goes through readDefault, the plain build of its own
// file, so that a document that loads costs what it costs without a report.
template <class Text, class ReadDefault>
CZOLLibXMLElement* ReadReported(const Text& text, ZolCursor<Text> pStart, ZolCursor<Text> pInputEnd,
                                int requireDeclaration, CZOLLibXMLLoadReport& report, ZolOffsetMap offsets,
                                ReadDefault readDefault)
{
    report.Reset();
    if ((report.m_dwReadOptions & ZXML_READ_STANDARD) != 0)
    {
        CZolReader<Text, false, true> reader{text};
        if (CZOLLibXMLElement* pRoot = reader.ReadDocument(pStart, requireDeclaration))
            return pRoot;
        return Diagnose<true>(text, pStart, pInputEnd, requireDeclaration, report, offsets);
    }
    if (CZOLLibXMLElement* pRoot = readDefault())
        return pRoot;
    return Diagnose<false>(text, pStart, pInputEnd, requireDeclaration, report, offsets);
}
} // namespace

CZOLLibXMLElement* ZolReadUtf8Document(const BYTE* pBytes, const BYTE* pInputEnd, int requireDeclaration,
                                       CZOLLibXMLLoadReport& report, ZolOffsetMap offsets)
{
    const void* pNul = std::memchr(pBytes, 0, static_cast<std::size_t>(pInputEnd - pBytes));
    const BYTE* pEnd = pNul != nullptr ? static_cast<const BYTE*>(pNul) : pInputEnd;
    return ReadReported(ZolUtf8Text(pEnd), pBytes, pInputEnd, requireDeclaration, report, offsets,
                        [&] { return ZolReadUtf8Document(pBytes, pEnd, requireDeclaration); });
}

CZOLLibXMLElement* ZolReadWideDocument(LPCWSTR pszText, LPCWSTR pInputEnd, int requireDeclaration,
                                       CZOLLibXMLLoadReport& report, ZolOffsetMap offsets)
{
    return ReadReported(ZolWideText(), pszText, pInputEnd, requireDeclaration, report, offsets,
                        [&] { return CZOLLibXMLElement::FromString(pszText, requireDeclaration); });
}

CZOLLibXMLElement* CZOLLibXMLElement::FromString(LPCWSTR pszText, int requireDeclaration, CZOLLibXMLLoadReport& report)
{
    if (pszText == nullptr)
    {
        ZolFillInputReport(report, ZXML_LOAD_NO_INPUT);
        return nullptr;
    }
    return ZolReadWideDocument(pszText, nullptr, requireDeclaration, report, ZolOffsetMap{});
}
