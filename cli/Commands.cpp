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

// Runs show on the document of each operand in turn, under a header line
// naming it when there are several. A file that fails is reported and the
// others go on; the status is 1 when one failed.
int ForEachDocument(const CommandArguments& arguments,
                    void (*show)(const CommandArguments&, const CString& source, const LoadedDocument&))
{
    const bool bHeaders = arguments.operands.size() > 1;
    int status = 0;
    bool bFirst = true;
    for (const CString& file : arguments.operands)
    {
        const CString source = Subject(file, kStandardInputName);
        if (bHeaders)
            WriteStandardOutput(std::string(bFirst ? "" : "\n") + "==> " + ToUtf8(source) + " <==\n");
        bFirst = false;
        try
        {
            show(arguments, source, LoadDocument(file, arguments.ReadOptions()));
        }
        catch (const Failure& failure)
        {
            Report(failure);
            status = 1;
        }
    }
    return status;
}
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
    return ForEachDocument(arguments, [](const CommandArguments& options, const CString& source,
                                         const LoadedDocument& document) {
        const CString text = document.root->ToString(options.Has(u"--declaration"), options.Has(u"--line-breaks"),
                                                     options.nIndent);
        WriteStandardOutput(DocumentText(text, source));
    });
}

int Words(const CommandArguments& arguments)
{
    return ForEachDocument(arguments, [](const CommandArguments&, const CString& source, const LoadedDocument& document) {
        WriteStandardOutput(DocumentText(document.root->GetRecursiveWords(), source));
    });
}

int Stats(const CommandArguments& arguments)
{
    return ForEachDocument(arguments, [](const CommandArguments&, const CString&, const LoadedDocument& document) {
        const TreeStats stats = MeasureTree(*document.root);
        WriteStandardOutput("elements: " + std::to_string(stats.nElements) + "\n" +
                            "attributes: " + std::to_string(stats.nAttributes) + "\n" +
                            "depth: " + std::to_string(stats.nDepth) + "\n" +
                            "bytes: " + std::to_string(document.nBytes) + "\n");
    });
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
