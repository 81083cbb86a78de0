#include "Failures.h"

#include "Utf8.h"

#include <cstdio>
#include <memory>
#include <string>

namespace cli
{
namespace
{
struct ExceptionDeleter
{
    void operator()(CException* e) const { e->Delete(); }
};

std::string ExplainFileFailure(const CFileException& e)
{
    switch (e.m_cause)
    {
    case CFileException::fileNotFound:
        return "no such file or folder";
    case CFileException::badPath:
        return "no such folder, or a name that cannot be used";
    case CFileException::tooManyOpenFiles:
        return "too many open files";
    case CFileException::accessDenied:
        return "access denied, or not a regular file";
    case CFileException::sharingViolation:
    case CFileException::lockViolation:
        return "in use by another program";
    case CFileException::diskFull:
        return "the disk is full";
    case CFileException::hardIO:
        return "input/output error";
    default:
        return "failed (system error " + std::to_string(e.m_lOsError) + ")";
    }
}
} // namespace

Failure::Failure(const CString& subject, const std::string& what)
    : std::runtime_error(ToUtf8(subject) + ": " + what)
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

void Warn(const CString& subject, const std::string& what)
{
    Report(ToUtf8(subject) + ": warning: " + what);
}
} // namespace cli
