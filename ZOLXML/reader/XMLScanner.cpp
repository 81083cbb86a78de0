#include "ScanPrimitives.h"

#include <cstdint>
#include <cstring>

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

// The value of a hexadecimal digit, or -1.
int HexDigit(unsigned int ch)
{
    if (IsDecimalDigit(ch))
        return static_cast<int>(ch - u'0');
    ch |= 0x20;
    return ch >= u'a' && ch <= u'f' ? static_cast<int>(ch - u'a' + 10) : -1;
}

// A reference of the standard reading, p just behind "&#": the decimal or
// hexadecimal number, p then behind the reference. False, with p on the
// unit where a digit was expected, when none stands there.
template <class Unit>
bool ReadStandardReference(const Unit*& p, const Unit* pEnd, std::uint32_t& value)
{
    if (p < pEnd && (*p | 0x20) == u'x')
    {
        ++p;
        if (p == pEnd || HexDigit(*p) < 0)
            return false;
        value = 0;
        for (int digit; p < pEnd && (digit = HexDigit(*p)) >= 0; ++p)
            value = value > (UINT32_MAX >> 4) ? UINT32_MAX : (value << 4) | static_cast<std::uint32_t>(digit);
    }
    else
    {
        if (p == pEnd || !IsDecimalDigit(*p))
            return false;
        value = ReadDecimal(p, pEnd);
    }
    while (p < pEnd && *p != u';')
        ++p;
    if (p < pEnd)
        ++p;
    return true;
}

// The character of a standard reference at p (just behind "&#") as UTF-16
// units in pOut, p then behind it: a high surrogate followed by a reference
// to a low one is their character, as the writer writes one beyond U+FFFF.
// 0 for no digit, p on the unit where one was expected; -1 for a character
// that XML forbids.
template <class Unit>
int DecodeStandardReference(const Unit*& p, const Unit* pEnd, WCHAR* pOut)
{
    std::uint32_t value = 0;
    if (!ReadStandardReference(p, pEnd, value))
        return 0;
    if (value == 0 || value > 0x10FFFF || ZolIsLowSurrogate(value))
        return -1;
    if (value > 0xFFFF)
    {
        pOut[0] = static_cast<WCHAR>(0xD800 + ((value - 0x10000) >> 10));
        pOut[1] = static_cast<WCHAR>(0xDC00 + ((value - 0x10000) & 0x3FF));
        return 2;
    }
    pOut[0] = static_cast<WCHAR>(value);
    if (!ZolIsHighSurrogate(value))
        return 1;
    const Unit* q = p + 2;
    std::uint32_t low = 0;
    if (pEnd - p < 2 || p[0] != u'&' || p[1] != u'#' || !ReadStandardReference(q, pEnd, low) ||
        !ZolIsLowSurrogate(low))
        return -1;
    pOut[1] = static_cast<WCHAR>(low);
    p = q;
    return 2;
}
} // namespace

// A word of text tested lane by lane: eight UTF-8 bytes or four UTF-16
// units. The tests hold for lanes below 0x80, which is checked first.
template <class Unit>
struct AsciiLanes
{
    static constexpr int kBits = 8 * sizeof(Unit);
    static constexpr int kUnits = 8 / sizeof(Unit);
    static constexpr std::uint64_t kOnes = ~std::uint64_t{0} / ((std::uint64_t{1} << kBits) - 1);
    static constexpr std::uint64_t kTop = kOnes << (kBits - 1);
    // Bits that only units outside ASCII have.
    static constexpr std::uint64_t kNotAscii = kOnes * ((std::uint64_t{1} << kBits) - 0x80);
    static constexpr std::uint64_t kFirst = kTop & ((std::uint64_t{1} << kBits) - 1);
    static constexpr std::uint64_t kLast = kTop & ~(~std::uint64_t{0} >> kBits);

    // The top bit of each lane that is below n.
    static std::uint64_t Below(std::uint64_t word, unsigned int n)
    {
        return ~(word + kOnes * ((std::uint64_t{1} << (kBits - 1)) - n)) & kTop;
    }
    static std::uint64_t Equal(std::uint64_t word, unsigned int ch) { return Below(word ^ (kOnes * ch), 1); }

    static void Widen(std::uint64_t word, WCHAR* pOut)
    {
        if constexpr (sizeof(Unit) == sizeof(WCHAR))
        {
            std::memcpy(pOut, &word, sizeof word);
        }
        else
        {
            // Each half's four bytes spread to four 16-bit lanes.
            auto spread = [](std::uint64_t half) {
                half = (half | (half << 16)) & 0x0000FFFF0000FFFFull;
                return (half | (half << 8)) & 0x00FF00FF00FF00FFull;
            };
            const std::uint64_t low = spread(word & 0xFFFFFFFFull);
            const std::uint64_t high = spread(word >> 32);
            std::memcpy(pOut, &low, sizeof low);
            std::memcpy(pOut + 4, &high, sizeof high);
        }
    }
};

#if defined(__BYTE_ORDER__)
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "a word's first lane is its lowest");
#endif

