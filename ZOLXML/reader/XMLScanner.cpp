#include "ScanPrimitives.h"

#include <cstdint>

namespace
{
struct NamedReference
{
    const WCHAR* name; // lower case, with its ";"
    std::ptrdiff_t length;
    WCHAR character;
};

// Tried in this order. "&nbsp;" stands for a plain space.
constexpr NamedReference kNamedReferences[] = {
    {u"amp;", 4, u'&'},  {u"lt;", 3, u'<'},   {u"gt;", 3, u'>'},
    {u"quot;", 5, u'"'}, {u"apos;", 5, u'\''}, {u"nbsp;", 5, u' '},
};

bool IsDecimalDigit(WCHAR ch)
{
    return ch >= u'0' && ch <= u'9';
}

// ASCII letters compare without regard to case; the span's end ends the text.
bool StartsWithReference(const WCHAR* p, const WCHAR* pEnd, const NamedReference& reference)
{
    if (pEnd - p < reference.length)
        return false;
    for (std::ptrdiff_t i = 0; i < reference.length; ++i)
    {
        const WCHAR ch = p[i];
        const WCHAR folded = (ch >= u'A' && ch <= u'Z') ? static_cast<WCHAR>(ch + 0x20) : ch;
        if (folded != reference.name[i])
            return false;
    }
    return true;
}

// Reads the digits at p, saturating at the largest 32-bit value.
std::uint32_t ReadDecimal(const WCHAR*& p, const WCHAR* pEnd)
{
    std::uint32_t value = 0;
    for (; p < pEnd && IsDecimalDigit(*p); ++p)
    {
        const std::uint32_t digit = static_cast<std::uint32_t>(*p - u'0');
        value = value > (UINT32_MAX - digit) / 10 ? UINT32_MAX : value * 10 + digit;
    }
    return value;
}

// The decoder proper; pOut has room for one unit per unit of the span.
WCHAR* DecodeSpan(const WCHAR*& pszCursor, const WCHAR* pEnd, WCHAR* pOut)
{
    const WCHAR* p = pszCursor;
    WCHAR* out = pOut;
    // True while the output is empty or ends in collapsed white space: white
    // space then adds nothing. Spaces from references do not count, so they
    // are never dropped.
    bool bAfterSpace = true;
    while (p < pEnd && *p != 0)
    {
        const WCHAR ch = *p;
        if (ch == u'&')
        {
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
            continue;
        }
        // Without a branch on white space, the bulk of any text: a run of
        // white space writes one space and advances once.
        const bool bSpace = AfxIsSpaceW(ch);
        *out = bSpace ? u' ' : ch;
        out += !(bSpace && bAfterSpace);
        bAfterSpace = bSpace;
        ++p;
    }
    pszCursor = p;
    return out;
}
} // namespace

void ZolAppendDecodedSpan(CString& strValue, LPCWSTR& pszCursor, const WCHAR* pEnd)
{
    // Leading white space never reaches the output: skip it before making
    // room, so that the white space between elements costs no allocation.
    const WCHAR* p = pszCursor;
    while (p < pEnd && AfxIsSpaceW(*p))
        ++p;
    pszCursor = p;
    if (p >= pEnd || *p == 0)
        return;
    const int nOld = strValue.GetLength();
    WCHAR* pBuffer = strValue.GetBufferSetLength(nOld + static_cast<int>(pEnd - p));
    const WCHAR* pWritten = DecodeSpan(pszCursor, pEnd, pBuffer + nOld);
    strValue.ReleaseBuffer(static_cast<int>(pWritten - pBuffer));
}

int CZOLLibXMLNode::ParseMatch(LPCWSTR& pszCursor, LPCWSTR pszToken)
{
    if (pszToken == nullptr || *pszToken == 0)
        return 0;
    return ZolMatch(pszCursor, pszToken) ? 1 : 0;
}

int CZOLLibXMLNode::ParseIdentifier(LPCWSTR& pszCursor, CString& strName)
{
    return ZolReadName(pszCursor, strName) ? 1 : 0;
}

CString CZOLLibXMLNode::StringToValue(LPCWSTR& pszCursor, int nLength)
{
    CString value;
    if (nLength > 0)
        ZolAppendDecodedSpan(value, pszCursor, pszCursor + nLength);
    return value;
}
