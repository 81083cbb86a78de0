/// @file
/// Conversion between UTF-8 and UTF-16, the same on every platform: how a
/// program turns the library's text into the bytes of a file or a terminal,
/// and a UTF-8 string (a POSIX path, a command-line argument) into a CString.
#pragma once

#include "AfxAllocator.h"
#include "AfxTypes.h"

#include <cstddef>
#include <string>

/// UTF-8 text: a std::string whose allocations, like the layer's others, raise
/// CMemoryException* when memory runs out.
typedef std::basic_string<char, std::char_traits<char>, CAfxAllocator<char>> CUtf8String;

/// Decodes nCount bytes of UTF-8 at pBytes into UTF-16 at pOut and returns the
/// number of code units written. Each maximal subpart of an ill-formed
/// sequence becomes one U+FFFD, as the Unicode Standard recommends, so any
/// bytes decode; a NUL byte is decoded like any other. No byte yields more
/// than one code unit: pOut needs room for nCount units.
AFX_CORE_API std::size_t AfxDecodeUtf8(const BYTE* pBytes, std::size_t nCount, WCHAR* pOut) noexcept;

/// Decodes the one sequence that starts at p (p < end, *p at 0x80 or above)
/// as AfxDecodeUtf8() does, writing one unit (two for a pair of surrogates)
/// to pOut, and moves p past it. Returns the number of units written.
inline int AfxDecodeUtf8Sequence(const BYTE*& p, const BYTE* end, WCHAR* pOut) noexcept
{
    // The well-formed sequences of the Unicode Standard (table 3-7): the lead
    // byte fixes the length and the range of the second byte; every later
    // byte is 80..BF.
    const BYTE lead = *p;
    int length;
    BYTE low = 0x80;
    BYTE high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0; // no overlong forms
        else if (lead == 0xED)
            high = 0x9F; // no surrogates
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        if (lead == 0xF0)
            low = 0x90; // no overlong forms
        else if (lead == 0xF4)
            high = 0x8F; // nothing above U+10FFFF
    }
    else
    {
        ++p;
        pOut[0] = 0xFFFD;
        return 1;
    }

    unsigned int ch = lead & (0x7Fu >> length);
    int taken = 1;
    for (; taken < length && p + taken < end; ++taken)
    {
        const BYTE next = p[taken];
        if (next < low || next > high)
            break;
        ch = (ch << 6) | (next & 0x3Fu);
        low = 0x80;
        high = 0xBF;
    }
    p += taken;
    if (taken < length)
    {
        // The maximal subpart ends before the byte that broke it; that byte
        // starts the next sequence.
        pOut[0] = 0xFFFD;
        return 1;
    }
    if (ch >= 0x10000)
    {
        ch -= 0x10000;
        pOut[0] = static_cast<WCHAR>(0xD800 + (ch >> 10));
        pOut[1] = static_cast<WCHAR>(0xDC00 + (ch & 0x3FF));
        return 2;
    }
    pOut[0] = static_cast<WCHAR>(ch);
    return 1;
}

/// Encodes nLength UTF-16 code units at pch as UTF-8 into strOut, replacing
/// its content; embedded NULs are encoded too. An unpaired surrogate becomes
/// U+FFFD; the result is FALSE when that happened, that is when the UTF-8 text
/// does not stand for the input, else TRUE. Raises CMemoryException* when
/// strOut cannot grow.
AFX_CORE_API BOOL AfxEncodeUtf8(LPCWSTR pch, std::size_t nLength, CUtf8String& strOut);
