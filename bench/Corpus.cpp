#include "Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

std::vector<CorpusDocument> LoadCorpus(const std::string& folder)
{
    std::vector<CorpusDocument> documents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".xml")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (!in.good() && !in.eof())
            throw std::runtime_error("cannot read " + entry.path().string());
        documents.push_back({entry.path().filename().string(), std::move(bytes)});
    }
    if (documents.empty())
        throw std::runtime_error("no .xml documents in " + folder);
    std::sort(documents.begin(), documents.end(),
              [](const CorpusDocument& a, const CorpusDocument& b) { return a.name < b.name; });
    return documents;
}

std::string TakeCorpusFolder(int& argc, char** argv)
{
    constexpr std::string_view flag = "--corpus=";
    std::string folder = ZOL_BENCH_CORPUS;
    int kept = 1;
    for (int i = 1; i < argc; ++i)
    {
        const std::string_view argument = argv[i];
        if (argument.substr(0, flag.size()) == flag)
            folder = argument.substr(flag.size());
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return folder;
}