template <class Text, bool kStandard>
WCHAR* ZolDecodeSpan(const Text& text, ZolCursor<Text>& cursor, ZolCursor<Text> pEnd, WCHAR* pOut)
{
    using Lanes = AsciiLanes<typename Text::Unit>;
    ZolCursor<Text> p = cursor;
    WCHAR* out = pOut;
    // True while the output is empty or ends in collapsed white space: white
    // space then adds nothing. Spaces from references do not count, so they
    // are never dropped.
    bool bAfterSpace = true;
    // Without a branch on white space: a run of white space writes one space
    // and advances once.
    auto write = [&](WCHAR ch, bool bSpace) {
        *out = bSpace ? u' ' : ch;
        out += !(bSpace && bAfterSpace);
        bAfterSpace = bSpace;
    };
    while (p < pEnd)
    {
        // The bulk of text: words of ASCII between single spaces, copied a
        // word of units at a time.
        while (pEnd - p >= Lanes::kUnits)
        {
            std::uint64_t word;
            std::memcpy(&word, p, sizeof word);
            if ((word & Lanes::kNotAscii) != 0 || Lanes::Equal(word, u'&') != 0)
                break;
            const std::uint64_t nSpaces = Lanes::Equal(word, u' ');
            if (Lanes::Below(word, 0x21) != nSpaces || (nSpaces & (nSpaces >> Lanes::kBits)) != 0 ||
                (bAfterSpace && (nSpaces & Lanes::kFirst) != 0))
                break; // other white space or control characters, or spaces to collapse
            Lanes::Widen(word, out);
            out += Lanes::kUnits;
            p += Lanes::kUnits;
            bAfterSpace = (nSpaces & Lanes::kLast) != 0;
        }
        if (p == pEnd)
            break;

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
            const bool bSpace = ZolIsAsciiSpace(ch);
            write(static_cast<WCHAR>(ch), bSpace);
            ++p;
            // The rest of a run of white space adds nothing: line breaks and
            // indentation inside text pass at once.
            if (bSpace)
                while (p < pEnd && ZolIsAsciiSpace(*p))
                    ++p;
            continue;
        }
        if (++p == pEnd)
            break; // a lone "&" at the end is dropped
        bAfterSpace = false;
        const NamedReference* pMatch = nullptr;
        const unsigned int chFirst = *p | 0x20; // ASCII letters in either case
        for (const NamedReference& reference : kNamedReferences)
        {
            if (static_cast<unsigned char>(reference.name[0]) == chFirst && StartsWithReference(p, pEnd, reference))
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
        else if (kStandard && *p == u'#')
        {
            const ZolCursor<Text> pReference = p - 1;
            ++p;
            const int nUnits = DecodeStandardReference(p, pEnd, out);
            if (nUnits <= 0)
            {
                // No digit: the cursor stays where one was expected; a
                // forbidden character: on the reference's "&".
                if (nUnits < 0)
                    p = pReference;
                break;
            }
            out += nUnits;
        }
        else if (*p == u'#')
        {
            if (++p == pEnd)
                break;
            if (!IsDecimalDigit(*p))
                break; // no hexadecimal form: the value ends here, short of the span's end
            // A character beyond U+FFFF becomes its pair of surrogates; any
            // other number is one code unit, modulo 65536 (so that the
            // halves of a pair may also come one by one).
            const std::uint32_t nValue = ReadDecimal(p, pEnd);
            if (nValue >= 0x10000 && nValue <= 0x10FFFF)
            {
                *out++ = static_cast<WCHAR>(0xD800 + ((nValue - 0x10000) >> 10));
                *out++ = static_cast<WCHAR>(0xDC00 + ((nValue - 0x10000) & 0x3FF));
            }
            else
            {
                *out++ = static_cast<WCHAR>(nValue & 0xFFFF);
            }
            while (p < pEnd && *p != u';')
                ++p;
            if (p < pEnd)
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

template WCHAR* ZolDecodeSpan<ZolWideText, false>(const ZolWideText&, ZolCursor<ZolWideText>&, ZolCursor<ZolWideText>,
                                                  WCHAR*);
template WCHAR* ZolDecodeSpan<ZolUtf8Text, false>(const ZolUtf8Text&, ZolCursor<ZolUtf8Text>&, ZolCursor<ZolUtf8Text>,
                                                  WCHAR*);
template WCHAR* ZolDecodeSpan<ZolWideText, true>(const ZolWideText&, ZolCursor<ZolWideText>&, ZolCursor<ZolWideText>,
                                                 WCHAR*);
template WCHAR* ZolDecodeSpan<ZolUtf8Text, true>(const ZolUtf8Text&, ZolCursor<ZolUtf8Text>&, ZolCursor<ZolUtf8Text>,
                                                 WCHAR*);

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
    const WCHAR* pEnd = ZolScanName(text, pStart, unused);
    if (pEnd == pStart)
        return 0;
    strName = CString(pStart, static_cast<int>(pEnd - pStart));
    pszCursor = pEnd;
    return 1;
}

CString CZOLLibXMLNode::StringToValue(LPCWSTR& pszCursor, int nLength)
{
    // The span ends at a NUL inside it, where the text ends; nothing beyond
    // is read.
    CString value;
    if (nLength > 0)
    {
        const WCHAR* pEnd = pszCursor;
        while (pEnd - pszCursor < nLength && *pEnd != 0)
            ++pEnd;
        ZolAppendDecodedSpan(ZolWideText(), value, pszCursor, pEnd);
    }
    return value;
}
