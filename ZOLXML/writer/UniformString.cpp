#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/TextClasses.h>

#include <string>

namespace
{
// Punctuation that normalised text keeps; everything else below 0xC0 that is
// not a letter or digit goes.
constexpr WCHAR kKeptPunctuation[] = u"'-&/,;#()";

bool IsKept(WCHAR ch)
{
    if (ch >= 0xC0 || AfxIsAlnumW(ch))
        return true;
    return std::char_traits<WCHAR>::find(kKeptPunctuation, std::size(kKeptPunctuation) - 1, ch) != nullptr;
}
}

void CZOLLibXMLNode::UniformString(CString& str)
{
    str.Trim();
    // Compact in place: units are read at nRead and kept ones written at
    // nWrite, which never passes nRead.
    const int nLength = str.GetLength();
    if (nLength == 0)
        return;
    const LPWSTR pText = str.GetBuffer();
    int nWrite = 0;
    // Set while the last unit kept is a break (or nothing is kept yet), so
    // that a run of spaces and control characters becomes one space.
    bool bBreak = true;
    for (int nRead = 0; nRead < nLength; ++nRead)
    {
        const WCHAR ch = pText[nRead];
        if (ch <= 0x20)
        {
            if (!bBreak)
            {
                pText[nWrite++] = u' ';
                bBreak = true;
            }
        }
        else if (IsKept(ch))
        {
            pText[nWrite++] = ch;
            bBreak = false;
        }
    }
    str.ReleaseBuffer(nWrite);
}
