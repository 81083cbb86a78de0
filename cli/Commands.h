// The tool's commands. Each gets the operands and options its entry in
// the command table allows and returns the exit status; failures raise
// Failure.
#pragma once

#include <afx/core/AfxString.h>

#include <vector>

namespace cli
{
struct CommandArguments
{
    std::vector<CString> operands;
    std::vector<CString> options;
    int nIndent = 0; // print's --indent[=N]; 0 for the compact form

    bool Has(LPCWSTR pszOption) const;
    // The reading that --standard asks for, for LoadDocument.
    DWORD ReadOptions() const;
};

int Check(const CommandArguments& arguments);        // [--quiet] FILE...
int Print(const CommandArguments& arguments);        // FILE...
int Words(const CommandArguments& arguments);        // FILE...
int Stats(const CommandArguments& arguments);        // FILE...
int Archive(const CommandArguments& arguments);      // FILE OUT
int Unarchive(const CommandArguments& arguments);    // ARCHIVE OUT
} // namespace cli
