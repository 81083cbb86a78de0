#include "Tool.h"

#include "Commands.h"
#include "Failures.h"
#include "Output.h"
#include "Utf8.h"

#include <new>
#include <string>
#include <string_view>

namespace cli
{
namespace
{
struct Command
{
    const char16_t* name;
    const char* synopsis;
    const char* summary;
    std::size_t nMinOperands;
    std::size_t nMaxOperands;
    bool bLineOptions; // --declaration, --line-breaks and --indent[=N]
    bool bQuietOption; // -q, --quiet
    bool bReadsDocuments; // -s, --standard
    int (*run)(const CommandArguments&);
};

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

constexpr int kDefaultIndent = 2;
constexpr int kMaxIndent = 16;

const Command kCommands[] = {
    {u"check", "check [-q] [-s] FILE...", "say for each FILE whether it loads, and where and why not", 1, kAnyNumber,
     false, true, true, &Check},
    {u"print", "print [-s] [--declaration] [--line-breaks] [--indent[=N]] FILE...",
     "write the compact or indented form of each FILE to standard output, in UTF-8", 1, kAnyNumber, true, false, true,
     &Print},
    {u"words", "words [-s] FILE...", "write the words of the values in each FILE, as the library gathers them", 1,
     kAnyNumber, false, false, true, &Words},
    {u"stats", "stats [-s] FILE...", "count the elements and attributes of each FILE, its depth and its bytes", 1,
     kAnyNumber, false, false, true, &Stats},
    {u"archive", "archive [-s] FILE OUT", "store the tree of FILE in OUT in the binary archive form", 2, 2, false,
     false, true, &Archive},
    {u"unarchive", "unarchive ARCHIVE OUT", "write the tree stored in ARCHIVE to OUT as XML text (UTF-8)", 2, 2,
     false, false, false, &Unarchive},
};

std::string HelpText()
{
    std::string text = "Usage: zolxml COMMAND [OPTION]... ARGUMENT...\n"
                       "Checks, prints and converts XML documents with the ZOLXML library.\n\nCommands:\n";
    for (const Command& command : kCommands)
        text += "  zolxml " + std::string(command.synopsis) + "\n      " + command.summary + "\n";
    text += "\nOptions of the commands that read a document (check, print, words, stats,\narchive):\n"
            "  -s, --standard  read XML as other programs write it: names with '-' and '.',\n"
            "                  CDATA sections, hexadecimal references, processing\n"
            "                  instructions, any declaration and its encoding, document\n"
            "                  types with an internal subset\n"
            "\nOptions of check:\n"
            "  -q, --quiet    say nothing of the files that load\n"
            "\nOptions of print:\n"
            "  --declaration  begin with the XML declaration\n"
            "  --line-breaks  break the lines with CR LF: after the declaration's place, after\n"
            "                 each start tag that holds child elements and after each element\n"
            "  --indent[=N]   for reading: each child element on a line of its own (CR LF),\n"
            "                 indented by N spaces a level (2 when N is not given, 0 to " + std::to_string(kMaxIndent) + ");\n"
            "                 an element with a value of its own stays on one line\n"
            "\n"
            "print, words and stats given several files write each one's output under a\n"
            "line \"==> FILE <==\".\n"
            "\n"
            "FILE and ARCHIVE may be \"-\" for standard input, OUT \"-\" for standard output;\n"
            "\"--\" ends the options. A document holds at most 4194304 bytes. OUT is\n"
            "written beside its name and renamed into place once complete.\n"
            "\n"
            "A document that does not load is reported on standard error as\n"
            "FILE:LINE:COLUMN: error: MESSAGE, with its line and a caret under the column.\n"
            "\n"
            "Exit status: 0 done; 1 a file could not be read, loaded or written;\n"
            "2 the command line is wrong.\n"
            "\n"
            "  zolxml --help     this text\n"
            "  zolxml --version  the version\n";
    return text;
}

std::string UsageOf(const Command& command)
{
    return std::string("usage: zolxml ") + command.synopsis;
}

const Command& FindCommand(const CString& name)
{
    for (const Command& command : kCommands)
    {
        if (name == command.name)
            return command;
    }
    throw UsageError("unknown command '" + ToUtf8(name) + "'");
}

std::u16string_view View(const CString& word)
{
    return std::u16string_view(word.GetString(), static_cast<std::size_t>(word.GetLength()));
}

bool IsIndentOption(const CString& word)
{
    return word == u"--indent" || View(word).substr(0, 9) == u"--indent=";
}

// The spaces a level of "--indent" or "--indent=N".
int IndentOf(const CString& word)
{
    if (word == u"--indent")
        return kDefaultIndent;
    const std::u16string_view digits = View(word).substr(9);
    int nIndent = kMaxIndent + 1;
    if (!digits.empty() && digits.size() <= 2 && digits.find_first_not_of(u"0123456789") == std::u16string_view::npos)
    {
        nIndent = 0;
        for (const char16_t digit : digits)
            nIndent = nIndent * 10 + (digit - u'0');
    }
    if (nIndent > kMaxIndent)
        throw UsageError("--indent takes a number of spaces from 0 to " + std::to_string(kMaxIndent) + ", not '" +
                         ToUtf8(CString(digits.data(), static_cast<int>(digits.size()))) + "'");
    return nIndent;
}

// Splits the words after the command into options and operands.
CommandArguments SplitArguments(const Command& command, const std::vector<CString>& words)
{
    CommandArguments arguments;
    bool bOptionsEnded = false;
    for (const CString& word : words)
    {
        if (bOptionsEnded || word == u"-" || word.GetLength() < 1 || word[0] != u'-')
            arguments.operands.push_back(word);
        else if (word == u"--")
            bOptionsEnded = true;
        else if (command.bLineOptions && (word == u"--declaration" || word == u"--line-breaks"))
            arguments.options.push_back(word);
        else if (command.bLineOptions && IsIndentOption(word))
            arguments.nIndent = IndentOf(word);
        else if (command.bQuietOption && (word == u"-q" || word == u"--quiet"))
            arguments.options.push_back(u"--quiet");
        else if (command.bReadsDocuments && (word == u"-s" || word == u"--standard"))
            arguments.options.push_back(u"--standard");
        else
            throw UsageError("unknown option '" + ToUtf8(word) + "' for " + ToUtf8(command.name) + "; " +
                             UsageOf(command));
    }
    const std::size_t nOperands = arguments.operands.size();
    if (nOperands < command.nMinOperands || nOperands > command.nMaxOperands)
        throw UsageError(UsageOf(command));
    return arguments;
}

int Run(const std::vector<CString>& arguments)
{
    for (const CString& argument : arguments)
    {
        if (argument == u"--")
            break;
        if (argument == u"--help")
        {
            WriteStandardOutput(HelpText());
            return 0;
        }
    }
    if (arguments.empty())
        throw UsageError("no command given");
    if (arguments[0] == u"--version")
    {
        WriteStandardOutput("zolxml " ZOLXML_VERSION "\n");
        return 0;
    }
    const Command& command = FindCommand(arguments[0]);
    return command.run(SplitArguments(command, std::vector<CString>(arguments.begin() + 1, arguments.end())));
}
} // namespace

int RunTool(const std::vector<CString>& arguments)
{
    try
    {
        return Run(arguments);
    }
    catch (const UsageError& error)
    {
        Report(std::string(error.what()) + "; see zolxml --help");
        return 2;
    }
    catch (const Failure& failure)
    {
        Report(failure);
        return 1;
    }
    catch (const std::bad_alloc&)
    {
        Report("out of memory");
        return 1;
    }
    catch (CException* e)
    {
        Report(Explain(e));
        return 1;
    }
}
} // namespace cli
