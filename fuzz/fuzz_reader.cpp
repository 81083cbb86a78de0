// Any bytes load or give null, with the declaration demanded or not; a tree
// that loads frees cleanly. The sanitizers report crashes, leaks and misuse.
// Demanding the declaration only ever refuses more: what loads with it loads
// without it, as the same tree. UTF-8 bytes, which are read as they stand,
// give the tree that their decoded text gives. A load report never changes
// what loads; for what does not, its place lies within the input, before or
// at the end of the text, and its line and column are those of its offset.
// The standard reading holds to the same; a tree it reads from UTF-8,
// written and read again, is read back equal from its text: once the
// reading has collapsed the white space that references put into values,
// which the writer writes as it stands.
#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextConversion.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace
{
CZOLLibXMLElement* Load(const std::uint8_t* data, std::size_t size, int requireDeclaration)
{
    // The loader swaps big-endian input in place: each load gets its own copy.
    std::vector<BYTE> bytes(data, data + size);
    return CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration);
}

// The text that reading the bytes as UTF-8 reads: after a byte-order mark,
// up to the first NUL, decoded.
CZOLLibXMLElement* LoadDecoded(const std::uint8_t* data, std::size_t size)
{
    if (size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0)
    {
        data += 3;
        size -= 3;
    }
    if (const void* nul = std::memchr(data, 0, size))
        size = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data);
    std::vector<WCHAR> text(size + 1, 0);
    text.resize(AfxDecodeUtf8(data, size, text.data()) + 1);
    text.back() = 0;
    return CZOLLibXMLElement::FromString(text.data(), 0);
}

bool IsUtf16(const std::uint8_t* data, std::size_t size)
{
    return size >= 2 && ((data[0] == 0xFE && data[1] == 0xFF) || (data[0] == 0xFF && data[1] == 0xFE));
}

// The text before an offset of the input, as UTF-16 units.
// bSingleBytes reads each byte as one character, as the standard reading
// reads a declared single-byte encoding.
std::vector<WCHAR> TextBefore(const std::uint8_t* data, std::size_t size, std::size_t offset, bool bSingleBytes)
{
    std::vector<WCHAR> text;
    if (bSingleBytes)
        return std::vector<WCHAR>(data, data + offset);
    if (IsUtf16(data, size))
    {
        const bool bBigEndian = data[0] == 0xFE;
        for (std::size_t i = 2; i + 1 < offset + 1; i += 2)
            text.push_back(static_cast<WCHAR>(bBigEndian ? (data[i] << 8) | data[i + 1] : data[i] | (data[i + 1] << 8)));
        return text;
    }
    std::size_t start = offset >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    text.resize(offset - start + 1);
    text.resize(AfxDecodeUtf8(data + start, offset - start, text.data()));
    return text;
}

// Lines and columns as the report counts them: CR LF, CR and LF end a
// line; a pair of surrogates is one character.
bool LinesAgree(const std::uint8_t* data, std::size_t size, bool bUtf16, bool bSingleBytes,
                const CZOLLibXMLLoadReport& report);

// A failure's report: a reason, a message, and a place within the input
// whose line and column agree with its offset, read as UTF-8 or UTF-16 or,
// where bMaySingleBytes, one character a byte.
void CheckPlace(const std::uint8_t* data, std::size_t size, bool bUtf16, const CZOLLibXMLLoadReport& report,
                bool bMaySingleBytes = false)
{
    if (report.m_error == ZXML_LOAD_OK || report.m_strMessage.IsEmpty())
        __builtin_trap();
    if (report.HasPlace() == 0)
        return;
    if (report.m_nOffset > size || report.m_nOpenedOffset > report.m_nOffset || (bUtf16 && report.m_nOffset % 2 != 0))
        __builtin_trap();
    if (!LinesAgree(data, size, bUtf16, false, report) &&
        !(bMaySingleBytes && !bUtf16 && LinesAgree(data, size, bUtf16, true, report)))
        __builtin_trap();
}

