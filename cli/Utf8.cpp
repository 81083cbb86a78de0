#include "Utf8.h"

#include <afx/core/TextConversion.h>

namespace cli
{
CString FromUtf8(std::string_view bytes)
{
    CString text;
    // No byte yields more than one code unit.
    WCHAR* out = text.GetBufferSetLength(static_cast<int>(bytes.size()));
    const std::size_t nUnits = AfxDecodeUtf8(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), out);
    text.ReleaseBuffer(static_cast<int>(nUnits));
    return text;
}

std::string ToUtf8(const CString& text, bool& rbLossless)
{
    CUtf8String bytes;
    rbLossless = AfxEncodeUtf8(text.GetString(), static_cast<std::size_t>(text.GetLength()), bytes) != FALSE;
    return std::string(bytes.data(), bytes.size());
}

std::string ToUtf8(const CString& text)
{
    bool bLossless = true;
    return ToUtf8(text, bLossless);
}
} // namespace cli
