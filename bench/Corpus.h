// The documents the benchmarks work on, read into memory before any timing.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct CorpusDocument
{
    std::string name;
    std::string bytes;
};

// The bytes of one document; throws std::runtime_error when it cannot be read.
std::string ReadDocument(const std::filesystem::path& path);

// Every *.xml file of the folder, in name order; throws std::runtime_error
// when the folder cannot be read or holds no document.
std::vector<CorpusDocument> LoadCorpus(const std::string& folder);

// Takes --corpus=FOLDER out of the arguments; the build's corpus otherwise.
std::string TakeCorpusFolder(int& argc, char** argv);
