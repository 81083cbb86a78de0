// The load report: where a document that does not load fails, and why, in
// words. Everything here runs only after the reader has failed.
#include "ReadFailure.h"

#include <afx/core/AfxExceptions.h>
#include <afx/core/TextConversion.h>
#include <afx/core/Win32Kernel.h>


namespace
{
// Written by hand: the standard library's number formatting would give the
// library a unique symbol, which keeps it loaded after dlclose().
CString Number(ULONGLONG n)
{
    WCHAR digits[20];
    int i = 20;
    do
        digits[--i] = static_cast<WCHAR>(u'0' + n % 10);
    while ((n /= 10) != 0);
    return CString(digits + i, 20 - i);
}

CString Hex4(unsigned int ch)
{
    static const char kDigits[] = "0123456789ABCDEF";
    CString str(u"U+");
    const int nDigits = ch > 0xFFFF ? 6 : 4;
    for (int shift = 4 * (nDigits - 1); shift >= 0; shift -= 4)
        str.AppendChar(static_cast<WCHAR>(kDigits[(ch >> shift) & 0xF]));
    return str;
}

// One character of either text: its code point, and p moved past it.
unsigned int DecodeCharacter(const WCHAR*& p, const WCHAR* pEnd)
{
    const unsigned int high = *p++;
    if (high >= 0xD800 && high <= 0xDBFF && p != pEnd && *p >= 0xDC00 && *p <= 0xDFFF)
        return 0x10000 + ((high - 0xD800) << 10) + (*p++ - 0xDC00);
    return high;
}

unsigned int DecodeCharacter(const BYTE*& p, const BYTE* pEnd)
{
    if (*p < 0x80)
        return *p++;
    WCHAR units[2];
    const WCHAR* q = units;
    return AfxDecodeUtf8Sequence(p, pEnd, units) == 2 ? DecodeCharacter(q, units + 2) : units[0];
}

void AppendCharacter(CString& str, unsigned int ch)
{
    if (ch > 0xFFFF)
    {
        str.AppendChar(static_cast<WCHAR>(0xD800 + ((ch - 0x10000) >> 10)));
        str.AppendChar(static_cast<WCHAR>(0xDC00 + ((ch - 0x10000) & 0x3FF)));
    }
    else
    {
        str.AppendChar(static_cast<WCHAR>(ch));
    }
}

bool IsLineBreak(unsigned int ch)
{
    return ch == '\r' || ch == '\n';
}

// A line and a column, counted from 1 in characters, of a place.
struct LineColumn
{
    int nLine = 0;
    int nColumn = 0;
};

template <class Unit>
class CZolPlaces
{
public:
    CZolPlaces(const Unit* pStart, const Unit* pEnd, ZolOffsetMap offsets)
        : m_pStart(pStart), m_pEnd(pEnd), m_offsets(offsets)
    {
    }

    ULONGLONG Offset(const Unit* p) const { return m_offsets.nBase + m_offsets.nScale * static_cast<ULONGLONG>(p - m_pStart); }

    // CR LF, CR and LF each end a line; a tab is one column.
    LineColumn Locate(const Unit* pPlace, const Unit** ppLineStart = nullptr) const
    {
        LineColumn place{1, 1};
        const Unit* pLineStart = m_pStart;
        for (const Unit* p = m_pStart; p < pPlace;)
        {
            const unsigned int ch = *p;
            if (IsLineBreak(ch))
            {
                ++p;
                if (ch == '\r' && p < pPlace && *p == '\n')
                    ++p;
                // A place between CR and LF still lies on the CR's line.
                if (ch == '\r' && p == pPlace && p < m_pEnd && *p == '\n')
                    break;
                ++place.nLine;
                place.nColumn = 1;
                pLineStart = p;
                continue;
            }
            DecodeCharacter(p, m_pEnd);
            ++place.nColumn;
        }
        if (ppLineStart != nullptr)
            *ppLineStart = pLineStart;
        return place;
    }

    // The text of the line that starts at pLineStart, without its break.
    CString LineText(const Unit* pLineStart) const
    {
        CString str;
        for (const Unit* p = pLineStart; p < m_pEnd && !IsLineBreak(*p);)
            AppendCharacter(str, DecodeCharacter(p, m_pEnd));
        return str;
    }

