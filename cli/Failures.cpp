#include "Failures.h"

#include "Utf8.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace cli
{
namespace
{
struct ExceptionDeleter
{
    void operator()(CException* e) const { e->Delete(); }
};

// The reason alone: the tool names the file itself.
std::string ExplainFileFailure(const CFileException& e)
{
    const CFileException reason(e.m_cause, e.m_lOsError);
    WCHAR text[128];
    reason.GetErrorMessage(text, sizeof text / sizeof text[0]);
    return ToUtf8(CString(text));
}
} // namespace

Failure::Failure(const CString& subject, const std::string& what)
    : std::runtime_error(ToUtf8(subject) + ": " + what)
{
}

namespace
{
// Lines longer than this are shown cut around the column.
constexpr int kShownLine = 100;

// The line of the text and a caret under the column, each ending with a
// line break; tabs are kept so that the caret lines up under them.
std::string SourceExcerpt(const CString& line, int nColumn)
{
    // Columns count characters, the line holds UTF-16 units.
    std::vector<int> starts; // the unit where each character starts
    for (int i = 0; i < line.GetLength(); ++i)
        if (i == 0 || line[i] < 0xDC00 || line[i] > 0xDFFF || line[i - 1] < 0xD800 || line[i - 1] > 0xDBFF)
            starts.push_back(i);
    const int nCharacters = static_cast<int>(starts.size());
    int nFirst = 0;
    int nLast = nCharacters;
    if (nCharacters > kShownLine)
    {
        nFirst = std::max(0, std::min(nColumn - 1 - kShownLine / 2, nCharacters - kShownLine));
        nLast = nFirst + kShownLine;
    }
    auto unitOf = [&](int nCharacter) { return nCharacter < nCharacters ? starts[nCharacter] : line.GetLength(); };
    const std::string lead = nFirst > 0 ? "..." : "";
    std::string excerpt = lead +
                          ToUtf8(CString(line.GetString() + unitOf(nFirst), unitOf(nLast) - unitOf(nFirst))) +
                          (nLast < nCharacters ? "..." : "") + "\n";
    std::string caret(lead.size(), ' ');
    for (int i = nFirst; i < nColumn - 1 && i < nLast; ++i)
        caret += line[unitOf(i)] == u'\t' ? '\t' : ' ';
    return excerpt + caret + "^\n";
}

std::string LoadFailureText(const CString& subject, const CZOLLibXMLLoadReport& report)
{
    const std::string message = ToUtf8(report.m_strMessage);
    if (report.HasPlace() == 0)
        return "zolxml: " + ToUtf8(subject) + ": " + message;
    std::string text = ToUtf8(subject) + ":" + std::to_string(report.m_nLine) + ":" +
                       std::to_string(report.m_nColumn) + ": error: " + message;
    text += "\n" + SourceExcerpt(report.m_strLineText, report.m_nColumn);
    if (report.IsNotReadByDesign() != 0)
        text += ToUtf8(subject) +
                ": note: the document is well-formed XML that the default reading does not read; --standard reads it\n";
    return text;
}
} // namespace

LoadFailure::LoadFailure(const CString& subject, const CZOLLibXMLLoadReport& report)
    : Failure(LoadFailureText(subject, report))
{
}

std::string Explain(CException* e)
{
    const std::unique_ptr<CException, ExceptionDeleter> owned(e);
    if (dynamic_cast<CMemoryException*>(e) != nullptr)
        return "out of memory";
    if (const auto* pFile = dynamic_cast<CFileException*>(e))
        return ExplainFileFailure(*pFile);
    if (const auto* pArchive = dynamic_cast<CArchiveException*>(e))
    {
        if (pArchive->m_cause == CArchiveException::endOfFile)
            return "the archive is cut short: it ends inside its element record";
        return "not a readable archive";
    }
    return "an unexpected error of the platform layer";
}

CString Subject(const CString& argument, LPCWSTR pszStandardStream)
{
    return argument == u"-" ? CString(pszStandardStream) : argument;
}

void Report(const std::string& message)
{
    std::fputs(("zolxml: " + message + "\n").c_str(), stderr);
}

void Report(const Failure& failure)
{
    if (dynamic_cast<const LoadFailure*>(&failure) != nullptr)
    {
        std::string text = failure.what();
        if (text.back() != '\n')
            text += '\n';
        std::fputs(text.c_str(), stderr);
    }
    else
    {
        Report(std::string(failure.what()));
    }
}

void Warn(const CString& subject, const std::string& what)
{
    Report(ToUtf8(subject) + ": warning: " + what);
}
} // namespace cli
