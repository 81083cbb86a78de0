#include "Probes.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
const BenchLibrary* FindLibrary(const std::vector<BenchLibrary>& libraries, const std::string& name)
{
    for (const BenchLibrary& library : libraries)
        if (name == library.name)
            return &library;
    return nullptr;
}

int RunChild(const std::string& libraryName, const std::string& path, const ProbeProgram& program)
{
    const std::vector<BenchLibrary> libraries = AllLibraries();
    const BenchLibrary* library = FindLibrary(libraries, libraryName);
    if (library == nullptr)
    {
        std::cerr << "no library " << libraryName << '\n';
        return 2;
    }
    const CorpusDocument document{std::filesystem::path(path).filename().string(), ReadDocument(path)};
    const std::vector<double> figures = program.measure(*library, document);
    if (figures.empty())
        std::printf("refused\n");
    for (std::size_t i = 0; i < figures.size(); ++i)
        std::printf(i + 1 < figures.size() ? "%.17g " : "%.17g\n", figures[i]);
    return 0;
}

// Runs this program as a child and returns what it printed; throws when it fails.
std::string Spawn(const std::vector<std::string>& arguments)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string output;
    char buffer[512];
    for (ssize_t n; error == 0 && (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    if (error != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child for " + arguments[2] + " on " + arguments[3] + " failed");
    return output;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int RunParent(const std::string& folder, const ProbeProgram& program)
{
    const std::vector<CorpusDocument> corpus = LoadCorpus(folder);
    std::vector<std::string> libraries = program.libraries;
    if (libraries.empty())
        for (const BenchLibrary& library : AllLibraries())
            libraries.push_back(library.name);

    for (const CorpusDocument& document : corpus)
    {
        const std::string path = (std::filesystem::path(folder) / document.name).string();
        // Runs alternate between libraries, so that a slow moment of the
        // machine falls on all of them.
        std::vector<std::vector<std::vector<double>>> runs(libraries.size());
        std::vector<bool> refused(libraries.size(), false);
        for (int run = 0; run < program.runs; ++run)
        {
            for (std::size_t i = 0; i < libraries.size(); ++i)
            {
                std::istringstream line(Spawn({"probe", "--child", libraries[i], path}));
                std::vector<double> figures{std::istream_iterator<double>(line), std::istream_iterator<double>()};
                refused[i] = figures.empty();
                runs[i].push_back(figures);
            }
        }
        for (std::size_t i = 0; i < libraries.size(); ++i)
        {
            std::printf("%s,%s,%s", program.kind, document.name.c_str(), libraries[i].c_str());
            if (refused[i])
            {
                std::printf(",refused\n");
                continue;
            }
            for (std::size_t figure = 0; figure < runs[i].front().size(); ++figure)
            {
                std::vector<double> values;
                for (const std::vector<double>& figures : runs[i])
                    values.push_back(figures.at(figure));
                std::printf(",%.6g", Median(values));
            }
            std::printf("\n");
        }
        std::fflush(stdout);
    }
    return 0;
}
} // namespace

int RunProbeProgram(int argc, char** argv, const ProbeProgram& program)
{
    try
    {
        if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
            return RunChild(argv[2], argv[3], program);
        const std::string folder = TakeCorpusFolder(argc, argv);
        if (argc != 1)
        {
            std::cerr << "usage: " << argv[0] << " [--corpus=FOLDER]\n";
            return 2;
        }
        return RunParent(folder, program);
    }
    catch (const std::exception& e)
    {
        std::cerr << argv[0] << ": " << e.what() << '\n';
        return 1;
    }
}