    // What stands at p, for a message: the character quoted, its code
    // point where it is no printable ASCII, or the end of the text.
    CString Found(const Unit* p) const
    {
        if (p >= m_pEnd)
            return CString(u"the end of the text");
        const unsigned int ch = DecodeCharacter(p, m_pEnd);
        if (ch > 0x20 && ch < 0x7F)
        {
            CString str(u"'");
            str.AppendChar(static_cast<WCHAR>(ch));
            return str + u"'";
        }
        if (ch == ' ')
            return CString(u"a space");
        if (ch == '\t')
            return CString(u"a tab");
        if (IsLineBreak(ch))
            return CString(u"a line break");
        CString str;
        if (ch >= 0xA0 && (ch < 0xD800 || ch > 0xDFFF))
        {
            str = u"'";
            AppendCharacter(str, ch);
            str += u"' (";
            return str + Hex4(ch) + u")";
        }
        return Hex4(ch);
    }

private:
    const Unit* m_pStart;
    const Unit* m_pEnd;
    ZolOffsetMap m_offsets;
};

template <class Unit>
const Unit* TextEnd(const Unit* p, const Unit* pInputEnd)
{
    while (p != pInputEnd && *p != 0)
        ++p;
    return p;
}

CString Tag(const CString& strName, LPCWSTR pszOpen = u"<")
{
    return pszOpen + strName + u">";
}

CString At(const LineColumn& place)
{
    return u"line " + Number(static_cast<ULONGLONG>(place.nLine)) + u", column " +
           Number(static_cast<ULONGLONG>(place.nColumn));
}

// Where a text that ended too early was cut: at a NUL, when the input goes on.
CString EndNote(bool bEndsAtNul)
{
    return bEndsAtNul ? CString(u" (a NUL ends the text here)") : CString();
}

CString NotRead(LPCWSTR pszWhat)
{
    return CString(pszWhat) + u" well-formed XML that this reader does not read";
}

template <class Unit>
CString Message(const ZolReadFailure<Unit>& failure, const CString& strFound, const CString& strOpened,
                bool bEndsAtNul)
{
    const CString& element = failure.strElement;
    const CString& name = failure.strName;
    const CString strOfElement = element.IsEmpty() ? CString(u"a tag") : u"the start tag of " + Tag(element);
    switch (failure.error)
    {
    case ZXML_LOAD_MISSING_DECLARATION:
        return u"expected the XML declaration '<?xml version=\"1.0\"?>' at the start, found " + strFound;
    case ZXML_LOAD_UNTERMINATED_DECLARATION:
        return u"the text ends inside the XML declaration opened at " + strOpened + u"; expected '?>'" +
               EndNote(bEndsAtNul);
    case ZXML_LOAD_UNTERMINATED_COMMENT:
        return u"the text ends inside the comment opened at " + strOpened + u"; expected '-->'" + EndNote(bEndsAtNul);
    case ZXML_LOAD_UNTERMINATED_DOCTYPE:
        return u"the text ends inside the document type declaration opened at " + strOpened + u"; expected '>'" +
               EndNote(bEndsAtNul);
    case ZXML_LOAD_MISSING_ROOT:
        return u"expected the root element, found the end of the text" + EndNote(bEndsAtNul);
    case ZXML_LOAD_EXPECTED_ROOT:
        return u"expected '<' to start the root element, found " + strFound;
    case ZXML_LOAD_INVALID_NAME_START:
        return u"expected a name after '<', found " + strFound + u", which cannot start a name";
    case ZXML_LOAD_EXPECTED_TAG_END:
        return u"expected '>' to end " + strOfElement + u", found " + strFound;
    case ZXML_LOAD_EXPECTED_EQUALS:
        return u"expected '=' after the attribute name '" + name + u"' in " + strOfElement + u", found " + strFound;
    case ZXML_LOAD_UNQUOTED_VALUE:
        return u"expected a quote to start the value of the attribute '" + name + u"' in " + strOfElement +
               u", found " + strFound;
    case ZXML_LOAD_UNTERMINATED_VALUE:
        return u"the text ends inside the value of the attribute '" + name + u"' of " + Tag(element) +
               u", opened at " + strOpened + u"; expected its closing quote" + EndNote(bEndsAtNul);
    case ZXML_LOAD_UNTERMINATED_TAG:
        return u"the text ends inside " + strOfElement + u"; expected '>'" + EndNote(bEndsAtNul);
    case ZXML_LOAD_INVALID_REFERENCE:
        return CString(name == u"&#x" ? u"expected a hexadecimal digit after '" : u"expected a decimal digit after '") +
               name + u"', found " + strFound;
    case ZXML_LOAD_UNTERMINATED_PROCESSING_INSTRUCTION:
        return u"the text ends inside the processing instruction opened at " + strOpened + u"; expected '?>'" +
               EndNote(bEndsAtNul);
    case ZXML_LOAD_UNTERMINATED_CDATA_SECTION:
        return u"the text ends inside the CDATA section opened at " + strOpened + u"; expected ']]>'" +
               EndNote(bEndsAtNul);
    case ZXML_LOAD_FORBIDDEN_REFERENCE:
        return CString(u"the character reference names a character that XML forbids: 0, a surrogate not paired by "
                       u"the next reference, or one beyond U+10FFFF");
    case ZXML_LOAD_UNSUPPORTED_ENCODING:
        return u"the declaration names the encoding '" + name +
               u"', which this reader does not read: it reads UTF-8, UTF-16, ISO-8859-1, US-ASCII and windows-1252";
    case ZXML_LOAD_MISMATCHED_CLOSING_TAG:
        return u"the closing tag " + Tag(name, u"</") + u" does not match " + Tag(element) + u", opened at " +
               strOpened;
    case ZXML_LOAD_UNEXPECTED_CLOSING_TAG:
        return u"expected the root element, found the closing tag " + Tag(name, u"</");
    case ZXML_LOAD_EXPECTED_CLOSING_TAG_END:
        return u"expected '>' to end the closing tag " + Tag(element, u"</") + u", found " + strFound;
    case ZXML_LOAD_UNCLOSED_ELEMENT:
        return u"the text ends inside " + Tag(element) + u", opened at " + strOpened + u"; expected its closing tag " +
               Tag(element, u"</") + EndNote(bEndsAtNul);
    case ZXML_LOAD_CDATA_SECTION:
        return NotRead(u"CDATA sections are");
    case ZXML_LOAD_PROCESSING_INSTRUCTION:
        return NotRead(u"processing instructions after the XML declaration are");
    case ZXML_LOAD_HEX_REFERENCE:
        return NotRead(u"hexadecimal character references are") + u": write the decimal form ('&#65;' for '&#x41;')";
    case ZXML_LOAD_DOCTYPE_INTERNAL_SUBSET:
        return NotRead(u"a document type declaration with an internal subset is");
    case ZXML_LOAD_NAME_PUNCTUATION:
        return strFound + u" cannot continue a name: this reader reads names of letters, digits, ':' and '_' only";
    case ZXML_LOAD_SPACE_IN_CLOSING_TAG:
        return NotRead(u"white space before '>' in a closing tag is") + u" (in " + Tag(element, u"</") + u")";
    case ZXML_LOAD_DECLARATION_SPELLING:
        return NotRead(u"an XML declaration spelled otherwise than '<?xml version=\"...\"?>' (one space, double "
                       u"quotes) is");
    default:
        return CString(u"the document does not load");
    }
}

// The system's reason for a file error, in the words of the layer's file
// exceptions.
CString SystemReason(DWORD dwError)
{
    const auto lOsError = static_cast<LONG>(dwError);
    const CFileException failure(CFileException::OsErrorToException(lOsError), lOsError);
    WCHAR reason[128];
    failure.GetErrorMessage(reason, sizeof reason / sizeof reason[0]);
    return CString(reason);
}

template <class Unit>
void FillReport(CZOLLibXMLLoadReport& report, const ZolReadFailure<Unit>& failure, const Unit* pStart,
                const Unit* pInputEnd, ZolOffsetMap offsets)
{
    const Unit* pEnd = TextEnd(pStart, pInputEnd);
    const CZolPlaces<Unit> places(pStart, pEnd, offsets);
    report.Reset();
    report.m_error = failure.error;

    const Unit* pLineStart = nullptr;
    const LineColumn place = places.Locate(failure.pPlace, &pLineStart);
    report.m_nLine = place.nLine;
    report.m_nColumn = place.nColumn;
    report.m_nOffset = places.Offset(failure.pPlace);
    report.m_strLineText = places.LineText(pLineStart);

    LineColumn opened;
    if (failure.pOpened != nullptr)
    {
        opened = places.Locate(failure.pOpened);
        report.m_nOpenedLine = opened.nLine;
        report.m_nOpenedColumn = opened.nColumn;
        report.m_nOpenedOffset = places.Offset(failure.pOpened);
    }
    const bool bEndsAtNul = failure.pPlace == pEnd && pEnd != pInputEnd && pInputEnd != nullptr;
    report.m_strMessage = Message(failure, places.Found(failure.pPlace), At(opened), bEndsAtNul);
}
} // namespace

