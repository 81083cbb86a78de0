#include "Utf8Path.h"

#include <afx/core/TextConversion.h>

#include <climits>
#include <cstring>

bool ZolPathFromUtf8(const char* pszPath, CString& strPath)
{
    if (pszPath == nullptr)
        return false;
    const std::size_t nBytes = std::strlen(pszPath);
    if (nBytes > static_cast<std::size_t>(INT_MAX))
        return false;
    const auto* pBytes = reinterpret_cast<const BYTE*>(pszPath);
    // No byte yields more than one code unit.
    WCHAR* pUnits = strPath.GetBufferSetLength(static_cast<int>(nBytes));
    const std::size_t nUnits = AfxDecodeUtf8(pBytes, nBytes, pUnits);
    strPath.ReleaseBuffer(static_cast<int>(nUnits));
    // Well-formed UTF-8 is the one that the decoded text encodes back to.
    CUtf8String encoded;
    AfxEncodeUtf8(strPath.GetString(), nUnits, encoded);
    return encoded.size() == nBytes && std::memcmp(encoded.data(), pszPath, nBytes) == 0;
}
