#include "ScanPrimitives.h"

#include <cstdint>

namespace
{
struct NamedReference
{
    const char* name; // lower case, with its ";"
    std::ptrdiff_t length;
    WCHAR character;
};

// Tried in this order. "&nbsp;" stands for a plain space.
constexpr NamedReference kNamedReferences[] = {
    {"amp;", 4, u'&'},  {"lt;", 3, u'<'},   {"gt;", 3, u'>'},
    {"quot;", 5, u'"'}, {"apos;", 5, u'\''}, {"nbsp;", 5, u' '},
};

bool IsDecimalDigit(unsigned int ch)
{
    return ch >= u'0' && ch <= u'9';
}

// ASCII letters compare without regard to case; the span's end ends the text.
template <class Unit>
bool StartsWithReference(const Unit* p, const Unit* pEnd, const NamedReference& reference)
{
    if (pEnd - p < reference.length)
        return false;
    for (std::ptrdiff_t i = 0; i < reference.length; ++i)
    {
        const unsigned int ch = p[i];
        const unsigned int folded = (ch >= u'A' && ch <= u'Z') ? ch + 0x20 : ch;
        if (folded != static_cast<unsigned char>(reference.name[i]))
            return false;
    }
    return true;
}

// Reads the digits at p, saturating at the largest 32-bit value.
template <class Unit>
std::uint32_t ReadDecimal(const Unit*& p, const Unit* pEnd)
{
    std::uint32_t value = 0;
    for (; p < pEnd && IsDecimalDigit(*p); ++p)
    {
        const std::uint32_t digit = static_cast<std::uint32_t>(*p - u'0');
        value = value > (UINT32_MAX - digit) / 10 ? UINT32_MAX : value * 10 + digit;
    }
    return value;
}
} // namespace

template <class Text>
WCHAR* ZolDecodeSpan(const Text& text, ZolCursor<Text>& cursor, ZolCursor<Text> pEnd, WCHAR* pOut)
{
    ZolCursor<Text> p = cursor;
    WCHAR* out = pOut;
    // True while the output is empty or ends in collapsed white space: white
    // space then adds nothing. Spaces from references do not count, so they
    // are never dropped.
    bool bAfterSpace = true;
    // Without a branch on white space, the bulk of any text: a run of white
    // space writes one space and advances once.
    auto write = [&](WCHAR ch, bool bSpace) {
        *out = bSpace ? u' ' : ch;
        out += !(bSpace && bAfterSpace);
        bAfterSpace = bSpace;
    };
    while (p < pEnd && !text.AtEnd(p))
    {
        const unsigned int ch = *p;
        if (ch >= 0x80)
        {
            WCHAR units[2];
            const int nUnits = text.Decode(p, units);
            for (int i = 0; i < nUnits; ++i)
                write(units[i], AfxIsSpaceW(units[i]) != FALSE);
            continue;
        }
        if (ch != u'&')
        {
            write(static_cast<WCHAR>(ch), ZolIsAsciiSpace(ch));
            ++p;
            continue;
        }
        if (++p == pEnd)
            break; // a lone "&" at the end is dropped
        bAfterSpace = false;
        const NamedReference* pMatch = nullptr;
        for (const NamedReference& reference : kNamedReferences)
        {
            if (StartsWithReference(p, pEnd, reference))
            {
                pMatch = &reference;
                break;
            }
        }
        if (pMatch != nullptr)
        {
            *out++ = pMatch->character;
            p += pMatch->length;
        }
        else if (*p == u'#')
        {
            if (++p == pEnd)
                break;
            if (!IsDecimalDigit(*p))
                break; // no hexadecimal form: the value ends here, short of the span's end
            // One reference is one code unit: the number modulo 65536.
            *out++ = static_cast<WCHAR>(ReadDecimal(p, pEnd) & 0xFFFF);
            while (p < pEnd && *p != u';' && *p != 0)
                ++p;
            if (p < pEnd && *p == u';')
                ++p;
        }
        else
        {
            *out++ = u'&'; // not a reference: the text goes on after the "&"
        }
    }
    cursor = p;
    return out;
}

template WCHAR* ZolDecodeSpan<ZolWideText>(const ZolWideText&, ZolCursor<ZolWideText>&, ZolCursor<ZolWideText>, WCHAR*);
template WCHAR* ZolDecodeSpan<ZolUtf8Text>(const ZolUtf8Text&, ZolCursor<ZolUtf8Text>&, ZolCursor<ZolUtf8Text>, WCHAR*);

int CZOLLibXMLNode::ParseMatch(LPCWSTR& pszCursor, LPCWSTR pszToken)
{
    if (pszToken == nullptr || *pszToken == 0)
        return 0;
    return ZolMatch(ZolWideText(), pszCursor, pszToken) ? 1 : 0;
}

int CZOLLibXMLNode::ParseIdentifier(LPCWSTR& pszCursor, CString& strName)
{
    const ZolWideText text;
    const WCHAR* pStart = ZolSkipMarkupSpace(text, pszCursor);
    ZolStack<WCHAR> unused;
    const WCHAR* pUnits = nullptr;
    int nUnits = 0;
    const WCHAR* pEnd = ZolScanName(text, pStart, unused, pUnits, nUnits);
    if (nUnits == 0)
        return 0;
    strName = CString(pUnits, nUnits);
    pszCursor = pEnd;
    return 1;
}

CString CZOLLibXMLNode::StringToValue(LPCWSTR& pszCursor, int nLength)
{
    CString value;
    if (nLength > 0)
        ZolAppendDecodedSpan(ZolWideText(), value, pszCursor, pszCursor + nLength);
    return value;
}
