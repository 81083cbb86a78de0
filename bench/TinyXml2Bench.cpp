// tinyxml2: a DOM parsed from a buffer, printed compactly, deep-copied.
// Its element depth is limited (100 in Debian's version), so it refuses the
// deep document.
#include "DocumentBenchmark.h"

#include <tinyxml2.h>

namespace
{
bool Load(tinyxml2::XMLDocument& tree, const CorpusDocument& document)
{
    return tree.Parse(document.bytes.data(), document.bytes.size()) == tinyxml2::XML_SUCCESS;
}

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    for (auto _ : state)
    {
        tinyxml2::XMLDocument tree;
        if (!Load(tree, document))
        {
            state.SkipWithError("tinyxml2 refused the document");
            return;
        }
    }
}

void Write(benchmark::State& state, const CorpusDocument& document)
{
    tinyxml2::XMLDocument tree;
    if (!Load(tree, document))
    {
        state.SkipWithError("tinyxml2 refused the document");
        return;
    }
    for (auto _ : state)
    {
        tinyxml2::XMLPrinter printer(nullptr, true);
        tree.Print(&printer);
        benchmark::DoNotOptimize(printer.CStr());
    }
}

void Clone(benchmark::State& state, const CorpusDocument& document)
{
    tinyxml2::XMLDocument tree;
    if (!Load(tree, document))
    {
        state.SkipWithError("tinyxml2 refused the document");
        return;
    }
    for (auto _ : state)
    {
        tinyxml2::XMLDocument copy;
        tree.DeepCopy(&copy);
        benchmark::DoNotOptimize(copy.RootElement());
    }
}
} // namespace

std::vector<DocumentBenchmark> TinyXml2Benchmarks()
{
    return {
        {Operation::Parse, "tinyxml2", Parse},
        {Operation::Write, "tinyxml2", Write},
        {Operation::Clone, "tinyxml2", Clone},
    };
}
