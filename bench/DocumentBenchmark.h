// One library's way of doing one operation on a document. Every benchmark
// reports the document's size per iteration, so that MB/s compare across
// libraries and operations alike.
#pragma once

#include "Corpus.h"

#include <benchmark/benchmark.h>

#include <vector>

enum class Operation
{
    Parse,
    ParseWalk,
    Write,
    Clone,
    Destroy,
    ArchiveStore,
    ArchiveLoad
};

struct DocumentBenchmark
{
    Operation operation;
    const char* library;
    // Runs the timing loop; calls state.SkipWithError when the library
    // refuses the document.
    void (*run)(benchmark::State& state, const CorpusDocument& document);
};

// What the probes (heap, first parse) observe of one tree: the moments
// before it is built, once it stands, and once it is destroyed.
class LoadProbe
{
public:
    virtual void Loading() = 0;
    virtual void Loaded() = 0;
    virtual void Destroyed() = 0;

protected:
    ~LoadProbe() = default;
};

struct BenchLibrary
{
    const char* name;
    std::vector<DocumentBenchmark> benchmarks;
    // Builds one tree of the document and destroys it; false when refused.
    bool (*loadOnce)(const CorpusDocument& document, LoadProbe& probe);
};

BenchLibrary ZolXmlLibrary();
BenchLibrary PugiXmlLibrary();
BenchLibrary TinyXml2Library();
BenchLibrary RapidXmlLibrary();
BenchLibrary LibXml2Library();
BenchLibrary ExpatLibrary();

// ZOLXML first, then the peers.
std::vector<BenchLibrary> AllLibraries();
