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
    Write,
    Clone,
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

std::vector<DocumentBenchmark> ZolXmlBenchmarks();
std::vector<DocumentBenchmark> PugiXmlBenchmarks();
std::vector<DocumentBenchmark> TinyXml2Benchmarks();
std::vector<DocumentBenchmark> RapidXmlBenchmarks();
std::vector<DocumentBenchmark> LibXml2Benchmarks();
std::vector<DocumentBenchmark> ExpatBenchmarks();
