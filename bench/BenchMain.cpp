// zolxml_bench [--corpus=FOLDER] [Google Benchmark flags]
//
// Parses, writes, clones and archives every document of the corpus with
// ZOLXML and the peer libraries. Benchmarks are named
// <operation>/<document>/<library>; bench/run.sh turns the results into
// ratios of ZOLXML against each peer.
#include "DocumentBenchmark.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

namespace
{
const char* OperationName(Operation operation)
{
    switch (operation)
    {
    case Operation::Parse:
        return "parse";
    case Operation::Write:
        return "write";
    case Operation::Clone:
        return "clone";
    case Operation::ArchiveStore:
        return "archive-store";
    case Operation::ArchiveLoad:
        return "archive-load";
    }
    return "unknown";
}

// Takes --corpus=FOLDER out of the arguments; the build's corpus otherwise.
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
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const std::string folder = TakeCorpusFolder(argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    std::vector<CorpusDocument> corpus;
    try
    {
        corpus = LoadCorpus(folder);
    }
    catch (const std::exception& e)
    {
        std::cerr << "zolxml_bench: " << e.what() << " (choose the folder with --corpus=FOLDER)\n";
        return 1;
    }

    std::vector<DocumentBenchmark> benchmarks;
    for (auto library : {ZolXmlBenchmarks, PugiXmlBenchmarks, TinyXml2Benchmarks, RapidXmlBenchmarks,
                         LibXml2Benchmarks, ExpatBenchmarks})
    {
        for (const DocumentBenchmark& b : library())
            benchmarks.push_back(b);
    }

    // Grouped by operation, then document, so that the libraries doing the
    // same work stand side by side.
    for (Operation operation : {Operation::Parse, Operation::Write, Operation::Clone,
                                Operation::ArchiveStore, Operation::ArchiveLoad})
    {
        for (const CorpusDocument& document : corpus)
        {
            for (const DocumentBenchmark& b : benchmarks)
            {
                if (b.operation != operation)
                    continue;
                const std::string name =
                    std::string(OperationName(operation)) + '/' + document.name + '/' + b.library;
                benchmark::RegisterBenchmark(name.c_str(), [b, &document](benchmark::State& state) {
                    b.run(state, document);
                    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                            static_cast<std::int64_t>(document.bytes.size()));
                })->Unit(benchmark::kMillisecond);
            }
        }
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
