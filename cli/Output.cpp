#include "Output.h"

#include "Failures.h"

#include <afx/core/AfxFile.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace cli
{
namespace
{
std::filesystem::path FileSystemPath(const CString& path)
{
    return std::filesystem::path(std::u16string(path.GetString(), static_cast<std::size_t>(path.GetLength())));
}

// A name beside the target that no other run picks.
CString TemporaryName(const CString& target)
{
    static const char kDigits[] = "0123456789abcdef";
    std::random_device random;
    CString name = target + u".zolxml-";
    for (int i = 0; i < 16; ++i)
        name += static_cast<WCHAR>(kDigits[random() % 16]);
    return name + u".tmp";
}

// Removes the temporary file unless it was renamed into place.
class TemporaryFile
{
public:
    explicit TemporaryFile(const CString& target) : m_name(TemporaryName(target)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        if (m_bKept)
            return;
        try
        {
            std::error_code ignored;
            std::filesystem::remove(FileSystemPath(m_name), ignored);
        }
        catch (const std::exception&)
        {
            // A name without a form on this file system was never created.
        }
    }

    const CString& Name() const { return m_name; }

    void RenameTo(const CString& target)
    {
        std::filesystem::rename(FileSystemPath(m_name), FileSystemPath(target));
        m_bKept = true;
    }

private:
    CString m_name;
    bool m_bKept = false;
};
} // namespace

void WriteStandardOutput(const void* pBytes, std::size_t nBytes)
{
    if (std::fwrite(pBytes, 1, nBytes, stdout) != nBytes || std::fflush(stdout) != 0)
        throw Failure(kStandardOutputName, "cannot be written");
}

void WriteStandardOutput(const std::string& text)
{
    WriteStandardOutput(text.data(), text.size());
}

void WriteOutput(const CString& argument, const void* pBytes, std::size_t nBytes)
{
    if (argument == u"-")
        return WriteStandardOutput(pBytes, nBytes);
    try
    {
        TemporaryFile temporary(argument);
        {
            CFile file(temporary.Name(), CFile::modeCreate | CFile::modeWrite);
            const auto* p = static_cast<const BYTE*>(pBytes);
            for (std::size_t nLeft = nBytes; nLeft != 0;)
            {
                const auto nStep = static_cast<UINT>(std::min<std::size_t>(nLeft, 0x40000000));
                file.Write(p, nStep);
                p += nStep;
                nLeft -= nStep;
            }
            file.Close();
        }
        temporary.RenameTo(argument);
    }
    catch (CException* e)
    {
        throw Failure(argument, "cannot be written: " + Explain(e));
    }
    catch (const std::filesystem::filesystem_error& e)
    {
        throw Failure(argument, std::string("cannot be put in place: ") + e.code().message());
    }
}
} // namespace cli
