// The reader's character classes and scanning steps over NUL-terminated
// UTF-16 text, inline so that the parser's loop runs without calls. The
// scanner's public members are these steps behind the node class's names.
#pragma once

#include "../model/ZOLLibXML.h"

// Markup white space is these four only: a form feed between attributes is
// not skipped.
inline bool ZolIsMarkupSpace(WCHAR ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n';
}

inline bool ZolIsNameChar(WCHAR ch)
{
    return AfxIsAlnumW(ch) || ch == u':' || ch == u'_';
}

inline const WCHAR* ZolSkipMarkupSpace(const WCHAR* p)
{
    while (ZolIsMarkupSpace(*p))
        ++p;
    return p;
}

// The end of the text that p starts with, if it starts with pszText; else null.
inline const WCHAR* ZolStartsWith(const WCHAR* p, LPCWSTR pszText)
{
    for (; *pszText != 0; ++p, ++pszText)
        if (*p != *pszText)
            return nullptr; // also where the text ends first
    return p;
}

// The end of token after optional markup white space at p; null if the token
// does not stand there.
inline const WCHAR* ZolMatchToken(const WCHAR* p, LPCWSTR pszToken)
{
    return ZolStartsWith(ZolSkipMarkupSpace(p), pszToken);
}

// Moves the cursor past markup white space and the token if the token stands
// there; else leaves it.
inline bool ZolMatch(LPCWSTR& pszCursor, LPCWSTR pszToken)
{
    const WCHAR* pEnd = ZolMatchToken(pszCursor, pszToken);
    if (pEnd == nullptr)
        return false;
    pszCursor = pEnd;
    return true;
}

// Reads the name after markup white space into strName and moves the cursor
// past it; else leaves both.
inline bool ZolReadName(LPCWSTR& pszCursor, CString& strName)
{
    const WCHAR* pStart = ZolSkipMarkupSpace(pszCursor);
    const WCHAR* pEnd = pStart;
    while (ZolIsNameChar(*pEnd))
        ++pEnd;
    if (pEnd == pStart)
        return false;
    strName = CString(pStart, static_cast<int>(pEnd - pStart));
    pszCursor = pEnd;
    return true;
}

// The first ch at or after p, or null when the text ends first.
inline const WCHAR* ZolFindChar(const WCHAR* p, WCHAR ch)
{
    for (; *p != ch; ++p)
        if (*p == 0)
            return nullptr;
    return p;
}

// Just behind the first pszText at or after p, or null when there is none.
inline const WCHAR* ZolSkipPast(const WCHAR* p, LPCWSTR pszText)
{
    for (; (p = ZolFindChar(p, pszText[0])) != nullptr; ++p)
        if (const WCHAR* pEnd = ZolStartsWith(p, pszText))
            return pEnd;
    return nullptr;
}

// Appends the span from the cursor to pEnd to strValue, decoded: references
// replaced, white space collapsed (leading white space of the span dropped).
// The cursor stops at pEnd, or earlier on a NUL or on the character after
// "&#" that is not a digit. No character at or past pEnd is read.
void ZolAppendDecodedSpan(CString& strValue, LPCWSTR& pszCursor, const WCHAR* pEnd);
