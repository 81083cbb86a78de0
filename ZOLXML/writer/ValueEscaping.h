// The escaping of values on output: the five XML entities, and a decimal
// reference for every code unit above 0x7F, so escaped text is plain ASCII.
// Text is sized exactly before it is written, so that every output is
// allocated once and filled in one pass.
#pragma once

#include <ZOLXML/ZOLLibXML.h>

#include <cstdint>

// The length of pszValue, up to its first NUL, once escaped.
std::int64_t ZolEscapedLength(LPCWSTR pszValue);

// Writes pszValue, up to its first NUL, escaped at pOut; returns the end.
WCHAR* ZolWriteEscaped(WCHAR* pOut, LPCWSTR pszValue);

// Lengthens strOut by nMore units, to be written, and returns the first of
// them; a text longer than a string can hold is exhaustion.
WCHAR* ZolExtend(CString& strOut, std::int64_t nMore);

// Writes the units of str whole, embedded NULs included; returns the end.
inline WCHAR* ZolWriteUnits(WCHAR* pOut, const CString& str)
{
    const WCHAR* p = str.GetString();
    for (int i = str.GetLength(); i > 0; --i)
        *pOut++ = *p++;
    return pOut;
}
