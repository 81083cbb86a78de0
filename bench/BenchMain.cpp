// zolxml_bench [--corpus=FOLDER] [Google Benchmark flags]
//
// Parses, walks, writes, clones, destroys and archives every document of the
// corpus with ZOLXML and the peer libraries. Benchmarks are named
// <operation>/<document>/<library>; bench/run.sh turns the results into
// ratios of ZOLXML against each peer.
#include "DocumentBenchmark.h"

#include <cstdint>
#include <exception>
#include <iostream>
#include <string>

namespace
{
constexpr benchmark::IterationCount kDestroyIterations = 40;

const char* OperationName(Operation operation)
{
    switch (operation)
    {
    case Operation::Parse:
        return "parse";
    case Operation::ParseWalk:
        return "parse+walk";
    case Operation::Write:
        return "write";
    case Operation::Clone:
        return "clone";
    case Operation::Destroy:
        return "destroy";
    case Operation::ArchiveStore:
        return "archive-store";
    case Operation::ArchiveLoad:
        return "archive-load";
    }
    return "unknown";
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
    for (const BenchLibrary& library : AllLibraries())
        benchmarks.insert(benchmarks.end(), library.benchmarks.begin(), library.benchmarks.end());

    // Grouped by operation, then document, so that the libraries doing the
    // same work stand side by side.
    for (Operation operation : {Operation::Parse, Operation::ParseWalk, Operation::Write, Operation::Clone,
                                Operation::Destroy, Operation::ArchiveStore, Operation::ArchiveLoad})
    {
        for (const CorpusDocument& document : corpus)
        {
            for (const DocumentBenchmark& b : benchmarks)
            {
                if (b.operation != operation)
                    continue;
                const std::string name =
                    std::string(OperationName(operation)) + '/' + document.name + '/' + b.library;
                auto* registered =
                    benchmark::RegisterBenchmark(name.c_str(), [b, &document](benchmark::State& state) {
                        b.run(state, document);
                        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                                                static_cast<std::int64_t>(document.bytes.size()));
                    });
                registered->Unit(benchmark::kMillisecond);
                // Each destruction needs a tree built untimed: a destruction
                // of microseconds would otherwise build thousands of them.
                if (operation == Operation::Destroy)
                    registered->Iterations(kDestroyIterations);
            }
        }
    }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
