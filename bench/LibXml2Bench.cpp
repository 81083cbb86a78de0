// libxml2: a DOM read from memory (without its default depth limit of 256,
// which the deep document passes), dumped to memory, copied whole.
#include "DocumentBenchmark.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace
{
struct DocDeleter
{
    void operator()(xmlDoc* tree) const { xmlFreeDoc(tree); }
};
using Doc = std::unique_ptr<xmlDoc, DocDeleter>;

Doc Load(const CorpusDocument& document)
{
    return Doc(xmlReadMemory(document.bytes.data(), static_cast<int>(document.bytes.size()),
                             document.name.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_HUGE));
}

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    xmlInitParser();
    for (auto _ : state)
    {
        if (!Load(document))
        {
            state.SkipWithError("libxml2 refused the document");
            return;
        }
    }
}

void Write(benchmark::State& state, const CorpusDocument& document)
{
    xmlInitParser();
    const Doc tree = Load(document);
    if (!tree)
    {
        state.SkipWithError("libxml2 refused the document");
        return;
    }
    for (auto _ : state)
    {
        xmlChar* text = nullptr;
        int size = 0;
        xmlDocDumpMemory(tree.get(), &text, &size);
        benchmark::DoNotOptimize(text);
        xmlFree(text);
    }
}

void Clone(benchmark::State& state, const CorpusDocument& document)
{
    xmlInitParser();
    const Doc tree = Load(document);
    if (!tree)
    {
        state.SkipWithError("libxml2 refused the document");
        return;
    }
    for (auto _ : state)
    {
        const Doc copy(xmlCopyDoc(tree.get(), 1));
        benchmark::DoNotOptimize(copy.get());
    }
}
} // namespace

std::vector<DocumentBenchmark> LibXml2Benchmarks()
{
    return {
        {Operation::Parse, "libxml2", Parse},
        {Operation::Write, "libxml2", Write},
        {Operation::Clone, "libxml2", Clone},
    };
}
