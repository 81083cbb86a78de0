// Loading from bytes and files: encoding by byte-order mark, UTF-8 otherwise.
#include "XMLParser.h"

#include <afx/core/AfxAnsiCodePage.h>
#include <afx/core/Win32Kernel.h>

#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

namespace
{
// Files above this size are refused unread.
constexpr DWORD kMaxFileSize = 0x400000;

constexpr BYTE kBigEndianMark[] = {0xFE, 0xFF};
constexpr BYTE kLittleEndianMark[] = {0xFF, 0xFE};
constexpr BYTE kUtf8Mark[] = {0xEF, 0xBB, 0xBF};

template <std::size_t N>
bool StartsWith(const BYTE* pBytes, DWORD nCount, const BYTE (&mark)[N])
{
    return nCount >= N && std::memcmp(pBytes, mark, N) == 0;
}

// A CString of nLength units to fill; beyond CString's reach is exhaustion.
WCHAR* TextBuffer(CString& strText, std::size_t nLength)
{
    if (nLength > static_cast<std::size_t>(INT_MAX))
        AfxThrowMemoryException();
    return strText.GetBufferSetLength(static_cast<int>(nLength));
}

// The nUnits little-endian units at pUnits; big-endian ones are first
// swapped in place, so the caller's buffer ends up little-endian.
void ReadUtf16(BYTE* pUnits, DWORD nUnits, bool bBigEndian, CString& strText)
{
    WCHAR* out = TextBuffer(strText, nUnits);
    for (DWORD i = 0; i < nUnits; ++i, pUnits += 2)
    {
        if (bBigEndian)
            std::swap(pUnits[0], pUnits[1]);
        out[i] = static_cast<WCHAR>(pUnits[0] | (pUnits[1] << 8));
    }
}

// UTF-8 is read as it stands, up to its first NUL, where the text ends.
CZOLLibXMLElement* ReadUtf8(const BYTE* pBytes, DWORD nCount, int requireDeclaration)
{
    const void* pNul = std::memchr(pBytes, 0, nCount);
    const BYTE* pEnd = pNul != nullptr ? static_cast<const BYTE*>(pNul) : pBytes + nCount;
    return ZolReadUtf8Document(pBytes, pEnd, requireDeclaration);
}

// The encodings that the standard reading takes from a declaration.
enum class DeclaredEncoding
{
    Unicode, // UTF-8, or UTF-16 known by its mark
    Latin1,
    Ascii,
    Windows1252,
    Other
};

bool SpellsIgnoringCase(const BYTE* p, const BYTE* pEnd, const char* pszName)
{
    for (; *pszName != 0; ++p, ++pszName)
        if (p == pEnd || (*p | 0x20) != (*pszName | 0x20))
            return false;
    return p == pEnd;
}

DeclaredEncoding ClassifyEncoding(const BYTE* pName, const BYTE* pEnd)
{
    struct Known
    {
        const char* name;
        DeclaredEncoding encoding;
    };
    static const Known kKnown[] = {
        {"utf-8", DeclaredEncoding::Unicode},          {"utf8", DeclaredEncoding::Unicode},
        {"utf-16", DeclaredEncoding::Unicode},         {"utf16", DeclaredEncoding::Unicode},
        {"iso-8859-1", DeclaredEncoding::Latin1},      {"iso8859-1", DeclaredEncoding::Latin1},
        {"iso_8859-1", DeclaredEncoding::Latin1},      {"latin1", DeclaredEncoding::Latin1},
        {"l1", DeclaredEncoding::Latin1},              {"us-ascii", DeclaredEncoding::Ascii},
        {"ascii", DeclaredEncoding::Ascii},            {"windows-1252", DeclaredEncoding::Windows1252},
        {"cp1252", DeclaredEncoding::Windows1252},
    };
    for (const Known& known : kKnown)
        if (SpellsIgnoringCase(pName, pEnd, known.name))
            return known.encoding;
    return DeclaredEncoding::Other;
}

bool IsMarkupSpace(BYTE ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

// The name of the encoding that the declaration at the start of the bytes
// names, as [pName, pNameEnd); both null when it names none. The text, and
// so the declaration, ends at a NUL.
void FindDeclaredEncoding(const BYTE* p, const BYTE* pEnd, const BYTE*& pName, const BYTE*& pNameEnd)
{
    pName = pNameEnd = nullptr;
    if (const void* pNul = std::memchr(p, 0, static_cast<std::size_t>(pEnd - p)))
        pEnd = static_cast<const BYTE*>(pNul);
    while (p != pEnd && IsMarkupSpace(*p))
        ++p;
    constexpr char kOpen[] = "<?xml";
    if (pEnd - p < 6 || std::memcmp(p, kOpen, 5) != 0 || !IsMarkupSpace(p[5]))
        return;
    const BYTE* pClose = p;
    while (pClose + 1 < pEnd && !(pClose[0] == '?' && pClose[1] == '>'))
        ++pClose;
    constexpr char kEncoding[] = "encoding";
    for (const BYTE* q = p + 5; pClose - q >= 8; ++q)
    {
        if (!IsMarkupSpace(q[-1]) || std::memcmp(q, kEncoding, 8) != 0)
            continue;
        q += 8;
        while (q < pClose && IsMarkupSpace(*q))
            ++q;
        if (q == pClose || *q++ != '=')
            return;
        while (q < pClose && IsMarkupSpace(*q))
            ++q;
        if (q == pClose || (*q != '"' && *q != '\''))
            return;
        const BYTE quote = *q++;
        const void* pQuote = std::memchr(q, quote, static_cast<std::size_t>(pClose - q));
        if (pQuote == nullptr)
            return;
        pName = q;
        pNameEnd = static_cast<const BYTE*>(pQuote);
        return;
    }
}

// Widens single-byte text one unit a byte, up to its first NUL.
void WidenSingleBytes(const BYTE* pBytes, DWORD nCount, DeclaredEncoding encoding, CString& strText)
{
    WCHAR* out = TextBuffer(strText, nCount);
    if (encoding == DeclaredEncoding::Windows1252)
    {
        AfxWidenAnsi(pBytes, nCount, out);
        return;
    }
    // A byte above 0x7F is no US-ASCII: it reads as U+FFFD, as invalid UTF-8 does.
    for (DWORD i = 0; i < nCount; ++i)
        out[i] = encoding == DeclaredEncoding::Ascii && pBytes[i] >= 0x80 ? u'\xFFFD' : static_cast<WCHAR>(pBytes[i]);
}

struct FileCloser
{
    void operator()(HANDLE hFile) const { CloseHandle(hFile); }
};
} // namespace

CZOLLibXMLElement* CZOLLibXMLElement::FromBytes(BYTE* pBytes, DWORD nCount, int requireDeclaration)
{
    if (pBytes == nullptr)
        return nullptr;
    const bool bBigEndian = StartsWith(pBytes, nCount, kBigEndianMark);
    if (bBigEndian || StartsWith(pBytes, nCount, kLittleEndianMark))
    {
        CString text;
        ReadUtf16(pBytes + 2, nCount / 2 - 1, bBigEndian, text);
        return FromString(text, requireDeclaration);
    }
    if (StartsWith(pBytes, nCount, kUtf8Mark))
        return ReadUtf8(pBytes + sizeof kUtf8Mark, nCount - sizeof kUtf8Mark, requireDeclaration);
    return ReadUtf8(pBytes, nCount, requireDeclaration);
}

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(HANDLE hFile, int requireDeclaration)
{
    DWORD nSizeHigh = 0;
    const DWORD nSize = GetFileSize(hFile, &nSizeHigh);
    // A failed query reports INVALID_FILE_SIZE, which is above the limit too.
    if (nSizeHigh != 0 || nSize > kMaxFileSize)
        return nullptr;
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[nSize]);
    if (buffer == nullptr)
        AfxThrowMemoryException();
    // One read; a short one goes on with what it got, a failed one with nothing.
    DWORD nRead = 0;
    if (!ReadFile(hFile, buffer.get(), nSize, &nRead, nullptr))
        nRead = 0;
    return FromBytes(buffer.get(), nRead, requireDeclaration);
}

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(LPCWSTR pszPath, int requireDeclaration)
{
    if (pszPath == nullptr)
        return nullptr;
    HANDLE hFile = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return nullptr;
    const std::unique_ptr<void, FileCloser> file(hFile);
    return FromFile(file.get(), requireDeclaration);
}