CZOLLibXMLLoadReport::CZOLLibXMLLoadReport(DWORD dwReadOptions)
    : m_dwReadOptions(dwReadOptions), m_error(ZXML_LOAD_OK), m_nLine(0), m_nColumn(0), m_nOffset(0), m_nOpenedLine(0), m_nOpenedColumn(0),
      m_nOpenedOffset(0), m_dwOsError(0), m_nFileSize(0)
{
}

void CZOLLibXMLLoadReport::Reset()
{
    m_error = ZXML_LOAD_OK;
    m_strMessage.Empty();
    m_nLine = m_nColumn = 0;
    m_nOffset = 0;
    m_strLineText.Empty();
    m_nOpenedLine = m_nOpenedColumn = 0;
    m_nOpenedOffset = 0;
    m_dwOsError = 0;
    m_nFileSize = 0;
}

int CZOLLibXMLLoadReport::IsLoaded() const
{
    return m_error == ZXML_LOAD_OK ? 1 : 0;
}

int CZOLLibXMLLoadReport::IsNotReadByDesign() const
{
    return m_error >= ZXML_LOAD_CDATA_SECTION && m_error <= ZXML_LOAD_DECLARATION_SPELLING ? 1 : 0;
}

int CZOLLibXMLLoadReport::HasPlace() const
{
    return m_error != ZXML_LOAD_OK && m_error != ZXML_LOAD_NO_INPUT && m_error < ZXML_LOAD_CANNOT_OPEN ? 1 : 0;
}

