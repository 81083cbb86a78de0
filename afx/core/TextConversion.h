// Conversion between UTF-8 and UTF-16, the same on every platform.
#pragma once

#include "AfxAllocator.h"
#include "AfxTypes.h"

#include <cstddef>
#include <string>

typedef std::basic_string<char, std::char_traits<char>, CAfxAllocator<char>> CUtf8String;

// Decodes UTF-8 into UTF-16. Each maximal subpart of an ill-formed sequence
// becomes one U+FFFD, as the Unicode Standard recommends, so any bytes decode.
// No byte yields more than one code unit: pOut needs room for nCount units.
// Returns the number of code units written.
AFX_CORE_API std::size_t AfxDecodeUtf8(const BYTE* pBytes, std::size_t nCount, WCHAR* pOut) noexcept;

// Encodes nLength UTF-16 code units as UTF-8 into strOut (replacing its
// content). An unpaired surrogate becomes U+FFFD; the result is FALSE when
// that happened, that is when the UTF-8 text does not stand for the input.
AFX_CORE_API BOOL AfxEncodeUtf8(LPCWSTR pch, std::size_t nLength, CUtf8String& strOut);
