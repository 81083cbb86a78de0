// The tool as a whole: arguments in, exit status out (0 done, 1 a file
// could not be read, loaded or written, 2 the command line is wrong).
#pragma once

#include <afx/core/AfxString.h>

#include <vector>

namespace cli
{
// The arguments after the program's name.
int RunTool(const std::vector<CString>& arguments);
} // namespace cli
