#include "Input.h"

#include "Failures.h"
#include "Utf8.h"

#include <afx/core/AfxArchive.h>
#include <afx/core/AfxFile.h>
#include <afx/core/AfxMemFile.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace cli
{
namespace
{
// A CMemFile holds at most this many bytes.
constexpr ULONGLONG kArchiveLimit = 0xFFFFFFFF;

// All of standard input; Failure once it holds more than nLimit bytes.
std::vector<BYTE> ReadStandardInput(ULONGLONG nLimit, const char* pszLimitName)
{
    std::vector<BYTE> bytes;
    BYTE chunk[65536];
    std::size_t nRead;
    while ((nRead = std::fread(chunk, 1, sizeof chunk, stdin)) != 0)
    {
        if (bytes.size() + nRead > nLimit)
            throw Failure(kStandardInputName, std::string("more than ") + pszLimitName);
        bytes.insert(bytes.end(), chunk, chunk + nRead);
    }
    if (std::ferror(stdin))
        throw Failure(kStandardInputName, "cannot be read");
    return bytes;
}

bool IsFolder(const CString& path)
{
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::u8path(ToUtf8(path)), error);
}

std::string DocumentLimitText()
{
    return "the " + std::to_string(kDocumentLimit) + "-byte limit of a document";
}

DocumentPtr Loaded(CZOLLibXMLElement* pRoot, const CString& subject, const CZOLLibXMLLoadReport& report)
{
    if (pRoot == nullptr)
        throw LoadFailure(subject, report);
    return DocumentPtr(pRoot);
}

LoadedDocument LoadStandardInput(DWORD dwReadOptions)
{
    std::vector<BYTE> bytes = ReadStandardInput(kDocumentLimit, DocumentLimitText().c_str());
    try
    {
        // Big-endian UTF-16 is turned little-endian in the buffer itself.
        CZOLLibXMLLoadReport report(dwReadOptions);
        // Nothing read is an empty text, not a missing one.
        BYTE none = 0;
        BYTE* pBytes = bytes.empty() ? &none : bytes.data();
        CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromBytes(pBytes, static_cast<DWORD>(bytes.size()), 0, report);
        return {Loaded(pRoot, kStandardInputName, report), bytes.size()};
    }
    catch (CException* e)
    {
        throw Failure(kStandardInputName, Explain(e));
    }
}

LoadedDocument LoadFile(const CString& path, DWORD dwReadOptions)
{
    try
    {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        // The library refuses larger files too; the tool says why.
        const ULONGLONG nBytes = file.GetLength();
        if (nBytes > kDocumentLimit)
            throw Failure(path, std::to_string(nBytes) + " bytes, more than " + DocumentLimitText());
        CZOLLibXMLLoadReport report(dwReadOptions);
        CZOLLibXMLElement* pRoot = CZOLLibXMLElement::FromFile(file.m_hFile, 0, report);
        return {Loaded(pRoot, path, report), nBytes};
    }
    catch (CException* e)
    {
        if (IsFolder(path))
        {
            e->Delete();
            throw Failure(path, "is a directory");
        }
        throw Failure(path, Explain(e));
    }
}

LoadedArchive ReadArchive(CFile& file, const CString& subject)
{
    try
    {
        DocumentPtr root(new CZOLLibXMLElement(nullptr, nullptr));
        CArchive archive(&file, CArchive::load);
        root->Serialize(archive);
        // The file gets back what the archive read ahead, and so stands
        // just behind the record.
        archive.Close();
        return {std::move(root), file.GetLength() - file.GetPosition()};
    }
    catch (CException* e)
    {
        throw Failure(subject, Explain(e));
    }
}
} // namespace

LoadedDocument LoadDocument(const CString& argument, DWORD dwReadOptions)
{
    return argument == u"-" ? LoadStandardInput(dwReadOptions) : LoadFile(argument, dwReadOptions);
}

LoadedArchive LoadArchive(const CString& argument)
{
    if (argument == u"-")
    {
        std::vector<BYTE> bytes = ReadStandardInput(kArchiveLimit, "the 4 GiB an archive may hold here");
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        return ReadArchive(file, kStandardInputName);
    }
    try
    {
        CFile file(argument, CFile::modeRead | CFile::shareDenyWrite);
        return ReadArchive(file, argument);
    }
    catch (CException* e)
    {
        throw Failure(argument, Explain(e));
    }
}
} // namespace cli
