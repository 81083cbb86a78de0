// The reader's character classes and scanning steps, over either form of
// text (ReaderText.h), inline so that the parser's loop runs without calls.
// The scanner's public members are these steps over UTF-16 text, behind the
// node class's names.
#pragma once

#include "../model/TreeWalk.h"
#include "ReaderText.h"

#include <array>
#include <cstdint>
#include <type_traits>

// Markup white space is these four only: a form feed between attributes is
// not skipped.
inline bool ZolIsMarkupSpace(unsigned int ch)
{
    return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n';
}

// White space in text, where it is ASCII.
inline bool ZolIsAsciiSpace(unsigned int ch)
{
    return ch == u' ' || (ch >= 0x09 && ch <= 0x0D);
}

inline constexpr std::array<bool, 0x80> kZolAsciiNameChars = [] {
    std::array<bool, 0x80> table{};
    for (unsigned int ch = 0; ch < 0x80; ++ch)
        table[ch] = (ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == ':' ||
                    ch == '_';
    return table;
}();

// Letters and digits of any script, ":" and "_".
inline bool ZolIsNameChar(WCHAR ch)
{
    return ch < 0x80 ? kZolAsciiNameChars[ch] : AfxIsAlnumW(ch) != FALSE;
}

// Names as XML 1.0 (fifth edition) spells them, for the standard reading:
// the characters that may start a name, and those that may continue one.
inline bool ZolIsXmlNameStart(std::uint32_t ch)
{
    if (ch < 0x80)
        return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || ch == ':' || ch == '_';
    return (ch >= 0xC0 && ch <= 0xD6) || (ch >= 0xD8 && ch <= 0xF6) || (ch >= 0xF8 && ch <= 0x2FF) ||
           (ch >= 0x370 && ch <= 0x37D) || (ch >= 0x37F && ch <= 0x1FFF) || (ch >= 0x200C && ch <= 0x200D) ||
           (ch >= 0x2070 && ch <= 0x218F) || (ch >= 0x2C00 && ch <= 0x2FEF) || (ch >= 0x3001 && ch <= 0xD7FF) ||
           (ch >= 0xF900 && ch <= 0xFDCF) || (ch >= 0xFDF0 && ch <= 0xFFFD) || (ch >= 0x10000 && ch <= 0xEFFFF);
}

inline bool ZolIsXmlNameChar(std::uint32_t ch)
{
    if (ch < 0x80)
        return ZolIsXmlNameStart(ch) || (ch >= '0' && ch <= '9') || ch == '-' || ch == '.';
    return ZolIsXmlNameStart(ch) || ch == 0xB7 || (ch >= 0x300 && ch <= 0x36F) || (ch >= 0x203F && ch <= 0x2040);
}

inline bool ZolIsHighSurrogate(std::uint32_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

inline bool ZolIsLowSurrogate(std::uint32_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

template <class Text>
using ZolCursor = const typename Text::Unit*;

template <class Text>
ZolCursor<Text> ZolSkipMarkupSpace(const Text& text, ZolCursor<Text> p)
{
    while (ZolIsMarkupSpace(text.Peek(p)))
        ++p;
    return p;
}

// The end of the token that p starts with, or null. The token's units are
// compared as they are: markup tokens are ASCII.
template <class Text, class TokenUnit>
ZolCursor<Text> ZolStartsWith(const Text& text, ZolCursor<Text> p, const TokenUnit* pszToken)
{
    for (; *pszToken != 0; ++p, ++pszToken)
        if (static_cast<unsigned int>(text.Peek(p)) != static_cast<unsigned int>(*pszToken))
            return nullptr; // also where the text ends first
    return p;
}

// The end of the token after optional markup white space at p; null if the
// token does not stand there.
template <class Text, class TokenUnit>
ZolCursor<Text> ZolMatchToken(const Text& text, ZolCursor<Text> p, const TokenUnit* pszToken)
{
    return ZolStartsWith(text, ZolSkipMarkupSpace(text, p), pszToken);
}

// Moves the cursor past markup white space and the token if the token stands
// there; else leaves it.
template <class Text, class TokenUnit>
bool ZolMatch(const Text& text, ZolCursor<Text>& cursor, const TokenUnit* pszToken)
{
    const ZolCursor<Text> pEnd = ZolMatchToken(text, cursor, pszToken);
    if (pEnd == nullptr)
        return false;
    cursor = pEnd;
    return true;
}

// Just behind the first pszText (ASCII) at or after p, or null when there is none.
template <class Text>
ZolCursor<Text> ZolSkipPast(const Text& text, ZolCursor<Text> p, const char* pszText)
{
    for (; (p = text.Find(p, pszText[0])) != nullptr; ++p)
        if (const ZolCursor<Text> pEnd = ZolStartsWith(text, p, pszText))
            return pEnd;
    return nullptr;
}

// The end of the name that starts at p (p itself when none does). The
// name's units are the text's own from p to there, except where UTF-8
// holds characters outside ASCII: then scratch holds them decoded (and is
// otherwise left empty).
template <class Text>
ZolCursor<Text> ZolScanName(const Text& text, ZolCursor<Text> p, ZolStack<WCHAR>& scratch)
{
    constexpr bool bWide = std::is_same_v<typename Text::Unit, WCHAR>;
    // Most names are ASCII to their end.
    const ZolCursor<Text> pStart = p;
    unsigned int ch;
    while ((ch = text.Peek(p)) < 0x80 && kZolAsciiNameChars[ch])
        ++p;
    scratch.clear();
    bool bDecoded = false;
    while (ch >= 0x80)
    {
        ZolCursor<Text> q = p;
        WCHAR units[2];
        // A pair of surrogates is no letter: the name ends before it.
        if (text.Decode(q, units) != 1 || !ZolIsNameChar(units[0]))
            break;
        if constexpr (!bWide)
        {
            if (!bDecoded)
                scratch.assign(pStart, p);
            bDecoded = true;
            scratch.push_back(units[0]);
        }
        p = q;
        while ((ch = text.Peek(p)) < 0x80 && kZolAsciiNameChars[ch])
        {
            if constexpr (!bWide)
                scratch.push_back(static_cast<WCHAR>(ch));
            ++p;
        }
    }
    return p;
}

// The end of the XML name that starts at p (p itself when none does), as
// ZolScanName gives it; a pair of surrogates is one character of a name.
template <class Text>
ZolCursor<Text> ZolScanXmlName(const Text& text, ZolCursor<Text> p, ZolStack<WCHAR>& scratch)
{
    constexpr bool bWide = std::is_same_v<typename Text::Unit, WCHAR>;
    const ZolCursor<Text> pStart = p;
    scratch.clear();
    bool bDecoded = false;
    for (;;)
    {
        const unsigned int ch = text.Peek(p);
        const bool bFirst = p == pStart;
        if (ch < 0x80)
        {
            if (bFirst ? !ZolIsXmlNameStart(ch) : !ZolIsXmlNameChar(ch))
                break;
            if constexpr (!bWide)
            {
                if (bDecoded)
                    scratch.push_back(static_cast<WCHAR>(ch));
            }
            ++p;
            continue;
        }
        ZolCursor<Text> q = p;
        WCHAR units[2];
        int nUnits = text.Decode(q, units);
        if (nUnits == 1 && ZolIsHighSurrogate(units[0]) && ZolIsLowSurrogate(text.Peek(q)))
        {
            units[1] = static_cast<WCHAR>(text.Peek(q));
            ++q;
            nUnits = 2;
        }
        const std::uint32_t character =
            nUnits == 2 ? 0x10000 + ((units[0] - 0xD800u) << 10) + (units[1] - 0xDC00u) : units[0];
        if (bFirst ? !ZolIsXmlNameStart(character) : !ZolIsXmlNameChar(character))
            break;
        if constexpr (!bWide)
        {
            if (!bDecoded)
                scratch.assign(pStart, p);
            bDecoded = true;
            scratch.insert(scratch.end(), units, units + nUnits);
        }
        p = q;
    }
    return p;
}

// Names as the reading reads them: this reader's own, or XML's.
template <bool kStandard, class Text>
ZolCursor<Text> ZolScanNameAs(const Text& text, ZolCursor<Text> p, ZolStack<WCHAR>& scratch)
{
    if constexpr (kStandard)
        return ZolScanXmlName(text, p, scratch);
    else
        return ZolScanName(text, p, scratch);
}

// Just behind name if the text at p spells it, else null.
template <class Text>
ZolCursor<Text> ZolMatchName(const Text& text, ZolCursor<Text> p, const CString& name)
{
    const WCHAR* pName = name.GetString();
    const WCHAR* const pNameEnd = pName + name.GetLength();
    while (pName != pNameEnd)
    {
        const unsigned int ch = text.Peek(p);
        if (ch < 0x80)
        {
            if (ch != *pName || ch == 0)
                return nullptr;
            ++p;
            ++pName;
            continue;
        }
        WCHAR units[2];
        const int nUnits = text.Decode(p, units);
        for (int i = 0; i < nUnits; ++i, ++pName)
            if (pName == pNameEnd || units[i] != *pName)
                return nullptr;
    }
    return p;
}

// Decodes the span from the cursor to pEnd into pOut: references replaced,
// white space collapsed. The span holds no NUL and may be read whole. The
// cursor stops at pEnd, or earlier on the character after "&#" that is not a
// digit. Returns the end of what was written, which takes no more units than
// the span.
//
// The standard reading also reads hexadecimal references, and refuses those
// to characters XML forbids (0, a surrogate not paired by the next
// reference, beyond U+10FFFF): the cursor then stops on the reference's "&".
template <class Text, bool kStandard = false>
WCHAR* ZolDecodeSpan(const Text& text, ZolCursor<Text>& cursor, ZolCursor<Text> pEnd, WCHAR* pOut);

// Decodes the span literally, as a CDATA section holds text: white space
// collapsed as ZolDecodeSpan collapses it, and nothing else replaced.
template <class Text>
WCHAR* ZolDecodeLiteralSpan(const Text& text, ZolCursor<Text> p, ZolCursor<Text> pEnd, WCHAR* pOut)
{
    bool bAfterSpace = true;
    while (p < pEnd)
    {
        WCHAR units[2];
        int nUnits = 1;
        if (*p < 0x80)
            units[0] = static_cast<WCHAR>(*p++);
        else
            nUnits = text.Decode(p, units);
        for (int i = 0; i < nUnits; ++i)
        {
            const bool bSpace = units[i] < 0x80 ? ZolIsAsciiSpace(units[i]) : AfxIsSpaceW(units[i]) != FALSE;
            if (!(bSpace && bAfterSpace))
                *pOut++ = bSpace ? u' ' : units[i];
            bAfterSpace = bSpace;
        }
    }
    return pOut;
}

// Just behind the white space that the span starts with: it never reaches
// a value.
template <class Text>
ZolCursor<Text> ZolSkipTextSpace(const Text& text, ZolCursor<Text> p, ZolCursor<Text> pEnd)
{
    while (p < pEnd)
    {
        const unsigned int ch = *p;
        if (ch < 0x80)
        {
            if (!ZolIsAsciiSpace(ch))
                break;
            ++p;
            continue;
        }
        ZolCursor<Text> q = p;
        WCHAR units[2];
        if (text.Decode(q, units) != 1 || !AfxIsSpaceW(units[0]))
            break;
        p = q;
    }
    return p;
}

// Spans up to this many units are decoded into a buffer of the stack and
// then copied, so that their value takes just the room it needs.
constexpr std::ptrdiff_t kZolShortSpan = 64;

// Appends the decoded span, which starts with no white space, straight into
// strValue's buffer, sized by the span.
template <bool kStandard = false, class Text>
void ZolAppendLongSpan(const Text& text, CString& strValue, ZolCursor<Text>& cursor, ZolCursor<Text> pEnd)
{
    const int nOld = strValue.GetLength();
    WCHAR* pBuffer = strValue.GetBufferSetLength(nOld + static_cast<int>(pEnd - cursor));
    const WCHAR* pWritten = ZolDecodeSpan<Text, kStandard>(text, cursor, pEnd, pBuffer + nOld);
    strValue.ReleaseBuffer(static_cast<int>(pWritten - pBuffer));
}

// Appends the decoded span to strValue, its leading white space dropped.
template <class Text>
void ZolAppendDecodedSpan(const Text& text, CString& strValue, ZolCursor<Text>& cursor, ZolCursor<Text> pEnd)
{
    cursor = ZolSkipTextSpace(text, cursor, pEnd);
    if (cursor == pEnd)
        return;
    if (pEnd - cursor > kZolShortSpan)
        return ZolAppendLongSpan(text, strValue, cursor, pEnd);
    WCHAR units[kZolShortSpan];
    const WCHAR* pWritten = ZolDecodeSpan(text, cursor, pEnd, units);
    strValue.Append(units, static_cast<int>(pWritten - units));
}

extern template WCHAR* ZolDecodeSpan<ZolWideText, false>(const ZolWideText&, ZolCursor<ZolWideText>&,
                                                         ZolCursor<ZolWideText>, WCHAR*);
extern template WCHAR* ZolDecodeSpan<ZolUtf8Text, false>(const ZolUtf8Text&, ZolCursor<ZolUtf8Text>&,
                                                         ZolCursor<ZolUtf8Text>, WCHAR*);
extern template WCHAR* ZolDecodeSpan<ZolWideText, true>(const ZolWideText&, ZolCursor<ZolWideText>&,
                                                        ZolCursor<ZolWideText>, WCHAR*);
extern template WCHAR* ZolDecodeSpan<ZolUtf8Text, true>(const ZolUtf8Text&, ZolCursor<ZolUtf8Text>&,
                                                        ZolCursor<ZolUtf8Text>, WCHAR*);
