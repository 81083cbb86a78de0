// MFC's archive form of strings: a length prefix, optionally tagged as
// UTF-16, followed by the characters with no terminator.
#include "AfxAnsiCodePage.h"
#include "AfxArchive.h"
#include "AfxArchiveReadExactly.h"

#include <algorithm>

// The code units of a UTF-16LE string are copied straight into memory.
#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the archive's UTF-16 is little-endian");
#endif

namespace
{
constexpr WORD kUnicodeTag = 0xFFFE;
constexpr WORD kLongLength = 0xFFFF;

// Strings are read in pieces of this many characters, the text growing only
// as the archive delivers them: a length announced beyond what the archive
// holds costs one piece of memory, not the announced amount.
constexpr UINT_PTR kWidePiece = 32 * 1024;
constexpr UINT_PTR kAnsiPiece = 4 * 1024;

// Reads nLength characters, calling readPiece(destination, count) for each
// piece of at most nPiece of them.
template <class ReadPiece>
CString ReadInPieces(UINT_PTR nLength, UINT_PTR nPiece, ReadPiece&& readPiece)
{
    CString text;
    for (UINT_PTR nDone = 0; nDone < nLength;)
    {
        const UINT_PTR n = std::min(nLength - nDone, nPiece);
        if (nDone + n > static_cast<UINT_PTR>(INT32_MAX))
            AfxThrowMemoryException(); // more than a CString can hold
        LPWSTR pch = text.GetBufferSetLength(static_cast<int>(nDone + n));
        readPiece(pch + nDone, static_cast<UINT>(n));
        nDone += n;
    }
    return text;
}
}

void AfxWriteStringLength(CArchive& ar, UINT_PTR nLength, BOOL bUnicode)
{
    if (bUnicode)
        ar << static_cast<BYTE>(0xFF) << kUnicodeTag;
    if (nLength < 0xFF)
    {
        ar << static_cast<BYTE>(nLength);
    }
    else if (nLength < kUnicodeTag)
    {
        ar << static_cast<BYTE>(0xFF) << static_cast<WORD>(nLength);
    }
    else
    {
        if (static_cast<DWORD>(nLength) != nLength)
            AfxThrowInvalidArgException(); // the form has 32 bits
        ar << static_cast<BYTE>(0xFF) << kLongLength << static_cast<DWORD>(nLength);
    }
}

UINT_PTR AfxReadStringLength(CArchive& ar, int& nCharSize)
{
    nCharSize = 1;
    BYTE bLength = 0;
    ar >> bLength;
    if (bLength < 0xFF)
        return bLength;
    WORD wLength = 0;
    ar >> wLength;
    if (wLength == kUnicodeTag)
    {
        // Tagged UTF-16: the length follows in the same forms, from the start.
        nCharSize = sizeof(WCHAR);
        ar >> bLength;
        if (bLength < 0xFF)
            return bLength;
        ar >> wLength;
    }
    if (wLength != kLongLength)
        return wLength;
    DWORD dwLength = 0;
    ar >> dwLength;
    return dwLength;
}

CArchive& operator<<(CArchive& ar, const CString& str)
{
    const auto nLength = static_cast<UINT_PTR>(str.GetLength());
    AfxWriteStringLength(ar, nLength, TRUE);
    ar.Write(str.GetString(), static_cast<UINT>(nLength * sizeof(WCHAR)));
    return ar;
}

CArchive& operator>>(CArchive& ar, CString& str)
{
    int nCharSize = 1;
    const UINT_PTR nLength = AfxReadStringLength(ar, nCharSize);
    auto readUtf16 = [&](WCHAR* pch, UINT n) { AfxReadExactly(ar, pch, n * static_cast<UINT>(sizeof(WCHAR))); };
    auto readAnsi = [&](WCHAR* pch, UINT n) {
        BYTE bytes[kAnsiPiece];
        AfxReadExactly(ar, bytes, n);
        AfxWidenAnsi(bytes, n, pch);
    };
    CString text = nCharSize == sizeof(WCHAR) ? ReadInPieces(nLength, kWidePiece, readUtf16)
                                              : ReadInPieces(nLength, kAnsiPiece, readAnsi);
    // As the C string it stands for, the text ends at its first NUL.
    text.Truncate(AfxStringLength(text.GetString()));
    str = std::move(text);
    return ar;
}