void ZolFillReport(CZOLLibXMLLoadReport& report, const ZolReadFailure<WCHAR>& failure, const WCHAR* pStart,
                   const WCHAR* pInputEnd, ZolOffsetMap offsets)
{
    FillReport(report, failure, pStart, pInputEnd, offsets);
}

void ZolFillReport(CZOLLibXMLLoadReport& report, const ZolReadFailure<BYTE>& failure, const BYTE* pStart,
                   const BYTE* pInputEnd, ZolOffsetMap offsets)
{
    FillReport(report, failure, pStart, pInputEnd, offsets);
}

void ZolFillInputReport(CZOLLibXMLLoadReport& report, ZXMLLoadError error, DWORD dwOsError, ULONGLONG nFileSize)
{
    report.Reset();
    report.m_error = error;
    report.m_dwOsError = dwOsError;
    report.m_nFileSize = nFileSize;
    switch (error)
    {
    case ZXML_LOAD_NO_INPUT:
        report.m_strMessage = u"no text was given";
        break;
    case ZXML_LOAD_CANNOT_OPEN:
        report.m_strMessage = u"cannot be opened: " + SystemReason(dwOsError);
        break;
    case ZXML_LOAD_TOO_LARGE:
        report.m_strMessage = u"holds " + Number(nFileSize) + u" bytes, more than the 4194304 that a document may hold";
        break;
    case ZXML_LOAD_READ_FAILED:
        report.m_strMessage = u"cannot be read: " + SystemReason(dwOsError);
        break;
    default:
        report.m_strMessage = u"memory ran out while the document was read";
        break;
    }
}
