#include "Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string_view>

std::string ReadDocument(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string bytes(in ? static_cast<std::size_t>(in.tellg()) : 0, '\0');
    in.seekg(0);
    if (!in || !in.read(&bytes[0], static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot read " + path.string());
    return bytes;
}

std::vector<CorpusDocument> LoadCorpus(const std::string& folder)
{
    std::vector<CorpusDocument> documents;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        if (!entry.is_regular_file() || entry.path().extension() != ".xml")
            continue;
        documents.push_back({entry.path().filename().string(), ReadDocument(entry.path())});
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
