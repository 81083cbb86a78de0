// The examples print the library's UTF-16 text as UTF-8.
#pragma once

#include <afx/core/AfxString.h>
#include <afx/core/TextConversion.h>

#include <cstdio>

inline void PrintLine(const char* pszLabel, const CString& text)
{
    CUtf8String bytes;
    AfxEncodeUtf8(text.GetString(), static_cast<std::size_t>(text.GetLength()), bytes);
    std::printf("%s%s\n", pszLabel, bytes.c_str());
}
