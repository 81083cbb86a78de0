#include "ValueEscaping.h"

#include <array>
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

// Whether each ASCII unit stands for itself: one byte per unit keeps the
// table of the scan small.
constexpr std::array<bool, 0x80> MakePlainTable()
{
    std::array<bool, 0x80> table{};
    for (std::size_t ch = 1; ch < table.size(); ++ch)
        table[ch] = kEntities[ch].empty();
    return table;
}
constexpr std::array<bool, 0x80> kStandsForItself = MakePlainTable();

bool StandsForItself(WCHAR ch)
{
    return ch < 0x80 && kStandsForItself[ch];
}

// "&#" and the unit's value in decimal, without leading zeros, then ";".
void WriteReference(CZolTextSink& sink, WCHAR ch)
{
    WCHAR text[8];
    int nStart = 7;
    text[nStart] = u';';
    unsigned int nValue = ch;
    do
    {
        text[--nStart] = static_cast<WCHAR>(u'0' + nValue % 10);
        nValue /= 10;
    } while (nValue != 0);
    text[--nStart] = u'#';
    text[--nStart] = u'&';
    sink.Write(text + nStart, 8 - nStart);
}
}

void ZolWriteEscaped(CZolTextSink& sink, LPCWSTR pszValue)
{
    LPCWSTR p = pszValue;
    while (true)
    {
        // Copy the run of units that stand for themselves in one piece.
        LPCWSTR pRun = p;
        while (StandsForItself(*p))
            ++p;
        if (p != pRun)
            sink.Write(pRun, static_cast<int>(p - pRun));
        const WCHAR ch = *p;
        if (ch == 0)
            return;
        if (ch >= 0x80)
        {
            WriteReference(sink, ch);
        }
        else
        {
            const std::u16string_view entity = kEntities[ch];
            sink.Write(entity.data(), static_cast<int>(entity.size()));
        }
        ++p;
    }
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
    CZolTextSink sink(strOut, AfxStringLength(pszValue), CZolTextSink::Growth::ByPiece);
    ZolWriteEscaped(sink, pszValue);
}
