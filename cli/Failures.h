// How the tool's commands fail and what they say on standard error: one
// line for each failure or warning, "zolxml: SUBJECT: what".
#pragma once

#include <ZOLXML/ZOLLibXML.h>
#include <afx/core/AfxExceptions.h>
#include <afx/core/AfxString.h>

#include <stdexcept>
#include <string>

namespace cli
{
// The command line asks for something the tool does not do; exit status 2.
class UsageError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file or stream could not be read, loaded or written; exit status 1.
// The message names its subject: "FILE: what went wrong".
class Failure : public std::runtime_error
{
public:
    Failure(const CString& subject, const std::string& what);

protected:
    explicit Failure(const std::string& text) : std::runtime_error(text) {}
};

// A document that does not load, said as a compiler says an error:
// "FILE:LINE:COLUMN: error: MESSAGE", then the line of the text and a
// caret under the column.
class LoadFailure : public Failure
{
public:
    LoadFailure(const CString& subject, const CZOLLibXMLLoadReport& report);
};

// What an exception of the platform layer means, in a few words. Takes
// the exception over and deletes it.
std::string Explain(CException* e);

// What messages call "-" where it is a source and where it is a target.
constexpr WCHAR kStandardInputName[] = u"standard input";
constexpr WCHAR kStandardOutputName[] = u"standard output";

// The name of a command-line argument in messages: "-" is the standard
// stream given.
CString Subject(const CString& argument, LPCWSTR pszStandardStream);

// Writes "zolxml: " and the message as one line on standard error.
void Report(const std::string& message);
// Writes a failure on standard error: a load failure as it stands, any
// other after "zolxml: ".
void Report(const Failure& failure);
void Warn(const CString& subject, const std::string& what);
} // namespace cli
