// Saving a document to a file: written beside it, flushed, then renamed over
// it, so that a reader of the file sees the old document or the new one whole.
#include "../model/Utf8Path.h"

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxFile.h>
#include <afx/core/TextConversion.h>
#include <afx/core/Win32Kernel.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

namespace
{
// A name beside the target that another save, in this process or another,
// does not pick: the clock and a count of this process's saves, mixed.
CString TemporaryName(LPCWSTR pszPath)
{
    static std::atomic<std::uint64_t> s_nSaves{0};
    std::uint64_t nMix = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         (++s_nSaves * 0x9E3779B97F4A7C15ULL);
    CString name(pszPath);
    name += u".~";
    for (int i = 0; i < 16; ++i, nMix >>= 4)
        name += static_cast<WCHAR>(u"0123456789abcdef"[nMix & 0xF]);
    return name;
}

// Removes the file of the new text unless it was renamed into place.
class CTemporaryFile
{
public:
    explicit CTemporaryFile(LPCWSTR pszTarget) : m_strName(TemporaryName(pszTarget)) {}
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;
    ~CTemporaryFile()
    {
        if (!m_bPlaced)
            DeleteFileW(m_strName);
    }

    void Write(const CUtf8String& bytes)
    {
        CFile file(m_strName, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
        for (std::size_t nDone = 0; nDone < bytes.size();)
        {
            const auto nStep = static_cast<UINT>(std::min<std::size_t>(bytes.size() - nDone, 0x40000000));
            file.Write(bytes.data() + nDone, nStep);
            nDone += nStep;
        }
        file.Flush();
        file.Close();
    }

    void PlaceAt(LPCWSTR pszTarget)
    {
        if (!MoveFileExW(m_strName, pszTarget, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            CFileException::ThrowOsError(static_cast<LONG>(GetLastError()), pszTarget);
        m_bPlaced = true;
    }

private:
    CString m_strName;
    bool m_bPlaced = false;
};
} // namespace

void CZOLLibXMLElement::ToFile(LPCWSTR pszPath, int bDeclaration, int bLineBreaks, int nIndent) const
{
    if (pszPath == nullptr || pszPath[0] == 0)
        AfxThrowFileException(CFileException::badPath);
    const CString text = ToString(bDeclaration, bLineBreaks, nIndent);
    CUtf8String bytes;
    AfxEncodeUtf8(text.GetString(), static_cast<std::size_t>(text.GetLength()), bytes);
    CTemporaryFile temporary(pszPath);
    try
    {
        temporary.Write(bytes);
    }
    catch (CFileException* e)
    {
        // The caller knows the file by its own name, not the temporary one.
        try
        {
            e->m_strFileName = pszPath;
        }
        catch (CException*)
        {
            e->Delete();
            throw;
        }
        throw;
    }
    temporary.PlaceAt(pszPath);
}

void CZOLLibXMLElement::ToFile(const char* pszPath, int bDeclaration, int bLineBreaks, int nIndent) const
{
    CString strPath;
    if (!ZolPathFromUtf8(pszPath, strPath))
        AfxThrowFileException(CFileException::badPath, -1, strPath);
    ToFile(strPath.GetString(), bDeclaration, bLineBreaks, nIndent);
}