bool LinesAgree(const std::uint8_t* data, std::size_t size, bool bUtf16, bool bSingleBytes,
                const CZOLLibXMLLoadReport& report)
{
    const auto offset = static_cast<std::size_t>(report.m_nOffset);
    const std::vector<WCHAR> text = TextBefore(data, size, offset, bSingleBytes);
    // A place between CR and LF still lies on the CR's line.
    bool bLineFeedAtPlace = offset < size && data[offset] == '\n';
    if (bUtf16)
        bLineFeedAtPlace = offset + 1 < size && (data[0] == 0xFE ? data[offset] == 0 && data[offset + 1] == '\n'
                                                                 : data[offset] == '\n' && data[offset + 1] == 0);
    int line = 1;
    int column = 1;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const WCHAR ch = text[i];
        if (ch == u'\n' || ch == u'\r')
        {
            if (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            else if (ch == u'\r' && i + 1 == text.size() && bLineFeedAtPlace)
                break;
            ++line;
            column = 1;
        }
        else if (!(ch >= 0xDC00 && ch <= 0xDFFF && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF))
        {
            ++column;
        }
    }
    return line == report.m_nLine && column == report.m_nColumn;
}

// What the standard reading makes of the bytes.
void CheckStandardReading(const std::uint8_t* data, std::size_t size, int requireDeclaration)
{
    std::vector<BYTE> bytes(data, data + size);
    CZOLLibXMLLoadReport report(ZXML_READ_STANDARD);
    CZOLLibXMLElement* pRoot =
        CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration, report);
    if (pRoot == nullptr)
    {
        CheckPlace(data, size, IsUtf16(data, size), report, true);
        return;
    }
    // UTF-16 may hold lone surrogates, which no XML text can carry.
    if (!IsUtf16(data, size))
    {
        CZOLLibXMLLoadReport again(ZXML_READ_STANDARD);
        CZOLLibXMLElement* pWritten = CZOLLibXMLElement::FromString(pRoot->ToString(1, 1), 1, again);
        if (pWritten == nullptr)
            __builtin_trap();
        CZOLLibXMLElement* pBack = CZOLLibXMLElement::FromString(pWritten->ToString(1, 1), 1, again);
        if (pBack == nullptr || !pBack->Equals(pWritten))
            __builtin_trap();
        pBack->Delete();
        pWritten->Delete();
    }
    pRoot->Delete();
}

// The report forms load exactly what the plain forms load.
void CheckReport(const std::uint8_t* data, std::size_t size, int requireDeclaration, const CZOLLibXMLElement* pPlain)
{
    std::vector<BYTE> bytes(data, data + size);
    CZOLLibXMLLoadReport report;
    CZOLLibXMLElement* pReported =
        CZOLLibXMLElement::FromBytes(bytes.data(), static_cast<DWORD>(bytes.size()), requireDeclaration, report);
    if ((pReported == nullptr) != (pPlain == nullptr) || (pReported != nullptr && !pReported->Equals(pPlain)))
        __builtin_trap();
    if (pReported != nullptr)
    {
        if (report.m_error != ZXML_LOAD_OK)
            __builtin_trap();
        pReported->Delete();
        return;
    }
    CheckPlace(data, size, IsUtf16(data, size), report);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CZOLLibXMLElement* pPlain = Load(data, size, 0);
    CZOLLibXMLElement* pDemanded = Load(data, size, 1);
    if (pDemanded != nullptr && (pPlain == nullptr || !pPlain->Equals(pDemanded)))
        __builtin_trap();
    CheckReport(data, size, 0, pPlain);
    CheckReport(data, size, 1, pDemanded);
    CheckStandardReading(data, size, 0);
    CheckStandardReading(data, size, 1);
    if (!IsUtf16(data, size))
    {
        CZOLLibXMLElement* pDecoded = LoadDecoded(data, size);
        if ((pDecoded == nullptr) != (pPlain == nullptr) || (pDecoded != nullptr && !pDecoded->Equals(pPlain)))
            __builtin_trap();
        if (pDecoded != nullptr)
            pDecoded->Delete();
    }
    if (pPlain != nullptr)
        pPlain->Delete();
    if (pDemanded != nullptr)
        pDemanded->Delete();
    return 0;
}
