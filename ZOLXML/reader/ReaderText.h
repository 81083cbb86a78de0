// The two forms of text the reader reads. Markup is ASCII in both, and every
// step below compares units against ASCII characters only; a unit that is not
// ASCII is decoded where its character matters (names, white space in text):
//   ZolWideText   UTF-16 units ending at a NUL (FromString, the scanner steps);
//   ZolUtf8Text   UTF-8 bytes ending at a given end, decoded as the platform
//                 layer's lenient decoder does, so that reading bytes gives
//                 the tree that reading their decoded text gives.
#pragma once

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextClasses.h>

#include <afx/core/TextConversion.h>

#include <cstring>

class ZolWideText
{
public:
    using Unit = WCHAR;

    // The unit at p; 0 at the end.
    Unit Peek(const Unit* p) const noexcept { return *p; }
    bool AtEnd(const Unit* p) const noexcept { return *p == 0; }

    // The first ch (ASCII) at or after p, or null when the text ends first.
    const Unit* Find(const Unit* p, char ch) const noexcept
    {
        for (; *p != static_cast<Unit>(ch); ++p)
            if (*p == 0)
                return nullptr;
        return p;
    }

    // The character at p (not at the end) as UTF-16 units in pOut; moves p past it.
    int Decode(const Unit*& p, WCHAR* pOut) const noexcept
    {
        pOut[0] = *p++;
        return 1;
    }
};

class ZolUtf8Text
{
public:
    using Unit = BYTE;

    // The text ends at pEnd, which holds no NUL before it.
    explicit ZolUtf8Text(const BYTE* pEnd) noexcept : m_pEnd(pEnd) {}

    Unit Peek(const Unit* p) const noexcept { return p == m_pEnd ? 0 : *p; }
    bool AtEnd(const Unit* p) const noexcept { return p == m_pEnd; }

    const Unit* Find(const Unit* p, char ch) const noexcept
    {
        return static_cast<const Unit*>(std::memchr(p, ch, static_cast<std::size_t>(m_pEnd - p)));
    }

    int Decode(const Unit*& p, WCHAR* pOut) const noexcept { return AfxDecodeUtf8Sequence(p, m_pEnd, pOut); }

private:
    const BYTE* m_pEnd;
};
