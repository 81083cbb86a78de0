// The layer's ANSI code page: Windows-1252, the one of US-English Windows, on
// every platform, so that 8-bit text widens the same everywhere.
#pragma once

#include "AfxTypes.h"

// Widens nCount bytes of Windows-1252 text to UTF-16, one unit per byte.
AFX_CORE_API void AfxWidenAnsi(const BYTE* pch, std::size_t nCount, WCHAR* pwch) noexcept;
