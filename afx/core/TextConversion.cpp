#include "TextConversion.h"

#include <cstdint>
#include <cstring>

namespace
{
constexpr WCHAR kReplacementCharacter = 0xFFFD;

bool IsSurrogate(std::uint32_t ch)
{
    return ch >= 0xD800 && ch <= 0xDFFF;
}

bool IsHighSurrogate(std::uint32_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

// Copies the ASCII bytes at p, eight at a time while no byte has its top bit set.
const BYTE* CopyAsciiRun(const BYTE* p, const BYTE* end, WCHAR*& out)
{
    while (end - p >= 8)
    {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0)
            break;
        for (int i = 0; i < 8; ++i)
            out[i] = p[i];
        out += 8;
        p += 8;
    }
    while (p < end && *p < 0x80)
        *out++ = *p++;
    return p;
}

void AppendUtf8(std::uint32_t ch, CUtf8String& str)
{
    if (ch < 0x80)
    {
        str.push_back(static_cast<char>(ch));
    }
    else if (ch < 0x800)
    {
        str.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        str.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
    else if (ch < 0x10000)
    {
        str.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        str.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        str.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
    else
    {
        str.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        str.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        str.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        str.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}
} // namespace

std::size_t AfxDecodeUtf8(const BYTE* pBytes, std::size_t nCount, WCHAR* pOut) noexcept
{
    const BYTE* p = pBytes;
    const BYTE* const end = pBytes + nCount;
    WCHAR* out = pOut;
    while (p < end)
    {
        p = CopyAsciiRun(p, end, out);
        if (p == end)
            break;
        out += AfxDecodeUtf8Sequence(p, end, out);
    }
    return static_cast<std::size_t>(out - pOut);
}

BOOL AfxEncodeUtf8(LPCWSTR pch, std::size_t nLength, CUtf8String& strOut)
{
    strOut.clear();
    strOut.reserve(nLength);
    BOOL bExact = TRUE;
    for (std::size_t i = 0; i < nLength; ++i)
    {
        std::uint32_t ch = pch[i];
        if (IsHighSurrogate(ch) && i + 1 < nLength && IsLowSurrogate(pch[i + 1]))
        {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (pch[i + 1] - 0xDC00u);
            ++i;
        }
        else if (IsSurrogate(ch))
        {
            ch = kReplacementCharacter;
            bExact = FALSE;
        }
        AppendUtf8(ch, strOut);
    }
    return bExact;
}
