#include "ValueEscaping.h"

#include <array>
#include <climits>
#include <functional>
#include <string_view>

namespace
{
// For each ASCII code unit the entity that replaces it, or nothing where the
// unit stands for itself. NUL ends a value and is handled apart.
constexpr std::array<std::u16string_view, 0x80> MakeEntityTable()
{
    std::array<std::u16string_view, 0x80> table{};
    table[u'&'] = u"&amp;";
    table[u'<'] = u"&lt;";
    table[u'>'] = u"&gt;";
    table[u'"'] = u"&quot;";
    table[u'\''] = u"&apos;";
    return table;
}
constexpr std::array<std::u16string_view, 0x80> kEntities = MakeEntityTable();

// The escaped length of each ASCII unit: 1 where it stands for itself, 0 for
// the NUL that ends a value.
constexpr std::array<std::uint8_t, 0x80> MakeLengthTable()
{
    std::array<std::uint8_t, 0x80> table{};
    for (std::size_t ch = 1; ch < table.size(); ++ch)
        table[ch] = static_cast<std::uint8_t>(kEntities[ch].empty() ? 1 : kEntities[ch].size());
    return table;
}
constexpr std::array<std::uint8_t, 0x80> kEscapedLengths = MakeLengthTable();

// "&#", the unit in decimal without leading zeros, ";": 3, 4 or 5 digits
// above 0x7F.
int ReferenceLength(WCHAR ch)
{
    return ch < 1000 ? 6 : (ch < 10000 ? 7 : 8);
}

WCHAR* WriteReference(WCHAR* pOut, WCHAR ch)
{
    const int nLength = ReferenceLength(ch);
    pOut[0] = u'&';
    pOut[1] = u'#';
    pOut[nLength - 1] = u';';
    unsigned int nValue = ch;
    for (int i = nLength - 2; i >= 2; --i, nValue /= 10)
        pOut[i] = static_cast<WCHAR>(u'0' + nValue % 10);
    return pOut + nLength;
}
} // namespace

std::int64_t ZolEscapedLength(LPCWSTR pszValue)
{
    std::int64_t nLength = 0;
    for (const WCHAR* p = pszValue;; ++p)
    {
        const WCHAR ch = *p;
        if (ch >= 0x80)
            nLength += ReferenceLength(ch);
        else if (ch != 0)
            nLength += kEscapedLengths[ch];
        else
            return nLength;
    }
}

WCHAR* ZolWriteEscaped(WCHAR* pOut, LPCWSTR pszValue)
{
    for (const WCHAR* p = pszValue;; ++p)
    {
        const WCHAR ch = *p;
        if (ch < 0x80 && kEscapedLengths[ch] == 1)
        {
            *pOut++ = ch;
            continue;
        }
        if (ch == 0)
            return pOut;
        if (ch >= 0x80)
        {
            pOut = WriteReference(pOut, ch);
            continue;
        }
        for (const WCHAR entity : kEntities[ch])
            *pOut++ = entity;
    }
}

WCHAR* ZolExtend(CString& strOut, std::int64_t nMore)
{
    const int nOld = strOut.GetLength();
    if (nMore > INT_MAX - nOld)
        AfxThrowMemoryException();
    return strOut.GetBufferSetLength(nOld + static_cast<int>(nMore)) + nOld;
}

void CZOLLibXMLNode::ValueToString(LPCWSTR pszValue, CString& strOut)
{
    // A null value is taken as empty.
    if (pszValue == nullptr)
        return;
    // A value that lies in the output's own buffer would move as the output
    // grows: escape a copy of it instead.
    CString copy;
    const LPCWSTR pOutBegin = strOut.GetString();
    if (std::less_equal<LPCWSTR>()(pOutBegin, pszValue) && std::less_equal<LPCWSTR>()(pszValue, pOutBegin + strOut.GetLength()))
    {
        copy = pszValue;
        pszValue = copy;
    }
    ZolWriteEscaped(ZolExtend(strOut, ZolEscapedLength(pszValue)), pszValue);
}
