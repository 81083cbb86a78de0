#include "Commands.h"

#include "Failures.h"
#include "Input.h"
#include "Output.h"
#include "TreeStats.h"
#include "Utf8.h"

#include <afx/core/AfxArchive.h>
#include <afx/core/AfxMemFile.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

namespace cli
{
namespace
{
// A document's text as UTF-8, ending with a line break: the writer's own
// CR LF, or a line feed after the compact form.
std::string DocumentText(const CString& text, const CString& source)
{
    bool bLossless = true;
    std::string bytes = ToUtf8(text, bLossless);
    if (!bLossless)
        Warn(source, "unpaired surrogate code units are written as U+FFFD");
    if (bytes.empty() || bytes.back() != '\n')
        bytes += '\n';
    return bytes;
}

struct FreeDeleter
{
    void operator()(BYTE* p) const { std::free(p); }
};
} // namespace

bool CommandArguments::Has(LPCWSTR pszOption) const
{
    return std::find(options.begin(), options.end(), CString(pszOption)) != options.end();
}

DWORD CommandArguments::ReadOptions() const
{
    return Has(u"--standard") ? DWORD{ZXML_READ_STANDARD} : DWORD{0};
}

int Check(const CommandArguments& arguments)
{
    int status = 0;
    for (const CString& file : arguments.operands)
    {
        try
        {
            LoadDocument(file, arguments.ReadOptions());
            if (!arguments.Has(u"--quiet"))
                WriteStandardOutput(ToUtf8(Subject(file, kStandardInputName)) + ": loads\n");
        }
        catch (const Failure& failure)
        {
            Report(failure);
            status = 1;
        }
    }
    return status;
}

int Print(const CommandArguments& arguments)
{
    const CString& file = arguments.operands[0];
    const LoadedDocument document = LoadDocument(file, arguments.ReadOptions());
    const CString text = document.root->ToString(arguments.Has(u"--declaration"), arguments.Has(u"--line-breaks"));
    WriteStandardOutput(DocumentText(text, Subject(file, kStandardInputName)));
    return 0;
}

int Words(const CommandArguments& arguments)
{
    const CString& file = arguments.operands[0];
    const LoadedDocument document = LoadDocument(file, arguments.ReadOptions());
    WriteStandardOutput(DocumentText(document.root->GetRecursiveWords(), Subject(file, kStandardInputName)));
    return 0;
}

int Stats(const CommandArguments& arguments)
{
    const LoadedDocument document = LoadDocument(arguments.operands[0], arguments.ReadOptions());
    const TreeStats stats = MeasureTree(*document.root);
    WriteStandardOutput("elements: " + std::to_string(stats.nElements) + "\n" +
                        "attributes: " + std::to_string(stats.nAttributes) + "\n" +
                        "depth: " + std::to_string(stats.nDepth) + "\n" +
                        "bytes: " + std::to_string(document.nBytes) + "\n");
    return 0;
}

int Archive(const CommandArguments& arguments)
{
    const CString& out = arguments.operands[1];
    const LoadedDocument document = LoadDocument(arguments.operands[0], arguments.ReadOptions());
    CMemFile file;
    try
    {
        CArchive archive(&file, CArchive::store);
        document.root->Serialize(archive);
        archive.Close();
    }
    catch (CException* e)
    {
        throw Failure(Subject(out, kStandardOutputName), Explain(e));
    }
    const ULONGLONG nBytes = file.GetLength();
    const std::unique_ptr<BYTE, FreeDeleter> bytes(file.Detach());
    WriteOutput(out, bytes.get(), static_cast<std::size_t>(nBytes));
    return 0;
}

int Unarchive(const CommandArguments& arguments)
{
    const CString source = Subject(arguments.operands[0], kStandardInputName);
    const LoadedArchive archive = LoadArchive(arguments.operands[0]);
    if (archive.nTrailingBytes != 0)
        Warn(source, std::to_string(archive.nTrailingBytes) + " bytes behind the element record are not read");
    const std::string text = DocumentText(archive.root->ToString(1, 0), source);
    WriteOutput(arguments.operands[1], text.data(), text.size());
    return 0;
}
} // namespace cli
