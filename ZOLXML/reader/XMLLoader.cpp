// Loading from bytes and files: encoding by byte-order mark, UTF-8 otherwise.
#include "XMLParser.h"

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
    return ZolReadUtf8Document(pBytes + nMark, pBytes + nCount, requireDeclaration, report, ZolOffsetMap{nMark, 1});
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
