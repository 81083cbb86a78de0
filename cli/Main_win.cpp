// The program's entry on Windows: the arguments come as UTF-16 (the build
// links with -municode), and the standard streams carry bytes unchanged.
#include "Tool.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

int wmain(int argc, wchar_t** argv)
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<CString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(CString(reinterpret_cast<LPCWSTR>(argv[i])));
    return cli::RunTool(arguments);
}
