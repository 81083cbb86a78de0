// pugixml: a DOM parsed from a buffer, saved without indentation, copied whole.
#include "DocumentBenchmark.h"

#include <pugixml.hpp>

#include <string>

namespace
{
struct StringWriter : pugi::xml_writer
{
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

bool Load(pugi::xml_document& tree, const CorpusDocument& document)
{
    return static_cast<bool>(tree.load_buffer(document.bytes.data(), document.bytes.size()));
}

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    for (auto _ : state)
    {
        pugi::xml_document tree;
        if (!Load(tree, document))
        {
            state.SkipWithError("pugixml refused the document");
            return;
        }
    }
}

void Write(benchmark::State& state, const CorpusDocument& document)
{
    pugi::xml_document tree;
    if (!Load(tree, document))
    {
        state.SkipWithError("pugixml refused the document");
        return;
    }
    for (auto _ : state)
    {
        StringWriter writer;
        tree.save(writer, "", pugi::format_raw);
        benchmark::DoNotOptimize(writer.text.data());
    }
}

void Clone(benchmark::State& state, const CorpusDocument& document)
{
    pugi::xml_document tree;
    if (!Load(tree, document))
    {
        state.SkipWithError("pugixml refused the document");
        return;
    }
    for (auto _ : state)
    {
        pugi::xml_document copy;
        copy.reset(tree);
        benchmark::DoNotOptimize(copy.first_child());
    }
}
} // namespace

std::vector<DocumentBenchmark> PugiXmlBenchmarks()
{
    return {
        {Operation::Parse, "pugixml", Parse},
        {Operation::Write, "pugixml", Write},
        {Operation::Clone, "pugixml", Clone},
    };
}
