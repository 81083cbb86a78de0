// The program's entry on POSIX systems: the arguments are UTF-8.
#include "Tool.h"
#include "Utf8.h"

int main(int argc, char** argv)
{
    std::vector<CString> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(cli::FromUtf8(argv[i]));
    return cli::RunTool(arguments);
}
