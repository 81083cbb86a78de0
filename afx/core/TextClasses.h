// Classification and lower-casing of UTF-16 code units. The tables behind
// these come from the Unicode Character Database (tools/gen_unicode_tables.py)
// and are the same on every platform. In ASCII they agree with the C locale.
#pragma once

#include "AfxTypes.h"

enum : BYTE
{
    AFX_CT_ALNUM = 0x01, // letters and digits of any script
    AFX_CT_SPACE = 0x02  // white space
};

// Table lookups for any code unit; the inline functions below answer ASCII
// without them.
AFX_CORE_API BYTE AfxGetCharClassW(WCHAR ch);
AFX_CORE_API WCHAR AfxGetLowerW(WCHAR ch);

inline BOOL AfxIsAlnumW(WCHAR ch)
{
    if (ch < 0x80)
        return (ch >= u'0' && ch <= u'9') || (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
    return (AfxGetCharClassW(ch) & AFX_CT_ALNUM) != 0;
}

inline BOOL AfxIsSpaceW(WCHAR ch)
{
    if (ch < 0x80)
        return ch == u' ' || (ch >= 0x09 && ch <= 0x0D);
    // Unicode's white space beyond ASCII lies at U+0085, U+00A0, U+1680,
    // U+2000 to U+205F and U+3000: the table is asked only there.
    if (ch != 0x85 && ch != 0xA0 && ch != 0x1680 && (ch < 0x2000 || ch > 0x205F) && ch != 0x3000)
        return FALSE;
    return (AfxGetCharClassW(ch) & AFX_CT_SPACE) != 0;
}

inline WCHAR AfxToLowerW(WCHAR ch)
{
    if (ch < 0x80)
        return (ch >= u'A' && ch <= u'Z') ? static_cast<WCHAR>(ch + 0x20) : ch;
    return AfxGetLowerW(ch);
}