CZOLLibXMLElement* CZOLLibXMLElement::FromBytes(BYTE* pBytes, DWORD nCount, int requireDeclaration,
                                                CZOLLibXMLLoadReport& report)
{
    if (pBytes == nullptr)
    {
        ZolFillInputReport(report, ZXML_LOAD_NO_INPUT);
        return nullptr;
    }
    const bool bBigEndian = StartsWith(pBytes, nCount, kBigEndianMark);
    if (bBigEndian || StartsWith(pBytes, nCount, kLittleEndianMark))
    {
        CString text;
        try
        {
            ReadUtf16(pBytes + 2, nCount / 2 - 1, bBigEndian, text);
        }
        catch (CException* e)
        {
            e->Delete();
            ZolFillInputReport(report, ZXML_LOAD_OUT_OF_MEMORY);
            return nullptr;
        }
        // Places count in bytes, behind the mark.
        return ZolReadWideDocument(text, text.GetString() + text.GetLength(), requireDeclaration, report,
                                   ZolOffsetMap{sizeof kBigEndianMark, 2});
    }
    const ULONGLONG nMark = StartsWith(pBytes, nCount, kUtf8Mark) ? sizeof kUtf8Mark : 0;
    const BYTE* pText = pBytes + nMark;
    // The standard reading takes the encoding from the declaration, where no
    // mark says UTF-8.
    const BYTE* pName = nullptr;
    const BYTE* pNameEnd = nullptr;
    if ((report.m_dwReadOptions & ZXML_READ_STANDARD) != 0 && nMark == 0)
        FindDeclaredEncoding(pBytes, pBytes + nCount, pName, pNameEnd);
    const DeclaredEncoding encoding = pName != nullptr ? ClassifyEncoding(pName, pNameEnd) : DeclaredEncoding::Unicode;
    if (encoding == DeclaredEncoding::Other)
    {
        ZolReadFailure<BYTE> failure;
        failure.error = ZXML_LOAD_UNSUPPORTED_ENCODING;
        failure.pPlace = pName;
        for (const BYTE* p = pName; p != pNameEnd; ++p)
            failure.strName.AppendChar(static_cast<WCHAR>(*p));
        ZolFillReport(report, failure, pBytes, pBytes + nCount, ZolOffsetMap{});
        return nullptr;
    }
    if (encoding != DeclaredEncoding::Unicode)
    {
        CString text;
        try
        {
            WidenSingleBytes(pBytes, nCount, encoding, text);
        }
        catch (CException* e)
        {
            e->Delete();
            ZolFillInputReport(report, ZXML_LOAD_OUT_OF_MEMORY);
            return nullptr;
        }
        return ZolReadWideDocument(text, text.GetString() + text.GetLength(), requireDeclaration, report,
                                   ZolOffsetMap{});
    }
    return ZolReadUtf8Document(pText, pBytes + nCount, requireDeclaration, report, ZolOffsetMap{nMark, 1});
}

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(HANDLE hFile, int requireDeclaration, CZOLLibXMLLoadReport& report)
{
    DWORD nSizeHigh = 0;
    const DWORD nSize = GetFileSize(hFile, &nSizeHigh);
    if (nSize == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
    {
        ZolFillInputReport(report, ZXML_LOAD_READ_FAILED, GetLastError());
        return nullptr;
    }
    if (nSizeHigh != 0 || nSize > kMaxFileSize)
    {
        ZolFillInputReport(report, ZXML_LOAD_TOO_LARGE, 0, (ULONGLONG{nSizeHigh} << 32) | nSize);
        return nullptr;
    }
    std::unique_ptr<BYTE[]> buffer(new (std::nothrow) BYTE[nSize]);
    if (buffer == nullptr)
    {
        ZolFillInputReport(report, ZXML_LOAD_OUT_OF_MEMORY);
        return nullptr;
    }
    // A short read goes on with what it got, as the plain form does.
    DWORD nRead = 0;
    if (!ReadFile(hFile, buffer.get(), nSize, &nRead, nullptr))
    {
        ZolFillInputReport(report, ZXML_LOAD_READ_FAILED, GetLastError());
        return nullptr;
    }
    return FromBytes(buffer.get(), nRead, requireDeclaration, report);
}

CZOLLibXMLElement* CZOLLibXMLElement::FromFile(LPCWSTR pszPath, int requireDeclaration, CZOLLibXMLLoadReport& report)
{
    if (pszPath == nullptr)
    {
        ZolFillInputReport(report, ZXML_LOAD_NO_INPUT);
        return nullptr;
    }
    HANDLE hFile = CreateFileW(pszPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
    {
        ZolFillInputReport(report, ZXML_LOAD_CANNOT_OPEN, GetLastError());
        return nullptr;
    }
    const std::unique_ptr<void, FileCloser> file(hFile);
    return FromFile(file.get(), requireDeclaration, report);
}
