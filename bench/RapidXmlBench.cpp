// rapidxml: parses in place, so every parse works on a fresh copy of the
// document (the copy is timed with it). Its clone copies the node structure
// but shares the text with the original.
#include "DocumentBenchmark.h"

#include <rapidxml/rapidxml.hpp>
#include <rapidxml/rapidxml_print.hpp>

#include <iterator>
#include <string>
#include <vector>

namespace
{
std::vector<char> TerminatedCopy(const CorpusDocument& document)
{
    std::vector<char> text(document.bytes.begin(), document.bytes.end());
    text.push_back('\0');
    return text;
}

bool Load(rapidxml::xml_document<>& tree, std::vector<char>& text)
{
    try
    {
        tree.parse<0>(text.data());
        return true;
    }
    catch (const rapidxml::parse_error&)
    {
        return false;
    }
}

void Parse(benchmark::State& state, const CorpusDocument& document)
{
    for (auto _ : state)
    {
        std::vector<char> text = TerminatedCopy(document);
        rapidxml::xml_document<> tree;
        if (!Load(tree, text))
        {
            state.SkipWithError("rapidxml refused the document");
            return;
        }
    }
}

void Write(benchmark::State& state, const CorpusDocument& document)
{
    std::vector<char> text = TerminatedCopy(document);
    rapidxml::xml_document<> tree;
    if (!Load(tree, text))
    {
        state.SkipWithError("rapidxml refused the document");
        return;
    }
    for (auto _ : state)
    {
        std::string out;
        rapidxml::print(std::back_inserter(out), tree, rapidxml::print_no_indenting);
        benchmark::DoNotOptimize(out.data());
    }
}

void Clone(benchmark::State& state, const CorpusDocument& document)
{
    std::vector<char> text = TerminatedCopy(document);
    rapidxml::xml_document<> tree;
    if (!Load(tree, text))
    {
        state.SkipWithError("rapidxml refused the document");
        return;
    }
    for (auto _ : state)
    {
        rapidxml::memory_pool<> pool;
        benchmark::DoNotOptimize(pool.clone_node(&tree));
    }
}
} // namespace

std::vector<DocumentBenchmark> RapidXmlBenchmarks()
{
    return {
        {Operation::Parse, "rapidxml", Parse},
        {Operation::Write, "rapidxml", Write},
        {Operation::Clone, "rapidxml", Clone},
    };
}
